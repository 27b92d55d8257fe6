#pragma once
// How a terminal channel table takes a register write: its own registers 0-30 never
// change, the code-word register 31 always does, and the user registers 32-63 only while
// register 31 holds the code word. The write is acknowledged either way; the registers of
// one write are taken in order, so a write of 31 and 32.. unlocks itself.
#include <cstdint>
#include <vector>

namespace varnak::test {

void writeTerminalChannel(std::vector<uint16_t>& registers, int first,
                          const std::vector<uint16_t>& values);

}  // namespace varnak::test
