#include "model/clsProject.h"

#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/model/project_fixture.h"

namespace varnak::test {
namespace {

class ProjectTest : public ::testing::Test, public ProjectFixture {
  protected:
    void SetUp() override {
        project->ProjectStateChange.connect([this](int32_t& s) { states.push_back(s); });
        project->ProjectStateOnlineChange.connect([this](bool& o) { online.push_back(o); });
    }
    std::vector<int32_t> states;
    std::vector<bool> online;
};

TEST_F(ProjectTest, StartsInTheProgramFolderWithNothingOpen) {
    EXPECT_EQ(project->ProjectState(), 0);
    EXPECT_FALSE(project->Online());
    EXPECT_FALSE(project->IsOpen());
    EXPECT_EQ(project->FullPathProject(), (parent() / "prog").string());
    EXPECT_EQ(project->FullPathProjectFolder(), (parent() / "prog").string());
    EXPECT_EQ(project->FullPathResourceFolder(), resources().string());
    project->setProjectState(0);
    EXPECT_TRUE(states.empty());
}

TEST_F(ProjectTest, NewProjectWritesFolderAndFileThenSwitches) {
    ASSERT_EQ(newProject("Anlage"), kStoreOk);
    EXPECT_EQ(states, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(project->ProjektName(), "Anlage");
    EXPECT_EQ(project->FullPathProject(), projectFolder("Anlage").string());
    EXPECT_EQ(project->FullPathProjectFolder(), parent().string());
    EXPECT_EQ(ini::readString((projectFolder("Anlage") / "Anlage.VMT").string(), "Config", "Name"),
              "Anlage");

    // An existing folder, a bad name or a folder that cannot be made: nothing changes, the
    // open project stays with its rail loaded and unsaved.
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    rail()->setUserInfoDescription("not saved yet");
    const std::string railFile = (railFolder("Anlage", "R") / "Coupler.CCF").string();
    const std::string saved = readFile(railFile);
    states.clear();
    EXPECT_EQ(newProject("Anlage"), kStoreNameInUse);
    EXPECT_EQ(newProject("An.lage"), kStoreInvalidName);
    EXPECT_EQ(project->fNewProject("X", (parent() / "no" / "X.PF").string(), parent().string()),
              kStoreWriteFailed);
    EXPECT_TRUE(states.empty());
    EXPECT_EQ(project->ProjektName(), "Anlage");
    EXPECT_EQ(project->ProjectState(), 2);
    EXPECT_EQ(couplers()->RailName(), "R");
    EXPECT_EQ(rail()->UserInfoDescription(), "not saved yet");
    EXPECT_EQ(project->FullPathCoupler(), railFolder("Anlage", "R").string());
    EXPECT_EQ(readFile(railFile), saved);
}

TEST_F(ProjectTest, OpeningAnotherProjectSavesTheRailIntoItsOwnProject) {
    ASSERT_EQ(newProject("One"), kStoreOk);
    ASSERT_EQ(newProject("Two"), kStoreOk);
    ASSERT_EQ(openProject("One"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    states.clear();
    ASSERT_EQ(openProject("Two"), kStoreOk);
    EXPECT_EQ(states, (std::vector<int32_t>{1, 2}));
    EXPECT_EQ(couplers()->Count(), 0);
    EXPECT_EQ(project->FullPathCoupler(), "");
    EXPECT_TRUE(std::filesystem::exists(railFolder("One", "R") / "Coupler.CCF"));
    EXPECT_FALSE(std::filesystem::exists(railFolder("Two", "R")));
    EXPECT_EQ(openProject("Missing"), kStoreFileMissing);
    EXPECT_EQ(project->ProjektName(), "Two");
}

TEST_F(ProjectTest, DeletingTheOpenProjectDropsItsRailUnsaved) {
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    int railChanges = 0;
    couplers()->InfoColCouplersChanged.connect([&] { ++railChanges; });
    states.clear();
    ASSERT_EQ(project->fDeleteProject(projectFolder("P").string()), kStoreOk);
    EXPECT_EQ(states, (std::vector<int32_t>{3, 4}));
    EXPECT_FALSE(std::filesystem::exists(projectFolder("P")));
    EXPECT_EQ(project->ProjektName(), "");
    EXPECT_EQ(project->FullPathProject(), "");
    EXPECT_EQ(project->FullPathCoupler(), "");
    EXPECT_EQ(project->FullPathProjectFolder(), parent().string());
    EXPECT_EQ(couplers()->Count(), 0);
    EXPECT_EQ(railChanges, 1);
    // Nothing can be saved now, and nothing lands beside the projects.
    EXPECT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreNoProject);
    EXPECT_FALSE(std::filesystem::exists(parent() / "R.CF"));
    EXPECT_FALSE(std::filesystem::exists(projectFolder("P")));
}

TEST_F(ProjectTest, DeletingAnotherProjectLeavesTheOpenOneAlone) {
    ASSERT_EQ(newProject("Other"), kStoreOk);
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    states.clear();
    ASSERT_EQ(project->fDeleteProject(projectFolder("Other").string()), kStoreOk);
    EXPECT_EQ(states, (std::vector<int32_t>{3, 2}));
    EXPECT_EQ(project->ProjektName(), "P");
    EXPECT_EQ(couplers()->RailName(), "R");
    EXPECT_FALSE(std::filesystem::exists(projectFolder("Other")));
}

TEST_F(ProjectTest, DeletionFromInsideTheTreeMovesTheCurrentFolderOut) {
    ASSERT_EQ(newProject("P"), kStoreOk);
    std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(projectFolder("P"));
    EXPECT_EQ(project->fDeleteProject(projectFolder("P").string()), kStoreOk);
    EXPECT_FALSE(std::filesystem::exists(projectFolder("P")));
    std::filesystem::current_path(before);
}

TEST_F(ProjectTest, FailedDeletionIsReported) {
    EXPECT_EQ(project->fDeleteProject((parent() / "Nothing.PF").string()), kStoreDeleteFailed);
    EXPECT_EQ(states, (std::vector<int32_t>{3, 4}));
}

TEST_F(ProjectTest, OnlineChangesSetUpThePortFirstAndOnlyOnChange) {
    std::vector<std::string> order;
    project->ProjectStateOnlineChange.connect([&](bool&) { order.push_back("event"); });
    int32_t portResult = 0;
    project->InitComPort = [&] {
        order.push_back("port");
        return portResult;
    };
    EXPECT_EQ(project->setOnline(false), kStoreOk);
    EXPECT_TRUE(order.empty());
    EXPECT_EQ(project->setOnline(true), kStoreOk);
    EXPECT_EQ(order, (std::vector<std::string>{"port", "event"}));
    EXPECT_EQ(project->setOnline(true), kStoreOk);
    EXPECT_EQ(order.size(), 2u);

    // The adapter vanished: going offline still happens, the port problem is reported.
    project->InitComPort = [&]() -> int32_t { throw std::runtime_error("port 4 is gone"); };
    EXPECT_EQ(project->setOnline(false), kStorePortFailed);
    EXPECT_FALSE(project->Online());
    EXPECT_EQ(project->PortError(), "port 4 is gone");
    EXPECT_EQ(online, (std::vector<bool>{true, false}));

    // Going online on a failing port keeps the flag and raises nothing.
    EXPECT_EQ(project->setOnline(true), kStorePortFailed);
    EXPECT_FALSE(project->Online());
    EXPECT_EQ(online.size(), 2u);
}

TEST(ProjectNames, FolderAndNameChecks) {
    EXPECT_FALSE(clsProject::gfValidProjName(""));
    EXPECT_FALSE(clsProject::gfValidProjName("a.b"));
    EXPECT_FALSE(clsProject::gfValidRailName(".."));
    EXPECT_FALSE(clsProject::gfValidRailName("a\\b"));
    EXPECT_FALSE(clsProject::gfValidRailName("a/b"));
    EXPECT_FALSE(clsProject::gfValidRailName(std::string("a\x01", 2)));
    EXPECT_TRUE(clsProject::gfValidRailName("Linie 1"));
    EXPECT_TRUE(clsProject::gfValidProjName("Anlage-Süd"));

    EXPECT_TRUE(clsProject::gfValidProjFolderName("C:\\Daten\\Anlage"));
    EXPECT_FALSE(clsProject::gfValidProjFolderName("C:\\Daten.alt\\Anlage.1"));
    EXPECT_TRUE(clsProject::gfValidProjFolderName("C:\\Daten.alt\\Anlage"));
    EXPECT_TRUE(clsProject::gfValidProjFolderName("a.b"));  // positions 1-2 never looked at
    EXPECT_FALSE(clsProject::gfValidProjFolderName("abc.d"));
    EXPECT_TRUE(clsProject::gfValidProjFolderName("/home/u/Anlage"));
    EXPECT_FALSE(clsProject::gfValidProjFolderName(""));
}

}  // namespace
}  // namespace varnak::test
