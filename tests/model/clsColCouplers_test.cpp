#include "model/clsColCouplers.h"

#include <gtest/gtest.h>

#include "tests/model/project_fixture.h"
#include "tests/support/finished_process.h"

namespace varnak::test {
namespace {

class RailCollectionTest : public ::testing::Test, public ProjectFixture {
  protected:
    void SetUp() override {
        ASSERT_EQ(newProject("P"), kStoreOk);
        couplers()->InfoColCouplersChanged.connect([this] { ++changes; });
    }
    std::string projectFile() { return (projectFolder("P") / "P.VMT").string(); }
    int changes = 0;
};

TEST_F(RailCollectionTest, AddIssuesIdsFromTheProjectFileThatOnlyGrow) {
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    EXPECT_EQ(rail()->ConfSymbolicID(), 1);
    EXPECT_EQ(rail()->ConfSymbolicName(), "A");
    EXPECT_EQ(ini::readString(projectFile(), "Config", "CouplerID"), "1");
    EXPECT_EQ(changes, 1);
    // The new rail is written only when it is dropped.
    EXPECT_FALSE(std::filesystem::exists(railFolder("P", "A")));

    ASSERT_EQ(couplers()->Add("QZ3100-0000", 2, "B"), kStoreOk);
    EXPECT_TRUE(std::filesystem::exists(railFolder("P", "A") / "Coupler.CCF"));
    EXPECT_EQ(couplers()->Count(), 1);
    EXPECT_EQ(rail()->ConfSymbolicID(), 2);
    EXPECT_FALSE(couplers()->ItemID(1));
    EXPECT_TRUE(couplers()->ItemID(2));
    EXPECT_TRUE(couplers()->ItemPos(2));

    // Removing drops without saving or deleting; ids are never reused.
    couplers()->Remove(2);
    EXPECT_EQ(couplers()->Count(), 0);
    EXPECT_EQ(couplers()->RailName(), "");
    EXPECT_EQ(project->FullPathCoupler(), "");
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 3, "C"), kStoreOk);
    EXPECT_EQ(rail()->ConfSymbolicID(), 3);

    // A fresh context reading the same project goes on from there.
    ini::dropCache();
    auto again = std::make_shared<clsProject>((parent() / "prog").string(), resources().string());
    context().VarnakProject = again;
    project = again;
    ASSERT_EQ(openProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 4, "D"), kStoreOk);
    EXPECT_EQ(rail()->ConfSymbolicID(), 4);
}

TEST_F(RailCollectionTest, ALostOrLowCounterGoesOnAboveEveryRailOfTheProject) {
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 2, "B"), kStoreOk);
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "CouplerID", std::nullopt, projectFile()));
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 3, "C"), kStoreOk);
    EXPECT_EQ(rail()->ConfSymbolicID(), 3);
    EXPECT_EQ(ini::readString(projectFile(), "Config", "CouplerID"), "3");
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);

    // A rail whose file is damaged still holds its id in its terminal files' names; an id
    // beyond the store's limit is never issued and cannot collide.
    writeFile(railFolder("P", "D") / "Coupler.CCF", "");
    writeFile(railFolder("P", "D") / "c007t001.tcf", "");
    writeFile(railFolder("P", "E") / "C1000T001.TCF", "");
    writeFile(railFolder("P", "E") / "C99999999999T001.TCF", "");
    ASSERT_TRUE(ini::WritePrivateProfileString("Config", "CouplerID", "1", projectFile()));
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 4, "F"), kStoreOk);
    EXPECT_EQ(rail()->ConfSymbolicID(), 8);
    EXPECT_EQ(ini::readString(projectFile(), "Config", "CouplerID"), "8");
}

TEST_F(RailCollectionTest, OpenSavesTheLoadedRailAndRaisesOnce) {
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 2, "B"), kStoreOk);
    changes = 0;
    ASSERT_EQ(openRail("P", "A"), kStoreOk);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(couplers()->RailName(), "A");
    EXPECT_EQ(project->FullPathCoupler(), railFolder("P", "A").string());
    EXPECT_TRUE(std::filesystem::exists(railFolder("P", "B") / "Coupler.CCF"));
    for (const auto& t : *rail()->clsColTables()) EXPECT_EQ(t->PosNr(), 0);
}

TEST_F(RailCollectionTest, OpeningAMissingRailFileIsReportedAndKeepsTheLoadedRail) {
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    changes = 0;
    EXPECT_EQ(openRail("P", "Gone"), kStoreFileMissing);
    EXPECT_EQ(couplers()->RailName(), "A");
    EXPECT_EQ(changes, 0);
    EXPECT_FALSE(std::filesystem::exists(railFolder("P", "0")));
}

TEST_F(RailCollectionTest, RailFileWithoutTypeOrUsableNameIsRefusedAndWritesNothing) {
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    const std::string garbage[] = {
        std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16),
        "[Config]\r\nUserName=Bad\r\n",      // no coupler type
        "[Common]\r\nName=QZ3100-0000\r\n",  // no rail name
        "[Config]\r\nUserName=..\r\n[Common]\r\nName=QZ3100-0000\r\n",
    };
    for (const std::string& bytes : garbage) {
        writeFile(railFolder("P", "Bad") / "Coupler.CCF", bytes);
        changes = 0;
        EXPECT_EQ(openRail("P", "Bad"), kStoreNotARailFile);
        EXPECT_EQ(couplers()->RailName(), "A");
        EXPECT_EQ(changes, 0);
        // Nothing of it reaches the project, now or when the loaded rail goes.
        ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
        ASSERT_EQ(openRail("P", "A"), kStoreOk);
        EXPECT_EQ(readFile(railFolder("P", "Bad") / "Coupler.CCF"), bytes);
        EXPECT_FALSE(std::filesystem::exists(railFolder("P", "0")));
        EXPECT_FALSE(std::filesystem::exists(railFolder("P", "")));
    }
}

TEST_F(RailCollectionTest, OpeningRemovesWhatInterruptedSavesLeftInTheRailFolder) {
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 2, "B"), kStoreOk);
    const std::string ended = std::to_string(finishedProcessId());
    const auto leftover = railFolder("P", "A") / (".Coupler.CCF." + ended + "-4.partial");
    const auto elsewhere = railFolder("P", "B") / (".C002T001.TCF." + ended + "-5.partial");
    writeFile(leftover, "[Config]\r\nUserName=A\r\n");
    writeFile(elsewhere, "[Config]\r\n");
    ASSERT_EQ(openRail("P", "A"), kStoreOk);
    EXPECT_FALSE(std::filesystem::exists(leftover));
    EXPECT_TRUE(std::filesystem::exists(elsewhere));  // another rail's folder
}

TEST_F(RailCollectionTest, NamesThatCannotBeFoldersOrBelongToAnotherRailAreRefused) {
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    for (const char* bad : {"", "/", "\\", "..", "a.b", "x/y", "tab\there", "nl\n"})
        EXPECT_EQ(couplers()->Add("QZ3100-0000", 2, bad), kStoreInvalidName) << bad;
    EXPECT_EQ(couplers()->Add("QZ3100-0000", 2, "A"), kStoreNameInUse);  // loaded, unsaved
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 2, "B"), kStoreOk);
    EXPECT_EQ(couplers()->Add("QZ3100-0000", 3, "A"), kStoreNameInUse);  // saved folder
    EXPECT_EQ(couplers()->RailName(), "B");
    EXPECT_EQ(ini::readString(projectFile(), "Config", "CouplerID"), "2");
}

TEST_F(RailCollectionTest, FailedProjectFileWriteFailsTheAddWithoutAnId) {
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    // A project file that cannot be replaced.
    ini::dropCache();
    std::filesystem::remove(projectFile());
    std::filesystem::create_directory(projectFile());
    changes = 0;
    EXPECT_EQ(couplers()->Add("QZ3100-0000", 2, "B"), kStoreWriteFailed);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(couplers()->Count(), 0);  // the loaded rail was saved and dropped first
    EXPECT_TRUE(std::filesystem::exists(railFolder("P", "A") / "Coupler.CCF"));
    // The project file's pending write does not fail the saves of rails.
    ASSERT_EQ(openRail("P", "A"), kStoreOk);
    rail()->setUserInfoDescription("still saved");
    EXPECT_EQ(couplers()->fClearColCouplers(), kStoreOk);
}

TEST_F(RailCollectionTest, RailKeptAfterAFailedSaveAndDroppedNeverWritesItsChangesLater) {
    namespace fs = std::filesystem;
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    const fs::path file = railFolder("P", "A") / "Coupler.CCF";
    const std::string saved = readFile(file);
    fs::permissions(file, fs::perms::owner_read);
    rail()->setUserInfoDescription("dropped");
    const uint64_t failed = couplers()->FailedSaves();
    EXPECT_EQ(couplers()->Add("QZ3100-0000", 2, "B"), kStoreWriteFailed);
    EXPECT_EQ(couplers()->FailedSaves(), failed + 1);
    EXPECT_EQ(rail()->UserInfoDescription(), "dropped");  // still loaded, with its change
    couplers()->fDropColCouplers();
    fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 2, "B"), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);  // its batch writes whatever waits
    EXPECT_EQ(readFile(file), saved);
}

TEST_F(RailCollectionTest, ReentrantOpenDuringTheLoadIsRefused) {
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    struct ReentrantUi : SilentUi {
        std::function<void()> onPump;
        void pumpEvents() override {
            SilentUi::pumpEvents();
            if (onPump) std::exchange(onPump, nullptr)();
        }
    } reentrant;
    context().ui = &reentrant;
    int32_t inner = -1, clear = -1, newProjectResult = -1;
    reentrant.onPump = [&] {
        inner = openRail("P", "A");
        clear = couplers()->fClearColCouplers();
        newProjectResult = newProject("Q");
    };
    ASSERT_EQ(openRail("P", "A"), kStoreOk);
    EXPECT_EQ(inner, kStoreBusy);
    EXPECT_EQ(clear, kStoreBusy);
    EXPECT_EQ(newProjectResult, kStoreBusy);
    EXPECT_EQ(project->ProjektName(), "P");
    EXPECT_FALSE(std::filesystem::exists(projectFolder("Q")));
    EXPECT_EQ(couplers()->Count(), 1);
}

TEST_F(RailCollectionTest, RailDroppedByAWindowEventWhileItLoadsStaysIntactUntilTheLoadEnds) {
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 3, 1), kStoreOk);
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    struct DroppingUi : SilentUi {
        std::function<void()> onPump;
        void pumpEvents() override {
            SilentUi::pumpEvents();
            if (onPump) onPump();
        }
    } dropping;
    context().ui = &dropping;
    std::weak_ptr<clsCoupler> loading;
    dropping.onPump = [&] {
        if (couplers()->Count() == 0) return;  // the rail is not in the collection yet
        loading = rail();
        couplers()->fDropColCouplers();
        dropping.onPump = nullptr;
    };
    EXPECT_EQ(openRail("P", "A"), kStoreOk);
    EXPECT_EQ(couplers()->Count(), 0);
    EXPECT_TRUE(loading.expired());  // released once the load was done with it
}

TEST(RailCollectionWithoutProject, RefusesToAddOpenOrIssueIds) {
    ProjectFixture f;
    EXPECT_EQ(f.couplers()->Add("QZ3100-0000", 1, "A"), kStoreNoProject);
    writeFile(f.parent() / "R.CF" / "Coupler.CCF", "[Config]\nCouplerID=1\n");
    EXPECT_EQ(f.couplers()->fOpenCoupler((f.parent() / "R.CF").string(),
                                         (f.parent() / "R.CF" / "Coupler.CCF").string()),
              kStoreNoProject);
    EXPECT_EQ(f.couplers()->Count(), 0);
    EXPECT_FALSE(std::filesystem::exists(f.parent() / "prog" / ".VMT"));
    EXPECT_TRUE(std::filesystem::is_empty(f.parent() / "prog"));
}

}  // namespace
}  // namespace varnak::test
