// An uploaded station saved with "Save coupler as" and opened again in a fresh context holds
// the station's registers; a failed upload saves nothing.
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
#include "online/frmOnlineUpLoad.h"
#include "platform/ini_file.h"
#include "tests/support/qt/rail_fixture.h"

namespace varnak::test {
namespace {

// The upload as a user runs it: everything ticked, then Upload.
class UploadingOpeners : public DialogOpeners {
  public:
    bool frmOnlineUpLoad_fKonstruktor() override {
        frmOnlineUpLoad dialog;
        if (!dialog.load()) return false;
        dialog.chkUpLoad[kUploadTotal]->setChecked(true);
        dialog.cmdGet->click();
        return dialog.result();
    }
};

class UploadSave : public RailFixture {
  protected:
    UploadSave() : RailFixture({"QZ3100-0000", {"QT3002-0000", "QT9010-0000"}}) {
        connectStation();
        station->setRegister(0, 0, 5, 0x0042);
        station->setRegister(0, 100, 2, 0x0777);
        station->setRegister(1, 1, 40, 0x1234);
        goOnline();
    }
    std::filesystem::path railFolder(const std::string& name) const {
        return dir / "Werk.PF" / (name + ".CF");
    }
    UploadingOpeners openers;
};

TEST_F(UploadSave, TheSavedRailOpensWithTheStationsRegisters) {
    ui.inputs.push_back("Line2");
    ASSERT_TRUE(saveOnlineCouplerAs(openers));
    ini::dropCache();

    AppContext fresh;
    ContextScope freshScope(fresh);
    auto reopened = std::make_shared<clsProject>((dir / "prog").string(), resources().string());
    fresh.VarnakProject = reopened;
    ASSERT_EQ(reopened->fOpenProject("Werk", (dir / "Werk.PF").string(), dir.str()), kStoreOk);
    const std::filesystem::path folder = railFolder("Line2");
    ASSERT_EQ(reopened->clsColCouplers()->fOpenCoupler(folder.string(),
                                                       (folder / "Coupler.CCF").string()),
              kStoreOk);
    auto rail = *reopened->clsColCouplers()->begin();
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
    EXPECT_FALSE(std::filesystem::exists(railFolder("Line2")));
    ASSERT_EQ(ui.messages.size(), 1u);
}

}  // namespace
}  // namespace varnak::test
