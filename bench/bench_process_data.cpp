// The process-data view and the terminal script online against a simulated station that
// paces its line at 19200 baud. The view's pass period with 15 visible rows per grid is
// measured against 100 ms plus the wire time of its two reads (24 x ceil(R/18) + 2R bytes
// each, 11 bits a byte); a terminal script of 64 lines on four two-channel terminals
// against the wire time of its writes and reads (each one register). Each may take at most
// 1.10 times its limit. A script run that does not go through says why.
#include <benchmark/benchmark.h>

#include <QApplication>
#include <QHeaderView>
#include <QPushButton>
#include <chrono>
#include <cstdio>
#include <map>
#include <memory>
#include <string>

#include "app/control_register_device.h"
#include "bench/paced_wire.h"
#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "online/frmScriptTerm.h"
#include "online/script_dialog.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "tests/support/qt/event_wait.h"
#include "tests/support/qt/qt_app.h"
#include "tests/support/station_from_rail.h"
#include "tests/support/temp_dir.h"
#include "tests/support/wire_log.h"
#include "views/frmProcData.h"
#include "windowkit/clsForms.h"
#include "windowkit/register_grid.h"

namespace {

using namespace varnak::bench;

constexpr double kMaxRatio = 1.10;
constexpr int kVisibleRows = 15;
constexpr int kPasses = 20;
constexpr int kScriptLines = 64;
constexpr int kTerminals = 4;
constexpr int kChannels = 2;

bool waitFor(const std::function<bool()>& done, int ms) {
    return varnak::test::runEventsUntil(done, ms);
}

// Online with a paced station of four QT3002 terminals.
struct PacedStation {
    PacedStation() : scope(context) {
        const std::string resources = varnak::platform::resourceDir().string();
        varnak::test::RailStationSpec spec{"QZ3100-0000", {}};
        spec.terminals.assign(kTerminals, "QT3002-0000");
        station = varnak::test::makeRailStation(resources, spec, 0);
        openPacedControl(control, station->devicePath());
        station->setPacing(varnak::test::SimStation::Pacing::WholeReplies);
        context.ui = &ui;
        context.VarnakComOCX = &control;
        context.registerDevice = &device;
        context.VarnakProject = std::make_shared<varnak::clsProject>(dir.str(), resources);
        context.VarnakProject->InitComPort = [] { return 0; };
        mustWork(context.VarnakProject->setOnline(true) == varnak::kStoreOk, "going online");
        auto online = std::make_shared<varnak::clsCoupler>();
        varnak::ignoreLoadResult(online->ConfRetrieveData(resources + "/Coupler/QZ3100-0000.INI"));
        mustWork(online->clsColTerminals()->Add("QT3002-0000", 1, kTerminals,
                                                online->ConfSymbolicID()) == varnak::kStoreOk,
                 "inserting the terminals");
        context.VarnakOnlineCoupler = online;
        station->clearRequests();
    }
    varnak::test::TempDir dir;
    std::unique_ptr<varnak::test::SimStation> station;
    QZcomOCX control;
    varnak::ControlRegisterDevice device{control};
    varnak::SilentUi ui;
    varnak::AppContext context;
    varnak::ContextScope scope;
};

void setUpQt() {
    varnak::test::ensureQtApp();
    varnak::VarnakForms().setScreenSizeSource([] { return QSize(1024, 768); });
}

void BM_ProcessDataPassPeriod(benchmark::State& state) {
    setUpQt();
    PacedStation paced;
    for (auto _ : state) {
        varnak::frmProcData dialog;
        if (!dialog.load()) state.SkipWithError("the view did not open");
        dialog.show();
        // Each grid as high as its header and 15 rows.
        for (varnak::RegisterGrid* grid : {dialog.tdbgInData, dialog.tdbgOutData})
            grid->setFixedHeight(grid->horizontalHeader()->height() +
                                 kVisibleRows * grid->verticalHeader()->defaultSectionSize() +
                                 2 * grid->frameWidth());
        waitFor([] { return false; }, 300);  // the layout settles, the passes start
        const varnak::RowRange in = varnak::frmProcData::visibleRows(dialog.tdbgInData);
        const varnak::RowRange out = varnak::frmProcData::visibleRows(dialog.tdbgOutData);
        const size_t perPass = static_cast<size_t>((in.count + 17) / 18 + (out.count + 17) / 18);
        paced.station->clearRequests();
        waitFor([&] { return paced.station->requests().size() >= perPass * (kPasses + 1); }, 10000);
        dialog.cmdExit->click();
        waitFor([&] { return !dialog.isVisible(); }, 1000);
        const auto exchanges = paced.station->exchanges();
        if (exchanges.size() < perPass * (kPasses + 1)) {
            state.SkipWithError("too few passes");
            break;
        }
        // Pass starts: the first telegram of each pass after the first complete one.
        const size_t first = perPass;
        const size_t last = perPass * kPasses;
        const double period =
            std::chrono::duration<double>(exchanges[last].received - exchanges[first].received)
                .count() /
            (kPasses - 1);
        std::printf("visible rows: input %d, output %d\n", in.count, out.count);
        reportAgainstLimit(state, "pass_period", period,
                           0.100 + transferSeconds(in.count) + transferSeconds(out.count),
                           kMaxRatio);
    }
}
BENCHMARK(BM_ProcessDataPassPeriod)->Iterations(1)->Unit(benchmark::kMillisecond);

// Why a script run did not go through: its outcome, the request that failed it with the
// control's code, what the user was told, and how the station's last exchange went, which
// tells a slow machine (a reply later than the time-out) from a fault.
std::string whyNotThrough(const varnak::ScriptStepper& stepper, const PacedStation& paced) {
    using Outcome = varnak::ScriptRun::Outcome;
    static const std::map<Outcome, const char*> outcomes = {{Outcome::Running, "still running"},
                                                            {Outcome::Completed, "completed"},
                                                            {Outcome::Cancelled, "cancelled"},
                                                            {Outcome::Aborted, "aborted"},
                                                            {Outcome::Failed, "failed"}};
    std::string why =
        std::string("the script did not run through (") + outcomes.at(stepper.outcome()) + ")";
    if (const auto& failure = stepper.failure())
        why += ": the " + failure->request + " failed with code " + std::to_string(failure->code);
    for (const auto& message : paced.ui.messages) why += "; told \"" + message.text + "\"";
    const auto exchanges = paced.station->exchanges();
    if (!exchanges.empty()) {
        const auto& last = exchanges.back();
        why += "; the station's last request (" + varnak::test::decodeRequest(last.request) + ")";
        if (last.replied == decltype(last.replied){}) {
            why += " got no reply";
        } else {
            const auto late =
                std::chrono::duration_cast<std::chrono::milliseconds>(last.replied - last.received);
            why += " was answered " + std::to_string(late.count()) +
                   " ms after it came (time-out " + std::to_string(paced.control.QZxTimeout()) +
                   " ms)";
        }
    }
    return why;
}

void BM_TerminalScript(benchmark::State& state) {
    setUpQt();
    PacedStation paced;
    std::string text = "[Initialisierung]\n";
    for (int i = 1; i <= kScriptLines; ++i)
        text += "Init" + std::to_string(i) + "=" + std::to_string(32 + (i % 31)) + "," +
                std::to_string(i) + "\n";
    const auto file = paced.dir / "bench.tsi";
    varnak::test::writeFile(file, text);
    for (auto _ : state) {
        varnak::frmScriptTerm dialog;
        if (!dialog.load(file.string())) state.SkipWithError("the script did not open");
        dialog.show();
        const auto start = std::chrono::steady_clock::now();
        dialog.cmdPrjOk->click();
        waitFor([&] { return !dialog.isVisible(); }, 120000);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        if (dialog.stepper().outcome() != varnak::ScriptRun::Outcome::Completed ||
            !paced.ui.messages.empty()) {
            const std::string why = whyNotThrough(dialog.stepper(), paced);
            std::printf("%s\n", why.c_str());
            state.SkipWithError(why.c_str());
        }
        const int settings = kScriptLines * kTerminals * kChannels;
        reportAgainstLimit(state, "terminal_script", seconds, settings * 3 * transferSeconds(1),
                           kMaxRatio);
    }
}
BENCHMARK(BM_TerminalScript)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return varnak::bench::runBenchmarks(argc, argv);
}
