#pragma once
// The boot loader of a simulated coupler for both firmware roads: it answers the host's
// byte dialogue and checks every byte it gets (leading bytes, addresses, groups, skip
// window, directory and trailer). Any of its replies can be replaced to make a step fail.
#include <chrono>
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace varnak::test {

enum class BootStep {
    UpdateHello,  // update road, types 2 and 5: "#" and two identification bytes
    SyncEnd,      // update road: "5", or "&" for the 128-byte-sector chip of types 3 and 4
    RomHello,     // load road: 0xB5 on the first 0x00
    LoaderReady,  // load road: 0x12 and four bytes after the loader program
    BankReply,    // load road: "#" and two chip identification bytes
    LoaderDone,   // load road: "5"
    SectorAck,    // "$5" after a sector (the n-th received, see replace)
};

class SimBootLoader {
  public:
    using Clock = std::chrono::steady_clock;
    struct Output {
        std::string bytes;
        std::chrono::milliseconds delay{0};
    };

    // The chip: the type the firmware names (0 to 5), whether types 3 and 4 find the chip
    // with 128-byte sectors, and the flash start address the firmware names.
    void configure(uint8_t type, bool smallSectorChip, uint32_t start);
    // "w" bytes the update road's loader sends (each to be echoed) before its ending byte.
    void setSyncWaits(int n) { syncWaits_ = n; }
    // The reply of a step; for SectorAck that of the sector-th sector received (from 0).
    // An empty text keeps the loader silent there.
    void replace(BootStep step, std::string reply, int sector = 0);

    // The coupler leaves its firmware (update road) or sits in its boot ROM (load road).
    std::vector<Output> enterUpdateRoad();
    void enterBootRom();
    std::vector<Output> feed(uint8_t byte);

    // Results of the dialogue.
    const std::string& error() const { return error_; }
    bool finished() const { return finished_; }
    // Sector bytes by flash address as received, the directory sector included.
    const std::map<uint32_t, std::vector<uint8_t>>& sectors() const { return sectors_; }
    const std::vector<uint8_t>& header() const { return header_; }
    const std::vector<uint8_t>& program() const { return program_; }
    uint8_t typeInUse() const { return type_; }

  private:
    enum class State {
        Idle,
        SyncZero,
        SyncEcho,
        RomZero,
        Header,
        Program,
        Bank,
        ChipAnswer,
        SectorStart,
        Address,
        Data,
        Trailer,
        Done,
    };

    std::string reply(BootStep step, const std::string& normal, int sector = 0) const;
    std::vector<Output> syncStep();
    std::vector<Output> loaderReady();
    size_t programLength() const;
    std::vector<Output> sectorComplete();
    void fail(const std::string& what);
    bool leadingZero() const;
    uint32_t sectorSize() const;
    uint32_t flashSize() const;
    bool checkDirectory(const std::vector<uint8_t>& d);

    uint8_t fileType_ = 0;
    uint8_t type_ = 0;
    bool smallSectorChip_ = false;
    uint32_t start_ = 0;
    int syncWaits_ = 0;
    int waitsSent_ = 0;
    bool loadRoad_ = false;
    std::map<std::pair<BootStep, int>, std::string> replies_;

    State state_ = State::Idle;
    std::string collected_;
    std::vector<uint8_t> header_;
    std::vector<uint8_t> program_;
    uint32_t address_ = 0;
    bool haveAddress_ = false;
    uint32_t lastAddress_ = 0;
    std::vector<uint8_t> data_;
    int sectorIndex_ = 0;
    std::map<uint32_t, std::vector<uint8_t>> sectors_;
    std::string error_;
    int failures_ = 0;
    int failuresAtSector_ = 0;
    bool finished_ = false;
};

}  // namespace varnak::test
