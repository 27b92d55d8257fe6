#include "app/rtf_writer.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/report_columns.h"
#include "platform/atomic_file.h"

namespace varnak {
namespace {

// The narrower of A4 and Letter, and the margins written into the document: the line every
// reader's page holds.
constexpr int kPageWidthTwips = 11906;
constexpr int kMarginTwips = 1134;  // 2 cm
constexpr int kTwipsPerPoint = 20;
// The width of a character in em of the font size.
constexpr double kAdvanceEm = 0.6;

// The document's layout: margins, default tab, font size in half points and the tab stops
// of the report's columns (a character is 0.6 of the size wide: 6 twips a half point).
std::string pageAndParagraph(std::string_view text) {
    const std::vector<int> stops = reportColumnStops(text);
    const double lineWidth = double(kPageWidthTwips - 2 * kMarginTwips) / kTwipsPerPoint;
    const double points =
        reportFitPoints(reportWidth(reportLines(text, stops)), lineWidth, kAdvanceEm);
    const int halfPoints = std::max(1, static_cast<int>(std::floor(points * 2 + 1e-9)));
    const int characterTwips = static_cast<int>(std::lround(kAdvanceEm * halfPoints * 10));
    std::string out;
    for (const char* side : {"l", "r", "t", "b"})
        out += std::string("\\marg") + side + std::to_string(kMarginTwips);
    out += "\\deftab" + std::to_string(kReportDefaultTab * characterTwips) + "\r\n\\pard";
    for (int stop : stops) out += "\\tx" + std::to_string(stop * characterTwips);
    return out + "\\f0\\fs" + std::to_string(halfPoints) + " ";
}

// Windows-1252 bytes 0x80-0x9F and the characters they stand for (0: unassigned).
constexpr std::array<char32_t, 32> kCp1252High = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

// The Windows-1252 byte of a character, or -1 when it has none.
int cp1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<int>(c);
    for (size_t i = 0; i < kCp1252High.size(); ++i)
        if (kCp1252High[i] != 0 && kCp1252High[i] == c) return static_cast<int>(0x80 + i);
    return -1;
}

// The character of a Windows-1252 byte (unassigned bytes stand for themselves).
char32_t fromCp1252(unsigned char b) {
    if (b >= 0x80 && b <= 0x9F && kCp1252High[b - 0x80] != 0) return kCp1252High[b - 0x80];
    return b;
}

// Decodes one UTF-8 character at text[i]; a byte that does not start a valid sequence is
// taken as a Windows-1252 character. Advances i.
char32_t nextCharacter(std::string_view text, size_t& i) {
    const auto byte = [&](size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b = byte(i);
    size_t length = 0;
    char32_t c = 0;
    char32_t minimum = 0;
    if (b < 0x80) {
        ++i;
        return b;
    } else if ((b & 0xE0) == 0xC0) {
        length = 2, c = b & 0x1F, minimum = 0x80;
    } else if ((b & 0xF0) == 0xE0) {
        length = 3, c = b & 0x0F, minimum = 0x800;
    } else if ((b & 0xF8) == 0xF0) {
        length = 4, c = b & 0x07, minimum = 0x10000;
    }
    bool valid = length != 0 && i + length <= text.size();
    for (size_t k = 1; valid && k < length; ++k) {
        valid = (byte(i + k) & 0xC0) == 0x80;
        c = (c << 6) | (byte(i + k) & 0x3F);
    }
    valid = valid && c >= minimum && c <= 0x10FFFF && !(c >= 0xD800 && c <= 0xDFFF);
    if (!valid) {
        ++i;
        return fromCp1252(b);
    }
    i += length;
    return c;
}

void appendUnicode(std::string& out, int32_t unit) {
    // RTF's \u takes a signed 16-bit number.
    if (unit > 0x7FFF) unit -= 0x10000;
    out += "\\u" + std::to_string(unit) + "?";
}

void appendCharacter(std::string& out, char32_t c) {
    char hex[16];
    if (c == '\\' || c == '{' || c == '}') {
        out += '\\';
        out += static_cast<char>(c);
    } else if (c == '\t') {
        out += "\\tab ";
    } else if (c >= 0x20 && c < 0x7F) {
        out += static_cast<char>(c);
    } else if (int b = cp1252Byte(c); b >= 0) {
        std::snprintf(hex, sizeof hex, "\\'%02x", b);
        out += hex;
    } else if (c > 0xFFFF) {
        const char32_t v = c - 0x10000;
        appendUnicode(out, static_cast<int32_t>(0xD800 + (v >> 10)));
        appendUnicode(out, static_cast<int32_t>(0xDC00 + (v & 0x3FF)));
    } else {
        appendUnicode(out, static_cast<int32_t>(c));
    }
}

}  // namespace

std::string fTextToRtf(std::string_view text, std::string_view fontName) {
    std::string out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl{\\f0\\fmodern\\fcharset0 ";
    for (size_t i = 0; i < fontName.size();) appendCharacter(out, nextCharacter(fontName, i));
    out += ";}}\r\n" + pageAndParagraph(text);
    for (size_t i = 0; i < text.size();) {
        // Tabs that end a line show nothing; a word processor would break the line where
        // they pass the margin.
        if (text[i] == '\t') {
            const size_t visible = std::min(text.find_first_not_of('\t', i), text.size());
            if (visible == text.size() || text[visible] == '\r' || text[visible] == '\n') {
                i = visible;
                continue;
            }
        }
        if (text[i] == '\r' || text[i] == '\n') {
            const bool pair = text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n';
            i += pair ? 2 : 1;
            out += "\\par\r\n";
            continue;
        }
        appendCharacter(out, nextCharacter(text, i));
    }
    out += "}\r\n";
    return out;
}

std::string fSaveTextAsRtf(const std::string& path, std::string_view text) {
    errno = 0;
    if (platform::replaceFileAtomically(path, fTextToRtf(text))) return {};
    return errno != 0 ? std::strerror(errno) : "write failed";
}

}  // namespace varnak
