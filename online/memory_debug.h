#pragma once
// The developer's memory window without its widgets: the hexadecimal entries, the dump of
// 18 words from a segment and byte address, and the write of one word. Messages go through
// the context's UiServices.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnak {

// The window's hexadecimal entry as one 16-bit word: trimmed and upper-cased, the first
// two characters dropped when "&H" occurs ("&h10" is 0x10); nullopt unless what is left is
// one or more hexadecimal digits of a value up to 0xFFFF ("12G4" is refused, not 0x12).
std::optional<int32_t> ParseHexText(const std::string& text);

inline constexpr int kDumpWords = 18;
inline constexpr int32_t kDefaultDumpSegment = 2;
inline constexpr int32_t kDefaultDumpAddress = 0x7FF8;

struct DumpRow {
    std::string nr;       // " 0" .. "17"
    std::string address;  // "0x" + segment + byte address, hexadecimal without leading zeros
    std::string value;    // "0x" + four hexadecimal digits
};

// The list's rows: word i at address + 2i, shown under the segment as entered; the words
// from readWords on were not read and are shown as not readable.
std::vector<DumpRow> dumpRows(int32_t shownSegment, int32_t address,
                              const std::array<int32_t, kDumpWords>& words,
                              int readWords = kDumpWords);

class MemoryDebugSession {
  public:
    // Refresh: takes the segment and address texts of the dump. False, with a message,
    // when one is no hexadecimal word; the previous values stay.
    [[nodiscard]] bool takeDumpTexts(const std::string& segmentText,
                                     const std::string& addressText);
    // Reads the 18 words at the dump's address from the segment's low four bits (the coupler
    // gives 17 words a request: the last one comes with a second request). No rows when the
    // first read failed; when the second failed (its address lies beyond 0xFFFF from a
    // start of 0xFFDE on), the 18th row is not readable. No message.
    std::vector<DumpRow> RefreshDump();
    // Writes one word. False, with a message, when a text is no hexadecimal word, the
    // segment is not 2 or 3 (nothing is sent) or the write failed.
    [[nodiscard]] bool send(const std::string& segmentText, const std::string& addressText,
                            const std::string& wordText);

  private:
    int32_t dumpSegment_ = kDefaultDumpSegment;
    int32_t dumpAddress_ = kDefaultDumpAddress;
};

}  // namespace varnak
