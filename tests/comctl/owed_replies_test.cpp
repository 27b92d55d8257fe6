// A station that answers late, over the pseudo-terminal: a reply that comes after its
// request gave up is never taken for the answer of a later exchange or write, whose own
// reply is taken when it comes; nothing is sent twice. The stations echo an exchange's
// outputs as its inputs, so that the inputs name the exchange they answer.
#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "tests/comctl/station_fixture.h"
#include "tests/support/line_stations.h"

namespace varnak::test {
namespace {

using std::chrono::milliseconds;

class OwedReplies : public StationTest {
  protected:
    static constexpr int kTimeoutMs = 20;
    // Past the reply time-out of either telegram format, as the station of the field.
    static constexpr milliseconds kLate{120};
    static constexpr int32_t kEither = -100;  // a step that may fail or succeed
    static constexpr int kTable = 110;

    enum class Op { Exchange, Read, Write };
    struct Step {
        Op op;
        ReplyFault fault;
        int32_t station;
        int32_t word;  // the exchange's output, the value written to the four registers
        int32_t code;
    };

    OwedReplies() {
        stations.addStation(1);
        stations.addTable(1, 0, kTable, 4);
        station.setAnswerer(stations.answerer());
        reopenWithTimeout(kTimeoutMs);
    }

    // Runs steps on a line nothing is owed on yet; each request goes out once.
    void run(const std::vector<Step>& steps) {
        std::this_thread::sleep_for(milliseconds(300));  // what earlier steps owe runs out
        station.clearRequests();
        for (size_t i = 0; i < steps.size(); ++i) {
            SCOPED_TRACE(testing::Message() << "step " << i);
            // A request no station answers leaves the faults to the next reply.
            if (steps[i].station == 1) station.queueFault(steps[i].fault);
            const int32_t code = runStep(steps[i]);
            if (steps[i].code != kEither) {
                EXPECT_EQ(code, steps[i].code);
            }
        }
        EXPECT_TRUE(station.waitForRequests(steps.size(), milliseconds(1000)));
        EXPECT_EQ(station.requests().size(), steps.size());
    }

    int32_t runStep(const Step& s) {
        std::array<int32_t, 4> values;
        values.fill(-1);
        if (s.op == Op::Exchange) {
            const std::array<int32_t, 1> out{s.word};
            int32_t status = -1, count = -1;
            const int32_t code =
                control.QZ8xProcSyncReadWriteReq(s.station, status, 1, out, count, values);
            // Its own inputs, or nothing touched.
            const bool ok = code == ComErrNo;
            EXPECT_EQ(status, ok ? s.station : -1);
            EXPECT_EQ(count, ok ? 1 : -1);
            EXPECT_EQ(values[0], ok ? s.word : -1);
            return code;
        }
        if (s.op == Op::Read) return control.QZxRegSyncReadReq(0, kTable, 0, 4, s.station, values);
        values.fill(s.word);
        return control.QZxRegSyncWriteReq(0, kTable, 0, 4, s.station, values);
    }

    uint16_t held() const { return stations.reg(1, 0, kTable, 3); }

    const ReplyFault sound;
    const ReplyFault late = ReplyFault::delayed(kLate);
    const ReplyFault lost = ReplyFault::lostRequest();

    LineStations stations;
};

TEST_F(OwedReplies, AnExchangeGetsItsOwnInputsOrFails) {
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
    // A request lost: its reply never comes, the next one's may be passed over for it, and
    // the one after gets through.
    run({{Op::Exchange, lost, 1, 0x1111, ComErrTimeout1},
         {Op::Exchange, sound, 1, 0x2222, kEither},
         {Op::Exchange, sound, 1, 0x3333, ComErrNo}});
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
}

}  // namespace
}  // namespace varnak::test
