#include "comctl/gsd_language.h"

#include <gtest/gtest.h>

#include <string>

#include "comctl/gsd_text_io.h"
#include "tests/support/temp_dir.h"

namespace varnak::gsd {
namespace {

using test::readFile;
using test::TempDir;
using test::writeFile;

class GsdLanguageTest : public ::testing::Test {
  protected:
    GsdLanguageTest() { log_.create(dir_ / "GSD.LOG"); }

    // The log as written so far.
    std::string logText() { return readFile(dir_ / "GSD.LOG"); }

    GsdLanguage parsed(const std::string& text) {
        GsdLanguage language(log_);
        language.parse(splitTextLines(text));
        return language;
    }

    TempDir dir_;
    GsdLog log_;
};

TEST_F(GsdLanguageTest, ReadsTextAndNumberedVariablesExtensionAndName) {
    GsdLanguage language = parsed(
        "// comment = \"not an entry\"\n"
        "\n"
        "GSD_EXT = \".gse\"\n"
        "GSD_NAME = \"English\"\n"
        "title = \"Device description\"\n"
        "1 = \"first\"\n"
        "1A = \"hex named\"\n"
        "10 = \"sixteen\"\n"
        "no equals sign here\n");
    EXPECT_EQ(language.extension(), ".gse");
    EXPECT_EQ(language.name(), "English");
    EXPECT_EQ(language.lookup("title"), "Device description");
    EXPECT_EQ(language.lookup("1"), "first");
    EXPECT_EQ(language.lookup("01"), "first");
    EXPECT_EQ(language.lookup("1A"), "hex named");
    EXPECT_EQ(language.lookup("10"), "sixteen");
    EXPECT_EQ(language.lookup("16"), std::nullopt);
    EXPECT_EQ(language.lookup("comment"), std::nullopt);
    EXPECT_EQ(logText(), "");
}

TEST_F(GsdLanguageTest, ExtensionIsTakenVerbatim) {
    GsdLanguage language = parsed("GSD_EXT = \"  .GS-x \"\n");
    EXPECT_EQ(language.extension(), "  .GS-x ");
}

TEST_F(GsdLanguageTest, ContinuationLinesJoinIntoOneValue) {
    GsdLanguage language = parsed(
        "long = \"part one, \\\n"
        "part two, \\\n"
        "part three\"\n"
        "next = \"x\"\n");
    EXPECT_EQ(language.lookup("long"), "part one, part two, part three");
    EXPECT_EQ(language.lookup("next"), "x");
}

TEST_F(GsdLanguageTest, EscapesGiveLineBreaksAndQuotes) {
    GsdLanguage language = parsed(
        "two = \"line one\\nline two\"\n"
        "quoted = \"the \\\"best\\\" one\"\n"
        "other = \"C:\\temp\"\n");
    EXPECT_EQ(language.lookup("two"), "line one\nline two");
    EXPECT_EQ(language.lookup("quoted"), "the \"best\" one");
    EXPECT_EQ(language.lookup("other"), "C:\\temp");
}

TEST_F(GsdLanguageTest, NamesAreTrimmedAndLaterEntriesReplaceEarlierOnes) {
    GsdLanguage language = parsed(
        " \tvendor\t = \"first\"\n"
        "vendor=\"second\"\n");
    EXPECT_EQ(language.lookup("vendor"), "second");
}

TEST_F(GsdLanguageTest, EntriesWithAMissingQuoteAreReportedAndNotStored) {
    GsdLanguage language = parsed(
        "open = no quote at all\n"
        "close = \"never closed\n"
        "escaped = \"only an escaped quote\\\"\n");
    EXPECT_EQ(language.lookup("open"), std::nullopt);
    EXPECT_EQ(language.lookup("close"), std::nullopt);
    EXPECT_EQ(language.lookup("escaped"), std::nullopt);
    EXPECT_EQ(logText(),
              "[WARN]Kein fuehrendes \" bei Ersetzungsmarke open.\r\n"
              "[WARN]Kein schliessendes \" bei Ersetzungsmarke close.\r\n"
              "[WARN]Kein schliessendes \" bei Ersetzungsmarke escaped.\r\n");
}

TEST_F(GsdLanguageTest, UnclassifiableNamesAreReported) {
    GsdLanguage language = parsed(
        "GSD_OTHER = \"x\"\n"
        "Zebra = \"x\"\n"
        "1G = \"x\"\n");
    EXPECT_EQ(logText(),
              "[WARN]Kann Ersetzungsmarke GSD_OTHER nicht eindeutig erkennen.\r\n"
              "[WARN]Kann Ersetzungsmarke Zebra nicht eindeutig erkennen.\r\n"
              "[WARN]Kann Ersetzungsmarke 1G nicht eindeutig erkennen.\r\n");
}

TEST_F(GsdLanguageTest, LookupOfANameOfNoKindIsReportedWithoutBlank) {
    GsdLanguage language = parsed("");
    EXPECT_EQ(language.lookup("_x"), std::nullopt);
    EXPECT_EQ(language.lookup(""), std::nullopt);
    EXPECT_EQ(logText(),
              "[WARN]Kann Ersetzungsmarke _xnicht eindeutig erkennen.\r\n"
              "[WARN]Kann Ersetzungsmarke nicht eindeutig erkennen.\r\n");
}

TEST_F(GsdLanguageTest, LongLinesAreKeptWholeAndReported) {
    std::string longText(600, 'a');
    GsdLanguage language = parsed("short = \"ok\"\nlong = \"" + longText + "\"\n");
    EXPECT_EQ(language.lookup("long"), longText);
    EXPECT_EQ(logText(), "[WARN]Gelesene Zeile ist zu lang fuer festen Puffer.\r\n");
}

TEST_F(GsdLanguageTest, JoinedLinesBeyondTheOldLimitAreReported) {
    std::string half(300, 'b');
    GsdLanguage language = parsed("long = \"" + half + "\\\n" + half + "\"\n");
    EXPECT_EQ(language.lookup("long"), half + half);
    EXPECT_EQ(logText(), "[WARN]Gelesene Zeile ist zu lang fuer festen Puffer.\r\n");
}

TEST_F(GsdLanguageTest, CrLfFilesReadLikeLfFiles) {
    const std::string lf =
        "GSD_EXT = \".gsg\"\ncont = \"a \\\nb\"\nbreak = \"x\\ny\"\n// note\n\n1 = \"eins\"\n";
    std::string crlf;
    for (char c : lf) crlf += c == '\n' ? std::string("\r\n") : std::string(1, c);
    writeFile(dir_ / "lf.lang", lf);
    writeFile(dir_ / "crlf.lang", crlf);
    GsdLanguage fromLf(log_), fromCrLf(log_);
    fromLf.read(dir_ / "lf.lang");
    fromCrLf.read(dir_ / "crlf.lang");
    for (const char* name : {"cont", "break", "1"}) {
        EXPECT_EQ(fromLf.lookup(name), fromCrLf.lookup(name)) << name;
    }
    EXPECT_EQ(fromCrLf.lookup("cont"), "a b");
    EXPECT_EQ(fromCrLf.extension(), ".gsg");
}

TEST_F(GsdLanguageTest, AFileThatCannotBeReadIsAnErrorAndGivesNoTexts) {
    GsdLanguage language(log_);
    language.read(dir_ / "missing.lang");
    EXPECT_EQ(language.extension(), "");
    EXPECT_EQ(logText(),
              "[ERROR]Cannot open file \"" + (dir_ / "missing.lang").string() + "\".\r\n");
}

}  // namespace
}  // namespace varnak::gsd
