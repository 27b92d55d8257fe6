// Saving a register table as a device description: online against the simulated station
// with a golden description, a failed upload that touches no file, the proposed target, a
// target that cannot be written, a folder that is no full path, a file name with a full
// path and Enter in the folder field.
#include "views/table_resource_save.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <optional>

#include "platform/ini_file.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"
#include "views/frmSaveTableAsResource.h"

namespace varnak::test {
namespace {

using Outcome = TableResourceSave::Outcome;

void press(QWidget* to, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
    QKeyEvent event(QEvent::KeyPress, key, modifiers);
    QApplication::sendEvent(to, &event);
}

class SaveTableTest : public RailFixture {
  protected:
    SaveTableTest() : RailFixture({"QZ3100-0000", {"QT3002-0000", "QT1002-0000"}}) {}
    std::filesystem::path description() const {
        return resources() / "Terminal" / "QT3002-0000.INI";
    }
    TableResourceSave save;
};

TEST_F(SaveTableTest, OnlineTheDeviceValuesReplaceOnlyTheTablesSection) {
    connectStation();
    goOnline();
    station->setRegister(1, 0, 33, 0x0123);
    station->setRegister(1, 0, 63, 0xABCD);
    ASSERT_TRUE(save.open(1, 0));
    EXPECT_EQ(save.label(), "Position: 1      Klemmen-Typ: QT3002-0000      Tabelle: 0");
    save.loadFromDevice();
    EXPECT_EQ(save.proposedFolder(), (resources() / "Terminal").string());
    ASSERT_EQ(save.save(save.proposedFolder(), save.proposedFileName()), Outcome::Saved);
    EXPECT_TRUE(matchesGolden(readFile(description()),
                              testSourcePath("views/resource_golden/QT3002-0000.INI")));
    EXPECT_TRUE(
        matchesGolden(wireLog(*station), testSourcePath("views/wire_golden/save_table.txt")));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(SaveTableTest, AFailedUploadTouchesNoFile) {
    connectStation();
    goOnline();
    const std::string before = readFile(description());
    ASSERT_TRUE(save.open(1, 1));
    station->queueFault(ReplyFault::badStart());
    EXPECT_EQ(save.save(save.proposedFolder(), save.proposedFileName()), Outcome::UploadFailed);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Error Upload"});
    EXPECT_EQ(readFile(description()), before);
}

TEST_F(SaveTableTest, TargetsOfflineAndAFolderThatIsNotThere) {
    EXPECT_FALSE(save.open(2, 0));  // no register model
    EXPECT_FALSE(save.open(1, 2));  // two channels
    EXPECT_FALSE(save.open(0, 5));
    ASSERT_TRUE(save.open(0, 100));
    EXPECT_EQ(save.label(), "Koppler-Typ: QZ3100-0000      Tabelle: 100");
    std::filesystem::rename(resources() / "Coupler" / "QZ3100-0000.INI",
                            resources() / "Coupler" / "qz3100-0000.ini");
    EXPECT_EQ(save.proposedFileName(), "qz3100-0000.ini");
    const std::string missing = (dir / "nowhere").string();
    EXPECT_EQ(save.save(missing, "QZ3100-0000.INI"), Outcome::WriteFailed);
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Die Datei konnte nicht geschrieben werden: " + missing +
                                       "/QZ3100-0000.INI"});
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(save.save(save.proposedFolder(), "QZ3100-0000.INI"), Outcome::Saved);
    EXPECT_EQ(ini::readString((resources() / "Coupler" / "qz3100-0000.ini").string(),
                              "RegValue_Table100", "Reg15"),
              "0x0000");
}

TEST_F(SaveTableTest, AFolderThatIsNoFullPathIsRefusedAndTheDialogStaysOpen) {
    connectStation();
    goOnline();
    // Such a folder would name a place in the program's current folder: nothing goes there.
    const std::filesystem::path here = dir / "current";
    std::filesystem::create_directories(here / "Terminal");
    writeFile(here / "stray.INI", "");  // what a list of the current folder would show
    struct CurrentFolder {
        explicit CurrentFolder(const std::filesystem::path& to) {
            std::filesystem::current_path(to);
        }
        ~CurrentFolder() { std::filesystem::current_path(before); }
        std::filesystem::path before = std::filesystem::current_path();
    };
    std::optional<CurrentFolder> inside(here);
    const std::string refused = "Bitte geben Sie den Zielordner mit vollständigem Pfad an.";
    ASSERT_TRUE(save.open(1, 0));
    for (const char* folder : {"", " ", ".", "Terminal", "./Terminal", " /Terminal"}) {
        SCOPED_TRACE(std::string("\"") + folder + "\"");
        ui.messages.clear();
        EXPECT_EQ(save.save(folder, "QT3002-0000.INI"), Outcome::FolderRefused);
        EXPECT_EQ(messageTexts(), std::vector<std::string>{refused});
    }
    EXPECT_TRUE(station->requests().empty());

    frmSaveTableAsResource dialog;
    ASSERT_TRUE(dialog.load(1, 0));
    dialog.show();
    EXPECT_GT(dialog.File1->count(), 0);
    dialog.Dir1->setText(".");
    EXPECT_EQ(dialog.File1->count(), 0);  // not the current folder's files
    dialog.Dir1->clear();
    EXPECT_EQ(dialog.File1->count(), 0);
    ui.messages.clear();
    dialog.cmdOk->click();
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(messageTexts(), std::vector<std::string>{refused});
    inside.reset();
    EXPECT_TRUE(std::filesystem::is_empty(here / "Terminal"));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(here), {}), 2);
    EXPECT_EQ(readFile(here / "stray.INI"), "");

    dialog.Dir1->setText(QString::fromStdString(save.proposedFolder()));
    dialog.cmdOk->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{refused});
}

TEST_F(SaveTableTest, AFullFileNameIsWrittenWhereItPoints) {
    ASSERT_TRUE(save.open(1, 0));
    const std::filesystem::path elsewhere = dir / "elsewhere";
    std::filesystem::create_directories(elsewhere);
    const std::string before = readFile(description());
    // Whatever the folder field holds, even nothing usable.
    for (const std::string& folder : {save.proposedFolder(), std::string("Terminal")}) {
        SCOPED_TRACE(folder);
        std::filesystem::remove(elsewhere / "mine.INI");
        EXPECT_EQ(save.save(folder, (elsewhere / "mine.INI").string()), Outcome::Saved);
        EXPECT_EQ(ini::readString((elsewhere / "mine.INI").string(), "RegValue_Table0", "Reg32"),
                  ini::readString(description().string(), "RegValue_Table0", "Reg32"));
    }
    EXPECT_EQ(readFile(description()), before);
    EXPECT_FALSE(std::filesystem::exists(resources() / "Terminal" / elsewhere.relative_path()));

    // A full file name in a folder that is not there is refused, naming it, and written
    // nowhere else.
    const std::string missing = (dir / "gone" / "mine.INI").string();
    EXPECT_EQ(save.save(save.proposedFolder(), missing), Outcome::WriteFailed);
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{"Die Datei konnte nicht geschrieben werden: " + missing});
    EXPECT_FALSE(std::filesystem::exists(dir / "gone"));
    EXPECT_FALSE(std::filesystem::exists(resources() / "Terminal" / "gone"));
}

TEST_F(SaveTableTest, EnterInTheFolderFieldOpensTheFolderAndSavesNothing) {
    const std::filesystem::path other = dir / "other";
    std::filesystem::create_directories(other);
    writeFile(other / "B.INI", "");
    writeFile(other / "a.ini", "");
    const std::string before = readFile(description());
    frmSaveTableAsResource dialog;
    ASSERT_TRUE(dialog.load(1, 0));
    dialog.show();
    dialog.Dir1->setFocus();
    dialog.Dir1->setText(QString::fromStdString((dir / "x" / ".." / "other").string() + "/"));
    for (Qt::Key key : {Qt::Key_Return, Qt::Key_Enter}) {
        press(dialog.Dir1, key, key == Qt::Key_Enter ? Qt::KeypadModifier : Qt::NoModifier);
        EXPECT_TRUE(dialog.isVisible());
        EXPECT_EQ(dialog.result(), 0);
        EXPECT_EQ(dialog.Dir1->text().toStdString(), other.string());
        ASSERT_EQ(dialog.File1->count(), 2);
        EXPECT_EQ(dialog.File1->item(0)->text(), "a.ini");
    }
    EXPECT_EQ(readFile(description()), before);
    EXPECT_FALSE(std::filesystem::exists(other / "QT3002-0000.INI"));
    EXPECT_TRUE(ui.messages.empty());
    // Enter in the file name field still saves, into the folder now open.
    press(dialog.txtFileName, Qt::Key_Return);
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_TRUE(std::filesystem::exists(other / "QT3002-0000.INI"));
}

}  // namespace
}  // namespace varnak::test
