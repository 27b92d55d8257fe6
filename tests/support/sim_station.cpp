#include "tests/support/sim_station.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <stdexcept>

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

void SimStation::setRegister(int railPos, int table, int reg, uint16_t value) {
    std::lock_guard lock(mutex_);
    tables_.at({railPos, table}).at(static_cast<size_t>(reg)) = value;
}

uint16_t SimStation::reg(int railPos, int table, int reg) const {
    std::lock_guard lock(mutex_);
    return tables_.at({railPos, table}).at(static_cast<size_t>(reg));
}

void SimStation::queueFault(ReplyFault fault) {
    std::lock_guard lock(mutex_);
    faults_.push_back(std::move(fault));
}

void SimStation::setPacing(bool on) {
    std::lock_guard lock(mutex_);
    pacing_ = on;
}

std::vector<std::string> SimStation::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void SimStation::clearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

bool SimStation::waitForRequests(size_t n, std::chrono::milliseconds timeout) const {
    std::unique_lock lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] { return requests_.size() >= n; });
}

SimStation::Clock::time_point SimStation::lastReplyByte() const {
    std::lock_guard lock(mutex_);
    return lastReplyByte_;
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
        if (pending.empty()) firstByte = Clock::now();
        pending.append(buffer, static_cast<size_t>(n));

        // Frames start with FD 02 and carry their length in byte 2; anything else is noise.
        for (;;) {
            const size_t start = pending.find("\xFD\x02", 0, 2);
            if (start == std::string::npos) {
                const bool keepLast = !pending.empty() && pending.back() == '\xFD';
                pending.erase(0, pending.size() - (keepLast ? 1 : 0));
                break;
            }
            pending.erase(0, start);
            if (pending.size() < 3) break;
            const size_t length = at(pending, 2);
            if (length < kMinTelegram) {
                pending.erase(0, 1);
                continue;
            }
            if (pending.size() < length) break;
            const std::string request = pending.substr(0, length);
            pending.erase(0, length);
            handle(request, firstByte);
            firstByte = Clock::now();
        }
    }
}

void SimStation::handle(const std::string& request, Clock::time_point firstByte) {
    bool pacing;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        pacing = pacing_;
    }
    changed_.notify_all();
    const auto wire = pacing ? byteTime() : Clock::duration::zero();
    // The last request byte is on the wire only after the whole request's wire time.
    const auto ready = firstByte + static_cast<int64_t>(request.size()) * wire;
    if (!sleepUntil(ready)) return;

    std::string reply = answer(request);
    if (reply.empty()) return;
    // A request the station does not answer leaves the queued faults for later replies.
    ReplyFault fault;
    {
        std::lock_guard lock(mutex_);
        if (!faults_.empty()) {
            fault = std::move(faults_.front());
            faults_.pop_front();
        }
    }
    if (fault.extraRegisters != 0 && !(at(request, 8) & kWriteFlag)) {
        const int count = std::max(0, at(request, 5) + fault.extraRegisters);
        std::vector<uint16_t> values(static_cast<size_t>(count));
        for (int i = 0; i < count && 10 + 2 * i + 1 < static_cast<int>(reply.size()) - 2; ++i)
            values[static_cast<size_t>(i)] =
                static_cast<uint16_t>(at(reply, 10 + 2 * i) | at(reply, 11 + 2 * i) << 8);
        reply = replyFrame(at(reply, 4), static_cast<uint8_t>(count), at(reply, 7), at(reply, 8),
                           at(reply, 9), values);
    }
    send(request, std::move(reply), std::move(fault), Clock::now());
}

std::string SimStation::answer(const std::string& r) {
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
    auto found = tables_.find({rail, table});
    const bool known = rail <= terminals_ && found != tables_.end() &&
                       first + count <= static_cast<int>(found->second.size());
    if (write) {
        std::vector<uint16_t> values;
        for (size_t i = 0; i < count && 11 + 2 * i < length - 2; ++i)
            values.push_back(static_cast<uint16_t>(at(r, 10 + 2 * i) | at(r, 11 + 2 * i) << 8));
        // The coupler leaves its firmware on this block and answers no more.
        if (rail == 0 && table == kCommandTable && first == 0 &&
            values == std::vector<uint16_t>{3, 1, 0x5C3B, 0})
            return {};
        if (known && length == kMinTelegram + 2u * count)
            std::copy(values.begin(), values.end(), found->second.begin() + first);
        return replyFrame(address_, count, rail, tableByte, first, {});
    }
    if (!known) return replyFrame(address_, 0, rail, tableByte | 0x80, first, {});
    std::vector<uint16_t> values(found->second.begin() + first,
                                 found->second.begin() + first + count);
    return replyFrame(address_, count, rail, tableByte, first, values);
}

void SimStation::send(const std::string& request, std::string reply, ReplyFault fault,
                      Clock::time_point from) {
    if (fault.silent) return;
    if (fault.wrongStart) reply[1] = '\xFE';
    if (fault.wrongChecksum) reply.back() = static_cast<char>(at(reply, reply.size() - 1) + 1);
    if (fault.mutate) reply = fault.mutate(request, std::move(reply));
    if (fault.cutAfter >= 0 && static_cast<size_t>(fault.cutAfter) < reply.size())
        reply.resize(static_cast<size_t>(fault.cutAfter));
    const std::string bytes = fault.garbage + reply;
    if (!sleepUntil(from + fault.delay)) return;

    std::vector<std::string> pieces;
    size_t pos = 0;
    for (size_t size : fault.chunks) {
        if (pos >= bytes.size()) break;
        pieces.push_back(bytes.substr(pos, size));
        pos += size;
    }
    if (pos < bytes.size()) pieces.push_back(bytes.substr(pos));

    bool pacing;
    {
        std::lock_guard lock(mutex_);
        pacing = pacing_;
    }
    const auto wire = pacing ? byteTime() : Clock::duration::zero();
    for (size_t p = 0; p < pieces.size(); ++p) {
        if (p > 0 && !sleepUntil(Clock::now() + fault.chunkGap)) return;
        if (wire == Clock::duration::zero()) {
            if (!writeBytes(pieces[p])) return;
            continue;
        }
        // Each byte is complete at the far end after its own wire time.
        const auto t0 = Clock::now();
        for (size_t i = 0; i < pieces[p].size(); ++i) {
            if (!sleepUntil(t0 + static_cast<int64_t>(i + 1) * wire)) return;
            if (!writeBytes(pieces[p].substr(i, 1))) return;
        }
    }
}

}  // namespace varnak::test
