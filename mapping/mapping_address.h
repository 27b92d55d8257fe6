#pragma once
// The address texts of the mapping: a bit-oriented entry is written byte, point and bit
// ("12.3"), a byte-oriented entry the byte alone ("20"); "511.7" and "511" stand for an
// entry that is not mapped.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnak {

inline constexpr const char* kUnmappedBitText = "511.7";
inline constexpr const char* kUnmappedByteText = "511";

struct ImageAddress {
    int32_t byte = 0;
    int32_t bit = 0;
    bool operator==(const ImageAddress&) const = default;
};

// A stored address text read strictly as "byte[.bit]": decimal digits, optionally a point
// and one bit digit 0-7, blanks around allowed; the byte at most 511. Anything else (a bit
// of 8 or 9, two bit digits, a sign, letters) is no address: nullopt.
std::optional<ImageAddress> fSplitImageAddress(std::string_view text);

// A decimal number as the user may type or paste it into a mapping cell: blanks around,
// an optional sign, digits with at most one point, at least one digit. nullopt otherwise.
std::optional<double> typedMappingNumber(std::string_view text);

// The editor's reading of a typed bit address, in single precision as the entry rule has
// always computed it: the byte is the number's integer part, the bit its fraction times
// ten rounded to the nearest integer, halves to even ("12.35" gives 12 and 4, "12.05" gives
// 12 and 1, ".5" gives 0 and 5).
ImageAddress typedBitAddress(double number);

// The text of an address entry: the byte alone for byte-oriented entries.
std::string imageAddressText(const ImageAddress& address, bool byteOriented);

}  // namespace varnak
