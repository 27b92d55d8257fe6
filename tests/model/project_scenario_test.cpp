// A whole round: a new project, a rail with terminals of several families, edits in
// coupler tables, channel tables and mapping texts, save, and a reopen in a fresh program
// context that must give back everything, from files that are the description plus what
// the project owns.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <sstream>

#include "platform/paths.h"
#include "tests/model/project_fixture.h"
#include "tests/model/rail_snapshot.h"

namespace varnak::test {
namespace {

// The raw lines of each section of an INI text, by section name (first copy).
std::map<std::string, std::vector<std::string>> sectionLines(const std::string& text) {
    std::map<std::string, std::vector<std::string>> out;
    std::istringstream in(text);
    std::string line, current;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (!line.empty() && line.front() == '[') {
            current = line.substr(1, line.find(']') - 1);
            out[current];
            continue;
        }
        if (!line.empty()) out[current].push_back(line);
    }
    return out;
}

// The saved file holds the description's sections unchanged except those named, and no
// section besides the description's and the named ones.
void expectDescriptionPlus(const std::filesystem::path& description,
                           const std::filesystem::path& file, const std::set<std::string>& owned) {
    auto desc = sectionLines(readFile(description));
    auto saved = sectionLines(readFile(file));
    for (const auto& [name, lines] : desc) {
        ASSERT_TRUE(saved.count(name)) << file << " lost [" << name << "]";
        if (!owned.count(name)) {
            EXPECT_EQ(saved[name], lines) << file << " [" << name << "]";
        }
    }
    for (const auto& [name, lines] : saved) {
        EXPECT_TRUE(desc.count(name) || owned.count(name)) << file << " gained [" << name << "]";
    }
    for (const auto& name : owned) EXPECT_TRUE(saved.count(name)) << file << " lacks " << name;
}

TEST(ProjectScenario, EverythingSavedComesBackInAFreshContext) {
    ProjectFixture first;
    ASSERT_EQ(first.newProject("Werk"), kStoreOk);
    ASSERT_EQ(first.couplers()->Add("QZ3100-0000", 1, "Linie 1"), kStoreOk);
    auto projectFile = first.projectFolder("Werk") / "Werk.VMT";
    EXPECT_EQ(ini::readString(projectFile.string(), "Config", "CouplerID"), "1");

    auto rail = first.rail();
    rail->setUserInfoDescription("Halle 3");
    auto terminals = rail->clsColTerminals();
    ASSERT_EQ(terminals->Add("QT3002-0000", 1, 1, 1), kStoreOk);  // id 1
    ASSERT_EQ(terminals->Add("QT1002-0000", 2, 2, 1), kStoreOk);  // ids 2, 3
    ASSERT_EQ(terminals->Add("QT3808-0000", 2, 1, 1), kStoreOk);  // id 4 at 2
    ASSERT_EQ(terminals->Add("QT6001-0000", 5, 1, 1), kStoreOk);  // id 5
    ASSERT_EQ(terminals->Add("QT9010-0000", 6, 1, 1), kStoreOk);  // id 6, end terminal
    terminals->Remove(3);                                         // id 2 goes
    ASSERT_EQ(terminals->Count(), 5);

    auto tables = rail->clsColTables();
    tables->Item(0)->setConfRegisterValue(3, 0x0203);
    tables->Item(8)->setConfRegisterValue(1, 3002);
    tables->Item(8)->setConfRegisterValue(2, 0xFFFF);
    tables->Item(100)->setConfRegisterValue(9, 0x4711);
    auto eight = terminals->ItemID(4);
    eight->clsColTables()->Item(1)->setConfRegisterValue(32, 0x0111);
    eight->clsColTables()->Item(6)->setConfRegisterValue(40, 0x0666);
    eight->setConfMappInputImage(6, 1, "17");
    eight->setConfInputDestProcImage(6, "2");
    auto digital = terminals->ItemID(3);
    digital->setConfMappInputImage(1, 0, "3.5");
    terminals->ItemID(5)->setConfMappOutputImage(0, 5, "40");
    terminals->ItemID(5)->setConfOutputDestProcImage(0, "1");

    Snapshot before = snapshot(*rail);
    ASSERT_EQ(first.couplers()->fClearColCouplers(), kStoreOk);

    auto railDir = first.railFolder("Werk", "Linie 1");
    expectDescriptionPlus(first.resources() / "Coupler" / "QZ3100-0000.INI",
                          railDir / "Coupler.CCF",
                          {"Config", "RegValue_Table0", "RegValue_Table8", "RegValue_Table100"});
    std::set<std::string> eightOwned = {"Config"};
    for (int c = 0; c < 8; ++c) {
        eightOwned.insert("Mapp_Table" + std::to_string(c));
        eightOwned.insert("RegValue_Table" + std::to_string(c));
    }
    expectDescriptionPlus(first.resources() / "Terminal" / "QT3808-0000.INI",
                          railDir / "C001T004.TCF", eightOwned);
    expectDescriptionPlus(first.resources() / "Terminal" / "QT1002-0000.INI",
                          railDir / "C001T003.TCF", {"Config", "Mapp_Table0", "Mapp_Table1"});
    EXPECT_FALSE(std::filesystem::exists(railDir / "C001T002.TCF"));

    // A fresh program context over the same files.
    ini::dropCache();
    AppContext context;
    ContextScope scope(context);
    auto project = std::make_shared<clsProject>((first.parent() / "prog").string(),
                                                first.resources().string());
    context.VarnakProject = project;
    ASSERT_EQ(project->fOpenProject("Werk", first.projectFolder("Werk").string(),
                                    first.parent().string()),
              kStoreOk);
    auto couplers = project->clsColCouplers();
    ASSERT_EQ(couplers->fOpenCoupler(railDir.string(), (railDir / "Coupler.CCF").string()),
              kStoreOk);
    auto reopened = *couplers->begin();
    EXPECT_EQ(snapshot(*reopened), before);
    EXPECT_EQ(reopened->clsColTerminals()->TermID(), 6);
    EXPECT_EQ(reopened->clsColTerminals()->ItemPos(2)->InfoName(), "QT3808-0000");
    EXPECT_EQ(reopened->clsColTerminals()->ItemPos(5)->InfoName(), "QT9010-0000");

    // Ids go on where they stopped.
    ASSERT_EQ(reopened->clsColTerminals()->Add("QT3002-0000", 1, 1, 1), kStoreOk);
    EXPECT_EQ(reopened->clsColTerminals()->ItemPos(1)->ConfSymbolicID(), 7);
    ASSERT_EQ(couplers->Add("QZ3100-0000", 2, "Linie 2"), kStoreOk);
    EXPECT_EQ((*couplers->begin())->ConfSymbolicID(), 2);
}

// The same round over the descriptions the program ships.
TEST(ProjectScenario, ShippedDescriptionsRoundTrip) {
    std::filesystem::path shipped = platform::resourceDir();
    if (!std::filesystem::exists(shipped / "Terminal" / "QT3004-0000.INI"))
        GTEST_SKIP() << "no resource folder";
    TempDir root;
    std::filesystem::path prog = root / "prog", pf = root / "Werk.PF";
    std::filesystem::create_directories(prog);
    Snapshot before;
    {
        ini::dropCache();
        AppContext context;
        ContextScope scope(context);
        auto project = std::make_shared<clsProject>(prog.string(), shipped.string());
        context.VarnakProject = project;
        ASSERT_EQ(project->fNewProject("Werk", pf.string(), root.str()), kStoreOk);
        auto couplers = project->clsColCouplers();
        ASSERT_EQ(couplers->Add("QZ3100-0000", 1, "Linie 1"), kStoreOk);
        EXPECT_EQ(ini::readString((pf / "Werk.VMT").string(), "Config", "CouplerID"), "1");
        auto rail = *couplers->begin();
        auto terminals = rail->clsColTerminals();
        const char* types[] = {"QT3004-0000", "QT1002-0000", "QT6001-0000", "QT1501-0000",
                               "QT5001-0000", "QT2002-0000", "QT4002-0000", "QT9010-0000"};
        for (const char* type : types)
            ASSERT_EQ(terminals->Add(type, terminals->Count() + 1, 1, 1), kStoreOk);
        rail->clsColTables()->Item(0)->setConfRegisterValue(3, 0x0203);
        rail->clsColTables()->Item(8)->setConfRegisterValue(1, 3004);
        rail->clsColTables()->Item(100)->setConfRegisterValue(2, 0x0042);
        auto analog = terminals->ItemPos(1);
        analog->clsColTables()->Item(1)->setConfRegisterValue(32, 0x0111);
        analog->clsColTables()->Item(3)->setConfRegisterValue(40, 0x0333);
        analog->setConfMappInputImage(3, 2, "17");
        analog->setConfInputDestProcImage(3, "2");
        terminals->ItemPos(2)->setConfMappInputImage(1, 0, "3.5");
        terminals->ItemPos(3)->setConfMappOutputImage(0, 5, "40");
        before = snapshot(*rail);
        ASSERT_EQ(couplers->fClearColCouplers(), kStoreOk);
    }
    auto railDir = pf / "Linie 1.CF";
    expectDescriptionPlus(shipped / "Coupler" / "QZ3100-0000.INI", railDir / "Coupler.CCF",
                          {"Config", "RegValue_Table0", "RegValue_Table8", "RegValue_Table100"});
    expectDescriptionPlus(
        shipped / "Terminal" / "QT3004-0000.INI", railDir / "C001T001.TCF",
        {"Config", "Mapp_Table0", "Mapp_Table1", "Mapp_Table2", "Mapp_Table3", "RegValue_Table0",
         "RegValue_Table1", "RegValue_Table2", "RegValue_Table3"});

    ini::dropCache();
    AppContext context;
    ContextScope scope(context);
    auto project = std::make_shared<clsProject>(prog.string(), shipped.string());
    context.VarnakProject = project;
    ASSERT_EQ(project->fOpenProject("Werk", pf.string(), root.str()), kStoreOk);
    ASSERT_EQ(project->clsColCouplers()->fOpenCoupler(railDir.string(),
                                                      (railDir / "Coupler.CCF").string()),
              kStoreOk);
    EXPECT_EQ(snapshot(**project->clsColCouplers()->begin()), before);
}

}  // namespace
}  // namespace varnak::test
