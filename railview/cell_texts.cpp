#include "railview/cell_texts.h"

#include <QString>
#include <array>
#include <string_view>

#include "model/basConvert.h"

namespace varnak {
namespace {

constexpr const char* CRLF = "\r\n";
constexpr const char* kMakerCompany = "Harvenor";
constexpr int32_t kDipUnknown = 65535;

constexpr std::array<std::string_view, 5> kStationNumberPrefixes{"QZ31", "QZ30", "QY31", "QZ80",
                                                                 "QZ35"};
constexpr std::string_view kDipSwitchPrefix = "QZ51";

std::string dipSwitchLines(int32_t dip, CouplerInfoQueries& queries) {
    if (dip == kDipUnknown) return std::string("Station/Baudrate: N/A") + CRLF;
    const int32_t index = dipBaudrateIndex(dip);
    return "Dip:    " + gfByteToBitString(dip) + "  ( " + std::to_string(dip) + ")" + CRLF +
           "Station :    " + std::to_string(dipStation(dip)) + CRLF +
           "Baudrate:    " + std::to_string(index) + CRLF + "  " + queries.baudrateText(index);
}

}  // namespace

std::string fTerminalTypeText(const std::string& typeName) {
    const QString name = QString::fromStdString(typeName);
    return name.left(6).toStdString() + CRLF + name.right(4).toStdString();
}

bool fCouplerInfoShown(const std::string& companyName, bool online) {
    return online && companyName == kMakerCompany;
}

std::string fCouplerInfoText(const std::string& couplerType, CouplerInfoQueries& queries) {
    std::string text = queries.firmwareText() + CRLF;
    const std::string prefix = couplerType.substr(0, 4);
    for (std::string_view stationPrefix : kStationNumberPrefixes) {
        if (prefix != stationPrefix) continue;
        int32_t station = 0;
        if (queries.stationNumber(station).ok())
            text += "StationNr: " + std::to_string(station) + CRLF;
        return text;
    }
    if (prefix == kDipSwitchPrefix) {
        int32_t dip = 0;
        if (queries.dipSwitchValue(dip).ok()) text += dipSwitchLines(dip, queries);
    }
    return text;
}

std::string CouplerServicesInfo::firmwareText() {
    int32_t firmware = 0;
    std::string text;
    services_.fCouplerFirmwareReq(firmware, text);
    return text;
}

ServiceAnswer CouplerServicesInfo::stationNumber(int32_t& number) {
    return services_.stationNumber(number);
}

ServiceAnswer CouplerServicesInfo::dipSwitchValue(int32_t& value) {
    return services_.dipSwitchValue(value);
}

std::string CouplerServicesInfo::baudrateText(int32_t index) {
    return services_.fCouplerFktQZ5xGetBaudrate(index);
}

}  // namespace varnak
