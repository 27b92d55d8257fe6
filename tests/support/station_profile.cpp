#include "tests/support/station_profile.h"

#include "model/device_register_model.h"

namespace varnak::test {
namespace {

// The other four registers of a QZ5100's table 100: a code that no setting uses, so that
// reading the wrong registers shows.
constexpr uint16_t kUnusedBaudCode = 8;
constexpr int kQZ5100BaudCodeBase = 34;

}  // namespace

CouplerProfile couplerProfile(const std::string& couplerType) {
    CouplerProfile profile;
    if (couplerType.compare(0, 4, "QZ51") == 0) {
        // Station 5 on DIP switches 1-6, DIP 7 on and 8 off: the second baud-rate setting.
        profile.dipSwitch = 0x0045;
        profile.baudCodeBase = couplerType.compare(0, 6, "QZ5100") == 0 ? kQZ5100BaudCodeBase : 0;
        profile.baudCodes = {2, 3, 4, 5};
    }
    return profile;
}

void applyCouplerProfile(SimStation& station, const CouplerProfile& profile) {
    station.setRegister(0, kGeneralSettingsTable, kFirmwareVersionRegister, profile.firmware);
    station.changeCoupler([&](CouplerState& c) {
        c.stationNumber = profile.stationNumber;
        c.dipSwitch = profile.dipSwitch;
    });
    if (profile.baudCodeBase < 0) return;
    for (int i = 0; i < 4; ++i) {
        if (profile.baudCodeBase != 0)
            station.setRegister(0, kFieldbusSettingsTable, i, kUnusedBaudCode);
        station.setRegister(0, kFieldbusSettingsTable, profile.baudCodeBase + i,
                            profile.baudCodes[static_cast<size_t>(i)]);
    }
}

}  // namespace varnak::test
