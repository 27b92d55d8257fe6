// Register reads from a simulated station that paces its line at 19200 baud: how close the
// control comes to the time the bytes need on the wire (11 bits per byte for 8E1).
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <vector>

#include "comctl/QZcomOCX.h"
#include "tests/support/sim_station.h"

using namespace qzcom;

namespace {

using varnak::test::SimStation;

constexpr int kBaud = 19200;
constexpr double kMaxRatio = 1.10;

// Bytes on the wire for reading size registers: request 12 and reply 12 + 2 x count per
// telegram of at most 18 registers.
size_t wireBytes(int size) {
    size_t bytes = 0;
    for (int done = 0; done < size; done += 18) bytes += 24 + 2 * std::min(18, size - done);
    return bytes;
}

double wireSeconds(size_t bytes) {
    return static_cast<double>(bytes) * 11.0 / kBaud;
}

struct PacedStation {
    explicit PacedStation(int terminals) : station(1, terminals) {
        setenv("VARNAK_COM1", station.devicePath().c_str(), 1);
        control.setQZxCommPort(1);
        control.setQZxBaudrate(Baud_19200);
        control.setQZxTyp(QZxType_RS232);
        // The station answers at once: a long reply time-out costs nothing and keeps a
        // machine busy with other work from turning a slow wake-up into a failed read.
        control.setQZxTimeout(1000);
        control.setQZxPortOpen(true);
        station.setPacing(true);
    }
    SimStation station;
    QZcomOCX control;
};

void report(benchmark::State& state, const char* name, double measured, double wire) {
    const double ratio = measured / wire;
    state.counters["wire_s"] = wire;
    state.counters["measured_s"] = measured;
    state.counters["ratio"] = ratio;
    std::printf("%s: measured %.3f s, wire-time limit %.3f s, ratio %.3f (at most %.2f)\n", name,
                measured, wire, ratio, kMaxRatio);
    std::fflush(stdout);
    if (ratio > kMaxRatio) state.SkipWithError("slower than the wire allows");
}

void BM_ReadWholeTable(benchmark::State& state) {
    PacedStation s(0);
    s.station.addTable(0, 0, 256);
    std::vector<int32_t> values(256);
    double measured = 0;
    int64_t rounds = 0;
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        if (s.control.QZxRegSyncReadReq(0, 0, 0, 256, 1, values) != ComErrNo)
            state.SkipWithError("read failed");
        measured += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++rounds;
    }
    report(state, "256-register table", measured / static_cast<double>(rounds),
           wireSeconds(wireBytes(256)));
}
BENCHMARK(BM_ReadWholeTable)->Iterations(3)->Unit(benchmark::kMillisecond);

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
            if (s.control.QZxRegSyncReadReq(t, 0, 0, kChannelRegisters, 1, values) != ComErrNo)
                state.SkipWithError("read failed");
        measured += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        ++rounds;
    }
    report(state, "64 terminals x 64 channel registers", measured / static_cast<double>(rounds),
           wireSeconds(kTerminals * wireBytes(kChannelRegisters)));
}
BENCHMARK(BM_ReadChannelRegistersOf64Terminals)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
