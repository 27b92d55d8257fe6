// Register reads from a simulated station that paces its line at 19200 baud: how close the
// control comes to the time the bytes need on the wire (11 bits per byte for 8E1). A whole
// table's read is short and taken as the best of 5; the 64 terminals' reads make one run of
// 64 transfers.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/paced_wire.h"
#include "comctl/QZcomOCX.h"
#include "tests/support/sim_station.h"

using namespace qzcom;

namespace {

using varnak::test::SimStation;

using namespace varnak::bench;

constexpr double kMaxRatio = 1.10;

struct PacedStation {
    explicit PacedStation(int terminals) : station(1, terminals) {
        openPacedControl(control, station.devicePath());
        station.setPacing(SimStation::Pacing::WholeReplies);
    }
    SimStation station;
    QZcomOCX control;
};

void BM_ReadWholeTable(benchmark::State& state) {
    PacedStation s(0);
    s.station.addTable(0, 0, 256);
    std::vector<int32_t> values(256);
    double best = 1e30;  // a short transfer: the best of the rounds
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (const int32_t code = s.control.QZxRegSyncReadReq(0, 0, 0, 256, 1, values))
            state.SkipWithError(("the read failed with code " + std::to_string(code)).c_str());
        best = std::min(best, since(start));
    }
    reportAgainstLimit(state, "256-register table", best, transferSeconds(256), kMaxRatio);
}
BENCHMARK(BM_ReadWholeTable)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_ReadChannelRegistersOf64Terminals(benchmark::State& state) {
    constexpr int kTerminals = 64;
    constexpr int kChannelRegisters = 64;
    PacedStation s(kTerminals);
    for (int t = 1; t <= kTerminals; ++t) s.station.addTable(t, 0, kChannelRegisters);
    std::vector<int32_t> values(kChannelRegisters);
    double measured = 0;
    int64_t rounds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        for (int t = 1; t <= kTerminals; ++t)
            if (const int32_t code =
                    s.control.QZxRegSyncReadReq(t, 0, 0, kChannelRegisters, 1, values))
                state.SkipWithError(("the read of terminal " + std::to_string(t) +
                                     " failed with code " + std::to_string(code))
                                        .c_str());
        measured += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++rounds;
    }
    reportAgainstLimit(state, "64 terminals x 64 channel registers",
                       measured / static_cast<double>(rounds),
                       kTerminals * transferSeconds(kChannelRegisters), kMaxRatio);
}
BENCHMARK(BM_ReadChannelRegistersOf64Terminals)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return varnak::bench::runBenchmarks(argc, argv);
}
