// Reply time-outs of the serial port as a caller sees them.
#include <array>

#include "tests/comctl/station_fixture.h"

using namespace qzcom;

namespace varnak::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

milliseconds since(Clock::time_point t) {
    return std::chrono::duration_cast<milliseconds>(Clock::now() - t);
}

class SerialTiming : public StationTest {
  protected:
    SerialTiming() {
        station.addTable(0, 9, 256);
        open();
    }

    // Time a silent station takes to give ComErrTimeout1.
    milliseconds silentRead() {
        station.queueFault(ReplyFault::noReply());
        std::array<int32_t, 1> value{};
        const auto start = Clock::now();
        EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrTimeout1);
        return since(start);
    }
};

// A time-out must end: the upper bounds leave a busy machine a second of margin.
TEST_F(SerialTiming, SilentStationTimesOutAfterFourTimesTheTimeout) {
    reopenWithTimeout(100);
    // The 3-byte head waits 100 ms per byte plus 100 ms.
    const auto took = silentRead();
    EXPECT_GE(took, milliseconds(399));
    EXPECT_LT(took, milliseconds(400 + 1000));
}

TEST_F(SerialTiming, SettingsTakeEffectAtTheNextOpen) {
    reopenWithTimeout(10);
    control.setQZxTimeout(500);
    control.setQZxBaudrate(Baud_19200);
    EXPECT_LT(silentRead(), milliseconds(1000));  // 40 ms, not 2 s
    EXPECT_EQ(station.lineBaud(), 38400);
    open();
    EXPECT_GE(silentRead(), milliseconds(1999));
    EXPECT_EQ(station.lineBaud(), 19200);
}

TEST_F(SerialTiming, TimeoutOfZeroOrLessDoesNotHang) {
    for (int timeout : {0, -5}) {
        SCOPED_TRACE(timeout);
        reopenWithTimeout(timeout);
        EXPECT_LT(silentRead(), milliseconds(1000));
    }
}

TEST_F(SerialTiming, ReplyStoppingMidwayEndsTwentyMillisecondsAfterItsLastByte) {
    // A long total time-out (16 s for the rest), so that only the gap between bytes can end
    // the read.
    station.queueFault(ReplyFault::cut(20));
    std::array<int32_t, 18> values{};
    const auto start = Clock::now();
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 18, 1, values), ComErrTimeout2);
    const auto end = Clock::now();
    const auto afterLastByte =
        std::chrono::duration_cast<milliseconds>(end - station.lastReplyByte());
    // The station stamps its last byte just after handing it over, a little after the
    // control may already have read it.
    EXPECT_GE(afterLastByte, milliseconds(15));
    EXPECT_LT(afterLastByte, milliseconds(20 + 1000));
    EXPECT_LT(end - start, milliseconds(5000));
}

// The wait for a quiet line before a request counts in the request's time: a late reply that
// keeps the line busy shortens the wait for the next request's own, so that a request takes
// no longer than its wire time, its head's time-out and the gap that ends a reply.
TEST_F(SerialTiming, ALateReplyBeforeARequestDoesNotLengthenIt) {
    constexpr int kTimeoutMs = 100;
    reopenWithTimeout(kTimeoutMs);
    std::array<int32_t, 1> value{};
    // Late by half a head time-out beyond it: it comes while the next request waits for a
    // quiet line.
    station.queueFault(ReplyFault::delayed(milliseconds(4 * kTimeoutMs + 150)));
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrTimeout1);
    station.queueFault(ReplyFault::noReply());
    const auto start = Clock::now();
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 5, 1, 1, value), ComErrTimeout1);
    const auto bound = milliseconds(4 * kTimeoutMs + 20 + 4);  // 12 bytes at 38400 baud
    // A busy machine may run a little late; a wait that ignored the late reply took 150 ms
    // more.
    EXPECT_LT(since(start), bound + milliseconds(100));
}

TEST_F(SerialTiming, PiecesOfAReplyJoinWhileTheGapStaysShort) {
    std::array<int32_t, 18> values{};
    // A busy machine may stretch a 3 ms gap past 20 ms on its way through the kernel: one
    // of a few tries must join the pieces.
    int32_t joined = -1;
    for (int attempt = 0; attempt < 5 && joined != ComErrNo; ++attempt) {
        station.queueFault(ReplyFault::inChunks({1, 2, 10, 5}, milliseconds(3)));
        joined = control.QZxRegSyncReadReq(0, 9, 0, 18, 1, values);
    }
    EXPECT_EQ(joined, ComErrNo);
    station.queueFault(ReplyFault::inChunks({10}, milliseconds(60)));
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 18, 1, values), ComErrTimeout2);
}

TEST_F(SerialTiming, LateReplyWithinTheTotalTimeoutIsTaken) {
    reopenWithTimeout(250);
    // The head may take 4 x 250 ms.
    std::array<int32_t, 1> value{};
    station.queueFault(ReplyFault::delayed(milliseconds(400)));
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrNo);
    station.queueFault(ReplyFault::delayed(milliseconds(1500)));
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrTimeout1);
}

TEST_F(SerialTiming, PacedRepliesTakeTheirWireTime) {
    control.setQZxBaudrate(Baud_38400);
    open();
    station.setPacing(SimStation::Pacing::ByteByByte);
    std::vector<int32_t> values(36);
    // A busy machine may hold the pacing station past the 20 ms gap between two bytes: one
    // of a few tries must get through, and that one took at least the wire time.
    int32_t result = -1;
    Clock::duration took{};
    for (int attempt = 0; attempt < 5 && result != ComErrNo; ++attempt) {
        const auto start = Clock::now();
        result = control.QZxRegSyncReadReq(0, 9, 0, 36, 1, values);
        took = Clock::now() - start;
    }
    EXPECT_EQ(result, ComErrNo);
    // Two telegrams of 12 request and 48 reply bytes, 11 bits each.
    const auto wire = std::chrono::microseconds(2 * 60 * 11 * 1'000'000LL / 38400);
    EXPECT_GE(took, wire);
}

}  // namespace
}  // namespace varnak::test
