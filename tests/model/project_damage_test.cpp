// Damaged project files: whatever a flipped byte, a lost or doubled line, a stray header,
// a hostile value or a cut file does to a saved project, opening the rail, reading every
// table and mapping, saving and reopening must neither crash nor lose what the model made
// of the files, and must never write into the resource folder. A save that is refused
// leaves the damaged file as it was.
#include <gtest/gtest.h>

#include <map>
#include <random>
#include <string>
#include <vector>

#include "model/clsCommon.h"
#include "tests/model/project_fixture.h"
#include "tests/model/rail_snapshot.h"
#include "tests/support/description_damage.h"
#include "tests/support/effect_only.h"

namespace varnak::test {
namespace {

namespace fs = std::filesystem;

std::map<std::string, std::string> folderBytes(const fs::path& folder) {
    std::map<std::string, std::string> out;
    for (const auto& e : fs::recursive_directory_iterator(folder))
        if (e.is_regular_file()) out[e.path().string()] = readFile(e.path());
    return out;
}

const std::vector<std::string>& hostileLines() {
    static const std::vector<std::string> lines = {
        "[RegValue_Table0",
        "[Config]",
        "[RegValue_Table127]",
        "TermPos=-7",
        "TermPos=300",
        "TermID=0",
        "TermID=2",
        "TermID=-3",
        "CouplerID=99999999999",
        "Reg10=0xFFFF",
        "Reg11=0xFFFF",
        "Reg11=0x0840",
        "Reg12=0xFFFFFFFF",
        "Reg12=0x7F7F",
        "Reg127=0x7FFFFFFF",
        "Reg8=0x1000",
        "Reg0=0x",
        "Reg1=0x123456789",
        "=",
        "[]",
        std::string(400, '9'),
        "Input_Adr0=" + std::string(250, 'x'),
        std::string("Name=a\0b", 8),
        "Lang0_Reg1=\xC3",
        "Name=../../outside",
        "UserName=..",
        "InProcImage=\"",
    };
    return lines;
}

// One to three damages of one kind picked by the generator.
std::string damage(std::string bytes, std::mt19937& rng) {
    auto pick = [&](size_t n) {
        return n == 0 ? 0 : std::uniform_int_distribution<size_t>(0, n - 1)(rng);
    };
    auto lineStarts = [&] {
        std::vector<size_t> starts{0};
        for (size_t i = 0; i < bytes.size(); ++i)
            if (bytes[i] == '\n' && i + 1 < bytes.size()) starts.push_back(i + 1);
        return starts;
    };
    int rounds = 1 + static_cast<int>(pick(3));
    for (int r = 0; r < rounds; ++r) {
        switch (pick(7)) {
            case 0:
                if (!bytes.empty()) bytes[pick(bytes.size())] = static_cast<char>(pick(256));
                break;
            case 1: {
                auto starts = lineStarts();
                size_t at = starts[pick(starts.size())];
                size_t end = bytes.find('\n', at);
                bytes.erase(at, end == std::string::npos ? std::string::npos : end - at + 1);
                break;
            }
            case 2: {
                auto starts = lineStarts();
                size_t at = starts[pick(starts.size())];
                size_t end = bytes.find('\n', at);
                std::string line = bytes.substr(at, end == std::string::npos ? end : end - at + 1);
                bytes.insert(at, line);
                break;
            }
            case 3:
            case 4: {
                auto starts = lineStarts();
                const auto& lines = hostileLines();
                bytes.insert(starts[pick(starts.size())], lines[pick(lines.size())] + "\r\n");
                break;
            }
            case 5:
                bytes.resize(pick(bytes.size() + 1));
                break;
            default:
                if (pick(4) == 0)
                    bytes = "\xFF\xFE" + bytes;  // a UTF-16 mark: never rewritten
                else if (pick(2) == 0)
                    bytes.clear();
                break;
        }
    }
    return bytes;
}

void buildProject(ProjectFixture& f) {
    ASSERT_EQ(f.newProject("P"), kStoreOk);
    ASSERT_EQ(f.couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    auto terminals = f.terminals();
    ASSERT_EQ(terminals->Add("QT3002-0000", 1, 1, 1), kStoreOk);
    ASSERT_EQ(terminals->Add("QT1002-0000", 2, 1, 1), kStoreOk);
    ASSERT_EQ(terminals->Add("QT6001-0000", 3, 1, 1), kStoreOk);
    ASSERT_EQ(terminals->Add("QT3808-0000", 4, 1, 1), kStoreOk);
    f.rail()->clsColTables()->Item(8)->setConfRegisterValue(1, 3002);
    f.rail()->clsColTables()->Item(100)->setConfRegisterValue(3, -2);
    terminals->ItemID(4)->clsColTables()->Item(6)->setConfRegisterValue(40, 0x0666);
    terminals->ItemID(2)->setConfMappInputImage(0, 0, "3.5");
    ASSERT_EQ(f.couplers()->fClearColCouplers(), kStoreOk);
}

// Everything a window may ask of a loaded rail.
void useEverything(clsCoupler& rail) {
    effectOnly(rail.fCalcTermAdrInImages());
    for (const auto& terminal : *rail.clsColTerminals()) {
        terminal->AddChannelsToTreeView("K", "D");
        for (int32_t c = 0; c < terminal->InfoNrLogSigChnl(); ++c)
            for (const auto& t : *terminal->clsColTables()) t->InfoRegisterDesc(c % 256);
    }
    for (const auto& t : *rail.clsColTables()) t->InfoRegisterDesc(0);
}

class ProjectDamage : public ::testing::TestWithParam<int> {};

TEST_P(ProjectDamage, DamagedFilesOpenSaveAndReopenWithoutLoss) {
    ProjectFixture f;
    f.context().LanguageNr = 1;
    ASSERT_NO_FATAL_FAILURE(buildProject(f));
    auto railDir = f.railFolder("P", "R");
    std::vector<fs::path> files = {f.projectFolder("P") / "P.VMT", railDir / "Coupler.CCF"};
    for (const auto& e : fs::directory_iterator(railDir))
        if (e.path().extension() == ".TCF") files.push_back(e.path());
    std::sort(files.begin(), files.end());

    std::mt19937 rng(static_cast<unsigned>(GetParam()));
    const fs::path victim = files[rng() % files.size()];
    const std::string damaged = damage(readFile(victim), rng);
    writeFile(victim, damaged);
    ini::dropCache();
    const auto resources = folderBytes(f.resources());
    SCOPED_TRACE(victim.filename().string() + " damaged:\n" + damaged);

    const auto project = folderBytes(f.projectFolder("P"));
    if (f.openRail("P", "R") == kStoreNotARailFile) {
        // A rail file that lost its type or its name is no rail: nothing changes.
        EXPECT_EQ(f.couplers()->Count(), 0);
        EXPECT_EQ(f.couplers()->fClearColCouplers(), kStoreOk);
        EXPECT_EQ(folderBytes(f.projectFolder("P")), project);
        return;
    }
    ASSERT_EQ(f.couplers()->Count(), 1);
    Snapshot loaded = snapshot(*f.rail());
    // A damaged name moves the rail into the folder of that name at its save.
    const std::string name = f.rail()->ConfSymbolicName();
    useEverything(*f.rail());
    int32_t saved = f.couplers()->fClearColCouplers();
    if (saved == kStoreOk) {
        ASSERT_EQ(f.openRail("P", name), kStoreOk);
        EXPECT_TRUE(snapshot(*f.rail()) == loaded) << "the reopened rail differs";
    } else {
        EXPECT_EQ(readFile(victim), damaged) << "a refused save changed the damaged file";
    }
    EXPECT_EQ(folderBytes(f.resources()), resources);
}

INSTANTIATE_TEST_SUITE_P(Seeds, ProjectDamage, ::testing::Range(1, 301));

// A saved rail of 22 terminals (the end terminal last) whose third terminal file was cut to
// its first 700 bytes, so that its [Config] is gone, and whose fifth holds random bytes.
class DamagedTerminalFiles : public ::testing::Test, public ProjectFixture {
  protected:
    void SetUp() override {
        ASSERT_EQ(newProject("P"), kStoreOk);
        ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
        const char* kinds[] = {"QT3002-0000", "QT1002-0000", "QT3808-0000", "QT4002-0000",
                               "QT3002-0000", "QT6001-0000", "QT1002-0000"};
        for (int p = 1; p <= 21; ++p) ASSERT_EQ(terminals()->Add(kinds[(p - 1) % 7], p, 1, 1), 0);
        ASSERT_EQ(terminals()->Add("QT9010-0000", 22, 1, 1), kStoreOk);
        // Each terminal's own value tells which file a loaded terminal came from.
        for (const auto& t : *terminals())
            if (t->InfoTermRegisterModell())
                t->clsColTables()->Item(0)->setConfRegisterValue(40, 0x100 + t->ConfSymbolicID());
        ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);

        cut = std::make_unique<DescriptionDamage>(railDir() / "C001T003.TCF");
        noise = std::make_unique<DescriptionDamage>(railDir() / "C001T005.TCF");
        ASSERT_NE(cut->original().find("[Config]"), std::string::npos);
        ASSERT_EQ(cut->original().substr(0, 700).find("[Config]"), std::string::npos);
        cut->cutTo(700);
        noise->randomBytes(27);
        damaged = {readFile(cut->path()), readFile(noise->path())};
        ini::dropCache();
    }
    std::filesystem::path railDir() { return railFolder("P", "R"); }
    std::vector<int32_t> idsInRailOrder() {
        std::vector<int32_t> ids;
        for (int32_t p = 1; p <= terminals()->Count(); ++p) {
            auto t = terminals()->ItemPos(p);
            ids.push_back(t ? t->ConfSymbolicID() : -1);
        }
        return ids;
    }
    void expectDamagedFilesAsTheyWere() {
        EXPECT_EQ(readFile(cut->path()), damaged[0]) << "the cut file was written";
        EXPECT_EQ(readFile(noise->path()), damaged[1]) << "the random file was written";
    }
    std::unique_ptr<DescriptionDamage> cut;
    std::unique_ptr<DescriptionDamage> noise;
    std::vector<std::string> damaged;
};

TEST_F(DamagedTerminalFiles, TheOpenNamesBothFilesAndNumbersTheOthersWithoutGaps) {
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    std::vector<int32_t> expected = {1, 2, 4};
    for (int32_t id = 6; id <= 22; ++id) expected.push_back(id);
    EXPECT_EQ(idsInRailOrder(), expected);
    for (const auto& t : *terminals()) {
        for (const auto& table : *t->clsColTables())
            EXPECT_EQ(table->PosNr(), t->ConfRailPosition()) << t->ConfSymbolicID();
        if (t->InfoTermRegisterModell()) {
            EXPECT_EQ(t->clsColTables()->Item(0)->ConfRegisterValue(40),
                      0x100 + t->ConfSymbolicID());
        }
    }
    EXPECT_GE(terminals()->TermID(), 22);
    EXPECT_EQ(terminals()->UnusedFiles(),
              (std::vector<std::string>{cut->path().string(), noise->path().string()}));
    EXPECT_TRUE(terminals()->PositionsRenumbered());
    expectDamagedFilesAsTheyWere();
}

TEST_F(DamagedTerminalFiles, NoSaveDeleteOrInsertWritesThemAndTheyAreNamedAgainAtTheNextOpen) {
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    expectDamagedFilesAsTheyWere();
    // Deleting a terminal renumbers the ones behind it and deletes its own file only.
    terminals()->Remove(2);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    EXPECT_FALSE(std::filesystem::exists(railDir() / "C001T002.TCF"));
    expectDamagedFilesAsTheyWere();
    // New terminals never take the ids the damaged files carry.
    ASSERT_EQ(terminals()->Add("QT3002-0000", 2, 2, 1), kStoreOk);
    EXPECT_EQ(terminals()->ItemPos(2)->ConfSymbolicID(), 23);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    expectDamagedFilesAsTheyWere();
    // Another rail opened saves and drops this one.
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 2, "S"), kStoreOk);
    expectDamagedFilesAsTheyWere();

    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    EXPECT_EQ(terminals()->Count(), 21);
    EXPECT_EQ(terminals()->ItemPos(2)->ConfSymbolicID(), 23);
    EXPECT_EQ(terminals()->UnusedFiles().size(), 2u);
    EXPECT_FALSE(terminals()->PositionsRenumbered());  // saved without gaps
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    expectDamagedFilesAsTheyWere();
}
// Seeds that once lost data: a rail file cut down to its first lines (76), a terminal file
// that lost its id and its channel count (1133).
INSTANTIATE_TEST_SUITE_P(Found, ProjectDamage, ::testing::Values(76, 1133));

}  // namespace
}  // namespace varnak::test
