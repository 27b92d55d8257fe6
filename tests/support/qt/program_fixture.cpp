#include "tests/support/qt/program_fixture.h"

#include "model/clsColTerminals.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsTerminal.h"
#include "model/tree_node_key.h"
#include "platform/ini_file.h"
#include "tests/support/qt/qt_app.h"
#include "windowkit/clsForms.h"

namespace varnak::test {

std::string couplerKeyOf(const std::shared_ptr<clsCoupler>& rail) {
    return treeKey(TreeNodeKind::Coupler,
                   couplerKeyDetail(rail->ConfSymbolicID(), rail->ConfProjectPosition()));
}

std::string terminalKeyOf(const std::shared_ptr<clsCoupler>& rail, int railPosition) {
    auto t = rail->clsColTerminals()->ItemPos(railPosition);
    return treeKey(TreeNodeKind::Terminal,
                   terminalKeyDetail(rail->ConfSymbolicID(), rail->ConfProjectPosition(),
                                     t ? t->ConfSymbolicID() : 0, railPosition));
}

ProgramFixture::ProgramFixture()
    : machine(dir.path()),
      registry(dir / "machine.ini"),
      settings(dir / "settings.ini"),
      scope(context) {
    ensureQtApp();
    ini::dropCache();
    context.registry = &registry;
    context.settings = &settings;
    context.ui = &ui;
    context.VarnakCommon = std::make_shared<clsCommon>(context, "/opt/Varnak");
    VarnakForms().setScreenSizeSource([] { return QSize(1024, 768); });
}

ProgramFixture::~ProgramFixture() {
    VarnakForms().setScreenSizeSource({});
    context.VarnakOnlineCoupler.reset();
    context.VarnakProject.reset();
    context.VarnakCommon.reset();
    ini::dropCache();
}

std::vector<std::string> ProgramFixture::messageTexts() const {
    std::vector<std::string> out;
    for (const auto& m : ui.messages) out.push_back(m.text);
    return out;
}

}  // namespace varnak::test
