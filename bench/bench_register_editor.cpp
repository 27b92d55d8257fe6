// The register editor online against a simulated station that paces its line at 19200 baud:
// opening and refreshing a 256-register table against the time its 15 telegrams need on
// the wire (24 x 15 + 2 x 256 = 872 bytes at 11 bits per byte), and a data-type change over
// the 256 rows, each the best of 5 rounds.
#include <benchmark/benchmark.h>

#include <QComboBox>
#include <QPushButton>
#include <algorithm>
#include <chrono>
#include <cstdio>

#include "app/control_register_device.h"
#include "bench/paced_wire.h"
#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/tree_node_key.h"
#include "tests/support/qt/qt_app.h"
#include "tests/support/sim_station.h"
#include "views/frmRegister.h"
#include "windowkit/clsForms.h"

namespace {

using varnak::test::SimStation;
using namespace varnak::bench;

constexpr double kMaxRatio = 1.10;
// 15 telegrams for the 256 registers of the table.
const double kWireSeconds = transferSeconds(256);

// A program context online with a station whose coupler has a 256-register table 0.
struct OnlineTable {
    OnlineTable() : station(0, 0), scope(context) {
        openPacedControl(control, station.devicePath());
        station.addTable(0, 0, 256);
        station.setPacing(SimStation::Pacing::WholeReplies);
        context.ui = &ui;
        context.VarnakComOCX = &control;
        context.registerDevice = &device;
        context.VarnakProject = std::make_shared<varnak::clsProject>();
        context.VarnakProject->InitComPort = [] { return 0; };
        mustWork(context.VarnakProject->setOnline(true) == varnak::kStoreOk, "going online");
        context.VarnakOnlineCoupler = std::make_shared<varnak::clsCoupler>();
        auto table = context.VarnakOnlineCoupler->clsColTables()->Add(0);
        table->setTableLen(255);
        table->setbInitDone(true);
    }
    SimStation station;
    QZcomOCX control;
    varnak::ControlRegisterDevice device{control};
    varnak::SilentUi ui;
    varnak::AppContext context;
    varnak::ContextScope scope;
};

void BM_OpenRefreshAndTypeChange(benchmark::State& state) {
    varnak::test::ensureQtApp();
    varnak::VarnakForms().setScreenSizeSource([] { return QSize(1024, 768); });
    OnlineTable online;
    const std::string key =
        varnak::treeKey(varnak::TreeNodeKind::CouplerTable, varnak::tableKeyDetail(0, 0, 0));
    // Short steps: the best of the rounds.
    double open = 1e30, refresh = 1e30, typeChange = 1e30;
    for (auto _ : state) {
        varnak::frmRegister dialog;
        auto start = Clock::now();
        if (!dialog.load(key)) state.SkipWithError("open failed");
        open = std::min(open, since(start));
        start = Clock::now();
        dialog.cmdRefresh->click();
        refresh = std::min(refresh, since(start));
        start = Clock::now();
        dialog.comboDataTyp1->setCurrentIndex(4);
        typeChange = std::min(typeChange, since(start));
    }
    if (!online.ui.messages.empty()) state.SkipWithError("the station did not answer");
    reportAgainstLimit(state, "open", open, kWireSeconds, kMaxRatio);
    reportAgainstLimit(state, "refresh", refresh, kWireSeconds, kMaxRatio);
    showFigure(state, "data-type change over 256 rows", typeChange * 1000, "ms");
}
BENCHMARK(BM_OpenRefreshAndTypeChange)->Iterations(5)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return varnak::bench::runBenchmarks(argc, argv);
}
