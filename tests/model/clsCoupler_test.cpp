#include "model/clsCoupler.h"

#include <gtest/gtest.h>

#include <cstring>
#include <functional>
#include <map>
#include <utility>

#include "model/rail_open_report.h"
#include "platform/atomic_file.h"
#include "platform/unexamined_result.h"
#include "platform/write_failure.h"
#include "tests/model/fake_register_device.h"
#include "tests/model/project_fixture.h"

namespace varnak::test {
namespace {

class RailTest : public ::testing::Test, public ProjectFixture {
  protected:
    std::shared_ptr<clsCoupler> load(const std::filesystem::path& file) {
        auto rail = std::make_shared<clsCoupler>();
        ignoreLoadResult(rail->ConfRetrieveData(file.string()));
        return rail;
    }
    std::filesystem::path description() { return resources() / "Coupler" / "QZ3100-0000.INI"; }
    std::vector<int32_t> tableNumbers(clsCoupler& rail) {
        std::vector<int32_t> out;
        for (const auto& t : *rail.clsColTables()) out.push_back(t->TableNr());
        return out;
    }
};

TEST_F(RailTest, DescriptionGivesTypeDataAndZeroConfig) {
    auto rail = load(description());
    EXPECT_EQ(rail->InfoName(), "QZ3100-0000");
    EXPECT_EQ(rail->InfoDescription(), "Buskoppler Testreihe");
    EXPECT_EQ(rail->InfoBitmap(), "QZ3100.png");
    EXPECT_EQ(rail->InfoBitmapSize(), 2);
    EXPECT_EQ(rail->InfoCurrentKBus(), 1500);
    // No name and no comment yet (not the key default "0").
    EXPECT_EQ(rail->ConfSymbolicName(), "");
    EXPECT_EQ(rail->UserInfoDescription(), "");
    EXPECT_EQ(rail->ConfSymbolicID(), 0);
    EXPECT_EQ(rail->ConfProjectPosition(), 0);
    EXPECT_EQ(rail->clsColTerminals()->TermID(), 0);
    EXPECT_EQ(tableNumbers(*rail),
              (std::vector<int32_t>{0, 1, 2, 3, 4, 8, 9, 10, 50, 98, 99, 100, 110, 114, 127}));
    EXPECT_EQ(ui.statusTexts.back(), "Done..");
    // Window events run before each directory entry.
    EXPECT_GE(ui.pumpCount, 131);
}

TEST_F(RailTest, DescriptionLoadsOnlyTheSettingsTablesLazily) {
    auto rail = load(description());
    auto tables = rail->clsColTables();
    for (int32_t n : {0, 1, 98, 100, 127}) EXPECT_FALSE(tables->Item(n)->bInitDone()) << n;
    for (int32_t n : {2, 3, 4, 8, 9, 10, 50, 99, 110, 114})
        EXPECT_TRUE(tables->Item(n)->bInitDone()) << n;
    EXPECT_EQ(tables->Item(100)->ConfRegisterValue(0), 0x1234);
    EXPECT_EQ(tables->Item(0)->InfoRegisterDesc(1), "Betriebsart");
    EXPECT_EQ(tables->Item(0)->TableLen(), 255);
    EXPECT_EQ(tables->Item(127)->TableLen(), 130);
}

TEST_F(RailTest, RailFileLoadsTablesZeroToFourAtOnceAndTheRestLazilyOrNever) {
    std::filesystem::path file = parent() / "Coupler.CCF";
    writeFile(file,
              "[Config]\nUserName= Linie 1 \nCouplerID=7\nTermID=12\nCouplerPos=2\n"
              "[Common]\nName=QZ3100-0000\n"
              "[RegValue_Table127]\nReg0=0x0010\nReg1=0x0010\nReg4=0x0010\nReg8=0x0010\n"
              "Reg99=0x0010\nReg100=0x0200\nReg127=0x0082\nReg131=0x0010\nReg200=0x0010\n"
              "[RegValue_Table4]\nReg3=0x0004\n"
              "[RegValue_Table8]\nReg1=0x0BBA\n"
              "[RegValue_Table99]\nReg0=0x0063\n");
    auto rail = load(file);
    EXPECT_EQ(rail->ConfSymbolicName(), "Linie 1");
    EXPECT_EQ(rail->ConfSymbolicID(), 7);
    EXPECT_EQ(rail->ConfProjectPosition(), 2);
    EXPECT_EQ(rail->clsColTerminals()->TermID(), 12);
    // Directory registers above 130 are never looked at.
    EXPECT_EQ(tableNumbers(*rail), (std::vector<int32_t>{0, 1, 4, 8, 99, 100, 127}));
    auto tables = rail->clsColTables();
    EXPECT_TRUE(tables->Item(4)->bInitDone());
    EXPECT_EQ(tables->Item(4)->ConfRegisterValue(3), 4);  // table 4 comes back
    EXPECT_EQ(tables->Item(100)->TableLen(), 255);        // 0x0200 capped
    EXPECT_FALSE(tables->Item(8)->bInitDone());
    EXPECT_EQ(tables->Item(8)->ConfRegisterValue(1), 0x0BBA);
    EXPECT_EQ(tables->Item(99)->ConfRegisterValue(0), 0);  // to be uploaded, never read
}

// A rail file laid out by hand, whose directory lists tables it holds no values for: the
// registers it lacks of a settings table are the description's, and the first save writes
// them.
TEST_F(RailTest, RegistersTheRailFileLacksTakeTheDescriptionsOfItsType) {
    std::filesystem::path file = parent() / "Coupler.CCF";
    const std::string railText =
        "[Config]\nUserName=R\nCouplerID=1\n[Common]\nName=QZ3100-0000\n"
        "[RegValue_Table127]\nReg0=0x0010\nReg8=0x0010\nReg98=0x0010\nReg100=0x0005\n"
        "Reg120=0x0005\nReg127=0x0082\n[RegValue_Table100]\nReg5=0x0055\n";
    // A description saved from a station gives its terminal list and cycle times too.
    writeFile(description(), std::string(kCouplerDescription) +
                                 "[RegValue_Table120]\r\nReg2=0x0120\r\n"
                                 "[RegValue_Table8]\r\nReg1=0x1111\r\n"
                                 "[RegValue_Table98]\r\nReg0=0x0098\r\n");
    writeFile(file, railText);
    auto rail = load(file);
    auto tables = rail->clsColTables();
    EXPECT_EQ(tables->Item(100)->ConfRegisterValue(0), 0x1234);
    EXPECT_EQ(tables->Item(100)->ConfRegisterValue(5), 0x55);  // the file's own
    EXPECT_TRUE(tables->Item(100)->ValueChanged());
    EXPECT_EQ(tables->Item(0)->ConfRegisterValue(11), 0xB);
    EXPECT_EQ(tables->Item(120)->ConfRegisterValue(2), 0x120);
    EXPECT_TRUE(rail->UnusableTableDefaults().empty());
    // Neither the directory, the cycle times nor the station's own terminal list come from
    // the description.
    EXPECT_EQ(tables->Item(127)->ConfRegisterValue(1), 0);
    EXPECT_EQ(tables->Item(98)->ConfRegisterValue(0), 0);
    EXPECT_EQ(tables->Item(8)->ConfRegisterValue(1), 0);
    EXPECT_FALSE(tables->Item(8)->ValueChanged());

    // A description an interrupted copy left inside a line of table 100 fills nothing into
    // that table, the other tables all the same, and the open names it.
    const std::string whole = kCouplerDescription;
    writeFile(description(), whole.substr(0, whole.find("Reg5=0x00") + 9));
    rail = load(file);
    EXPECT_EQ(rail->clsColTables()->Item(100)->ConfRegisterValue(0), 0);
    EXPECT_FALSE(rail->clsColTables()->Item(100)->ValueChanged());
    EXPECT_EQ(rail->clsColTables()->Item(0)->ConfRegisterValue(11), 0xB);
    EXPECT_EQ(railOpenReport(*rail),
              "Die Beschreibung des Kopplertyps fehlt, ist beschädigt oder abgeschnitten: "
              "Register, die die Stationsdatei nicht hält, stehen auf 0. Liegt die Beschreibung "
              "wieder im Ressourcenordner, füllt das nächste Öffnen sie.\r\n\r\n" +
                  description().string());

    // Without a usable description of its own type nothing is filled, not even from the
    // fallback, and the open says which description it is.
    writeFile(resources() / "Coupler" / "Unknown.INI",
              "[Common]\nName=Unknown\n[RegValue_Table100]\nReg0=0x0BAD\n");
    std::filesystem::remove(description());
    writeFile(file, railText);
    rail = load(file);
    EXPECT_EQ(rail->clsColTables()->Item(100)->ConfRegisterValue(0), 0);
    EXPECT_FALSE(rail->clsColTables()->Item(100)->ValueChanged());
    EXPECT_EQ(rail->UnusableTableDefaults(), description().string());
    EXPECT_NE(railOpenReport(*rail).find(description().string()), std::string::npos);
    writeFile(file,
              "[Config]\nUserName=R\n[Common]\nName=Unknown\n[RegValue_Table127]\n"
              "Reg100=0x0005\n");
    rail = load(file);
    EXPECT_EQ(rail->clsColTables()->Item(100)->ConfRegisterValue(0), 0);
    EXPECT_TRUE(rail->UnusableTableDefaults().empty());
}

TEST_F(RailTest, MissingFileReadsUnknownAndMissingUnknownGivesAnEmptyRail) {
    auto rail = load(resources() / "Coupler" / "QZ9999-0000.INI");
    EXPECT_EQ(rail->InfoName(), "Unknown");
    EXPECT_EQ(rail->clsColTables()->Count(), 1);
    std::filesystem::remove(resources() / "Coupler" / "Unknown.INI");
    auto empty = load(resources() / "Coupler" / "QZ9999-0000.INI");
    EXPECT_EQ(empty->InfoName(), "");
    EXPECT_EQ(empty->clsColTables()->Count(), 0);
}

TEST_F(RailTest, OnlineDirectoryComesFromTheDeviceAndIsSavedWithTheRail) {
    ASSERT_EQ(newProject("P"), kStoreOk);
    FakeRegisterDevice device;
    context().registerDevice = &device;
    auto& dir = device.registers(0, 127);
    dir[0] = 0x20;
    dir[100] = 0x10;
    dir[121] = 0x08;
    ASSERT_EQ(project->setOnline(true), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    EXPECT_TRUE(rail()->DirectoryFromDevice());
    EXPECT_EQ(tableNumbers(*rail()), (std::vector<int32_t>{0, 100, 121, 127}));
    EXPECT_EQ(rail()->clsColTables()->Item(0)->TableLen(), 0x20);
    ASSERT_EQ(device.calls.size(), 1u);
    EXPECT_EQ(device.calls[0].table, 127);
    EXPECT_EQ(device.calls[0].count, 255);

    // Offline again, the rail reopens with the device's tables, not the description's.
    ASSERT_EQ(project->setOnline(false), kStoreOk);
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    ini::dropCache();
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    EXPECT_FALSE(rail()->DirectoryFromDevice());
    EXPECT_EQ(tableNumbers(*rail()), (std::vector<int32_t>{0, 100, 121, 127}));
    EXPECT_EQ(rail()->clsColTables()->Item(121)->TableLen(), 8);
}

TEST_F(RailTest, FailedOnlineDirectoryFallsBackToTheFile) {
    FakeRegisterDevice device;
    device.failAt(0, 2);
    context().registerDevice = &device;
    ASSERT_EQ(project->setOnline(true), kStoreOk);
    auto rail = load(description());
    EXPECT_FALSE(rail->DirectoryFromDevice());
    EXPECT_EQ(rail->clsColTables()->Count(), 15);
}

TEST_F(RailTest, CommentAndNamesSurviveSaveAndReopen) {
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 3, "R"), kStoreOk);
    rail()->setUserInfoDescription("  Halle 2, Tor 3 ");
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    ini::dropCache();
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    EXPECT_EQ(rail()->UserInfoDescription(), "Halle 2, Tor 3");
    EXPECT_EQ(rail()->ConfProjectPosition(), 3);
    EXPECT_EQ(couplers()->RailName(), "R");

    // Comments in enclosing quotes, and the longest one the file gives back, come back
    // as written.
    for (const std::string& comment :
         std::vector<std::string>{"\"Halle 2\"", "'Tor 3'", "\"\"", std::string(99, 'x')}) {
        rail()->setUserInfoDescription(comment);
        ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
        ini::dropCache();
        ASSERT_EQ(openRail("P", "R"), kStoreOk);
        EXPECT_EQ(rail()->UserInfoDescription(), comment);
    }
}

TEST_F(RailTest, SaveReportsChangesDroppedBecauseTheFileChangedOnDiskMeanwhile) {
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    const auto file = railFolder("P", "R") / "Coupler.CCF";
    // Another program replaces the rail file while the save writes its tables.
    struct ReplacingUi : SilentUi {
        std::function<void()> onSave;
        void statusText(const std::string& text) override {
            if (text.starts_with("Saving coupler data... ") && onSave)
                std::exchange(onSave, nullptr)();
        }
    } replacing;
    replacing.onSave = [&] {
        writeFile(file.string() + ".new", readFile(file) + "; edited elsewhere\r\n");
        std::filesystem::rename(file.string() + ".new", file);
    };
    context().ui = &replacing;
    rail()->setUserInfoDescription("lost");
    rail()->clsColTables()->Item(0)->setConfRegisterValue(5, 0x42);
    {
        ini::IniBatch outer;  // as around a rail's open or add
        EXPECT_EQ(rail()->ConfSaveData(), kStoreWriteFailed);
    }
    EXPECT_EQ(storeResultMessage(kStoreWriteFailed),
              "Die Datei konnte nicht geschrieben werden.\r\n\r\n" + file.string() +
                  "\r\nDie Datei wurde während des Sicherns auf der Platte geändert; ihre "
                  "Änderungen wurden nicht geschrieben.");
    context().ui = &ui;
    EXPECT_NE(readFile(file).find("; edited elsewhere"), std::string::npos);
    EXPECT_NE(ini::readString(file.string(), "Config", "UserDesc"), "lost");
}

TEST_F(RailTest, SaveAfterAFailedOneMakesItsNewFilesWholeAndReportsNoChangeOnDisk) {
    namespace fs = std::filesystem;
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    // The save fails while the new file cannot be made (a folder marked read-only stands
    // where it goes, which stops even root), then goes through: silently, twice.
    auto failThenSave = [&](const fs::path& file) {
        fs::create_directories(file);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(rail()->ConfSaveData(), kStoreWriteFailed);
        fs::remove(file);
        for (int save = 0; save < 2; ++save) {
            EXPECT_EQ(rail()->ConfSaveData(), kStoreOk) << storeResultMessage(kStoreWriteFailed);
            EXPECT_FALSE(platform::lastWriteFailure());
        }
        ini::dropCache();  // what follows reads the disk
    };
    auto read = [](const fs::path& file, const char* section, const char* key) {
        return ini::readString(file.string(), section, key);
    };

    // A new terminal: the description's bytes, and what the failed save counted as written.
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 1, rail()->ConfSymbolicID()), kStoreOk);
    terminals()->ItemPos(1)->clsColTables()->Item(1)->setConfRegisterValue(40, 0x40);
    const fs::path terminal = terminals()->ItemPos(1)->FileName(railFolder("P", "R").string());
    failThenSave(terminal);
    EXPECT_TRUE(readFile(terminal).starts_with(terminalDescription("QT3002-0000", 2, 16, 16, 0)));
    EXPECT_EQ(read(terminal, "Config", "TermPos"), "1");
    EXPECT_TRUE(ini::hasKey(terminal.string(), "Mapp_Table1", "InProcImage"));
    EXPECT_EQ(read(terminal, "RegValue_Table1", "Reg40"), "0x0040");

    // A new rail file after a failed save under a new name: the tables it took along.
    rail()->clsColTables()->Item(100)->setConfRegisterValue(9, 99);
    rail()->setConfSymbolicName("S");
    const fs::path railFile = railFolder("P", "S") / "Coupler.CCF";
    failThenSave(railFile);
    EXPECT_EQ(read(railFile, "RegDesc_Table0", "Lang1_Reg1"), "Mode");  // the description's
    EXPECT_EQ(read(railFile, "Config", "UserName"), "S");
    EXPECT_EQ(read(railFile, "RegValue_Table100", "Reg9"), "0x0063");
    EXPECT_EQ(read(railFile, "RegValue_Table100", "Reg0"), "0x1234");
}

// A new terminal whose save failed (a folder marked read-only stands where its file goes,
// which stops even root) and whose file name another program may take meanwhile.
TEST_F(RailTest, ARemovedTerminalStaysRemovedAndAFileOfAnotherProgramKeepsItsBytes) {
    namespace fs = std::filesystem;
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 1, 1), kStoreOk);
    ASSERT_EQ(terminals()->Add("QT9010-0000", 2, 1, 1), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    const fs::path folder = railFolder("P", "R");
    auto insertAndFailToSave = [&] {
        EXPECT_EQ(terminals()->Add("QT3808-0000", 2, 1, 1), kStoreOk);
        const fs::path file = terminals()->ItemPos(2)->FileName(folder.string());
        fs::create_directory(file);
        fs::permissions(file, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_EQ(rail()->ConfSaveData(), kStoreWriteFailed);
        fs::remove(file);
        return file;
    };
    const fs::path first = folder / "C001T001.TCF";
    auto saved = [&](const char* section, const char* key) {
        return ini::readString(first.string(), section, key);
    };

    // Removed after the failed save: the next save is silent and does not make its file,
    // while what waited for another file of that save reaches it.
    fs::permissions(first, fs::perms::owner_read);
    terminals()->ItemPos(1)->clsColTables()->Item(1)->setConfRegisterValue(40, 0x41);
    const fs::path removed = insertAndFailToSave();
    terminals()->Remove(2);
    fs::permissions(first, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(rail()->ConfSaveData(), kStoreOk) << storeResultMessage(kStoreWriteFailed);
    EXPECT_FALSE(fs::exists(removed));
    EXPECT_EQ(saved("RegValue_Table1", "Reg40"), "0x0041");
    ini::dropCache();
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    ASSERT_EQ(terminals()->Count(), 2);
    EXPECT_EQ(terminals()->ItemPos(2)->InfoName(), "QT9010-0000");

    // Another program makes a file of the new terminal's name: the save keeps its bytes,
    // names it, and saves the other files.
    const fs::path taken = insertAndFailToSave();
    const std::string otherBytes = "[Common]\nName=Fremd\n; elsewhere";
    writeFile(taken, otherBytes);
    terminals()->ItemPos(1)->clsColTables()->Item(1)->setConfRegisterValue(40, 0x42);
    EXPECT_EQ(rail()->ConfSaveData(), kStoreWriteFailed);
    EXPECT_EQ(storeResultMessage(kStoreWriteFailed),
              "Die Datei konnte nicht geschrieben werden.\r\n\r\n" + taken.string() +
                  "\r\nDie Datei wurde während des Sicherns auf der Platte geändert; ihre "
                  "Änderungen wurden nicht geschrieben.");
    EXPECT_EQ(readFile(taken), otherBytes);
    EXPECT_EQ(saved("RegValue_Table1", "Reg40"), "0x0042");
    // Told so, the next save writes the terminal into that file as into any file.
    EXPECT_EQ(rail()->ConfSaveData(), kStoreOk) << storeResultMessage(kStoreWriteFailed);
    EXPECT_EQ(ini::readString(taken.string(), "Config", "TermPos"), "2");
    EXPECT_TRUE(readFile(taken).starts_with(otherBytes));
}

TEST_F(RailTest, SaveReplacesItsFilesAsOneGroupAndAFailedFileLeavesTheOthersSaved) {
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    for (int32_t position = 1; position <= 3; ++position)
        ASSERT_EQ(terminals()->Add("QT3002-0000", position, 1, 1), kStoreOk);
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    const auto folder = railFolder("P", "R");
    auto change = [&](int32_t value) {
        rail()->clsColTables()->Item(0)->setConfRegisterValue(5, value);
        for (const auto& terminal : *terminals())
            terminal->clsColTables()->Item(1)->setConfRegisterValue(40, value);
    };
    auto terminalFile = [&](int32_t position) {
        return terminals()->ItemPos(position)->FileName(folder.string());
    };

    // Every file waits for the disk once, the folder once for all of them.
    change(0x42);
    const platform::SyncCounts before = platform::syncCountsForTesting();
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    const platform::SyncCounts after = platform::syncCountsForTesting();
    EXPECT_EQ(after.files - before.files, 4u);
    EXPECT_EQ(after.folders - before.folders, 1u);

    // A terminal file that refuses the save fails it; the other files are saved.
    const std::string locked = terminalFile(2);
    const std::string lockedBytes = readFile(locked);
    std::filesystem::permissions(locked, std::filesystem::perms::owner_read);
    change(0x43);
    EXPECT_EQ(rail()->ConfSaveData(), kStoreWriteFailed);
    // The message names the file and the system's reason (also for root, whom only the
    // file's mark stops).
    EXPECT_EQ(storeResultMessage(kStoreWriteFailed),
              "Die Datei konnte nicht geschrieben werden.\r\n\r\n" + locked + "\r\n" +
                  std::strerror(EACCES));
    EXPECT_EQ(readFile(locked), lockedBytes);
    for (int32_t position : {1, 3}) {
        EXPECT_NE(readFile(terminalFile(position)).find("Reg40=0x0043"), std::string::npos)
            << position;
    }
    EXPECT_EQ(ini::readString((folder / "Coupler.CCF").string(), "RegValue_Table0", "Reg5"),
              "0x0043");
    // Its changes wait for the next save.
    std::filesystem::permissions(
        locked, std::filesystem::perms::owner_read | std::filesystem::perms::owner_write);
    EXPECT_EQ(rail()->ConfSaveData(), kStoreOk);
    EXPECT_NE(readFile(locked).find("Reg40=0x0043"), std::string::npos);
}

TEST_F(RailTest, SaveWithoutDescriptionWritesASelfContainedRailFile) {
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    rail()->clsColTables()->Item(100)->setConfRegisterValue(7, 77);
    std::filesystem::remove(description());
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    ini::dropCache();
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    EXPECT_EQ(rail()->InfoName(), "QZ3100-0000");
    EXPECT_EQ(rail()->clsColTables()->Count(), 15);
    EXPECT_EQ(rail()->clsColTables()->Item(100)->ConfRegisterValue(7), 77);
}

TEST_F(RailTest, SaveRefusesWithoutProjectAndIntoAnotherRailsFolder) {
    auto loose = load(description());
    loose->setConfSymbolicName("R");
    EXPECT_EQ(loose->ConfSaveData(), kStoreNoProject);
    EXPECT_FALSE(std::filesystem::exists(parent() / "prog" / "R.CF"));

    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "A"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 2, "B"), kStoreOk);  // A saved
    rail()->setConfSymbolicName("A");
    EXPECT_EQ(rail()->ConfSaveData(), kStoreNameInUse);
    rail()->setConfSymbolicName("a/b");
    EXPECT_EQ(rail()->ConfSaveData(), kStoreInvalidName);
}

TEST_F(RailTest, PlacingTerminalsInImagesFailsAsSoonAsThereIsATerminal) {
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    EXPECT_TRUE(rail()->fCalcTermAdrInImages());
    ASSERT_EQ(terminals()->Add("QT1002-0000", 1, 1, 1), kStoreOk);
    EXPECT_FALSE(rail()->fCalcTermAdrInImages());
}

TEST_F(RailTest, RenamedRailTakesItsUnloadedTablesAlong) {
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "R"), kStoreOk);
    rail()->clsColTables()->Item(8)->setConfRegisterValue(1, 3002);
    rail()->clsColTables()->Item(100)->setConfRegisterValue(9, 99);
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 1, 1), kStoreOk);
    terminals()->ItemPos(1)->clsColTables()->Item(1)->setConfRegisterValue(40, 0x40);
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    ini::dropCache();
    ASSERT_EQ(openRail("P", "R"), kStoreOk);
    ASSERT_FALSE(rail()->clsColTables()->Item(8)->bInitDone());
    rail()->setConfSymbolicName("S");
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    ini::dropCache();
    ASSERT_EQ(openRail("P", "S"), kStoreOk);
    EXPECT_EQ(rail()->clsColTables()->Item(8)->ConfRegisterValue(1), 3002);
    EXPECT_EQ(rail()->clsColTables()->Item(100)->ConfRegisterValue(9), 99);
    EXPECT_EQ(rail()->clsColTables()->Item(100)->ConfRegisterValue(0), 0x1234);
    EXPECT_EQ(terminals()->ItemPos(1)->clsColTables()->Item(1)->ConfRegisterValue(40), 0x40);
}

TEST_F(RailTest, RailSavesIntoTheFolderItWasOpenedFromNeverIntoAnotherOfItsName) {
    namespace fs = std::filesystem;
    ASSERT_EQ(newProject("P"), kStoreOk);
    ASSERT_EQ(couplers()->Add("QZ3100-0000", 1, "Linie übergabe Nord"), kStoreOk);
    ASSERT_EQ(terminals()->Add("QT3002-0000", 1, 1, 1), kStoreOk);
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    // As older saves left it: the rail's first folder ends its name in a blank the stored
    // name lacks, and a second folder of the stored name holds the same rail, grown.
    const fs::path first = projectFolder("P") / "Linie übergabe Nord .CF";
    const fs::path second = railFolder("P", "Linie übergabe Nord");
    fs::copy(second, first);
    ASSERT_EQ(openRail("P", "Linie übergabe Nord"), kStoreOk);
    ASSERT_EQ(terminals()->Add("QT1002-0000", 2, 1, 1), kStoreOk);
    ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
    auto bytesOf = [](const fs::path& folder) {
        std::map<std::string, std::string> files;
        for (const auto& entry : fs::directory_iterator(folder))
            files[entry.path().filename().string()] = readFile(entry.path());
        return files;
    };

    for (const auto& [opened, other] : {std::pair{first, second}, std::pair{second, first}}) {
        SCOPED_TRACE(opened.filename().string());
        const auto untouched = bytesOf(other);
        ASSERT_EQ(couplers()->fOpenCoupler(opened.string(), (opened / "Coupler.CCF").string()),
                  kStoreOk);
        const int32_t count = terminals()->Count();
        rail()->setUserInfoDescription(opened.filename().string());
        rail()->clsColTables()->Item(8)->setConfRegisterValue(1, 3002);  // as mapping OK does
        ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
        EXPECT_EQ(project->FullPathCoupler(), opened.string());
        ASSERT_EQ(couplers()->fClearColCouplers(), kStoreOk);
        EXPECT_EQ(bytesOf(other), untouched);
        ini::dropCache();
        ASSERT_EQ(couplers()->fOpenCoupler(opened.string(), (opened / "Coupler.CCF").string()),
                  kStoreOk);
        EXPECT_EQ(rail()->UserInfoDescription(), opened.filename().string());
        EXPECT_EQ(terminals()->Count(), count);
    }

    // A save under another name makes that name's folder and leaves the first one alone.
    const auto before = bytesOf(first);
    ASSERT_EQ(couplers()->fOpenCoupler(first.string(), (first / "Coupler.CCF").string()), kStoreOk);
    rail()->setConfSymbolicName("Neu");
    ASSERT_EQ(rail()->ConfSaveData(), kStoreOk);
    EXPECT_TRUE(fs::exists(railFolder("P", "Neu") / "Coupler.CCF"));
    EXPECT_EQ(bytesOf(first), before);
}

}  // namespace
}  // namespace varnak::test
