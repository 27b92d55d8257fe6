#pragma once
// Telegram bytes for readable comparisons and for replies built by hand.
#include <cstdint>
#include <span>
#include <string>

namespace varnak::test {

// "FD 02 0C ..." for raw bytes.
inline std::string hexOf(std::span<const uint8_t> bytes) {
    static const char* digits = "0123456789ABCDEF";
    std::string s;
    for (uint8_t b : bytes) {
        if (!s.empty()) s += ' ';
        s += digits[b >> 4];
        s += digits[b & 15];
    }
    return s;
}

inline std::string hexOf(const std::string& bytes) {
    return hexOf(std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

// The frame with its last two bytes set to the 16-bit sum of the bytes before them, as a
// sound device would send it.
inline std::string withChecksum(std::string frame) {
    if (frame.size() < 2) return frame;
    uint16_t sum = 0;
    for (size_t i = 0; i + 2 < frame.size(); ++i)
        sum = static_cast<uint16_t>(sum + static_cast<uint8_t>(frame[i]));
    frame[frame.size() - 2] = static_cast<char>(sum & 0xFF);
    frame[frame.size() - 1] = static_cast<char>(sum >> 8);
    return frame;
}

}  // namespace varnak::test
