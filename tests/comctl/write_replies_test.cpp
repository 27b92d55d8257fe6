// Writes against stations that acknowledge them each way a device may: with the values
// written, with the count alone, or with no values and a count of 0. Every write road sends
// the same telegrams and succeeds whatever the acknowledgement carries, and a slow station's
// late acknowledgement is never taken for the answer of the request after it.
#include <array>
#include <chrono>
#include <numeric>
#include <thread>
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

// The slow station of the field: its acknowledgement comes after the write has timed out (at
// 40 ms), while it is still owed (until 60 ms later), and the read-back waits it out; it
// carries the write flag, and values or none.
TEST_F(LateWriteReplies, TheReadBackGetsTheStationsValueNotARefusal) {
    for (Shape shape : {Shape::Values, Shape::Count, Shape::Empty}) {
        SCOPED_TRACE(writeReplyName(shape));
        station.setWriteReplies(shape);
        reopenWithTimeout(kSilenceTimeoutMs);
        station.queueFault(ReplyFault::delayed(std::chrono::milliseconds(70)));
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

// Every acknowledgement a device may send, with the write flag or without it, acknowledges
// its write: alone, and after a read or a write of the same registers whose reply comes late,
// while the write waits. That late reply is not taken for the acknowledgement of a write lost
// on the line. Each request goes out once.
TEST_F(LateWriteReplies, EveryAcknowledgementAcknowledgesAndNothingGoesTwice) {
    using std::chrono::milliseconds;
    reopenWithTimeout(20);
    const auto reply = [](bool flagged, milliseconds delay) {
        ReplyFault f = ReplyFault::delayed(delay);
        if (!flagged)
            f.mutate = [](const std::string&, std::string r) {
                r[8] = static_cast<char>(r[8] & 0x7F);
                return withChecksum(r);
            };
        return f;
    };
    enum Before { Nothing, LateRead, LateWrite };
    size_t sent = 0;
    int32_t value = 0x0100;
    for (Shape shape : {Shape::Values, Shape::Count, Shape::Empty})
        for (bool flagged : {true, false})
            for (Before before : {Nothing, LateRead, LateWrite})
                for (bool lost : {false, true}) {
                    if (before == Nothing && lost) continue;
                    SCOPED_TRACE(testing::Message()
                                 << writeReplyName(shape) << " flagged " << flagged << " before "
                                 << before << " lost " << lost);
                    station.setWriteReplies(shape);
                    std::this_thread::sleep_for(milliseconds(150));  // nothing owed any more
                    const std::array<int32_t, 2> old{station.reg(2, 0, 8), station.reg(2, 0, 9)};
                    std::array<int32_t, 2> values{value, value + 1};
                    if (before != Nothing) {
                        station.queueFault(reply(flagged, milliseconds(120)));
                        std::array<int32_t, 2> other{value - 2, value - 1};
                        EXPECT_EQ(before == LateRead
                                      ? control.QZxRegSyncReadReq(2, 0, 8, 2, 1, other)
                                      : control.QZxRegSyncWriteReq(2, 0, 8, 2, 1, other),
                                  ComErrTimeout1);
                        ++sent;
                    }
                    station.queueFault(lost ? ReplyFault::lostRequest()
                                            : reply(flagged, milliseconds(0)));
                    EXPECT_EQ(control.QZxRegSyncWriteReq(2, 0, 8, 2, 1, values),
                              lost ? ComErrTimeout1 : ComErrNo);
                    ++sent;
                    const std::array<int32_t, 2> expected =
                        lost ? (before == LateWrite ? std::array<int32_t, 2>{value - 2, value - 1}
                                                    : old)
                             : values;
                    EXPECT_EQ(station.reg(2, 0, 8), expected[0]);
                    EXPECT_EQ(station.reg(2, 0, 9), expected[1]);
                    value += 4;
                }
    EXPECT_EQ(station.requests().size(), sent);
}

}  // namespace
}  // namespace varnak::test
