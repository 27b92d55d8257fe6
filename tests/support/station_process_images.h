#pragma once
// The process images of a simulated coupler: output images 110-113 and input images
// 114-117, 256 registers each. The inputs hold what a test sets, or a moving pattern for
// someone watching; the outputs hold what the program wrote.
#include <cstdint>

#include "tests/support/sim_station.h"

namespace varnak::test {

inline constexpr int kStationImages = 4;

// Adds the eight image tables the station does not have yet (zero-filled).
void addProcessImages(SimStation& station);
void setImageInput(SimStation& station, int image, int reg, uint16_t value);
uint16_t imageOutput(const SimStation& station, int image, int reg);

// Moving inputs, as read: in every input image register 0 counts tenths of a second
// since the call, register 1 holds one bit that walks a place every quarter second, and
// register 2 counts whole seconds.
void moveInputs(SimStation& station);

}  // namespace varnak::test
