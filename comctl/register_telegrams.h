#pragma once
// Register telegrams: reading and writing runs of 16-bit registers of one table of one
// device of a station, split into telegrams of at most 18 registers.
#include <cstdint>
#include <span>
#include <vector>

#include "comctl/telegram_link.h"

namespace varnak::comctl {

inline constexpr int32_t kMaxRegistersPerTelegram = 18;

struct RegisterAddress {
    int32_t railPos = 0;     // 0 = coupler, n = n-th terminal
    int32_t table = 0;       // 0 to 127
    int32_t offset = 0;      // first register, 0 to 255
    int32_t size = 0;        // number of registers
    int32_t multiPoint = 0;  // station address (low byte travels)
};

// Request telegrams of one chunk starting at register first (low byte travels).
std::vector<uint8_t> readRequest(const RegisterAddress& address, int32_t first, int32_t count);
std::vector<uint8_t> writeRequest(const RegisterAddress& address, int32_t first,
                                  std::span<const int32_t> values);

// Results are QZcomComErr values. A failed read keeps what earlier telegrams delivered;
// nothing is written outside values[0, size).
[[nodiscard]] int32_t readRegisters(TelegramLink& link, const RegisterAddress& address,
                                    std::span<int32_t> values);
[[nodiscard]] int32_t writeRegisters(TelegramLink& link, const RegisterAddress& address,
                                     std::span<const int32_t> values);

}  // namespace varnak::comctl
