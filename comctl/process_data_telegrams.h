#pragma once
// Process-data telegrams: output words to a station and its input words and status byte
// back, in one exchange.
#include <cstdint>
#include <span>
#include <vector>

#include "comctl/telegram_link.h"

namespace varnak::comctl {

inline constexpr int32_t kMaxProcessWords = 255;

// Request "P" n ident station words... sum for the first sendLength words.
std::vector<uint8_t> processDataRequest(int32_t multiPoint, std::span<const int32_t> words);

// Result is a QZcomComErr value. status, recLength and received are written only on
// success; a reply with more words than received holds is refused (ComErrDataBuff), and
// sendLength outside 0..255 or beyond the words given is refused before anything is sent.
[[nodiscard]] int32_t exchangeProcessData(TelegramLink& link, int32_t multiPoint, int32_t& status,
                                          int32_t sendLength, std::span<const int32_t> send,
                                          int32_t& recLength, std::span<int32_t> received);

}  // namespace varnak::comctl
