// Terminal files written by other hands than this program's save: copies of the
// descriptions with their [Config] keys, files without some channel tables or mapping keys,
// names in other letters. They load whole, at the positions they hold, and their saves
// write back into the files they came from.
#include "model/terminal_file_check.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>

#include "tests/model/project_fixture.h"

namespace varnak::test {
namespace {

namespace fs = std::filesystem;

class TerminalFiles : public ::testing::Test, public ProjectFixture {
  protected:
    void SetUp() override {
        writeTerminal("QT1104-0000", 4, 1, 1, 0);    // four digital inputs
        writeTerminal("QT3004-0000", 4, 16, 16, 0);  // four analog inputs
        ASSERT_EQ(newProject("P"), kStoreOk);
    }
    fs::path railDir() { return railFolder("P", "R"); }
    std::string file(int32_t id) { return (railDir() / terminalFileName(1, id)).string(); }
    std::vector<std::string> namesInRailOrder() {
        std::vector<std::string> out;
        for (int32_t p = 1; p <= terminals()->Count(); ++p) {
            auto t = terminals()->ItemPos(p);
            out.push_back(t ? t->InfoName() + "#" + std::to_string(t->ConfSymbolicID()) : "-");
        }
        return out;
    }
    // Rail "R" saved by this program with a terminal of each type.
    void savedRail(const std::vector<std::string>& types) {
        ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
        for (const std::string& type : types)
            ASSERT_EQ(terminals()->Add(type, terminals()->Count() + 1, 1, 1), kStoreOk);
        ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    }
    void drop(int32_t id, const std::string& section, std::optional<std::string> key) {
        ASSERT_TRUE(ini::WritePrivateProfileString(section, key, std::nullopt, file(id)));
    }
};

const std::vector<std::string> kIssueRail = {"QT3002-0000", "QT1104-0000", "QT3004-0000",
                                             "QT1002-0000", "QT9010-0000"};

TEST_F(TerminalFiles, RailsOfFilesLackingWhatTheSaveWritesOpenWholeAndKeepTheirPositions) {
    // Both rails hold the terminals in the order of their ids, at positions 1 .. 5.
    const std::pair<const char*, std::function<void()>> layouts[] = {
        {"copies of the descriptions with their [Config]",
         [&] {
             writeFile(railDir() / "Coupler.CCF",
                       std::string(kCouplerDescription) +
                           "[Config]\r\nUserName=R\r\nCouplerID=1\r\nTermID=5\r\n");
             for (int32_t id = 1; id <= 5; ++id)
                 writeFile(file(id),
                           readFile(resources() / "Terminal" / (kIssueRail[id - 1] + ".INI")) +
                               "\n[Config]\nTermPos=" + std::to_string(id) +
                               "\nTermID=" + std::to_string(id) + "\nCouplerID=1\n");
         }},
        {"saved files without some tables and keys",
         [&] {
             ASSERT_NO_FATAL_FAILURE(savedRail(kIssueRail));
             drop(1, "RegValue_Table1", std::nullopt);
             drop(1, "RegValue_Table0", "Reg40");
             drop(2, "Mapp_Table3", "Input_Adr0");
             for (const char* table : {"RegValue_Table1", "RegValue_Table2", "RegValue_Table3"})
                 drop(3, table, std::nullopt);
             drop(4, "Mapp_Table1", std::nullopt);
             // A layout of more channels than the file has tables and mapping for.
             ASSERT_TRUE(
                 ini::WritePrivateProfileString("RegValue_Table0", "Reg11", "0x0301", file(4)));
         }},
    };
    for (const auto& [what, lay] : layouts) {
        SCOPED_TRACE(what);
        fs::remove_all(railDir());
        ini::dropCache();
        ASSERT_NO_FATAL_FAILURE(lay());
        ASSERT_TRUE(ini::flush());

        ASSERT_EQ(openRail("P", "R"), kStoreOk);
        EXPECT_EQ(namesInRailOrder(),
                  (std::vector<std::string>{"QT3002-0000#1", "QT1104-0000#2", "QT3004-0000#3",
                                            "QT1002-0000#4", "QT9010-0000#5"}));
        EXPECT_TRUE(terminals()->UnusedFiles().empty());
        EXPECT_FALSE(terminals()->PositionsRenumbered());
        // What a file lacks reads as the terminal's reader gives it.
        auto qt1104 = terminals()->ItemPos(2);
        EXPECT_EQ(qt1104->ConfMappInputImage(3, 0), "511.7");
        auto qt3004 = terminals()->ItemPos(3);
        ASSERT_EQ(qt3004->clsColTables()->Count(), 4);
        EXPECT_EQ(qt3004->ConfMappInputImage(3, 1), "511");
        EXPECT_EQ(qt3004->clsColTables()->Item(0)->ConfRegisterValue(63), 0xBEEF);
        // A channel without its table takes the description's channel registers.
        EXPECT_EQ(qt3004->clsColTables()->Item(3)->ConfRegisterValue(63), 0xBEEF);
        auto qt1002 = terminals()->ItemPos(4);
        EXPECT_EQ(qt1002->ConfMappInputImage(1, 0), "511.7");

        ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
        for (int32_t id = 1; id <= 5; ++id)
            EXPECT_EQ(ini::readString(file(id), "Config", "TermPos"), std::to_string(id));
        EXPECT_EQ(std::distance(fs::directory_iterator(railDir()), fs::directory_iterator()), 6);
        ASSERT_EQ(openRail("P", "R"), kStoreOk);
        EXPECT_EQ(terminals()->Count(), 5);
        EXPECT_FALSE(terminals()->PositionsRenumbered());
        couplers()->Remove(1);
    }
}

TEST_F(TerminalFiles, ANameInOtherLettersIsLoadedAndSavedIntoThatFile) {
    ASSERT_NO_FATAL_FAILURE(savedRail({"QT3002-0000", "QT3002-0000", "QT3002-0000"}));
    const std::string lower = (railDir() / "c001t002.tcf").string();
    fs::rename(file(2), lower);
    ini::dropCache();
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    EXPECT_EQ(terminals()->Count(), 3);
    EXPECT_TRUE(terminals()->UnusedFiles().empty());
    terminals()->ItemID(2)->clsColTables()->Item(1)->setConfRegisterValue(40, 0x0202);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    EXPECT_EQ(ini::readString(lower, "RegValue_Table1", "Reg40"), "0x0202");
    EXPECT_FALSE(fs::exists(file(2)));
    couplers()->Remove(1);

    // A second file of the same ids stays unread, and no save or delete touches it.
    fs::copy_file(lower, file(2));
    ASSERT_TRUE(ini::WritePrivateProfileString("RegValue_Table1", "Reg40", "0x0222", file(2)));
    const std::string second = readFile(lower);
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    EXPECT_EQ(terminals()->UnusedFiles(), std::vector<std::string>{lower});
    EXPECT_EQ(terminals()->ItemID(2)->clsColTables()->Item(1)->ConfRegisterValue(40), 0x0222);
    terminals()->Remove(2);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    EXPECT_FALSE(fs::exists(file(2)));
    EXPECT_EQ(readFile(lower), second);
    // Alone again, it is the terminal's file at the next open.
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    EXPECT_EQ(terminals()->Count(), 3);
    EXPECT_EQ(terminals()->ItemID(2)->clsColTables()->Item(1)->ConfRegisterValue(40), 0x0202);
}

TEST(TerminalFileNames, TheSavesSpellingInAnyLetterCaseAndNoOther) {
    for (const char* name : {"C001T003.TCF", "C001T003.tcf", "c001t003.Tcf"})
        EXPECT_TRUE(isOwnTerminalFileName(name, 1)) << name;
    for (const char* name : {"C001T0003.TCF", "C01T003.TCF", "C002T003.TCF", "C001T003.TCF.bak",
                             "C001T.TCF", "C001T003.INI"})
        EXPECT_FALSE(isOwnTerminalFileName(name, 1)) << name;
    EXPECT_TRUE(isOwnTerminalFileName("C1234T1000.TCF", 1234));
}

}  // namespace
}  // namespace varnak::test
