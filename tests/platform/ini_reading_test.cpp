// Reading private-profile values: names, comments, values, defaults and buffer cuts.
#include <sys/stat.h>

#include "tests/platform/ini_test_support.h"

namespace varnak::test {
namespace {

using ini::GetPrivateProfileString;

class IniReading : public IniTest {};

TEST_F(IniReading, NamesMatchCaseInsensitivelyAndIgnoreBlanksAroundThem) {
    std::string f =
        put("[ RegValue_Table0 ]\r\n"
            "  Reg0 \t=\t0x0001\r\n"
            "My Key=inner blanks belong to the name\r\n"
            "\xC3\x84rger=umlaut names compare exactly\r\n"
            "[\tSpaced Section\t]\r\n"
            "k=1\r\n");
    EXPECT_EQ(readString(f, "regvalue_table0", "REG0"), "0x0001");
    EXPECT_EQ(readString(f, "RegValue_Table0", " reg0\t"), "0x0001");
    EXPECT_EQ(readString(f, "RegValue_Table0", "my key"), "inner blanks belong to the name");
    EXPECT_EQ(readString(f, "RegValue_Table0", "MyKey", "missing"), "missing");
    EXPECT_EQ(readString(f, "RegValue_Table0", "\xC3\x84rger"), "umlaut names compare exactly");
    EXPECT_EQ(readString(f, "RegValue_Table0", "\xC3\xA4rger", "missing"), "missing");
    EXPECT_EQ(readString(f, "spaced section", "K"), "1");
    EXPECT_EQ(readString(f, "SpacedSection", "K", "missing"), "missing");
}

TEST_F(IniReading, HeaderRunsToTheLastBracketAndNeedsOne) {
    std::string f =
        put("[Config] trailing text is ignored\r\n"
            "A=1\r\n"
            "[Odd]Name] x\r\n"
            "B=2\r\n"
            "[Open\r\n"
            "C=3\r\n");
    EXPECT_EQ(readString(f, "Config", "A"), "1");
    EXPECT_EQ(readString(f, "Odd]Name", "B"), "2");
    // "[Open" is an ordinary line: C still belongs to the section before it.
    EXPECT_EQ(readString(f, "Odd]Name", "C"), "3");
    EXPECT_EQ(readString(f, "Open", "C", "missing"), "missing");
    EXPECT_EQ(ini::sectionNames(f), (std::vector<std::string>{"Config", "Odd]Name"}));
}

TEST_F(IniReading, OnlyTheFirstCopyOfSectionsAndKeysCounts) {
    std::string f =
        put("[A]\r\nK=first\r\nk=second\r\n"
            "[B]\r\nX=1\r\n"
            "[a]\r\nK=third\r\nOnlyInSecondCopy=1\r\n");
    EXPECT_EQ(readString(f, "A", "K"), "first");
    EXPECT_EQ(readString(f, "A", "OnlyInSecondCopy", "missing"), "missing");
    EXPECT_EQ(ini::sectionNames(f), (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(ini::sectionKeys(f, "a"), (std::vector<std::string>{"K"}));
    EXPECT_TRUE(ini::hasKey(f, "a", "k"));
    EXPECT_FALSE(ini::hasKey(f, "A", "OnlyInSecondCopy"));
}

TEST_F(IniReading, CommentsStartOnlyWithSemicolonAtLineStart) {
    std::string f =
        put("[S]\r\n"
            ";K=commented out\r\n"
            "   ; L=commented out too\r\n"
            "#M=hash is no comment\r\n"
            "N=1 ; no inline comments\r\n"
            "just a line without equals\r\n"
            "O=value # with hash\r\n");
    EXPECT_EQ(readString(f, "S", "K", "dflt"), "dflt");
    EXPECT_EQ(readString(f, "S", ";K", "dflt"), "dflt");
    EXPECT_EQ(readString(f, "S", "L", "dflt"), "dflt");
    EXPECT_EQ(readString(f, "S", "#M"), "hash is no comment");
    EXPECT_EQ(readString(f, "S", "N"), "1 ; no inline comments");
    EXPECT_EQ(readString(f, "S", "O"), "value # with hash");
    EXPECT_EQ(readString(f, "S", "just a line without equals", "dflt"), "dflt");
    EXPECT_EQ(ini::sectionKeys(f, "S"), (std::vector<std::string>{"#M", "N", "O"}));
    EXPECT_FALSE(ini::hasKey(f, "S", "K"));
    EXPECT_FALSE(ini::hasKey(f, "S", "just a line without equals"));
}

TEST_F(IniReading, LinesBeforeTheFirstSectionAreNoValues) {
    std::string f = put("K=1\r\n[S]\r\nL=2\r\n");
    EXPECT_EQ(readString(f, "", "K", "dflt"), "dflt");
    EXPECT_FALSE(ini::hasKey(f, "", "K"));
    EXPECT_EQ(readString(f, "S", "L"), "2");
}

TEST_F(IniReading, ValuesAreTrimmedAndLoseOnePairOfEnclosingQuotes) {
    std::string f =
        put("[S]\r\n"
            "Plain=\t  text with  inner blanks \t\r\n"
            "Double=\"  quoted  \"\r\n"
            "Single=' quoted '\r\n"
            "Twice=\"\"two pairs\"\"\r\n"
            "Lone=\"open\r\n"
            "Mixed=\"mixed'\r\n"
            "OneQuote=\"\r\n"
            "TwoQuotes=\"\"\r\n"
            "Equals=a=b=c\r\n");
    EXPECT_EQ(readString(f, "S", "Plain"), "text with  inner blanks");
    EXPECT_EQ(readString(f, "S", "Double"), "  quoted  ");
    EXPECT_EQ(readString(f, "S", "Single"), " quoted ");
    EXPECT_EQ(readString(f, "S", "Twice"), "\"two pairs\"");
    EXPECT_EQ(readString(f, "S", "Lone"), "\"open");
    EXPECT_EQ(readString(f, "S", "Mixed"), "\"mixed'");
    EXPECT_EQ(readString(f, "S", "OneQuote"), "\"");
    EXPECT_EQ(readString(f, "S", "TwoQuotes"), "");
    EXPECT_EQ(readString(f, "S", "Equals"), "a=b=c");
}

TEST_F(IniReading, ValueAndDefaultEndAtTheirNul) {
    std::string f = put("[S]\r\nK=ab\0cd\r\nQ=\"x\0y\"\r\n"s);
    std::string out;
    EXPECT_EQ(GetPrivateProfileString("S", "K", "", out, 100, f), 2u);
    EXPECT_EQ(out, "ab");
    EXPECT_EQ(readString(f, "S", "Q"), "x");
    EXPECT_EQ(readString(f, "S", "Missing", std::string_view("de\0f", 4)), "de");
}

TEST_F(IniReading, EmptyValueIsNotTheDefaultButMissingOnesAre) {
    std::string f = put("[S]\r\nEmpty=\r\nBlank=   \r\n");
    std::string out = "junk";
    EXPECT_EQ(GetPrivateProfileString("S", "Empty", "0", out, 100, f), 0u);
    EXPECT_EQ(out, "");
    EXPECT_EQ(GetPrivateProfileString("S", "Blank", "0", out, 100, f), 0u);
    EXPECT_EQ(out, "");
    EXPECT_EQ(GetPrivateProfileString("S", "Missing", "0", out, 100, f), 1u);
    EXPECT_EQ(out, "0");
    EXPECT_EQ(GetPrivateProfileString("Nowhere", "Empty", "0", out, 100, f), 1u);
    EXPECT_EQ(GetPrivateProfileString("S", "Empty", "0", out, 100, file("absent.ini")), 1u);
    EXPECT_EQ(out, "0");
}

TEST_F(IniReading, DefaultLosesTrailingBlanksAndOnePairOfQuotes) {
    std::string f = file("absent.ini");
    EXPECT_EQ(readString(f, "S", "K", "  lead stays   "), "  lead stays");
    EXPECT_EQ(readString(f, "S", "K", "\" quoted \"   "), " quoted ");
    EXPECT_EQ(readString(f, "S", "K", "'x'"), "x");
    EXPECT_EQ(readString(f, "S", "K", "\"x'"), "\"x'");
}

TEST_F(IniReading, DeliversAtMostBufferSizeMinusOneCharacters) {
    std::string hundred(100, 'x');
    hundred[98] = 'L';
    std::string f = put("[S]\r\nLong=" + hundred + "\r\nUmlauts=" + std::string(5, ' ') +
                        "\xC3\xA4\xC3\xB6\xC3\xBC\r\n");
    std::string out;
    EXPECT_EQ(GetPrivateProfileString("S", "Long", "", out, 100, f), 99u);
    EXPECT_EQ(out, hundred.substr(0, 99));
    EXPECT_EQ(out.back(), 'L');
    EXPECT_EQ(readString(f, "S", "Long"), hundred.substr(0, 99));
    // The cut counts characters, never splitting one.
    EXPECT_EQ(GetPrivateProfileString("S", "Umlauts", "", out, 3, f), 2u);
    EXPECT_EQ(out, "\xC3\xA4\xC3\xB6");
    EXPECT_EQ(GetPrivateProfileString("S", "Missing", "default", out, 4, f), 3u);
    EXPECT_EQ(out, "def");
    EXPECT_EQ(GetPrivateProfileString("S", "Long", "", out, 1, f), 0u);
    EXPECT_EQ(out, "");
    out = "junk";
    EXPECT_EQ(GetPrivateProfileString("S", "Long", "", out, 0, f), 0u);
    EXPECT_EQ(out, "");
}

TEST_F(IniReading, ReadingNeverCreatesOrChangesAFile) {
    std::string missing = file("missing.ini");
    EXPECT_EQ(readString(missing, "S", "K", "d"), "d");
    EXPECT_TRUE(ini::sectionNames(missing).empty());
    EXPECT_TRUE(ini::sectionKeys(missing, "S").empty());
    EXPECT_FALSE(ini::hasKey(missing, "S", "K"));
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(readString(file("no/folder/x.ini"), "S", "K", "d"), "d");
    EXPECT_FALSE(std::filesystem::exists(dir / "no"));

    const std::string bytes = "[S]\r\nK=1";
    std::string f = put(bytes);
    struct stat before {};
    ASSERT_EQ(::stat(f.c_str(), &before), 0);
    EXPECT_EQ(readString(f, "S", "K"), "1");
    EXPECT_EQ(readString(f, "S", "Other", "x"), "x");
    struct stat after {};
    ASSERT_EQ(::stat(f.c_str(), &after), 0);
    EXPECT_EQ(readFile(f), bytes);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    EXPECT_EQ(before.st_ino, after.st_ino);
}

TEST_F(IniReading, MalformedFilesNeverCrash) {
    std::string f = put("[\0]\r\n\0=\0\r\n[]\r\n=empty name\r\n]]][[[\r\n\r\r\n\n\xFF\xFF"s);
    EXPECT_EQ(readString(f, "", "", "d"), "empty name");
    EXPECT_EQ(readString(f, "x", "y", "d"), "d");
    put("", "empty.ini");
    EXPECT_EQ(readString(file("empty.ini"), "S", "K", "d"), "d");
    EXPECT_TRUE(ini::sectionNames(file("empty.ini")).empty());
}

}  // namespace
}  // namespace varnak::test
