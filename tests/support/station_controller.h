#pragma once
// What a simulated controller-coupler (a coupler with its own PLC, the "QY" types) adds to
// its station: table 1 (controller settings) and table 98 (cycle-time results, units of
// 8 µs), the evaluation command's flag in bit 1 of table 1 register 14, and a PLC that
// runs while the evaluation is on: each read of table 98 sees a new current cycle time,
// with minimum, maximum and mean following it from what was written there (the restart
// values 65535, 0, 0, 0 start them afresh).
#include <cstdint>
#include <string>

#include "tests/support/sim_station.h"

namespace varnak::test {

inline constexpr uint16_t kCycleTimeEvaluationFlag = 1 << 1;

bool isControllerCoupler(const std::string& couplerType);
// Gives a controller-coupler's station its tables 1 and 98 (the description's values when
// they exist already), the evaluation state of register 14 and the running PLC. Other
// types are left alone.
void applyControllerProfile(SimStation& station, const std::string& couplerType);

}  // namespace varnak::test
