#pragma once
// Fills a simulated station with what going online reads: the coupler's terminal list
// (table 9), its identification registers (table 0, registers 200-254), its table
// directory (table 127) and the terminals' name extensions (register 29 of channel
// table 0).
#include <cstdint>
#include <map>
#include <vector>

#include "tests/support/sim_station.h"

namespace varnak::test {

struct OnlineStationSetup {
    int32_t typeNumber = 3100;                    // table 9, register 0
    int32_t family = 1;                           // register 246: 1 bus couplers, 2 QP, 32 QI
    int32_t productNumber = 0;                    // register 201 (QP and QI)
    int32_t productVariant = 0;                   // register 202 (QP and QI)
    std::vector<uint16_t> terminalList;           // registers 1.. of table 9
    std::map<int, uint16_t> nameExtensions;       // rail position -> register 29
    std::vector<int> directoryTables{0, 9, 100};  // tables the directory lists (length 63)
};

// The station must have been made with at least as many terminals as the list holds.
void prepareOnlineStation(SimStation& station, const OnlineStationSetup& setup);

}  // namespace varnak::test
