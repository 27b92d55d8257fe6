#include "tests/support/sim_station.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

#include "tests/support/station_coupler_rules.h"
#include "tests/support/station_terminal_rules.h"

namespace varnak::test {
namespace {

constexpr size_t kMinTelegram = 12;
constexpr uint8_t kWriteFlag = 0x80;
constexpr int kCommandTable = 99;

uint16_t byteSum(const std::string& bytes, size_t n) {
    uint16_t sum = 0;
    for (size_t i = 0; i < n; ++i)
        sum = static_cast<uint16_t>(sum + static_cast<uint8_t>(bytes[i]));
    return sum;
}

void appendWord(std::string& out, uint16_t word) {
    out.push_back(static_cast<char>(word & 0xFF));
    out.push_back(static_cast<char>(word >> 8));
}

uint8_t at(const std::string& s, size_t i) {
    return static_cast<uint8_t>(s[i]);
}

// Reply frame: 02 FD L 00 station count 52 rail table first values... sum.
std::string replyFrame(uint8_t station, uint8_t count, uint8_t rail, uint8_t table, uint8_t first,
                       const std::vector<uint16_t>& values) {
    std::string r;
    r += '\x02';
    r += '\xFD';
    r += static_cast<char>(kMinTelegram + 2 * values.size());
    r += '\0';
    r += static_cast<char>(station);
    r += static_cast<char>(count);
    r += 'R';
    r += static_cast<char>(rail);
    r += static_cast<char>(table);
    r += static_cast<char>(first);
    for (uint16_t v : values) appendWord(r, v);
    appendWord(r, byteSum(r, r.size()));
    return r;
}

}  // namespace

std::string registerReplyFrame(uint8_t station, uint8_t rail, uint8_t table, uint8_t first,
                               const std::vector<uint16_t>& values) {
    return replyFrame(station, static_cast<uint8_t>(values.size()), rail, table, first, values);
}

// 70 m ident 00 status words... 8-bit sum; the ident travels back as it came.
std::string processDataReplyFrame(uint8_t status, const std::vector<uint16_t>& words,
                                  uint8_t ident) {
    std::string reply;
    reply += 'p';
    reply += static_cast<char>(words.size());
    reply += static_cast<char>(ident);
    reply += '\0';
    reply += static_cast<char>(status);
    for (uint16_t v : words) appendWord(reply, v);
    uint8_t sum = 0;
    for (char c : reply) sum = static_cast<uint8_t>(sum + static_cast<uint8_t>(c));
    reply += static_cast<char>(sum);
    return reply;
}

SimStation::SimStation(uint8_t address, int terminals) : address_(address), terminals_(terminals) {
    if (pipe2(stopPipe_, O_CLOEXEC) != 0) throw std::runtime_error("pipe failed");
    thread_ = std::thread([this] { run(); });
}

SimStation::~SimStation() {
    const char stop = 1;
    [[maybe_unused]] ssize_t n = ::write(stopPipe_[1], &stop, 1);
    thread_.join();
    ::close(stopPipe_[0]);
    ::close(stopPipe_[1]);
}

void SimStation::addTable(int railPos, int table, size_t registers) {
    std::lock_guard lock(mutex_);
    tables_[{railPos, table}].assign(registers, 0);
}

void SimStation::removeTable(int railPos, int table) {
    std::lock_guard lock(mutex_);
    tables_.erase({railPos, table});
}

void SimStation::setRegister(int railPos, int table, int reg, uint16_t value) {
    std::lock_guard lock(mutex_);
    if (railPos == 0 && table == kCommandTable) {
        commands_.registers().at(static_cast<size_t>(reg)) = value;
        return;
    }
    tables_.at({railPos, table}).at(static_cast<size_t>(reg)) = value;
}

uint16_t SimStation::reg(int railPos, int table, int reg) const {
    std::lock_guard lock(mutex_);
    if (railPos == 0 && table == kCommandTable)
        return commands_.registers().at(static_cast<size_t>(reg));
    return tables_.at({railPos, table}).at(static_cast<size_t>(reg));
}

bool SimStation::hasTable(int railPos, int table) const {
    std::lock_guard lock(mutex_);
    return tables_.count({railPos, table}) != 0;
}

void SimStation::setReadHook(ReadHook hook) {
    std::lock_guard lock(mutex_);
    readHook_ = std::move(hook);
}

void SimStation::queueFault(ReplyFault fault) {
    std::lock_guard lock(mutex_);
    faults_.push_back(std::move(fault));
}

void SimStation::setFaultChooser(FaultChooser choose) {
    std::lock_guard lock(mutex_);
    chooser_ = std::move(choose);
}

void SimStation::setPacing(Pacing pacing) {
    std::lock_guard lock(mutex_);
    pacing_ = pacing;
}

SimStation::Pacing SimStation::pacing() const {
    std::lock_guard lock(mutex_);
    return pacing_;
}

void SimStation::setTerminalCodeWord(bool enforced) {
    std::lock_guard lock(mutex_);
    codeWord_ = enforced;
}

void SimStation::setWriteReplies(ReplyShape shape) {
    std::lock_guard lock(mutex_);
    writeReplies_ = shape;
}

void SimStation::setRefusals(ReplyShape shape) {
    std::lock_guard lock(mutex_);
    refusals_ = shape;
}

std::vector<std::string> SimStation::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void SimStation::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
    exchanges_.clear();
}

bool SimStation::waitForRequests(size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= n; });
}

SimStation::Clock::time_point SimStation::lastReplyByte() const {
    std::lock_guard lock(mutex_);
    return lastReplyByte_;
}

void SimStation::setInputs(std::vector<uint16_t> words, uint8_t status) {
    std::lock_guard lock(mutex_);
    inputs_ = std::move(words);
    status_ = status;
}

std::vector<uint16_t> SimStation::outputs() const {
    std::lock_guard lock(mutex_);
    return outputs_;
}

CouplerState SimStation::coupler() const {
    std::lock_guard lock(mutex_);
    return commands_.state;
}

void SimStation::changeCoupler(const std::function<void(CouplerState&)>& change) {
    std::lock_guard lock(mutex_);
    change(commands_.state);
}

void SimStation::setCommandDelay(uint16_t command, std::chrono::milliseconds delay) {
    std::lock_guard lock(mutex_);
    commands_.delays[command] = delay;
}

void SimStation::configureCommands(const std::function<void(StationCommandTable&)>& change) {
    std::lock_guard lock(mutex_);
    change(commands_);
}

void SimStation::setCommandHook(std::function<void(std::vector<uint16_t>&, uint16_t)> hook) {
    std::lock_guard lock(mutex_);
    commands_.hook = std::move(hook);
}

void SimStation::setAnswerer(Answerer answerer) {
    std::lock_guard lock(mutex_);
    answerer_ = std::move(answerer);
}

void SimStation::setRequestHook(RequestHook hook) {
    std::lock_guard lock(mutex_);
    requestHook_ = std::move(hook);
}

void SimStation::setMemory(int segment, int address, const std::vector<uint16_t>& words) {
    std::lock_guard lock(mutex_);
    for (size_t i = 0; i < words.size(); ++i)
        commands_.memory[{segment, address + 2 * static_cast<int>(i)}] = words[i];
}

uint16_t SimStation::memory(int segment, int address) const {
    std::lock_guard lock(mutex_);
    const auto found = commands_.memory.find({segment, address});
    return found == commands_.memory.end() ? 0 : found->second;
}

void SimStation::configureBootLoader(const std::function<void(SimBootLoader&)>& change) {
    std::lock_guard lock(mutex_);
    change(boot_);
}

SimBootLoader SimStation::bootLoader() const {
    std::lock_guard lock(mutex_);
    return boot_;
}

void SimStation::startInBootRom() {
    std::lock_guard lock(mutex_);
    boot_.enterBootRom();
    bootMode_ = true;
}

bool SimStation::waitForBootLoaderEnd(std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return boot_.finished(); });
}

bool SimStation::inBootLoader() const {
    std::lock_guard lock(mutex_);
    return bootMode_;
}

int SimStation::bootRomBaud() const {
    std::lock_guard lock(mutex_);
    return bootRomBaud_;
}

tcflag_t SimStation::bootRomCflag() const {
    std::lock_guard lock(mutex_);
    return bootRomCflag_;
}

std::vector<SimStation::Exchange> SimStation::exchanges() const {
    std::lock_guard lock(mutex_);
    return exchanges_;
}

SimStation::Clock::duration SimStation::pacedByteTime(Pacing pacing) const {
    return pacing == Pacing::None ? Clock::duration::zero() : byteTime();
}

SimStation::Clock::duration SimStation::byteTime() const {
    const int baud = pty_.baud();
    if (baud <= 0) return Clock::duration::zero();
    return std::chrono::duration_cast<Clock::duration>(
        std::chrono::nanoseconds(11'000'000'000LL / baud));
}

bool SimStation::sleepUntil(Clock::time_point t) {
    for (;;) {
        const auto left = t - Clock::now();
        if (left <= Clock::duration::zero()) return true;
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(left).count();
        timespec ts{static_cast<time_t>(ns / 1'000'000'000), static_cast<long>(ns % 1'000'000'000)};
        pollfd p{stopPipe_[0], POLLIN, 0};
        if (ppoll(&p, 1, &ts, nullptr) > 0) return false;  // stopping
    }
}

bool SimStation::writeBytes(const std::string& bytes) {
    {
        // No byte of these can reach the far end before this moment.
        std::lock_guard lock(mutex_);
        lastReplyHandover_ = Clock::now();
    }
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(pty_.master(), bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    std::lock_guard lock(mutex_);
    lastReplyByte_ = Clock::now();
    return true;
}

void SimStation::run() {
    std::string pending;
    Clock::time_point firstByte{};
    for (;;) {
        pollfd fds[2] = {{pty_.master(), POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
        if (poll(fds, 2, -1) < 0 && errno != EINTR) return;
        if (fds[1].revents) return;
        if (!(fds[0].revents & POLLIN)) continue;
        char buffer[1024];
        const ssize_t n = ::read(pty_.master(), buffer, sizeof buffer);
        if (n <= 0) continue;
        const auto arrived = Clock::now();
        bool boot;
        {
            std::lock_guard lock(mutex_);
            boot = bootMode_;
        }
        if (boot) {
            feedBootLoader(buffer, static_cast<size_t>(n), arrived);
            continue;
        }
        if (pending.empty()) firstByte = arrived;
        pending.append(buffer, static_cast<size_t>(n));

        // Register frames start with FD 02 and carry their length in byte 2, process-data
        // frames start with "P" and carry their word count in byte 1; anything else is noise.
        for (;;) {
            const size_t registerStart = pending.find("\xFD\x02", 0, 2);
            const size_t processStart = pending.find('P');
            const size_t start = std::min(registerStart, processStart);
            if (start == std::string::npos) {
                const bool keepLast = !pending.empty() && pending.back() == '\xFD';
                pending.erase(0, pending.size() - (keepLast ? 1 : 0));
                break;
            }
            pending.erase(0, start);
            if (pending.size() < 3) break;
            const bool process = pending[0] == 'P';
            const size_t length = process ? 2u * at(pending, 1) + 5 : at(pending, 2);
            if (!process && length < kMinTelegram) {
                pending.erase(0, 1);
                continue;
            }
            if (pending.size() < length) break;
            const std::string request = pending.substr(0, length);
            pending.erase(0, length);
            handle(request, firstByte);
            firstByte = Clock::now();

            bool enter;
            {
                std::lock_guard lock(mutex_);
                enter = enterBoot_;
                enterBoot_ = false;
            }
            if (enter) {
                std::vector<SimBootLoader::Output> outputs;
                {
                    std::lock_guard lock(mutex_);
                    bootMode_ = true;
                    outputs = boot_.enterUpdateRoad();
                }
                sendOutputs(outputs);
                feedBootLoader(pending.data(), pending.size(), Clock::now());
                pending.clear();
                break;
            }
        }
    }
}

void SimStation::feedBootLoader(const char* bytes, size_t n, Clock::time_point arrived) {
    const auto wire = pacedByteTime(pacing());
    for (size_t i = 0; i < n; ++i) {
        // A byte is complete at this end only after its wire time.
        wireFree_ = std::max(wireFree_, arrived) + wire;
        std::vector<SimBootLoader::Output> outputs;
        {
            std::lock_guard lock(mutex_);
            if (bootRomBaud_ == 0) {
                bootRomBaud_ = pty_.baud();
                termios t{};
                if (tcgetattr(pty_.slave(), &t) == 0) bootRomCflag_ = t.c_cflag;
            }
            outputs = boot_.feed(static_cast<uint8_t>(bytes[i]));
        }
        changed_.notify_all();
        if (outputs.empty()) continue;
        if (!sleepUntil(wireFree_)) return;
        sendOutputs(outputs);
    }
}

void SimStation::sendOutputs(const std::vector<SimBootLoader::Output>& outputs) {
    for (const auto& o : outputs) {
        if (o.bytes.empty()) continue;
        ReplyFault paced;
        paced.delay = o.delay;
        send({}, o.bytes, paced, Clock::now());
        wireFree_ = std::max(wireFree_, Clock::now());
    }
}

void SimStation::restart() {
    silentUntil_ = Clock::now() + restartSilence_;
    for (auto& [key, registers] : tables_)
        if (key.first == 0 && isClearedByRestart(key.second))
            std::fill(registers.begin(), registers.end(), 0);
    outputs_.clear();
}

void SimStation::setRestartSilence(std::chrono::milliseconds silence) {
    std::lock_guard lock(mutex_);
    restartSilence_ = silence;
}

void SimStation::handle(const std::string& request, Clock::time_point firstByte) {
    size_t index;
    bool restarting;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        Exchange exchange;
        exchange.request = request;
        exchange.received = Clock::now();
        exchanges_.push_back(std::move(exchange));
        index = exchanges_.size() - 1;
        restarting = Clock::now() < silentUntil_;
    }
    changed_.notify_all();
    if (restarting) return;
    const Pacing pacing = this->pacing();
    const auto wire = pacedByteTime(pacing);
    // The last request byte is on the wire only after the whole request's wire time.
    const auto ready = firstByte + static_cast<int64_t>(request.size()) * wire;
    if (!sleepUntil(ready)) return;

    Answerer answerer;
    {
        std::lock_guard lock(mutex_);
        if (!faults_.empty() && faults_.front().requestLost) {
            faults_.pop_front();
            return;
        }
        answerer = answerer_;
    }
    // A reply held back for this request goes out before its reply or after it.
    std::optional<HeldReply> held = std::exchange(held_, std::nullopt);
    sendHeld(held, ReplyFault::Hold::UntilNextRequest);
    std::optional<std::string> answered = answerer ? answerer(request) : std::nullopt;
    std::string reply = answered ? std::move(*answered) : answer(request);
    if (reply.empty()) {
        sendHeld(held, ReplyFault::Hold::AfterNextReply);
        return;
    }
    // A request the station does not answer leaves the queued faults for later replies.
    ReplyFault fault;
    {
        std::lock_guard lock(mutex_);
        if (auto chosen = chooser_ ? chooser_(request) : std::nullopt) {
            fault = std::move(*chosen);
        } else if (!faults_.empty()) {
            fault = std::move(faults_.front());
            faults_.pop_front();
        }
    }
    if (fault.extraRegisters != 0 && request[0] != 'P' && !(at(request, 8) & kWriteFlag)) {
        const int count = std::max(0, at(request, 5) + fault.extraRegisters);
        std::vector<uint16_t> values(static_cast<size_t>(count));
        for (int i = 0; i < count && 10 + 2 * i + 1 < static_cast<int>(reply.size()) - 2; ++i)
            values[static_cast<size_t>(i)] =
                static_cast<uint16_t>(at(reply, 10 + 2 * i) | at(reply, 11 + 2 * i) << 8);
        reply = replyFrame(at(reply, 4), static_cast<uint8_t>(count), at(reply, 7), at(reply, 8),
                           at(reply, 9), values);
    }
    {
        std::lock_guard lock(mutex_);
        if (index < exchanges_.size()) {
            exchanges_[index].reply = reply;
            const bool cut = fault.cutAfter >= 0 && size_t(fault.cutAfter) < reply.size();
            exchanges_[index].sound =
                !fault.silent && !cut && !fault.wrongStart && !fault.wrongChecksum && !fault.mutate;
        }
    }
    if (fault.hold != ReplyFault::Hold::No) {
        held_ = HeldReply{request, std::move(reply), std::move(fault)};
        sendHeld(held, ReplyFault::Hold::AfterNextReply);
        return;
    }
    const bool silent = fault.silent;
    // A whole reply keeps to the wire's clock: it begins where its request ended, however
    // late a busy machine woke the station.
    const auto from = pacing == Pacing::WholeReplies ? ready : Clock::now();
    send(request, std::move(reply), std::move(fault), from);
    sendHeld(held, ReplyFault::Hold::AfterNextReply);
    if (silent) return;
    std::lock_guard lock(mutex_);
    if (index < exchanges_.size()) exchanges_[index].replied = lastReplyHandover_;
}

void SimStation::sendHeld(std::optional<HeldReply>& held, ReplyFault::Hold when) {
    if (!held || held->fault.hold != when) return;
    HeldReply h = std::move(*held);
    held.reset();
    h.fault.hold = ReplyFault::Hold::No;
    send(h.request, std::move(h.reply), std::move(h.fault), Clock::now());
}

std::string SimStation::processData(const std::string& r) {
    const size_t length = r.size();
    uint8_t sum = 0;
    for (size_t i = 0; i + 1 < length; ++i) sum = static_cast<uint8_t>(sum + at(r, i));
    if (sum != at(r, length - 1) || at(r, 3) != address_) return {};
    std::lock_guard lock(mutex_);
    outputs_.clear();
    for (size_t i = 0; i < at(r, 1); ++i)
        outputs_.push_back(static_cast<uint16_t>(at(r, 4 + 2 * i) | at(r, 5 + 2 * i) << 8));
    return processDataReplyFrame(status_, inputs_, at(r, 2));
}

std::string SimStation::answer(const std::string& r) {
    if (r[0] == 'P') return processData(r);
    const size_t length = r.size();
    if (byteSum(r, length - 2) != static_cast<uint16_t>(at(r, length - 2) | at(r, length - 1) << 8))
        return {};
    if (at(r, 4) != address_ || at(r, 6) != 'R') return {};

    const uint8_t count = at(r, 5);
    const uint8_t rail = at(r, 7);
    const uint8_t tableByte = at(r, 8);
    const uint8_t first = at(r, 9);
    const int table = tableByte & ~kWriteFlag;
    const bool write = tableByte & kWriteFlag;

    std::lock_guard lock(mutex_);
    std::vector<uint16_t> values;
    if (write)
        for (size_t i = 0; i < count && 11 + 2 * i < length - 2; ++i)
            values.push_back(static_cast<uint16_t>(at(r, 10 + 2 * i) | at(r, 11 + 2 * i) << 8));
    const bool wellFormed = length == kMinTelegram + 2u * (write ? count : 0);

    if (rail == 0 && table == kCommandTable) {
        const bool inRange = first + count <= static_cast<int>(StationCommandTable::kRegisters);
        if (write) {
            const int resets = commands_.state.softwareResets;
            if (inRange && wellFormed && commands_.write(first, values, Clock::now())) {
                // The coupler leaves its firmware on this block and answers no more.
                enterBoot_ = true;
                return {};
            }
            // The reset block is acknowledged; then the coupler restarts.
            if (commands_.state.softwareResets != resets) restart();
            return writeReply(count, rail, tableByte, first, values);
        }
        if (!inRange) return refusal(count, rail, tableByte, first);
        std::vector<uint16_t> answered = commands_.read(first, count, Clock::now());
        runRequestHook(rail, table, false);
        return replyFrame(address_, count, rail, tableByte, first, answered);
    }
    runRequestHook(rail, table, write);

    auto found = tables_.find({rail, table});
    const bool known = rail <= terminals_ && found != tables_.end() &&
                       first + count <= static_cast<int>(found->second.size());
    if (write) {
        // A protected coupler acknowledges writes to its configuration tables but keeps
        // their values.
        const bool applied =
            rail != 0 || !commands_.state.writeProtected || !isProtectedCouplerTable(table);
        if (known && wellFormed && applied && rail != 0 && codeWord_)
            writeTerminalChannel(found->second, first, values);
        else if (known && wellFormed && applied)
            std::copy(values.begin(), values.end(), found->second.begin() + first);
        return writeReply(count, rail, tableByte, first, values);
    }
    if (!known) return refusal(count, rail, tableByte, first);
    if (readHook_) readHook_(rail, table, found->second);
    std::vector<uint16_t> read(found->second.begin() + first,
                               found->second.begin() + first + count);
    return replyFrame(address_, count, rail, tableByte, first, read);
}

std::string SimStation::refusal(uint8_t count, uint8_t rail, uint8_t tableByte,
                                uint8_t first) const {
    const uint8_t flagged = tableByte | kWriteFlag;
    switch (refusals_) {
        case ReplyShape::Values:
            return replyFrame(address_, count, rail, flagged, first,
                              std::vector<uint16_t>(count, 0));
        case ReplyShape::Count:
            return replyFrame(address_, count, rail, flagged, first, {});
        case ReplyShape::Empty:
            break;
    }
    return replyFrame(address_, 0, rail, flagged, first, {});
}

std::string SimStation::writeReply(uint8_t count, uint8_t rail, uint8_t tableByte, uint8_t first,
                                   const std::vector<uint16_t>& written) const {
    switch (writeReplies_) {
        case ReplyShape::Values:
            return replyFrame(address_, count, rail, tableByte, first, written);
        case ReplyShape::Empty:
            return replyFrame(address_, 0, rail, tableByte, first, {});
        case ReplyShape::Count:
            break;
    }
    return replyFrame(address_, count, rail, tableByte, first, {});
}

void SimStation::runRequestHook(int railPos, int table, bool write) {
    if (!requestHook_) return;
    requestHook_(railPos, table, write, commands_.state, [this](int p, int t) {
        auto found = tables_.find({p, t});
        return found == tables_.end() ? nullptr : &found->second;
    });
}

void SimStation::send(const std::string& request, std::string reply, ReplyFault fault,
                      Clock::time_point from) {
    if (fault.silent) return;
    if (fault.wrongStart) reply[1] = '\xFE';
    if (fault.wrongChecksum) reply.back() = static_cast<char>(at(reply, reply.size() - 1) + 1);
    if (fault.mutate) reply = fault.mutate(request, std::move(reply));
    if (fault.cutAfter >= 0 && static_cast<size_t>(fault.cutAfter) < reply.size())
        reply.resize(static_cast<size_t>(fault.cutAfter));
    std::string bytes = fault.garbage;
    for (int i = 0; i < fault.copies; ++i) bytes += reply;
    const auto start = from + fault.delay;
    if (!sleepUntil(start)) return;

    std::vector<std::string> pieces;
    size_t pos = 0;
    for (size_t size : fault.chunks) {
        if (pos >= bytes.size()) break;
        pieces.push_back(bytes.substr(pos, size));
        pos += size;
    }
    if (pos < bytes.size()) pieces.push_back(bytes.substr(pos));

    const Pacing pacing = this->pacing();
    const auto wire = pacedByteTime(pacing);
    for (size_t p = 0; p < pieces.size(); ++p) {
        if (p > 0 && !sleepUntil(Clock::now() + fault.chunkGap)) return;
        const auto t0 = p == 0 && pacing == Pacing::WholeReplies ? start : Clock::now();
        if (pacing != Pacing::ByteByByte) {
            const auto whole = static_cast<int64_t>(pieces[p].size()) * wire;
            if (!sleepUntil(t0 + whole) || !writeBytes(pieces[p])) return;
            continue;
        }
        // Each byte is complete at the far end after its own wire time.
        for (size_t i = 0; i < pieces[p].size(); ++i) {
            if (!sleepUntil(t0 + static_cast<int64_t>(i + 1) * wire)) return;
            if (!writeBytes(pieces[p].substr(i, 1))) return;
        }
    }
}

}  // namespace varnak::test
