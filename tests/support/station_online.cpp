#include "tests/support/station_online.h"

namespace varnak::test {

void prepareOnlineStation(SimStation& station, const OnlineStationSetup& setup) {
    station.addTable(0, 9);
    station.setRegister(0, 9, 0, static_cast<uint16_t>(setup.typeNumber));
    for (size_t i = 0; i < setup.terminalList.size() && i < 255; ++i)
        station.setRegister(0, 9, static_cast<int>(i + 1), setup.terminalList[i]);

    station.addTable(0, 0);
    station.setRegister(0, 0, 248, 0x7C4E);  // the newer identification
    station.setRegister(0, 0, 246, static_cast<uint16_t>(setup.family));
    station.setRegister(0, 0, 201, static_cast<uint16_t>(setup.productNumber));
    station.setRegister(0, 0, 202, static_cast<uint16_t>(setup.productVariant));

    station.addTable(0, 127);
    for (int table : setup.directoryTables)
        station.setRegister(0, 127, table, table == 9 ? 64 : 63);
    station.setRegister(0, 127, 127, 130);

    for (size_t p = 1; p <= setup.terminalList.size(); ++p) {
        station.addTable(static_cast<int>(p), 0);
        auto ext = setup.nameExtensions.find(static_cast<int>(p));
        if (ext != setup.nameExtensions.end())
            station.setRegister(static_cast<int>(p), 0, 29, ext->second);
    }
}

}  // namespace varnak::test
