#include "model/clsColTerminals.h"

#include <gtest/gtest.h>

#include <functional>
#include <optional>

#include "platform/unexamined_result.h"
#include "tests/model/project_fixture.h"

namespace varnak::test {
namespace {

class TerminalCollectionTest : public ::testing::Test, public ProjectFixture {
  protected:
    void SetUp() override {
        ASSERT_EQ(newProject("P"), kStoreOk);
        ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
        terminals()->InfoTerminalMultiChanged.connect(
            [this](int32_t& position) { events.push_back(position); });
    }
    std::vector<int32_t> positionsOfIds(std::initializer_list<int32_t> ids) {
        std::vector<int32_t> out;
        for (int32_t id : ids) out.push_back(terminals()->ItemID(id)->ConfRailPosition());
        return out;
    }
    std::filesystem::path railDir() { return railFolder("P", "R"); }
    std::vector<int32_t> events;
};

TEST_F(TerminalCollectionTest, InsertMovesTheTerminalsBehindAndRaisesOnce) {
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 4, 1), kStoreOk);  // ids 1-4 at 1-4
    events.clear();
    ASSERT_EQ(terminals()->Add("QT1002-0000", 2, 3, 1), kStoreOk);
    EXPECT_EQ(events, std::vector<int32_t>{2});
    EXPECT_EQ(positionsOfIds({1, 2, 3, 4}), (std::vector<int32_t>{1, 5, 6, 7}));
    EXPECT_EQ(positionsOfIds({5, 6, 7}), (std::vector<int32_t>{2, 3, 4}));
    EXPECT_EQ(terminals()->TermID(), 7);
    EXPECT_EQ(terminals()->ItemPos(2)->ConfParentCouplerID(), 1);
    // The moved terminals' channel tables moved with them.
    for (const auto& t : *terminals()->ItemPos(7)->clsColTables()) EXPECT_EQ(t->PosNr(), 7);
    EXPECT_FALSE(terminals()->ItemPos(0));
    EXPECT_FALSE(terminals()->ItemID(99));
}

TEST_F(TerminalCollectionTest, RemoveClosesTheGapAndDeletesTheFileAtTheNextSave) {
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 5, 1), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    auto file2 = railDir() / "C001T002.TCF";
    ASSERT_TRUE(std::filesystem::exists(file2));
    events.clear();
    terminals()->Remove(2);
    EXPECT_EQ(events, std::vector<int32_t>{2});
    EXPECT_EQ(positionsOfIds({1, 3, 4, 5}), (std::vector<int32_t>{1, 2, 3, 4}));
    // Until the save the files still describe the saved rail, without a gap.
    EXPECT_TRUE(std::filesystem::exists(file2));
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    EXPECT_FALSE(std::filesystem::exists(file2));
    EXPECT_EQ(ini::readString((railDir() / "C001T003.TCF").string(), "Config", "TermPos"), "2");

    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    ASSERT_EQ(terminals()->Count(), 4);
    for (int32_t p = 1; p <= 4; ++p) EXPECT_TRUE(terminals()->ItemPos(p)) << p;
}

TEST_F(TerminalCollectionTest, OpeningNumbersThePositionsOfTheFilesWithoutGaps) {
    struct Case {
        std::vector<int> inFiles;  // positions of ids 1 .. 4 in their files
        std::vector<int> opened;   // the positions of ids 1 .. 4 after the open
        bool renumbered;
    };
    const Case cases[] = {
        {{1, 2, 3, 4}, {1, 2, 3, 4}, false},  {{4, 3, 2, 1}, {4, 3, 2, 1}, false},
        {{1, 2, 4, 6}, {1, 2, 3, 4}, true},    // gaps of files that were not loaded
        {{3, 3, 1, 2}, {3, 4, 1, 2}, true},    // one position twice: the first listed first
        {{255, 1, 2, 3}, {4, 1, 2, 3}, true},  // beyond the row
    };
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 4, 1), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::PrintToString(c.inFiles));
        couplers()->Remove(1);
        for (int32_t id = 1; id <= 4; ++id)
            ASSERT_TRUE(ini::WritePrivateProfileString(
                "Config", "TermPos", std::to_string(c.inFiles[id - 1]),
                (railDir() / terminalFileName(1, id)).string()));
        ASSERT_EQ(openRail("P", "R"), kStoreOk);
        EXPECT_EQ(positionsOfIds({1, 2, 3, 4}),
                  std::vector<int32_t>(c.opened.begin(), c.opened.end()));
        EXPECT_EQ(terminals()->PositionsRenumbered(), c.renumbered);
        EXPECT_TRUE(terminals()->UnusedFiles().empty());
        for (const auto& t : *terminals())
            for (const auto& table : *t->clsColTables())
                EXPECT_EQ(table->PosNr(), t->ConfRailPosition());
    }
    // The renumbered row is the one the next save writes.
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    EXPECT_EQ(ini::readString((railDir() / "C001T001.TCF").string(), "Config", "TermPos"), "4");
    terminals()->Remove(3);  // id 4
    EXPECT_EQ(positionsOfIds({1, 2, 3}), (std::vector<int32_t>{3, 1, 2}));
}

TEST_F(TerminalCollectionTest, FilesTheRailCannotUseStayUnreadAndKeepTheirIds) {
    using Damage = std::function<void(const std::string& file)>;
    // Without a key the whole section goes.
    auto drop = [](const char* section, const char* key) -> Damage {
        return [=](const std::string& file) {
            std::optional<std::string_view> k;
            if (key) k = key;
            ASSERT_TRUE(ini::WritePrivateProfileString(section, k, std::nullopt, file));
        };
    };
    auto set = [](const char* section, const char* key, const char* value) -> Damage {
        return [=](const std::string& file) {
            ASSERT_TRUE(ini::WritePrivateProfileString(section, key, value, file));
        };
    };
    const std::pair<const char*, Damage> damages[] = {
        {"no type", drop("Common", "Name")},
        {"no [Config]", drop("Config", nullptr)},
        {"no position", drop("Config", "TermPos")},
        {"no id", drop("Config", "TermID")},
        {"no coupler id", drop("Config", "CouplerID")},
        {"position 0", set("Config", "TermPos", "0")},
        {"position 256", set("Config", "TermPos", "256")},
        {"a position of no number", set("Config", "TermPos", "")},
        {"an empty type", set("Common", "Name", "")},
        // An empty type is the saved empty terminal's only without channel sections.
        {"an empty type, table 0 lost",
         [=](const std::string& file) {
             set("Common", "Name", "")(file);
             drop("RegValue_Table0", nullptr)(file);
         }},
        {"an empty type, mapping records only",
         [=](const std::string& file) {
             set("Common", "Name", "")(file);
             for (const char* table : {"RegValue_Table0", "RegValue_Table1"})
                 drop(table, nullptr)(file);
         }},
        {"nothing at all", [](const std::string& file) { writeFile(file, ""); }},
    };
    int n = 0;
    for (const auto& [what, damage] : damages) {
        SCOPED_TRACE(what);
        const std::string name = "R" + std::to_string(++n);
        ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, name), kStoreOk);
        const int32_t cid = rail()->ConfSymbolicID();
        ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 3, cid), kStoreOk);
        ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
        couplers()->Remove(cid);
        const std::string file = (railFolder("P", name) / terminalFileName(cid, 3)).string();
        damage(file);
        // A rail file whose counter lags behind the files.
        ASSERT_TRUE(ini::WritePrivateProfileString(
            "Config", "TermID", "1", (railFolder("P", name) / "Coupler.CCF").string()));
        ASSERT_TRUE(ini::flush());
        const std::string damaged = readFile(file);
        ASSERT_EQ(openRail("P", name), kStoreOk);
        EXPECT_EQ(terminals()->Count(), 2);
        EXPECT_EQ(terminals()->UnusedFiles(), std::vector<std::string>{file});
        ASSERT_EQ(terminals()->Add("QT3002-0000", 3, 1, cid), kStoreOk);
        EXPECT_EQ(terminals()->ItemPos(3)->ConfSymbolicID(), 4);
        terminals()->Remove(1);
        ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
        EXPECT_EQ(readFile(file), damaged);
    }
}

TEST_F(TerminalCollectionTest, RemoveOutsideTheRowChangesNothing) {
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 2, 1), kStoreOk);
    events.clear();
    terminals()->Remove(0);  // the coupler's own address
    terminals()->Remove(3);
    terminals()->Remove(-1);
    EXPECT_TRUE(events.empty());
    EXPECT_EQ(terminals()->Count(), 2);
    EXPECT_EQ(positionsOfIds({1, 2}), (std::vector<int32_t>{1, 2}));
}

TEST_F(TerminalCollectionTest, InsertLimitsKeepPositionsAndIdsAddressable) {
    EXPECT_EQ(terminals()->Add("QT1002-0000", 1, 256, 1), kStoreLimitReached);
    EXPECT_EQ(terminals()->Count(), 0);
    ASSERT_EQ(terminals()->Add("QT1002-0000", 1, 255, 1), kStoreOk);
    EXPECT_EQ(terminals()->Add("QT1002-0000", 1, 1, 1), kStoreLimitReached);
    EXPECT_EQ(terminals()->Count(), 255);

    auto fresh = std::make_shared<clsColTerminals>();
    fresh->setTermID(998);
    EXPECT_EQ(fresh->Add("QT1002-0000", 1, 2, 1), kStoreLimitReached);
    EXPECT_EQ(fresh->Add("QT1002-0000", 1, 1, 1), kStoreOk);
    EXPECT_EQ(fresh->ItemPos(1)->ConfSymbolicID(), 999);
    EXPECT_EQ(fresh->Add("QT1002-0000", 3, 1, 1), kStoreBadPosition);
    EXPECT_EQ(fresh->Add("QT1002-0000", 0, 1, 1), kStoreBadPosition);
}

TEST_F(TerminalCollectionTest, LoadingListsOnlyThisCouplersFilesAndKeepsTheCounterAboveIds) {
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 3, 1), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    // A file of another coupler id in the same folder, and a second file with id 2.
    std::filesystem::copy_file(railDir() / "C001T003.TCF", railDir() / "C012T003.TCF");
    std::filesystem::copy_file(railDir() / "C001T002.TCF", railDir() / "C001T0002.tcf");
    couplers()->Remove(1);  // dropped unsaved, so the file keeps what is written below
    // A rail file whose counter lags behind the files.
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "TermID", "1",
                                               (railDir() / "Coupler.CCF").string()));
    ASSERT_TRUE(ini::flush());
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    EXPECT_EQ(terminals()->Count(), 3);
    // Spelled otherwise than its save would write it, the copy would be left behind.
    EXPECT_EQ(terminals()->UnusedFiles(),
              std::vector<std::string>{(railDir() / "C001T0002.tcf").string()});
    EXPECT_GE(terminals()->TermID(), 3);
    ASSERT_EQ(terminals()->Add("QT3002-0000", 4, 1, 1), kStoreOk);
    EXPECT_EQ(terminals()->ItemPos(4)->ConfSymbolicID(), 4);
}

TEST_F(TerminalCollectionTest, IdsInsideAFileThatDisagreeWithItsNameFollowTheName) {
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 2, 1), kStoreOk);
    terminals()->ItemID(2)->clsColTables()->Item(1)->setConfRegisterValue(40, 7);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    couplers()->Remove(1);
    const std::string second = (railDir() / "C001T002.TCF").string();
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "TermID", "9", second));
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "CouplerID", "4", second));
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    auto t = terminals()->ItemPos(2);
    ASSERT_TRUE(t);
    EXPECT_EQ(t->ConfSymbolicID(), 2);
    EXPECT_EQ(t->ConfParentCouplerID(), 1);
    t->clsColTables()->Item(1)->setConfRegisterValue(40, 8);
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    // The edit went into the file the terminal came from; no second copy appeared.
    EXPECT_FALSE(std::filesystem::exists(railDir() / "C001T009.TCF"));
    EXPECT_FALSE(std::filesystem::exists(railDir() / "C004T002.TCF"));
    EXPECT_EQ(ini::readString(second, "RegValue_Table1", "Reg40"), "0x0008");
    EXPECT_EQ(ini::readString(second, "Config", "TermID"), "2");
}

TEST_F(TerminalCollectionTest, LoadingRaisesOnceWithPositionOne) {
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 2, 1), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    auto collection = std::make_shared<clsColTerminals>();
    std::vector<int32_t> seen;
    collection->InfoTerminalMultiChanged.connect([&](int32_t& p) { seen.push_back(p); });
    int changed = 0;
    collection->InfoTerminalChanged.connect([&](int32_t&) { ++changed; });
    project->setFullPathCoupler(railDir().string());
    ignoreLoadResult(collection->fOpenTerminals((railDir() / "Coupler.CCF").string()));
    EXPECT_EQ(seen, std::vector<int32_t>{1});
    EXPECT_EQ(collection->Count(), 2);
    collection->Remove(1);
    ASSERT_EQ(collection->Add("QT3002-0000", 1, 1, 1), kStoreOk);
    EXPECT_EQ(seen, (std::vector<int32_t>{1, 1, 1}));
    EXPECT_EQ(changed, 0);
}

}  // namespace
}  // namespace varnak::test
