// The telegram layer on a line in memory: RTS sequencing on the bus and robustness
// against any reply a line can deliver.
#include <array>
#include <map>
#include <optional>
#include <random>
#include <tuple>

#include "comctl/QZcomOCX.h"
#include "comctl/register_telegrams.h"
#include "tests/comctl/fake_line.h"
#include "tests/comctl/station_fixture.h"

using namespace qzcom;

namespace varnak::test {
namespace {

using comctl::RegisterAddress;
using comctl::TelegramLink;

// A sound reply to a read of table 9 at station 1 carrying values from register first on.
std::string readReply(const std::vector<uint16_t>& values, uint8_t first = 0) {
    std::string r("\x02\xFD\x00\x00\x01\x00\x52\x00\x09\x00", 10);
    r[2] = static_cast<char>(12 + 2 * values.size());
    r[5] = static_cast<char>(values.size());
    r[9] = static_cast<char>(first);
    for (uint16_t v : values) {
        r += static_cast<char>(v & 0xFF);
        r += static_cast<char>(v >> 8);
    }
    return withChecksum(r + "..");
}

// A refused read: the write flag set and no values, the count byte 0 or echoed.
std::string refusal(uint8_t first, uint8_t count = 0) {
    std::string r = readReply({}, first);
    r[8] = static_cast<char>(r[8] | 0x80);
    r[5] = static_cast<char>(count);
    return withChecksum(r);
}

// A write's reply to the same address that echoes its values, as a slow device sends it
// after the write has timed out.
std::string echoedWriteReply(const std::vector<uint16_t>& values, uint8_t first = 0) {
    std::string r = readReply(values, first);
    r[8] = static_cast<char>(r[8] | 0x80);
    return withChecksum(r);
}

TEST(TelegramLink, Rs485KeysTheTransmitterAroundEachTelegram) {
    FakeLine line;
    line.rtsWorks = false;  // as on a pseudo-terminal: the telegram still goes out
    line.replies = {readReply({0x0102})};
    TelegramLink link(line, true);
    std::array<int32_t, 1> value{};
    ASSERT_EQ(comctl::readRegisters(link, RegisterAddress{0, 9, 0, 1, 1}, value), ComErrNo);
    EXPECT_EQ(value[0], 0x0102);
    EXPECT_EQ(line.log, (std::vector<std::string>{"rts+", "purge",
                                                  "write FD 02 0C 00 01 01 52 00 09 00 68 01",
                                                  "drain", "rts-", "read 3", "read 11"}));
}

TEST(TelegramLink, Rs485DropsRtsAlsoAfterAShortWrite) {
    FakeLine line;
    line.writeLimit = 5;
    TelegramLink link(line, true);
    const std::array<int32_t, 2> values{1, 2};
    EXPECT_EQ(comctl::writeRegisters(link, RegisterAddress{1, 2, 0, 2, 1}, values), ComErrSendTel);
    EXPECT_EQ(line.log,
              (std::vector<std::string>{"rts+", "purge", "write FD 02 10 00 01", "drain", "rts-"}));
}

TEST(TelegramLink, Rs232LeavesRtsAlone) {
    FakeLine line;
    line.replies = {withChecksum(std::string("\x02\xFD\x0C\x00\x01\x01\x52\x00\x89\x00..", 12))};
    TelegramLink link(line, false);
    const std::array<int32_t, 1> value{7};
    EXPECT_EQ(comctl::writeRegisters(link, RegisterAddress{0, 9, 0, 1, 1}, value), ComErrNo);
    EXPECT_EQ(line.log,
              (std::vector<std::string>{"purge", "write FD 02 0E 00 01 01 52 00 89 00 07 00 F1 01",
                                        "drain", "read 3", "read 9"}));
}

// A reply that differs from its request in one echoed field answers another request: it
// is dropped and counted, and the answer behind it is taken.
TEST(TelegramLink, RepliesOfOtherRequestsAreDroppedAndCounted) {
    const std::vector<uint16_t> values{0x1111, 0x2222};
    const std::vector<uint16_t> stale{0xDEAD, 0xBEEF};
    const std::string answer = registerReplyFrame(1, 0, 9, 4, values);
    const std::vector<std::tuple<const char*, std::string, uint64_t>> cases = {
        {"station", registerReplyFrame(2, 0, 9, 4, stale), 1},
        {"rail position", registerReplyFrame(1, 3, 9, 4, stale), 1},
        {"table", registerReplyFrame(1, 0, 10, 4, stale), 1},
        {"first register", registerReplyFrame(1, 0, 9, 22, stale), 1},
        {"count", registerReplyFrame(1, 0, 9, 4, {0xDEAD}), 1},
        {"process data", processDataReplyFrame(0, stale), 1},
        {"three",
         registerReplyFrame(2, 0, 9, 4, stale) + processDataReplyFrame(0, {}) +
             registerReplyFrame(1, 0, 9, 0, stale),
         3},
    };
    for (const auto& [name, before, dropped] : cases) {
        SCOPED_TRACE(name);
        FakeLine line;
        line.replies = {before + answer};
        comctl::LineState state;
        TelegramLink link(line, false, state);
        std::array<int32_t, 2> got{-1, -1};
        EXPECT_EQ(comctl::readRegisters(link, RegisterAddress{0, 9, 4, 2, 1}, got), ComErrNo);
        EXPECT_EQ(got, (std::array<int32_t, 2>{0x1111, 0x2222}));
        EXPECT_EQ(state.droppedReplies, dropped);
        EXPECT_FALSE(state.unsettled);
    }
}

// A write is answered by a reply to its address whatever that reply carries. A read takes a
// reply with the write flag as its refusal, with values or without, also after a write to
// the same registers that was acknowledged.
TEST(TelegramLink, WriteRepliesOfEveryShapeAnswerTheirWriteAndNoRead) {
    // A reply to station 1, rail position 0, table 9 (with the write flag when flagged).
    auto reply = [](uint8_t first, uint8_t count, const std::vector<uint16_t>& values,
                    bool flagged = true) {
        std::string r = registerReplyFrame(1, 0, flagged ? 0x89 : 0x09, first, values);
        r[5] = static_cast<char>(count);
        return withChecksum(r);
    };
    const std::array<int32_t, 2> written{1, 2};
    const RegisterAddress address{0, 9, 4, 2, 1};
    const RegisterAddress elsewhere{0, 9, 0, 2, 1};
    struct Case {
        const char* name;
        bool write;
        std::string replies;
        int32_t code;
        uint64_t dropped;
        // A write made first on the same line, acknowledged at once.
        std::optional<RegisterAddress> writeBefore = std::nullopt;
    };
    const std::vector<Case> cases = {
        {"write, values echoed", true, reply(4, 2, {1, 2}), ComErrNo, 0},
        {"write, count only", true, reply(4, 2, {}), ComErrNo, 0},
        {"write, count 0", true, reply(4, 0, {}), ComErrNo, 0},
        {"write, no flag echoed", true, reply(4, 2, {}, false), ComErrNo, 0},
        {"write after another write's", true, reply(4, 1, {7}) + reply(4, 2, {}), ComErrNo, 1},
        {"write after another register's", true, reply(0, 2, {}) + reply(4, 0, {}), ComErrNo, 1},
        {"read refused, count 0", false, reply(4, 0, {}), ComErrRegResponse, 0},
        {"read refused, count echoed", false, reply(4, 2, {}), ComErrRegResponse, 0},
        {"read refused with zero values", false, reply(4, 2, {0, 0}), ComErrRegResponse, 0},
        {"read refused with values after a write elsewhere", false, reply(4, 2, {0, 0}),
         ComErrRegResponse, 0, elsewhere},
        // Its write was acknowledged: a flagged reply now is the read's refusal.
        {"read refused after its write's acknowledgement", false,
         reply(4, 2, {}) + readReply({5, 6}, 4), ComErrRegResponse, 0, address},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLine line;
        comctl::LineState state;
        TelegramLink link(line, false, state);
        if (c.writeBefore) {
            const RegisterAddress& w = *c.writeBefore;
            line.replies = {reply(static_cast<uint8_t>(w.offset), 2, {})};
            std::array<int32_t, 2> before{3, 4};
            EXPECT_EQ(comctl::writeRegisters(link, w, before), ComErrNo);
        }
        line.replies = {c.replies};
        std::array<int32_t, 2> values = written;
        const int32_t code = c.write ? comctl::writeRegisters(link, address, values)
                                     : comctl::readRegisters(link, address, values);
        EXPECT_EQ(code, c.code);
        const bool copied = !c.write && code == ComErrNo;
        EXPECT_EQ(values, copied ? (std::array<int32_t, 2>{5, 6}) : written);
        EXPECT_EQ(state.droppedReplies, c.dropped);
        EXPECT_FALSE(state.unsettled);
    }
}

// After a time-out or a damaged reply the next request first reads until the line is quiet,
// so that the rest of that reply is not taken for the head of its own; after a sound reply
// it goes straight to the purge.
TEST(TelegramLink, TheLineFallsQuietAfterATimeoutOrADamagedReply) {
    const std::string sound = readReply({7});
    auto spoilt = [&](size_t at, char value) {
        std::string r = sound;
        r[at] = value;
        return r;
    };
    struct Case {
        const char* name;
        std::string reply;
        int32_t code;
        bool settles;
    };
    const std::vector<Case> cases = {
        {"sound", sound, ComErrNo, false},
        {"refused", refusal(0), ComErrRegResponse, false},
        {"silent", "", ComErrTimeout1, true},
        {"cut", sound.substr(0, 5), ComErrTimeout2, true},
        {"wrong start", spoilt(1, '\xFE'), ComErrStartPattern, true},
        {"wrong sum", spoilt(13, '\x00'), ComErrCRC, true},
        {"length below 12", withChecksum(spoilt(2, '\x0B').substr(0, 11)), ComErrDataLength, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FakeLine line;
        line.replies = {c.reply, sound};
        TelegramLink link(line, false);
        std::array<int32_t, 1> value{};
        EXPECT_EQ(comctl::readRegisters(link, RegisterAddress{0, 9, 0, 1, 1}, value), c.code);
        line.log.clear();
        EXPECT_EQ(comctl::readRegisters(link, RegisterAddress{0, 9, 0, 1, 1}, value), ComErrNo);
        EXPECT_EQ(line.log.front(), c.settles ? "read 64" : "purge");
    }
}

// A line that brings nothing but other requests' replies does not hold the caller forever.
TEST(TelegramLink, EndlessRepliesOfOtherRequestsEndTheWait) {
    std::string many;
    for (int i = 0; i < 40; ++i) many += registerReplyFrame(2, 0, 9, 0, {1});
    FakeLine line;
    line.replies = {many};
    comctl::LineState state;
    TelegramLink link(line, false, state);
    std::array<int32_t, 1> value{-1};
    EXPECT_EQ(comctl::readRegisters(link, RegisterAddress{0, 9, 0, 1, 1}, value), ComErrTimeout1);
    EXPECT_EQ(state.droppedReplies, static_cast<uint64_t>(comctl::kMaxDroppedReplies) + 1);
    EXPECT_TRUE(state.unsettled);
    EXPECT_EQ(value[0], -1);
}

// Replies a faulty line or device can produce for a read of count registers.
class ReplyMutator {
  public:
    explicit ReplyMutator(uint32_t seed) : rng_(seed) {}

    std::string next(int count, uint8_t first = 0) {
        std::vector<uint16_t> values(static_cast<size_t>(count));
        for (auto& v : values) v = static_cast<uint16_t>(rng_());
        std::string r = readReply(values, first);
        switch (pick(10)) {
            case 0:  // noise of any length
                r.resize(pick(300));
                for (char& c : r) c = static_cast<char>(rng_());
                return r;
            case 1:  // one byte changed
                r[pick(r.size())] = static_cast<char>(rng_());
                return r;
            case 2:  // right framing, any count
                r[5] = static_cast<char>(rng_());
                return withChecksum(r);
            case 3: {  // consistent frame with another number of values
                values.resize(pick(60));
                return readReply(values, first);
            }
            case 4:  // cut anywhere
                r.resize(pick(r.size()));
                return r;
            case 5:  // trailing bytes
                for (size_t n = pick(40); n > 0; --n) r += static_cast<char>(rng_());
                return r;
            case 6: {  // any length byte, checksum made to fit
                r[2] = static_cast<char>(rng_());
                const size_t length = static_cast<uint8_t>(r[2]);
                if (length >= 2) {
                    r.resize(std::max(r.size(), length));
                    r = withChecksum(r.substr(0, length)) + r.substr(length);
                }
                return r;
            }
            case 7:  // a refusal, with or without the count; or a late write reply first
                if (pick(3) == 0) return echoedWriteReply(values, first) + r;
                return refusal(first, pick(2) ? static_cast<uint8_t>(count) : 0);
            case 8:  // another request's reply first
                return readReply(values, static_cast<uint8_t>(first + 1)) + r;
            default:
                return r;
        }
    }

  private:
    size_t pick(size_t n) { return n ? rng_() % n : 0; }
    std::mt19937 rng_;
};

TEST(TelegramLink, AnyReplyGivesACodeAndStaysInsideTheCallersSpan) {
    constexpr int32_t kCanary = 0x5A5A5A5A;
    ReplyMutator mutator(20261209);
    std::mt19937 rng(7);
    std::map<int32_t, int> seen;
    for (int round = 0; round < 20000; ++round) {
        const int size = 1 + static_cast<int>(rng() % 40);
        FakeLine line;
        for (int t = 0; t < (size + 17) / 18; ++t)
            line.replies.push_back(
                mutator.next(std::min(18, size - 18 * t), static_cast<uint8_t>(18 * t)));
        TelegramLink link(line, round % 2 == 0);
        std::vector<int32_t> guarded(static_cast<size_t>(size) + 16, kCanary);
        const auto span = std::span(guarded).subspan(8, static_cast<size_t>(size));
        const int32_t r = comctl::readRegisters(link, RegisterAddress{0, 9, 0, size, 1}, span);
        ASSERT_TRUE(r == ComErrNo || r == ComErrTimeout1 || r == ComErrTimeout2 || r == ComErrCRC ||
                    r == ComErrStartPattern || r == ComErrDataLength || r == ComErrRegResponse)
            << r;
        ++seen[r];
        for (size_t i = 0; i < 8; ++i) {
            ASSERT_EQ(guarded[i], kCanary) << "round " << round;
            ASSERT_EQ(guarded[guarded.size() - 1 - i], kCanary) << "round " << round;
        }
        for (int32_t v : span) ASSERT_TRUE(v == kCanary || (v >= 0 && v <= 0xFFFF));
        if (r == ComErrNo) {
            for (int32_t v : span) ASSERT_NE(v, kCanary);
        }
    }
    // The mutations reach every check of the reply.
    for (int32_t code : {ComErrNo, ComErrTimeout1, ComErrTimeout2, ComErrCRC, ComErrStartPattern,
                         ComErrDataLength, ComErrRegResponse})
        EXPECT_GT(seen[code], 100) << code;
}

// The same over a real line: fewer rounds, as every broken reply costs a time-out.
TEST_F(StationTest, MutatedRepliesOverThePseudoTerminal) {
    constexpr int32_t kCanary = -99;
    station.addTable(0, 9, 256);
    control.setQZxTimeout(1);
    open();
    ReplyMutator mutator(42);
    for (int round = 0; round < 150; ++round) {
        const std::string replacement = mutator.next(5);
        ReplyFault f;
        f.mutate = [replacement](const std::string&, std::string) { return replacement; };
        station.queueFault(f);
        std::array<int32_t, 9> guarded;
        guarded.fill(kCanary);
        const int32_t r =
            control.QZxRegSyncReadReq(0, 9, 0, 5, 1, std::span(guarded).subspan(2, 5));
        EXPECT_GE(r, 0);
        EXPECT_LE(r, 13);
        EXPECT_EQ(guarded[0], kCanary);
        EXPECT_EQ(guarded[1], kCanary);
        EXPECT_EQ(guarded[7], kCanary);
        EXPECT_EQ(guarded[8], kCanary);
    }
}

}  // namespace
}  // namespace varnak::test
