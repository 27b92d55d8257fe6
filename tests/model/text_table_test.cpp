#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "model/string_table.h"
#include "text_table_parse.h"

using varnak::texts::parseTextTable;
using varnak::texts::TextTableResult;

TEST(TextTableParse, KeepsBlanksAtBothEndsAndUnescapes) {
    TextTableResult r;
    parseTextTable(
        "# comment\n10\tUpload Kopplerdaten... \t Upload coupler data... \n"
        "11\tA\\tB\tC\\nD\\\\\r\n",
        "t.tsv", r);
    ASSERT_TRUE(r.errors.empty());
    EXPECT_EQ(r.rows.at(10).german, "Upload Kopplerdaten... ");
    EXPECT_EQ(r.rows.at(10).english, " Upload coupler data... ");
    EXPECT_EQ(r.rows.at(11).german, "A\tB");
    EXPECT_EQ(r.rows.at(11).english, "C\nD\\");
}

TEST(TextTableParse, RejectsConflictsMissingLanguagesAndBadIds) {
    TextTableResult r;
    parseTextTable("1\tEins\tOne\n", "a.tsv", r);
    parseTextTable("1\tEins\tOne\n", "b.tsv", r);  // the same text twice is fine
    EXPECT_TRUE(r.errors.empty());
    parseTextTable("1\tEins\tOne \n", "c.tsv", r);
    parseTextTable("2\tZwei\n", "c.tsv", r);
    parseTextTable("3\t\tThree\n", "c.tsv", r);
    parseTextTable("2000\tX\tY\n", "c.tsv", r);
    parseTextTable("x\tX\tY\n", "c.tsv", r);
    parseTextTable("4\tA\\q\tB\n", "c.tsv", r);
    ASSERT_EQ(r.errors.size(), 6u);
    EXPECT_NE(r.errors[0].find("c.tsv:1"), std::string::npos);
    EXPECT_NE(r.errors[0].find("different"), std::string::npos);
    EXPECT_EQ(r.rows.at(1).english, "One");
}

// Every texts*.tsv of the source tree, read as the build reads them: no conflicts and
// both languages in every row.
TEST(TextTableParse, SourceTreeTablesAreConsistent) {
    const char* source = std::getenv("VARNAK_SOURCE_DIR");
    ASSERT_NE(source, nullptr);
    TextTableResult r;
    for (const auto& folder : std::filesystem::directory_iterator(source)) {
        if (!folder.is_directory()) continue;
        for (const auto& entry : std::filesystem::directory_iterator(folder.path())) {
            auto file = entry.path();
            auto name = file.filename().string();
            if (name.rfind("texts", 0) != 0 || file.extension() != ".tsv") continue;
            std::ifstream in(file, std::ios::binary);
            std::stringstream content;
            content << in.rdbuf();
            parseTextTable(content.str(), file.string(), r);
        }
    }
    for (const auto& e : r.errors) ADD_FAILURE() << e;
    EXPECT_FALSE(r.rows.empty());
}

TEST(StringTable, GermanBelowTwoThousandEnglishAbove) {
    EXPECT_EQ(varnak::LoadResString(469), "Keine Kommunikation mit Koppler!");
    EXPECT_EQ(varnak::LoadResString(2469), "No communication with coupler!");
    EXPECT_EQ(varnak::LoadResString(-1), "");
    EXPECT_EQ(varnak::LoadResString(4469), "");
    EXPECT_TRUE(varnak::HasResString(2469));
}
