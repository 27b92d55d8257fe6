// A crash between writing the temporary file and renaming it leaves the old file whole.
#include "platform/atomic_file.h"
#include "platform/paths.h"
#include "tests/platform/ini_test_support.h"
#include "tests/support/finished_process.h"

namespace varnak::test {
namespace {

class IniAtomic : public IniTest {
  protected:
    void TearDown() override {
        platform::setStopBeforeRenameForTesting(false);
        IniTest::TearDown();
    }
    std::vector<std::string> leftovers() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir.path())) {
            std::string name = entry.path().filename().string();
            if (name.ends_with(platform::kAtomicTempSuffix)) names.push_back(name);
        }
        return names;
    }
};

TEST_F(IniAtomic, CrashBeforeRenameLeavesTheOldFileIntact) {
    const std::string old = "[Config]\r\nName=Rail\r\n";
    std::string f = put(old, "Coupler.CCF");
    EXPECT_EQ(readString(f, "Config", "Name"), "Rail");
    platform::setStopBeforeRenameForTesting(true);
    EXPECT_FALSE(WritePrivateProfileString("Config", "Name", "Half written", f));
    EXPECT_EQ(readFile(f), old);

    // The temporary file is there, complete, hidden and named unlike any data file.
    std::vector<std::string> temps = leftovers();
    ASSERT_EQ(temps.size(), 1u);
    EXPECT_EQ(temps[0].front(), '.');
    EXPECT_EQ(readFile(dir / temps[0]), "[Config]\r\nName=Half written\r\n");
    EXPECT_EQ(platform::listMatching(dir.path(), "*.CCF"),
              (std::vector<std::string>{"Coupler.CCF"}));
    EXPECT_EQ(platform::listMatching(dir.path(), "Coupler*"),
              (std::vector<std::string>{"Coupler.CCF"}));

    // After a restart the file reads as before; the next save works over the leftover.
    ini::dropCache();
    platform::setStopBeforeRenameForTesting(false);
    EXPECT_EQ(readString(f, "Config", "Name"), "Rail");
    EXPECT_TRUE(WritePrivateProfileString("Config", "Name", "Rail two", f));
    EXPECT_EQ(readFile(f), "[Config]\r\nName=Rail two\r\n");
}

TEST_F(IniAtomic, LeftoversOfEndedProcessesAreRemovedOthersStay) {
    std::string f = put("[S]\r\nK=1\r\n", "Coupler.CCF");
    platform::setStopBeforeRenameForTesting(true);
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "2", f));  // this process's own
    platform::setStopBeforeRenameForTesting(false);
    const std::string ended = std::to_string(finishedProcessId());
    const std::vector<std::string> gone = {".Coupler.CCF." + ended + "-0.partial",
                                           ".C001T002.TCF." + ended + "-17.partial"};
    const std::vector<std::string> stay = {
        ".Coupler.CCF.1-0.partial",  // process 1 runs
        ".Coupler.CCF." + ended + ".partial", ".Coupler.CCF." + ended + "-x.partial",
        "Coupler.CCF." + ended + "-0.partial", ".Coupler.CCF." + ended + "-0.partial.bak"};
    for (const auto& name : gone) put("half", name);
    for (const auto& name : stay) put("keep", name);
    fs::create_directory(dir / "sub");
    put("half", "sub/" + gone[0]);  // only the folder itself

    EXPECT_EQ(platform::removeAbandonedTempFiles(dir.str()), 2);
    for (const auto& name : gone) EXPECT_FALSE(fs::exists(dir / name)) << name;
    for (const auto& name : stay) EXPECT_TRUE(fs::exists(dir / name)) << name;
    EXPECT_TRUE(fs::exists(dir / "sub" / gone[0]));
    EXPECT_EQ(leftovers().size(), 5u);  // the own one and four of those that stay
    EXPECT_EQ(readFile(f), "[S]\r\nK=1\r\n");
}

TEST_F(IniAtomic, CrashDuringABatchFlushKeepsChangesForTheNextFlush) {
    std::string f = put("[S]\r\nK=1\r\n");
    {
        IniBatch batch;
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", f));
        platform::setStopBeforeRenameForTesting(true);
        EXPECT_FALSE(batch.commit());
    }
    EXPECT_EQ(readFile(f), "[S]\r\nK=1\r\n");
    platform::setStopBeforeRenameForTesting(false);
    EXPECT_TRUE(ini::flush());
    EXPECT_EQ(readFile(f), "[S]\r\nK=2\r\n");
}

TEST_F(IniAtomic, GroupReplacesEachFileOrLeavesItWhole) {
    std::string a = put("A=old\r\n", "a.ini"), b = put("B=old\r\n", "b.ini");
    {
        platform::AtomicReplaceGroup group;
        ASSERT_TRUE(group.add(a, "A=new\r\n"));
        EXPECT_FALSE(group.add(file("missing/c.ini"), "C=new\r\n"));  // not part of it
        ASSERT_TRUE(group.add(b, "B=new\r\n"));
        // Nothing is replaced before the commit.
        EXPECT_EQ(readFile(a), "A=old\r\n");
        EXPECT_EQ(group.commit(), (std::vector<bool>{true, true}));
    }
    EXPECT_EQ(readFile(a), "A=new\r\n");
    EXPECT_EQ(readFile(b), "B=new\r\n");
    EXPECT_TRUE(leftovers().empty());
    {
        platform::AtomicReplaceGroup abandoned;
        ASSERT_TRUE(abandoned.add(a, "A=lost\r\n"));
    }
    EXPECT_EQ(readFile(a), "A=new\r\n");
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(IniAtomic, CrashDuringAFlushOfSeveralFilesKeepsEveryOldFile) {
    std::string a = put("[S]\r\nK=1\r\n", "a.ini"), b = put("[S]\r\nK=1\r\n", "b.ini");
    {
        IniBatch batch;
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", a));
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", b));
        platform::setStopBeforeRenameForTesting(true);
        EXPECT_FALSE(batch.commit());
    }
    EXPECT_EQ(readFile(a), "[S]\r\nK=1\r\n");
    EXPECT_EQ(readFile(b), "[S]\r\nK=1\r\n");
    platform::setStopBeforeRenameForTesting(false);
    EXPECT_TRUE(ini::flush());
    EXPECT_EQ(readFile(a), "[S]\r\nK=2\r\n");
    EXPECT_EQ(readFile(b), "[S]\r\nK=2\r\n");
}

TEST_F(IniAtomic, AReadOnlyFileIsRefusedAndKeptAlsoForItsOwnerAndRoot) {
    const std::string old = "[RegValue_Table0]\r\nReg0=0x0001\r\n";
    std::string f = put(old, "QT3002-0000.INI");
    fs::permissions(f, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    EXPECT_FALSE(WritePrivateProfileString("RegValue_Table0", "Reg0", "0x0002", f));
    EXPECT_EQ(readFile(f), old);
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(IniAtomic, LongestFileNameStillGetsATemporaryFile) {
    std::string f = put("[S]\r\n", std::string(251, 'n') + ".INI");
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "1", f));
    EXPECT_EQ(readFile(f), "[S]\r\nK=1\r\n");
    EXPECT_TRUE(leftovers().empty());
}

TEST_F(IniAtomic, NewFileIsNotCreatedWhenTheWriteDies) {
    platform::setStopBeforeRenameForTesting(true);
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "1", file("new.ini")));
    EXPECT_FALSE(fs::exists(dir / "new.ini"));
    EXPECT_EQ(readString(file("new.ini"), "S", "K", "d"), "d");
}

}  // namespace
}  // namespace varnak::test
