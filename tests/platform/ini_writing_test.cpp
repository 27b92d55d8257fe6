// Writing private-profile values: golden before/after files and the rules around them.
#include <sys/stat.h>
#include <unistd.h>

#include <optional>

#include "tests/platform/ini_test_support.h"

namespace varnak::test {
namespace {

struct Write {
    const char* section;
    std::optional<const char*> key;
    std::optional<const char*> value;
};

struct GoldenCase {
    const char* name;  // ini_golden/<name>.ini edited into ini_golden/<name>.expected
    std::vector<Write> writes;
};

const std::vector<GoldenCase> kGoldenCases = {
    {"layout",
     {{"config", "NAME", "Rail two"},
      {"Config", "CouplerID", "7"},  // unchanged
      {"Config", "Added", "yes"},
      {"RegValue_Table0", "REG0", "0x00FF"},
      {"RegValue_Table0", "Reg2", "0x0003"},
      {"New", "K", "V"}}},
    {"no_final_eol", {{"B", "K", "2"}}},
    {"no_final_eol_key", {{"A", "J", "2"}}},
    {"lf", {{"A", "K", "2"}, {"A", "L", "3"}, {"C", "M", "4"}}},
    {"cr", {{"A", "K", "2"}, {"A", "L", "3"}, {"C", "M", "4"}}},
    {"mixed", {{"A", "J", "2"}, {"A", "L", "3"}}},
    {"cp1252",
     {{"Desc", "Lang0_Reg1", "Ma\xC3\x9F \xE2\x82\xAC \xE6\x97\xA5"},
      {"Desc", "Lang0_Reg2",
       "\xC3\x9C"
       "bertrag"}}},
    {"bom", {{"A", "J", "\xE2\x82\xAC"}}},
    {"delete",
     {{"A", "K", std::nullopt}, {"B", std::nullopt, std::nullopt}, {"C", "Y", std::nullopt}}},
    {"duplicate", {{"A", "K", "5"}, {"A", "ONLYHERE", "2"}}},
    {"injection", {{"Config", "Comment", "line one\r\n[Config]\r\nName=evil\n"}}},
};

void PrintTo(const GoldenCase& c, std::ostream* os) {
    *os << c.name;
}

class IniGolden : public IniTest, public ::testing::WithParamInterface<GoldenCase> {};

TEST_P(IniGolden, EditKeepsEveryUntouchedByte) {
    const GoldenCase& c = GetParam();
    const std::string in = readFile(goldenDir() / (std::string(c.name) + ".ini"));
    const std::string expected = readFile(goldenDir() / (std::string(c.name) + ".expected"));
    ASSERT_FALSE(in.empty()) << "golden file missing: " << c.name;
    std::string f = put(in);
    for (const Write& w : c.writes) {
        std::optional<std::string_view> key, value;
        if (w.key) key = *w.key;
        if (w.value) value = *w.value;
        EXPECT_TRUE(WritePrivateProfileString(w.section, key, value, f));
    }
    EXPECT_EQ(readFile(f), expected);
    // What the cache holds is what a fresh read of the disk gives.
    for (const Write& w : c.writes) {
        if (!w.key || !w.value) continue;
        std::string cached = readString(f, w.section, *w.key, "?missing", 4096);
        ini::dropCache();
        EXPECT_EQ(readString(f, w.section, *w.key, "?missing", 4096), cached);
    }
}

INSTANTIATE_TEST_SUITE_P(Files, IniGolden, ::testing::ValuesIn(kGoldenCases),
                         [](const auto& info) { return std::string(info.param.name); });

class IniWriting : public IniTest {};

TEST_F(IniWriting, MissingFileIsCreatedAsUtf8WithCrlf) {
    std::string f = file("new.ini");
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "V", f));
    EXPECT_EQ(readFile(f), "[S]\r\nK=V\r\n");
    EXPECT_TRUE(WritePrivateProfileString("T", "\xC3\x84", "\xE2\x82\xAC", f));
    EXPECT_EQ(readFile(f), "[S]\r\nK=V\r\n[T]\r\n\xC3\x84=\xE2\x82\xAC\r\n");
}

TEST_F(IniWriting, MissingFolderFailsAndDeletesCreateNothing) {
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "V", file("no/such/folder.ini")));
    EXPECT_FALSE(fs::exists(dir / "no"));
    EXPECT_EQ(readString(file("no/such/folder.ini"), "S", "K", "d"), "d");
    EXPECT_TRUE(WritePrivateProfileString("S", "K", std::nullopt, file("absent.ini")));
    EXPECT_TRUE(WritePrivateProfileString("S", std::nullopt, std::nullopt, file("absent.ini")));
    EXPECT_FALSE(fs::exists(dir / "absent.ini"));
}

TEST_F(IniWriting, WriteThatChangesNothingLeavesTheFileAlone) {
    std::string f = put("[S]\r\nK = 1 \r\nQ=\"2\"\r\n");
    struct stat before {};
    ASSERT_EQ(::stat(f.c_str(), &before), 0);
    EXPECT_TRUE(WritePrivateProfileString("s", "k", "1", f));
    EXPECT_TRUE(WritePrivateProfileString("S", "Q", "\"2\"", f));
    EXPECT_TRUE(WritePrivateProfileString("S", "Missing", std::nullopt, f));
    EXPECT_TRUE(WritePrivateProfileString("Missing", std::nullopt, std::nullopt, f));
    struct stat after {};
    ASSERT_EQ(::stat(f.c_str(), &after), 0);
    EXPECT_EQ(before.st_ino, after.st_ino);
    EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    EXPECT_EQ(readFile(f), "[S]\r\nK = 1 \r\nQ=\"2\"\r\n");
}

TEST_F(IniWriting, DeletingFirstCopiesUncoversSecondCopies) {
    std::string f = put("[A]\r\nK=1\r\nK=2\r\n[a]\r\nL=3\r\n");
    EXPECT_TRUE(WritePrivateProfileString("A", "k", std::nullopt, f));
    EXPECT_EQ(readString(f, "A", "K"), "2");
    EXPECT_TRUE(WritePrivateProfileString("A", "K", std::nullopt, f));
    EXPECT_EQ(readString(f, "A", "K", "gone"), "gone");
    EXPECT_EQ(readFile(f), "[A]\r\n[a]\r\nL=3\r\n");
    EXPECT_TRUE(WritePrivateProfileString("a", std::nullopt, std::nullopt, f));
    EXPECT_EQ(readString(f, "A", "L"), "3");
    EXPECT_EQ(readFile(f), "[a]\r\nL=3\r\n");
}

TEST_F(IniWriting, KeyInsertedIntoEmptySectionFollowsItsHeader) {
    std::string f = put("[A]\r\n\r\n[B]\r\nX=1\r\n");
    EXPECT_TRUE(WritePrivateProfileString("A", "K", "1", f));
    EXPECT_EQ(readFile(f), "[A]\r\nK=1\r\n\r\n[B]\r\nX=1\r\n");
}

TEST_F(IniWriting, ValuesWithBlanksAndQuotesAreWrittenAsGiven) {
    std::string f = file("v.ini");
    EXPECT_TRUE(WritePrivateProfileString("S", "K", " padded ", f));
    EXPECT_TRUE(WritePrivateProfileString("S", "E", "", f));
    // A value ends at its NUL, as a C string does.
    EXPECT_TRUE(WritePrivateProfileString("S", "N", std::string_view("a\0b", 3), f));
    EXPECT_EQ(readFile(f), "[S]\r\nK= padded \r\nE=\r\nN=a\r\n");
    std::string out = "x";
    EXPECT_EQ(ini::GetPrivateProfileString("S", "E", "d", out, 100, f), 0u);
    EXPECT_EQ(readString(f, "S", "K"), "padded");
}

TEST_F(IniWriting, NamesThatWouldNotReadBackAreRefused) {
    std::string f = put("[S]\r\nK=1\r\n");
    EXPECT_FALSE(WritePrivateProfileString("S", "A=B", "1", f));
    EXPECT_FALSE(WritePrivateProfileString("S", ";K", "1", f));
    EXPECT_FALSE(WritePrivateProfileString("S", "[T]", "1", f));
    EXPECT_FALSE(WritePrivateProfileString("S", "  ", "1", f));
    EXPECT_FALSE(WritePrivateProfileString("S", "K\r\nL", "1", f));
    EXPECT_FALSE(WritePrivateProfileString("S\n[T]", "K", "1", f));
    EXPECT_EQ(readFile(f), "[S]\r\nK=1\r\n");
}

TEST_F(IniWriting, ContinuedWritesAfterReloadUseTheNewDiskContent) {
    std::string f = put("[S]\r\nK=1\r\n");
    EXPECT_EQ(readString(f, "S", "K"), "1");
    // Another program saves the file: a different inode and size.
    put("[S]\r\nK=22\r\nL=3\r\n", "other.ini");
    fs::rename(dir / "other.ini", f);
    EXPECT_EQ(readString(f, "S", "K"), "22");
    EXPECT_TRUE(WritePrivateProfileString("S", "M", "4", f));
    EXPECT_EQ(readFile(f), "[S]\r\nK=22\r\nL=3\r\nM=4\r\n");
}

TEST_F(IniWriting, PermissionBitsAndSymbolicLinksSurviveARewrite) {
    std::string real = put("[S]\r\nK=1\r\n", "real.ini");
    ASSERT_EQ(::chmod(real.c_str(), 0640), 0);
    fs::create_symlink(real, dir / "link.ini");
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "2", file("link.ini")));
    EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
    EXPECT_EQ(readFile(real), "[S]\r\nK=2\r\n");
    struct stat st {};
    ASSERT_EQ(::stat(real.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0640u);
}

}  // namespace
}  // namespace varnak::test
