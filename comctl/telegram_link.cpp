#include "comctl/telegram_link.h"

#include <algorithm>
#include <utility>
#include <vector>

#include "comctl/QZcomOCX.h"
#include "platform/unexamined_result.h"

using namespace qzcom;

namespace varnak::comctl {
namespace {

using Clock = std::chrono::steady_clock;
using std::chrono::milliseconds;

// The gap that ends a reply; a line this long quiet has nothing more on its way.
constexpr Clock::duration kGap = milliseconds(platform::SerialPort::kIntervalTimeoutMs);

// A telegram that awaits no reply waits no longer than the slowest whole reply (516 bytes
// at 9600 baud) takes for the line to fall quiet.
constexpr Clock::duration kLongestSettle = milliseconds(1000);

// The most a settle keeps of what it heard without finding a frame: more than any frame.
constexpr size_t kHeardKept = 1200;

int msUntil(Clock::time_point t) {
    const auto left = std::chrono::ceil<milliseconds>(t - Clock::now()).count();
    return static_cast<int>(std::clamp<int64_t>(left, 0, INT32_MAX));
}

ReplyFormat otherThan(ReplyFormat format) {
    return format == ReplyFormat::Register ? ReplyFormat::ProcessData : ReplyFormat::Register;
}

}  // namespace

// What a settle read that has not yet been framed, and how much of it came as frames.
struct TelegramLink::Heard {
    std::vector<uint8_t> bytes;
    size_t scanned = 0;  // where the next look for a frame starts
    size_t total = 0;
    size_t framed = 0;

    void add(std::span<const uint8_t> chunk) {
        bytes.insert(bytes.end(), chunk.begin(), chunk.end());
        total += chunk.size();
    }
    // Drops what was looked at, and more when the rest grows past any frame.
    void trim() {
        if (scanned == 0 && bytes.size() <= kHeardKept) return;
        const size_t drop = std::max(scanned, bytes.size() - std::min(bytes.size(), kHeardKept));
        bytes.erase(bytes.begin(), bytes.begin() + static_cast<ptrdiff_t>(drop));
        scanned = 0;
    }
};

// The head of a reply may take the line's time-out per byte plus once more.
Clock::duration TelegramLink::headTimeout(ReplyFormat format) const {
    return milliseconds(int64_t{timeoutMs_} * static_cast<int64_t>(headOf(format) + 1));
}

int32_t TelegramLink::sendTelegram(std::span<const uint8_t> telegram) {
    const uint8_t station = expectedReply(ReplyFormat::Register, telegram).station;
    bool stray = false;
    Clock::duration overrun{};
    // Nothing answers such a telegram, so nothing can be mistaken for its answer; but a late
    // reply of its station would land in whatever that station says next. On a line still
    // busy after the longest settle it goes out all the same.
    resultNotExamined(settle([&](const ExpectedReply& owed) { return owed.station == station; },
                             kLongestSettle, stray, overrun));
    return transmit(telegram);
}

int32_t TelegramLink::exchange(ReplyFormat format, std::span<const uint8_t> request,
                               ReplyFrame& reply) {
    const ExpectedReply expected = expectedReply(format, request);
    const Clock::duration head = headTimeout(format);
    // A damaged reply is the request's own, unless the line brought other bytes just before
    // (left over from the request before, stray while it settled, or another request's
    // reply): then those may have gone on, and its own may be still to come.
    bool stray = std::exchange(state_.leftOver, false);
    Clock::duration overrun{};
    if (!settle([&](const ExpectedReply& owed) { return mistakable(owed, expected); }, head / 2,
                stray, overrun)) {
        state_.leftOver = true;
        return ComErrTimeout1;
    }
    last_ = expected;
    if (int32_t r = transmit(request); r != ComErrNo) return r;
    // Whatever the quiet wait took beyond the gap is the reply's less.
    return awaitAnswer(expected, Clock::now() + head - overrun, stray, reply);
}

int32_t TelegramLink::refused(int32_t code) {
    owe(last_);
    return damaged(code);
}

int32_t TelegramLink::transmit(std::span<const uint8_t> telegram) {
    ++state_.sentTelegrams;
    if (rs485_) line_.keyTransmitter(true);
    line_.purge();
    const size_t written = line_.write(telegram);
    line_.drain();
    // RTS goes off also after a short write: a transmitter left keyed jams the bus for
    // every station until the next successful telegram.
    if (rs485_) line_.keyTransmitter(false);
    return written == telegram.size() ? ComErrNo : damaged(ComErrSendTel);
}

// First, while a reply waitOut picks is still owed, reads and drops whatever comes until
// each such reply came or can no longer come; a reply still coming when its owed time ends
// is read off whole. Then, on an unsettled line, reads and drops until nothing arrived for
// the gap that ends a reply, so that the rest of a late or cut reply is not taken for the
// head of the next one; that takes no more than the gap and allowance, and overrun is what
// it took beyond the gap. Frames heard count as owed replies come; other bytes make stray.
// False when the line is still busy then: nothing is sent.
bool TelegramLink::settle(const OwedPick& waitOut, Clock::duration allowance, bool& stray,
                          Clock::duration& overrun) {
    auto now = Clock::now();
    overrun = Clock::duration::zero();
    state_.owed.expire(now);
    const auto owedUntil = [&] { return state_.owed.lastUntil(waitOut); };
    bool owing = owedUntil().has_value();
    if (!state_.unsettled && !owing) return true;

    Heard heard;
    auto quietFrom = state_.unsettled ? now + kGap : now;
    auto from = now;  // where the quiet wait's allowance starts: once nothing is owed
    for (;;) {
        now = Clock::now();
        if (owing) {
            if (const auto until = owedUntil(); until && *until <= now) {
                if (quietFrom > now && readUnderway(heard)) quietFrom = Clock::now();
                takeFrames(heard);
                now = Clock::now();
                state_.owed.expire(now);
            }
            if (!owedUntil()) {
                owing = false;
                from = now;
            }
        }
        const auto ready = std::max(quietFrom, owing ? *owedUntil() : now);
        if (ready <= now) break;
        const auto sendBy = from + kGap + allowance;
        if (!owing && now >= sendBy) {
            state_.unsettled = true;
            return false;
        }
        const auto readUntil = owing ? ready : std::min(ready, sendBy);
        std::array<uint8_t, 64> chunk{};
        const size_t n = line_.readWithin(chunk, msUntil(readUntil));
        const auto after = Clock::now();
        // A read that ends before its time without a byte has a line that brings no more.
        if (n == 0 && after + milliseconds(1) < readUntil) break;
        if (n == 0) continue;
        heard.add(std::span(chunk).first(n));
        takeFrames(heard);
        heard.trim();
        // A read that ended before its time ended on the gap after its last byte.
        quietFrom = n < chunk.size() && after + milliseconds(1) < readUntil ? after : after + kGap;
    }
    stray = stray || heard.total > heard.framed;
    overrun = std::clamp(Clock::now() - from - kGap, Clock::duration::zero(), allowance);
    state_.unsettled = false;
    return true;
}

// Reads on while a frame that began in what was heard so far is still coming, so that a
// reply whose head came while it was owed is that reply however long its tail takes. True
// when its bytes stopped for the gap: the line is quiet.
bool TelegramLink::readUnderway(Heard& heard) {
    const size_t begunBefore = heard.bytes.size() - heard.scanned;
    for (;;) {
        const size_t missing =
            bytesToComplete(std::span(heard.bytes).subspan(heard.scanned), begunBefore);
        if (missing == 0) return false;
        std::array<uint8_t, sizeof(ReplyFrame::bytes)> chunk{};
        const size_t n = line_.readWithin(std::span(chunk).first(std::min(missing, chunk.size())),
                                          platform::SerialPort::kIntervalTimeoutMs);
        if (n == 0) return true;
        heard.add(std::span(chunk).first(n));
    }
}

// Marks the sound frames heard from where the last look ended as come and counts their
// bytes; the next look starts after the last frame found, so that a frame still coming in is
// looked at again.
void TelegramLink::takeFrames(Heard& heard) {
    const auto bytes = std::span<const uint8_t>(heard.bytes);
    for (size_t i = heard.scanned; i < bytes.size();) {
        ReplyFormat format{};
        const size_t length = soundFrameAt(bytes.subspan(i), format);
        if (length == 0) {
            ++i;
            continue;
        }
        state_.owed.arrived(bytes.subspan(i, length), format);
        ++state_.droppedReplies;
        heard.framed += length;
        i += length;
        heard.scanned = i;
    }
}

int32_t TelegramLink::awaitAnswer(const ExpectedReply& expected, Clock::time_point headBy,
                                  bool stray, ReplyFrame& reply) {
    for (int dropped = 0;; ++dropped) {
        ReplyFormat came = expected.format;
        Clock::time_point headAt{};
        if (int32_t r = readFrame(expected.format, headBy, reply, came, headAt); r != ComErrNo) {
            // A frame broken off or spoilt may have more of it, or another, behind it.
            const bool nothing = r == ComErrTimeout1 && reply.length == 0;
            state_.leftOver = !nothing;
            // Of its reply nothing came, or nothing it can tell from the other bytes that
            // came just before: it may still come, after a later request went out.
            if (nothing || stray) owe(expected);
            return damaged(r);
        }
        // Whether a reply was still owed is judged by when its head came.
        state_.owed.expire(headAt);
        const auto frame = reply.frame();
        if (couldAnswer(frame, came, expected)) {
            // It may be a late reply a read takes for its own (the same registers' values
            // read before): then the read's own reply may still come.
            if (state_.owed.arrived(frame, came)) owe(expected);
            return ComErrNo;
        }
        state_.owed.arrived(frame, came);
        ++state_.droppedReplies;
        stray = true;
        if (dropped == kMaxDroppedReplies) {
            owe(expected);
            return damaged(ComErrTimeout1);
        }
    }
}

// A reply that has not come when its request gives up may begin to come until another whole
// head time-out and the gap have passed.
void TelegramLink::owe(const ExpectedReply& request) {
    state_.owed.add(request, Clock::now() + kGap + headTimeout(request.format));
}

// A frame of the other format counts only when it is sound: it is then another request's
// reply; anything else is a wrong start.
int32_t TelegramLink::readFrame(ReplyFormat format, Clock::time_point headBy, ReplyFrame& frame,
                                ReplyFormat& came, Clock::time_point& headAt) {
    frame.length = 0;
    const size_t head = headOf(format);
    if (Clock::now() < headBy)
        frame.length = line_.readWithin(std::span(frame.bytes).first(head), msUntil(headBy));
    headAt = Clock::now();
    if (frame.length < head) return ComErrTimeout1;
    if (startsAs(format, frame.bytes)) return readBody(format, frame);
    const ReplyFormat other = otherThan(format);
    if (!startsAs(other, frame.bytes) || readBody(other, frame) != ComErrNo)
        return ComErrStartPattern;
    came = other;
    return ComErrNo;
}

// The rest of a frame whose start is in frame, up to the length its head gives.
int32_t TelegramLink::readBody(ReplyFormat format, ReplyFrame& frame) {
    auto& b = frame.bytes;
    auto readUpTo = [&](size_t end) {
        frame.length += line_.read(std::span(b).subspan(frame.length, end - frame.length));
        return frame.length == end;
    };
    if (frame.length < headOf(format) && !readUpTo(headOf(format))) return ComErrTimeout2;
    const size_t length = announcedLength(format, b);
    if (format == ReplyFormat::Register && length < kMinRegisterReply) return ComErrDataLength;
    if (!readUpTo(length)) return ComErrTimeout2;
    return sumFits(format, frame.frame()) ? ComErrNo : ComErrCRC;
}

}  // namespace varnak::comctl
