#pragma once
// Byte-level exchange of one telegram on the control's serial line. On an RS485 bus the
// transmitter is keyed with RTS for exactly the time the telegram is on the wire.
#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/serial_port.h"

namespace varnak::comctl {

// Both telegram formats close with the sum of their bytes (register telegrams keep 16
// bits of it, process-data telegrams 8).
inline uint16_t byteSum(std::span<const uint8_t> bytes) {
    uint16_t sum = 0;
    for (uint8_t b : bytes) sum = static_cast<uint16_t>(sum + b);
    return sum;
}

class TelegramLink {
  public:
    TelegramLink(platform::SerialLine& line, bool rs485) : line_(line), rs485_(rs485) {}

    // Discards stale input, writes the telegram and waits until it has left the line, so
    // that the reply time-out starts after the last byte. 0 or ComErrSendTel.
    int32_t sendTelegram(std::span<const uint8_t> telegram);
    // Number of bytes received within the line's time-outs.
    size_t receive(std::span<uint8_t> bytes) { return line_.read(bytes); }

  private:
    platform::SerialLine& line_;
    bool rs485_;
};

}  // namespace varnak::comctl
