// Channel monitoring and forcing: the address helper, the forced word, the image a
// channel is mapped to, the refusals, a silent station, and the dialog opened through its
// opener.
#include "views/channel_force.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>

#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsTerminal.h"
#include "model/tree_node_key.h"
#include "tests/support/qt/event_wait.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/station_process_images.h"
#include "tests/support/wire_log.h"
#include "views/frmTermForceData.h"

namespace varnak::test {
namespace {

using Write = ChannelForce::WriteResult;

TEST(ChannelAddress, RegisterAndWordBitOfAnImageAddress) {
    const std::vector<std::pair<const char*, std::optional<ChannelImageBit>>> rows{
        {"12.3", ChannelImageBit{6, 3}},
        {"13.0", ChannelImageBit{6, 8}},
        {"5.6", ChannelImageBit{2, 14}},
        {"0.0", ChannelImageBit{0, 0}},
        {"510.7", ChannelImageBit{255, 7}},
        {"511.7", std::nullopt},
        {"511", std::nullopt},
        {"12.8", std::nullopt},
        {"", std::nullopt},
        {"x", std::nullopt},
    };
    for (const auto& [text, bit] : rows) EXPECT_EQ(channelImageBit(text), bit) << text;
    EXPECT_EQ(forcedChannelWord(0x0001, 8, 1), 0x0101);  // 13.0 forced, bit 0 kept
    EXPECT_EQ(forcedChannelWord(0xFFFF, 14, 0), 0xBFFF);
    EXPECT_EQ(forcedChannelWord(0x1234, 3, 2), 0x1234);
    EXPECT_EQ(destinationImage("3"), 3);
    EXPECT_EQ(destinationImage("4"), std::nullopt);
    EXPECT_EQ(forceGroupOf("QT2032-0000"), ForceGroup::FurtherOutput);
    EXPECT_EQ(forceGroupOf("QT1012-0000"), ForceGroup::DigitalInput);
    EXPECT_EQ(forceGroupOf("QT4034-0000"), ForceGroup::Analog);
    EXPECT_EQ(forceGroupOf("QT9010-0000"), ForceGroup::Other);
}

class ChannelForceTest : public RailFixture {
  protected:
    ChannelForceTest() : RailFixture({"QZ3100-0000", {"QT1002-0000", "QT2002-0000"}}) {}
    std::string key(std::string_view kind, int position, int channel) {
        auto t = context.VarnakOnlineCoupler->clsColTerminals()->ItemPos(position);
        return std::string(kind) +
               channelKeyDetail(terminalKeyDetail(1, 0, t->ConfSymbolicID(), position), channel);
    }
    std::shared_ptr<clsTerminal> online(int position) {
        return context.VarnakOnlineCoupler->clsColTerminals()->ItemPos(position);
    }
};

TEST_F(ChannelForceTest, ForcingUsesTheChannelsImageAndRefusesWhatWouldHitAnotherOutput) {
    connectStation();
    goOnline();
    online(2)->setConfMappOutputImage(1, 0, "13.0");
    online(2)->setConfOutputDestProcImage(1, "2");
    online(1)->setConfMappInputImage(0, 0, "5.6");
    online(1)->setConfInputDestProcImage(0, "1");
    station->setRegister(0, 112, 6, 0x0001);
    setImageInput(*station, 1, 2, 0x4000);

    ChannelForce out;
    ASSERT_TRUE(out.open(key(SZ_CHANNEL_OUTDATA, 2, 1)));
    EXPECT_FALSE(out.load());  // the rail's addresses are not calculated
    EXPECT_EQ(out.addressText(), "13.0");
    EXPECT_EQ(out.fWriteChannelValue(1), Write::Written);
    EXPECT_EQ(station->reg(0, 112, 6), 0x0101);
    EXPECT_EQ(out.fReadChannelValue(), 1);
    station->queueFault(ReplyFault::noReply());
    EXPECT_EQ(out.fWriteChannelValue(0), Write::NoCommunication);
    EXPECT_EQ(station->reg(0, 112, 6), 0x0101);
    online(2)->setConfMappOutputImage(1, 0, "511.7");
    EXPECT_EQ(out.fWriteChannelValue(1), Write::Unmapped);

    ChannelForce in;
    ASSERT_TRUE(in.open(key(SZ_CHANNEL_INDATA, 1, 0)));
    EXPECT_EQ(in.fReadChannelValue(), 1);
    EXPECT_EQ(in.fWriteChannelValue(1), Write::NotWritable);
    EXPECT_TRUE(matchesGolden(wireLog(*station),
                              testSourcePath("views/wire_golden") / "channel_force.txt"));
}

TEST_F(ChannelForceTest, ASilentStationKeepsTheLastValueShownAndAFailedWriteIsPutBack) {
    connectStation();
    goOnline();
    control.setQZxTimeout(100);
    control.setQZxPortOpen(true);
    online(1)->setConfMappInputImage(0, 0, "5.6");
    online(1)->setConfInputDestProcImage(0, "1");
    online(2)->setConfMappOutputImage(1, 0, "13.0");
    online(2)->setConfOutputDestProcImage(1, "2");
    setImageInput(*station, 1, 2, 0x4000);
    station->setRegister(0, 112, 6, 0x0001);

    ChannelForce in;
    ASSERT_TRUE(in.open(key(SZ_CHANNEL_INDATA, 1, 0)));
    station->queueFault(ReplyFault::noReply());
    EXPECT_EQ(in.fReadChannelValue(), std::nullopt);
    EXPECT_FALSE(in.health().communicating());
    EXPECT_EQ(in.fReadChannelValue(), 1);
    EXPECT_TRUE(in.health().communicating());

    ChannelForce out;
    ASSERT_TRUE(out.open(key(SZ_CHANNEL_OUTDATA, 2, 1)));
    station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::noReply());
    EXPECT_EQ(out.fWriteChannelValue(1), Write::NoCommunication);
    EXPECT_EQ(context.VarnakOnlineCoupler->clsColTables()->Item(112)->ConfRegisterValue(6), 1);

    // The window: the line comes with the failing reads and goes with the first sound one;
    // the value stays the last one read, and no message is shown.
    frmTermForceData dialog;
    ASSERT_TRUE(dialog.load(key(SZ_CHANNEL_INDATA, 1, 0)));
    dialog.show();
    dialog.Timer1.start(0);  // the rail's addresses are never calculated: started by hand
    ASSERT_TRUE(runEventsUntil([&] { return dialog.txtMontiorValue->text() == "1"; }, 2000));
    EXPECT_FALSE(dialog.lblNoCommunication->isVisible());
    for (int i = 0; i < 3; ++i) station->queueFault(ReplyFault::noReply());
    EXPECT_TRUE(runEventsUntil([&] { return dialog.lblNoCommunication->isVisible(); }, 2000));
    EXPECT_EQ(dialog.txtMontiorValue->text(), "1");
    EXPECT_EQ(dialog.lblNoCommunication->text(), "Keine Kommunikation mit Koppler!");
    EXPECT_TRUE(runEventsUntil([&] { return !dialog.lblNoCommunication->isVisible(); }, 2000));
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(ChannelForceTest, TheDialogOpensIdleAndWritesOnlyOnline) {
    frmTermForceData offline;
    const std::string outKey =
        std::string(SZ_CHANNEL_OUTDATA) +
        channelKeyDetail(
            terminalKeyDetail(1, 0, rail()->clsColTerminals()->ItemPos(2)->ConfSymbolicID(), 2), 0);
    ASSERT_TRUE(offline.load(outKey));
    EXPECT_FALSE(offline.SSTab1->isTabEnabled(1));
    EXPECT_FALSE(offline.cmdWrite->isEnabled());
    EXPECT_TRUE(offline.txtAdress->text().isEmpty());
    EXPECT_FALSE(offline.Timer1.isActive());

    connectStation();
    goOnline();
    frmTermForceData dialog;
    ASSERT_TRUE(dialog.load(key(SZ_CHANNEL_OUTDATA, 2, 0)));
    EXPECT_TRUE(dialog.SSTab1->isTabEnabled(1));
    EXPECT_TRUE(dialog.cmdWrite->isEnabled());
    EXPECT_FALSE(dialog.Timer1.isActive());  // idle: the addresses are not calculated
    frmTermForceData input;
    ASSERT_TRUE(input.load(key(SZ_CHANNEL_INDATA, 1, 0)));
    EXPECT_FALSE(input.cmdWrite->isEnabled());
    // Unmapped: said, nothing sent.
    ui.inputs.push_back("1");
    dialog.cmdWrite->click();
    EXPECT_EQ(messageTexts(),
              std::vector<std::string>{
                  "Der Kanal ist keinem Prozessabbild zugeordnet: nichts wurde geschrieben."});
    ui.inputs.push_back("abc");
    dialog.cmdWrite->click();
    EXPECT_TRUE(station->requests().empty());
}

}  // namespace
}  // namespace varnak::test
