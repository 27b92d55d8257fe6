#include "model/basConvert.h"

#include <cmath>
#include <cstdio>

#include "model/text_util.h"

namespace varnak {
namespace {

// Trimmed and upper-cased, with the first two characters dropped when "0X" occurs
// anywhere: the users' texts were always cut this way, so "A0X1" keeps its X and fails.
std::string withoutHexPrefix(std::string_view text) {
    std::string t = upperAscii(std::string(trimBlankView(text)));
    if (t.find("0X") != std::string::npos) t = trimBlanks(std::string_view(t).substr(2));
    return t;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

template <typename Allowed>
bool allCharacters(std::string_view text, Allowed allowed) {
    for (char c : text)
        if (!allowed(c)) return false;
    return true;
}

std::string hexUpper(uint32_t value) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%X", value);
    return buffer;
}

}  // namespace

bool gfIsHexString(std::string_view text) {
    return allCharacters(withoutHexPrefix(text),
                         [](char c) { return c == ' ' || hexDigit(c) >= 0; });
}

bool gfIsDecString(std::string_view text) {
    return allCharacters(trimBlankView(text), [](char c) { return c >= '0' && c <= '9'; });
}

bool gfIsSignedDecString(std::string_view text) {
    std::string_view t = trimBlankView(text);
    if (!t.empty() && t.front() == '-') t.remove_prefix(1);
    return allCharacters(t, [](char c) { return c >= '0' && c <= '9'; });
}

bool gfIsBinString(std::string_view text) {
    return allCharacters(trimBlankView(text),
                         [](char c) { return c == '0' || c == '1' || c == ' '; });
}

std::optional<double> gfHexToValue(std::string_view text) {
    std::string t = withoutHexPrefix(text);
    uint64_t value = 0;
    int digits = 0;
    int significant = 0;
    for (char c : t) {
        if (c == ' ') continue;
        int d = hexDigit(c);
        if (d < 0) break;
        ++digits;
        if (significant > 0 || d != 0) ++significant;
        if (significant > 8) return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(d);
    }
    if (digits <= 4) return static_cast<double>(static_cast<int16_t>(static_cast<uint16_t>(value)));
    return static_cast<double>(static_cast<int32_t>(static_cast<uint32_t>(value)));
}

std::optional<double> gfBinToValue(std::string_view text) {
    std::string_view t = trimBlankView(text);
    double value = 0;
    int position = 0;
    for (size_t i = t.size(); i-- > 0;) {
        char c = t[i];
        if (c == ' ') continue;
        if (c != '0' && c != '1') break;
        if (c == '1') value += std::ldexp(1.0, position);
        ++position;
    }
    if (!std::isfinite(value)) return std::nullopt;
    return value;
}

std::string gfValueToBin(int32_t value) {
    std::string out;
    for (int bit = 0; bit < 16; ++bit) out.insert(out.begin(), (value & (1 << bit)) ? '1' : '0');
    return out;
}

std::string gfValueToHex(int32_t value) {
    std::string low = hexUpper(static_cast<uint32_t>(value & 255));
    if (low.size() < 2) low.insert(0, 2 - low.size(), '0');
    // The low byte is cleared first, so the division is exact and keeps the sign.
    int32_t highValue = (value & -256) / 256;
    std::string high = hexUpper(static_cast<uint32_t>(highValue));
    if (high.size() == 1) high.insert(0, 1, '0');
    return "0x" + high + low;
}

bool gfIsHexValue(std::string_view text) {
    std::string t = upperAscii(std::string(trimBlankView(text)));
    if (t.size() < 2 || t[0] != '0' || t[1] != 'X') return false;
    return allCharacters(std::string_view(t).substr(2), [](char c) { return hexDigit(c) >= 0; });
}

std::optional<int32_t> gfHexValToLong(std::string_view text) {
    std::string t = withoutHexPrefix(text);
    if (t.empty()) return std::nullopt;
    uint64_t value = 0;
    for (char c : t) {
        int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + static_cast<uint64_t>(d);
        if (value > 0xFFFFFFFFull) return std::nullopt;
    }
    return static_cast<int32_t>(static_cast<uint32_t>(value));
}

std::string gfByteToBitString(int32_t value) {
    std::string out;
    for (int bit = 0; bit < 8; ++bit) out += (value & (1 << bit)) ? '1' : '0';
    return out;
}

std::string iniRegisterText(int32_t value) {
    if (value >= 0) return gfValueToHex(value);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "0x%08X", static_cast<uint32_t>(value));
    return buffer;
}

std::optional<int32_t> roundHalfToEven(double value) {
    if (!std::isfinite(value)) return std::nullopt;
    // The default floating-point rounding mode takes halves to the even neighbour.
    double r = std::nearbyint(value);
    if (r < -2147483648.0 || r > 2147483647.0) return std::nullopt;
    return static_cast<int32_t>(r);
}

}  // namespace varnak
