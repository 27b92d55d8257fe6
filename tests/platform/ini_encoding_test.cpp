// Byte encodings and line ends of INI files.
#include "platform/ini_text_encoding.h"
#include "tests/platform/ini_test_support.h"

namespace varnak::test {
namespace {

class IniEncoding : public IniTest {};

TEST_F(IniEncoding, AllLineEndStylesReadAlike) {
    for (std::string eol : {"\r\n", "\n", "\r"}) {
        ini::dropCache();
        std::string f = put("[A]" + eol + "K=1" + eol + eol + "[B]" + eol + "L=2");
        EXPECT_EQ(readString(f, "A", "K"), "1") << "line end " << eol.size();
        EXPECT_EQ(readString(f, "B", "L"), "2");
        EXPECT_EQ(ini::sectionNames(f), (std::vector<std::string>{"A", "B"}));
    }
    // A CR before CRLF is a line end of its own, never part of a value.
    std::string f = put("[A]\r\r\nK=1\r\r\nL=2\r\n", "crcrlf.ini");
    EXPECT_EQ(readString(f, "A", "K"), "1");
    EXPECT_EQ(readString(f, "A", "L"), "2");
}

TEST_F(IniEncoding, Windows1252FileIsReadAsUtf8) {
    std::string f = put("[Kan\xE4le]\r\nGr\xF6\xDF\x65=\x80 5 \x84ok\x93\r\n");
    EXPECT_EQ(readString(f, "Kan\xC3\xA4le", "Gr\xC3\xB6\xC3\x9F\x65"),
              "\xE2\x82\xAC 5 \xE2\x80\x9Eok\xE2\x80\x9C");
    EXPECT_EQ(ini::sectionNames(f), (std::vector<std::string>{"Kan\xC3\xA4le"}));
}

TEST_F(IniEncoding, ValidUtf8WithoutBomAndUtf8WithBomAreUtf8) {
    std::string plain = put("[S]\r\nK=Gr\xC3\xB6\xC3\x9F\x65\r\n", "plain.ini");
    EXPECT_EQ(readString(plain, "S", "K"), "Gr\xC3\xB6\xC3\x9F\x65");
    // The BOM is no part of the first header's name.
    std::string bom = put("\xEF\xBB\xBF[S]\r\nK=\xC3\xA4\r\n", "bom.ini");
    EXPECT_EQ(readString(bom, "S", "K"), "\xC3\xA4");
    EXPECT_EQ(ini::sectionNames(bom), (std::vector<std::string>{"S"}));
}

TEST_F(IniEncoding, CutCountsWindows1252CharactersNotUtf8Bytes) {
    std::string f = put("[S]\r\nK=" + std::string(120, '\xE4') + "\r\n");
    std::string out;
    EXPECT_EQ(ini::GetPrivateProfileString("S", "K", "", out, 100, f), 99u);
    std::string expected;
    for (int i = 0; i < 99; ++i) expected += "\xC3\xA4";
    EXPECT_EQ(out, expected);
}

TEST_F(IniEncoding, EditedWindows1252FileKeepsUndefinedBytesAndStaysWindows1252) {
    // 0x81 and 0x9D have no character in the code page; untouched lines keep them.
    const std::string untouched = "Raw=\x81\x9D\xFF\r\n";
    std::string f = put("[S]\r\n" + untouched + "K=old\r\n");
    EXPECT_TRUE(WritePrivateProfileString("S", "K", "\xC3\xBC\xE2\x82\xAC\xF0\x9F\x98\x80", f));
    EXPECT_TRUE(WritePrivateProfileString("S", "Gr\xC3\xB6\xC3\x9F\x65", "1", f));
    EXPECT_EQ(readFile(f), "[S]\r\n" + untouched + "K=\xFC\x80?\r\nGr\xF6\xDF\x65=1\r\n");
    ini::dropCache();
    EXPECT_EQ(readString(f, "S", "K"), "\xC3\xBC\xE2\x82\xAC?");
}

TEST_F(IniEncoding, MalformedUtf8FromCallersCannotTurnAFileIntoWindows1252) {
    std::string f = put("[S]\r\nK=\xC3\xA4\r\n");
    EXPECT_TRUE(WritePrivateProfileString("S", "L", "bad\xFF\xC3", f));
    EXPECT_TRUE(ini::isValidUtf8(readFile(f)));
    ini::dropCache();
    EXPECT_EQ(readString(f, "S", "K"), "\xC3\xA4");
    EXPECT_EQ(readString(f, "S", "L"), "bad\xEF\xBF\xBD\xEF\xBF\xBD");
}

TEST_F(IniEncoding, Utf16FileIsNeitherMisreadNorRewritten) {
    const std::string utf16 = "\xFF\xFE[\0S\0]\0\r\0\n\0K\0=\0\x31\0\r\0\n\0"s;
    std::string f = put(utf16);
    EXPECT_EQ(readString(f, "S", "K", "d"), "d");
    EXPECT_TRUE(ini::sectionNames(f).empty());
    EXPECT_FALSE(WritePrivateProfileString("S", "K", "2", f));
    EXPECT_EQ(readFile(f), utf16);
}

TEST(IniTextEncoding, EveryWindows1252ByteSurvivesTheRoundTrip) {
    std::string all;
    for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
    std::string utf8 = ini::windows1252ToUtf8(all);
    EXPECT_TRUE(ini::isValidUtf8(utf8));
    EXPECT_EQ(ini::utf8Length(utf8), 256u);
    EXPECT_EQ(ini::utf8ToWindows1252(utf8), all);
}

TEST(IniTextEncoding, RejectsMalformedUtf8) {
    EXPECT_TRUE(ini::isValidUtf8("plain \xC3\xA4 \xE2\x82\xAC \xF0\x9F\x98\x80"));
    EXPECT_FALSE(ini::isValidUtf8("\xC0\xAF"));          // overlong "/"
    EXPECT_FALSE(ini::isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(ini::isValidUtf8("\xF4\x90\x80\x80"));  // above U+10FFFF
    EXPECT_FALSE(ini::isValidUtf8("\xE2\x82"));          // cut short
    EXPECT_FALSE(ini::isValidUtf8("Gr\xF6\xDF\x65"));    // Windows-1252
    EXPECT_EQ(ini::utf8ToWindows1252("\xE2\x82"), "??");
}

}  // namespace
}  // namespace varnak::test
