#pragma once
// What a simulated station of a coupler type answers beyond its description: the firmware
// version (table 0 register 255), the station number, the DIP switches and the fieldbus
// baud-rate codes of table 100 (a QZ5100 keeps them in registers 34-37, the other QZ51
// couplers in 0-3).
#include <array>
#include <cstdint>
#include <string>

#include "tests/support/sim_station.h"

namespace varnak::test {

struct CouplerProfile {
    uint16_t firmware = 0x0B02;
    uint32_t stationNumber = 3;
    uint16_t dipSwitch = 0;  // bit n - 1 = DIP switch n
    int baudCodeBase = -1;   // table 100; -1: the type has no baud-rate codes
    std::array<uint16_t, 4> baudCodes{};
};

CouplerProfile couplerProfile(const std::string& couplerType);
// Puts the profile into a station whose coupler tables exist already.
void applyCouplerProfile(SimStation& station, const CouplerProfile& profile);

}  // namespace varnak::test
