// The digital process data of a one-module station: the module kinds, forcing an output
// bit with a golden wire log, a failed read that writes nothing, a failed write that forces
// nothing, the window's boxes, and a silent station.
#include "views/process_data_digital.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "tests/support/qt/event_wait.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/station_process_images.h"
#include "tests/support/wire_log.h"
#include "views/frmProcDataDigital.h"

namespace varnak::test {
namespace {

using Open = DigitalProcessData::OpenResult;

TEST(DigitalModules, KindsByTheCouplersName) {
    struct Row {
        const char* name;
        int inputs;
        int outputs;
        std::array<int, kDigitalRows> bits;
    };
    const std::vector<Row> rows{
        {"QX1008", 8, 0, {-1, -1, -1, -1, -1, -1, -1, -1}},
        {"QP2008-B310", 0, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"QI2301-B310", 4, 4, {-1, -1, -1, -1, 4, 5, 6, 7}},
        {"QP2408", 8, 8, {0, 1, 2, 3, 4, 5, 6, 7}},
        {"QP1208", 0, 0, {-1, -1, -1, -1, -1, -1, -1, -1}},
        {"QP", 0, 0, {-1, -1, -1, -1, -1, -1, -1, -1}},
    };
    for (const Row& r : rows) {
        const DigitalModule m = digitalModuleOf(r.name);
        EXPECT_EQ(m.inputs, r.inputs) << r.name;
        EXPECT_EQ(m.outputs, r.outputs) << r.name;
        EXPECT_EQ(m.outputBit, r.bits) << r.name;
    }
}

class DigitalTest : public RailFixture {
  protected:
    DigitalTest() : RailFixture({"QP2008-B310", {"QP2008-B310"}}) {}
};

TEST_F(DigitalTest, ForcingABitWritesTheWordReadAndAFailedReadWritesNothing) {
    DigitalProcessData offline;
    EXPECT_EQ(offline.open(), Open::Offline);
    connectStation().setRegister(0, 110, 0, 0x0001);
    goOnline();
    DigitalProcessData data;
    ASSERT_EQ(data.open(), Open::Opened);
    EXPECT_TRUE(data.force(2, true));
    EXPECT_EQ(imageOutput(*station, 0, 0), 0x0005);
    EXPECT_TRUE(data.force(2, false));
    EXPECT_EQ(imageOutput(*station, 0, 0), 0x0001);
    station->queueFault(ReplyFault::noReply());
    EXPECT_FALSE(data.force(3, true));
    EXPECT_EQ(imageOutput(*station, 0, 0), 0x0001);
    // A write without an answer is no forced output; the word stays the one read.
    station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::noReply());
    EXPECT_FALSE(data.force(3, true));
    EXPECT_EQ(data.outputWord(), 0x0001);
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(matchesGolden(wireLog(*station),
                              testSourcePath("views/wire_golden") / "digital_force.txt"));
}

TEST_F(DigitalTest, TheWindowShowsTheModulesRowsAndABoxGoesBackWhenNothingWasWritten) {
    connectStation().setRegister(0, 110, 0, 0x0081);
    goOnline();
    frmProcDataDigital dialog;
    ASSERT_TRUE(dialog.load());
    EXPECT_FALSE(dialog.txtChannelValue[0]->isVisibleTo(&dialog));
    EXPECT_TRUE(dialog.chkForceValue[7]->isVisibleTo(&dialog));
    EXPECT_FALSE(dialog.chkForceValue[7]->isChecked());  // whatever the word holds
    dialog.Timer1.stop();
    dialog.chkForceValue[4]->setChecked(true);  // set by the program: handled as a click
    EXPECT_EQ(imageOutput(*station, 0, 0), 0x0091);
    station->clearRequests();
    station->queueFault(ReplyFault::noReply());
    dialog.chkForceValue[5]->click();
    EXPECT_FALSE(dialog.chkForceValue[5]->isChecked());
    EXPECT_EQ(station->requests().size(), 1u);  // one read, no second round, no write
    EXPECT_EQ(imageOutput(*station, 0, 0), 0x0091);
    // So does a box whose write failed, and no message tells it.
    station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::badChecksum());
    dialog.chkForceValue[6]->click();
    EXPECT_FALSE(dialog.chkForceValue[6]->isChecked());
    EXPECT_EQ(station->requests().size(), 3u);
    EXPECT_TRUE(ui.messages.empty());
    // A pass shows the output bits of the word read.
    dialog.Timer1.start(0);
    runEventsUntil([&] { return !dialog.txtChannelValueOut[7]->text().isEmpty(); }, 2000);
    EXPECT_EQ(dialog.txtChannelValueOut[7]->text(), "1");
    EXPECT_EQ(dialog.txtChannelValueOut[1]->text(), "0");

    // A coupler without its output image leaves the boxes empty.
    context.VarnakOnlineCoupler->clsColTables()->Remove(110);
    frmProcDataDigital without;
    ASSERT_TRUE(without.load());
    without.Timer1.start(0);
    runEventsUntil([] { return false; }, 100);
    EXPECT_TRUE(without.txtChannelValueOut[7]->text().isEmpty());
    EXPECT_FALSE(without.data().force(7, true));
}

TEST_F(DigitalTest, ASilentStationShowsNoBitsItDidNotSendAndTheLineSaysSo) {
    connectStation().setRegister(0, 110, 0, 0x0081);
    goOnline();
    control.setQZxTimeout(100);
    control.setQZxPortOpen(true);
    context.VarnakOnlineCoupler->clsColTables()->Item(110)->setConfRegisterValue(0, 0x00FF);
    // Silent from the start: the boxes stay empty, not the table's word.
    for (int i = 0; i < 2; ++i) station->queueFault(ReplyFault::noReply());
    frmProcDataDigital dialog;
    ASSERT_TRUE(dialog.load());
    dialog.show();
    ASSERT_TRUE(runEventsUntil([&] { return dialog.lblNoCommunication->isVisible(); }, 2000));
    EXPECT_TRUE(dialog.txtChannelValueOut[1]->text().isEmpty());
    // The first pass that reads shows the device's bits and ends the line.
    ASSERT_TRUE(runEventsUntil([&] { return !dialog.lblNoCommunication->isVisible(); }, 2000));
    EXPECT_EQ(dialog.txtChannelValueOut[7]->text(), "1");
    EXPECT_EQ(dialog.txtChannelValueOut[1]->text(), "0");
    // Silent again: the last bits read stay.
    for (int i = 0; i < 2; ++i) station->queueFault(ReplyFault::noReply());
    ASSERT_TRUE(runEventsUntil([&] { return dialog.lblNoCommunication->isVisible(); }, 2000));
    EXPECT_EQ(dialog.txtChannelValueOut[7]->text(), "1");
    EXPECT_EQ(dialog.data().outputWord(), 0x0081);
    EXPECT_TRUE(ui.messages.empty());
    dialog.cmdOk->click();
}

TEST_F(DigitalTest, AStationOfTwoTerminalsGetsTheScopeMessage) {
    connectStation();
    goOnline();
    EXPECT_EQ(context.VarnakOnlineCoupler->clsColTerminals()->Add("QT1002-0000", 2, 1, 1),
              kStoreOk);
    DigitalProcessData data;
    EXPECT_EQ(data.open(), Open::MoreThanOneModule);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Sorry, scope function is implemented for "
                                                       "only one QP Module (without QP-Link)"});
    EXPECT_TRUE(station->requests().empty());
}

}  // namespace
}  // namespace varnak::test
