#include "tests/support/station_process_images.h"

#include <chrono>

namespace varnak::test {
namespace {

constexpr int kOutputImageBase = 110;
constexpr int kInputImageBase = 114;
constexpr size_t kImageRegisters = 256;

}  // namespace

void addProcessImages(SimStation& station) {
    for (int t = kOutputImageBase; t < kInputImageBase + kStationImages; ++t)
        if (!station.hasTable(0, t)) station.addTable(0, t, kImageRegisters);
}

void setImageInput(SimStation& station, int image, int reg, uint16_t value) {
    station.setRegister(0, kInputImageBase + image, reg, value);
}

uint16_t imageOutput(const SimStation& station, int image, int reg) {
    return station.reg(0, kOutputImageBase + image, reg);
}

void moveInputs(SimStation& station) {
    addProcessImages(station);
    const auto start = std::chrono::steady_clock::now();
    station.setReadHook([start](int railPos, int table, std::vector<uint16_t>& registers) {
        if (railPos != 0 || table < kInputImageBase || table >= kInputImageBase + kStationImages)
            return;
        const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(
                            std::chrono::steady_clock::now() - start)
                            .count();
        registers.at(0) = static_cast<uint16_t>(ms / 100);
        registers.at(1) = static_cast<uint16_t>(1u << ((ms / 250) % 16));
        registers.at(2) = static_cast<uint16_t>(ms / 1000);
    });
}

}  // namespace varnak::test
