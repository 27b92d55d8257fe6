// The process-image mapping of a full rail: 64 terminals with 3569 entries per direction,
// the most the coupler's lists hold (synthetic test descriptions; no shipped terminal has
// that many). Online, OK against a simulated station pacing its line at 19200 baud, whose
// lists then end in tables 23 and 63, against the time its telegrams need on the wire
// (24 x ceil(R/18) + 2R bytes per transfer of R registers at 11 bits per byte) plus the
// write-protection lift's fixed pause; offline, the grid fill, store and recalculation, the
// best of 20 rounds.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>

#include "app/control_register_device.h"
#include "bench/paced_wire.h"
#include "comctl/QZcomOCX.h"
#include "couplercfg/image_mapping_editor.h"
#include "mapping/mapping_routines.h"
#include "model/app_context.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "tests/support/mapping_descriptions.h"
#include "tests/support/sim_station.h"
#include "tests/support/station_from_rail.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace varnak::bench;
using varnak::MappingDirection;

constexpr double kMaxRatio = 1.10;
constexpr double kLiftPause = 0.5;
// Table 8's word of the 64th terminal: 41 bits, inputs and outputs.
constexpr int kLastListWord = 0x8000 | 41 << 8 | 3;

// 63 terminals of 56 entries and one of 41: 3569 entries per direction, and a terminal
// list of 64 words that fills table 8 without an end mark.
varnak::test::RailStationSpec fullRail() {
    varnak::test::RailStationSpec spec{"QZ3100-0000", {}};
    spec.terminals.assign(63, "QT8914-0000");
    spec.terminals.push_back("QT8941-0000");
    return spec;
}

// A program context on a resource folder with the shipped couplers and the synthetic
// terminals.
struct MappingContext {
    MappingContext() : scope(context) {
        varnak::ini::dropCache();
        context.ui = &ui;
        std::filesystem::create_directories(dir / "Resource");
        std::filesystem::copy(varnak::platform::resourceDir() / "Coupler",
                              dir / "Resource" / "Coupler",
                              std::filesystem::copy_options::recursive);
        varnak::test::writeMappingTestTerminals(dir / "Resource");
        std::filesystem::create_directories(dir / "prog");
        project = std::make_shared<varnak::clsProject>((dir / "prog").string(),
                                                       (dir / "Resource").string());
        project->InitComPort = [] { return 0; };
        context.VarnakProject = project;
    }
    // The rail made from the descriptions (online its table directory comes from the device).
    std::shared_ptr<varnak::clsCoupler> makeRail() {
        const auto spec = fullRail();
        auto rail = std::make_shared<varnak::clsCoupler>();
        varnak::ignoreLoadResult(rail->ConfRetrieveData(
            (dir / "Resource" / "Coupler" / (spec.coupler + ".INI")).string()));
        auto row = rail->clsColTerminals();
        for (const auto& t : spec.terminals)
            mustWork(row->Add(t, row->Count() + 1, 1, rail->ConfSymbolicID()) == varnak::kStoreOk,
                     "inserting a terminal");
        return rail;
    }

    varnak::test::TempDir dir;
    varnak::SilentUi ui;
    varnak::AppContext context;
    varnak::ContextScope scope;
    std::shared_ptr<varnak::clsProject> project;
};

void BM_OnlineOkOfAFullRail(benchmark::State& state) {
    MappingContext c;
    auto station = varnak::test::makeRailStation(c.dir / "Resource", fullRail(), 0);
    station->setRegister(0, 10, 0, 0xFFFF);
    station->setRegister(0, 50, 0, 0xFFFF);
    station->setPacing(varnak::test::SimStation::Pacing::WholeReplies);
    QZcomOCX control;
    openPacedControl(control, station->devicePath());
    varnak::ControlRegisterDevice device(control);
    c.context.VarnakComOCX = &control;
    c.context.registerDevice = &device;
    mustWork(c.project->setOnline(true) == varnak::kStoreOk, "going online");
    c.context.VarnakOnlineCoupler = c.makeRail();

    // The lift's block and read-back, the 28 list tables of 256 registers, table 8's 65.
    const double limit =
        2 * transferSeconds(4) + 28 * transferSeconds(256) + transferSeconds(65) + kLiftPause;
    for (auto _ : state) {
        varnak::ImageMappingEditor editor(varnak::ImageMappingEditor::Variant::Programmed);
        if (!editor.load()) state.SkipWithError("the rail did not load");
        c.ui.answers.push_back(varnak::vbNo);
        const auto start = Clock::now();
        const bool closed = editor.ok();
        const double measured = since(start);
        if (!closed || station->reg(0, 23, 254) != 0xFFFF || station->reg(0, 63, 254) != 0xFFFF ||
            station->reg(0, 8, 64) != kLastListWord)
            state.SkipWithError("the lists did not reach the station");
        reportAgainstLimit(state, "ok", measured, limit, kMaxRatio);
    }
    c.context.VarnakComOCX = nullptr;
    c.context.registerDevice = nullptr;
}
BENCHMARK(BM_OnlineOkOfAFullRail)->Iterations(1)->Unit(benchmark::kMillisecond);

void BM_FillStoreRecalculate(benchmark::State& state) {
    MappingContext c;
    auto rail = c.makeRail();
    double fill = 1e30, store = 1e30, recalculate = 1e30;  // the best of the rounds
    for (auto _ : state) {
        varnak::RailMappingLayout layout;
        if (varnak::railMappingLayout(*rail, false, layout)) state.SkipWithError("refused");
        std::vector<varnak::MappingTextFault> faults;
        auto start = Clock::now();
        const auto in = varnak::fFillImageGrid(layout, MappingDirection::Input, faults);
        const auto out = varnak::fFillImageGrid(layout, MappingDirection::Output, faults);
        fill = std::min(fill, since(start));
        start = Clock::now();
        mustWork(!varnak::fStoreImageGrid(*rail, layout, MappingDirection::Input, in),
                 "storing the input grid");
        mustWork(!varnak::fStoreImageGrid(*rail, layout, MappingDirection::Output, out),
                 "storing the output grid");
        mustWork(varnak::fStoreTerminalList(*rail, layout, false).empty(),
                 "storing the terminal list");
        store = std::min(store, since(start));
        start = Clock::now();
        mustWork(
            !varnak::fReCalcProgrammedConfiguration(*rail, layout, MappingDirection::Input, false),
            "recalculating the input list");
        mustWork(
            !varnak::fReCalcProgrammedConfiguration(*rail, layout, MappingDirection::Output, false),
            "recalculating the output list");
        recalculate = std::min(recalculate, since(start));
    }
    showFigure(state, "grid fill of 3569 entries per direction", fill * 1e3, "ms");
    showFigure(state, "store", store * 1e3, "ms");
    showFigure(state, "recalculation", recalculate * 1e3, "ms");
}
BENCHMARK(BM_FillStoreRecalculate)->Iterations(20)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return varnak::bench::runBenchmarks(argc, argv);
}
