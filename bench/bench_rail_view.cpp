// The rail window offscreen on rails of mixed picture-size figures: a full layout of 64
// terminals against 16 (it grows linearly: at most 4.5 times), the layout an insert at
// position 60 makes against the full one (only the cells from there on: at most 0.2), and
// a resize and a scroll step.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <QScrollBar>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "app/clsForms.h"
#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "railview/frmCouplerDisplay.h"
#include "tests/support/qt/qt_app.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

constexpr double kMaxLinearRatio = 4.5;
constexpr double kMaxInsertRatio = 0.2;
constexpr int kRounds = 20;

// Types of figures 1 to 4, one of them the shipped one of figure 2.
const char* kTypes[] = {"QT3002-0000", "QT7001-0000", "QT7003-0000", "QT7004-0000"};

void describe(const fs::path& resources, const std::string& type, int figure) {
    varnak::test::writeFile(resources / "Terminal" / (type + ".INI"),
                            "[Common]\nName=" + type + "\nPicture=QT1002-0000.png\nPicSize=" +
                                std::to_string(figure) + "\nCurrentKBus=-5\n");
}

// A program context with a project whose rail has that many terminals, and the window.
struct RailBench {
    explicit RailBench(int terminals) : scope(context) {
        context.ui = &ui;
        const fs::path resources = dir / "Resource";
        fs::create_directories(resources);
        for (const char* folder : {"Coupler", "Terminal", "Graph"})
            fs::copy(varnak::platform::resourceDir() / folder, resources / folder,
                     fs::copy_options::recursive);
        for (int figure : {1, 3, 4})
            describe(resources, "QT700" + std::to_string(figure) + "-0000", figure);
        fs::create_directories(dir / "prog");
        project = std::make_shared<varnak::clsProject>((dir / "prog").string(), resources.string());
        project->InitComPort = [] { return 0; };
        context.VarnakProject = project;
        project->fNewProject("Bench", (dir / "Bench.PF").string(), dir.str());
        project->clsColCouplers()->Add("QZ3100-0000", 1, "Rail");
        // Inside a parent, as in the main window: a resize reaches the window at once.
        window = new varnak::frmCouplerDisplay(&host);
        window->resize(1000, 600);
        host.resize(1200, 700);
        host.show();
        window->HvrProject_ProjectStateChange(2);
        rail = *project->clsColCouplers()->begin();
        auto row = rail->clsColTerminals();
        for (int i = 0; i < terminals; ++i)
            row->Add(kTypes[i % 4], row->Count() + 1, 1, rail->ConfSymbolicID());
    }
    // Seconds of one call, the mean of kRounds.
    template <typename Step>
    double time(Step step) {
        const auto start = Clock::now();
        for (int i = 0; i < kRounds; ++i) step(i);
        return std::chrono::duration<double>(Clock::now() - start).count() / kRounds;
    }
    double fullLayout() {
        return time([this](int) { window->fRailLayout(1); });
    }

    varnak::test::TempDir dir;
    varnak::SilentUi ui;
    varnak::AppContext context;
    varnak::ContextScope scope;
    std::shared_ptr<varnak::clsProject> project;
    std::shared_ptr<varnak::clsCoupler> rail;
    QWidget host;
    varnak::frmCouplerDisplay* window;
};

void check(benchmark::State& state, const char* name, double ratio, double limit) {
    state.counters[name] = ratio;
    std::printf("%s: ratio %.3f (at most %.2f)\n", name, ratio, limit);
    if (ratio > limit) state.SkipWithError(name);
}

void BM_RailLayout(benchmark::State& state) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    varnak::test::ensureQtApp();
    varnak::VarnakForms().setScreenSizeSource([] { return QSize(1280, 1024); });
    for (auto _ : state) {
        double small = 0, large = 0, insert = 0, resize = 0, scroll = 0;
        {
            RailBench bench(16);
            small = bench.fullLayout();
        }
        {
            RailBench bench(64);
            large = bench.fullLayout();
            auto row = bench.rail->clsColTerminals();
            row->Add("QT7003-0000", 60, 1, bench.rail->ConfSymbolicID());
            const double full = bench.fullLayout();
            insert = bench.time([&](int) { bench.window->fRailLayout(60); }) / full;
            resize = bench.time([&](int i) { bench.window->resize(900 + (i % 2) * 50, 600); });
            scroll = bench.time([&](int i) { bench.window->hsbRailView->setValue(i * 5 % 100); });
        }
        std::printf("full layout: 16 terminals %.3f ms, 64 terminals %.3f ms\n", small * 1e3,
                    large * 1e3);
        check(state, "linear_64_over_16", large / small, kMaxLinearRatio);
        check(state, "insert_at_60_over_full", insert, kMaxInsertRatio);
        std::printf("resize step %.3f ms, scroll step %.3f ms\n", resize * 1e3, scroll * 1e3);
        state.counters["resize_ms"] = resize * 1e3;
        state.counters["scroll_ms"] = scroll * 1e3;
        std::fflush(stdout);
    }
    varnak::VarnakForms().setScreenSizeSource({});
}
BENCHMARK(BM_RailLayout)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
