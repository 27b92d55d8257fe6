// Paths written the Windows way and names from a case-insensitive file system.
#include "platform/paths.h"

#include <gtest/gtest.h>

#include "tests/support/temp_dir.h"

namespace varnak::test {
namespace {

using platform::joinPath;
using platform::listMatching;
using platform::resolveCaseInsensitive;
using platform::wildcardMatch;
namespace fs = std::filesystem;

TEST(Paths, JoinTakesBackslashesAsSeparators) {
    EXPECT_EQ(joinPath({"/res", "\\TERMINAL\\", "QT3002.INI"}), "/res/TERMINAL/QT3002.INI");
    EXPECT_EQ(joinPath({"/res/", "/Coupler", "Unknown.INI"}), "/res/Coupler/Unknown.INI");
    EXPECT_EQ(joinPath({"/proj", "rail\\C001T002.TCF"}), "/proj/rail/C001T002.TCF");
    EXPECT_EQ(joinPath({"/proj", "", "x"}), "/proj/x");
    EXPECT_EQ(joinPath({"/", "x"}), "/x");
    EXPECT_EQ(joinPath({"relative", "x"}), "relative/x");
    EXPECT_EQ(joinPath({"/a", "\\"}), "/a");
}

TEST(Paths, ResolvesEachComponentCaseInsensitively) {
    TempDir dir;
    writeFile(dir / "Terminal" / "qt3002.ini", "x");
    writeFile(dir / "Coupler" / "Unknown.INI", "x");
    EXPECT_EQ(resolveCaseInsensitive(dir / "TERMINAL" / "QT3002.INI"),
              dir / "Terminal" / "qt3002.ini");
    EXPECT_EQ(resolveCaseInsensitive(dir / "coupler" / "unknown.ini"),
              dir / "Coupler" / "Unknown.INI");
    // A missing part keeps the rest as given, so that the file can be created there.
    EXPECT_EQ(resolveCaseInsensitive(dir / "terminal" / "New" / "File.TCF"),
              dir / "Terminal" / "New" / "File.TCF");
    EXPECT_EQ(resolveCaseInsensitive(dir / "Terminal" / ".." / "COUPLER"),
              dir / "Terminal" / ".." / "Coupler");
}

TEST(Paths, ExactNameWinsAndTheChoiceIsStable) {
    TempDir dir;
    writeFile(dir / "a.ini", "lower");
    writeFile(dir / "A.INI", "upper");
    EXPECT_EQ(resolveCaseInsensitive(dir / "A.INI"), dir / "A.INI");
    EXPECT_EQ(resolveCaseInsensitive(dir / "a.ini"), dir / "a.ini");
    EXPECT_EQ(resolveCaseInsensitive(dir / "A.ini"), dir / "A.INI");
}

TEST(Paths, ListingMatchesCaseInsensitivelyAndSortsByName) {
    TempDir dir;
    for (const char* name :
         {"QT3002.INI", "qt1001.ini", "QT2000-0000.INI", "QZ100.INI", "QTX.TXT", "Qt0500.Ini"})
        writeFile(dir / "Terminal" / name, "x");
    fs::create_directories(dir / "Terminal" / "QT9999.INI");  // a folder
    EXPECT_EQ(
        listMatching(dir / "TERMINAL", "QT*.INI"),
        (std::vector<std::string>{"Qt0500.Ini", "qt1001.ini", "QT2000-0000.INI", "QT3002.INI"}));
    EXPECT_EQ(listMatching(dir / "Terminal", "qt*.ini", false).back(), "QT9999.INI");
    EXPECT_EQ(listMatching(dir / "Terminal", "Q?100.INI"), (std::vector<std::string>{"QZ100.INI"}));
    EXPECT_TRUE(listMatching(dir / "Missing", "*").empty());
}

TEST(Paths, WildcardsMatchAnyRunOrOneCharacter) {
    EXPECT_TRUE(wildcardMatch("*", ""));
    EXPECT_TRUE(wildcardMatch("*.ini", "A.INI"));
    EXPECT_TRUE(wildcardMatch("QT*-0000.INI", "qt3002-0000.ini"));
    EXPECT_FALSE(wildcardMatch("QT*.INI", "QT3002.INI.bak"));
    EXPECT_TRUE(wildcardMatch("?", "x"));
    EXPECT_FALSE(wildcardMatch("?", ""));
    EXPECT_TRUE(wildcardMatch("a*b*c", "aXbYbZc"));
    EXPECT_FALSE(wildcardMatch("a*b*c", "aXbYbZ"));
    // "*.*" lists every file, with or without an extension.
    EXPECT_TRUE(wildcardMatch("*.*", "README"));
    EXPECT_TRUE(wildcardMatch("*.*", "a.b"));
    EXPECT_TRUE(wildcardMatch("R*.*", "Rail"));
    EXPECT_FALSE(wildcardMatch("X*.*", "Rail"));
}

TEST(Paths, ResourceFolderComesFromTheEnvironment) {
    const char* env = std::getenv("VARNAK_RESOURCE_DIR");
    ASSERT_NE(env, nullptr);
    EXPECT_EQ(platform::resourceDir(), fs::path(env));
    EXPECT_TRUE(fs::is_directory(platform::executableDir()));
}

TEST(Paths, ResourceFolderBesideTheProgramElseTheInstalledOne) {
    TempDir dir;
    const fs::path bin = dir / "bin";
    fs::create_directories(bin);
    // Neither exists: the folder beside the program, for the messages that name it.
    EXPECT_EQ(platform::resourceDirOf(bin), bin / "Resource");
    fs::create_directories(dir / "share" / "varnak");
    EXPECT_EQ(platform::resourceDirOf(bin), dir / "share" / "varnak");
    fs::create_directories(bin / "Resource");
    EXPECT_EQ(platform::resourceDirOf(bin), bin / "Resource");
}

}  // namespace
}  // namespace varnak::test
