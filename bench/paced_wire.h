#pragma once
// What the benchmarks against the paced station share: the time a transfer needs on the
// wire, the report of a measurement against its limit, and the control opened on the
// station's port.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/marks.h"
#include "comctl/QZcomOCX.h"

namespace varnak::bench {

using Clock = std::chrono::steady_clock;

// The line speed of the measurements: slow enough that the wire, not the machine, sets the
// pace.
inline constexpr int kPacedBaud = 19200;

inline double since(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// Bytes on the wire for a transfer of n registers: per telegram of at most 18 registers,
// 12 bytes of request and 12 of reply frame, and 2 bytes per register.
inline double transferBytes(int registers) {
    return 24.0 * ((registers + 17) / 18) + 2.0 * registers;
}

// Seconds the bytes take at the paced speed, 11 bits each (8 data bits, even parity, stop).
inline double wireSeconds(double bytes) {
    return bytes * 11.0 / kPacedBaud;
}

inline double transferSeconds(int registers) {
    return wireSeconds(transferBytes(registers));
}

// Prints the measurement and its limit, and the ratio against its mark (fails above it).
inline void reportAgainstLimit(benchmark::State& state, const char* name, double measured,
                               double limit, double maxRatio) {
    if (!runFailed(state))
        std::printf("%s: measured %.4f s, limit %.4f s\n", name, measured, limit);
    checkMark(state, std::string(name) + " over the wire time", measured / limit, maxRatio);
}

// Opens the control as COM1 on the station's device, RS232 at the paced speed. The station
// answers at once: a long reply time-out costs nothing and keeps a busy machine's slow
// wake-up from turning into a failed read.
inline void openPacedControl(QZcomOCX& control, const std::string& device) {
    setenv("VARNAK_COM1", device.c_str(), 1);
    control.setQZxCommPort(1);
    control.setQZxBaudrate(kPacedBaud);
    control.setQZxTyp(qzcom::QZxType_RS232);
    control.setQZxTimeout(1000);
    control.setQZxPortOpen(true);
}

}  // namespace varnak::bench
