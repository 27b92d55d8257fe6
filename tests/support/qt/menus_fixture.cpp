#include "tests/support/qt/menus_fixture.h"

#include <cstdlib>

#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/clsTerminal.h"
#include "model/project_store.h"
#include "model/tree_node_key.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "tests/support/qt/qt_app.h"
#include "windowkit/clsForms.h"

namespace varnak::test {

MenusFixture::MenusFixture() : openersScope(openers) {
    std::filesystem::create_directories(dir / "prog");
    project =
        std::make_shared<clsProject>((dir / "prog").string(), platform::resourceDir().string());
    context.VarnakProject = project;
    project->InitComPort = [] { return 0; };
}

MenusFixture::~MenusFixture() = default;

bool MenusFixture::makeProject() {
    if (!std::filesystem::exists(platform::resourceDir() / "Terminal" / "QT3004-0000.INI"))
        return false;
    EXPECT_EQ(project->fNewProject("Werk", (dir / "Werk.PF").string(), dir.str()), kStoreOk);
    auto couplers = project->clsColCouplers();
    EXPECT_EQ(couplers->Add("QZ3100-0000", 1, "Linie 1"), kStoreOk);
    auto rail = loadedRail();
    auto terminals = rail->clsColTerminals();
    for (const char* type : {"QT3004-0000", "QT1002-0000", "QT9010-0000"})
        EXPECT_EQ(terminals->Add(type, terminals->Count() + 1, 1, rail->ConfSymbolicID()),
                  kStoreOk);
    EXPECT_EQ(rail->ConfSaveData(), kStoreOk);
    return true;
}

std::shared_ptr<clsCoupler> MenusFixture::loadedRail() const {
    auto couplers = project->clsColCouplers();
    return couplers->Count() ? *couplers->begin() : nullptr;
}

std::string MenusFixture::couplerKey() const {
    return couplerKeyOf(loadedRail());
}

std::string MenusFixture::terminalKey(int railPosition) const {
    return terminalKeyOf(loadedRail(), railPosition);
}

}  // namespace varnak::test
