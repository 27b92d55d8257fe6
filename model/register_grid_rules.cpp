#include "model/register_grid_rules.h"

#include <cstdio>
#include <optional>

#include "model/basConvert.h"
#include "model/text_util.h"

namespace varnak {
namespace {

constexpr int64_t kLongMax = 2147483647;

int32_t word(int32_t value) {
    return value & 0xFFFF;
}

// The decimal digits of a checked text (an optional "-" first); nullopt without digits
// or beyond what a 32-bit number holds.
std::optional<int64_t> decimalOf(std::string_view text) {
    std::string_view t = trimBlankView(text);
    bool negative = !t.empty() && t.front() == '-';
    if (negative) t.remove_prefix(1);
    if (t.empty()) return std::nullopt;
    int64_t value = 0;
    for (char c : t) {
        value = value * 10 + (c - '0');
        if (value > kLongMax + 1) return std::nullopt;
    }
    return negative ? -value : value;
}

RegisterEntry accepted(int64_t value) {
    return {EntryVerdict::Accepted, static_cast<int32_t>(value & 0xFFFF)};
}

constexpr RegisterEntry kRefused{EntryVerdict::Refused, 0};
constexpr RegisterEntry kRestored{EntryVerdict::Restored, 0};

}  // namespace

RegisterDataType registerDataTypeAt(int index) {
    if (index < 0 || index >= kRegisterDataTypeCount) return RegisterDataType::Hex;
    return static_cast<RegisterDataType>(index);
}

std::string hex_ary(int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "0x %02X%02X", (word(value) >> 8) & 0xFF, value & 0xFF);
    return text;
}

int32_t dez_int_ary(int32_t value) {
    return static_cast<int16_t>(static_cast<uint16_t>(word(value)));
}

int32_t dez_uint_ary(int32_t value) {
    return word(value);
}

std::string bin_ary(int32_t value) {
    const std::string digits = gfValueToBin(word(value));
    std::string text;
    for (size_t group = 0; group < 4; ++group) text += " " + digits.substr(group * 4, 4);
    return text;
}

std::string registerDisplayText(RegisterDataType type, int32_t value) {
    switch (type) {
        case RegisterDataType::Signed:
            return std::to_string(dez_int_ary(value));
        case RegisterDataType::Unsigned:
            return std::to_string(dez_uint_ary(value));
        case RegisterDataType::Binary:
            return bin_ary(value);
        case RegisterDataType::Hex:
        case RegisterDataType::HexAlternative:
            break;
    }
    return hex_ary(value);
}

RegisterEntry checkRegisterEntry(RegisterDataType type, std::string_view text) {
    switch (type) {
        case RegisterDataType::Signed: {
            if (!gfIsSignedDecString(text)) return kRefused;
            auto v = decimalOf(text);
            if (!v || *v < -32768 || *v > 32767) return kRestored;
            return accepted(*v);
        }
        case RegisterDataType::Unsigned: {
            if (!gfIsDecString(text)) return kRefused;
            auto v = decimalOf(text);
            if (!v || *v > kLongMax) return kRestored;
            return accepted(*v);
        }
        case RegisterDataType::Binary: {
            if (!gfIsBinString(text)) return kRefused;
            auto v = gfBinToValue(text);
            if (!v || *v > static_cast<double>(kLongMax)) return kRestored;
            return accepted(static_cast<int64_t>(*v));
        }
        case RegisterDataType::Hex:
        case RegisterDataType::HexAlternative:
            break;
    }
    if (!gfIsHexString(text)) return kRefused;
    auto v = gfHexToValue(text);
    if (!v) return kRestored;
    return accepted(static_cast<int64_t>(*v));
}

}  // namespace varnak
