// An uploaded station saved with "Save coupler as" and opened again in a fresh context holds
// the station's registers, also when the station lacks a channel table or holds a terminal
// without description; a failed upload saves nothing.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QPushButton>
#include <filesystem>

#include "app/tree_popup_menus.h"
#include "model/clsColCouplers.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "platform/ini_file.h"
#include "tests/app/upload_openers.h"
#include "tests/support/qt/rail_fixture.h"

namespace varnak::test {
namespace {

class UploadSave : public RailFixture {
  protected:
    UploadSave() : RailFixture({"QZ3100-0000", {"QT3002-0000", "QT9010-0000"}}) {
        connectStation();
        station->setRegister(0, 0, 5, 0x0042);
        station->setRegister(0, 100, 2, 0x0777);
        station->setRegister(1, 1, 40, 0x1234);
        goOnline();
    }
    UploadingOpeners openers;
};

std::filesystem::path railFolder(const TempDir& dir, const std::string& name) {
    return dir / "Werk.PF" / (name + ".CF");
}

// The saved rail as a fresh program opens it from the project, in a context of its own.
struct ReopenedRail {
    ReopenedRail(const TempDir& dir, const std::string& name,
                 const std::filesystem::path& resources) {
        ini::dropCache();
        auto project = std::make_shared<clsProject>((dir / "prog").string(), resources.string());
        context.VarnakProject = project;
        EXPECT_EQ(project->fOpenProject("Werk", (dir / "Werk.PF").string(), dir.str()), kStoreOk);
        const std::filesystem::path folder = railFolder(dir, name);
        EXPECT_EQ(project->clsColCouplers()->fOpenCoupler(folder.string(),
                                                          (folder / "Coupler.CCF").string()),
                  kStoreOk);
        if (project->clsColCouplers()->Count() > 0) rail = *project->clsColCouplers()->begin();
    }
    AppContext context;
    ContextScope scope{context};
    std::shared_ptr<clsCoupler> rail;
};

TEST_F(UploadSave, TheSavedRailOpensWithTheStationsRegisters) {
    ui.inputs.push_back("Line2");
    ASSERT_TRUE(saveOnlineCouplerAs(openers));
    ReopenedRail reopened(dir, "Line2", resources());
    auto rail = reopened.rail;
    ASSERT_TRUE(rail);
    EXPECT_EQ(rail->ConfSymbolicName(), "Line2");
    EXPECT_EQ(rail->clsColTables()->Item(0)->ConfRegisterValue(5), 0x0042);
    EXPECT_EQ(rail->clsColTables()->Item(100)->ConfRegisterValue(2), 0x0777);
    auto terminal = rail->clsColTerminals()->ItemPos(1);
    ASSERT_TRUE(terminal);
    EXPECT_EQ(terminal->clsColTables()->Item(1)->ConfRegisterValue(40), 0x1234);
}

TEST_F(UploadSave, AFailedUploadSavesNothing) {
    control.setQZxTimeout(300);
    control.setQZxPortOpen(true);
    station->queueFault(ReplyFault::none());     // the dialog's opening read
    station->queueFault(ReplyFault::noReply());  // table 0
    ui.inputs.push_back("Line2");
    EXPECT_FALSE(saveOnlineCouplerAs(openers));
    EXPECT_TRUE(ui.prompts.empty());
    EXPECT_FALSE(std::filesystem::exists(railFolder(dir, "Line2")));
    ASSERT_EQ(ui.messages.size(), 1u);
}

class UploadSaveIncomplete : public RailFixture {
  protected:
    UploadSaveIncomplete()
        : RailFixture({"QZ3100-0000", {"QT3002-0000", "QT3102-0016", "QT9010-0000"}}) {
        connectStation();
        station->removeTable(1, 1);
        station->setRegister(1, 0, 40, 0x1234);
        station->setRegister(2, 0, 40, 0x2222);
        goOnline();
    }
    UploadingOpeners openers;
};

// What the station lacks stays as the description gives it, the rest is saved, and the
// message before the name prompt says what was passed over.
TEST_F(UploadSaveIncomplete, TheRestIsSaved) {
    ui.inputs.push_back("Line2");
    ASSERT_TRUE(saveOnlineCouplerAs(openers));
    const std::vector<std::string> shown = messageTexts();
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_NE(shown[0].find("Klemme 1 Kanal2: von der Station abgelehnt, Fehler 13"),
              std::string::npos);
    EXPECT_NE(shown[0].find("Position 2: keine Beschreibung"), std::string::npos);
    ReopenedRail reopened(dir, "Line2", resources());
    ASSERT_TRUE(reopened.rail);
    auto terminals = reopened.rail->clsColTerminals();
    ASSERT_EQ(terminals->Count(), 3);
    EXPECT_EQ(terminals->ItemPos(1)->clsColTables()->Item(0)->ConfRegisterValue(40), 0x1234);
    EXPECT_EQ(terminals->ItemPos(1)->clsColTables()->Item(1)->ConfRegisterValue(32), 0x0002);
    EXPECT_EQ(terminals->ItemPos(2)->InfoName(), "Unknown");
    EXPECT_EQ(terminals->ItemPos(2)->clsColTables()->Item(0)->ConfRegisterValue(40), 0x2222);
}

}  // namespace
}  // namespace varnak::test
