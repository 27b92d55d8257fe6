// Process-data telegrams against a simulated station, byte for byte, and the order in which
// a reply's faults are reported.
#include <array>
#include <vector>

#include "tests/comctl/station_fixture.h"

using namespace qzcom;

namespace varnak::test {
namespace {

class ProcessData : public StationTest {
  protected:
    ProcessData() { open(); }

    // Replaces the station's reply and sets its sum right unless told otherwise.
    static ReplyFault replyWith(std::string bytes, bool fixSum = true) {
        ReplyFault f;
        f.mutate = [bytes, fixSum](const std::string&, std::string) {
            std::string r = bytes;
            if (fixSum) {
                uint8_t sum = 0;
                for (size_t i = 0; i + 1 < r.size(); ++i) sum += static_cast<uint8_t>(r[i]);
                r.back() = static_cast<char>(sum);
            }
            return r;
        };
        return f;
    }
};

TEST_F(ProcessData, ReadRequestAndEmptyReplyAreByteExact) {
    SimStation other(3, 0);
    setenv("VARNAK_COM3", other.devicePath().c_str(), 1);
    open();
    int32_t status = -1, count = -1;
    std::array<int32_t, 4> inputs{};
    other.setInputs({}, 5);
    ASSERT_EQ(control.QZ8xProcSyncReadReq(3, status, count, inputs), ComErrNo);
    EXPECT_EQ(hexOf(other.requests().at(0)), "50 00 00 03 53");
    EXPECT_EQ(status, 5);
    EXPECT_EQ(count, 0);
}

TEST_F(ProcessData, OutputsGoOutAndInputsComeBack) {
    station.setInputs({0x1234, 0xFFFF, 0x0001}, 0x81);
    const std::array<int32_t, 2> outputs{0x0102, 0x7FFFA0B0};  // only the low word travels
    int32_t status = -1, count = -1;
    std::array<int32_t, 8> inputs{};
    inputs.fill(-7);
    ASSERT_EQ(control.QZ8xProcSyncReadWriteReq(1, status, 2, outputs, count, inputs), ComErrNo);
    EXPECT_EQ(hexOf(station.requests().at(0)), "50 02 00 01 02 01 B0 A0 A6");
    EXPECT_EQ(station.outputs(), (std::vector<uint16_t>{0x0102, 0xA0B0}));
    EXPECT_EQ(status, 0x81);
    EXPECT_EQ(count, 3);
    EXPECT_EQ(inputs, (std::array<int32_t, 8>{0x1234, 0xFFFF, 1, -7, -7, -7, -7, -7}));
}

TEST_F(ProcessData, RepliesAreCheckedInOrderAndOutputsStayOnFailure) {
    struct Case {
        const char* what;
        ReplyFault fault;
        int32_t result;
    };
    const std::string sound("\x70\x01\x00\x00\x05\x34\x12\x00", 8);
    std::string station1 = sound, ident = sound, both = sound;
    station1[3] = 1;
    ident[2] = 9;
    both[2] = 9;
    both[3] = 1;
    station.setInputs({0x1111, 0x2222});
    std::vector<Case> cases;
    cases.push_back({"silent", ReplyFault::noReply(), ComErrTimeout1});
    cases.push_back({"one byte", ReplyFault::cut(1), ComErrTimeout1});
    cases.push_back({"cut in the words", ReplyFault::cut(6), ComErrTimeout2});
    cases.push_back(
        {"register start", replyWith("\x02\xFD\x00\x00\x00\x00\x00"), ComErrStartPattern});
    cases.push_back({"sum before station byte", replyWith(station1, false), ComErrCRC});
    cases.push_back({"station byte", replyWith(station1), ComErrMultipoint});
    cases.push_back({"station byte before ident", replyWith(both), ComErrMultipoint});
    cases.push_back({"ident", replyWith(ident), ComErrIdent});
    for (Case& c : cases) {
        SCOPED_TRACE(c.what);
        renewControl();
        reopenFor(c.result);
        station.queueFault(std::move(c.fault));
        int32_t status = -1, count = -1;
        std::array<int32_t, 2> inputs{-1, -1};
        EXPECT_EQ(control.QZ8xProcSyncReadReq(1, status, count, inputs), c.result);
        EXPECT_EQ(status, -1);
        EXPECT_EQ(count, -1);
        EXPECT_EQ(inputs, (std::array<int32_t, 2>{-1, -1}));
    }
    reopenFor(ComErrNo);
    station.queueFault(replyWith(sound));
    int32_t status = -1, count = -1;
    std::array<int32_t, 2> inputs{-1, -1};
    ASSERT_EQ(control.QZ8xProcSyncReadReq(1, status, count, inputs), ComErrNo);
    EXPECT_EQ(status, 5);
    EXPECT_EQ(inputs[0], 0x1234);
}

TEST_F(ProcessData, LengthsBeyondTheBuffersAreRefused) {
    std::vector<int32_t> outputs(300, 1);
    int32_t status = -1, count = -1;
    std::array<int32_t, 2> inputs{-1, -1};
    // A count byte cannot carry these: nothing goes out.
    EXPECT_EQ(control.QZ8xProcSyncReadWriteReq(1, status, 256, outputs, count, inputs),
              ComErrDataLength);
    EXPECT_EQ(control.QZ8xProcSyncReadWriteReq(1, status, -1, outputs, count, inputs),
              ComErrDataLength);
    // More words asked to be sent than given.
    EXPECT_EQ(
        control.QZ8xProcSyncReadWriteReq(1, status, 3, std::span(outputs).first(2), count, inputs),
        ComErrDataBuff);
    EXPECT_TRUE(station.requests().empty());

    // 255 words is the most a telegram carries.
    station.setInputs(std::vector<uint16_t>(255, 0xABCD));
    std::vector<int32_t> all(255);
    ASSERT_EQ(control.QZ8xProcSyncReadWriteReq(1, status, 255, outputs, count, all), ComErrNo);
    EXPECT_EQ(count, 255);
    EXPECT_EQ(all[254], 0xABCD);
    EXPECT_EQ(station.outputs().size(), 255u);

    // A reply with more words than the caller's array holds writes none of them.
    station.setInputs({1, 2, 3}, 7);
    EXPECT_EQ(control.QZ8xProcSyncReadReq(1, status, count, inputs), ComErrDataBuff);
    EXPECT_EQ(inputs, (std::array<int32_t, 2>{-1, -1}));
    EXPECT_EQ(count, 255);
}

TEST_F(ProcessData, OtherStationsStaySilent) {
    reopenFor(ComErrTimeout1);
    int32_t status = -1, count = -1;
    std::array<int32_t, 1> inputs{};
    EXPECT_EQ(control.QZ8xProcSyncReadReq(2, status, count, inputs), ComErrTimeout1);
}

}  // namespace
}  // namespace varnak::test
