// The terminal settings session against the simulated station (whose terminals take user
// registers only behind the code word), with golden wire logs, and offline on the
// project's rail.
#include <gtest/gtest.h>

#include <functional>

#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "settingsforms/register_image.h"
#include "terminalcfg/terminal_settings_session.h"
#include "tests/support/description_damage.h"
#include "tests/support/qt/rail_fixture.h"
#include "tests/support/station_terminal_rules.h"
#include "tests/support/wire_log.h"
#include "tests/support/write_reply_shapes.h"

namespace varnak::test {
namespace {

using Open = TerminalSettingsSession::OpenResult;
const std::string kNoCommunication = "Keine Kommunikation mit Koppler!";
const std::string kNoDescription = "Keine brauchbare Gerätebeschreibung, nichts geändert: ";

class TerminalSessionTest : public RailFixture {
  protected:
    TerminalSessionTest() : RailFixture({"QZ8000-0000", {"QT3002-0000", "QT3004-0000"}}) {}
    void online() {
        connectStation().setTerminalCodeWord(true);
        goOnline();
    }
    // The form's store: registers 32, 35 and 63 changed.
    void storeEdits(TerminalSettingsSession& s) {
        RegisterImage image = imageOf(s.table());
        image[32] = 0x0003;
        image[35] = 1234;
        image[63] = 0x4242;
        s.apply(image);
    }
    std::shared_ptr<clsTable> channel(const std::shared_ptr<clsCoupler>& r, int pos, int c) {
        return r->clsColTerminals()->ItemPos(pos)->clsColTables()->Item(c);
    }
    TerminalSettingsSession session;
};

// However the station acknowledges a write, the road and its telegrams are the same.
class TerminalSessionAcks : public TerminalSessionTest,
                            public ::testing::WithParamInterface<SimStation::WriteReply> {
  protected:
    void online() {
        TerminalSessionTest::online();
        station->setWriteReplies(GetParam());
    }
};

INSTANTIATE_TEST_SUITE_P(EachAcknowledgement, TerminalSessionAcks, everyWriteReply(),
                         WriteReplyTestName());

TEST_P(TerminalSessionAcks, OnlineOkWithAllChannelsWritesEachChannelBehindTheCodeWord) {
    online();
    ASSERT_EQ(session.open(2, 1), Open::Opened);
    EXPECT_TRUE(session.offersAllChannels());
    storeEdits(session);
    EXPECT_EQ(session.transfer(true), 0);
    for (int c = 0; c < 4; ++c) {
        SCOPED_TRACE(c);
        EXPECT_EQ(station->reg(2, c, 32), 0x0003);
        EXPECT_EQ(station->reg(2, c, 35), 1234);
        EXPECT_EQ(station->reg(2, c, 31), 0);
        EXPECT_EQ(station->reg(2, c, 63), 0);  // never sent
        EXPECT_EQ(channel(context.VarnakOnlineCoupler, 2, c)->ConfRegisterValue(63), 0x4242);
        EXPECT_EQ(channel(context.VarnakOnlineCoupler, 2, c)->ConfRegisterValue(31), 0);
    }
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(logMatches("all_channels.txt"));
}

TEST_F(TerminalSessionTest, AFailedChannelRunsItsWholeSequenceAndNoLaterChannelIsSent) {
    online();
    ASSERT_EQ(session.open(2, 2), Open::Opened);
    storeEdits(session);
    station->clearRequests();
    // Channel 0: code word and its read-back answer, the user registers do not.
    station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::noReply());
    EXPECT_EQ(session.transfer(true), 1);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kNoCommunication + "\nCode: 1"});
    // Every channel holds the copy; the device has only what reached it.
    for (int c = 0; c < 4; ++c)
        EXPECT_EQ(channel(context.VarnakOnlineCoupler, 2, c)->ConfRegisterValue(35), 1234);
    EXPECT_EQ(station->reg(2, 1, 35), 0);
    EXPECT_TRUE(logMatches("failed_channel.txt"));
}

TEST_F(TerminalSessionTest, AMutedStationAtOpeningGives469AndOpensNothing) {
    online();
    station->queueFault(ReplyFault::noReply());
    EXPECT_EQ(session.open(1, 0), Open::NoCommunication);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kNoCommunication});
    EXPECT_EQ(session.open(1, 2), Open::NothingToOpen);  // two channels only
    EXPECT_EQ(session.open(3, 0), Open::NothingToOpen);  // no terminal there
    EXPECT_EQ(messageTexts().size(), 1u);
}

TEST_F(TerminalSessionTest, OfflineNothingReachesTheDeviceAndOkIsOnDiskAfterClosing) {
    connectStation();
    ASSERT_EQ(session.open(2, 0), Open::Opened);
    EXPECT_EQ(session.header(), "Position: 2      Typ: QT3004-0000      Kanal: 1");
    context.LanguageBase = 2000;
    EXPECT_EQ(session.header(), "Position: 2      Typ: QT3004-0000      Channel: 1");
    EXPECT_TRUE(session.loadDefaults());
    storeEdits(session);
    EXPECT_EQ(session.transfer(true), 0);
    session.close();
    EXPECT_TRUE(station->requests().empty());
    auto disk = railFromDisk();
    for (int c = 0; c < 4; ++c) {
        EXPECT_EQ(channel(disk, 2, c)->ConfRegisterValue(35), 1234);
        EXPECT_EQ(channel(disk, 2, c)->ConfRegisterValue(63), 0x4242);
    }
}

TEST_F(TerminalSessionTest, DefaultOnlineReadsTheDescriptionOnlyAndSendsNothing) {
    online();
    station->setRegister(1, 1, 34, 0x0555);
    ASSERT_EQ(session.open(1, 1), Open::Opened);
    EXPECT_EQ(session.table().ConfRegisterValue(34), 0x0555);
    station->clearRequests();
    EXPECT_TRUE(session.loadDefaults());
    EXPECT_EQ(session.table().ConfRegisterValue(34), 0x0100);
    EXPECT_TRUE(station->requests().empty());
    EXPECT_TRUE(ui.messages.empty());
}

TEST_F(TerminalSessionTest, DefaultWithoutAUsableDescriptionChangesNothing) {
    ASSERT_EQ(session.open(2, 3), Open::Opened);
    session.table().setConfRegisterValue(34, 0x0777);
    DescriptionDamage own(resources() / "Terminal" / "QT3004-0000.INI");
    const std::vector<std::pair<const char*, std::function<void()>>> cases{
        // The fallback description is there, but its zeros are no factory values.
        {"no description of its own", [&] { own.missing(); }},
        {"a folder in its place", [&] { own.folder(); }},
        {"no register model", [&] { own.replace("Reg12=0x9898", "Reg12=0x0808"); }},
        {"fewer channels", [&] { own.replace("Reg11=0x0418", "Reg11=0x0218"); }},
        // Cut short, as an interrupted copy leaves it: inside a line of its channel
        // registers, or after a whole one short of what the terminal's file holds.
        {"cut inside a line", [&] { own.cutTo(own.original().find("Reg33=") + 8); }},
        {"cut after a line", [&] { own.cutTo(own.original().find("Reg33=")); }},
    };
    for (const auto& [what, damage] : cases) {
        SCOPED_TRACE(what);
        damage();
        ui.messages.clear();
        EXPECT_FALSE(session.loadDefaults());
        EXPECT_EQ(messageTexts(), std::vector<std::string>{kNoDescription + own.path().string()});
        EXPECT_EQ(session.table().ConfRegisterValue(34), 0x0777);
    }
}

TEST_F(TerminalSessionTest, WithoutARailTheOpeningGives469) {
    context.VarnakProject =
        std::make_shared<clsProject>((dir / "prog").string(), resources().string());
    EXPECT_EQ(session.open(1, 0), Open::NoCommunication);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{kNoCommunication});
}

TEST(StationTerminalRule, UserRegistersTakeWritesOnlyBehindTheCodeWord) {
    std::vector<uint16_t> regs(64, 0);
    writeTerminalChannel(regs, 28, {1, 2, 3, 4, 5, 6});  // 28-30 never, 31 always, 32-33 locked
    EXPECT_EQ(regs[28], 0);
    EXPECT_EQ(regs[31], 4);
    EXPECT_EQ(regs[32], 0);
    writeTerminalChannel(regs, 31, {0x5C3B, 7, 8});  // unlocked within the same write
    EXPECT_EQ(regs[32], 7);
    EXPECT_EQ(regs[33], 8);
    writeTerminalChannel(regs, 63, {9, 10});  // past the table: dropped
    EXPECT_EQ(regs[63], 9);
    writeTerminalChannel(regs, 31, {0});
    writeTerminalChannel(regs, 40, {11});
    EXPECT_EQ(regs[40], 0);
}

}  // namespace
}  // namespace varnak::test
