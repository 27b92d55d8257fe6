#pragma once
// What every benchmark shares: a figure printed against its mark (one line of one form, so
// that a run's figures can be read and collected), rounds of several cases taken in turns
// so that a slow spell of the machine does not fall on one case only, the thread's
// processor time for the host's own work, and a main that fails when a benchmark did.
#include <benchmark/benchmark.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace varnak::bench {

// Kept among a run's counters once a figure of it was over its mark. A run that failed
// shows no counters, so it never shows.
inline constexpr const char* kOverItsMark = "over its mark";

// Whether the run did not go through: failed otherwise than by a figure over its mark. Its
// figures measured the failure (a time-out, a step that stopped short), not the work.
inline bool runFailed(const benchmark::State& state) {
    return state.error_occurred() && state.counters.count(kOverItsMark) == 0;
}

// One line: "mark <name>: <figure> <unit> (at most <mark> <unit>) ok" or "... OVER", or after
// a run that did not go through "mark <name>: none, the run failed". An empty unit marks a
// ratio. Fails the benchmark when the figure is over its mark.
inline bool checkMark(benchmark::State& state, const std::string& name, double figure, double mark,
                      const char* unit = "") {
    if (runFailed(state)) {
        std::printf("mark %s: none, the run failed\n", name.c_str());
        std::fflush(stdout);
        return false;
    }
    const bool ok = figure <= mark;
    const char* gap = *unit ? " " : "";
    std::printf("mark %s: %.3f%s%s (at most %.3f%s%s) %s\n", name.c_str(), figure, gap, unit, mark,
                gap, unit, ok ? "ok" : "OVER");
    std::fflush(stdout);
    state.counters[name] = figure;
    if (!ok) {
        state.counters[kOverItsMark] = 1;
        state.SkipWithError((name + " is over its mark").c_str());
    }
    return ok;
}

// A step a benchmark stands on must work: a figure taken over a failed set-up measures
// nothing. Ends the program, naming the step, when it did not.
inline void mustWork(bool worked, const char* step) {
    if (worked) return;
    std::fprintf(stderr, "benchmark step failed: %s\n", step);
    std::exit(1);
}

// A figure without a mark, in the same form: "figure <name>: <value> <unit>".
inline void showFigure(benchmark::State& state, const std::string& name, double value,
                       const char* unit) {
    std::printf("figure %s: %.3f %s\n", name.c_str(), value, unit);
    std::fflush(stdout);
    state.counters[name] = value;
}

// Seconds of processor time this thread used so far: the host's own work, which other
// programs on a busy machine slow down far less than they stretch the wall-clock time.
inline double threadCpuSeconds() {
    timespec now{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return static_cast<double>(now.tv_sec) + static_cast<double>(now.tv_nsec) * 1e-9;
}

struct Timing {
    double wall = 0;  // seconds
    double cpu = 0;   // seconds of this thread's processor time
};

inline Timing timed(const std::function<void()>& work) {
    const auto start = std::chrono::steady_clock::now();
    const double cpu = threadCpuSeconds();
    work();
    return {std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(),
            threadCpuSeconds() - cpu};
}

// The best (least) timing of each case over the rounds; each round takes every case once,
// starting one case later than the round before, so that no case is always first.
inline std::vector<Timing> bestOfRounds(int rounds, size_t cases,
                                        const std::function<Timing(size_t)>& measure) {
    std::vector<Timing> best(cases, Timing{1e30, 1e30});
    for (int round = 0; round < rounds; ++round) {
        for (size_t n = 0; n < cases; ++n) {
            const size_t c = (n + static_cast<size_t>(round)) % cases;
            const Timing t = measure(c);
            best[c].wall = std::min(best[c].wall, t.wall);
            best[c].cpu = std::min(best[c].cpu, t.cpu);
        }
    }
    return best;
}

// Google Benchmark's console output, and an exit code that tells whether every benchmark
// ran through within its marks.
class MarkReporter : public benchmark::ConsoleReporter {
  public:
    // Coloured only on a terminal, so that a saved or piped run reads plainly.
    MarkReporter() : ConsoleReporter(::isatty(STDOUT_FILENO) ? OO_Defaults : OO_Tabular) {}
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.error_occurred)
                failed.push_back(run.benchmark_name() + ": " + run.error_message);
        }
        ConsoleReporter::ReportRuns(runs);
    }
    std::vector<std::string> failed;
};

inline int runBenchmarks(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 2;
    MarkReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    for (const std::string& f : reporter.failed) std::printf("FAILED %s\n", f.c_str());
    return reporter.failed.empty() ? 0 : 1;
}

}  // namespace varnak::bench
