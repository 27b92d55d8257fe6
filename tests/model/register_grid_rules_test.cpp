// The register grids' display and entry rules: the examples of the editor's rules and every
// register word through display and entry of each data type.
#include "model/register_grid_rules.h"

#include <gtest/gtest.h>

namespace varnak {
namespace {

using T = RegisterDataType;
constexpr EntryVerdict kOk = EntryVerdict::Accepted;
constexpr EntryVerdict kRefused = EntryVerdict::Refused;
constexpr EntryVerdict kRestored = EntryVerdict::Restored;

TEST(RegisterGridRules, DisplayOfAValueInEachType) {
    struct Case {
        int32_t value;
        const char *hex, *binary;
        int32_t signedValue, unsignedValue;
    } cases[] = {
        {0x12AB, "0x 12AB", " 0001 0010 1010 1011", 4779, 4779},
        {65535, "0x FFFF", " 1111 1111 1111 1111", -1, 65535},
        {32768, "0x 8000", " 1000 0000 0000 0000", -32768, 32768},
        {5, "0x 0005", " 0000 0000 0000 0101", 5, 5},
        {-1, "0x FFFF", " 1111 1111 1111 1111", -1, 65535},  // an unmasked value shows its word
        {0x1FFFF, "0x FFFF", " 1111 1111 1111 1111", -1, 65535},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        EXPECT_EQ(hex_ary(c.value), c.hex);
        EXPECT_EQ(registerDisplayText(T::HexAlternative, c.value), c.hex);
        EXPECT_EQ(bin_ary(c.value), c.binary);
        EXPECT_EQ(dez_int_ary(c.value), c.signedValue);
        EXPECT_EQ(dez_uint_ary(c.value), c.unsignedValue);
        EXPECT_EQ(registerDisplayText(T::Signed, c.value), std::to_string(c.signedValue));
    }
    EXPECT_EQ(registerDataTypeAt(4), T::Binary);
    EXPECT_EQ(registerDataTypeAt(7), T::Hex);
}

TEST(RegisterGridRules, EntriesAreTakenRefusedOrRestored) {
    const std::string seventeen = "1" + std::string(15, '0') + "1";
    struct Case {
        T type;
        std::string text;
        EntryVerdict verdict;
        int32_t value;
    } cases[] = {
        {T::Hex, "0x1a2b", kOk, 0x1A2B},
        {T::Hex, "1A2B", kOk, 0x1A2B},
        {T::Hex, "1A 2B", kOk, 0x1A2B},
        {T::Hex, "0X 1A2B", kOk, 0x1A2B},
        {T::Hex, " 0x 12AB ", kOk, 0x12AB},
        {T::HexAlternative, "12345", kOk, 0x2345},
        {T::Hex, "G1", kRefused, 0},
        {T::Hex, "", kOk, 0},
        {T::Hex, "FFFFFFFF", kOk, 0xFFFF},
        {T::Hex, "123456789", kRestored, 0},
        {T::Signed, "-1", kOk, 65535},
        {T::Signed, "-32768", kOk, 32768},
        {T::Signed, "32767", kOk, 32767},
        {T::Signed, "1-2", kRefused, 0},
        {T::Signed, "40000", kRestored, 0},
        {T::Signed, "-32769", kRestored, 0},
        {T::Signed, "-", kRestored, 0},
        {T::Signed, "", kRestored, 0},
        {T::Signed, "+5", kRefused, 0},
        {T::Unsigned, "-1", kRefused, 0},
        {T::Unsigned, "70000", kOk, 4464},
        {T::Unsigned, "65536", kOk, 0},
        {T::Unsigned, "", kRestored, 0},
        {T::Unsigned, "2147483648", kRestored, 0},
        {T::Unsigned, "99999999999999999999", kRestored, 0},
        {T::Binary, seventeen, kOk, 1},
        {T::Binary, "1 0000 0000 0000 0001", kOk, 1},
        {T::Binary, "102", kRefused, 0},
        {T::Binary, "", kOk, 0},
        {T::Binary, std::string(31, '1'), kOk, 0xFFFF},
        {T::Binary, "1" + std::string(31, '0'), kRestored, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        RegisterEntry e = checkRegisterEntry(c.type, c.text);
        EXPECT_EQ(e.verdict, c.verdict);
        if (c.verdict == kOk) {
            EXPECT_EQ(e.value, c.value);
        }
    }
}

TEST(RegisterGridRules, EveryWordComesBackThroughDisplayAndEntryOfEachType) {
    for (int t = 0; t < kRegisterDataTypeCount; ++t) {
        const T type = registerDataTypeAt(t);
        for (int32_t v = 0; v <= 0xFFFF; ++v) {
            RegisterEntry e = checkRegisterEntry(type, registerDisplayText(type, v));
            ASSERT_EQ(e, (RegisterEntry{kOk, v})) << "type " << t << " value " << v;
        }
    }
}

}  // namespace
}  // namespace varnak
