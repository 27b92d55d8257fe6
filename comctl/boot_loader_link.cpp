#include "comctl/boot_loader_link.h"

#include <algorithm>
#include <array>
#include <chrono>
#include <thread>

namespace varnak::comctl {

BootLoaderLink::BootLoaderLink(platform::SerialLine& line, bool rs485, int timeoutMs)
    : line_(line), rs485_(rs485), pollMs_(std::clamp(2 * timeoutMs, 1, kPollCapMs)) {}

bool BootLoaderLink::send(uint8_t byte) {
    // Without RTS keyed an RS485 transmitter never drives the bus.
    if (rs485_) line_.keyTransmitter(true);
    line_.purgeInput();
    const std::array<uint8_t, 1> one{byte};
    const size_t written = line_.write(one);
    line_.drain();
    if (rs485_) line_.keyTransmitter(false);
    return written == 1;
}

bool BootLoaderLink::send(std::span<const uint8_t> bytes) {
    for (uint8_t b : bytes)
        if (!send(b)) return false;
    return true;
}

std::optional<uint8_t> BootLoaderLink::await() {
    std::array<uint8_t, 1> one{};
    if (line_.read(one) != 1) return std::nullopt;
    return one[0];
}

std::optional<uint8_t> BootLoaderLink::poll() {
    std::array<uint8_t, 1> one{};
    if (line_.readWithin(one, pollMs_) != 1) return std::nullopt;
    return one[0];
}

void BootLoaderLink::pauseBetweenTries() {
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace varnak::comctl
