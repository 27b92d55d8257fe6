// Writes against stations that acknowledge them each way a device may: with the values
// written, with the count alone, or with no values and a count of 0. Every write road sends
// the same telegrams and succeeds whatever the acknowledgement carries, and a slow station's
// late acknowledgement is never taken for the answer of the request after it.
#include <array>
#include <numeric>
#include <vector>

#include "tests/comctl/station_fixture.h"
#include "tests/support/wire_log.h"
#include "tests/support/write_reply_shapes.h"

namespace varnak::test {
namespace {

using Shape = SimStation::WriteReply;

class WriteReplies : public StationTest, public ::testing::WithParamInterface<Shape> {
  protected:
    WriteReplies() {
        station.addTable(2, 0, 64);
        station.addTable(0, 100, 16);
        station.setRestartSilence(std::chrono::milliseconds(0));
        station.setWriteReplies(GetParam());
        open();
    }
};

TEST_P(WriteReplies, EveryWriteRoadSucceedsWithTheSameTelegrams) {
    station.changeCoupler([](CouplerState& c) { c.writeProtected = true; });
    ASSERT_EQ(control.QZxWriteProtection(1, false), ComErrNo);
    EXPECT_FALSE(station.coupler().writeProtected);

    // One telegram, exactly one full telegram, and one full plus one of a single register.
    std::vector<int32_t> values(38);
    std::iota(values.begin(), values.end(), 0x0100);
    const auto part = [&](size_t from, size_t n) { return std::span(values).subspan(from, n); };
    EXPECT_EQ(control.QZxRegSyncWriteReq(2, 0, 0, 1, 1, part(0, 1)), ComErrNo);
    EXPECT_EQ(control.QZxRegSyncWriteReq(2, 0, 1, 18, 1, part(1, 18)), ComErrNo);
    EXPECT_EQ(control.QZxRegSyncWriteReq(2, 0, 19, 19, 1, part(19, 19)), ComErrNo);
    for (int r = 0; r < 38; ++r) EXPECT_EQ(station.reg(2, 0, r), 0x0100 + r) << r;

    // Command blocks: a write into the command table and its read-back, a table write
    // between lifting the protection and the reset.
    int32_t checksum = -1;
    EXPECT_EQ(control.QZxChecksumReq(1, checksum), ComErrNo);
    EXPECT_EQ(checksum, 0x1234);
    EXPECT_EQ(control.QZ8xWatchDogWriteReq(1, 250), ComErrNo);
    EXPECT_EQ(station.reg(0, 100, 0), 250);
    EXPECT_EQ(station.coupler().softwareResets, 1);
    EXPECT_EQ(control.QZxResetTerminalBusReq(1), ComErrNo);
    EXPECT_EQ(station.coupler().terminalBusResets, 1);
    EXPECT_EQ(control.QZxWriteProtection(1, true), ComErrNo);
    EXPECT_TRUE(station.coupler().writeProtected);

    EXPECT_TRUE(matchesGolden(wireLog(station), testSourcePath("comctl/wire_golden/writes.txt")));
}

INSTANTIATE_TEST_SUITE_P(EachAcknowledgement, WriteReplies, everyWriteReply(),
                         WriteReplyTestName());

class LateWriteReplies : public StationTest {
  protected:
    LateWriteReplies() { station.addTable(2, 0, 64); }
};

// The slow station of the field: its acknowledgement comes after the write has timed out,
// while the read-back waits; it carries the write flag, and values or none.
TEST_F(LateWriteReplies, TheReadBackGetsTheStationsValueNotARefusal) {
    for (Shape shape : {Shape::Values, Shape::Count, Shape::Empty}) {
        SCOPED_TRACE(writeReplyName(shape));
        station.setWriteReplies(shape);
        reopenWithTimeout(kSilenceTimeoutMs);
        station.queueFault(ReplyFault::late());
        const std::array<int32_t, 1> written{0x0055};
        EXPECT_EQ(control.QZxRegSyncWriteReq(2, 0, 5, 1, 1, written), ComErrTimeout1);
        EXPECT_EQ(station.reg(2, 0, 5), 0x0055);  // the station took it all the same

        reopenWithTimeout(kReplyTimeoutMs);
        std::array<int32_t, 1> back{-1};
        EXPECT_EQ(control.QZxRegSyncReadReq(2, 0, 5, 1, 1, back), ComErrNo);
        EXPECT_EQ(back[0], 0x0055);
        station.setRegister(2, 0, 5, 0);
    }
}

// A late acknowledgement of a write of two registers arrives while a write of one register
// to the same place waits for its own, which never comes: the late one is no answer.
TEST_F(LateWriteReplies, AnotherWritesAcknowledgementOfAnotherCountIsDropped) {
    for (Shape shape : {Shape::Count, Shape::Values}) {
        SCOPED_TRACE(writeReplyName(shape));
        station.setWriteReplies(shape);
        reopenWithTimeout(kSilenceTimeoutMs);
        station.queueFault(ReplyFault::late());
        station.queueFault(ReplyFault::noReply());
        const std::array<int32_t, 2> pair{0x0011, 0x0022};
        EXPECT_EQ(control.QZxRegSyncWriteReq(2, 0, 5, 2, 1, pair), ComErrTimeout1);
        EXPECT_EQ(control.QZxRegSyncWriteReq(2, 0, 5, 1, 1, std::span(pair).first(1)),
                  ComErrTimeout1);
    }
}

}  // namespace
}  // namespace varnak::test
