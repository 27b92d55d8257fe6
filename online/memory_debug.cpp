#include "online/memory_debug.h"

#include <cctype>
#include <cstdio>

#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/register_device.h"
#include "model/text_util.h"
#include "online/online_texts.h"

namespace varnak {
namespace {

constexpr int32_t kSegmentBits = 15;
constexpr int32_t kWordMax = 0xFFFF;
// The coupler answers at most this many words to one read.
constexpr int32_t kWordsPerRead = 17;

// The digits after the window's prefix handling.
std::string hexDigitsOf(const std::string& text) {
    std::string t = upperAscii(trimBlanks(text));
    if (t.find("&H") != std::string::npos) t = trimBlanks(t.size() > 2 ? t.substr(2) : "");
    return t;
}

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void showNotAHexWord(const std::string& text) {
    AppContext& c = varnak();
    c.ui->messageBox(c.text(kTxtNotAHexWord) + trimBlanks(text), vbExclamation, "");
}

std::string hex(uint32_t value, const char* format) {
    char text[16];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

}  // namespace

std::optional<int32_t> ParseHexText(const std::string& text) {
    const std::string digits = hexDigitsOf(text);
    if (digits.empty()) return std::nullopt;
    int32_t value = 0;
    for (char c : digits) {
        const int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        value = value * 16 + d;
        if (value > kWordMax) return std::nullopt;
    }
    return value;
}

std::vector<DumpRow> dumpRows(int32_t shownSegment, int32_t address,
                              const std::array<int32_t, kDumpWords>& words, int readWords) {
    const std::string notReadable = varnak().text(kTxtNotReadable);
    std::vector<DumpRow> rows;
    for (int i = 0; i < kDumpWords; ++i) {
        rows.push_back(
            {hex(static_cast<uint32_t>(i), "%2u"),
             "0x" + hex(static_cast<uint32_t>(shownSegment), "%X") +
                 hex(static_cast<uint32_t>(address + 2 * i), "%X"),
             i < readWords
                 ? hex(static_cast<uint32_t>(words[static_cast<size_t>(i)] & 0xFFFF), "0x%04X")
                 : notReadable});
    }
    return rows;
}

bool MemoryDebugSession::takeDumpTexts(const std::string& segmentText,
                                       const std::string& addressText) {
    const std::optional<int32_t> segment = ParseHexText(segmentText);
    if (!segment) {
        showNotAHexWord(segmentText);
        return false;
    }
    const std::optional<int32_t> address = ParseHexText(addressText);
    if (!address) {
        showNotAHexWord(addressText);
        return false;
    }
    dumpSegment_ = *segment;
    dumpAddress_ = *address;
    return true;
}

std::vector<DumpRow> MemoryDebugSession::RefreshDump() {
    AppContext& c = varnak();
    if (!c.VarnakComOCX) return {};
    const int32_t segment = dumpSegment_ & kSegmentBits;
    std::array<int32_t, kDumpWords> words{};
    std::span<int32_t> first(words.data(), kWordsPerRead);
    if (c.VarnakComOCX->QZxDbgAdrReadReq(c.MultiPointAdr, segment, dumpAddress_, kDumpWords,
                                         first) != 0)
        return {};
    std::span<int32_t> rest(words.data() + kWordsPerRead, kDumpWords - kWordsPerRead);
    const bool restRead =
        c.VarnakComOCX->QZxDbgAdrReadReq(c.MultiPointAdr, segment, dumpAddress_ + 2 * kWordsPerRead,
                                         kDumpWords - kWordsPerRead, rest) == 0;
    return dumpRows(dumpSegment_, dumpAddress_, words, restRead ? kDumpWords : kWordsPerRead);
}

bool MemoryDebugSession::send(const std::string& segmentText, const std::string& addressText,
                              const std::string& wordText) {
    std::array<int32_t, 3> values{};
    const std::array<const std::string*, 3> texts{&segmentText, &addressText, &wordText};
    for (size_t i = 0; i < texts.size(); ++i) {
        const std::optional<int32_t> value = ParseHexText(*texts[i]);
        if (!value) {
            showNotAHexWord(*texts[i]);
            return false;
        }
        values[i] = *value;
    }
    AppContext& c = varnak();
    // Only these two segments have a write command; anything else would go out undefined.
    if (values[0] != 2 && values[0] != 3) {
        c.ui->messageBox(c.text(kTxtWriteSegments), vbExclamation, "");
        return false;
    }
    const std::array<int32_t, 1> word{values[2]};
    const int32_t result = c.VarnakComOCX ? c.VarnakComOCX->QZxDbgAdrWriteReq(
                                                c.MultiPointAdr, values[0], values[1], 1, word)
                                          : kNoRegisterDeviceResult;
    if (result == 0) return true;
    c.ui->messageBox(c.text(kTxtWriteFailed) + std::to_string(result), vbExclamation, "");
    return false;
}

}  // namespace varnak
