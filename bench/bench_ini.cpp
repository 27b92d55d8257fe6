// Rail save and load through the INI layer: 20 register sections of 256 keys written into
// one file in one batch, then read back from a cold cache outside any batch or run (every
// call looks at the file on disk), at 1x, 4x and 16x the keys per section, the best of 11
// rounds each. The 1x round takes at most 15 ms; the cost grows linearly (4x the keys at
// most 4.4 times the processor time), and the file's name is resolved (its links
// followed) a fixed number of times per round, whatever the number of keys.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

#include "bench/marks.h"
#include "platform/ini_file.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace varnak::bench;

constexpr double kMaxOneMs = 15.0;
constexpr double kMaxGrowth = 4.4;  // for 4x the keys
constexpr int kRounds = 11;
const std::vector<int> kScales = {1, 4, 16};

struct Round {
    Timing timing;
    uint64_t resolutions = 0;
};

Round saveAndLoad(const std::string& file, int scale) {
    const int keys = 256 * scale;
    Round round;
    const uint64_t resolved = varnak::ini::nameResolutionsForTesting();
    size_t delivered = 0;
    round.timing = timed([&] {
        {
            varnak::ini::IniBatch batch;
            char value[16];
            for (int table = 0; table < 20; ++table) {
                const std::string section = "RegValue_Table" + std::to_string(table);
                for (int reg = 0; reg < keys; ++reg) {
                    std::snprintf(value, sizeof value, "0x%04X", (reg * 7 + table) & 0xFFFF);
                    mustWork(varnak::ini::WritePrivateProfileString(
                                 section, "Reg" + std::to_string(reg), value, file),
                             "writing a key");
                }
            }
        }
        varnak::ini::dropCache();
        for (int table = 0; table < 20; ++table) {
            const std::string section = "RegValue_Table" + std::to_string(table);
            for (int reg = 0; reg < keys; ++reg)
                delivered +=
                    varnak::ini::readString(file, section, "Reg" + std::to_string(reg)).size();
        }
    });
    round.resolutions = varnak::ini::nameResolutionsForTesting() - resolved;
    benchmark::DoNotOptimize(delivered);
    return round;
}

void BM_SaveAndLoad(benchmark::State& state) {
    varnak::test::TempDir dir;
    int run = 0;
    std::vector<uint64_t> resolutions(kScales.size(), 0);
    for (auto _ : state) {
        const auto best = bestOfRounds(kRounds, kScales.size(), [&](size_t c) {
            const std::string file = (dir / ("rail" + std::to_string(run++) + ".ini")).string();
            const Round round = saveAndLoad(file, kScales[c]);
            resolutions[c] = std::max(resolutions[c], round.resolutions);
            varnak::ini::dropCache();
            std::remove(file.c_str());
            return round.timing;
        });
        for (size_t c = 0; c < kScales.size(); ++c) {
            const std::string scale = std::to_string(kScales[c]) + "x";
            std::printf("%s (%d keys): best of %d: %.2f ms, processor %.2f ms, %llu resolutions\n",
                        scale.c_str(), 20 * 256 * kScales[c], kRounds, best[c].wall * 1e3,
                        best[c].cpu * 1e3, static_cast<unsigned long long>(resolutions[c]));
        }
        checkMark(state, "1x", best[0].wall * 1e3, kMaxOneMs, "ms");
        checkMark(state, "4x over 1x", best[1].cpu / best[0].cpu, kMaxGrowth);
        checkMark(state, "16x over 4x", best[2].cpu / best[1].cpu, kMaxGrowth);
        // The writes and the reads after the dropped cache resolve the name once each.
        checkMark(state, "16x resolutions over 1x",
                  static_cast<double>(resolutions[2]) / static_cast<double>(resolutions[0]), 1.0);
    }
}
BENCHMARK(BM_SaveAndLoad)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return varnak::bench::runBenchmarks(argc, argv);
}
