#include "mapping/mapping_address.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "model/device_register_model.h"
#include "model/text_util.h"

namespace varnak {
namespace {

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}

}  // namespace

std::optional<ImageAddress> fSplitImageAddress(std::string_view text) {
    const std::string_view t = trimBlankView(text);
    size_t i = 0;
    int32_t byte = 0;
    for (; i < t.size() && isDigit(t[i]); ++i) {
        byte = byte * 10 + (t[i] - '0');
        if (byte > kMappingUnmapped) return std::nullopt;
    }
    if (i == 0) return std::nullopt;
    if (i == t.size()) return ImageAddress{byte, 0};
    if (t[i] != '.' || i + 2 != t.size() || t[i + 1] < '0' || t[i + 1] > '7') return std::nullopt;
    return ImageAddress{byte, t[i + 1] - '0'};
}

std::optional<double> typedMappingNumber(std::string_view text) {
    const std::string t(trimBlankView(text));
    size_t i = (!t.empty() && (t[0] == '-' || t[0] == '+')) ? 1 : 0;
    size_t digits = 0, points = 0;
    for (size_t k = i; k < t.size(); ++k) {
        if (isDigit(t[k]))
            ++digits;
        else if (t[k] == '.')
            ++points;
        else
            return std::nullopt;
    }
    if (digits == 0 || points > 1 || digits > 30) return std::nullopt;
    return std::strtod(t.c_str(), nullptr);
}

ImageAddress typedBitAddress(double number) {
    // Every step in single precision: the entries users typed were always read this way.
    const float value = static_cast<float>(number);
    const float whole = std::trunc(value);
    const float fraction = (value - whole) * 10.0f;
    // Far outside any address either way; kept within the integers.
    const float byte = std::clamp(whole, -1.0e6f, 1.0e6f);
    return {static_cast<int32_t>(byte), static_cast<int32_t>(std::nearbyint(fraction))};
}

std::string imageAddressText(const ImageAddress& address, bool byteOriented) {
    MappingEntry e;
    e.byteOffset = address.byte;
    e.bit = address.bit;
    e.byteOriented = byteOriented;
    return mappingEntryText(e);
}

}  // namespace varnak
