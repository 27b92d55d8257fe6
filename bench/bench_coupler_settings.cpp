// The coupler settings online against a simulated controller station that paces its line
// at 19200 baud. General settings OK: the lift, the 256 registers of table 0 and the set,
// against the time their telegrams need on the wire (24 x ceil(R/18) + 2R bytes per
// transfer of R registers at 11 bits per byte) plus the two protection commands' fixed
// pauses of 0.5 s, the best of 5 rounds. Cycle-time polling: the mean period of 100 ticks against
// the 50 ms interval plus one 4-register read's wire time.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>

#include "app/control_register_device.h"
#include "bench/paced_wire.h"
#include "comctl/QZcomOCX.h"
#include "couplercfg/cycle_time_measurement.h"
#include "couplercfg/general_settings_editor.h"
#include "model/app_context.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "tests/support/qt/qt_app.h"
#include "tests/support/station_from_rail.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace varnak::bench;

constexpr double kMaxOkRatio = 1.10;
constexpr double kMaxTickRatio = 1.15;
constexpr double kProtectionPause = 0.5;
constexpr int kTicks = 100;

// A program context online with a paced QY3100 station.
struct OnlineController {
    OnlineController() : scope(context) {
        varnak::test::ensureQtApp();
        varnak::ini::dropCache();
        context.ui = &ui;
        const auto resources = varnak::platform::resourceDir();
        std::filesystem::create_directories(dir / "prog");
        project = std::make_shared<varnak::clsProject>((dir / "prog").string(), resources.string());
        project->InitComPort = [] { return 0; };
        context.VarnakProject = project;
        station = varnak::test::makeRailStation(resources, {"QY3100-0000", {}}, 0);
        station->setPacing(varnak::test::SimStation::Pacing::WholeReplies);
        openPacedControl(control, station->devicePath());
        context.VarnakComOCX = &control;
        context.registerDevice = &device;
        mustWork(project->setOnline(true) == varnak::kStoreOk, "going online");
        auto rail = std::make_shared<varnak::clsCoupler>();
        varnak::ignoreLoadResult(
            rail->ConfRetrieveData((resources / "Coupler" / "QY3100-0000.INI").string()));
        context.VarnakOnlineCoupler = rail;
    }
    ~OnlineController() {
        context.VarnakComOCX = nullptr;
        context.registerDevice = nullptr;
    }

    varnak::test::TempDir dir;
    varnak::SilentUi ui;
    varnak::AppContext context;
    varnak::ContextScope scope;
    std::shared_ptr<varnak::clsProject> project;
    std::unique_ptr<varnak::test::SimStation> station;
    QZcomOCX control;
    varnak::ControlRegisterDevice device{control};
};

void BM_GeneralSettingsOkOnline(benchmark::State& state) {
    OnlineController c;
    const double limit = 4 * transferSeconds(4) + transferSeconds(256) + 2 * kProtectionPause;
    double best = 1e30;  // a short step: the best of the rounds
    int round = 0;
    for (auto _ : state) {
        varnak::GeneralSettingsEditor editor;
        if (!editor.open()) state.SkipWithError("the dialog did not open");
        const int value = 70 + round++;
        editor.form().numbers[0] = std::to_string(value);
        const auto start = Clock::now();
        const bool closed = editor.ok();
        best = std::min(best, since(start));
        if (!closed || c.station->reg(0, 0, 7) != value) state.SkipWithError("table 0 did not go");
    }
    reportAgainstLimit(state, "General settings OK online", best, limit, kMaxOkRatio);
}
BENCHMARK(BM_GeneralSettingsOkOnline)->Iterations(5)->Unit(benchmark::kMillisecond);

void BM_CycleTimePolling(benchmark::State& state) {
    OnlineController c;
    const double limit = varnak::kCycleTimePollMs / 1000.0 + transferSeconds(4);
    for (auto _ : state) {
        varnak::CycleTimeMeasurement m([](bool) { return true; });
        if (!m.open()) state.SkipWithError("the dialog did not open");
        int ticks = 0;
        Clock::time_point first, last;
        m.onValues([&](const auto&) {
            if (ticks++ == 0) first = Clock::now();
            last = Clock::now();
        });
        m.setActive(true);
        const auto deadline = Clock::now() + std::chrono::seconds(30);
        while (ticks <= kTicks && Clock::now() < deadline)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 10);
        m.setActive(false);
        if (ticks <= kTicks) state.SkipWithError("the poll stopped");
        const double period = std::chrono::duration<double>(last - first).count() / kTicks;
        reportAgainstLimit(state, "Cycle-time poll period", period, limit, kMaxTickRatio);
    }
}
BENCHMARK(BM_CycleTimePolling)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return varnak::bench::runBenchmarks(argc, argv);
}
