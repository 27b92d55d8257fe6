// The coupler services against the simulated station: the echo loop (three reads, a fourth
// before giving up), answers without a value, the waits of the slow members, the firmware
// text, the baud-rate registers by coupler type, and the requests on the wire.
#include "couplerservices/coupler_services.h"

#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "tests/support/qt/rail_fixture.h"
#include "tests/support/wire_log.h"

namespace varnak::test {
namespace {

class ServicesFixture : public RailFixture {
  protected:
    explicit ServicesFixture(const char* coupler) : RailFixture({coupler, {"QT3002-0000"}}) {
        connectStation();
    }
    void echoOn(uint16_t command, int read) {
        station->configureCommands([&](StationCommandTable& t) { t.echoOnRead[command] = read; });
    }
    // For requests that must end in waiting for a reply that never comes; long enough for
    // a sound reply on a busy machine.
    void shortTimeout() {
        control.setQZxTimeout(300);
        control.setQZxPortOpen(true);
    }
    void withoutValue(uint16_t command) {
        station->configureCommands([&](StationCommandTable& t) { t.noValue.insert(command); });
    }

    std::vector<float> waits;
    CouplerServices services{[this](float s) { waits.push_back(s); }};
};

class Services : public ServicesFixture {
  protected:
    Services() : ServicesFixture("QZ3100-0000") {}
};

TEST_F(Services, QueriesEchoWithinThreeReadsAndTellAMissingValue) {
    int32_t number = -1;
    echoOn(0x00FF, 3);
    EXPECT_TRUE(services.fCouplerFktStationNummer(number));
    EXPECT_EQ(number, 3);
    echoOn(0x00FF, 4);  // the fourth read is made, then the query gives up
    EXPECT_FALSE(services.fCouplerFktStationNummer(number));
    EXPECT_EQ(number, 0);
    ServiceAnswer answer = services.stationNumber(number);
    EXPECT_EQ(answer.outcome, ServiceOutcome::Failed);
    EXPECT_EQ(answer.code, kServiceNoEcho);

    echoOn(0x00FF, 1);
    withoutValue(0x00FF);
    number = 42;
    EXPECT_EQ(services.stationNumber(number).outcome, ServiceOutcome::NoValue);
    EXPECT_TRUE(services.fCouplerFktStationNummer(number));  // the callers' contract
    EXPECT_EQ(number, 42);

    EXPECT_TRUE(services.fCouplerSetSerialStationNummer(0x10002));
    EXPECT_EQ(station->coupler().stationNumber, 0x10002u);

    EXPECT_TRUE(services.NewVersionfCouplerGetSerialStationNummer(number));
    EXPECT_EQ(number, 0x12345);
    station->changeCoupler([](CouplerState& c) { c.serialStationNumber = 0x80000001; });
    EXPECT_FALSE(services.NewVersionfCouplerGetSerialStationNummer(number));
    EXPECT_EQ(services.serialStationNumber(number).code, kServiceValueTooLarge);

    station->setMemory(2, 0x7FF4, {0x2345, 0x0001});
    EXPECT_TRUE(services.fCouplerGetSerialStationNummer(number));
    EXPECT_EQ(number, 0x12345);

    int32_t dip = -1;
    station->changeCoupler([](CouplerState& c) { c.dipSwitch = 0x0201; });
    EXPECT_TRUE(services.fCouplerFktDipSwitchValue(dip));
    EXPECT_EQ(dip, 0x0201);
    withoutValue(0x03FF);
    EXPECT_EQ(services.dipSwitchValue(dip).outcome, ServiceOutcome::NoValue);

    int32_t company = -1, mac = -1;
    EXPECT_TRUE(services.fCouplerGetMacId(company, mac));
    EXPECT_EQ(CouplerServices::GetHumanMacIdString(company, mac), "00-01-05-1A-2B-3C");
    withoutValue(0x05FF);
    company = mac = 7;
    EXPECT_EQ(services.macId(company, mac).outcome, ServiceOutcome::NoValue);
    EXPECT_TRUE(services.fCouplerGetMacId(company, mac));
    EXPECT_EQ(company + mac, 14);

    int32_t firmware = -1;
    std::string text;
    EXPECT_EQ(services.fCouplerFirmwareReq(firmware, text), 0);
    EXPECT_EQ(firmware, 0x0B02);
    EXPECT_EQ(text, "Firmware: 0x0B02\r\n\r\n");
    EXPECT_TRUE(waits.empty());
    EXPECT_TRUE(ui.messages.empty());
    EXPECT_TRUE(matchesGolden(wireLog(*station),
                              testSourcePath("couplerservices/wire_golden/queries.txt")));
}

TEST_F(Services, CycleTimeAndDebugWaitASecondBeforeEveryRead) {
    echoOn(0x0104, 3);
    EXPECT_TRUE(services.fCouplerCycleTimeEvaluation(true));
    EXPECT_TRUE(station->coupler().cycleTimeEvaluation);
    EXPECT_EQ(waits, (std::vector<float>{1, 1, 1}));

    std::vector<uint16_t> words;
    for (int i = 0; i < 18; ++i) words.push_back(static_cast<uint16_t>(0xA000 + i));
    station->setMemory(2, 0x7FF8, words);
    echoOn(0x00FE, 1);
    std::array<int32_t, 20> data{};
    data.fill(-1);
    EXPECT_TRUE(services.fCouplerFktDebug(0, 0x7FF8, 2, data));
    // The answer's registers 3-17: fifteen words; the rest were not read and give 0.
    EXPECT_EQ(data[0], 0xA000);
    EXPECT_EQ(data[14], 0xA00E);
    EXPECT_EQ(data[15], 0);
    EXPECT_EQ(data[19], -1);

    echoOn(0x02FE, 1);
    std::array<int32_t, 1> word{0xBEEF};
    EXPECT_TRUE(services.fCouplerFktDebug(2, 0x0010, 2, word));
    EXPECT_EQ(station->memory(2, 0x0010), 0xBEEF);
    EXPECT_TRUE(ui.messages.empty());

    echoOn(0x00FE, 0);  // never answered
    waits.clear();
    EXPECT_FALSE(services.fCouplerFktDebug(0, 0x7FF8, 2, data));
    EXPECT_EQ(waits.size(), 4u);
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Fehler bei Debug Funktion"});
}

TEST_F(Services, AStationThatDoesNotAnswerFailsEveryQuery) {
    // The older serial number read checks what the control answered.
    int32_t number = 9;
    station->setCommandHook([](std::vector<uint16_t>& t, uint16_t) { t[2] = 1; });
    EXPECT_EQ(services.serialStationNumberFromMemory(number).code, qzcom::ComErrRegResponse);
    EXPECT_FALSE(services.fCouplerGetSerialStationNummer(number));
    EXPECT_EQ(number, 9);

    shortTimeout();
    station->queueFault(ReplyFault::noReply());
    ServiceAnswer answer = services.stationNumber(number);
    EXPECT_EQ(answer.outcome, ServiceOutcome::Failed);
    EXPECT_EQ(answer.code, qzcom::ComErrTimeout1);
    EXPECT_EQ(number, 9);
    EXPECT_EQ(station->requests().size(), 7u);  // no read after the failed write

    station->queueFault(ReplyFault::none());
    station->queueFault(ReplyFault::noReply());
    int32_t dip = 9;
    EXPECT_FALSE(services.fCouplerFktDipSwitchValue(dip));
    EXPECT_EQ(dip, 0);

    station->queueFault(ReplyFault::noReply());
    int32_t firmware = 9;
    std::string text;
    EXPECT_EQ(services.fCouplerFirmwareReq(firmware, text), 0);
    EXPECT_EQ(firmware, 0);
    EXPECT_EQ(text, "Firmware: 0x????\r\n\r\n");
}

class QZ5110Services : public ServicesFixture {
  protected:
    QZ5110Services() : ServicesFixture("QZ5110-0000") {}
};

TEST_F(QZ5110Services, BaudRateCodesFromRegisterZero) {
    EXPECT_EQ(services.fCouplerFktQZ5xGetBaudrate(1), "250");
    station->setRegister(0, 100, 2, 9);
    EXPECT_EQ(services.fCouplerFktQZ5xGetBaudrate(2), "");
    EXPECT_EQ(services.fCouplerFktQZ5xGetBaudrate(4), "");  // no setting of DIP 7 and 8
    shortTimeout();
    station->queueFault(ReplyFault::noReply());
    EXPECT_EQ(services.fCouplerFktQZ5xGetBaudrate(0), "");
}

class QZ5100Services : public ServicesFixture {
  protected:
    QZ5100Services() : ServicesFixture("QZ5100-0000") {}
};

TEST_F(QZ5100Services, BaudRateCodesFromRegister34) {
    // The station keeps unused codes in registers 0-3.
    EXPECT_EQ(services.fCouplerFktQZ5xGetBaudrate(0), "500");
    EXPECT_EQ(services.fCouplerFktQZ5xGetBaudrate(3), "100");
    EXPECT_EQ(wireLog(*station),
              "read  pos 0 table 100 reg 34 count 4\nread  pos 0 table 100 reg 34 count 4\n");
    int32_t dip = 0;
    EXPECT_TRUE(services.fCouplerFktDipSwitchValue(dip));
    EXPECT_EQ(dip, 0x45);
}

TEST(ServiceTexts, MacIdAndBaudRateTexts) {
    EXPECT_EQ(CouplerServices::GetHumanMacIdString(0x000105, 0x1A2B3C), "00-01-05-1A-2B-3C");
    EXPECT_EQ(CouplerServices::GetHumanMacIdString(-1, 0x7F000A0B), "FF-FF-FF-00-0A-0B");
    const std::vector<std::string> expected{"1000", "800", "500", "250", "125",
                                            "100",  "50",  "20",  "10",  ""};
    for (int code = 0; code < 10; ++code) EXPECT_EQ(fieldbusBaudrateText(code), expected[code]);
    EXPECT_EQ(fieldbusBaudrateText(-1), "");
}

}  // namespace
}  // namespace varnak::test
