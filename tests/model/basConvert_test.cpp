#include "model/basConvert.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace varnak {
namespace {

struct CheckCase {
    const char* text;
    bool expected;
};

TEST(TextChecks, Hexadecimal) {
    const CheckCase cases[] = {
        {"0x1f", true},  {" ", true},          {"a", true},     {"", true},     {"1G", false},
        {"A0X1", false}, {"  0X12 34 ", true}, {"12 34", true}, {"0x", true},   {"x", false},
        {"-1", false},   {"\t1", false},       {"FFFF", true},  {"0xg", false}, {"1 0x2", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gfIsHexString(c.text), c.expected) << '"' << c.text << '"';
}

TEST(TextChecks, DecimalSignedAndBinary) {
    const CheckCase dec[] = {{"", true},     {"  42 ", true}, {"4 2", false}, {"-1", false},
                             {"1.0", false}, {"+1", false},   {"007", true}};
    for (const auto& c : dec) EXPECT_EQ(gfIsDecString(c.text), c.expected) << c.text;

    const CheckCase sdec[] = {{"-12", true},  {"1-2", false}, {"", true},     {"-", true},
                              {" -5 ", true}, {"--5", false}, {"- 5", false}, {"12", true}};
    for (const auto& c : sdec) EXPECT_EQ(gfIsSignedDecString(c.text), c.expected) << c.text;

    const CheckCase bin[] = {{"", true},     {"1 0000 0001", true}, {"12", false},
                             {"0b1", false}, {"  101 ", true},      {"\t1", false}};
    for (const auto& c : bin) EXPECT_EQ(gfIsBinString(c.text), c.expected) << c.text;
}

TEST(TextChecks, IniHexValue) {
    const CheckCase cases[] = {
        {"0x1234", true},  {" 0X7fffffff ", true}, {"0x", true},          {"0X", true},
        {"1234", false},   {"0x12 34", false},     {"x", false},          {"", false},
        {"0x12G4", false}, {"00x12", false},       {"0xFFFFFFFFF", true},
    };
    for (const auto& c : cases) EXPECT_EQ(gfIsHexValue(c.text), c.expected) << '"' << c.text << '"';
}

TEST(HexToValue, SixteenAndThirtyTwoBitRules) {
    struct Case {
        const char* text;
        std::optional<double> expected;
    } cases[] = {
        {"0xFFFF", -1},   {"0x10000", 65536}, {"0x12 34", 4660},        {"0x12G4", 18},
        {"", 0},          {"0x", 0},          {"7FFF", 32767},          {"8000", -32768},
        {"0FFFF", 65535}, {"FFFFFFFF", -1},   {"7FFFFFFF", 2147483647}, {"80000000", -2147483648.0},
        {"A0X1", 0},      {"ff", 255},        {"000000001", 1},         {"123456789", std::nullopt},
        {" 0x 1 2 ", 18}, {"G1", 0},
    };
    for (const auto& c : cases) EXPECT_EQ(gfHexToValue(c.text), c.expected) << '"' << c.text << '"';
}

TEST(HexValToLong, ReadsWhatTheWriterWrites) {
    struct Case {
        const char* text;
        std::optional<int32_t> expected;
    } cases[] = {
        {"0xFFFF", 65535},
        {"0X7fffffff", 2147483647},
        {"0xFFFFFFFF", -1},
        {"0x80000000", INT32_MIN},
        {"0x00FF", 255},
        {"0x", std::nullopt},
        {"", std::nullopt},
        {"0x12 34", std::nullopt},
        {"0x100000000", std::nullopt},
        {"0x000000001", 1},
        {"0xFFFFFFFFFF", std::nullopt},
        {"0x1G", std::nullopt},
        {"  0x10  ", 16},
    };
    for (const auto& c : cases)
        EXPECT_EQ(gfHexValToLong(c.text), c.expected) << '"' << c.text << '"';
}

TEST(ValueToHex, PaddingAndSign) {
    struct Case {
        int32_t value;
        const char* expected;
    } cases[] = {
        {0, "0x0000"},        {255, "0x00FF"},        {4660, "0x1234"},
        {65535, "0xFFFF"},    {65536, "0x10000"},     {0x123456, "0x123456"},
        {-1, "0xFFFFFFFFFF"}, {-256, "0xFFFFFFFF00"}, {INT32_MAX, "0x7FFFFFFF"},
        {4096, "0x1000"},     {15, "0x000F"},
    };
    for (const auto& c : cases) EXPECT_EQ(gfValueToHex(c.value), c.expected) << c.value;
}

TEST(IniRegisterText, NegativeValuesReadBackIdentically) {
    EXPECT_EQ(iniRegisterText(4660), "0x1234");
    EXPECT_EQ(iniRegisterText(0), "0x0000");
    EXPECT_EQ(iniRegisterText(-1), "0xFFFFFFFF");
    EXPECT_EQ(iniRegisterText(-32768), "0xFFFF8000");
    for (int32_t v : {-1, -2, -32768, -65536, INT32_MIN, 0, 1, 65535, 65536, INT32_MAX}) {
        std::string text = iniRegisterText(v);
        EXPECT_TRUE(gfIsHexValue(text)) << text;
        EXPECT_EQ(gfHexValToLong(text), v) << text;
    }
}

TEST(BinaryTexts, ReadingAndWriting) {
    struct Case {
        const char* text;
        double expected;
    } cases[] = {{"1 0000 0001", 257},
                 {"12", 0},
                 {"21", 1},
                 {"", 0},
                 {"  101  ", 5},
                 {"1x11", 3},
                 {"0", 0},
                 {"1111111111111111", 65535},
                 {"100000000000000000000000000000000", 4294967296.0}};
    for (const auto& c : cases) EXPECT_EQ(gfBinToValue(c.text), c.expected) << c.text;
    EXPECT_EQ(gfBinToValue(std::string(1100, '1')), std::nullopt);

    EXPECT_EQ(gfValueToBin(5), "0000000000000101");
    EXPECT_EQ(gfValueToBin(0x18000), "1000000000000000");  // bits above 15 ignored
    EXPECT_EQ(gfValueToBin(-1), "1111111111111111");
    EXPECT_EQ(gfByteToBitString(5), "10100000");
    EXPECT_EQ(gfByteToBitString(1), "10000000");
    EXPECT_EQ(gfByteToBitString(0x180), "00000001");  // bits above 7 ignored
}

TEST(RoundHalfToEven, HalvesGoToTheEvenNeighbour) {
    struct Case {
        double value;
        std::optional<int32_t> expected;
    } cases[] = {{0.5, 0},
                 {1.5, 2},
                 {2.5, 2},
                 {3.5, 4},
                 {-0.5, 0},
                 {-1.5, -2},
                 {-2.5, -2},
                 {2.4999, 2},
                 {2.5001, 3},
                 {1.0 * INT32_MAX, INT32_MAX},
                 {2147483648.0, std::nullopt},
                 {-2147483648.0, INT32_MIN},
                 {2147483647.5, std::nullopt},
                 {1.0 / 0.0, std::nullopt}};
    for (const auto& c : cases) EXPECT_EQ(roundHalfToEven(c.value), c.expected) << c.value;
}

// Every 16-bit register value survives each text form it is shown or typed in.
TEST(RoundTrips, AllSixteenBitValues) {
    for (int32_t v = 0; v <= 0xFFFF; ++v) {
        const std::string hex = gfValueToHex(v);
        ASSERT_EQ(hex.size(), 6u) << v;
        ASSERT_TRUE(gfIsHexString(hex)) << hex;
        ASSERT_TRUE(gfIsHexValue(hex)) << hex;
        ASSERT_EQ(gfHexValToLong(hex), v) << hex;
        ASSERT_EQ(static_cast<int32_t>(*gfHexToValue(hex)) & 0xFFFF, v) << hex;
        ASSERT_EQ(iniRegisterText(v), hex);

        const std::string dec = std::to_string(v);
        ASSERT_TRUE(gfIsDecString(dec)) << dec;
        ASSERT_TRUE(gfIsSignedDecString(dec)) << dec;

        const int16_t signedValue = static_cast<int16_t>(v);
        const std::string sdec = std::to_string(signedValue);
        ASSERT_TRUE(gfIsSignedDecString(sdec)) << sdec;
        ASSERT_EQ(gfIsDecString(sdec), signedValue >= 0) << sdec;
        ASSERT_EQ(static_cast<int32_t>(*gfHexToValue(hex)), signedValue) << hex;

        const std::string bin = gfValueToBin(v);
        ASSERT_TRUE(gfIsBinString(bin)) << bin;
        ASSERT_EQ(gfBinToValue(bin), v) << bin;
        ASSERT_EQ(gfByteToBitString(v & 0xFF), std::string(bin.rbegin(), bin.rbegin() + 8)) << v;
    }
}

}  // namespace
}  // namespace varnak
