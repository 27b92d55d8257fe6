// An uploaded station saved with "Save coupler as" and opened again in a fresh context holds
// the station's registers, also when the station lacks a channel table or holds a terminal
// without description (the addresses in front of it placed), and gives its programmed
// configuration back to a replacement coupler; a failed upload saves nothing.
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
#include "online/settings_download.h"
#include "platform/ini_file.h"
#include "tests/app/upload_openers.h"
#include "tests/support/description_damage.h"
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
        station->setRegister(0, 10, 0, 0x0004);  // the first entry of the terminal at 1
        station->setRegister(0, 10, 1, 0xFFFF);
        goOnline();
    }
    UploadingOpeners openers;
};

// What the station lacks stays as the description gives it, the rest is saved, and the
// message before the name prompt says what was passed over. The addresses in front of the
// undescribed terminal are the station's.
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
    EXPECT_EQ(terminals->ItemPos(1)->ConfMappInputImage(0, 0), "4");
}

// A station whose first terminal has no description, its lists ending in the second
// table of each list.
class UploadThenDownload : public RailFixture {
  protected:
    UploadThenDownload()
        : RailFixture({"QZ3100-0000", {"QT3102-0016", "QT1002-0000", "QT9010-0000"}}) {
        connectStation();
        station->setRestartSilence(std::chrono::milliseconds(0));
        for (int r = 0; r < 4; ++r) station->setRegister(0, 8, r, kTerminalList[r]);
        for (int t : {10, 11, 50, 51})
            for (int r = 0; r < 256; ++r) station->setRegister(0, t, r, t * 0x100 + r);
        station->setRegister(0, 11, 3, 0xFFFF);
        station->setRegister(0, 51, 0, 0xFFFF);
        goOnline();
    }
    // Table 8 holds the coupler's type number and 64 positions, the lists 256 entries.
    static int registersOf(int t) { return t == 8 ? 65 : 256; }
    std::vector<int32_t> stationTable(int t) const {
        std::vector<int32_t> values;
        for (int r = 0; r < registersOf(t); ++r) values.push_back(station->reg(0, t, r));
        return values;
    }
    static constexpr int32_t kTerminalList[] = {3100, 3102, 0x8201, 0xFFFF};
    UploadingOpeners openers;
};

TEST_F(UploadThenDownload, AReplacementCouplerGetsTheListsWordForWord) {
    std::map<int, std::vector<int32_t>> uploaded;
    for (int t : {8, 10, 11, 50, 51}) uploaded[t] = stationTable(t);
    ui.inputs.push_back("Line2");
    ASSERT_TRUE(saveOnlineCouplerAs(openers));

    // The replacement coupler lists the same terminals and holds no programmed configuration.
    for (int t : {8, 10, 11, 50, 51})
        for (int r = 0; r < registersOf(t); ++r) station->setRegister(0, t, r, 0);
    station->setRegister(0, 12, 0, 0x4711);  // behind the end mark: not written
    ReopenedRail reopened(dir, "Line2", resources());
    ASSERT_TRUE(reopened.rail);
    reopened.context.ui = &ui;
    reopened.context.VarnakComOCX = &control;
    reopened.context.registerDevice = &device;
    TransferChoice choice;
    choice.boxes[kDownloadProgrammedConfiguration] = true;
    const TransferReport report = runSettingsDownload(*reopened.rail, choice, {}, {});
    EXPECT_TRUE(report.clean());
    ASSERT_EQ(report.notes.size(), 1u);
    for (int t : {8, 10, 11, 50, 51}) EXPECT_EQ(stationTable(t), uploaded[t]) << t;
    EXPECT_EQ(station->reg(0, 12, 0), 0x4711);
}

// A position no description could fill going online holds an empty terminal; saved and
// opened again it is still there, and the terminals behind it keep their positions.
class UploadSaveEmpty : public RailFixture {
  protected:
    UploadSaveEmpty()
        : RailFixture({"QZ3100-0000", {"QT3002-0000", "QT3102-0016", "QT9010-0000"}}) {
        connectStation();
        fallback.cutTo(0);
        station->setRegister(1, 0, 40, 0x1234);
        goOnline();
    }
    DescriptionDamage fallback{resources() / "Terminal" / "Unknown.INI"};
    UploadingOpeners openers;
};

TEST_F(UploadSaveEmpty, TheEmptyTerminalKeepsItsPositionWhenOpenedAgain) {
    ui.messages.clear();
    ui.inputs.push_back("Line2");
    ASSERT_TRUE(saveOnlineCouplerAs(openers));
    ASSERT_EQ(messageTexts().size(), 1u);
    EXPECT_NE(messageTexts()[0].find("Position 2: keine Beschreibung"), std::string::npos);
    ReopenedRail reopened(dir, "Line2", resources());
    ASSERT_TRUE(reopened.rail);
    auto terminals = reopened.rail->clsColTerminals();
    EXPECT_TRUE(terminals->UnusedFiles().empty());
    EXPECT_FALSE(terminals->PositionsRenumbered());
    ASSERT_EQ(terminals->Count(), 3);
    EXPECT_EQ(terminals->ItemPos(1)->InfoName(), "QT3002-0000");
    EXPECT_EQ(terminals->ItemPos(2)->InfoName(), "");
    EXPECT_EQ(terminals->ItemPos(2)->InfoNrLogSigChnl(), 0);
    EXPECT_EQ(terminals->ItemPos(3)->InfoName(), "QT9010-0000");
    EXPECT_EQ(terminals->ItemPos(1)->clsColTables()->Item(0)->ConfRegisterValue(40), 0x1234);
}

}  // namespace
}  // namespace varnak::test
