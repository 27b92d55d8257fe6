// A soak of the control's telegrams against the simulated line: random register reads,
// writes and process-data exchanges with stations 1 and 2 on the line and a station 4 that is
// not, while the line loses requests and replies, cuts, splits, spoils, doubles and delays
// replies, and the stations refuse reads of tables they lack. Late replies come after their
// request's time-out, most while the reply is still owed (within one and a quarter head
// time-outs of the request), some later than that (over two head time-outs and the gap), at
// most three in a row. Every read reply carries values no reply carried before and every
// exchange's inputs echo its outputs, and the station records what it got and what it
// answered; so every call that returns 0 is checked to have been answered by its own
// requests, and every refusal to be its own (a read may have the reply to the same read sent
// just before it, nothing written to the table between them: the registers' values an
// instant older). A call whose last request the station received and answered soundly within
// half its head time-out of its going out (the part of it no quiet-line wait takes) must
// return that answer's code: otherwise it is a lost success.
//
// It takes some minutes and is no part of the test run:
//     build-test/bin/control_soak [--calls N] [--seed S] [--timeout MS] [--show-over]
// It prints the calls made, the count of each result, each call with another request's reply
// and each lost success with the calls before it, those that met a reply later than it was
// owed counted apart, and the longest call against its bound (wire time, each read's time-out
// per byte and once more, and the gap that ends a reply, plus the wait for a reply owed to an
// earlier request until one head time-out and the gap after that request gave up; --show-over
// lists the calls over it). It ends with 1 when a call took another request's reply or lost
// a success other than through a reply later than it was owed. Times are the machine's: a
// busy one runs the time-outs late.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "comctl/QZcomOCX.h"
#include "comctl/process_data_telegrams.h"
#include "comctl/register_telegrams.h"
#include "comctl/telegram_link.h"
#include "platform/serial_port.h"
#include "tests/support/line_stations.h"
#include "tests/support/sim_station.h"

namespace varnak::test {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;
using namespace qzcom;

constexpr int kBaud = 38400;
constexpr int kGapMs = platform::SerialPort::kIntervalTimeoutMs;
constexpr int kRegisters = 32;
constexpr int kAbsentTable = 42;

enum class Kind { Read, Write, Exchange };

struct Call {
    Kind kind = Kind::Read;
    comctl::RegisterAddress address;
    std::vector<int32_t> sent;      // written values, or the exchange's outputs
    std::vector<int32_t> received;  // what the caller got back
    int32_t status = -1, count = -1;
    int32_t code = 0;
    uint64_t firstTelegram = 0, telegrams = 0;
    Clock::time_point start, end;
    double tookMs = 0, boundMs = 0;
    std::string fault;
};

struct Options {
    int calls = 5000;
    uint32_t seed = 36;
    int timeoutMs = 20;
    bool showOver = false;
};

Options parse(int argc, char** argv) {
    Options o;
    for (int i = 1; i < argc; ++i) {
        const std::string name = argv[i];
        if (name == "--show-over") {
            o.showOver = true;
            continue;
        }
        if (i + 1 == argc) break;
        const long value = std::strtol(argv[++i], nullptr, 10);
        if (name == "--calls") o.calls = static_cast<int>(value);
        if (name == "--seed") o.seed = static_cast<uint32_t>(value);
        if (name == "--timeout") o.timeoutMs = static_cast<int>(value);
    }
    return o;
}

uint16_t word(const std::string& s, size_t at) {
    return static_cast<uint16_t>(static_cast<uint8_t>(s[at]) | static_cast<uint8_t>(s[at + 1])
                                                                   << 8);
}

uint8_t byteAt(const std::string& s, size_t at) {
    return static_cast<uint8_t>(s[at]);
}

double msBetween(Clock::time_point from, Clock::time_point to) {
    return std::chrono::duration<double, std::milli>(to - from).count();
}

// The port, noting when each telegram had gone out: how late a reply came is counted from
// there, whatever kept the station from hearing the request at once.
class StampedLine : public platform::SerialLine {
  public:
    explicit StampedLine(platform::SerialPort& port) : port_(port) {}
    bool setRts(bool on) override { return port_.setRts(on); }
    void purge() override { port_.purge(); }
    void purgeInput() override { port_.purgeInput(); }
    size_t write(std::span<const uint8_t> bytes) override { return port_.write(bytes); }
    void drain() override {
        port_.drain();
        sent.push_back(Clock::now());
    }
    size_t read(std::span<uint8_t> bytes) override { return port_.read(bytes); }
    size_t readWithin(std::span<uint8_t> bytes, int totalMs) override {
        return port_.readWithin(bytes, totalMs);
    }

    std::vector<Clock::time_point> sent;  // one per telegram

  private:
    platform::SerialPort& port_;
};

class Soak {
  public:
    explicit Soak(const Options& o) : options_(o), rng_(o.seed) {
        for (uint8_t s : {1, 2}) {
            stations_.addStation(s);
            stations_.addTable(s, 0, 110, kRegisters);
            stations_.addTable(s, 1, 0, kRegisters);
        }
        stations_.setReplies({.freshValues = true});
        line_.setAnswerer(stations_.answerer());
    }

    int run() {
        if (!port_.open(line_.devicePath(), kBaud, options_.timeoutMs)) {
            std::fprintf(stderr, "%s\n", port_.errorText().c_str());
            return 2;
        }
        std::vector<Call> calls;
        for (int i = 0; i < options_.calls; ++i) {
            if (i % 500 == 0) changeShapes(i / 500);
            calls.push_back(next(calls.empty() ? nullptr : &calls.back()));
            make(calls.back());
        }
        // Let the line fall quiet, so that the station has recorded every request.
        std::this_thread::sleep_for(milliseconds(1500));
        return report(calls);
    }

  private:
    size_t pick(size_t n) { return n ? rng_() % n : 0; }
    bool chance(int percent) { return static_cast<int>(pick(100)) < percent; }

    void changeShapes(int block) {
        static constexpr std::array kShapes{SimStation::ReplyShape::Count,
                                            SimStation::ReplyShape::Values,
                                            SimStation::ReplyShape::Empty};
        stations_.setReplies({kShapes[block % 3], kShapes[(block / 3) % 3], true});
    }

    // Half the calls go to the registers of the call before, or repeat its kind of exchange.
    Call next(const Call* before) {
        Call c;
        const size_t kind = pick(10);
        c.kind = kind < 4 ? Kind::Read : kind < 7 ? Kind::Write : Kind::Exchange;
        const bool again =
            before && chance(50) && (before->kind == Kind::Exchange) == (c.kind == Kind::Exchange);
        if (again) {
            c.address = before->address;
        } else {
            const size_t station = pick(10);
            c.address.multiPoint = station < 6 ? 1 : station < 9 ? 2 : 4;
            c.address.railPos = static_cast<int32_t>(pick(2));
            c.address.table = c.address.railPos == 0 ? 110 : 0;
            if (c.kind == Kind::Read && chance(5)) c.address.table = kAbsentTable;
            c.address.size = 1 + static_cast<int32_t>(pick(c.kind == Kind::Exchange ? 7 : 24));
            if (c.kind == Kind::Exchange)
                --c.address.size;  // 0 to 6 words
            else
                c.address.offset = static_cast<int32_t>(pick(kRegisters - c.address.size + 1));
        }
        if (c.kind != Kind::Read)
            for (int32_t i = 0; i < c.address.size; ++i) c.sent.push_back(nextValue_++ & 0xFFFF);
        return c;
    }

    int headTimeout(Kind kind) const {
        return options_.timeoutMs * (kind == Kind::Exchange ? 3 : 4);
    }

    // A fault for the reply to the call's first telegram, when a station will answer it.
    ReplyFault fault(const Call& c) {
        const int headTimeout = this->headTimeout(c.kind);
        const size_t replyLength = c.kind == Kind::Exchange ? 6 + 2 * c.sent.size()
                                                            : 12 + 2 * std::min(c.address.size, 18);
        const size_t roll = pick(100);
        const bool late = roll < 7 && lateInARow_ < 3;
        lateInARow_ = late ? lateInARow_ + 1 : 0;
        // Late: after the request's time-out, and mostly while its reply is owed.
        if (late && roll == 6)
            return ReplyFault::delayed(milliseconds(2 * headTimeout + kGapMs + 10 +
                                                    static_cast<int>(pick(headTimeout / 2))));
        if (late)
            return ReplyFault::delayed(
                milliseconds(headTimeout + 5 + static_cast<int>(pick(headTimeout / 4))));
        if (roll < 10) return ReplyFault::delayed(milliseconds(pick(headTimeout / 2)));
        if (roll < 15) return ReplyFault::noReply();
        if (roll < 20) return ReplyFault::lostRequest();
        if (roll < 24) return ReplyFault::cut(1 + static_cast<int>(pick(replyLength - 1)));
        if (roll < 28)
            return ReplyFault::inChunks({2, 5}, milliseconds(chance(50) ? 3 : 2 * kGapMs));
        if (roll < 30) return ReplyFault::badChecksum();
        if (roll < 32) return ReplyFault::badStart();
        if (roll < 35) {
            std::string noise(1 + pick(8), '\0');
            for (char& ch : noise) ch = static_cast<char>(rng_());
            return ReplyFault::garbageFirst(noise);
        }
        if (roll < 38) return ReplyFault::twice();
        if (roll < 40) return ReplyFault::extraValues(chance(50) ? 1 : -1);
        return ReplyFault::none();
    }

    static std::string describe(const ReplyFault& f) {
        std::string d = f.delay.count() ? "delayed " + std::to_string(f.delay.count()) + " ms" : "";
        for (const auto& [on, name] : {std::pair{f.silent, "no reply"},
                                       {f.requestLost, "request lost"},
                                       {f.cutAfter >= 0, "cut"},
                                       {!f.chunks.empty(), "split"},
                                       {f.wrongStart, "bad start"},
                                       {f.wrongChecksum, "bad sum"},
                                       {!f.garbage.empty(), "garbage first"},
                                       {f.copies > 1, "twice"},
                                       {f.extraRegisters != 0, "another count"}})
            if (on) d += d.empty() ? name : std::string(", ") + name;
        return d.empty() ? "sound" : d;
    }

    void make(Call& c) {
        if (c.address.multiPoint != 4) {
            queued_.push_back(fault(c));
            c.fault = describe(queued_.back());
            line_.queueFault(queued_.back());
            queuedAt_.push_back(Clock::now());
        }
        const uint64_t before = state_.sentTelegrams;
        comctl::TelegramLink link(stamped_, false, state_, port_.timeoutMs());
        c.start = Clock::now();
        if (c.kind == Kind::Exchange) {
            c.received.assign(8, -1);
            c.code = comctl::exchangeProcessData(link, c.address.multiPoint, c.status,
                                                 c.address.size, c.sent, c.count, c.received);
        } else if (c.kind == Kind::Write) {
            c.code = comctl::writeRegisters(link, c.address, c.sent);
        } else {
            c.received.assign(static_cast<size_t>(c.address.size), -1);
            c.code = comctl::readRegisters(link, c.address, c.received);
        }
        c.end = Clock::now();
        c.tookMs = msBetween(c.start, c.end);
        c.firstTelegram = before;
        c.telegrams = state_.sentTelegrams - before;
        c.boundMs = bound(c);
    }

    // Each telegram's wire time, its head read's time-out per byte and once more, the body
    // read's likewise when a reply started, and the gap; a call that sent nothing no more
    // than the gap and the head's time-out.
    double bound(const Call& c) const {
        const double t = options_.timeoutMs;
        const size_t head = c.kind == Kind::Exchange ? 2 : 3;
        if (c.telegrams == 0) return kGapMs + t * double(head + 1);
        double total = 0;
        for (uint64_t i = 0; i < c.telegrams; ++i) {
            const int32_t count = std::min<int32_t>(18, c.address.size - 18 * int32_t(i));
            const size_t request = c.kind == Kind::Exchange ? 5 + 2 * c.sent.size()
                                   : c.kind == Kind::Write  ? 12 + 2 * size_t(count)
                                                            : 12;
            const size_t reply =
                c.kind == Kind::Exchange ? 6 + 2 * c.sent.size() : 12 + 2 * size_t(count);
            const bool last = i + 1 == c.telegrams;
            const bool bodyRead = !last || (c.code != ComErrTimeout1 && c.code != ComErrSendTel);
            total += 1000.0 * 11 * double(request) / kBaud + t * double(head + 1) + kGapMs;
            if (bodyRead) total += t * double(reply - head + 1);
        }
        return total;
    }

    // The line's record: each telegram's request and reply, the fault the station gave the
    // reply (a lost request takes the next fault queued by then whoever it was for, a reply
    // the next one, a request no station answers none), the call that sent it, and whether
    // its reply
    // is loose: it came later than its request owed it, or its call took another's.
    struct Record {
        std::vector<SimStation::Exchange> log;
        std::vector<const ReplyFault*> faults;
        std::vector<size_t> owner;
        std::vector<bool> loose;
        // Sent in pieces further apart than the gap that ends a reply: to the control the
        // later pieces are noise on the line.
        std::vector<bool> brokenApart;
    };

    Record record(const std::vector<Call>& calls) const {
        Record r;
        r.log = line_.exchanges();
        r.faults.assign(r.log.size(), nullptr);
        r.owner.assign(r.log.size(), calls.size());
        r.loose.assign(r.log.size(), false);
        r.brokenApart.assign(r.log.size(), false);
        for (size_t i = 0, next = 0; i < r.log.size() && next < queued_.size(); ++i)
            if (queuedAt_[next] <= r.log[i].received &&
                (queued_[next].requestLost || !r.log[i].reply.empty()))
                r.faults[i] = &queued_[next++];
        for (size_t i = 0; i < calls.size(); ++i)
            for (uint64_t t = 0; t < calls[i].telegrams; ++t)
                if (calls[i].firstTelegram + t < r.log.size())
                    r.owner[calls[i].firstTelegram + t] = i;
        for (size_t j = 0; j < r.log.size(); ++j) {
            const auto& e = r.log[j];
            if (e.reply.empty() || e.replied == Clock::time_point{} || r.owner[j] == calls.size())
                continue;
            const ReplyFault* f = r.faults[j];
            r.brokenApart[j] = f && !f->chunks.empty() && f->chunkGap >= milliseconds(kGapMs);
            const Call& owner = calls[r.owner[j]];
            r.loose[j] = e.replied > owner.end + milliseconds(headTimeout(owner.kind) + kGapMs);
        }
        return r;
    }

    // Another telegram's reply that marks picks reached the line while the call ran.
    static bool met(const Call& c, const Record& r, const std::vector<bool>& marks) {
        const size_t from = c.firstTelegram > 20 ? c.firstTelegram - 20 : 0;
        for (size_t j = from; j < std::min(r.log.size(), c.firstTelegram + c.telegrams + 20); ++j) {
            const bool own = j >= c.firstTelegram && j < c.firstTelegram + c.telegrams;
            if (!own && marks[j] && r.log[j].replied >= c.start && r.log[j].replied <= c.end)
                return true;
        }
        return false;
    }

    // The station received the call's last request and answered it soundly, whole and
    // within half the head time-out of its going out, with no noise before it (garbage, or
    // the pieces of an earlier reply broken apart), yet the call did not return that
    // answer's code.
    bool lostSuccess(const Call& c, const Record& r) const {
        if (c.telegrams == 0 || met(c, r, r.brokenApart)) return false;
        const size_t at = c.firstTelegram + c.telegrams - 1;
        const auto& e = r.log.at(at);
        if (e.reply.empty() || !e.sound) return false;
        const ReplyFault* f = r.faults[at];
        if (f && (!f->garbage.empty() || f->extraRegisters != 0 ||
                  (!f->chunks.empty() && f->chunkGap >= milliseconds(kGapMs))))
            return false;
        if (msBetween(stamped_.sent.at(at), e.replied) >= headTimeout(c.kind) / 2.0 - 2)
            return false;
        const bool refusal = c.kind == Kind::Read && (byteAt(e.reply, 8) & 0x80) != 0;
        return c.code != (refusal ? ComErrRegResponse : ComErrNo);
    }

    // What a call got back is what the station answered its own requests. A read may have
    // the reply to the same read sent just before it (the same registers' values, an
    // instant older) when nothing was written to that table between them: then earlier.
    std::string violation(const Call& c, const std::vector<SimStation::Exchange>& log,
                          bool& earlier) const {
        if (c.code != ComErrNo && c.code != ComErrRegResponse) {
            if (c.kind == Kind::Exchange && (c.status != -1 || c.count != -1 ||
                                             std::any_of(c.received.begin(), c.received.end(),
                                                         [](int32_t v) { return v != -1; })))
                return "failed exchange wrote its results";
            return {};
        }
        for (uint64_t i = 0; i < c.telegrams; ++i) {
            const size_t at = c.firstTelegram + i;
            const bool refusal = c.code == ComErrRegResponse && i + 1 == c.telegrams;
            if (c.kind == Kind::Read) {
                if (!readAnswered(c, i, refusal, log, at, earlier))
                    return "values or refusal not its own";
                continue;
            }
            if (log.at(at).reply.empty() || !log.at(at).sound)
                return "returned without a sound reply to its request";
        }
        if (c.kind == Kind::Exchange) {
            if (c.status != c.address.multiPoint || c.count != c.address.size)
                return "status or count not its own";
            for (size_t k = 0; k < c.sent.size(); ++k)
                if (c.received[k] != c.sent[k]) return "inputs not its own";
        }
        return {};
    }

    // Telegram i of read c got the reply the station sent to log[at] or to the same read
    // before it (then earlier).
    bool readAnswered(const Call& c, uint64_t i, bool refusal,
                      const std::vector<SimStation::Exchange>& log, size_t at,
                      bool& earlier) const {
        const auto answered = [&](const SimStation::Exchange& e) {
            if (e.reply.empty() || !e.sound) return false;
            if (((byteAt(e.reply, 8) & 0x80) != 0) != refusal) return false;
            for (size_t k = 0; !refusal && 10 + 2 * k + 2 < e.reply.size(); ++k)
                if (c.received.at(18 * i + k) != word(e.reply, 10 + 2 * k)) return false;
            return true;
        };
        const std::string& request = log.at(at).request;
        for (size_t j = at + 1; j-- > 0;) {
            const std::string& r = log[j].request;
            if (r == request && answered(log[j])) {
                earlier = earlier || j != at;
                return true;
            }
            const bool writeToTable = r[0] != 'P' && (byteAt(r, 8) & 0x80) && r[4] == request[4] &&
                                      r[7] == request[7] && (r[8] & 0x7F) == request[8];
            if (writeToTable) return false;
        }
        return false;
    }

    static void print(size_t index, const Call& c) {
        static constexpr const char* kKinds[] = {"read", "write", "exchange"};
        std::printf(
            "  %zu: %s station %d rail %d table %d reg %d size %d, %s: code %d in %.1f ms\n", index,
            kKinds[int(c.kind)], c.address.multiPoint, c.address.railPos, c.address.table,
            c.address.offset, c.address.size, c.fault.c_str(), c.code, c.tookMs);
    }

    static void show(const char* what, bool apart, const std::vector<Call>& calls, size_t i) {
        std::printf("call %zu: %s%s\n", i, what, apart ? " (met a reply later than owed)" : "");
        for (size_t j = i >= 4 ? i - 4 : 0; j <= i; ++j) print(j, calls[j]);
    }

    int report(const std::vector<Call>& calls) {
        Record r = record(calls);
        std::map<int32_t, int> codes;
        int violations = 0, violationsApart = 0, lost = 0, lostApart = 0, earlierReads = 0;
        int unsent = 0, overBound = 0;
        double worst = 0, worstTook = 0, worstBound = 0, worstExcess = 0, longestWait = 0;
        double longestBefore = 0, beforeAllowed = 0;
        Clock::time_point owedUntil{};  // the latest an earlier call may still be owed a reply
        std::map<std::string, Clock::time_point> readsOwed;  // by the read's request
        for (size_t i = 0; i < calls.size(); ++i) {
            const Call& c = calls[i];
            ++codes[c.code];
            if (c.telegrams == 0) ++unsent;
            const bool apart = met(c, r, r.loose);
            bool earlier = false;
            const std::string v = violation(c, r.log, earlier);
            if (earlier) ++earlierReads;
            if (!v.empty()) {
                ++(apart ? violationsApart : violations);
                show(v.c_str(), apart, calls, i);
                // Its own replies now answer nobody that waits for them.
                for (uint64_t t = 0; t < c.telegrams; ++t)
                    if (c.firstTelegram + t < r.loose.size()) r.loose[c.firstTelegram + t] = true;
            }
            if (lostSuccess(c, r)) {
                ++(apart ? lostApart : lost);
                show("lost success", apart, calls, i);
            }
            // The wait for a reply owed to an earlier call comes on top of the call's bound.
            const double wait = std::max(0.0, msBetween(c.start, owedUntil));
            longestWait = std::max(longestWait, wait);
            if (c.telegrams > 0 && c.firstTelegram < stamped_.sent.size()) {
                const double before = msBetween(c.start, stamped_.sent[c.firstTelegram]);
                if (before > longestBefore) {
                    longestBefore = before;
                    beforeAllowed = wait + kGapMs + headTimeout(c.kind) / 2.0;
                }
            }
            const double bound = c.boundMs + wait;
            if (c.tookMs > bound) {
                ++overBound;
                if (options_.showOver) show("over the bound", false, calls, i);
                worstExcess = std::max(worstExcess, c.tookMs - bound);
            }
            if (c.tookMs / bound > worst) {
                worst = c.tookMs / bound;
                worstTook = c.tookMs;
                worstBound = bound;
            }
            // A call that failed may still get its reply; so may a read that got a reply an
            // earlier read of the same registers was owed, or might have.
            bool mayOwe =
                c.telegrams > 0 && ((c.code != ComErrNo && c.code != ComErrRegResponse) || earlier);
            for (uint64_t t = 0; c.kind == Kind::Read && t < c.telegrams; ++t) {
                const auto owed = readsOwed.find(r.log.at(c.firstTelegram + t).request);
                mayOwe = mayOwe || (owed != readsOwed.end() && owed->second > c.start);
            }
            if (!mayOwe) continue;
            const auto until = c.end + milliseconds(headTimeout(c.kind) + kGapMs);
            owedUntil = std::max(owedUntil, until);
            for (uint64_t t = 0; c.kind == Kind::Read && t < c.telegrams; ++t)
                readsOwed[r.log.at(c.firstTelegram + t).request] = until;
        }
        std::printf(
            "calls %zu, telegrams %llu (station recorded %zu), not sent %d, seed %u, "
            "time-out %d ms\n",
            calls.size(), static_cast<unsigned long long>(state_.sentTelegrams), r.log.size(),
            unsent, options_.seed, options_.timeoutMs);
        for (const auto& [code, n] : codes) std::printf("  code %3d: %d\n", code, n);
        std::printf(
            "replies dropped %llu, reads answered by the same read before them %d, replies "
            "later than they were owed %d\n",
            static_cast<unsigned long long>(state_.droppedReplies), earlierReads,
            static_cast<int>(std::count(r.loose.begin(), r.loose.end(), true)));
        std::printf(
            "calls with another request's reply: %d, and %d that met a reply later than owed\n",
            violations, violationsApart);
        std::printf("lost successes: %d, and %d that met a reply later than owed\n", lost,
                    lostApart);
        std::printf(
            "longest call against its bound: %.1f ms of %.1f ms (%.0f %%); over the bound: "
            "%d, by at most %.1f ms\n",
            worstTook, worstBound, 100 * worst, overBound, worstExcess);
        std::printf(
            "longest wait an owed reply allowed: %.1f ms; longest before a first telegram went "
            "out: %.1f ms (allowed %.1f ms)\n",
            longestWait, longestBefore, beforeAllowed);
        const bool complete = r.log.size() == state_.sentTelegrams;
        if (!complete) std::printf("the station did not record every telegram\n");
        return violations == 0 && lost == 0 && complete ? 0 : 1;
    }

    Options options_;
    std::mt19937 rng_;
    SimStation line_{3, 0};
    LineStations stations_;
    platform::SerialPort port_;
    StampedLine stamped_{port_};
    comctl::LineState state_;
    std::vector<ReplyFault> queued_;  // every fault queued, in order
    std::vector<Clock::time_point> queuedAt_;
    int32_t nextValue_ = 0x1000;
    int lateInARow_ = 0;
};

}  // namespace
}  // namespace varnak::test

int main(int argc, char** argv) {
    return varnak::test::Soak(varnak::test::parse(argc, argv)).run();
}
