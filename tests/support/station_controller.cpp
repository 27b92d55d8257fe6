#include "tests/support/station_controller.h"

#include <algorithm>
#include <array>
#include <memory>

#include "model/device_register_model.h"

namespace varnak::test {
namespace {

constexpr int kFlagsRegister = 14;
// A controller-coupler's table 1 as the shipped descriptions give it.
constexpr std::array<uint16_t, 16> kControllerSettings{
    0x0000, 0x0010, 0x0000, 0x0010, 0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF,
    0xFFFF, 0xFFFF, 0xFFFF, 0xFFFF, 0x000A, 0x0005, 0x0040, 0x0000};
constexpr std::array<uint16_t, 4> kRestartValues{0xFFFF, 0, 0, 0};
// The PLC program's cycle: 8 ms and up to 4 ms more.
constexpr uint32_t kCycleBase = 1000;
constexpr uint32_t kCycleSpread = 500;

// The PLC as the evaluation sees it.
struct RunningPlc {
    bool evaluation = false;  // as last put into register 14
    uint32_t seed = 12345;

    uint16_t nextCycle() {
        seed = seed * 1103515245u + 12345u;
        return static_cast<uint16_t>(kCycleBase + (seed >> 16) % kCycleSpread);
    }
    void measure(std::vector<uint16_t>& results) {
        const uint16_t now = nextCycle();
        results[0] = std::min(results[0], now);
        results[1] = std::max(results[1], now);
        results[2] = now;
        results[3] = results[3] == 0 ? now : static_cast<uint16_t>((results[3] * 7u + now) / 8u);
    }
};

void ensureTable(SimStation& station, int table, const uint16_t* values, size_t count) {
    if (station.hasTable(0, table)) return;
    station.addTable(0, table, count);
    for (size_t r = 0; r < count; ++r)
        station.setRegister(0, table, static_cast<int>(r), values[r]);
}

}  // namespace

bool isControllerCoupler(const std::string& couplerType) {
    return couplerType.compare(0, 2, "QY") == 0;
}

void applyControllerProfile(SimStation& station, const std::string& couplerType) {
    if (!isControllerCoupler(couplerType)) return;
    ensureTable(station, kControllerSettingsTable, kControllerSettings.data(),
                kControllerSettings.size());
    ensureTable(station, kCycleTimeTable, kRestartValues.data(), kRestartValues.size());
    auto plc = std::make_shared<RunningPlc>();
    plc->evaluation =
        (station.reg(0, kControllerSettingsTable, kFlagsRegister) & kCycleTimeEvaluationFlag) != 0;
    station.changeCoupler([&](CouplerState& c) { c.cycleTimeEvaluation = plc->evaluation; });
    station.setRequestHook([plc](int railPos, int table, bool write, const CouplerState& coupler,
                                 const SimStation::TableOf& tableOf) {
        if (railPos != 0) return;
        if (coupler.cycleTimeEvaluation != plc->evaluation) {
            plc->evaluation = coupler.cycleTimeEvaluation;
            std::vector<uint16_t>* settings = tableOf(0, kControllerSettingsTable);
            if (settings && settings->size() > kFlagsRegister) {
                uint16_t& flags = (*settings)[kFlagsRegister];
                flags = plc->evaluation ? (flags | kCycleTimeEvaluationFlag)
                                        : (flags & ~kCycleTimeEvaluationFlag);
            }
        }
        std::vector<uint16_t>* results = tableOf(0, kCycleTimeTable);
        if (table == kCycleTimeTable && !write && plc->evaluation && results &&
            results->size() >= kRestartValues.size())
            plc->measure(*results);
    });
}

}  // namespace varnak::test
