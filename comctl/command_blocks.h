#pragma once
// Coupler command blocks: services that are written as a block of registers into the
// coupler's command table and answered in the same table after a pause.
#include <chrono>
#include <cstdint>
#include <span>

#include "comctl/telegram_link.h"

namespace varnak::comctl {

inline constexpr int32_t kCommandTable = 99;
inline constexpr int32_t kFieldbusSettingsTable = 100;
inline constexpr uint16_t kUnlockWord = 0x5C3B;

enum CommandWord : uint16_t {
    RegCmdEnterBootloader = 0x0003,
    RegCmdWriteProtection = 0x0101,
    RegCmdResetTerminalBus = 0x0102,
    RegCmdResetSoftware = 0x0201,
    RegCmdChecksum = 0x0301,
    RegCmdFactorySetting = 0x0401,
    RegCmdDbgAdrRead = 0x00FE,
    RegCmdDbgAdrWriteSegment3 = 0x01FE,
    RegCmdDbgAdrWriteSegment2 = 0x02FE,
};

// What 20 read-back registers hold after the echo, count and status.
inline constexpr int32_t kDebugReadWords = 17;
inline constexpr int32_t kDebugWriteMaxWords = 20;

// Result codes -1 (no echo) and -2 (write protection not confirmed) besides QZcomComErr.
inline constexpr int32_t kNoEcho = -1;
inline constexpr int32_t kProtectionNotConfirmed = -2;

// The services of one station. Every pause blocks the caller's thread.
class CommandBlocks {
  public:
    CommandBlocks(TelegramLink& link, int32_t multiPoint) : link_(link), station_(multiPoint) {}

    [[nodiscard]] int32_t writeProtection(bool set);
    // Lifts the write protection first; sends no reset when that fails.
    [[nodiscard]] int32_t resetSoftware();
    [[nodiscard]] int32_t factorySetting();
    [[nodiscard]] int32_t checksum(int32_t& value);
    [[nodiscard]] int32_t resetTerminalBus();
    [[nodiscard]] int32_t debugRead(int32_t segment, int32_t address, int32_t size,
                                    std::span<int32_t> data);
    [[nodiscard]] int32_t debugWrite(int32_t segment, int32_t address, int32_t size,
                                     std::span<const int32_t> data);
    [[nodiscard]] int32_t watchdogRead(int32_t& value);
    [[nodiscard]] int32_t watchdogWrite(int32_t value);

  private:
    // Writes block from register 0, waits, reads answer.size() registers back and checks
    // that register 0 echoes the command word.
    [[nodiscard]] int32_t run(std::span<const int32_t> block, std::chrono::milliseconds pause,
                              std::span<int32_t> answer);

    TelegramLink& link_;
    int32_t station_;
};

}  // namespace varnak::comctl
