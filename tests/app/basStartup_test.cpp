#include "app/basStartup.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "app/description_cleanup.h"
#include "app/single_instance_lock.h"
#include "model/app_context.h"
#include "model/clsCommon.h"
#include "platform/registry_store.h"
#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using varnak::AppContext;
using varnak::test::TempDir;
using varnak::test::writeFile;

namespace {

struct CommandLineCase {
    const char* arguments;
    int32_t level;
    bool accessCode;
};

class CommandLine : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(CommandLine, SwitchesAreSubstringsOfTheUpperCasedText) {
    TempDir dir;
    varnak::platform::RegistryStore registry(dir / "machine.ini");
    AppContext context;
    context.registry = &registry;
    varnak::ContextScope scope(context);
    // An edition without the access code, so that only the switch can set it.
    context.VarnakCommon = std::make_shared<varnak::clsCommon>(context, "/x/JRV-101");
    context.AccessCodeText = "before";
    context.VarnakCommon->setAccessLevel(7);
    EXPECT_TRUE(varnak::gfReadCommandLine(GetParam().arguments, context));
    EXPECT_EQ(context.VarnakCommon->AccessLevel(), GetParam().level);
    EXPECT_EQ(context.AccessCodeText, GetParam().accessCode ? "TIDAL-GATE" : "before");
}

INSTANTIATE_TEST_SUITE_P(Cases, CommandLine,
                         ::testing::Values(CommandLineCase{"", 0, false},
                                           CommandLineCase{"-D=RIM_TALK", 1, false},
                                           CommandLineCase{"-D=LANTERNING", 2, false},
                                           CommandLineCase{"-d=rim_talk -d=lanterning", 3, false},
                                           CommandLineCase{"x-D=RIM_TALKy-D=LANTERNINGz", 3, false},
                                           CommandLineCase{"-p=tidal-gate", 0, true},
                                           CommandLineCase{"-P=OTHER -D=NONE", 0, false},
                                           CommandLineCase{"-P= TIDAL-GATE", 0, false}),
                         [](const ::testing::TestParamInfo<CommandLineCase>& info) {
                             return "case" + std::to_string(info.index);
                         });

TEST(CommandLineArguments, JoinedWithoutTheProgramName) {
    char a0[] = "varnak", a1[] = "-P=x", a2[] = "-D=y";
    char* argv[] = {a0, a1, a2, nullptr};
    EXPECT_EQ(varnak::commandLineArguments(3, argv), "-P=x -D=y");
    EXPECT_EQ(varnak::commandLineArguments(1, argv), "");
}

TEST(SingleInstance, SecondLockFailsAndACrashedHolderLeavesNothingBlocking) {
    TempDir dir;
    fs::path file = dir / "sub" / "varnak.lock";
    {
        varnak::SingleInstanceLock first(file);
        EXPECT_TRUE(first.acquired());
        varnak::SingleInstanceLock second(file);
        EXPECT_FALSE(second.acquired());
    }
    varnak::SingleInstanceLock again(file);
    EXPECT_TRUE(again.acquired());
}

TEST(SingleInstance, ALockHeldByAnotherProcessBlocksUntilItDies) {
    TempDir dir;
    fs::path file = dir / "varnak.lock";
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    if (child == 0) {
        varnak::SingleInstanceLock held(file);
        char c = held.acquired() ? 'y' : 'n';
        (void)!write(ready[1], &c, 1);
        pause();  // killed below, never unlocks by itself
        _exit(0);
    }
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1);
    EXPECT_EQ(c, 'y');
    {
        varnak::SingleInstanceLock second(file);
        EXPECT_FALSE(second.acquired());
    }
    kill(child, SIGKILL);
    waitpid(child, nullptr, 0);
    EXPECT_TRUE(fs::exists(file));  // the crashed run's file is still there ...
    varnak::SingleInstanceLock after(file);
    EXPECT_TRUE(after.acquired());  // ... and does not block
    close(ready[0]);
    close(ready[1]);
}

class DescriptionCleanup : public ::testing::Test {
  protected:
    DescriptionCleanup() : registry(dir / "machine.ini") {}
    void SetUp() override {
        for (const char* name : {"QT3002.INI", "QT3002-0000.INI", "qt3004.ini", "QT3004-0000.ini",
                                 "QT3005.INI", "QT30020.INI", "QT3006.TXT", "QT3006-0000.INI"}) {
            writeFile(resources / "Terminal" / name, "x");
        }
        for (const char* name : {"QZ3100.INI", "QZ3100-0000.INI", "QY3100.INI", "QY3100-0000.INI",
                                 "QP2000.INI", "QP2000-0000.INI", "QZ3110.INI"}) {
            writeFile(resources / "Coupler" / name, "x");
        }
    }
    bool has(const char* sub, const char* name) { return fs::exists(resources / sub / name); }

    TempDir dir;
    fs::path resources = dir / "Resource";
    varnak::platform::RegistryStore registry;
    const std::string key = "SOFTWARE\\Harvenor\\Varnak\\Common";
};

TEST_F(DescriptionCleanup, RunsOnceAndDeletesOnlyOldNamesWithATwin) {
    varnak::gfMigrateDescriptionFiles(registry, key, resources);
    EXPECT_FALSE(has("Terminal", "QT3002.INI"));
    EXPECT_FALSE(has("Terminal", "qt3004.ini"));  // names compared without regard to case
    EXPECT_TRUE(has("Terminal", "QT3002-0000.INI"));
    EXPECT_TRUE(has("Terminal", "QT3005.INI"));   // no twin
    EXPECT_TRUE(has("Terminal", "QT30020.INI"));  // not ten characters long
    EXPECT_TRUE(has("Terminal", "QT3006.TXT"));   // not a description
    EXPECT_FALSE(has("Coupler", "QZ3100.INI"));
    EXPECT_FALSE(has("Coupler", "QY3100.INI"));
    EXPECT_TRUE(has("Coupler", "QP2000.INI"));  // other coupler series stay
    EXPECT_TRUE(has("Coupler", "QZ3110.INI"));
    std::string level;
    ASSERT_TRUE(registry.readValue(key, "Modification", level));
    EXPECT_EQ(level, "3");

    writeFile(resources / "Terminal" / "QT3008.INI", "x");
    writeFile(resources / "Terminal" / "QT3008-0000.INI", "x");
    varnak::gfMigrateDescriptionFiles(registry, key, resources);
    EXPECT_TRUE(has("Terminal", "QT3008.INI"));  // level 3 reached: nothing touched
}

TEST_F(DescriptionCleanup, StoredLevelDecides) {
    ASSERT_TRUE(registry.writeValue(key, "Modification", "3"));
    varnak::gfMigrateDescriptionFiles(registry, key, resources);
    EXPECT_TRUE(has("Terminal", "QT3002.INI"));
    ASSERT_TRUE(registry.writeValue(key, "Modification", "2.6"));  // rounds to 3
    varnak::gfMigrateDescriptionFiles(registry, key, resources);
    EXPECT_TRUE(has("Terminal", "QT3002.INI"));
    ASSERT_TRUE(registry.writeValue(key, "Modification", "2.4 "));
    varnak::gfMigrateDescriptionFiles(registry, key, resources);
    EXPECT_FALSE(has("Terminal", "QT3002.INI"));
}

// A registry that records what the file system looked like when the level was written.
class ObservingRegistry : public varnak::platform::RegistryStore {
  public:
    ObservingRegistry(fs::path file, fs::path watched)
        : RegistryStore(std::move(file)), watched_(std::move(watched)) {}
    bool writeValue(const std::string& k, const std::string& n, const std::string& v) override {
        oldFileExistedAtWrite = fs::exists(watched_);
        return RegistryStore::writeValue(k, n, v);
    }
    bool oldFileExistedAtWrite = false;

  private:
    fs::path watched_;
};

TEST_F(DescriptionCleanup, LevelIsWrittenBeforeDeleting) {
    ObservingRegistry observing(dir / "m2.ini", resources / "Terminal" / "QT3002.INI");
    varnak::gfMigrateDescriptionFiles(observing, key, resources);
    EXPECT_TRUE(observing.oldFileExistedAtWrite);
    EXPECT_FALSE(has("Terminal", "QT3002.INI"));
}

TEST_F(DescriptionCleanup, AFileThatCannotBeDeletedDoesNotStopTheOthers) {
    fs::remove_all(resources / "Terminal");
    writeFile(resources / "Terminal" / "QT1000.INI", "x");
    writeFile(resources / "Terminal" / "QT1000-0000.INI", "x");
    fs::create_directories(resources / "Terminal" / "QT1001.INI");  // a folder: no normal file
    writeFile(resources / "Terminal" / "QT1001.INI" / "inside", "x");
    writeFile(resources / "Terminal" / "QT1001-0000.INI", "x");
    writeFile(resources / "Terminal" / "QT1002.INI", "x");
    writeFile(resources / "Terminal" / "QT1002-0000.INI", "x");
    auto deleted = varnak::fCleanTerminalFolder(resources);
    EXPECT_EQ(deleted, (std::vector<std::string>{"QT1000.INI", "QT1002.INI"}));
    EXPECT_TRUE(fs::exists(resources / "Terminal" / "QT1001.INI" / "inside"));
}

}  // namespace
