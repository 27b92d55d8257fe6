#include "comctl/gsd_coupler.h"

#include <array>

namespace varnak::gsd {

namespace {

constexpr std::array<GsdCouplerType, 6> kCouplerTypes{{
    {3000, "QZ3000", kGroupHighEnd, kAsicSpc, kBaud1_5M, kInterfaceRs485},
    {3010, "QZ3010", kGroupEconomy, kAsicSpc3, kBaud1_5M, kInterfaceRs485},
    {3100, "QZ3100", kGroupHighEnd, kAsicSpc4, kBaud12M, kInterfaceRs485},
    {3110, "QZ3110", kGroupEconomy, kAsicSpc3, kBaud12M, kInterfaceRs485},
    {3120, "QZ3120", kGroupHighEnd, kAsicSpc3, kBaud12M, kInterfaceRs485},
    {3500, "QZ3500", kGroupHighEnd, kAsicSpc3, kBaud1_5M, kInterfaceFibre},
}};

constexpr std::array<std::string_view, 5> kAsicNames{"SPC", "SPC3", "SPC4", "SPC41", "DPC31"};

}  // namespace

std::tm localNow() {
    std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

const GsdCouplerType* findCouplerType(int typeNumber) {
    for (const GsdCouplerType& type : kCouplerTypes) {
        if (type.typeNumber == typeNumber) return &type;
    }
    return nullptr;
}

std::string_view asicName(int asic) {
    if (asic < 0 || asic >= static_cast<int>(kAsicNames.size())) return {};
    return kAsicNames[asic];
}

}  // namespace varnak::gsd
