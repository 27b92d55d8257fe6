#pragma once
// Byte dialogue with a coupler's boot loader: single bytes out, single bytes in.
#include <cstdint>
#include <optional>
#include <span>

#include "platform/serial_port.h"

namespace varnak::comctl {

class BootLoaderLink {
  public:
    // A polling try never waits longer than this for its byte.
    static constexpr int kPollCapMs = 20;

    // timeoutMs is the control's reply time-out; a poll waits at most twice that, capped.
    BootLoaderLink(platform::SerialLine& line, bool rs485, int timeoutMs);

    // Writes one byte, keying the bus transmitter around it on RS485. Only input is
    // purged before: the loader's answer to an earlier byte may still be on its way out.
    [[nodiscard]] bool send(uint8_t byte);
    // The bytes one at a time; false at the first that does not go out.
    [[nodiscard]] bool send(std::span<const uint8_t> bytes);
    // A reply the loader owes: waits the line's own time-out.
    std::optional<uint8_t> await();
    [[nodiscard]] size_t await(std::span<uint8_t> bytes) { return line_.read(bytes); }
    // One try of a counted wait: the byte if one came within the poll time.
    std::optional<uint8_t> poll();
    // The pause between two tries of a counted wait.
    static void pauseBetweenTries();

  private:
    platform::SerialLine& line_;
    bool rs485_;
    int pollMs_;
};

}  // namespace varnak::comctl
