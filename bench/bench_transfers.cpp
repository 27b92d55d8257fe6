// The station upload (coupler settings, programmed configuration, terminal configuration)
// and the settings download of a full rail of 64 QT3002 terminals (two channels each, no end
// terminal) against a simulated station that paces its line at 19200 baud. Each is measured against
// the time its requests need on the wire (24 x ceil(R/18) + 2R bytes for a request of R registers,
// 11 bits a byte; the mapping recalculation's re-reads included) plus the command blocks'
// fixed pauses, and may take at most 1.10 times that.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <vector>

#include "app/control_register_device.h"
#include "bench/paced_wire.h"
#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "online/online_texts.h"
#include "online/settings_download.h"
#include "online/station_upload.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "tests/support/station_from_rail.h"
#include "tests/support/temp_dir.h"

namespace {

using namespace varnak::bench;

constexpr double kMaxRatio = 1.10;
constexpr int kTerminals = 64;  // every position of the station's list, no end terminal
constexpr int kChannels = 2;
constexpr int kListEndEntry = 128;         // where the mapping lists end, in their first table
constexpr double kLiftPauseSeconds = 0.5;  // the write protection's read-back pause

double wireSecondsOf(const std::vector<int>& requests) {
    double bytes = 0;
    for (int r : requests) bytes += transferBytes(r);
    return wireSeconds(bytes);
}

varnak::test::RailStationSpec railSpec() {
    varnak::test::RailStationSpec spec{"QZ3100-0000", {}};
    spec.terminals.assign(kTerminals, "QT3002-0000");
    return spec;
}

// A project with the rail, its station paced at 19200 baud, and the online rail read from
// the same descriptions; the mapping lists end within their first table.
struct PacedRail {
    PacedRail() : scope(context) {
        const std::string resources = varnak::platform::resourceDir().string();
        station = varnak::test::makeRailStation(resources, railSpec(), 0);
        openPacedControl(control, station->devicePath());
        station->setPacing(varnak::test::SimStation::Pacing::WholeReplies);
        for (int t : {10, 50}) station->setRegister(0, t, kListEndEntry, 0xFFFF);
        context.ui = &ui;
        context.VarnakComOCX = &control;
        context.registerDevice = &device;

        project = std::make_shared<varnak::clsProject>(dir.str(), resources);
        project->InitComPort = [] { return 0; };
        context.VarnakProject = project;
        mustWork(
            project->fNewProject("Werk", (dir / "Werk.PF").string(), dir.str()) == varnak::kStoreOk,
            "making the project");
        mustWork(project->clsColCouplers()->Add("QZ3100-0000", 1, "Linie 1") == varnak::kStoreOk,
                 "adding the rail");
        rail = *project->clsColCouplers()->begin();
        fill(*rail);
        auto tables = rail->clsColTables();
        // The terminal list fills table 8: no end mark.
        for (int p = 1; p <= kTerminals; ++p) tables->Item(8)->setConfRegisterValue(p, 3002);
        for (int t : {10, 50}) tables->Item(t)->setConfRegisterValue(kListEndEntry, 0xFFFF);

        mustWork(project->setOnline(true) == varnak::kStoreOk, "going online");
        online = std::make_shared<varnak::clsCoupler>();
        varnak::ignoreLoadResult(online->ConfRetrieveData(resources + "/Coupler/QZ3100-0000.INI"));
        fill(*online);
        context.VarnakOnlineCoupler = online;
    }
    static void fill(varnak::clsCoupler& coupler) {
        mustWork(coupler.clsColTerminals()->Add("QT3002-0000", 1, kTerminals,
                                                coupler.ConfSymbolicID()) == varnak::kStoreOk,
                 "inserting the terminals");
    }
    // Registers of a whole coupler table of the rail.
    int whole(int table) const { return rail->clsColTables()->Item(table)->TableLen() + 1; }

    varnak::test::TempDir dir;
    std::unique_ptr<varnak::test::SimStation> station;
    QZcomOCX control;
    varnak::ControlRegisterDevice device{control};
    varnak::SilentUi ui;
    varnak::AppContext context;
    varnak::ContextScope scope;
    std::shared_ptr<varnak::clsProject> project;
    std::shared_ptr<varnak::clsCoupler> rail;
    std::shared_ptr<varnak::clsCoupler> online;
};

double timed(const std::function<varnak::TransferReport()>& run, benchmark::State& state) {
    const auto start = Clock::now();
    const varnak::TransferReport report = run();
    const double seconds = since(start);
    if (!report.clean()) {
        // Any heading does: the lines below it say what failed.
        const std::string why = varnak::transferReportText(report, varnak::kTxtUploadIncomplete);
        state.SkipWithError(("the transfer failed: " + why).c_str());
    }
    return seconds;
}

void BM_UploadAndDownload(benchmark::State& state) {
    PacedRail paced;
    varnak::TransferChoice choice;
    // The three areas, the first three boxes of both dialogs; no closing reset.
    for (int box : {varnak::kUploadCouplerSettings, varnak::kUploadProgrammedConfiguration,
                    varnak::kUploadTerminalConfiguration})
        choice.boxes[box] = true;
    choice.firstText = "1";
    choice.lastText = std::to_string(kTerminals);

    // Upload: tables 0, 100, 8; each list's first table, read again by the recalculation;
    // registers 32-62 of every channel.
    std::vector<int> upload{paced.whole(0), paced.whole(100), paced.whole(8)};
    for (int t : {10, 50}) upload.insert(upload.end(), 2, paced.whole(t));
    upload.insert(upload.end(), kTerminals * kChannels, 31);
    // Download: the station's terminal list (registers 0-64 of table 9), the lift's block and
    // read-back, the same tables once (table 0 up to register 199), and per channel the code
    // word, registers 32-62 and the 0.
    std::vector<int> download{
        65, 4, 4, 200, paced.whole(100), paced.whole(8), paced.whole(10), paced.whole(50)};
    for (int c = 0; c < kTerminals * kChannels; ++c) download.insert(download.end(), {1, 31, 1});

    double up = 0, down = 0;
    int64_t rounds = 0;
    for (auto _ : state) {
        paced.station->clearRequests();
        up += timed([&] { return varnak::runStationUpload(*paced.online, choice, {}); }, state);
        if (paced.station->requests().size() != 15 + 1 + 4 + 4 * 15 + kTerminals * kChannels * 2)
            state.SkipWithError("the upload made other requests than counted");
        down += timed([&] { return varnak::runSettingsDownload(*paced.rail, choice, {}); }, state);
        ++rounds;
    }
    const double n = static_cast<double>(rounds);
    reportAgainstLimit(state, "upload", up / n, wireSecondsOf(upload), kMaxRatio);
    reportAgainstLimit(state, "download", down / n, wireSecondsOf(download) + kLiftPauseSeconds,
                       kMaxRatio);
}
BENCHMARK(BM_UploadAndDownload)->Iterations(1)->Unit(benchmark::kSecond);

}  // namespace

int main(int argc, char** argv) {
    return varnak::bench::runBenchmarks(argc, argv);
}
