// The rail window offscreen on rails of mixed picture-size figures, the best of 15 rounds
// taken in turns: a full layout of 16, 64 and 255 terminals (a rail's largest) grows
// linearly (64 against 16 and 255 against 64 at most 4.5 times the processor time), the
// 255-terminal one within 25 ms; the layout an insert at position 60 makes against the
// full one (only the cells from there on: at most 0.2); and a resize and a scroll step.
#include <benchmark/benchmark.h>

#include <QScrollBar>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "bench/marks.h"
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
#include "windowkit/clsForms.h"

namespace {

namespace fs = std::filesystem;

using namespace varnak::bench;

constexpr double kMaxLinearRatio = 4.5;
constexpr double kMaxInsertRatio = 0.2;
constexpr double kMaxLargestMs = 25.0;
constexpr int kRounds = 15;
constexpr int kSizes[] = {16, 64, 255};

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
        mustWork(project->fNewProject("Bench", (dir / "Bench.PF").string(), dir.str()) ==
                     varnak::kStoreOk,
                 "making the project");
        mustWork(project->clsColCouplers()->Add("QZ3100-0000", 1, "Rail") == varnak::kStoreOk,
                 "adding the rail");
        // Inside a parent, as in the main window: a resize reaches the window at once.
        window = new varnak::frmCouplerDisplay(&host);
        window->resize(1000, 600);
        host.resize(1200, 700);
        host.show();
        window->HvrProject_ProjectStateChange(2);
        rail = *project->clsColCouplers()->begin();
        auto row = rail->clsColTerminals();
        for (int i = 0; i < terminals; ++i)
            mustWork(row->Add(kTypes[i % 4], row->Count() + 1, 1, rail->ConfSymbolicID()) ==
                         varnak::kStoreOk,
                     "inserting a terminal");
    }
    // One call, with this window's program context current.
    Timing time(const std::function<void()>& step) {
        varnak::ContextScope use(context);
        return timed(step);
    }
    Timing fullLayout() {
        return time([this] { window->fRailLayout(1); });
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

void BM_RailLayout(benchmark::State& state) {
    varnak::test::ensureQtApp();
    varnak::VarnakForms().setScreenSizeSource([] { return QSize(1280, 1024); });
    for (auto _ : state) {
        // Made in this order and ended in the reverse one, as their contexts nest.
        RailBench small(kSizes[0]), middle(kSizes[1]), large(kSizes[2]);
        RailBench* benches[] = {&small, &middle, &large};
        const auto full =
            bestOfRounds(kRounds, 3, [&](size_t c) { return benches[c]->fullLayout(); });
        for (size_t c = 0; c < 3; ++c)
            std::printf("full layout of %d terminals: %.3f ms, processor %.3f ms\n", kSizes[c],
                        full[c].wall * 1e3, full[c].cpu * 1e3);
        checkMark(state, "64 over 16 terminals", full[1].cpu / full[0].cpu, kMaxLinearRatio);
        checkMark(state, "255 over 64 terminals", full[2].cpu / full[1].cpu, kMaxLinearRatio);
        checkMark(state, "full layout of 255 terminals", full[2].wall * 1e3, kMaxLargestMs, "ms");

        auto row = middle.rail->clsColTerminals();
        mustWork(row->Add("QT7003-0000", 60, 1, middle.rail->ConfSymbolicID()) == varnak::kStoreOk,
                 "inserting a terminal");
        int step = 0;
        const auto steps = bestOfRounds(kRounds, 4, [&](size_t c) {
            ++step;
            switch (c) {
                case 0:
                    return middle.fullLayout();
                case 1:
                    return middle.time([&] { middle.window->fRailLayout(60); });
                case 2:
                    return middle.time([&] { middle.window->resize(900 + (step % 2) * 50, 600); });
                default:
                    return middle.time(
                        [&] { middle.window->hsbRailView->setValue(step * 5 % 100); });
            }
        });
        checkMark(state, "insert at 60 over full layout", steps[1].cpu / steps[0].cpu,
                  kMaxInsertRatio);
        showFigure(state, "resize step", steps[2].wall * 1e3, "ms");
        showFigure(state, "scroll step", steps[3].wall * 1e3, "ms");
    }
    varnak::VarnakForms().setScreenSizeSource({});
}
BENCHMARK(BM_RailLayout)->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return varnak::bench::runBenchmarks(argc, argv);
}
