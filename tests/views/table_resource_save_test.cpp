// Saving a register table as a device description: online against the simulated station
// with a golden description, a failed upload that touches no file, the proposed target and
// a target that cannot be written.
#include "views/table_resource_save.h"

#include <gtest/gtest.h>

#include "platform/ini_file.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

using Outcome = TableResourceSave::Outcome;

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

}  // namespace
}  // namespace varnak::test
