// The cache of parsed files: batches, flushing, invalidation and use from two threads.
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <functional>
#include <thread>

#include "platform/write_failure.h"
#include "tests/platform/ini_test_support.h"

namespace varnak::test {
namespace {

class IniCache : public IniTest {};

TEST_F(IniCache, WritesOutsideABatchReachTheDiskAtOnce) {
    std::string f = put("[S]\r\n");
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "1", f));
    EXPECT_EQ(readFile(f), "[S]\r\nK=1\r\n");
}

TEST_F(IniCache, OutermostBatchFlushesOnceAtItsEnd) {
    std::string a = put("[S]\r\n", "a.ini");
    std::string b = file("b.ini");
    {
        IniBatch outer;
        {
            IniBatch inner;
            for (int i = 0; i < 3; ++i)
                EXPECT_TRUE(WritePrivateProfileString("S", numbered("K", i), "v", a));
            EXPECT_TRUE(WritePrivateProfileString("T", "K", "new file", b));
        }
        // Still pending after the inner batch, but visible to readers.
        EXPECT_EQ(readFile(a), "[S]\r\n");
        EXPECT_FALSE(fs::exists(b));
        EXPECT_EQ(readString(a, "S", "K2"), "v");
        EXPECT_EQ(readString(b, "T", "K"), "new file");
        EXPECT_EQ(ini::sectionKeys(a, "S"), (std::vector<std::string>{"K0", "K1", "K2"}));
        EXPECT_EQ(ini::sectionNames(b), (std::vector<std::string>{"T"}));
    }
    EXPECT_EQ(readFile(a), "[S]\r\nK0=v\r\nK1=v\r\nK2=v\r\n");
    EXPECT_EQ(readFile(b), "[T]\r\nK=new file\r\n");
}

TEST_F(IniCache, FlushFileWritesOneFileInsideABatch) {
    std::string a = put("[S]\r\n", "a.ini");
    std::string b = put("[S]\r\n", "b.ini");
    IniBatch batch;
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "1", a));
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", b));
    EXPECT_TRUE(ini::flushFile(a));
    EXPECT_EQ(readFile(a), "[S]\r\nK=1\r\n");
    EXPECT_EQ(readFile(b), "[S]\r\n");
    EXPECT_TRUE(ini::flush());
    EXPECT_EQ(readFile(b), "[S]\r\nK=2\r\n");
    EXPECT_TRUE(batch.commit());
}

TEST_F(IniCache, DropCacheForgetsPendingChanges) {
    std::string f = put("[S]\r\nK=1\r\n");
    {
        IniBatch batch;
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", f));
        ini::dropCache();
    }
    EXPECT_EQ(readFile(f), "[S]\r\nK=1\r\n");
    EXPECT_EQ(readString(f, "S", "K"), "1");
}

TEST_F(IniCache, ChangeOnDiskWithinTheSameSecondIsSeen) {
    std::string f = put("[S]\r\nK=1\r\n");
    EXPECT_EQ(readString(f, "S", "K"), "1");
    struct stat st {};
    ASSERT_EQ(::stat(f.c_str(), &st), 0);
    // Same inode, same size, modification time one nanosecond later.
    writeFile(f, "[S]\r\nK=2\r\n");
    timespec times[2] = {st.st_atim, st.st_mtim};
    times[1].tv_nsec = (times[1].tv_nsec + 1) % 1000000000;
    ASSERT_EQ(::utimensat(AT_FDCWD, f.c_str(), times, 0), 0);
    EXPECT_EQ(readString(f, "S", "K"), "2");
    // A file that appears later is read too.
    std::string late = file("late.ini");
    EXPECT_EQ(readString(late, "S", "K", "none"), "none");
    writeFile(late, "[S]\r\nK=3\r\n");
    EXPECT_EQ(readString(late, "S", "K", "none"), "3");
    fs::remove(late);
    EXPECT_EQ(readString(late, "S", "K", "none"), "none");
}

TEST_F(IniCache, RunChecksEachFileOnceAndTheNextCallAfterItChecksAgain) {
    std::string f = put("[S]\r\nK=1\r\n");
    std::string other = file("other.ini");
    {
        ini::IniRun run;
        EXPECT_EQ(readString(f, "S", "K"), "1");
        put("[S]\r\nK=2\r\n", "replacement.ini");
        fs::rename(dir / "replacement.ini", f);
        // Calls of one run follow one another: the file is not looked at again.
        EXPECT_EQ(readString(f, "S", "K"), "1");
        // A file first used inside the run is checked at that first use.
        EXPECT_EQ(readString(other, "S", "K", "none"), "none");
        {
            ini::IniRun inner;  // nested runs belong to the outermost one
            EXPECT_EQ(readString(f, "S", "K"), "1");
        }
    }
    EXPECT_EQ(readString(f, "S", "K"), "2");
    {
        ini::IniRun next;
        EXPECT_EQ(readString(f, "S", "K"), "2");
        // A write inside a run outside a batch still reaches the disk at once.
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "3", f));
        EXPECT_EQ(readFile(f), "[S]\r\nK=3\r\n");
        EXPECT_EQ(readString(f, "S", "K"), "3");
    }
}

TEST_F(IniCache, FlushOfABatchWritesEveryFileOfSeveralFolders) {
    std::vector<std::string> files;
    for (const char* name : {"a/1.ini", "a/2.ini", "b/1.ini", "c/d/1.ini"})
        files.push_back(put("[S]\r\nK=1\r\n", name));
    {
        IniBatch batch;
        for (const auto& f : files) EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", f));
        for (const auto& f : files) EXPECT_EQ(readFile(f), "[S]\r\nK=1\r\n");
    }
    for (const auto& f : files) EXPECT_EQ(readFile(f), "[S]\r\nK=2\r\n");
}

TEST_F(IniCache, SameFileUnderTwoSpellingsOfItsPathIsOneEntry) {
    std::string f = put("[S]\r\n");
    fs::create_directory(dir / "sub");
    std::string other = (dir / "sub" / ".." / "." / "test.ini").string();
    IniBatch batch;
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "1", f));
    EXPECT_EQ(readString(other, "S", "K"), "1");
}

TEST_F(IniCache, SameFileUnderASymbolicLinkIsOneEntry) {
    std::string real = put("[S]\r\n", "real/test.ini");
    fs::create_directory_symlink(dir / "real", dir / "folder-link");
    fs::create_symlink(real, dir / "file-link.ini");
    {
        IniBatch batch;
        EXPECT_TRUE(WritePrivateProfileString("S", "A", "1", real));
        EXPECT_TRUE(WritePrivateProfileString("S", "B", "2", file("folder-link/test.ini")));
        EXPECT_TRUE(WritePrivateProfileString("S", "C", "3", file("file-link.ini")));
        EXPECT_EQ(readString(file("file-link.ini"), "S", "A"), "1");
        EXPECT_TRUE(batch.commit());
    }
    EXPECT_EQ(readFile(real), "[S]\r\nA=1\r\nB=2\r\nC=3\r\n");
    EXPECT_TRUE(fs::is_symlink(dir / "file-link.ini"));
}

TEST_F(IniCache, ANameIsResolvedAgainOnlyWhenItReachesAnotherFile) {
    std::string f = put("[S]\r\nK=1\r\n");
    EXPECT_EQ(readString(f, "S", "K"), "1");
    const uint64_t first = ini::nameResolutionsForTesting();
    for (int i = 0; i < 50; ++i) EXPECT_EQ(readString(f, "S", "K"), "1");
    EXPECT_EQ(ini::nameResolutionsForTesting(), first);
    // Another program's save replaces the file: seen at the next call, resolved once more.
    put("[S]\r\nK=2\r\n", "new.ini");
    fs::rename(dir / "new.ini", f);
    for (int i = 0; i < 50; ++i) EXPECT_EQ(readString(f, "S", "K"), "2");
    EXPECT_EQ(ini::nameResolutionsForTesting(), first + 1);
    // Our own writes replace the file too, at the path the name reaches.
    for (int i = 0; i < 5; ++i) {
        EXPECT_TRUE(WritePrivateProfileString("S", "K", std::to_string(i), f));
        EXPECT_EQ(readString(f, "S", "K"), std::to_string(i));
    }
    EXPECT_EQ(ini::nameResolutionsForTesting(), first + 1);
}

TEST_F(IniCache, RetargetedLinkOutsideABatchReachesItsNewFile) {
    const std::string a = put("[S]\r\nK=a\r\n", "a/test.ini");
    const std::string b = put("[S]\r\nK=b\r\n", "b/test.ini");
    struct Link {
        std::string name;
        std::function<void(const std::string& folder)> point;
    };
    const std::vector<Link> links = {
        {file("file-link.ini"),
         [&](const std::string& folder) {
             fs::remove(dir / "file-link.ini");
             fs::create_symlink(dir / folder / "test.ini", dir / "file-link.ini");
         }},
        {file("folder-link/test.ini"),
         [&](const std::string& folder) {
             fs::remove(dir / "folder-link");
             fs::create_directory_symlink(dir / folder, dir / "folder-link");
         }},
    };
    for (const Link& link : links) {
        SCOPED_TRACE(link.name);
        writeFile(a, "[S]\r\nK=a\r\n");
        writeFile(b, "[S]\r\nK=b\r\n");
        link.point("a");
        EXPECT_EQ(readString(link.name, "S", "K"), "a");
        link.point("b");
        EXPECT_EQ(readString(link.name, "S", "K"), "b");
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "c", link.name));
        EXPECT_EQ(readFile(b), "[S]\r\nK=c\r\n");
        EXPECT_EQ(readFile(a), "[S]\r\nK=a\r\n");
    }
}

TEST_F(IniCache, FlushOfSeveralFilesAnswersForEachAndLeavesTheOthersPending) {
    const std::string a = put("[S]\r\n", "a.ini"), b = put("[S]\r\n", "b.ini");
    const std::string locked = put("[S]\r\n", "locked.ini");
    const std::string gone = put("[S]\r\n", "gone/x.ini");
    const std::string untouched = put("[S]\r\n", "untouched.ini");
    const std::string outside = put("[S]\r\n", "outside.ini");
    IniBatch batch;
    for (const auto& f : {a, b, locked, gone, outside})
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "1", f));
    fs::permissions(locked, fs::perms::owner_read);
    fs::remove_all(dir / "gone");
    EXPECT_EQ(ini::flushFiles({a, locked, gone, untouched, b, a}),
              (std::vector<bool>{true, false, false, true, true, true}));
    EXPECT_EQ(readFile(a), "[S]\r\nK=1\r\n");
    EXPECT_EQ(readFile(b), "[S]\r\nK=1\r\n");
    EXPECT_EQ(readFile(locked), "[S]\r\n");
    EXPECT_EQ(readFile(outside), "[S]\r\n");  // not named: still pending
    // The refused file keeps its change for the next flush; the dropped one is told once.
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_EQ(ini::flushFiles({locked, gone}), (std::vector<bool>{true, true}));
    EXPECT_EQ(readFile(locked), "[S]\r\nK=1\r\n");
    EXPECT_FALSE(batch.commit());  // the removed file's change never reached the disk
    EXPECT_EQ(readFile(outside), "[S]\r\nK=1\r\n");
}

// The file and the errno of the last failed write.
std::pair<std::string, int> lastFailure() {
    auto f = platform::lastWriteFailure();
    return f ? std::pair{f->path, f->error} : std::pair{std::string(), 0};
}

TEST_F(IniCache, AFailedWriteNotesItsFileAndReasonAndDiscardedChangesNeverComeBack) {
    const std::string locked = put("[S]\r\n", "locked.ini");
    const std::string missing = file("none/x.ini");
    const std::string kept = put("[S]\r\n", "kept/k.ini");
    const std::string one = put("[S]\r\n", "one.ini"), two = put("[S]\r\n", "two.ini");
    fs::permissions(locked, fs::perms::owner_read);
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "1", locked));
    EXPECT_EQ(lastFailure(), std::pair(locked, EACCES));
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "1", missing));
    EXPECT_EQ(lastFailure(), std::pair(missing, ENOENT));
    {
        IniBatch batch;
        for (const auto& f : {kept, one, two}) {
            EXPECT_TRUE(WritePrivateProfileString("S", "K", "1", f));
            fs::permissions(f, fs::perms::owner_read);
        }
        EXPECT_FALSE(batch.commit());
    }
    EXPECT_EQ(lastFailure().second, EACCES);
    // A change given up never reaches the disk, not even once the file can be written:
    // a folder's, or one file's, whose neighbour keeps its own.
    ini::discardPending((dir / "kept").string());
    ini::discardPending(one);
    for (const auto& f : {kept, one, two})
        fs::permissions(f, fs::perms::owner_read | fs::perms::owner_write);
    EXPECT_TRUE(ini::flush());
    EXPECT_EQ(readFile(kept), "[S]\r\n");
    EXPECT_EQ(readFile(one), "[S]\r\n");
    EXPECT_EQ(readFile(two), "[S]\r\nK=1\r\n");
}

TEST_F(IniCache, ChangeOnDiskDuringABatchWinsOverPendingChangesAndTheRestOfTheBatch) {
    std::string f = put("[S]\r\nK=1\r\n");
    std::string neighbour = put("[S]\r\n", "neighbour.ini");
    {
        IniBatch batch;
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", f));
        // Another program saves the file: as if our write had reached the disk before.
        put("[S]\r\nK=9\r\nL=1", "other.ini");
        fs::rename(dir / "other.ini", f);
        EXPECT_EQ(readString(f, "S", "K"), "9");
        // The batch's further writes of it fail, those of other files do not.
        EXPECT_FALSE(WritePrivateProfileString("S", "M", "3", f));
        EXPECT_EQ(lastFailure(), std::pair(f, platform::kChangedOnDisk));
        EXPECT_TRUE(WritePrivateProfileString("S", "M", "3", neighbour));
        EXPECT_FALSE(batch.commit());
    }
    EXPECT_EQ(readFile(f), "[S]\r\nK=9\r\nL=1");
    EXPECT_EQ(readFile(neighbour), "[S]\r\nM=3\r\n");
    // The next batch writes into the file as into any other.
    IniBatch next;
    EXPECT_TRUE(WritePrivateProfileString("S", "M", "3", f));
    EXPECT_TRUE(next.commit());
    EXPECT_EQ(readFile(f), "[S]\r\nK=9\r\nL=1\r\nM=3\r\n");
}

TEST_F(IniCache, ANewFileMadeAsACopyKeepsWhatWaitedForItAndIsNoChangeOnDisk) {
    // A code-page source with LF ends, a comment and quotes: its lines land byte for byte.
    const std::string source = put("; Typ\n[Common]\nName=\"T\xE4st\"\n\n[Table]\nA=1\n", "s.ini");
    const std::string plain = file("plain.ini"), waited = file("waited.ini");
    // A save that failed (a folder marked read-only where the file goes stops even root)
    // leaves its changes waiting for a file not there yet.
    fs::create_directory(waited);
    fs::permissions(waited, fs::perms::owner_read | fs::perms::owner_exec);
    {
        IniBatch failed;
        EXPECT_TRUE(WritePrivateProfileString("Table", "A", "7", waited));
        EXPECT_TRUE(WritePrivateProfileString("Config", "Q", "\"\"q\"\"", waited));
        EXPECT_FALSE(failed.commit());
    }
    fs::remove(waited);
    platform::forgetWriteFailure();
    {
        IniBatch save;
        EXPECT_TRUE(ini::createFromCopy(source, plain));
        EXPECT_TRUE(ini::createFromCopy(source, waited));
        EXPECT_FALSE(fs::exists(plain));  // written with the batch
        for (const auto& f : {plain, waited})
            EXPECT_TRUE(WritePrivateProfileString("Table", "B", "2", f));
        // Refused, changing nothing: a file of the name, a missing folder.
        EXPECT_FALSE(ini::createFromCopy(source, put("[S]\r\n", "there.ini")));
        EXPECT_FALSE(ini::createFromCopy(source, file("none/x.ini")));
        EXPECT_TRUE(save.commit());
    }
    EXPECT_FALSE(platform::lastWriteFailure());
    EXPECT_EQ(readFile(plain), "; Typ\n[Common]\nName=\"T\xE4st\"\n\n[Table]\nA=1\nB=2\n");
    EXPECT_EQ(readFile(waited),
              "; Typ\n[Common]\nName=\"T\xE4st\"\n\n[Table]\nA=7\nB=2\n[Config]\nQ=\"\"q\"\"\n");
    EXPECT_EQ(readFile(file("there.ini")), "[S]\r\n");
    // Another program's file of that name, made meanwhile, still wins and is reported.
    IniBatch next;
    EXPECT_TRUE(ini::createFromCopy(source, file("taken.ini")));
    put("[X]\r\n", "taken.ini");
    EXPECT_FALSE(next.commit());
    EXPECT_EQ(lastFailure(), std::pair(file("taken.ini"), platform::kChangedOnDisk));
    EXPECT_EQ(readFile(file("taken.ini")), "[X]\r\n");
}

TEST_F(IniCache, DroppedChangesAreReportedByTheFlushOfTheirFileAndEveryEnclosingBatch) {
    std::string f = put("[S]\r\nK=1\r\n");
    std::string other = put("[S]\r\n", "other.ini");
    IniBatch outer;
    {
        IniBatch inner;
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", f));
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", other));
        // Replaced on disk before the flush: the pending change is dropped there.
        put("[S]\r\nK=9\r\n", "new.ini");
        fs::rename(dir / "new.ini", f);
        EXPECT_TRUE(ini::flushFile(other));
        EXPECT_FALSE(ini::flushFile(f));
        EXPECT_EQ(lastFailure(), std::pair(f, platform::kChangedOnDisk));
        EXPECT_TRUE(ini::flushFile(f));  // reported once
        EXPECT_FALSE(inner.commit());
    }
    EXPECT_FALSE(outer.commit());
    EXPECT_EQ(readFile(f), "[S]\r\nK=9\r\n");
    EXPECT_EQ(readFile(other), "[S]\r\nK=2\r\n");
    // The next batch starts clean.
    IniBatch next;
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "3", f));
    EXPECT_TRUE(next.commit());
}

TEST_F(IniCache, FilesDeletedDuringABatchAreNotBroughtBack) {
    std::string kept = put("[S]\r\nK=1\r\n", "kept.ini");
    std::string deleted = put("[S]\r\nK=1\r\n", "rail/deleted.ini");
    std::string created = file("rail/created.ini");
    {
        IniBatch batch;
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", kept));
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", deleted));
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", created));
        fs::remove(deleted);
        EXPECT_FALSE(ini::flush());  // the change of the deleted file is dropped
        EXPECT_FALSE(fs::exists(deleted));
        EXPECT_FALSE(WritePrivateProfileString("S", "K", "3", deleted));
        EXPECT_TRUE(WritePrivateProfileString("S", "K", "3", created));
        fs::remove_all(dir / "rail");  // a folder tree removed by the same operation
        EXPECT_FALSE(batch.commit());
    }
    EXPECT_FALSE(fs::exists(dir / "rail"));
    EXPECT_EQ(readFile(kept), "[S]\r\nK=2\r\n");
    EXPECT_EQ(readString(deleted, "S", "K", "gone"), "gone");
    EXPECT_TRUE(ini::flush());
}

TEST_F(IniCache, FailedWriteOutsideABatchLeavesNoTrace) {
    fs::create_directory(dir / "gone");
    std::string f = put("[S]\r\nK=1\r\n", "gone/x.ini");
    EXPECT_EQ(readString(f, "S", "K"), "1");
    fs::remove_all(dir / "gone");
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "2", f));
    EXPECT_EQ(readString(f, "S", "K", "missing"), "missing");
    EXPECT_TRUE(ini::flush());
}

// What a process without the right to read the file sees, as an exit code for its parent.
enum UnreadableCheck { kKeptAsItWas, kReadAnyway, kWrittenAnyway, kRootKept, kFolderUnreachable };

// Runs in a child process. Root reads any file, so a child of root first gives its rights to
// the unprivileged user and hands it the folder, so that only the file's own mode stands in
// the way.
int checkUnreadable(const std::string& file, const fs::path& folder, uid_t uid, gid_t gid) {
    if (::geteuid() == 0 &&
        (::chown(folder.c_str(), uid, gid) != 0 || ::chown(file.c_str(), uid, gid) != 0 ||
         ::setgroups(0, nullptr) != 0 || ::setgid(gid) != 0 || ::setuid(uid) != 0))
        return kRootKept;
    if (::access(folder.c_str(), W_OK | X_OK) != 0) return kFolderUnreachable;
    if (readString(file, "S", "K", "d") != "d") return kReadAnyway;
    if (WritePrivateProfileString("S", "K", "2", file)) return kWrittenAnyway;
    return kKeptAsItWas;
}

TEST_F(IniCache, UnreadableFileIsNeverReplaced) {
    std::string f = put("[S]\r\nK=1\r\n");
    ASSERT_EQ(::chmod(f.c_str(), 0), 0);
    const passwd* nobody = ::getpwnam("nobody");
    const uid_t uid = nobody ? nobody->pw_uid : 65534;
    const gid_t gid = nobody ? nobody->pw_gid : 65534;
    const pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) ::_exit(checkUnreadable(f, dir.path(), uid, gid));
    int status = 0;
    ASSERT_EQ(::waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == kFolderUnreachable)
        GTEST_SKIP() << "the unprivileged user cannot reach the temporary folder";
    EXPECT_EQ(WEXITSTATUS(status), kKeptAsItWas);
    ::chmod(f.c_str(), 0644);
    EXPECT_EQ(readFile(f), "[S]\r\nK=1\r\n");
}

TEST_F(IniCache, TwoThreadsWritingAndReadingDoNotCrash) {
    std::string f = put("[S]\r\n");
    auto work = [&](const std::string& section) {
        for (int round = 0; round < 20; ++round) {
            IniBatch batch;
            for (int i = 0; i < 20; ++i) {
                EXPECT_TRUE(
                    WritePrivateProfileString(section, numbered("K", i), std::to_string(round), f));
                readString(f, section, numbered("K", i / 2));
            }
        }
    };
    std::thread one(work, "One"), two(work, "Two");
    one.join();
    two.join();
    EXPECT_TRUE(ini::flush());
    ini::dropCache();
    EXPECT_EQ(readString(f, "One", "K19"), "19");
    EXPECT_EQ(readString(f, "Two", "K0"), "19");
}

}  // namespace
}  // namespace varnak::test
