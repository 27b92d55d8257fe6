// Rail save and lazy load through the INI layer: 20 register sections of 256 keys written
// into one file in one batch and read back from a cold cache, at 1x, 4x and 16x the keys
// per section. Linear cost means 16x takes about 16 times the 1x time; the 1x case should
// stay under 50 ms.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>

#include "platform/ini_file.h"
#include "tests/support/temp_dir.h"

namespace {

void saveAndLoad(benchmark::State& state) {
    const int keys = 256 * static_cast<int>(state.range(0));
    varnak::test::TempDir dir;
    int run = 0;
    for (auto _ : state) {
        const std::string file = (dir / ("rail" + std::to_string(run++) + ".ini")).string();
        {
            varnak::ini::IniBatch batch;
            char value[16];
            for (int table = 0; table < 20; ++table) {
                const std::string section = "RegValue_Table" + std::to_string(table);
                for (int reg = 0; reg < keys; ++reg) {
                    std::snprintf(value, sizeof value, "0x%04X", (reg * 7 + table) & 0xFFFF);
                    varnak::ini::WritePrivateProfileString(section, "Reg" + std::to_string(reg),
                                                           value, file);
                }
            }
        }
        varnak::ini::dropCache();
        size_t delivered = 0;
        for (int table = 0; table < 20; ++table) {
            const std::string section = "RegValue_Table" + std::to_string(table);
            for (int reg = 0; reg < keys; ++reg)
                delivered +=
                    varnak::ini::readString(file, section, "Reg" + std::to_string(reg)).size();
        }
        benchmark::DoNotOptimize(delivered);
        state.PauseTiming();
        varnak::ini::dropCache();
        std::remove(file.c_str());
        state.ResumeTiming();
    }
    state.counters["keys"] = 20.0 * keys;
    state.SetItemsProcessed(state.iterations() * 20 * keys);
}

}  // namespace

BENCHMARK(saveAndLoad)->Arg(1)->Arg(4)->Arg(16)->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
