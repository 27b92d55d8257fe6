#include "couplerservices/coupler_services.h"

#include <algorithm>
#include <array>
#include <cstdio>
#include <memory>
#include <optional>
#include <vector>

#include "comctl/QZcomOCX.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsCoupler.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "model/register_device.h"
#include "windowkit/basStartup_wait.h"

namespace varnak {
namespace {

constexpr int32_t kCmdStationNumber = 0x00FF;
constexpr int32_t kCmdSerialStationNumber = 0x01FF;
constexpr int32_t kCmdDipSwitch = 0x03FF;
constexpr int32_t kCmdMacId = 0x05FF;
constexpr int32_t kCmdCycleTimeEvaluation = 0x0104;
constexpr int32_t kCmdDebug = 0x00FE;

constexpr int kEchoReads = 3;
constexpr float kSlowReadWait = 1.0f;

// Where the older firmware keeps the serial station number, read at station 0.
constexpr int32_t kSerialNumberSegment = 2;
constexpr int32_t kSerialNumberAddress = 0x7FF4;
constexpr int32_t kSerialNumberStation = 0;

constexpr int32_t kDebugReadWords = 18;
constexpr int32_t kDebugAnswerRegisters = 18;
constexpr int32_t kDebugDataRegister = 3;

constexpr int32_t kBaudCodeCount = 4;
constexpr int32_t kQZ5100BaudCodeBase = 34;

constexpr const char* kDebugFailedText = "Fehler bei Debug Funktion";

ServiceAnswer okAnswer() {
    return {ServiceOutcome::Ok, 0};
}
ServiceAnswer noValue() {
    return {ServiceOutcome::NoValue, 0};
}
ServiceAnswer failedWith(int32_t code) {
    return {ServiceOutcome::Failed, code};
}

// A coupler table of position 0 that belongs to no rail.
std::unique_ptr<clsTable> scratchTable(int32_t tableNr) {
    auto table = std::make_unique<clsTable>();
    table->setPosNr(0);
    table->setTableNr(tableNr);
    table->setTableLen(kLastRegister);
    table->setbInitDone(true);
    return table;
}

// Two words as one number; nullopt when the high word does not fit a signed 32-bit one.
std::optional<int32_t> joinWords(int32_t low, int32_t high) {
    if ((high & 0xFFFF) >= 0x8000) return std::nullopt;
    return (high & 0xFFFF) * 65536 + (low & 0xFFFF);
}

// The echo query: writes the block from register 0 of a scratch command table and reads
// readCount registers back until register 0 echoes the command; the answer stays in the
// table.
class EchoQuery {
  public:
    EchoQuery(std::vector<int32_t> block, int32_t readCount)
        : table_(scratchTable(kCommandTable)), block_(std::move(block)), readCount_(readCount) {}

    ServiceAnswer run(const CouplerServices::Wait* waitBeforeReads) {
        for (size_t i = 0; i < block_.size(); ++i)
            table_->setConfRegisterValue(static_cast<int32_t>(i), block_[i] & 0xFFFF);
        if (int32_t r = table_->ConfDownload(0, static_cast<int32_t>(block_.size())); r != 0)
            return failedWith(r);
        for (int read = 1;; ++read) {
            if (waitBeforeReads) (*waitBeforeReads)(kSlowReadWait);
            if (int32_t r = table_->ConfUpload(0, readCount_); r != 0) return failedWith(r);
            if (read > kEchoReads) return failedWith(kServiceNoEcho);
            if (reg(0) == (block_[0] & 0xFFFF)) return okAnswer();
        }
    }

    int32_t reg(int32_t n) const { return table_->ConfRegisterValue(n); }
    // Register 1 of an echoed query: a count or validity word, below 1 when there is no
    // value.
    bool hasValue() const { return reg(1) >= 1; }

  private:
    std::unique_ptr<clsTable> table_;
    std::vector<int32_t> block_;
    int32_t readCount_;
};

// A value query {command, 0} read back as registers 0 .. readCount - 1.
ServiceAnswer valueQuery(int32_t command, int32_t readCount,
                         const std::function<ServiceAnswer(const EchoQuery&)>& take) {
    EchoQuery query({command, 0}, readCount);
    ServiceAnswer answer = query.run(nullptr);
    if (answer.failed()) return answer;
    return take(query);
}

// The Boolean contract: True for an answer and for an echo without a value.
bool echoed(const ServiceAnswer& answer) {
    return !answer.failed();
}

bool isQZ5100Coupler() {
    std::shared_ptr<clsCoupler> coupler;
    if (!gfGetActiveCoupler(coupler) || !coupler) return false;
    return coupler->InfoName().compare(0, 6, "QZ5100") == 0;
}

}  // namespace

CouplerServices::CouplerServices() : CouplerServices([](float s) { gfWaitSeconds(s); }) {}

CouplerServices::CouplerServices(Wait wait) : wait_(std::move(wait)) {}

ServiceAnswer CouplerServices::stationNumber(int32_t& number) {
    return valueQuery(kCmdStationNumber, 4, [&](const EchoQuery& q) {
        if (!q.hasValue()) return noValue();
        number = q.reg(3);
        return okAnswer();
    });
}

ServiceAnswer CouplerServices::setStationNumber(int32_t number) {
    const uint32_t bits = static_cast<uint32_t>(number);
    EchoQuery query({kCmdStationNumber, 2, static_cast<int32_t>(bits & 0xFFFF),
                     static_cast<int32_t>(bits >> 16)},
                    4);
    return query.run(nullptr);
}

ServiceAnswer CouplerServices::serialStationNumber(int32_t& number) {
    return valueQuery(kCmdSerialStationNumber, 5, [&](const EchoQuery& q) {
        if (!q.hasValue()) return noValue();
        const std::optional<int32_t> value = joinWords(q.reg(3), q.reg(4));
        if (!value) return failedWith(kServiceValueTooLarge);
        number = *value;
        return okAnswer();
    });
}

ServiceAnswer CouplerServices::serialStationNumberFromMemory(int32_t& number) {
    QZcomOCX* control = varnak().VarnakComOCX;
    if (!control) return failedWith(kNoRegisterDeviceResult);
    std::array<int32_t, 2> words{};
    const int32_t r = control->QZxDbgAdrReadReq(kSerialNumberStation, kSerialNumberSegment,
                                                kSerialNumberAddress, 2, words);
    if (r != 0) return failedWith(r);
    const std::optional<int32_t> value = joinWords(words[0], words[1]);
    if (!value) return failedWith(kServiceValueTooLarge);
    number = *value;
    return okAnswer();
}

ServiceAnswer CouplerServices::debug(int32_t mode, int32_t address, int32_t segment,
                                     std::span<int32_t> data) {
    const bool reading = mode == 0;
    // The mode stands in the high byte of the 16-bit command word.
    const int32_t command =
        static_cast<int32_t>((static_cast<uint32_t>(mode) << 8 | kCmdDebug) & 0xFFFF);
    std::vector<int32_t> block{command, reading ? kDebugReadWords : 1, address, segment};
    if (!reading) block.push_back(data.empty() ? 0 : data[0]);
    EchoQuery query(std::move(block), kDebugAnswerRegisters);
    ServiceAnswer answer = query.run(&wait_);
    if (answer.failed()) return answer;
    const int32_t count = query.reg(1);
    if (count > 0 && query.reg(2) == 0) {
        // Registers past the read answer give 0; the caller's array bounds the copy.
        const size_t words =
            std::min({static_cast<size_t>(count), data.size(),
                      static_cast<size_t>(kRegistersPerTable - kDebugDataRegister)});
        for (size_t i = 0; i < words; ++i)
            data[i] = query.reg(kDebugDataRegister + static_cast<int32_t>(i));
    }
    return answer;
}

ServiceAnswer CouplerServices::cycleTimeEvaluation(bool active) {
    EchoQuery query({kCmdCycleTimeEvaluation, 1, active ? 1 : 0}, 3);
    return query.run(&wait_);
}

ServiceAnswer CouplerServices::dipSwitchValue(int32_t& value) {
    return valueQuery(kCmdDipSwitch, 4, [&](const EchoQuery& q) {
        if (!q.hasValue()) return noValue();
        value = q.reg(3);
        return okAnswer();
    });
}

ServiceAnswer CouplerServices::macId(int32_t& company, int32_t& mac) {
    return valueQuery(kCmdMacId, 6, [&](const EchoQuery& q) {
        if (q.reg(2) != 0 || !q.hasValue()) return noValue();
        mac = (q.reg(4) & 0xFF) * 65536 + q.reg(3);
        company = q.reg(5) * 256 + (q.reg(4) >> 8);
        return okAnswer();
    });
}

bool CouplerServices::fCouplerFktStationNummer(int32_t& lStationNr) {
    const ServiceAnswer answer = stationNumber(lStationNr);
    if (answer.failed()) lStationNr = 0;
    return echoed(answer);
}

bool CouplerServices::fCouplerSetSerialStationNummer(int32_t lStationNr) {
    return echoed(setStationNumber(lStationNr));
}

bool CouplerServices::NewVersionfCouplerGetSerialStationNummer(int32_t& lStationNr) {
    return echoed(serialStationNumber(lStationNr));
}

bool CouplerServices::fCouplerGetSerialStationNummer(int32_t& lStationNr) {
    return echoed(serialStationNumberFromMemory(lStationNr));
}

bool CouplerServices::fCouplerFktDebug(int32_t lMode, int32_t lAdress, int32_t lSegment,
                                       std::span<int32_t> lData) {
    if (echoed(debug(lMode, lAdress, lSegment, lData))) return true;
    varnak().ui->messageBox(kDebugFailedText, vbOKOnly, "");
    return false;
}

bool CouplerServices::fCouplerCycleTimeEvaluation(bool bActive) {
    return echoed(cycleTimeEvaluation(bActive));
}

bool CouplerServices::fCouplerFktDipSwitchValue(int32_t& lDipValue) {
    const ServiceAnswer answer = dipSwitchValue(lDipValue);
    if (answer.failed()) lDipValue = 0;
    return echoed(answer);
}

bool CouplerServices::fCouplerGetMacId(int32_t& lCompanyMacId, int32_t& lMacId) {
    return echoed(macId(lCompanyMacId, lMacId));
}

int32_t CouplerServices::fCouplerFirmwareReq(int32_t& lFirmware, std::string& szFirmware) {
    AppContext& context = varnak();
    std::array<int32_t, 1> value{};
    const int32_t r = context.VarnakComOCX ? context.VarnakComOCX->QZxRegSyncReadReq(
                                                 0, kGeneralSettingsTable, kFirmwareVersionRegister,
                                                 1, context.MultiPointAdr, value)
                                           : kNoRegisterDeviceResult;
    if (r != 0) {
        lFirmware = 0;
        szFirmware = "Firmware: 0x????\r\n\r\n";
        return 0;
    }
    lFirmware = value[0];
    char text[32];
    std::snprintf(text, sizeof text, "Firmware: 0x%04X\r\n\r\n",
                  static_cast<unsigned>(value[0] & 0xFFFF));
    szFirmware = text;
    return 0;
}

std::string CouplerServices::fCouplerFktQZ5xGetBaudrate(int32_t lBaudrate) {
    if (lBaudrate < 0 || lBaudrate >= kBaudCodeCount) return "";
    const int32_t base = isQZ5100Coupler() ? kQZ5100BaudCodeBase : 0;
    auto table = scratchTable(kFieldbusSettingsTable);
    if (table->ConfUpload(base, kBaudCodeCount) != 0) return "";
    return fieldbusBaudrateText(table->ConfRegisterValue(base + lBaudrate));
}

std::string CouplerServices::GetHumanMacIdString(int32_t lCompMacId, int32_t lMacId) {
    auto byteOf = [](int32_t value, int shift) {
        return static_cast<unsigned>(value >> shift) & 0xFF;
    };
    char text[24];
    std::snprintf(text, sizeof text, "%02X-%02X-%02X-%02X-%02X-%02X", byteOf(lCompMacId, 16),
                  byteOf(lCompMacId, 8), byteOf(lCompMacId, 0), byteOf(lMacId, 16),
                  byteOf(lMacId, 8), byteOf(lMacId, 0));
    return text;
}

CouplerServices& VarnakCouplerServices() {
    static CouplerServices services;
    return services;
}

std::string fieldbusBaudrateText(int32_t code) {
    static constexpr std::array<const char*, 9> kTexts{"1000", "800", "500", "250", "125",
                                                       "100",  "50",  "20",  "10"};
    if (code < 0 || code >= static_cast<int32_t>(kTexts.size())) return "";
    return kTexts[static_cast<size_t>(code)];
}

}  // namespace varnak
