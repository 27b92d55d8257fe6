// Saving and reopening a rail of 64 terminals of mixed families with every table changed:
// the save rewrites each file once, however many keys change, and the reopen reads each
// file once.
#include <benchmark/benchmark.h>

#include <chrono>

#include "tests/model/project_fixture.h"

namespace {

using namespace varnak;
using varnak::test::ProjectFixture;

constexpr const char* kFamilies[] = {"QT3002-0000", "QT4002-0000", "QT3808-0000", "QT1002-0000",
                                     "QT6001-0000"};
constexpr int kTerminals = 64;

void changeEverything(clsCoupler& rail, int round) {
    for (const auto& t : *rail.clsColTables()) {
        t->setConfRegisterValue(1, round & 0xFFFF);
        t->setValueChanged(true);
    }
    for (const auto& terminal : *rail.clsColTerminals()) {
        for (const auto& t : *terminal->clsColTables()) {
            t->setConfRegisterValue(40, round & 0xFFFF);
            t->setValueChanged(true);
        }
        for (int32_t c = 0; c < terminal->InfoNrLogSigChnl(); ++c)
            terminal->setConfMappInputImage(c, 0, std::to_string(round % 500));
    }
}

struct Bench {
    Bench() {
        fixture.newProject("Bench");
        fixture.couplers()->Add("QZ3100-0000", 1, "Rail");
        auto terminals = fixture.terminals();
        for (int i = 0; i < kTerminals; ++i)
            terminals->Add(kFamilies[i % 5], terminals->Count() + 1, 1, 1);
        fixture.couplers()->fClearColCouplers();
    }
    ProjectFixture fixture;
};

void BM_RailSaveAndReopen(benchmark::State& state) {
    Bench bench;
    auto& f = bench.fixture;
    int round = 0;
    double saveMs = 0, openMs = 0;
    for (auto _ : state) {
        auto t0 = std::chrono::steady_clock::now();
        ini::dropCache();  // every open reads the files from disk
        if (f.openRail("Bench", "Rail") != kStoreOk) state.SkipWithError("open failed");
        auto t1 = std::chrono::steady_clock::now();
        state.PauseTiming();
        changeEverything(*f.rail(), ++round);
        state.ResumeTiming();
        auto t2 = std::chrono::steady_clock::now();
        if (f.couplers()->fClearColCouplers() != kStoreOk) state.SkipWithError("save failed");
        auto t3 = std::chrono::steady_clock::now();
        openMs += std::chrono::duration<double, std::milli>(t1 - t0).count();
        saveMs += std::chrono::duration<double, std::milli>(t3 - t2).count();
    }
    state.counters["open_ms"] = benchmark::Counter(openMs / state.iterations());
    state.counters["save_ms"] = benchmark::Counter(saveMs / state.iterations());
    state.counters["total_ms"] = benchmark::Counter((openMs + saveMs) / state.iterations());
}
BENCHMARK(BM_RailSaveAndReopen)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
