// Firmware update of a 128 KB image at 38400 baud against a simulated boot loader that
// paces its line at wire speed: how close the control comes to the time the bytes need on
// the wire (11 bits per byte for 8E1).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>

#include "bench/marks.h"
#include "comctl/QZcomOCX.h"
#include "tests/support/sim_station.h"
#include "tests/support/station_hex_file.h"
#include "tests/support/temp_dir.h"

using namespace qzcom;

namespace {

using varnak::test::SimBootLoader;
using varnak::test::SimStation;

constexpr int kBaud = 38400;
constexpr double kMaxRatio = 1.15;
constexpr uint8_t kType = 2;  // 512 KB flash in 128-byte sectors, leading 0x00 per sector
constexpr uint32_t kStart = 0x80000;
constexpr uint32_t kImageBytes = 128 * 1024;
constexpr uint32_t kSector = 128;

// Bytes on the wire: the enter-bootloader telegram, "#" and two identification bytes, the
// answer 0x00 and "5"; per sector the leading 0x00, three address bytes, the sector and a
// two-byte acknowledgement; the trailer.
double wireSeconds() {
    const double sectors = kImageBytes / kSector;
    const double bytes = 20 + 3 + 1 + 1 + sectors * (1 + 3 + kSector + 2) + 4;
    return bytes * 11.0 / kBaud;
}

void BM_FirmwareUpdate128k(benchmark::State& state) {
    varnak::test::TempDir dir;
    std::vector<uint32_t> sectors;
    for (uint32_t offset = 0; offset < kImageBytes; offset += kSector) sectors.push_back(offset);
    const std::string file = (dir.path() / "fw.hex").string();
    varnak::test::writeFile(file, varnak::test::firmware(kType, kStart, sectors).text());
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(dir.path());  // for the trace

    double measured = 0;
    int64_t rounds = 0;
    for (auto _ : state) {
        SimStation station(1, 0);
        setenv("VARNAK_COM1", station.devicePath().c_str(), 1);
        QZcomOCX control;
        control.setQZxCommPort(1);
        control.setQZxBaudrate(Baud_38400);
        control.setQZxTyp(QZxType_RS232);
        control.setQZxTimeout(1000);
        control.setQZxPortOpen(true);
        station.setPacing(SimStation::Pacing::WholeReplies);
        station.configureBootLoader([](SimBootLoader& b) { b.configure(kType, false, kStart); });

        const auto start = std::chrono::steady_clock::now();
        if (const int32_t code = control.QZxFirmwareUpdate1(1, file))
            state.SkipWithError(("the update failed with code " + std::to_string(code)).c_str());
        measured += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++rounds;
        if (!station.bootLoader().error().empty())
            state.SkipWithError(station.bootLoader().error().c_str());
    }
    std::filesystem::current_path(previous);

    const double seconds = measured / static_cast<double>(rounds);
    const double wire = wireSeconds();
    const double ratio = seconds / wire;
    state.counters["wire_s"] = wire;
    state.counters["measured_s"] = seconds;
    state.counters["ratio"] = ratio;
    std::printf("128 KB firmware update at 38400 baud: measured %.3f s, wire-time limit %.3f s\n",
                seconds, wire);
    varnak::bench::checkMark(state, "firmware update over the wire time", ratio, kMaxRatio);
}
BENCHMARK(BM_FirmwareUpdate128k)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return varnak::bench::runBenchmarks(argc, argv);
}
