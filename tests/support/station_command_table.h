#pragma once
// The coupler's command table of a simulated station: a block written from register 0 is
// taken up after a processing time; until then register 0 reads as busy, afterwards it
// echoes the command and the following registers carry the answer.
#include <array>
#include <chrono>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <utility>
#include <vector>

namespace varnak::test {

// What the coupler knows and what it did.
struct CouplerState {
    bool writeProtected = false;
    int softwareResets = 0;
    int terminalBusResets = 0;
    int factorySettings = 0;
    bool cycleTimeEvaluation = false;
    uint16_t checksum = 0x1234;
    uint32_t stationNumber = 1;
    uint32_t serialStationNumber = 0x00012345;
    uint16_t dipSwitch = 0;
    std::array<uint16_t, 3> macId{0x2B3C, 0x051A, 0x0001};  // registers 3 to 5: 00-01-05-1A-2B-3C
    // Whether the coupler comes back write-protected after a software reset.
    bool restartsProtected = true;
};

class StationCommandTable {
  public:
    using Clock = std::chrono::steady_clock;
    static constexpr uint16_t kBusy = 0x0000;
    static constexpr size_t kRegisters = 32;

    StationCommandTable();

    // A write of values from register first; returns true when the block puts the coupler
    // into its boot loader.
    bool write(int first, const std::vector<uint16_t>& values, Clock::time_point now);
    // Registers as a read at now sees them.
    std::vector<uint16_t> read(int first, int count, Clock::time_point now);
    std::vector<uint16_t>& registers() { return regs_; }
    const std::vector<uint16_t>& registers() const { return regs_; }

    CouplerState state;
    // Debug memory by segment and byte address; a word occupies two addresses.
    std::map<std::pair<int, int>, uint16_t> memory;
    // How long a command takes before it is answered.
    std::map<uint16_t, std::chrono::milliseconds> delays;
    // Commands answered on the n-th read of register 0 after their block, whatever the
    // time; 0: never answered.
    std::map<uint16_t, int> echoOnRead;
    // Queries echoed without a value (register 1 = 0; for the MAC id register 2 = 1).
    std::set<uint16_t> noValue;
    // Changes the answer after the command was processed (table registers, command word).
    std::function<void(std::vector<uint16_t>&, uint16_t)> hook;

  private:
    void process(uint16_t command);

    struct Pending {
        uint16_t command;
        Clock::time_point due;
        int reads = 0;  // reads of register 0 since the block
    };
    bool due(Pending& pending, int first, Clock::time_point now);

    std::vector<uint16_t> regs_;
    std::optional<Pending> pending_;
};

}  // namespace varnak::test
