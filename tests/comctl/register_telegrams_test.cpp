// Register reads and writes against a simulated station over a pseudo-terminal.
#include <array>
#include <numeric>
#include <vector>

#include "tests/comctl/station_fixture.h"
#include "tests/support/write_reply_shapes.h"

using namespace qzcom;

namespace varnak::test {
namespace {

using std::chrono::milliseconds;
using Shape = SimStation::ReplyShape;

class RegisterTelegrams : public StationTest {
  protected:
    RegisterTelegrams() {
        station.addTable(0, 9, 256);
        station.addTable(0, 99, 32);
        station.addTable(2, 0, 64);
        for (int i = 0; i < 256; ++i)
            station.setRegister(0, 9, i, static_cast<uint16_t>(i * 3 + 7));
        open();
    }

    // (count, first register) of every request the station received.
    std::vector<std::pair<int, int>> chunks() const {
        std::vector<std::pair<int, int>> out;
        for (const std::string& r : station.requests())
            out.emplace_back(static_cast<uint8_t>(r[5]), static_cast<uint8_t>(r[9]));
        return out;
    }

    // A refused request must not reach the line: the next good request is the first seen.
    void expectNothingSent() {
        std::array<int32_t, 1> v{};
        ASSERT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, v), ComErrNo);
        EXPECT_EQ(station.requests().size(), 1u);
    }
};

TEST_F(RegisterTelegrams, RequestsAreByteExact) {
    std::array<int32_t, 1> value{};
    ASSERT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrNo);
    EXPECT_EQ(value[0], 7);
    const std::array<int32_t, 1> written{0x1234};
    ASSERT_EQ(control.QZxRegSyncWriteReq(2, 0, 5, 1, 1, written), ComErrNo);

    const auto requests = station.requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(hexOf(requests[0]), "FD 02 0C 00 01 01 52 00 09 00 68 01");
    EXPECT_EQ(hexOf(requests[1]), "FD 02 0E 00 01 01 52 02 80 05 34 12 2E 02");
    EXPECT_EQ(station.reg(2, 0, 5), 0x1234);
}

TEST_F(RegisterTelegrams, ReadsAreSplitIntoTelegramsOfEighteen) {
    struct Case {
        int offset;
        int size;
        std::vector<std::pair<int, int>> chunks;
    };
    const std::vector<Case> cases = {
        {0, 0, {}},
        {5, 1, {{1, 5}}},
        {0, 18, {{18, 0}}},
        {10, 19, {{18, 10}, {1, 28}}},
        {0, 36, {{18, 0}, {18, 18}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.size);
        station.clearRequests();
        std::vector<int32_t> values(static_cast<size_t>(c.size), -1);
        ASSERT_EQ(control.QZxRegSyncReadReq(0, 9, c.offset, c.size, 1, values), ComErrNo);
        EXPECT_EQ(chunks(), c.chunks);
        for (int i = 0; i < c.size; ++i)
            EXPECT_EQ(values[static_cast<size_t>(i)], (c.offset + i) * 3 + 7);
    }
}

TEST_F(RegisterTelegrams, WholeTableTakesFifteenTelegrams) {
    std::vector<int32_t> values(256, -1);
    ASSERT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 256, 1, values), ComErrNo);
    const auto seen = chunks();
    ASSERT_EQ(seen.size(), 15u);
    for (size_t i = 0; i < 14; ++i)
        EXPECT_EQ(seen[i], std::make_pair(18, static_cast<int>(18 * i)));
    EXPECT_EQ(seen[14], std::make_pair(4, 252));
    for (int i = 0; i < 256; ++i) EXPECT_EQ(values[static_cast<size_t>(i)], (i * 3 + 7) & 0xFFFF);
}

TEST_F(RegisterTelegrams, WritesSendLowWordsInChunksAndReadsZeroExtend) {
    std::vector<int32_t> values(19);
    std::iota(values.begin(), values.end(), 0x12340);
    values[0] = -1;
    ASSERT_EQ(control.QZxRegSyncWriteReq(2, 0, 3, 19, 1, values), ComErrNo);
    EXPECT_EQ(chunks(), (std::vector<std::pair<int, int>>{{18, 3}, {1, 21}}));
    EXPECT_EQ(hexOf(station.requests()[1].substr(0, 3)), "FD 02 0E");
    EXPECT_EQ(station.reg(2, 0, 4), 0x2341);
    EXPECT_EQ(station.reg(2, 0, 21), 0x2352);

    std::array<int32_t, 2> back{};
    ASSERT_EQ(control.QZxRegSyncReadReq(2, 0, 3, 2, 1, back), ComErrNo);
    EXPECT_EQ(back[0], 0xFFFF);
    EXPECT_EQ(back[1], 0x2341);
    EXPECT_EQ(control.QZxRegSyncWriteReq(2, 0, 3, 0, 1, {}), ComErrNo);
}

TEST_F(RegisterTelegrams, ReplyFaultsGiveTheirCodes) {
    struct Case {
        const char* name;
        ReplyFault fault;
        int32_t code;
    };
    const std::vector<Case> cases = {
        {"silent", ReplyFault::noReply(), ComErrTimeout1},
        {"two bytes only", ReplyFault::cut(2), ComErrTimeout1},
        {"cut after head", ReplyFault::cut(5), ComErrTimeout2},
        {"02 FE", ReplyFault::badStart(), ComErrStartPattern},
        {"garbage first", ReplyFault::garbageFirst("\x55"), ComErrStartPattern},
        {"last byte wrong", ReplyFault::badChecksum(), ComErrCRC},
        // Another count is another request's reply: dropped, and nothing else comes.
        {"one value more", ReplyFault::extraValues(1), ComErrTimeout1},
        {"one value less", ReplyFault::extraValues(-1), ComErrTimeout1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        reopenFor(c.code);
        station.queueFault(c.fault);
        std::array<int32_t, 4> values{-1, -1, -1, -1};
        EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 3, 1, std::span(values).first(3)), c.code);
        EXPECT_EQ(values, (std::array<int32_t, 4>{-1, -1, -1, -1}));
    }
}

// Devices refuse with no values and a count of 0, with the count alone, or with the count
// and zero values: each is a refusal at once, and none is copied.
TEST_F(RegisterTelegrams, RefusedReadsLeaveTheCallersValues) {
    for (auto shape : {Shape::Empty, Shape::Count, Shape::Values}) {
        SCOPED_TRACE(writeReplyName(shape));
        station.setRefusals(shape);
        std::array<int32_t, 2> values{-1, -1};
        EXPECT_EQ(control.QZxRegSyncReadReq(0, 42, 0, 2, 1, values), ComErrRegResponse);  // table
        EXPECT_EQ(control.QZxRegSyncReadReq(7, 9, 0, 2, 1, values), ComErrRegResponse);  // position
        EXPECT_EQ(control.QZxRegSyncReadReq(2, 0, 63, 2, 1, values), ComErrRegResponse);  // range
        EXPECT_EQ(values, (std::array<int32_t, 2>{-1, -1}));
    }
}

TEST_F(RegisterTelegrams, MalformedLengthsAreRefusedWithoutCopying) {
    struct Case {
        const char* name;
        std::function<std::string(std::string)> change;
        int32_t code;
    };
    const std::vector<Case> cases = {
        // Count byte says 18 while the frame holds 2 values: would overrun the span. Not the
        // count asked for, so not this request's reply.
        {"count byte too large",
         [](std::string r) {
             r[5] = 18;
             return withChecksum(r);
         },
         ComErrTimeout1},
        {"count byte too small",
         [](std::string r) {
             r[5] = 1;
             return withChecksum(r);
         },
         ComErrTimeout1},
        // A frame too short to hold even its header.
        {"length below 12",
         [](std::string) { return withChecksum(std::string("\x02\xFD\x06\x00\x01\x00", 6)); },
         ComErrDataLength},
        // Frame one value longer than the count byte says.
        {"length not 12 + 2 x count",
         [](std::string r) {
             r.insert(r.size() - 2, std::string("\x11\x22", 2));
             r[2] = static_cast<char>(r.size());
             return withChecksum(r);
         },
         ComErrDataLength},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        renewControl();
        reopenFor(c.code);
        ReplyFault f;
        f.mutate = [&](const std::string&, std::string r) { return c.change(std::move(r)); };
        station.queueFault(f);
        std::array<int32_t, 4> guarded{-7, -1, -1, -7};
        EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 2, 1, std::span(guarded).subspan(1, 2)),
                  c.code);
        EXPECT_EQ(guarded, (std::array<int32_t, 4>{-7, -1, -1, -7}));
    }
}

TEST_F(RegisterTelegrams, EarlierChunksStayAfterALaterFailure) {
    station.queueFault(ReplyFault::none());
    station.queueFault(ReplyFault::badChecksum());
    std::vector<int32_t> values(40, -1);
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 40, 1, values), ComErrCRC);
    EXPECT_EQ(station.requests().size(), 2u);  // no retry, no third telegram
    for (int i = 0; i < 18; ++i) EXPECT_EQ(values[static_cast<size_t>(i)], i * 3 + 7);
    for (int i = 18; i < 40; ++i) EXPECT_EQ(values[static_cast<size_t>(i)], -1);
}

TEST_F(RegisterTelegrams, AddressesThatDoNotFitAByteAreRefusedBeforeSending) {
    std::vector<int32_t> values(20);
    EXPECT_EQ(control.QZxRegSyncReadReq(256, 9, 0, 1, 1, values), ComErrTargetNr);
    EXPECT_EQ(control.QZxRegSyncReadReq(-1, 9, 0, 1, 1, values), ComErrTargetNr);
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 128, 0, 1, 1, values), ComErrTableNr);
    EXPECT_EQ(control.QZxRegSyncWriteReq(0, -1, 0, 1, 1, values), ComErrTableNr);
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 256, 1, 1, values), ComErrOffset);
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, -1, 1, 1, values), ComErrOffset);
    EXPECT_EQ(control.QZxRegSyncWriteReq(0, 9, 250, 7, 1, values), ComErrOffset);
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, -1, 1, values), ComErrDataBuff);
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 21, 1, values), ComErrDataBuff);
    EXPECT_EQ(control.QZxRegSyncWriteReq(0, 9, 0, 21, 1, values), ComErrDataBuff);
    // Size 0 sends nothing and succeeds, whatever the span.
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 0, 1, {}), ComErrNo);
    // The last register of a table is still reachable.
    expectNothingSent();
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 255, 1, 1, values), ComErrNo);
    EXPECT_EQ(values[0], (255 * 3 + 7) & 0xFFFF);
}

TEST_F(RegisterTelegrams, EnterBootloaderDoesNotWaitForAReply) {
    const std::array<int32_t, 4> block{3, 1, 0x5C3B, 0};
    // Waiting for a reply would take 4 x 2 s.
    reopenWithTimeout(2000);
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(control.QZxRegSyncWriteReq(0, 99, 0, 4, 1, block), ComErrNo);
    EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(4000));
    ASSERT_TRUE(station.waitForRequests(1, milliseconds(5000)));
    EXPECT_EQ(hexOf(station.requests()[0]),
              "FD 02 14 00 01 04 52 00 E3 00 03 00 01 00 3B 5C 00 00 E8 02");

    // Any other block to the command table waits for its reply.
    reopenWithTimeout(kSilenceTimeoutMs);
    station.queueFault(ReplyFault::noReply());
    const std::array<int32_t, 4> other{3, 1, 0x5C3B, 1};
    EXPECT_EQ(control.QZxRegSyncWriteReq(0, 99, 0, 4, 1, other), ComErrTimeout1);
}

TEST_F(RegisterTelegrams, WriteRepliesAreCheckedForFrameOnly) {
    const std::array<int32_t, 2> values{1, 2};
    station.queueFault(ReplyFault::badChecksum());
    EXPECT_EQ(control.QZxRegSyncWriteReq(2, 0, 0, 2, 1, values), ComErrCRC);
    station.queueFault(ReplyFault::badStart());
    EXPECT_EQ(control.QZxRegSyncWriteReq(2, 0, 0, 2, 1, values), ComErrStartPattern);
    // A write to a table the device does not know still gets its (unexamined) reply.
    EXPECT_EQ(control.QZxRegSyncWriteReq(2, 77, 0, 2, 1, values), ComErrNo);
}

TEST_F(RegisterTelegrams, OtherStationsDoNotAnswer) {
    reopenWithTimeout(kSilenceTimeoutMs);
    std::array<int32_t, 1> value{-1};
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 2, value), ComErrTimeout1);
    EXPECT_EQ(value[0], -1);
}

TEST_F(RegisterTelegrams, Rs485WorksOnALineWithoutRts) {
    control.setQZxTyp(QZxType_RS485);
    std::array<int32_t, 3> values{};
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 1, 3, 1, values), ComErrNo);
    EXPECT_EQ(values, (std::array<int32_t, 3>{10, 13, 16}));
}

TEST_F(RegisterTelegrams, RequestsOnAClosedPortFailToSend) {
    control.setQZxPortOpen(false);
    std::array<int32_t, 1> value{-1};
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 9, 0, 1, 1, value), ComErrSendTel);
    EXPECT_EQ(control.QZxRegSyncWriteReq(0, 9, 0, 1, 1, value), ComErrSendTel);
    EXPECT_EQ(value[0], -1);
}

}  // namespace
}  // namespace varnak::test
