// Register tables over the serial control and a pseudo-terminal to a simulated station.
#include <gtest/gtest.h>
#include <stdlib.h>

#include "app/control_register_device.h"
#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/clsTable.h"
#include "tests/support/sim_station.h"

using namespace qzcom;

namespace varnak {
namespace {

class TableOverTheLine : public ::testing::Test {
  protected:
    TableOverTheLine() : station(1, 2) {
        setenv("VARNAK_COM4", station.devicePath().c_str(), 1);
        control.setQZxCommPort(4);
        control.setQZxTyp(QZxType_RS232);
        control.setQZxTimeout(1000);  // generous: the station shares the machine with other tests
        control.setQZxPortOpen(true);
        context.ui = &ui;
        context.registerDevice = &device;  // the program's road: the tables use the control
        context.MultiPointAdr = 1;
    }
    ~TableOverTheLine() override { unsetenv("VARNAK_COM4"); }

    test::SimStation station;
    QZcomOCX control;
    ControlRegisterDevice device{control};
    AppContext context;
    SilentUi ui;
    ContextScope scope{context};
};

TEST_F(TableOverTheLine, WholeTableUploadAndDownload) {
    station.addTable(0, 9);
    station.addTable(0, 100);
    for (int r = 0; r < 256; ++r) station.setRegister(0, 9, r, static_cast<uint16_t>(r * 251));
    clsTable t;
    t.setTableNr(9);
    t.setTableLen(255);
    ASSERT_EQ(t.ConfUpload(0, t.TableLen() + 1), ComErrNo);
    for (int r = 0; r < 256; ++r) ASSERT_EQ(t.ConfRegisterValue(r), (r * 251) & 0xFFFF) << r;

    t.setTableNr(100);
    t.setConfRegisterValue(17, 0xBEEF);
    ASSERT_EQ(t.ConfDownload(0, 256), ComErrNo);
    for (int r = 0; r < 256; ++r) ASSERT_EQ(station.reg(0, 100, r), t.ConfRegisterValue(r)) << r;
}

TEST_F(TableOverTheLine, RunsOfATerminalChannelTable) {
    station.addTable(2, 1);
    for (int r = 0; r < 64; ++r) station.setRegister(2, 1, r, static_cast<uint16_t>(1000 + r));
    clsTable t;
    t.setPosNr(2);
    t.setTableNr(1);
    t.setTableLen(63);
    ASSERT_EQ(t.ConfUpload(32, 32), ComErrNo);
    EXPECT_EQ(t.ConfRegisterValue(31), 0);
    EXPECT_EQ(t.ConfRegisterValue(32), 1032);
    EXPECT_EQ(t.ConfRegisterValue(63), 1063);
    t.setConfRegisterValue(40, 7);
    ASSERT_EQ(t.ConfDownload(40, 1), ComErrNo);
    EXPECT_EQ(station.reg(2, 1, 40), 7);
    EXPECT_EQ(station.reg(2, 1, 41), 1041);
}

TEST_F(TableOverTheLine, FailedUploadKeepsEarlierTelegramsAndReportsTheCode) {
    station.addTable(0, 0);
    for (int r = 0; r < 256; ++r) station.setRegister(0, 0, r, static_cast<uint16_t>(r + 1));
    station.queueFault(test::ReplyFault::none());
    station.queueFault(test::ReplyFault::none());
    station.queueFault(test::ReplyFault::brokenOff());
    clsTable t;
    t.setTableLen(255);
    EXPECT_EQ(t.ConfUpload(0, 256), ComErrTimeout1);
    EXPECT_EQ(t.LastResult(), ComErrTimeout1);
    EXPECT_TRUE(t.ValueChanged());
    for (int r = 0; r < 36; ++r) EXPECT_EQ(t.ConfRegisterValue(r), r + 1) << r;
    for (int r = 36; r < 256; ++r) ASSERT_EQ(t.ConfRegisterValue(r), 0) << r;
}

}  // namespace
}  // namespace varnak
