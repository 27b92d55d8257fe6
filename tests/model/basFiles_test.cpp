#include "model/basFiles.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>

#include "tests/support/temp_dir.h"

namespace fs = std::filesystem;
using varnak::test::TempDir;
using varnak::test::writeFile;

TEST(FileTests, FilesFoldersAndWildcards) {
    TempDir dir;
    writeFile(dir / "Rail" / "Coupler.CCF", "x");
    EXPECT_TRUE(varnak::gfFileExists((dir / "Rail" / "Coupler.CCF").string()));
    EXPECT_FALSE(varnak::gfFileExists((dir / "Rail").string()));  // a folder is no file
    EXPECT_TRUE(varnak::gfFolderExists((dir / "Rail").string()));
    EXPECT_TRUE(varnak::gfFolderExists((dir / "Rail" / "Coupler.CCF").string()));
    EXPECT_FALSE(varnak::gfFolderExists((dir / "Nothing").string()));
    EXPECT_TRUE(varnak::gfFileExists((dir / "Rail" / "*.ccf").string()));
    EXPECT_FALSE(varnak::gfFileExists((dir / "Rail" / "*.TRM").string()));
    EXPECT_FALSE(varnak::gfFileExists((dir / "Missing" / "*.*").string()));
    EXPECT_FALSE(varnak::gfFileExists(""));
    EXPECT_FALSE(varnak::gfFolderExists(""));
}

TEST(FolderTreeDeletion, DeletesDepthFirstAndKeepsTheCurrentFolder) {
    TempDir dir;
    writeFile(dir / "P" / "a.ini", "1");
    writeFile(dir / "P" / "R1" / "b.ini", "2");
    writeFile(dir / "P" / "R1" / "deep" / "c.ini", "3");
    fs::create_directories(dir / "P" / "empty");
    fs::path before = fs::current_path();
    EXPECT_TRUE(varnak::gfDeleteFolderTree((dir / "P").string()));
    EXPECT_FALSE(fs::exists(dir / "P"));
    EXPECT_EQ(fs::current_path(), before);
    EXPECT_FALSE(varnak::gfDeleteFolderTree((dir / "P").string()));
}

// A link inside a project folder must never lead the deletion outside it.
TEST(FolderTreeDeletion, RemovesLinksWithoutFollowingThem) {
    TempDir dir;
    writeFile(dir / "outside" / "keep.txt", "precious");
    writeFile(dir / "P" / "x.ini", "1");
    fs::create_directory_symlink(dir / "outside", dir / "P" / "linkdir");
    fs::create_symlink(dir / "outside" / "keep.txt", dir / "P" / "linkfile");
    EXPECT_TRUE(varnak::gfDeleteFolderTree((dir / "P").string()));
    EXPECT_FALSE(fs::exists(dir / "P"));
    EXPECT_EQ(varnak::test::readFile(dir / "outside" / "keep.txt"), "precious");
    // The folder argument itself being a link is refused.
    fs::create_directory_symlink(dir / "outside", dir / "alias");
    EXPECT_FALSE(varnak::gfDeleteFolderTree((dir / "alias").string()));
    EXPECT_TRUE(fs::exists(dir / "outside" / "keep.txt"));
}

TEST(FolderTreeDeletion, ReportsAFailureInsteadOfStoppingSilently) {
    if (geteuid() == 0) {
        // Root ignores folder permissions; an immutable-free way to fail is a path that
        // vanishes: a file given as folder.
        TempDir dir;
        writeFile(dir / "file", "x");
        EXPECT_FALSE(varnak::gfDeleteFolderTree((dir / "file").string()));
        EXPECT_TRUE(fs::exists(dir / "file"));
        return;
    }
    TempDir dir;
    writeFile(dir / "P" / "locked" / "f.ini", "1");
    fs::permissions(dir / "P" / "locked", fs::perms::owner_read | fs::perms::owner_exec);
    EXPECT_FALSE(varnak::gfDeleteFolderTree((dir / "P").string()));
    fs::permissions(dir / "P" / "locked", fs::perms::owner_all);
}
