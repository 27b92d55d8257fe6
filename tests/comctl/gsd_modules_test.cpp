#include "comctl/gsd_modules.h"

#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "tests/support/temp_dir.h"

namespace varnak::gsd {
namespace {

using test::readFile;
using test::TempDir;

GsdTerminalEntry analog(uint16_t type, bool flagA = false, bool flagB = false, uint8_t size = 255) {
    return {type, flagA, flagB, size};
}

// A digital terminal of bits bits with inputs and/or outputs.
GsdTerminalEntry digital(int bits, bool inputs, bool outputs) {
    uint16_t word =
        static_cast<uint16_t>(0x8000 | (bits << 8) | (inputs ? 1 : 0) | (outputs ? 2 : 0));
    return {word};
}

class GsdModulesTest : public ::testing::Test {
  protected:
    GsdModulesTest() { log_.create(dir_ / "GSD.LOG"); }

    std::string assign(const std::vector<GsdTerminalEntry>& terminals) {
        modules_.assign(terminals, writer_, log_);
        return out_.str();
    }
    std::string logText() { return readFile(dir_ / "GSD.LOG"); }

    TempDir dir_;
    GsdLog log_;
    std::ostringstream out_;
    GsdLineWriter writer_{out_};
    GsdModuleList modules_;
};

TEST(GsdModuleDefinitions, DigitalParameterGivesDirectionAndBitCount) {
    CGSDDateiClampDigital inputs("1128");
    EXPECT_TRUE(inputs.inputs());
    EXPECT_FALSE(inputs.outputs());
    EXPECT_EQ(inputs.bitCount(), 128);
    CGSDDateiClampDigital outputs("216");
    EXPECT_FALSE(outputs.inputs());
    EXPECT_TRUE(outputs.outputs());
    EXPECT_EQ(outputs.bitCount(), 16);
    // Bit 0 wins over bit 1.
    CGSDDateiClampDigital both("38");
    EXPECT_TRUE(both.inputs());
    EXPECT_FALSE(both.outputs());
    CGSDDateiClampDigital broken("1x");
    EXPECT_EQ(broken.bitCount(), -1);
}

TEST(GsdModuleDefinitions, AnalogParameterGivesMasksTypeAndSize) {
    CGSDDateiClampAnalog exact("12300115");
    EXPECT_EQ(exact.maskA(), 1);
    EXPECT_EQ(exact.maskB(), 2);
    EXPECT_EQ(exact.typeNumber(), 3001);
    EXPECT_EQ(exact.sizeByte(), 0x15);
    CGSDDateiClampAnalog pattern("0030xx");
    EXPECT_EQ(pattern.typeNumber(), -1);
    EXPECT_EQ(pattern.pattern(), "30xx");
    EXPECT_EQ(pattern.sizeByte(), 255);
}

TEST(GsdModuleDefinitions, PatternMatchesTypesOfItsLengthOnly) {
    CGSDDateiClampAnalog pattern("0030xx");
    EXPECT_TRUE(pattern.matches(analog(3002)));
    EXPECT_TRUE(pattern.matches(analog(3064)));
    EXPECT_FALSE(pattern.matches(analog(302)));
    EXPECT_FALSE(pattern.matches(analog(13002)));
    EXPECT_FALSE(pattern.matches(analog(4002)));
    CGSDDateiClampAnalog mixed("00x0Xx");
    EXPECT_TRUE(mixed.matches(analog(1000)));
    EXPECT_TRUE(mixed.matches(analog(9099)));
    EXPECT_FALSE(mixed.matches(analog(9199)));
}

TEST(GsdModuleDefinitions, MasksFilterByFlags) {
    struct Case {
        const char* parameter;
        bool flagA, flagB, matches;
    };
    const Case cases[] = {
        {"005001", false, false, true}, {"005001", true, true, true},
        {"105001", true, false, true},  {"105001", false, false, false},
        {"205001", false, false, true}, {"205001", true, false, false},
        {"305001", true, false, true},  {"305001", false, true, true},
        {"015001", false, false, true}, {"015001", false, true, false},
        {"025001", false, true, true},  {"025001", false, false, false},
        {"035001", false, true, true},  {"035001", false, false, true},
    };
    for (const Case& c : cases) {
        CGSDDateiClampAnalog definition(c.parameter);
        EXPECT_EQ(definition.matches(analog(5001, c.flagA, c.flagB)), c.matches)
            << c.parameter << " A=" << c.flagA << " B=" << c.flagB;
    }
}

TEST(GsdModuleDefinitions, SizeByteMustEqualTheEntrysSize) {
    CGSDDateiClampAnalog sized("106001B");
    EXPECT_TRUE(sized.matches(analog(6001, true, false, 11)));
    EXPECT_FALSE(sized.matches(analog(6001, true, false, 12)));
    EXPECT_FALSE(sized.matches(analog(6001, true, false, 255)));
    CGSDDateiClampAnalog unsized("006001");
    EXPECT_TRUE(unsized.matches(analog(6001)));
    EXPECT_FALSE(unsized.matches(analog(6001, true, false, 6)));
}

TEST(GsdModuleDefinitions, DigitalEntriesAndMalformedParametersNeverMatch) {
    CGSDDateiClampAnalog definition("0030xx");
    EXPECT_FALSE(definition.matches(digital(8, true, false)));
    for (const char* broken : {"", "0", "G03002", "0G3002", "003z02", "003002ZZ", "0030021FF"}) {
        CGSDDateiClampAnalog malformed(broken);
        EXPECT_FALSE(malformed.matches(analog(3002))) << broken;
    }
}

TEST_F(GsdModulesTest, EqualDefinitionsCollectTheirLinesInOrder) {
    modules_.registerAnalog("003002", "Module = \"a\"");
    modules_.registerDigital("18", "Module = \"8 in\"");
    modules_.registerAnalog("003002", "EndModule");
    modules_.registerAnalog("003002", "; second definition line");
    modules_.registerAnalog("013002", "other masks");
    modules_.registerDigital("18", "EndModule");
    ASSERT_EQ(modules_.definitions().size(), 3u);
    EXPECT_EQ(modules_.definitions()[0]->lineCount(), 3u);
    EXPECT_EQ(modules_.definitions()[1]->lineCount(), 2u);
    EXPECT_EQ(assign({analog(3002)}),
              "Module = \"a\"\r\nEndModule\r\n; second definition line\r\n");
}

TEST_F(GsdModulesTest, PatternDefinitionsWriteTheMatchedType) {
    modules_.registerAnalog("0030xx", "Module = \"QT30xx, also 30xx\" 0x50");
    modules_.registerAnalog("0030xx", "EndModule");
    EXPECT_EQ(assign({analog(3064), analog(3002)}),
              "Module = \"QT3064, also 30xx\" 0x50\r\nEndModule\r\n"
              "Module = \"QT3002, also 30xx\" 0x50\r\nEndModule\r\n");
}

TEST_F(GsdModulesTest, FirstMatchingDefinitionWinsAndUnmatchedTerminalsAreReported) {
    modules_.registerAnalog("003002", "exact");
    modules_.registerAnalog("0030xx", "pattern");
    EXPECT_EQ(assign({analog(3002), analog(3003), analog(4002)}), "exact\r\npattern\r\n");
    EXPECT_EQ(logText(),
              "exact\r\npattern\r\n[WARN]Kann analog Klemme nicht an registrierte Klemme "
              "zuweisen: Position 3, Typ 4002\r\n");
}

TEST_F(GsdModulesTest, TwoHundredInputBitsGiveBlocksOf128And72) {
    modules_.registerDigital("1128", "in 128");
    modules_.registerDigital("172", "in 72");
    modules_.registerDigital("2128", "out 128");
    std::vector<GsdTerminalEntry> terminals(25, digital(8, true, false));
    EXPECT_EQ(assign(terminals), "in 128\r\nin 72\r\n");
    EXPECT_EQ(logText(), "in 128\r\nin 72\r\n");
}

TEST_F(GsdModulesTest, TotalsAreRoundedUpToWholeBytes) {
    modules_.registerDigital("116", "in 16");
    modules_.registerDigital("28", "out 8");
    EXPECT_EQ(assign({digital(4, true, true), digital(8, true, false), digital(2, false, true)}),
              "in 16\r\nout 8\r\n");
}

TEST_F(GsdModulesTest, MissingBlockSizeIsReportedAndWritesNothing) {
    modules_.registerDigital("18", "in 8");
    EXPECT_EQ(assign({digital(12, true, false)}), "");
    EXPECT_EQ(logText(),
              "[WARN]Kann digital In-/ Outputs nicht an registrierte In-/ Outputs zuweisen.\r\n");
}

TEST_F(GsdModulesTest, AnalogLinesComeFirstThenInputsThenOutputs) {
    modules_.registerDigital("28", "out 8");
    modules_.registerDigital("18", "in 8");
    modules_.registerAnalog("004002", "analog");
    EXPECT_EQ(assign({digital(8, false, true), analog(4002), digital(8, true, false)}),
              "analog\r\nin 8\r\nout 8\r\n");
}

TEST_F(GsdModulesTest, AssignmentDropsTheDefinitions) {
    modules_.registerDigital("18", "in 8");
    assign({digital(8, true, false)});
    EXPECT_TRUE(modules_.definitions().empty());
    out_.str("");
    EXPECT_EQ(assign({digital(8, true, false)}), "");
}

TEST_F(GsdModulesTest, ManyLinesPerDefinitionAreKept) {
    for (int i = 0; i < 9; ++i) modules_.registerDigital("18", "line " + std::to_string(i));
    std::string written = assign({digital(8, true, false)});
    EXPECT_NE(written.find("line 0\r\n"), std::string::npos);
    EXPECT_NE(written.find("line 8\r\n"), std::string::npos);
}

}  // namespace
}  // namespace varnak::gsd
