#include "mapping/mapping_edit_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "mapping/mapping_address.h"
#include "model/text_util.h"

namespace varnak {
namespace {

constexpr std::string_view kImageKeys = "0123";
constexpr std::string_view kByteKeys = "1234567890";
constexpr std::string_view kBitKeys = "1234567890.";
constexpr int32_t kMaxImage = 3;
constexpr int32_t kMaxTypedByte = 255;
constexpr int32_t kMaxBit = 7;

bool isReference(int column) {
    return column >= kMappingColumnRef0 && column <= kMappingColumnLast;
}

// The keys a column of a row of a known kind takes.
std::string_view allowedKeys(int32_t dtype, int column) {
    if (column == kMappingColumnImage) return kImageKeys;
    if (dtype == kDTypeBit) return isReference(column) ? kBitKeys : std::string_view();
    return column == kMappingColumnCS || isReference(column) ? kByteKeys : std::string_view();
}

// A number formatted without decimals, halves away from zero, as the entries always were.
int64_t formatted(double number) {
    return static_cast<int64_t>(std::round(std::clamp(number, -1.0e9, 1.0e9)));
}

std::string threeDigits(int64_t value) {
    char text[32];
    std::snprintf(text, sizeof text, "%03lld", static_cast<long long>(value));
    return text;
}

MappingCellResult byteCell(double number, const std::string& oldText) {
    const int64_t v = formatted(number);
    if (v < 0 || v > kMaxTypedByte) return {oldText, MappingCellMessage::ByteRange};
    return {threeDigits(v), MappingCellMessage::None};
}

MappingCellResult bitCell(double number, const std::string& oldText) {
    const ImageAddress a = typedBitAddress(number);
    if (a.byte < 0 || a.byte > kMaxTypedByte) return {oldText, MappingCellMessage::ByteRange};
    if (a.bit < 0 || a.bit > kMaxBit) return {oldText, MappingCellMessage::BitRange};
    return {threeDigits(a.byte) + "." + std::to_string(a.bit), MappingCellMessage::None};
}

}  // namespace

int fFilterMappingKey(const MappingRowFlags& row, int column, int character) {
    if (character == kKeyReturn) return 0;
    if (row.hidden) return 0;
    if (row.dtype != kDTypeBit && row.dtype != kDTypeByte) return character;
    if (character == kKeyBackspace || character == kKeyEscape) return character;
    const std::string_view allowed = allowedKeys(row.dtype, column);
    if (character > 0 && character < 128 &&
        allowed.find(static_cast<char>(character)) != std::string_view::npos)
        return character;
    return 0;
}

MappingCellResult fValidateMappingCell(const MappingRowFlags& row, int column,
                                       std::string_view newText, const std::string& oldText) {
    const std::string_view text = trimBlankView(newText);
    const std::optional<double> typed = text.empty() ? 0.0 : typedMappingNumber(text);
    if (row.hidden) return {oldText, MappingCellMessage::OtherImage};
    if (column == kMappingColumnImage) {
        if (!typed) return {oldText};
        const int64_t v = formatted(*typed);
        if (v < 0 || v > kMaxImage) return {"0", MappingCellMessage::ImageRange};
        return {std::to_string(v)};
    }
    if (column == kMappingColumnCS) {
        if (row.dtype != kDTypeByte) return {oldText, MappingCellMessage::NotExisting};
        return typed ? byteCell(*typed, oldText) : MappingCellResult{oldText};
    }
    if (!isReference(column)) return {};
    const int32_t k = column - kMappingColumnRef0;
    if (row.dtype == kDTypeBit) {
        if (k > row.mapData - 1) return {"", MappingCellMessage::NotMapped};
        return typed ? bitCell(*typed, oldText) : MappingCellResult{oldText};
    }
    if (row.dtype == kDTypeByte) {
        if (k > row.mapData - 2) return {"", MappingCellMessage::NotMapped};
        return typed ? byteCell(*typed, oldText) : MappingCellResult{oldText};
    }
    return {};
}

}  // namespace varnak
