// Coupler command blocks against a simulated station: the registers written to the command
// table, the pause before the read-back, the registers read back and the echo checks.
#include "comctl/command_blocks.h"

#include <array>
#include <chrono>
#include <thread>
#include <vector>

#include "tests/comctl/station_fixture.h"
#include "tests/support/write_reply_shapes.h"

using namespace qzcom;

namespace varnak::test {
namespace {

using std::chrono::milliseconds;

constexpr uint8_t kCommandTable = 99;

struct Telegram {
    bool write;
    int table;
    int first;
    int count;
    std::vector<uint16_t> values;
    bool operator==(const Telegram&) const = default;
};

Telegram decode(const std::string& r) {
    Telegram t{(static_cast<uint8_t>(r[8]) & 0x80) != 0,
               static_cast<uint8_t>(r[8]) & 0x7F,
               static_cast<uint8_t>(r[9]),
               static_cast<uint8_t>(r[5]),
               {}};
    if (t.write)
        for (int i = 0; i < t.count; ++i)
            t.values.push_back(static_cast<uint16_t>(static_cast<uint8_t>(r[10 + 2 * i]) |
                                                     static_cast<uint8_t>(r[11 + 2 * i]) << 8));
    return t;
}

Telegram write99(std::vector<uint16_t> values, int first = 0) {
    const int count = static_cast<int>(values.size());
    return {true, kCommandTable, first, count, std::move(values)};
}

Telegram read99(int count) {
    return {false, kCommandTable, 0, count, {}};
}

class CommandBlocks : public StationTest {
  protected:
    CommandBlocks() {
        station.addTable(0, 100, 16);
        open();
    }

    std::vector<Telegram> telegrams() const {
        std::vector<Telegram> out;
        for (const std::string& r : station.requests()) out.push_back(decode(r));
        return out;
    }

    // The read-back of request index read came no earlier than pause after the reply to
    // the write before it.
    void expectPause(size_t read, milliseconds pause) const {
        const auto e = station.exchanges();
        ASSERT_GT(e.size(), read);
        ASSERT_GT(read, 0u);
        EXPECT_GE(e[read].received - e[read - 1].replied, pause);
    }
};

TEST_F(CommandBlocks, WriteProtectionIsLiftedAndSetWithTheUnlockWord) {
    station.changeCoupler([](CouplerState& c) { c.writeProtected = true; });
    EXPECT_EQ(control.QZxWriteProtection(1, false), ComErrNo);
    EXPECT_FALSE(station.coupler().writeProtected);
    EXPECT_EQ(control.QZxWriteProtection(1, true), ComErrNo);
    EXPECT_TRUE(station.coupler().writeProtected);
    EXPECT_EQ(telegrams(), (std::vector<Telegram>{write99({0x0101, 1, 0x5C3B, 0}), read99(4),
                                                  write99({0x0101, 1, 0, 0}), read99(4)}));
    EXPECT_EQ(hexOf(station.requests()[0]),
              "FD 02 14 00 01 04 52 00 E3 00 01 01 01 00 3B 5C 00 00 E7 02");
    expectPause(1, milliseconds(500));
    expectPause(3, milliseconds(500));

    // The protected coupler acknowledges a write but keeps its value.
    const std::array<int32_t, 1> value{0x77};
    EXPECT_EQ(control.QZxRegSyncWriteReq(0, 100, 0, 1, 1, value), ComErrNo);
    EXPECT_EQ(station.reg(0, 100, 0), 0);
}

TEST_F(CommandBlocks, EchoFailuresAndTheResetThatIsNotSent) {
    station.setCommandHook([](std::vector<uint16_t>& t, uint16_t) { t[1] = 0; });
    EXPECT_EQ(control.QZxWriteProtection(1, false), comctl::kProtectionNotConfirmed);
    // A refused lift sends no reset block.
    station.clearRequests();
    EXPECT_EQ(control.QZxResetSoftwareReq(1), comctl::kProtectionNotConfirmed);
    EXPECT_EQ(telegrams(), (std::vector<Telegram>{write99({0x0101, 1, 0x5C3B, 0}), read99(4)}));
    EXPECT_EQ(station.coupler().softwareResets, 0);

    station.setCommandHook([](std::vector<uint16_t>& t, uint16_t) { t[0] = 0x0102; });
    EXPECT_EQ(control.QZxWriteProtection(1, false), comctl::kNoEcho);
    station.clearRequests();
    EXPECT_EQ(control.QZxResetSoftwareReq(1), comctl::kNoEcho);
    EXPECT_EQ(telegrams(), (std::vector<Telegram>{write99({0x0101, 1, 0x5C3B, 0}), read99(4)}));
    EXPECT_EQ(control.QZ8xWatchDogWriteReq(1, 250), comctl::kNoEcho);
    EXPECT_EQ(station.reg(0, 100, 0), 0);
    EXPECT_EQ(station.coupler().softwareResets, 0);
}

TEST_F(CommandBlocks, ResetAndWatchdogLiftTheProtectionFirst) {
    station.setRestartSilence(milliseconds(0));  // a coupler back at once
    station.changeCoupler([](CouplerState& c) { c.writeProtected = true; });
    EXPECT_EQ(control.QZxResetSoftwareReq(1), ComErrNo);
    EXPECT_EQ(telegrams(), (std::vector<Telegram>{write99({0x0101, 1, 0x5C3B, 0}), read99(4),
                                                  write99({0x0201, 1, 0, 0})}));
    EXPECT_EQ(station.coupler().softwareResets, 1);
    EXPECT_TRUE(station.coupler().writeProtected);  // the restarted coupler

    station.clearRequests();
    EXPECT_EQ(control.QZ8xWatchDogWriteReq(1, 250), ComErrNo);
    const std::vector<Telegram> expected{
        write99({0x0101, 1, 0x5C3B, 0}), read99(4), {true, 100, 0, 1, {250}},
        write99({0x0101, 1, 0x5C3B, 0}), read99(4), write99({0x0201, 1, 0, 0})};
    EXPECT_EQ(telegrams(), expected);
    EXPECT_EQ(station.reg(0, 100, 0), 250);
    EXPECT_EQ(station.coupler().softwareResets, 2);

    int32_t watchdog = -1;
    EXPECT_EQ(control.QZ8xWatchDogReadReq(1, watchdog), ComErrNo);
    EXPECT_EQ(watchdog, 250);
    reopenFor(ComErrTimeout1);
    station.queueFault(ReplyFault::noReply());
    EXPECT_EQ(control.QZ8xWatchDogReadReq(1, watchdog), ComErrTimeout1);
}

TEST_F(CommandBlocks, ARestartedCouplerIsSilentAWhileAndGuardsOnlyItsConfiguration) {
    for (int table : {0, 98, 110, 114}) station.addTable(0, table, 16);
    for (int table : {98, 110, 114}) station.setRegister(0, table, 3, 0x55);
    station.setRestartSilence(milliseconds(400));
    station.changeCoupler([](CouplerState& c) { c.restartsProtected = false; });
    EXPECT_EQ(control.QZxResetSoftwareReq(1), ComErrNo);
    std::array<int32_t, 1> value{};
    reopenFor(ComErrTimeout1);
    EXPECT_EQ(control.QZxRegSyncReadReq(0, 100, 0, 1, 1, value), ComErrTimeout1);
    std::this_thread::sleep_for(milliseconds(500));
    reopenFor(ComErrNo);
    for (int table : {98, 110, 114}) {
        EXPECT_EQ(control.QZxRegSyncReadReq(0, table, 3, 1, 1, value), ComErrNo);
        EXPECT_EQ(value[0], 0) << "table " << table;
    }
    EXPECT_FALSE(station.coupler().writeProtected);

    // Protected, the coupler keeps its configuration tables but takes results and outputs.
    EXPECT_EQ(control.QZxWriteProtection(1, true), ComErrNo);
    value[0] = 0x77;
    for (int table : {0, 98, 100, 110})
        EXPECT_EQ(control.QZxRegSyncWriteReq(0, table, 1, 1, 1, value), ComErrNo);
    EXPECT_EQ(station.reg(0, 0, 1), 0);
    EXPECT_EQ(station.reg(0, 100, 1), 0);
    EXPECT_EQ(station.reg(0, 98, 1), 0x77);
    EXPECT_EQ(station.reg(0, 110, 1), 0x77);
}

TEST_F(CommandBlocks, ChecksumWaitsASecondAndRefusesAnEmptyAnswer) {
    station.changeCoupler([](CouplerState& c) { c.checksum = 4660; });
    int32_t checksum = -1;
    EXPECT_EQ(control.QZxChecksumReq(1, checksum), ComErrNo);
    EXPECT_EQ(checksum, 4660);
    EXPECT_EQ(telegrams(), (std::vector<Telegram>{write99({0x0301, 0, 0, 0}), read99(4)}));
    expectPause(1, milliseconds(1000));

    // An answer without a checksum must not pass the old value off as the coupler's.
    station.setCommandHook([](std::vector<uint16_t>& t, uint16_t) { t[1] = 0; });
    checksum = -1;
    EXPECT_EQ(control.QZxChecksumReq(1, checksum), ComErrRegResponse);
    EXPECT_EQ(checksum, -1);
}

TEST_F(CommandBlocks, FactorySettingAndTerminalBusReset) {
    EXPECT_EQ(control.QZxFactorySettingReq(1), ComErrNo);
    EXPECT_EQ(control.QZxResetTerminalBusReq(1), ComErrNo);
    EXPECT_EQ(telegrams(), (std::vector<Telegram>{write99({0x0401}), read99(1),
                                                  write99({0x0102, 0, 0}), read99(3)}));
    expectPause(1, milliseconds(500));
    expectPause(3, milliseconds(1000));
    EXPECT_EQ(station.coupler().factorySettings, 1);
    EXPECT_EQ(station.coupler().terminalBusResets, 1);
}

TEST_F(CommandBlocks, ACouplerStillBusyAtTheReadBackFailsTheEcho) {
    // Busy far beyond the pause, however late the read-back comes on a busy machine.
    station.setCommandDelay(0x0401, milliseconds(60000));
    EXPECT_EQ(control.QZxFactorySettingReq(1), comctl::kNoEcho);
}

TEST_F(CommandBlocks, RequestFailuresEndTheBlockAtOnce) {
    reopenFor(ComErrTimeout1);
    station.queueFault(ReplyFault::noReply());
    EXPECT_EQ(control.QZxFactorySettingReq(1), ComErrTimeout1);
    EXPECT_EQ(station.requests().size(), 1u);  // no read-back after a failed write
    reopenFor(ComErrCRC);
    station.queueFault(ReplyFault::none());
    station.queueFault(ReplyFault::badChecksum());
    EXPECT_EQ(control.QZxWriteProtection(1, true), ComErrCRC);
}

// The read-back refused in each shape a device refuses with (the write flag set, with no
// values and a count of 0, the count alone, or the count and zero values) is a refusal as
// soon as it comes, though it would look like the block's acknowledgement: that came before
// it. So is the refused read-back of a register write to a table the station lacks.
TEST_F(CommandBlocks, ARefusedReadBackIsARefusalAtOnce) {
    using Shape = SimStation::ReplyShape;
    constexpr int kTimeoutMs = 100;
    reopenWithTimeout(kTimeoutMs);
    const auto refusal = [](Shape shape) {
        ReplyFault f;
        f.mutate = [shape](const std::string&, std::string) {
            const std::vector<uint16_t> zeros(shape == Shape::Values ? 4 : 0, 0);
            std::string r = registerReplyFrame(1, 0, 0x80 | kCommandTable, 0, zeros);
            r[5] = shape == Shape::Empty ? 0 : 4;
            return withChecksum(r);
        };
        return f;
    };
    for (Shape shape : {Shape::Empty, Shape::Count, Shape::Values}) {
        SCOPED_TRACE(writeReplyName(shape));
        station.queueFault(ReplyFault::none());
        station.queueFault(refusal(shape));
        const auto start = std::chrono::steady_clock::now();
        EXPECT_EQ(control.QZxWriteProtection(1, false), ComErrRegResponse);
        EXPECT_LT(std::chrono::steady_clock::now() - start, milliseconds(500 + 4 * kTimeoutMs));

        station.setRefusals(shape);
        std::array<int32_t, 2> values{1, 2};
        EXPECT_EQ(control.QZxRegSyncWriteReq(0, 42, 0, 2, 1, values), ComErrNo);
        EXPECT_EQ(control.QZxRegSyncReadReq(0, 42, 0, 2, 1, values), ComErrRegResponse);
        EXPECT_EQ(values, (std::array<int32_t, 2>{1, 2}));
    }
}

TEST_F(CommandBlocks, DebugReadCopiesWhatTheCouplerDeliversWithinTheCallersArray) {
    std::vector<uint16_t> words;
    for (int i = 0; i < 20; ++i) words.push_back(static_cast<uint16_t>(0xA000 + i));
    station.setMemory(2, 0x7FF4, words);

    std::array<int32_t, 5> data{};
    data.fill(-1);
    EXPECT_EQ(control.QZxDbgAdrReadReq(1, 2, 0x7FF4, 3, data), ComErrNo);
    EXPECT_EQ(data, (std::array<int32_t, 5>{0xA000, 0xA001, 0xA002, -1, -1}));
    EXPECT_EQ(telegrams(), (std::vector<Telegram>{write99({0x00FE, 3, 0x7FF4, 2}),
                                                  {false, 99, 0, 18, {}},
                                                  {false, 99, 18, 2, {}}}));
    expectPause(1, milliseconds(500));

    // A count beyond what 20 registers hold, and an array shorter than the count.
    station.setCommandHook([](std::vector<uint16_t>& t, uint16_t) { t[1] = 40; });
    std::vector<int32_t> wide(25, -1);
    EXPECT_EQ(control.QZxDbgAdrReadReq(1, 2, 0x7FF4, 17, wide), ComErrNo);
    EXPECT_EQ(wide[16], 0xA010);
    EXPECT_EQ(wide[17], -1);
    data.fill(-1);
    EXPECT_EQ(control.QZxDbgAdrReadReq(1, 2, 0x7FF4, 17, data), ComErrNo);
    EXPECT_EQ(data[4], 0xA004);

    // A failed read is no success with old data.
    station.setCommandHook([](std::vector<uint16_t>& t, uint16_t) { t[2] = 1; });
    data.fill(-1);
    EXPECT_EQ(control.QZxDbgAdrReadReq(1, 2, 0x7FF4, 3, data), ComErrRegResponse);
    EXPECT_EQ(data[0], -1);
}

TEST_F(CommandBlocks, DebugRequestsRefuseWhatCannotTravelWithoutSending) {
    std::array<int32_t, 4> data{};
    EXPECT_EQ(control.QZxDbgAdrReadReq(1, 2, 0, 0, data), ComErrDataLength);
    EXPECT_EQ(control.QZxDbgAdrReadReq(1, 2, 0x10000, 1, data), ComErrOffset);
    EXPECT_EQ(control.QZxDbgAdrReadReq(1, -1, 0, 1, data), ComErrOffset);
    EXPECT_EQ(control.QZxDbgAdrWriteReq(1, 3, 0, -4, data), ComErrDataLength);
    EXPECT_EQ(control.QZxDbgAdrWriteReq(1, 3, -1, 1, data), ComErrOffset);
    EXPECT_EQ(control.QZxDbgAdrWriteReq(1, 0x10003, 0, 1, data), ComErrOffset);
    EXPECT_EQ(control.QZxDbgAdrWriteReq(1, 1, 0, 1, data), comctl::kNoEcho);
    EXPECT_EQ(control.QZxDbgAdrWriteReq(1, 3, 0, 5, data), ComErrDataBuff);
    EXPECT_TRUE(station.requests().empty());
}

TEST_F(CommandBlocks, DebugWriteClipsToTwentyWordsInTwoTelegrams) {
    std::vector<int32_t> data;
    for (int i = 0; i < 25; ++i) data.push_back(0x10000 + 0x100 + i);  // high bits dropped
    EXPECT_EQ(control.QZxDbgAdrWriteReq(1, 3, 0x2000, 25, data), ComErrNo);
    const auto t = telegrams();
    ASSERT_EQ(t.size(), 3u);
    EXPECT_EQ(t[0].count, 18);
    EXPECT_EQ(t[1].first, 18);
    EXPECT_EQ(t[1].count, 6);
    EXPECT_EQ(t[0].values[0], 0x01FE);
    EXPECT_EQ(t[0].values[1], 20);
    EXPECT_EQ(t[0].values[3], 3);
    EXPECT_EQ(t[2], read99(4));
    expectPause(2, milliseconds(300));
    EXPECT_EQ(station.memory(3, 0x2000), 0x100);
    EXPECT_EQ(station.memory(3, 0x2002), 0x101);  // a word takes two byte addresses
    EXPECT_EQ(station.memory(3, 0x2026), 0x113);
    EXPECT_EQ(station.memory(3, 0x2028), 0);

    station.clearRequests();
    const std::array<int32_t, 1> one{0xBEEF};
    EXPECT_EQ(control.QZxDbgAdrWriteReq(1, 2, 0x10, 1, one), ComErrNo);
    EXPECT_EQ(telegrams()[0], write99({0x02FE, 1, 0x10, 2, 0xBEEF}));
    EXPECT_EQ(station.memory(2, 0x10), 0xBEEF);
}

// The queries the coupler services make through plain register access.
TEST_F(CommandBlocks, StationAnswersTheQueryCommands) {
    station.changeCoupler([](CouplerState& c) {
        c.stationNumber = 7;
        c.dipSwitch = 0x5A;
    });
    auto query = [&](std::vector<int32_t> block, int count) {
        EXPECT_EQ(
            control.QZxRegSyncWriteReq(0, 99, 0, static_cast<int32_t>(block.size()), 1, block),
            ComErrNo);
        std::vector<int32_t> answer(static_cast<size_t>(count), -1);
        EXPECT_EQ(control.QZxRegSyncReadReq(0, 99, 0, count, 1, answer), ComErrNo);
        return answer;
    };
    EXPECT_EQ(query({0x00FF, 0}, 4), (std::vector<int32_t>{0x00FF, 1, 0, 7}));
    EXPECT_EQ(query({0x00FF, 2, 0x0002, 0x0001}, 4)[0], 0x00FF);
    EXPECT_EQ(station.coupler().stationNumber, 0x10002u);
    EXPECT_EQ(query({0x01FF, 0}, 5), (std::vector<int32_t>{0x01FF, 1, 0, 0x2345, 0x0001}));
    EXPECT_EQ(query({0x03FF, 0}, 4), (std::vector<int32_t>{0x03FF, 1, 0, 0x5A}));
    EXPECT_EQ(query({0x05FF, 0}, 6), (std::vector<int32_t>{0x05FF, 1, 0, 0x2B3C, 0x051A, 1}));
    // Cycle-time evaluation is taken up after a while: register 0 reads busy until then. The
    // while is long enough for the first read-back to come before it on a busy machine.
    station.setCommandDelay(0x0104, milliseconds(1000));
    EXPECT_EQ(query({0x0104, 1, 1}, 3)[0], 0);
    std::vector<int32_t> answer(3);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(30);
    for (;;) {
        ASSERT_EQ(control.QZxRegSyncReadReq(0, 99, 0, 3, 1, answer), ComErrNo);
        if (answer[0] != 0 || std::chrono::steady_clock::now() > giveUp) break;
        std::this_thread::sleep_for(milliseconds(20));
    }
    EXPECT_EQ(answer[0], 0x0104);
    EXPECT_TRUE(station.coupler().cycleTimeEvaluation);
}

}  // namespace
}  // namespace varnak::test
