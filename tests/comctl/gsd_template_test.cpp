#include "comctl/gsd_template.h"

#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "comctl/gsd_text_io.h"
#include "tests/support/temp_dir.h"

namespace varnak::gsd {
namespace {

using test::readFile;
using test::TempDir;

// A template run against a coupler record and a language given as text; the output and the
// log are compared as written.
class GsdTemplateTest : public ::testing::Test {
  protected:
    GsdTemplateTest() {
        log_.create(dir_ / "GSD.LOG");
        setCoupler("QZ3100", kGroupHighEnd, kAsicSpc4, kBaud12M, kInterfaceRs485);
        coupler_.softwareRelease = "12";
        coupler_.hardwareRelease = "00";
        coupler_.created.tm_year = 126;
        coupler_.created.tm_mon = 2;
        coupler_.created.tm_mday = 4;
    }

    void setCoupler(const char* name, int group, int asic, int baud, int interfaceKind) {
        coupler_.name = name;
        coupler_.group = group;
        coupler_.asic = asic;
        coupler_.baudRate = baud;
        coupler_.interfaceKind = interfaceKind;
    }

    void addDigital(int bits, bool inputs, bool outputs) {
        coupler_.terminals.push_back(
            {static_cast<uint16_t>(0x8000 | (bits << 8) | (inputs ? 1 : 0) | (outputs ? 2 : 0))});
    }

    // Output of the template lines (LF-separated) with a fresh engine.
    std::string run(const std::string& templateText, const std::string& languageText = "") {
        GsdLanguage language(log_);
        language.parse(splitTextLines(languageText));
        std::ostringstream out;
        GsdLineWriter writer(out);
        GsdTemplateEngine engine(coupler_, language, log_, writer);
        for (const std::string& line : splitTextLines(templateText)) engine.processLine(line);
        return out.str();
    }

    // The log lines written so far that are warnings or errors.
    std::string problems() {
        std::string result;
        for (const std::string& line : splitTextLines(readFile(dir_ / "GSD.LOG"))) {
            if (line.starts_with("[")) result += line + "\n";
        }
        return result;
    }

    TempDir dir_;
    GsdLog log_;
    CGSDDatei coupler_;
};

TEST_F(GsdTemplateTest, ColumnVariablePadsSoTheNextTextStartsAtThatColumn) {
    std::string out = run(":AA:::NAME:: ::COL20::X\n");
    EXPECT_EQ(out, "QZ3100" + std::string(13, ' ') + "X\r\n");
    EXPECT_EQ(out.find('X'), 19u);
    EXPECT_EQ(problems(), "");
}

TEST_F(GsdTemplateTest, ColumnAlreadyPassedIsReportedBeforeTheLine) {
    EXPECT_EQ(run(":AA:A long start of a line::COL05::x\n:AA:abcd::COL05::y\n"),
              "A long start of a linex\r\nabcdy\r\n");
    EXPECT_EQ(readFile(dir_ / "GSD.LOG"),
              "[WARN]Die (der Warnung folgende) Zeile konnte nicht ausgerichtet werden.\r\n"
              "A long start of a linex\r\nabcdy\r\n");
}

TEST_F(GsdTemplateTest, BuiltInVariables) {
    EXPECT_EQ(run(":AA:::DATE::|::NAME::|::HWREL::|::SWREL::|::ASIC::|::UNKNOWN::|::COL1::|\n"),
              "03.04.26|QZ3100|00|12|SPC4|||\r\n");
    EXPECT_EQ(problems(), "");
}

TEST_F(GsdTemplateTest, LanguageVariablesAndTheirFailures) {
    std::string out = run(":AA:<::vendor::><::10::><::missing::><::_odd::>\n",
                          "vendor = \"Harvenor\"\n10 = \"sixteen\"\n");
    EXPECT_EQ(out, "<Harvenor><sixteen><><>\r\n");
    EXPECT_EQ(problems(),
              "[WARN]Unbekannter Variablen-Bezeichner 'missing'\n"
              "[WARN]Kann Ersetzungsmarke _oddnicht eindeutig erkennen.\n"
              "[WARN]Unbekannter Variablen-Bezeichner '_odd'\n");
}

TEST_F(GsdTemplateTest, InsertedValuesAreNotScannedAgainAndLineBreaksBecomeCrLf) {
    EXPECT_EQ(run(":AA:::text::!\n", "text = \"a ::NAME:: b\\n; second\"\n"),
              "a ::NAME:: b\r\n; second!\r\n");
}

TEST_F(GsdTemplateTest, UnclosedVariableStaysText) {
    EXPECT_EQ(run(":AA:x ::NAME y\n"), "x ::NAME y\r\n");
}

TEST_F(GsdTemplateTest, AsicMaskKeepsTheLineOnlyForItsBits) {
    for (int asic = 0; asic <= 4; ++asic) {
        coupler_.asic = asic;
        EXPECT_EQ(run(":BC06:kept\n"), asic == 1 || asic == 2 ? "kept\r\n" : "") << asic;
    }
    EXPECT_EQ(problems(), "");
}

TEST_F(GsdTemplateTest, InvalidOrEmptyMasksAreReportedAndDropTheLine) {
    EXPECT_EQ(run(":BC20:a\n:BB:b\n:BDzz:c\n:BE1F:d\n"), "d\r\n");
    EXPECT_EQ(problems(),
              "[WARN]Unbekannter/ ungueltiger Selektorparameter '20'\n"
              "[WARN]Leerer Selektorparameter\n"
              "[WARN]Unbekannter/ ungueltiger Selektorparameter 'zz'\n");
}

TEST_F(GsdTemplateTest, EachPropertyHasItsSelector) {
    setCoupler("QZ3500", kGroupEconomy, kAsicSpc3, kBaud1_5M, kInterfaceFibre);
    EXPECT_EQ(run(":BB02:group\n:BB01:no\n:BC02:asic\n:BD01:baud\n:BD02:no\n:BE02:fibre\n"
                  ":BE01:no\n"),
              "group\r\nasic\r\nbaud\r\nfibre\r\n");
}

TEST_F(GsdTemplateTest, NameTestComparesWithoutCase) {
    setCoupler("QZ3010", kGroupEconomy, kAsicSpc3, kBaud1_5M, kInterfaceRs485);
    EXPECT_EQ(run(":NTQZ3000:a\n:NTQZ3010:b\n:NTqz3010:c\n"), "b\r\nc\r\n");
    setCoupler("QZ3000", kGroupHighEnd, kAsicSpc, kBaud1_5M, kInterfaceRs485);
    EXPECT_EQ(run(":NTQZ3000:a\n"), "a\r\n");
    EXPECT_EQ(problems(), "");
}

TEST_F(GsdTemplateTest, UnknownNameTestParameterIsReported) {
    EXPECT_EQ(run(":NTQZ9999:a\n:NTQP10XX:b\n"), "");
    EXPECT_EQ(problems(), "[WARN]Unbekannter Namens-Test-Parameter QZ9999'.\n");
}

TEST_F(GsdTemplateTest, ElseWritesExactlyOneOfTwoLines) {
    const std::string text = ":BB01:high end\n:ELSE:other\n";
    EXPECT_EQ(run(text), "high end\r\n");
    coupler_.group = kGroupEconomy;
    EXPECT_EQ(run(text), "other\r\n");
}

TEST_F(GsdTemplateTest, ElseFollowsOnlyTheDirectlyPreviousLine) {
    coupler_.group = kGroupEconomy;
    EXPECT_EQ(run(":BB01:a\n:AA:b\n:ELSE:c\n:BB01:d\n:ELSE:e\n:ELSE:f\n"), "b\r\ne\r\n");
}

TEST_F(GsdTemplateTest, SelectorsCombineFromLeftToRight) {
    EXPECT_EQ(
        run(":BB02::AA:reset by AA\n:AA::BB02:dropped\n:BA::BA:kept\n:AA::BB02::BA:dropped\n"),
        "reset by AA\r\nkept\r\n");
}

TEST_F(GsdTemplateTest, EmptySelectorEndsTheListAndStaysInTheLine) {
    EXPECT_EQ(run(":AA:::NAME::\n:AA:::BB02:x\n:BB01::BB02:y\n"), "QZ3100\r\n::BB02:x\r\n");
}

TEST_F(GsdTemplateTest, ElseMustBeTheWholeSelector) {
    coupler_.group = kGroupEconomy;
    EXPECT_EQ(run(":BB01:a\n:ELSEX:b\n"), "");
    EXPECT_EQ(problems(), "[WARN]Unbekannter Zeilenselektor :ELSEX:\n");
}

TEST_F(GsdTemplateTest, LinesWithoutSelectorAreWrittenUnchangedAndReported) {
    EXPECT_EQ(run("plain ::NAME::\n\n:AA\n"), "plain ::NAME::\r\n\r\n:AA\r\n");
    EXPECT_EQ(problems(),
              "[WARN]kein Zeilenselektor\n[WARN]Leerzeile\n[WARN]kein Zeilenselektor\n");
}

TEST_F(GsdTemplateTest, UnknownSelectorsAreReportedAndDropTheLine) {
    EXPECT_EQ(run(":ZZ9:a\n:X:b\n"), "");
    EXPECT_EQ(problems(),
              "[WARN]Unbekannter Zeilenselektor :ZZ9:\n[WARN]Unbekannter Zeilenselektor :X:\n");
}

TEST_F(GsdTemplateTest, NoTerminalsSelectorAndItsParameter) {
    EXPECT_EQ(run(":KN:empty station\n"), "empty station\r\n");
    addDigital(8, true, false);
    EXPECT_EQ(run(":KN:empty station\n:KNx:y\n"), "");
    EXPECT_EQ(problems(), "[WARN]In :KN: kein Parameter erlaubt\n");
}

TEST_F(GsdTemplateTest, ModuleLinesAreOrdinaryLinesWithoutTerminals) {
    EXPECT_EQ(run(":KD18:Module \"8 in\"\n:KA003002:Module \"analog\"\n:BB02::KD18:x\n:KE:\n"),
              "Module \"8 in\"\r\nModule \"analog\"\r\n");
    EXPECT_EQ(problems(), "");
}

TEST_F(GsdTemplateTest, ModuleLinesAreWrittenWhereTheAssignmentStands) {
    addDigital(8, true, false);
    addDigital(4, false, true);
    coupler_.terminals.push_back({3064});
    EXPECT_EQ(run(":AA:head\n"
                  ":KD18:Module = \"8 ::di::\" 0x10\n"
                  ":KD18:EndModule\n"
                  ":KD28:Module = \"8 out\" 0x20\n"
                  ":KD28:EndModule\n"
                  ":BB02::KD116:not registered on a high-end coupler\n"
                  ":KA0030xx:Module = \"QT30xx\" 0x50\n"
                  ":KA0030xx:EndModule\n"
                  ":ELSE:after module lines\n"
                  ":AA:before\n"
                  ":KE:\n"
                  ":AA:tail\n",
                  "di = \"Bit digital input\"\n"),
              "head\r\nafter module lines\r\nbefore\r\n"
              "Module = \"QT3064\" 0x50\r\nEndModule\r\n"
              "Module = \"8 Bit digital input\" 0x10\r\nEndModule\r\n"
              "Module = \"8 out\" 0x20\r\nEndModule\r\n"
              "tail\r\n");
    EXPECT_EQ(problems(), "");
}

TEST_F(GsdTemplateTest, AssignmentWithParameterIsRefused) {
    addDigital(8, true, false);
    EXPECT_EQ(run(":KD18:in\n:KE1:\n:KE:\n"), "in\r\n");
    EXPECT_EQ(problems(), "[WARN]In :KE: kein Parameter erlaubt\n");
}

TEST_F(GsdTemplateTest, DefinitionsAreDroppedAfterEachAssignment) {
    addDigital(8, true, false);
    EXPECT_EQ(run(":KD18:in\n:KE:\n:KE:\n"), "in\r\n");
    EXPECT_EQ(problems(),
              "[WARN]Kann digital In-/ Outputs nicht an registrierte In-/ Outputs zuweisen.\n");
}

// A long line stays one line (older tools split it in two) and is reported before it.
TEST_F(GsdTemplateTest, TemplateLinesHaveNoLengthLimitButLongOnesAreReported) {
    std::string longText(2000, 'g');
    std::string limit(512 - 4, 'h');
    EXPECT_EQ(run(":AA:" + limit + "\n:AA:" + longText + "::NAME::\n"),
              limit + "\r\n" + longText + "QZ3100\r\n");
    EXPECT_EQ(readFile(dir_ / "GSD.LOG"),
              limit + "\r\n[WARN]Gelesene Zeile ist zu lang fuer festen Puffer.\r\n" + longText +
                  "QZ3100\r\n");
}

// Template and language text made of the pieces the parsers look for, in any order: every
// line is either written with CRLF or dropped, and nothing reads or writes out of bounds.
TEST_F(GsdTemplateTest, AnyTemplateAndLanguageTextIsProcessedSafely) {
    static const std::vector<std::string> kPieces = {
        ":",     "::",         ":::",       "AA",
        "BA",    "BB",         "BC1F",      "BD",
        "BE20",  "KN",         "KD",        "KD1",
        "KD18",  "KD2x",       "KA",        "KA0",
        "KA00",  "KA0030xx",   "KA1060016", "KA003002FFF",
        "KE",    "KEx",        "NT",        "NTQZ3100",
        "ELSE",  "COL",        "COL9",      "COL99",
        "COL00", "NAME",       "DATE",      "ASIC",
        "SWREL", "x",          "X",         "30xx",
        "3002",  "=",          "\"",        "\\",
        "\\n",   "\\\"",       "//",        " ",
        "\t",    "\r",         "a",         "1",
        "10",    "FFFFFFFFFF", "GSD_EXT",   std::string(1, '\0'),
        "\xFF",  "\x80"};
    static const std::vector<std::string> kStarts = {
        ":AA:",   ":BA:",       ":BB01:",      ":BC06:", ":KN:",        ":KD18:", ":KD116:",
        ":KD28:", ":KA0030xx:", ":KA1060016:", ":KA11",  ":KE:",        ":ELSE:", ":NTQZ3100:",
        "::",     "",           "a = \"",      "1 = \"", "GSD_EXT = \""};
    std::mt19937 rng(1209);
    auto text = [&](size_t lines) {
        std::string out;
        for (size_t l = 0; l < lines; ++l) {
            for (size_t n = rng() % 3; n > 0; --n) out += kStarts[rng() % kStarts.size()];
            for (size_t n = rng() % 12; n > 0; --n) out += kPieces[rng() % kPieces.size()];
            out += '\n';
        }
        return out;
    };
    addDigital(12, true, false);
    addDigital(8, false, true);
    coupler_.terminals.push_back({3064, true, false, 7});
    coupler_.terminals.push_back({6001, false, true, 255});
    size_t written = 0;
    for (int round = 0; round < 1000; ++round) {
        std::string out = run(text(30), text(20));
        written += out.size();
        // Written lines end with CRLF; a bare LF appears only inside a CRLF pair.
        ASSERT_TRUE(out.empty() || out.ends_with("\r\n")) << round;
        for (size_t at = out.find('\n'); at != std::string::npos; at = out.find('\n', at + 1))
            ASSERT_TRUE(at > 0 && out[at - 1] == '\r') << round;
    }
    EXPECT_GT(written, 100000u);
}

}  // namespace
}  // namespace varnak::gsd
