// A soak of the control's telegrams against the simulated line: random register reads,
// writes and process-data exchanges with stations 1 and 2 on the line and a station 4 that is
// not, while the line loses requests and replies, cuts, splits, spoils, doubles and delays
// replies (late ones past the reply time-out), and the stations refuse reads of tables they
// lack. Every read reply carries values no reply carried before and every exchange's inputs
// echo its outputs, and the station records what it got and what it answered; so every call
// that returns 0 is checked to have been answered by its own requests, and every refusal to be
// its own (a read may have the reply to the same read sent just before it, nothing written to
// the table between them: the registers' values an instant older). A late reply comes within one
// and a quarter head time-outs of its request, at most three in a row, which keeps every reply
// within the time the control waits for it.
//
// It takes some minutes and is no part of the test run:
//     build-test/bin/control_soak [--calls N] [--seed S] [--timeout MS] [--show-over]
// It prints the calls made, the count of each result, each violation with the calls before
// it, and the longest call against its bound (wire time, each read's time-out per byte and
// once more, and the gap that ends a reply; --show-over lists the calls over it), and ends
// with 1 when a call took a reply not its own. Times are the machine's: a busy one runs the
// time-outs late.
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

    // A fault for the reply to the call's first telegram, when a station will answer it.
    ReplyFault fault(const Call& c) {
        const int headTimeout = options_.timeoutMs * (c.kind == Kind::Exchange ? 3 : 4);
        const size_t replyLength = c.kind == Kind::Exchange ? 6 + 2 * c.sent.size()
                                                            : 12 + 2 * std::min(c.address.size, 18);
        const size_t roll = pick(100);
        const bool late = roll < 6 && lateInARow_ < 3;
        lateInARow_ = late ? lateInARow_ + 1 : 0;
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
            const ReplyFault f = fault(c);
            c.fault = describe(f);
            line_.queueFault(f);
        }
        const uint64_t before = state_.sentTelegrams;
        comctl::TelegramLink link(port_, false, state_, port_.timeoutMs());
        const auto start = Clock::now();
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
        c.tookMs = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
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

    // What a call got back is what the station answered its own requests. A read may have
    // the reply to the same read sent just before it (the same registers' values, an
    // instant older) when nothing was written to that table between them.
    std::string violation(const Call& c, const std::vector<SimStation::Exchange>& log) const {
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
                if (!readAnswered(c, i, refusal, log, at)) return "values or refusal not its own";
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
    // before it.
    bool readAnswered(const Call& c, uint64_t i, bool refusal,
                      const std::vector<SimStation::Exchange>& log, size_t at) const {
        const auto answered = [&](const SimStation::Exchange& e) {
            if (e.reply.empty() || !e.sound) return false;
            if (((static_cast<uint8_t>(e.reply[8]) & 0x80) != 0) != refusal) return false;
            for (size_t k = 0; !refusal && 10 + 2 * k + 2 < e.reply.size(); ++k)
                if (c.received.at(18 * i + k) != word(e.reply, 10 + 2 * k)) return false;
            return true;
        };
        const std::string& request = log.at(at).request;
        for (size_t j = at + 1; j-- > 0;) {
            const std::string& r = log[j].request;
            if (r == request && answered(log[j])) {
                if (j != at) ++earlierReads_;
                return true;
            }
            const bool writeToTable = r[0] != 'P' && (static_cast<uint8_t>(r[8]) & 0x80) &&
                                      r[4] == request[4] && r[7] == request[7] &&
                                      (r[8] & 0x7F) == request[8];
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

    int report(const std::vector<Call>& calls) const {
        const auto log = line_.exchanges();
        std::map<int32_t, int> codes;
        int violations = 0, unsent = 0, overBound = 0;
        double worst = 0, worstTook = 0, worstBound = 0, worstExcess = 0;
        for (size_t i = 0; i < calls.size(); ++i) {
            const Call& c = calls[i];
            ++codes[c.code];
            if (c.telegrams == 0) ++unsent;
            const std::string v = violation(c, log);
            if (!v.empty()) {
                ++violations;
                std::printf("call %zu: %s\n", i, v.c_str());
                for (size_t j = i >= 4 ? i - 4 : 0; j <= i; ++j) print(j, calls[j]);
            }
            if (c.tookMs > c.boundMs) {
                ++overBound;
                if (options_.showOver) {
                    std::printf("over by %.1f ms:\n", c.tookMs - c.boundMs);
                    for (size_t j = i >= 2 ? i - 2 : 0; j <= i; ++j) print(j, calls[j]);
                }
                worstExcess = std::max(worstExcess, c.tookMs - c.boundMs);
            }
            if (c.tookMs / c.boundMs > worst) {
                worst = c.tookMs / c.boundMs;
                worstTook = c.tookMs;
                worstBound = c.boundMs;
            }
        }
        std::printf(
            "calls %zu, telegrams %llu (station recorded %zu), not sent %d, seed %u, "
            "time-out %d ms\n",
            calls.size(), static_cast<unsigned long long>(state_.sentTelegrams), log.size(), unsent,
            options_.seed, options_.timeoutMs);
        for (const auto& [code, n] : codes) std::printf("  code %3d: %d\n", code, n);
        std::printf(
            "replies dropped %llu, reads answered by the same read before them %d, "
            "violations %d\n",
            static_cast<unsigned long long>(state_.droppedReplies), earlierReads_, violations);
        std::printf(
            "longest call against its bound: %.1f ms of %.1f ms (%.0f %%); over the bound: "
            "%d, by at most %.1f ms\n",
            worstTook, worstBound, 100 * worst, overBound, worstExcess);
        const bool complete = log.size() == state_.sentTelegrams;
        if (!complete) std::printf("the station did not record every telegram\n");
        return violations == 0 && complete ? 0 : 1;
    }

    Options options_;
    std::mt19937 rng_;
    SimStation line_{3, 0};
    LineStations stations_;
    platform::SerialPort port_;
    comctl::LineState state_;
    int32_t nextValue_ = 0x1000;
    int lateInARow_ = 0;
    mutable int earlierReads_ = 0;  // reads answered by the same read sent before them
};

}  // namespace
}  // namespace varnak::test

int main(int argc, char** argv) {
    return varnak::test::Soak(varnak::test::parse(argc, argv)).run();
}
