// A station that answers late, or not at all, over the pseudo-terminal: a reply that comes
// after its request gave up is never taken for the answer of a later exchange or write, and
// the later request's own sound reply is taken when it comes; nothing is sent twice. The
// stations echo an exchange's outputs as its inputs, so that the inputs name the exchange
// they answer.
#include <array>
#include <chrono>
#include <string>
#include <thread>
#include <vector>

#include "tests/comctl/station_fixture.h"
#include "tests/support/line_stations.h"

namespace varnak::test {
namespace {

using std::chrono::milliseconds;

// A process-data frame with byte at set to value, its closing sum made to fit.
std::string processDataWith(std::string frame, size_t at, uint8_t value) {
    frame[at] = static_cast<char>(value);
    uint8_t sum = 0;
    for (size_t i = 0; i + 1 < frame.size(); ++i) sum = static_cast<uint8_t>(sum + frame[i]);
    frame.back() = static_cast<char>(sum);
    return frame;
}

class OwedReplies : public StationTest {
  protected:
    static constexpr int kTimeoutMs = 20;
    // Past the reply time-out of either telegram format, as the station of the field.
    static constexpr milliseconds kLate{120};
    static constexpr int kTable = 110;

    enum class Op { Exchange, Read, Write };
    struct Step {
        Op op;
        ReplyFault fault;
        int32_t station;
        int32_t word;  // the exchange's outputs, the value written to the four registers
        int32_t code;
    };

    OwedReplies() {
        stations.addStation(1);
        stations.addTable(1, 0, kTable, 4);
        station.setAnswerer(stations.answerer());
        reopenWithTimeout(kTimeoutMs);
    }

    // Runs steps on a line nothing is owed on yet: each must end with its code, an exchange
    // that returns 0 with its own inputs and one that fails with nothing touched, and each
    // request goes out once. The first step that does not, or "".
    std::string attempt(const std::vector<Step>& steps) {
        std::this_thread::sleep_for(milliseconds(300));  // what earlier steps owe runs out
        station.clearRequests();
        std::string wrong;
        for (size_t i = 0; i < steps.size(); ++i) {
            // A request no station answers leaves the faults to the next reply.
            if (steps[i].station == 1) station.queueFault(steps[i].fault);
            bool own = true;
            const int32_t code = runStep(steps[i], own);
            if (wrong.empty() && (code != steps[i].code || !own))
                wrong = "step " + std::to_string(i) + ": code " + std::to_string(code) +
                        (own ? "" : " with another's inputs");
        }
        if (!station.waitForRequests(steps.size(), milliseconds(1000)) ||
            station.requests().size() != steps.size())
            wrong += " requests " + std::to_string(station.requests().size());
        return wrong;
    }
    void run(const std::vector<Step>& steps) { EXPECT_EQ(attempt(steps), ""); }

    int32_t runStep(const Step& s, bool& own) {
        std::array<int32_t, 4> values;
        values.fill(-1);
        if (s.op == Op::Exchange) {
            const std::vector<int32_t> out(exchangeWords, s.word);
            int32_t status = -1, count = -1;
            const int32_t code = control.QZ8xProcSyncReadWriteReq(
                s.station, status, static_cast<int32_t>(out.size()), out, count, values);
            const bool ok = code == ComErrNo;
            own = status == (ok ? s.station : -1) &&
                  count == (ok ? static_cast<int32_t>(out.size()) : -1) &&
                  values[0] == (ok ? s.word : -1);
            return code;
        }
        if (s.op == Op::Read) return control.QZxRegSyncReadReq(0, kTable, 0, 4, s.station, values);
        values.fill(s.word);
        return control.QZxRegSyncWriteReq(0, kTable, 0, 4, s.station, values);
    }

    // The line at 9600 baud, the station sending each byte in its wire time.
    void pacedAt9600() {
        control.setQZxBaudrate(Baud_9600);
        reopenWithTimeout(kTimeoutMs);
        station.setPacing(SimStation::Pacing::ByteByByte);
    }

    // The reply first, then, after a while, the request's own.
    static ReplyFault firstThenOwn(std::string first) {
        ReplyFault f = ReplyFault::garbageFirst(first);
        f.chunks = {first.size()};
        f.chunkGap = milliseconds(50);
        return f;
    }

    uint16_t held() const { return stations.reg(1, 0, kTable, 3); }

    const ReplyFault sound;
    const ReplyFault late = ReplyFault::delayed(kLate);
    const ReplyFault lost = ReplyFault::lostRequest();
    size_t exchangeWords = 1;

    LineStations stations;
};

TEST_F(OwedReplies, AnExchangeGetsItsOwnInputs) {
    // Every second reply late; the late one comes while the next exchange waits.
    run({{Op::Exchange, sound, 1, 0x1111, ComErrNo},
         {Op::Exchange, late, 1, 0x2222, ComErrTimeout1},
         {Op::Exchange, sound, 1, 0x3333, ComErrNo},
         {Op::Exchange, late, 1, 0x4444, ComErrTimeout1},
         {Op::Exchange, sound, 1, 0x5555, ComErrNo}});
    // Late by less: the reply comes while the next exchange waits for a quiet line.
    run({{Op::Exchange, ReplyFault::delayed(milliseconds(70)), 1, 0x1111, ComErrTimeout1},
         {Op::Exchange, sound, 1, 0x2222, ComErrNo}});
    // The exchange after the late one lost on the line: only the late reply comes.
    run({{Op::Exchange, sound, 1, 0x1111, ComErrNo},
         {Op::Exchange, late, 1, 0x2222, ComErrTimeout1},
         {Op::Exchange, lost, 1, 0x3333, ComErrTimeout1},
         {Op::Exchange, sound, 1, 0x4444, ComErrNo}});
    // No station 4 on the line: station 1's late reply is all that comes.
    run({{Op::Exchange, late, 1, 0x1111, ComErrTimeout1},
         {Op::Exchange, sound, 4, 0x2222, ComErrTimeout1},
         {Op::Exchange, sound, 1, 0x3333, ComErrNo}});
    // A request lost: its reply never comes, and the next one's is its own.
    run({{Op::Exchange, lost, 1, 0x1111, ComErrTimeout1},
         {Op::Exchange, sound, 1, 0x2222, ComErrNo},
         {Op::Exchange, sound, 1, 0x3333, ComErrNo}});
    // A station that answers at 60 % of the time-out: a lost request costs only itself.
    const ReplyFault slow = ReplyFault::delayed(milliseconds(36));
    run({{Op::Exchange, slow, 1, 0x1111, ComErrNo},
         {Op::Exchange, lost, 1, 0x2222, ComErrTimeout1},
         {Op::Exchange, slow, 1, 0x3333, ComErrNo},
         {Op::Exchange, slow, 1, 0x4444, ComErrNo}});
    // A reply refused for its station byte or its ident may be another's: the exchange's own
    // comes after it and is no answer to the next.
    const std::string frame = processDataReplyFrame(1, {0x0BAD});
    run({{Op::Exchange, firstThenOwn(processDataWith(frame, 3, 1)), 1, 0x1111, ComErrMultipoint},
         {Op::Exchange, sound, 1, 0x2222, ComErrNo},
         {Op::Exchange, firstThenOwn(processDataWith(frame, 2, 1)), 1, 0x3333, ComErrIdent},
         {Op::Exchange, sound, 1, 0x4444, ComErrNo}});
    // Bytes that begin no reply right after another request's reply may be more of that:
    // the exchange's own reply comes after them and is no answer to the next.
    const std::string another = registerReplyFrame(1, 0, 9, 0, {1}) + "\x55\x55";
    run({{Op::Exchange, firstThenOwn(another), 1, 0x5555, ComErrStartPattern},
         {Op::Exchange, sound, 1, 0x6666, ComErrNo}});
}

// An RS485 bus with one station switched off, polled in turn: every exchange with the live
// one returns its own inputs.
TEST_F(OwedReplies, ARoundRobinWithAStationOffLosesNoExchangeOfTheLiveOne) {
    std::vector<Step> steps;
    for (int32_t i = 1; i <= 10; ++i) {
        steps.push_back({Op::Exchange, sound, 1, 0x1000 + i, ComErrNo});
        steps.push_back({Op::Exchange, sound, 4, 0x4000 + i, ComErrTimeout1});
    }
    run(steps);
}

TEST_F(OwedReplies, AWriteTakesOnlyItsOwnAcknowledgement) {
    // The late reply of a read of the same registers comes while the write waits.
    run({{Op::Read, sound, 1, 0, ComErrNo},
         {Op::Read, late, 1, 0, ComErrTimeout1},
         {Op::Write, sound, 1, 0xAAAA, ComErrNo}});
    EXPECT_EQ(held(), 0xAAAA);
    run({{Op::Read, sound, 1, 0, ComErrNo},
         {Op::Read, late, 1, 0, ComErrTimeout1},
         {Op::Write, lost, 1, 0xBBBB, ComErrTimeout1}});
    EXPECT_EQ(held(), 0xAAAA);
    // The late acknowledgement of a write to them.
    run({{Op::Write, sound, 1, 0x0001, ComErrNo},
         {Op::Write, late, 1, 0x0002, ComErrTimeout1},
         {Op::Write, sound, 1, 0x0003, ComErrNo}});
    EXPECT_EQ(held(), 0x0003);
    run({{Op::Write, sound, 1, 0x0001, ComErrNo},
         {Op::Write, late, 1, 0x0002, ComErrTimeout1},
         {Op::Write, lost, 1, 0x0003, ComErrTimeout1},
         {Op::Write, sound, 1, 0x0004, ComErrNo}});
    EXPECT_EQ(held(), 0x0004);
    // Lost requests: the next write's acknowledgement is its own.
    run({{Op::Write, lost, 1, 0x0005, ComErrTimeout1}, {Op::Write, sound, 1, 0x0006, ComErrNo}});
    EXPECT_EQ(held(), 0x0006);
    run({{Op::Read, lost, 1, 0, ComErrTimeout1}, {Op::Write, sound, 1, 0x0007, ComErrNo}});
    EXPECT_EQ(held(), 0x0007);
    // A read reply refused for its length: the read's own comes after it, no acknowledgement
    // of a write lost on the line.
    std::string longer = registerReplyFrame(1, 0, kTable, 0, {7, 7, 7, 7, 7});
    longer[5] = 4;
    run({{Op::Read, firstThenOwn(withChecksum(longer)), 1, 0, ComErrDataLength},
         {Op::Write, lost, 1, 0x0008, ComErrTimeout1}});
    EXPECT_EQ(held(), 0x0007);
}

// At 9600 baud a reply's tail takes its time: one whose head came while it was owed is that
// reply, read off whole before the next request goes out, though its tail comes after. A busy
// machine may hold the pacing station past the gap that ends a reply or the late head past
// its owed time: one of a few tries must give every outcome.
TEST_F(OwedReplies, AReplyBegunWhileOwedIsThatReplyHoweverLongItsTail) {
    pacedAt9600();
    const auto oneOf = [&](const std::vector<Step>& steps, uint16_t holds) {
        std::string wrong;
        for (int i = 0; i < 5; ++i) {
            wrong = attempt(steps);
            if (held() != holds) wrong += " holds " + std::to_string(held());
            if (wrong.empty()) return;
        }
        ADD_FAILURE() << wrong;
    };
    // Four words each way: 15 ms of request and 16 ms of reply on the wire; the late one's
    // head comes about 8 ms before its owed time ends (140 ms after it went out), its tail 5
    // ms after.
    exchangeWords = 4;
    oneOf({{Op::Exchange, sound, 1, 0x1111, ComErrNo},
           {Op::Exchange, ReplyFault::delayed(milliseconds(114)), 1, 0x2222, ComErrTimeout1},
           {Op::Exchange, sound, 1, 0x3333, ComErrNo}},
          0);
    // Writes acknowledged with their values: 23 ms each way; the late acknowledgement's head
    // comes about 10 ms before its owed time ends (180 ms after it went out), its tail 10 ms
    // after; the third write is lost on the line.
    stations.setReplies({.writes = SimStation::ReplyShape::Values});
    oneOf({{Op::Write, sound, 1, 0x0001, ComErrNo},
           {Op::Write, ReplyFault::delayed(milliseconds(144)), 1, 0x0002, ComErrTimeout1},
           {Op::Write, lost, 1, 0x0003, ComErrTimeout1}},
          0x0002);
    // A late acknowledgement whose bytes come 11 ms apart: its head comes about 30 ms before
    // its owed time ends, its tail 160 ms after, longer than a busy line is waited out; it is
    // read off whole, and the next write goes out after it.
    ReplyFault slowTail = ReplyFault::inChunks(std::vector<size_t>(20, 1), milliseconds(10));
    slowTail.delay = milliseconds(103);
    oneOf({{Op::Write, sound, 1, 0x0004, ComErrNo},
           {Op::Write, slowTail, 1, 0x0005, ComErrTimeout1},
           {Op::Write, sound, 1, 0x0006, ComErrNo}},
          0x0006);
}

}  // namespace
}  // namespace varnak::test
