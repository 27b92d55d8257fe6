#pragma once
// The coupler's services without a window: queries and commands through the coupler's
// command table 99, the firmware version, the fieldbus baud rate and the MAC id text. The
// rail view, the controller dialog, the developer tools and the Ethernet coupler dialog call
// the program's one instance (VarnakCouplerServices) without showing the coupler services
// dialog.
//
// A table-99 query writes its command block through a scratch register table and reads the
// answer back until register 0 echoes the command: the echo must come within three reads
// (a fourth read is still made before the query gives up). Every member works on the
// current context: its station address, its register device and its control.
#include <cstdint>
#include <functional>
#include <span>
#include <string>

namespace varnak {

// What a service got from the coupler.
enum class ServiceOutcome {
    Ok,       // the coupler answered: a value, or the echo of a command
    NoValue,  // the coupler echoed the query but has no value to give
    Failed,   // a request failed, or no echo came within three reads
};

// The result of a failed step when no echo came.
inline constexpr int32_t kServiceNoEcho = -1;
// The result of a value whose high word does not fit a signed 32-bit number.
inline constexpr int32_t kServiceValueTooLarge = -3;

struct [[nodiscard]] ServiceAnswer {
    ServiceOutcome outcome = ServiceOutcome::Failed;
    // 0, or the failed step's code: the control's result code or kServiceNoEcho.
    int32_t code = 0;

    bool ok() const { return outcome == ServiceOutcome::Ok; }
    bool failed() const { return outcome == ServiceOutcome::Failed; }
};

class CouplerServices {
  public:
    // Lets window events run for the given seconds (the program's timed wait).
    using Wait = std::function<void(float seconds)>;

    CouplerServices();
    explicit CouplerServices(Wait wait);

    // ---- Answers that tell a value from its absence ----------------------------------
    // The station number (command 0x00FF).
    ServiceAnswer stationNumber(int32_t& number);
    // Sets the station number (low and high word of the value); the echo only.
    ServiceAnswer setStationNumber(int32_t number);
    // The serial station number of the newer firmware (command 0x01FF, two words); a value
    // that does not fit a signed 32-bit number fails with kServiceValueTooLarge.
    ServiceAnswer serialStationNumber(int32_t& number);
    // The serial station number from the coupler's memory (segment 2, address 0x7FF4, two
    // words) at station 0, as the older firmware keeps it.
    ServiceAnswer serialStationNumberFromMemory(int32_t& number);
    // Debug access (mode 0 reads 18 words into data, another mode writes data[0]); one
    // second's wait before every read. No message.
    ServiceAnswer debug(int32_t mode, int32_t address, int32_t segment, std::span<int32_t> data);
    // Switches the controller's cycle-time evaluation on or off; one second's wait before
    // every read.
    ServiceAnswer cycleTimeEvaluation(bool active);
    // The DIP switches (bit n - 1 = switch n).
    ServiceAnswer dipSwitchValue(int32_t& value);
    // The MAC id as its first three bytes (company) and its last three.
    ServiceAnswer macId(int32_t& company, int32_t& mac);

    // ---- The members by their names, with their Boolean contract ---------------------
    // True once the coupler echoed, also when it gave no value: the output then stays as
    // passed in. False when a request failed or no echo came.
    [[nodiscard]] bool fCouplerFktStationNummer(int32_t& lStationNr);  // False also sets 0
    [[nodiscard]] bool fCouplerSetSerialStationNummer(int32_t lStationNr);
    [[nodiscard]] bool NewVersionfCouplerGetSerialStationNummer(int32_t& lStationNr);
    [[nodiscard]] bool fCouplerGetSerialStationNummer(int32_t& lStationNr);
    // False also shows "Fehler bei Debug Funktion".
    [[nodiscard]] bool fCouplerFktDebug(int32_t lMode, int32_t lAdress, int32_t lSegment,
                                        std::span<int32_t> lData);
    [[nodiscard]] bool fCouplerCycleTimeEvaluation(bool bActive);
    [[nodiscard]] bool fCouplerFktDipSwitchValue(int32_t& lDipValue);  // False also sets 0
    [[nodiscard]] bool fCouplerGetMacId(int32_t& lCompanyMacId, int32_t& lMacId);

    // Table 0 register 255: "Firmware: 0x0B02" and two line breaks, or "Firmware: 0x????"
    // and 0 when it cannot be read. Always 0.
    int32_t fCouplerFirmwareReq(int32_t& lFirmware, std::string& szFirmware);
    // The fieldbus baud rate in kbit/s of DIP setting lBaudrate (0-3) from table 100 (from
    // register 34 on for a QZ5100 coupler, else from 0); "" when it cannot be read or the
    // code is unknown.
    std::string fCouplerFktQZ5xGetBaudrate(int32_t lBaudrate);
    // Six bytes "00-01-05-1A-2B-3C": bits 23-0 of lCompMacId, then of lMacId.
    static std::string GetHumanMacIdString(int32_t lCompMacId, int32_t lMacId);

  private:
    Wait wait_;
};

// The program's one instance, created on first use.
CouplerServices& VarnakCouplerServices();

// The text of a fieldbus baud-rate code: "1000" for 0 ... "10" for 8, "" for others.
std::string fieldbusBaudrateText(int32_t code);

}  // namespace varnak
