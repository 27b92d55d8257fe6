// The roads that put the loaded rail away, when its save fails: one message names the file
// and why and asks; No keeps everything as it was, Yes drops the rail unsaved and goes on.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <cstring>
#include <deque>
#include <filesystem>
#include <functional>
#include <optional>

#include "app/basComDlg32.h"
#include "app/frmProjNew.h"
#include "app/frmRailNew.h"
#include "app/frmRailOpen.h"
#include "app/online_switch.h"
#include "model/clsColCouplers.h"
#include "model/project_store.h"
#include "tests/support/effect_only.h"
#include "tests/support/qt/menus_fixture.h"

namespace varnak {
namespace {

namespace fs = std::filesystem;

struct OneChoice : FileChooser {
    std::string file;
    std::optional<std::string> choose(const FileDialogRequest&) override { return file; }
};

class UnsavedRail : public test::MenusFixture {
  protected:
    // Both rails saved in "Werk", "Linie 1" loaded and changed while its rail file is marked
    // read-only, which stops even root's saves.
    bool prepare() {
        if (!makeProject()) return false;
        auto couplers = project->clsColCouplers();
        EXPECT_EQ(couplers->Add("QZ3100-0000", 2, "Zweite"), kStoreOk);
        EXPECT_EQ(couplers->fOpenCoupler(railFolder(), railFile()), kStoreOk);
        fs::permissions(railFile(), fs::perms::owner_read);
        saved = test::readFile(railFile());
        rail = loadedRail();
        rail->setUserInfoDescription("not on disk");
        return true;
    }
    std::string railFile() const { return railFolder() + "/Coupler.CCF"; }

    // Takes the road twice: No keeps the rail, Yes drops it and the road goes on.
    void check(const std::function<void()>& road, const std::function<bool()>& wentOn,
               std::deque<int> firstAnswers = {}) {
        const std::string question =
            "Die Datei konnte nicht geschrieben werden.\r\n\r\n" + railFile() + "\r\n" +
            std::strerror(EACCES) +
            "\r\n\r\nDie Änderungen an der Station „Linie 1“ sind nicht gesichert. Verwerfen "
            "und fortfahren? (Nein lässt alles, wie es ist.)";
        for (int answer : {vbNo, vbYes}) {
            SCOPED_TRACE(answer == vbYes ? "Yes" : "No");
            ui.messages.clear();
            ui.answers = firstAnswers;
            ui.answers.push_back(answer);
            road();
            ASSERT_GT(ui.messages.size(), firstAnswers.size());
            EXPECT_EQ(ui.messages[firstAnswers.size()].text, question);
            EXPECT_EQ(ui.messages[firstAnswers.size()].style,
                      vbYesNo | vbExclamation | vbDefaultButton2);
            EXPECT_EQ(test::readFile(railFile()), saved);
            if (answer == vbNo) {
                EXPECT_EQ(ui.messages.size(), firstAnswers.size() + 1);
                EXPECT_EQ(loadedRail(), rail);
                EXPECT_EQ(rail->UserInfoDescription(), "not on disk");
                EXPECT_EQ(project->ProjektName(), "Werk");
                EXPECT_FALSE(wentOn());
            } else {
                EXPECT_NE(loadedRail(), rail);
                EXPECT_TRUE(wentOn());
            }
        }
        // What the dropped rail's save left waiting never reaches its file.
        fs::permissions(railFile(), fs::perms::owner_read | fs::perms::owner_write);
        if (loadedRail()) {
            EXPECT_EQ(loadedRail()->ConfSaveData(), kStoreOk);
        }
        EXPECT_EQ(test::readFile(railFile()), saved);
    }

    std::shared_ptr<clsCoupler> rail;
    std::string saved;
};

TEST_F(UnsavedRail, OpeningAnotherProject) {
    if (!prepare()) GTEST_SKIP() << "no resource folder";
    test::writeFile(dir / "Halle.PF" / "Halle.VMT", "[Config]\r\nName=Halle\r\n");
    OneChoice chooser;
    chooser.file = (dir / "Halle.PF" / "Halle.VMT").string();
    FileCommandServicesScope services({&chooser, nullptr});
    check([] { test::effectOnly(gfOpenProjectFile()); },
          [&] { return project->ProjektName() == "Halle"; });
}

TEST_F(UnsavedRail, OpeningAnotherRail) {
    if (!prepare()) GTEST_SKIP() << "no resource folder";
    frmRailOpen dialog;
    auto road = [&] {
        dialog.show();
        dialog.comboRailName->setCurrentIndex(dialog.comboRailName->findText("Zweite.CF"));
        dialog.cmdSelect->click();
    };
    check(road, [&] { return loadedRail() && loadedRail()->ConfSymbolicName() == "Zweite"; });
}

TEST_F(UnsavedRail, CreatingARail) {
    if (!prepare()) GTEST_SKIP() << "no resource folder";
    frmRailNew dialog;
    auto road = [&] {
        dialog.txtUserRailName->setText("Dritte");
        dialog.cmdNew->click();
    };
    check(road, [&] { return loadedRail() && loadedRail()->ConfSymbolicName() == "Dritte"; });
}

TEST_F(UnsavedRail, CreatingAProject) {
    if (!prepare()) GTEST_SKIP() << "no resource folder";
    frmProjNew dialog;
    dialog.dirProjNew->setText(QString::fromStdString(dir.str()));
    dialog.txtGetNewPrjName->setText("Neu");
    check([&] { dialog.cmdPrjOk->click(); },
          [&] { return project->ProjektName() == "Neu" && fs::exists(dir / "Neu.PF"); });
}

TEST_F(UnsavedRail, GoingOnline) {
    if (!prepare()) GTEST_SKIP() << "no resource folder";
    bool read = false;
    // No station answers here: after Yes the road ends offline, the rail put away.
    check([&] { read = fGoOnlineRead(context, {}); },
          [&] {
              return project->clsColCouplers()->Count() == 0 &&
                     ui.messages.back().text == "Keine Kommunikation mit Koppler!";
          },
          {vbNo});  // the download offer
    EXPECT_FALSE(read);
    EXPECT_FALSE(project->Online());
}

}  // namespace
}  // namespace varnak
