// Replies that answer another request, over the pseudo-terminal: a reply that comes after its
// request has timed out, comes twice, comes after the next request's reply, or is preceded
// by a stale reply of another table never passes for the answer.
#include <array>
#include <chrono>
#include <vector>

#include "tests/comctl/station_fixture.h"

namespace varnak::test {
namespace {

// Register r of every table is unique to its place, so a value names where it came from.
uint16_t valueAt(int rail, int table, int reg) {
    return static_cast<uint16_t>(rail * 10000 + table * 100 + reg);
}

class LateReplies : public StationTest {
  protected:
    static constexpr int kTerminals = 4;
    static constexpr int kRegisters = 64;
    static constexpr int kProcessData = -1;  // a step's rail position for a process-data read

    LateReplies() {
        for (int rail = 0; rail <= kTerminals; ++rail)
            for (int table : {0, 9}) {
                station.addTable(rail, table, kRegisters);
                for (int r = 0; r < kRegisters; ++r)
                    station.setRegister(rail, table, r, valueAt(rail, table, r));
            }
        station.setInputs({0x0A0B}, 0x42);
        open();
    }

    // Reads registers 0..2 (or the process data); a success must carry what was asked for.
    void expectRead(int rail, int table, int32_t code) {
        SCOPED_TRACE(testing::Message() << "rail " << rail << " table " << table);
        reopenFor(code);
        std::array<int32_t, 3> values{-1, -1, -1};
        if (rail == kProcessData) {
            int32_t status = -1, count = -1;
            ASSERT_EQ(control.QZ8xProcSyncReadReq(1, status, count, values), code);
            if (code == ComErrNo) {
                EXPECT_EQ(values[0], 0x0A0B);
            }
            return;
        }
        ASSERT_EQ(control.QZxRegSyncReadReq(rail, table, 0, 3, 1, values), code);
        for (int r = 0; r < 3; ++r)
            EXPECT_EQ(values[static_cast<size_t>(r)],
                      code == ComErrNo ? valueAt(rail, table, r) : -1);
    }
};

// A held reply goes out only once the next request has arrived, so the request it belongs
// to has given up on it however busy the machine is.
TEST_F(LateReplies, ARequestGetsItsOwnAnswerWhateverCameBefore) {
    struct Step {
        ReplyFault fault;
        int rail;
        int table;
        int32_t code;
    };
    const std::vector<uint16_t> stale{0xDEAD, 0xBEEF, 0xF00D};
    const std::vector<Step> steps = {
        {ReplyFault::late(), 0, 9, ComErrTimeout1},
        {{}, 0, 0, ComErrNo},
        // Same table, first register and count: only the rail position tells them apart.
        {ReplyFault::late(), 1, 0, ComErrTimeout1},
        {{}, 2, 0, ComErrNo},
        {ReplyFault::late(), 0, 9, ComErrTimeout1},
        {{}, kProcessData, 0, ComErrNo},
        {ReplyFault::outOfOrder(), 3, 9, ComErrTimeout1},
        {{}, 3, 0, ComErrNo},  // its own reply comes first, the held one after it
        {{}, 4, 0, ComErrNo},
        {ReplyFault::twice(), 4, 9, ComErrNo},
        {{}, 1, 9, ComErrNo},
        {ReplyFault::garbageFirst(registerReplyFrame(1, 0, 0, 0, stale)), 0, 9, ComErrNo},
        {ReplyFault::garbageFirst(registerReplyFrame(1, 0, 9, 0, stale)), kProcessData, 0,
         ComErrNo},
    };
    for (size_t i = 0; i < steps.size(); ++i) {
        SCOPED_TRACE(i);
        station.queueFault(steps[i].fault);
        expectRead(steps[i].rail, steps[i].table, steps[i].code);
    }
}

// The fault seen in the field: a station that answers every third request 60 ms late while
// the control waits its default 10 ms. Which requests time out depends on the machine; a
// request that succeeds must carry its own terminal's values.
TEST_F(LateReplies, EveryThirdReplyLateNeverShiftsTheAnswers) {
    for (int i = 0; i < 3 * kTerminals * 4; ++i)
        station.queueFault(i % 3 == 2 ? ReplyFault::delayed(std::chrono::milliseconds(60))
                                      : ReplyFault());
    reopenWithTimeout(10);
    for (int round = 0; round < 3; ++round)
        for (int t = 1; t <= kTerminals; ++t) {
            std::vector<int32_t> values(kRegisters, -1);
            if (control.QZxRegSyncReadReq(t, 0, 0, kRegisters, 1, values) != ComErrNo) continue;
            for (int r = 0; r < kRegisters; ++r)
                ASSERT_EQ(values[static_cast<size_t>(r)], valueAt(t, 0, r)) << "terminal " << t;
        }
    // Whatever is still on its way, the next request gets its own answer.
    expectRead(2, 0, ComErrNo);
}

}  // namespace
}  // namespace varnak::test
