#pragma once
// A simulated coupler station at the far end of a pseudo-terminal: a coupler at rail
// position 0 and terminals 1..n, each with register tables, answering register telegrams
// the way the devices do. It runs on a thread of its own; tests point the control's port
// at devicePath() and may inject faults into its replies or pace them at wire speed.
#include <termios.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "tests/support/pty.h"
#include "tests/support/sim_bootloader.h"
#include "tests/support/station_command_table.h"

namespace varnak::test {

// How the station spoils one reply; the default sends it as it is.
struct ReplyFault {
    // When a held reply goes out: with the next request's reply, before or after it (a
    // reply the control has given up on, as a slow device sends it).
    enum class Hold { No, UntilNextRequest, AfterNextReply };

    bool silent = false;                 // no reply at all
    bool requestLost = false;            // the request never reached the station
    int cutAfter = -1;                   // send only this many bytes, then stop
    bool wrongStart = false;             // 02 FE instead of 02 FD
    bool wrongChecksum = false;          // last byte off by one
    int extraRegisters = 0;              // a read reply carries count + n values, well framed
    std::string garbage;                 // bytes sent before the reply
    std::chrono::milliseconds delay{0};  // before the first byte
    std::vector<size_t> chunks;          // piece sizes, sent chunkGap apart
    std::chrono::milliseconds chunkGap{0};
    Hold hold = Hold::No;
    int copies = 1;  // the reply sent this many times in a row
    // Free-form change of the reply bytes, applied after the fields above.
    std::function<std::string(const std::string& request, std::string reply)> mutate;

    static ReplyFault none() { return {}; }
    static ReplyFault noReply() {
        return with([](ReplyFault& f) { f.silent = true; });
    }
    static ReplyFault lostRequest() {
        return with([](ReplyFault& f) { f.requestLost = true; });
    }
    static ReplyFault cut(int bytes) {
        return with([=](ReplyFault& f) { f.cutAfter = bytes; });
    }
    // A reply that stops after its start pattern fails with ComErrTimeout1 like silence, but
    // the gap between bytes ends the wait, not the reply time-out.
    static ReplyFault brokenOff() { return cut(2); }
    static ReplyFault badStart() {
        return with([](ReplyFault& f) { f.wrongStart = true; });
    }
    static ReplyFault badChecksum() {
        return with([](ReplyFault& f) { f.wrongChecksum = true; });
    }
    static ReplyFault extraValues(int n) {
        return with([=](ReplyFault& f) { f.extraRegisters = n; });
    }
    static ReplyFault garbageFirst(std::string bytes) {
        return with([&](ReplyFault& f) { f.garbage = std::move(bytes); });
    }
    static ReplyFault delayed(std::chrono::milliseconds d) {
        return with([=](ReplyFault& f) { f.delay = d; });
    }
    static ReplyFault late() {
        return with([](ReplyFault& f) { f.hold = Hold::UntilNextRequest; });
    }
    static ReplyFault outOfOrder() {
        return with([](ReplyFault& f) { f.hold = Hold::AfterNextReply; });
    }
    static ReplyFault twice() {
        return with([](ReplyFault& f) { f.copies = 2; });
    }
    static ReplyFault inChunks(std::vector<size_t> sizes, std::chrono::milliseconds gap) {
        return with([&](ReplyFault& f) {
            f.chunks = std::move(sizes);
            f.chunkGap = gap;
        });
    }

  private:
    template <typename Set>
    static ReplyFault with(Set set) {
        ReplyFault f;
        set(f);
        return f;
    }
};

// Sound reply frames as a station sends them, for replies to other requests.
std::string registerReplyFrame(uint8_t station, uint8_t rail, uint8_t table, uint8_t first,
                               const std::vector<uint16_t>& values);
std::string processDataReplyFrame(uint8_t status, const std::vector<uint16_t>& words,
                                  uint8_t ident = 0);

class SimStation {
  public:
    using Clock = std::chrono::steady_clock;

    // terminals: number of terminals behind the coupler (positions 1..terminals).
    explicit SimStation(uint8_t address = 1, int terminals = 0);
    ~SimStation();
    SimStation(const SimStation&) = delete;
    SimStation& operator=(const SimStation&) = delete;

    const std::string& devicePath() const { return pty_.slavePath(); }
    uint8_t address() const { return address_; }
    // Baud rate the program under test set on its end of the line.
    int lineBaud() const { return pty_.baud(); }
    // Termios settings of the line as the program under test left them.
    int lineFd() const { return pty_.slave(); }

    // Tables start zero-filled; a position beyond the terminals is refused anyway.
    void addTable(int railPos, int table, size_t registers = 256);
    // The station then lacks the table: reads of it are refused, writes not applied.
    void removeTable(int railPos, int table);
    void setRegister(int railPos, int table, int reg, uint16_t value);
    uint16_t reg(int railPos, int table, int reg) const;
    bool hasTable(int railPos, int table) const;
    // Runs (station lock held) before a read of a register table is answered, with the
    // table's registers: a test's pattern may change them there.
    using ReadHook = std::function<void(int railPos, int table, std::vector<uint16_t>& registers)>;
    void setReadHook(ReadHook hook);

    // Terminal channels take writes as the terminals do (station_terminal_rules.h): user
    // registers only behind the code word. Off, every acknowledged write is applied.
    void setTerminalCodeWord(bool enforced);

    // What a register write's acknowledgement or a read's refusal carries: devices differ.
    enum class ReplyShape {
        Count,   // the request's count, no values
        Values,  // the count and values: a write's echoed, a refusal's zero
        Empty,   // no values and a count of 0
    };
    using WriteReply = ReplyShape;
    // Writes are acknowledged with the count by default.
    void setWriteReplies(ReplyShape shape);
    // Reads of a table, position or range the station lacks are refused (the table byte's
    // write flag set), by default with no values and a count of 0.
    void setRefusals(ReplyShape shape);

    // Faults for the coming replies, one per reply in order; afterwards replies are sound.
    void queueFault(ReplyFault fault);
    // Picks a reply's fault by its request, ahead of the queue (whose faults then wait for
    // the next replies); nullopt leaves the reply to the queue. Runs with the station's lock
    // held: it must not call the station.
    using FaultChooser = std::function<std::optional<ReplyFault>(const std::string& request)>;
    void setFaultChooser(FaultChooser choose);
    // How the station keeps to the wire time of the line's baud rate (11 bits per byte).
    // Paced, a request is complete only after its wire time.
    enum class Pacing {
        None,
        // Each reply byte goes out at its own wire time: a reply's head comes before its
        // tail. A thread woken late leaves a gap between two bytes, as no UART does.
        ByteByByte,
        // Each reply (each piece of one sent in chunks) goes out whole when its last byte's
        // wire time is over: the pace of the wire, with no gap a busy machine could open.
        WholeReplies,
    };
    void setPacing(Pacing pacing);

    // Process images: the inputs and status byte the station answers with, the outputs the
    // last process-data telegram brought.
    void setInputs(std::vector<uint16_t> words, uint8_t status = 0);
    std::vector<uint16_t> outputs() const;

    // The coupler behind the command table (rail position 0, table 99). Writes to the
    // coupler's other tables are acknowledged but not applied while it is write-protected.
    CouplerState coupler() const;
    void changeCoupler(const std::function<void(CouplerState&)>& change);
    void setCommandDelay(uint16_t command, std::chrono::milliseconds delay);
    // Echo counts, queries without a value and the like of the command table.
    void configureCommands(const std::function<void(StationCommandTable&)>& change);
    // How long the coupler answers nothing after a software reset (1 s unless set).
    void setRestartSilence(std::chrono::milliseconds silence);
    // Changes an answer after its command was processed.
    void setCommandHook(std::function<void(std::vector<uint16_t>& table, uint16_t command)> hook);
    // Runs, with the station's lock held, as the station answers a register request of a
    // table other than the command table (before the values are read or written) and after
    // a read of the command table (once it took up a block): the coupler's own doings that
    // show in its tables. tableOf answers a table's registers, null when absent.
    using TableOf = std::function<std::vector<uint16_t>*(int railPos, int table)>;
    using RequestHook = std::function<void(int railPos, int table, bool write,
                                           const CouplerState& coupler, const TableOf& tableOf)>;
    void setRequestHook(RequestHook hook);
    // Answers a request in the station's place when it returns a reply (an empty one for
    // none): other stations on the line, a process image that echoes. Runs on the station's
    // thread without its lock, before the station looks at the request; faults still apply.
    using Answerer = std::function<std::optional<std::string>(const std::string& request)>;
    void setAnswerer(Answerer answerer);
    // Debug memory at byte addresses: word i of words at address + 2i.
    void setMemory(int segment, int address, const std::vector<uint16_t>& words);
    uint16_t memory(int segment, int address) const;

    // The boot loader: entered by the enter-bootloader block (update road) or, for a
    // coupler in its boot ROM, from the start (load road).
    void configureBootLoader(const std::function<void(SimBootLoader&)>& change);
    SimBootLoader bootLoader() const;
    void startInBootRom();
    // Waits until the boot loader got the whole dialogue; false on time-out.
    bool waitForBootLoaderEnd(std::chrono::milliseconds timeout) const;
    bool inBootLoader() const;
    // Line settings the program under test had set when the boot ROM got its first byte.
    int bootRomBaud() const;
    tcflag_t bootRomCflag() const;

    // Complete requests received so far (also those not answered or lost), as raw bytes.
    std::vector<std::string> requests() const;
    void clearRequests();
    // Waits until n requests arrived; false on time-out.
    bool waitForRequests(size_t n, std::chrono::milliseconds timeout) const;
    // When the station last put a reply byte on the line.
    Clock::time_point lastReplyByte() const;
    // Every request with the time it was complete here and the time just before its
    // reply's last byte was handed to the line (the epoch when it got none).
    struct Exchange {
        std::string request;
        Clock::time_point received;
        Clock::time_point replied;
        std::string reply;   // what the station answered, before a fault spoilt it
        bool sound = false;  // the reply went out whole and unspoilt
    };
    std::vector<Exchange> exchanges() const;

  private:
    using TableKey = std::pair<int, int>;
    struct HeldReply {
        std::string request;
        std::string reply;
        ReplyFault fault;
    };

    void run();
    void feedBootLoader(const char* bytes, size_t n, Clock::time_point arrived);
    void sendOutputs(const std::vector<SimBootLoader::Output>& outputs);
    std::string processData(const std::string& request);
    void handle(const std::string& request, Clock::time_point firstByte);
    std::string answer(const std::string& request);
    // With the mutex held.
    std::string refusal(uint8_t count, uint8_t rail, uint8_t tableByte, uint8_t first) const;
    std::string writeReply(uint8_t count, uint8_t rail, uint8_t tableByte, uint8_t first,
                           const std::vector<uint16_t>& written) const;
    void restart();  // with the mutex held
    // With the mutex held.
    void runRequestHook(int railPos, int table, bool write);
    void send(const std::string& request, std::string reply, ReplyFault fault,
              Clock::time_point from);
    void sendHeld(std::optional<HeldReply>& held, ReplyFault::Hold when);
    bool sleepUntil(Clock::time_point t);
    bool writeBytes(const std::string& bytes);
    Clock::duration byteTime() const;
    // A byte's wire time under the pacing, zero for none.
    Clock::duration pacedByteTime(Pacing pacing) const;
    Pacing pacing() const;

    Pty pty_;
    uint8_t address_;
    int terminals_;
    int stopPipe_[2] = {-1, -1};
    mutable std::mutex mutex_;
    mutable std::condition_variable changed_;
    std::map<TableKey, std::vector<uint16_t>> tables_;
    std::deque<ReplyFault> faults_;
    FaultChooser chooser_;
    std::optional<HeldReply> held_;  // the station thread's own
    RequestHook requestHook_;
    Answerer answerer_;
    std::vector<std::string> requests_;
    std::vector<Exchange> exchanges_;
    StationCommandTable commands_;
    std::vector<uint16_t> inputs_;
    uint8_t status_ = 0;
    std::vector<uint16_t> outputs_;
    SimBootLoader boot_;
    bool bootMode_ = false;
    bool enterBoot_ = false;
    int bootRomBaud_ = 0;
    tcflag_t bootRomCflag_ = 0;
    Clock::time_point wireFree_{};
    Pacing pacing_ = Pacing::None;
    std::chrono::milliseconds restartSilence_{1000};
    Clock::time_point silentUntil_{};
    bool codeWord_ = false;
    ReplyShape writeReplies_ = ReplyShape::Count;
    ReplyShape refusals_ = ReplyShape::Empty;
    ReadHook readHook_;
    Clock::time_point lastReplyByte_{};
    Clock::time_point lastReplyHandover_{};
    std::thread thread_;
};

}  // namespace varnak::test
