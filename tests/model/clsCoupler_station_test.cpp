// The rail's table directory read from a simulated station over the serial control while
// the project is online, and the file fallback when that read fails.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/control_register_device.h"
#include "comctl/QZcomOCX.h"
#include "platform/unexamined_result.h"
#include "tests/model/project_fixture.h"
#include "tests/support/sim_station.h"

using namespace qzcom;

namespace varnak::test {
namespace {

class RailDirectoryOverTheLine : public ::testing::Test, public ProjectFixture {
  protected:
    RailDirectoryOverTheLine() : station(1, 0) {
        setenv("VARNAK_COM4", station.devicePath().c_str(), 1);
        control.setQZxCommPort(4);
        control.setQZxTyp(QZxType_RS232);
        control.setQZxTimeout(1000);
        control.setQZxPortOpen(true);
        context().registerDevice = &device;
        context().MultiPointAdr = 1;
        station.addTable(0, 127);
        station.setRegister(0, 127, 0, 0x40);
        station.setRegister(0, 127, 100, 0x0F);
        station.setRegister(0, 127, 127, 0x82);
        EXPECT_EQ(project->setOnline(true), kStoreOk);
    }
    ~RailDirectoryOverTheLine() override {
        context().registerDevice = nullptr;
        unsetenv("VARNAK_COM4");
    }
    std::shared_ptr<clsCoupler> loadDescription() {
        auto rail = std::make_shared<clsCoupler>();
        ignoreLoadResult(
            rail->ConfRetrieveData((resources() / "Coupler" / "QZ3100-0000.INI").string()));
        return rail;
    }

    SimStation station;
    QZcomOCX control;
    ControlRegisterDevice device{control};
};

TEST_F(RailDirectoryOverTheLine, TablesFollowTheStationsDirectory) {
    auto rail = loadDescription();
    EXPECT_TRUE(rail->DirectoryFromDevice());
    std::vector<int32_t> numbers;
    for (const auto& t : *rail->clsColTables()) numbers.push_back(t->TableNr());
    EXPECT_EQ(numbers, (std::vector<int32_t>{0, 100, 127}));
    EXPECT_EQ(rail->clsColTables()->Item(0)->TableLen(), 0x40);
    EXPECT_EQ(rail->clsColTables()->Item(127)->ConfRegisterValue(100), 0x0F);
}

TEST_F(RailDirectoryOverTheLine, FailedDirectoryReadLeavesTheDirectoryToTheFile) {
    station.queueFault(ReplyFault::brokenOff());
    auto rail = loadDescription();
    EXPECT_FALSE(rail->DirectoryFromDevice());
    EXPECT_EQ(rail->clsColTables()->Count(), 15);
}

}  // namespace
}  // namespace varnak::test
