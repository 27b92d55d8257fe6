#include "tests/support/qt/rail_fixture.h"

#include <cstdlib>

#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/project_store.h"
#include "model/tree_node_key.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "platform/unexamined_result.h"
#include "tests/support/wire_log.h"

namespace fs = std::filesystem;

namespace varnak::test {
namespace {

constexpr int kStationPort = 6;

}  // namespace

RailFixture::RailFixture(RailStationSpec railSpec) : spec(std::move(railSpec)) {
    fs::create_directories(resources());
    for (const char* folder : {"Coupler", "Terminal"})
        fs::copy(platform::resourceDir() / folder, resources() / folder,
                 fs::copy_options::recursive);
    fs::create_directories(dir / "prog");
    project = std::make_shared<clsProject>((dir / "prog").string(), resources().string());
    context.VarnakProject = project;
    project->InitComPort = [] { return 0; };

    EXPECT_EQ(project->fNewProject("Werk", (dir / "Werk.PF").string(), dir.str()), kStoreOk);
    EXPECT_EQ(project->clsColCouplers()->Add(spec.coupler, 1, "Linie 1"), kStoreOk);
    auto terminals = rail()->clsColTerminals();
    for (const std::string& type : spec.terminals)
        EXPECT_EQ(terminals->Add(type, terminals->Count() + 1, 1, rail()->ConfSymbolicID()),
                  kStoreOk);
    EXPECT_EQ(rail()->ConfSaveData(), kStoreOk);
}

RailFixture::~RailFixture() {
    context.VarnakComOCX = nullptr;
    context.registerDevice = nullptr;
    control.setQZxPortOpen(false);
}

::testing::AssertionResult RailFixture::logMatches(const std::string& golden) const {
    const fs::path test = ::testing::UnitTest::GetInstance()->current_test_info()->file();
    return matchesGolden(wireLog(*station), test.parent_path() / "wire_golden" / golden);
}

std::shared_ptr<clsCoupler> RailFixture::rail() const {
    auto couplers = project->clsColCouplers();
    return couplers->Count() ? *couplers->begin() : nullptr;
}

std::shared_ptr<clsCoupler> RailFixture::railFromDisk() {
    ini::dropCache();
    const fs::path folder = dir / "Werk.PF" / "Linie 1.CF";
    project->clsColCouplers()->fDropColCouplers();
    EXPECT_EQ(
        project->clsColCouplers()->fOpenCoupler(folder.string(), (folder / "Coupler.CCF").string()),
        kStoreOk);
    return rail();
}

SimStation& RailFixture::connectStation() {
    station = makeRailStation(resources(), spec, 0);
    const std::string variable = "VARNAK_COM" + std::to_string(kStationPort);
    setenv(variable.c_str(), station->devicePath().c_str(), 1);
    control.setQZxCommPort(kStationPort);
    control.setQZxTyp(qzcom::QZxType_RS232);
    control.setQZxTimeout(1000);
    control.setQZxPortOpen(true);
    context.VarnakComOCX = &control;
    context.registerDevice = &device;
    context.MultiPointAdr = 0;
    return *station;
}

void RailFixture::goOnline() {
    EXPECT_EQ(project->setOnline(true), kStoreOk);
    auto online = std::make_shared<clsCoupler>();
    ignoreLoadResult(online->ConfRetrieveData(
        platform::joinPath({resources().string(), "Coupler", spec.coupler + ".INI"})));
    auto terminals = online->clsColTerminals();
    for (const std::string& type : spec.terminals)
        EXPECT_EQ(terminals->Add(type, terminals->Count() + 1, 1, online->ConfSymbolicID()),
                  kStoreOk);
    context.VarnakOnlineCoupler = online;
    if (station) station->clearRequests();
}

std::shared_ptr<clsCoupler> RailFixture::shownRail() const {
    return project->Online() ? context.VarnakOnlineCoupler : rail();
}

std::string RailFixture::couplerKey() const {
    return couplerKeyOf(shownRail());
}

std::string RailFixture::terminalKey(int railPosition) const {
    return terminalKeyOf(shownRail(), railPosition);
}

std::string RailFixture::couplerTableKey(int table) const {
    auto r = shownRail();
    return treeKey(TreeNodeKind::CouplerTable,
                   tableKeyDetail(r->ConfSymbolicID(), r->ConfProjectPosition(), table));
}

std::string RailFixture::registerKey(int railPosition, int channel) const {
    return treeKey(
        TreeNodeKind::TerminalRegister,
        channelKeyDetail(terminalKey(railPosition).substr(kTreeKeyPrefixLength), channel));
}

}  // namespace varnak::test
