#pragma once
// The texts a rail cell shows, without widgets: a terminal's type on two lines and the
// coupler's online information, built from the coupler services' answers.
#include <cstdint>
#include <string>

#include "couplerservices/coupler_services.h"

namespace varnak {

// The first six characters of the type name, CR LF, its last four ("QT1002-0000" gives
// "QT1002" above "0000"); a shorter name shows whole on both lines.
std::string fTerminalTypeText(const std::string& typeName);

// Whether the coupler cell shows online information: only the maker's edition while the
// project is online. Otherwise the info text is empty, so that nothing read from a
// station is shown as if it were current once the program is offline.
bool fCouplerInfoShown(const std::string& companyName, bool online);

// The coupler services the info text asks, in the order it asks them; the text asks only
// what its coupler type needs, so each call is one exchange with the coupler.
class CouplerInfoQueries {
  public:
    virtual ~CouplerInfoQueries() = default;
    // The firmware line as the service writes it ("Firmware: 0x0B02" and two line breaks).
    virtual std::string firmwareText() = 0;
    virtual ServiceAnswer stationNumber(int32_t& number) = 0;
    virtual ServiceAnswer dipSwitchValue(int32_t& value) = 0;
    // The fieldbus baud rate of one of the coupler's four settings ("" when unread).
    virtual std::string baudrateText(int32_t index) = 0;
};

// The program's coupler services as the info text asks them.
class CouplerServicesInfo : public CouplerInfoQueries {
  public:
    explicit CouplerServicesInfo(CouplerServices& services) : services_(services) {}
    std::string firmwareText() override;
    ServiceAnswer stationNumber(int32_t& number) override;
    ServiceAnswer dipSwitchValue(int32_t& value) override;
    std::string baudrateText(int32_t index) override;

  private:
    CouplerServices& services_;
};

// The DIP-switch value's meaning: switch n is bit n - 1; switches 1-6 give the station,
// switches 7 (low bit) and 8 (high bit) the index of the baud-rate setting.
inline int32_t dipStation(int32_t dip) {
    return dip & 0x3F;
}
inline int32_t dipBaudrateIndex(int32_t dip) {
    return (dip >> 6) & 3;
}

// The coupler's online information, lines ending in CR LF: the firmware line, then by
// type prefix the station number or the DIP-switch lines. An answer without a value
// leaves its lines out.
std::string fCouplerInfoText(const std::string& couplerType, CouplerInfoQueries& queries);

}  // namespace varnak
