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

// The head of a reply may take the line's time-out per byte plus once more.
Clock::duration TelegramLink::headTimeout(ReplyFormat format) const {
    return milliseconds(int64_t{timeoutMs_} * static_cast<int64_t>(headOf(format) + 1));
}

int32_t TelegramLink::sendTelegram(std::span<const uint8_t> telegram) {
    bool stray = false;
    // Nothing answers such a telegram, so nothing can be mistaken for its answer: it goes
    // out after the longest settle also on a line that is still busy.
    resultNotExamined(settle(nullptr, Clock::now() + kLongestSettle, stray));
    return transmit(telegram);
}

int32_t TelegramLink::exchange(ReplyFormat format, std::span<const uint8_t> request,
                               ReplyFrame& reply) {
    const auto start = Clock::now();
    const ExpectedReply expected = expectedReply(format, request);
    const Clock::duration head = headTimeout(format);
    // A damaged reply is the request's own when no reply is owed that it could mistake,
    // unless it does not even start as a reply on a line that brought other bytes just
    // before (left over from the request before, or stray while it settled): then those may
    // have gone on, and its own may be still to come.
    bool stray = std::exchange(state_.leftOver, false);
    if (!settle(&expected, start + kGap + head / 2, stray)) {
        state_.leftOver = true;
        return ComErrTimeout1;
    }
    const Damage damage = state_.owed.owes(expected) ? Damage::MayBeAnother
                          : stray                    ? Damage::MayBeStray
                                                     : Damage::Own;
    // Whatever the wait before sending took beyond the gap is the reply's less.
    const auto overrun = std::max(Clock::duration::zero(), Clock::now() - start - kGap);
    if (int32_t r = transmit(request); r != ComErrNo) return r;
    return awaitAnswer(expected, Clock::now() + head - overrun, damage, reply);
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

// Reads and discards until nothing arrived for the gap that ends a reply, so that the rest
// of a late or cut reply is not taken for the head of the next one, and, up to sendBy, until
// no reply may still come that next could mistake and that is owed to a request that passed
// over a frame. Frames heard meanwhile are owed replies coming in; other bytes make stray.
// False when the line is still busy at sendBy: nothing is sent.
bool TelegramLink::settle(const ExpectedReply* next, Clock::time_point sendBy, bool& stray) {
    auto now = Clock::now();
    state_.owed.expire(now);
    const auto waitOutUntil = [&] { return next ? state_.owed.waitOutUntil(*next) : std::nullopt; };
    if (!state_.unsettled && !waitOutUntil()) return true;

    std::vector<uint8_t> heard;
    size_t scanned = 0, heardTotal = 0, framed = 0;
    auto quietFrom = state_.unsettled ? now + kGap : now;
    for (;;) {
        now = Clock::now();
        state_.owed.expire(now);
        const auto ready = std::max(quietFrom, waitOutUntil().value_or(now));
        if (ready <= now) break;
        if (now >= sendBy) {
            // Owed replies still to come are told apart in the reply's own wait; a line
            // still busy is not talked into.
            if (quietFrom <= now) break;
            state_.unsettled = true;
            return false;
        }
        const auto readUntil = std::min(ready, sendBy);
        std::array<uint8_t, 64> chunk{};
        const size_t n = line_.readWithin(chunk, msUntil(readUntil));
        const auto after = Clock::now();
        // A read that ends before its time without a byte has a line that brings no more.
        if (n == 0 && after + milliseconds(1) < readUntil) break;
        if (n == 0) continue;
        heard.insert(heard.end(), chunk.begin(), chunk.begin() + static_cast<ptrdiff_t>(n));
        heardTotal += n;
        scanned = takeFrames(heard, scanned, framed);
        if (scanned > 0 || heard.size() > kHeardKept) {
            const size_t drop =
                std::max(scanned, heard.size() - std::min(heard.size(), kHeardKept));
            heard.erase(heard.begin(), heard.begin() + static_cast<ptrdiff_t>(drop));
            scanned = 0;
        }
        // A read that ended before its time ended on the gap after its last byte.
        quietFrom = n < chunk.size() && after + milliseconds(1) < readUntil ? after : after + kGap;
    }
    stray = stray || heardTotal > framed;
    state_.unsettled = false;
    return true;
}

// Marks the sound frames from from on as come and adds their bytes to framed; returns where
// the next look starts (after the last frame found, so that a frame still coming in is looked
// at again).
size_t TelegramLink::takeFrames(std::span<const uint8_t> heard, size_t from, size_t& framed) {
    for (size_t i = from; i < heard.size();) {
        ReplyFormat format{};
        const size_t length = soundFrameAt(heard.subspan(i), format);
        if (length == 0) {
            ++i;
            continue;
        }
        state_.owed.arrived(heard.subspan(i, length), format);
        ++state_.droppedReplies;
        framed += length;
        i += length;
        from = i;
    }
    return from;
}

int32_t TelegramLink::awaitAnswer(const ExpectedReply& expected, Clock::time_point headBy,
                                  Damage damage, ReplyFrame& reply) {
    // A frame that could be its answer was taken for an owed reply instead.
    bool passedOver = false;
    for (int dropped = 0;; ++dropped) {
        ReplyFormat came = expected.format;
        if (int32_t r = readFrame(expected.format, headBy, reply, came); r != ComErrNo) {
            // A frame broken off or spoilt may have more of it, or another, behind it.
            const bool nothing = r == ComErrTimeout1 && reply.length == 0;
            state_.leftOver = !nothing;
            // Of its reply nothing came, or nothing it can tell from another's: it may still
            // come, after a later request went out.
            const bool another = damage == Damage::MayBeAnother ||
                                 (damage == Damage::MayBeStray && r == ComErrStartPattern);
            if (nothing || another || passedOver) owe(expected, passedOver);
            return damaged(r);
        }
        const auto frame = reply.frame();
        state_.owed.expire(Clock::now());
        if (!couldAnswer(frame, came, expected)) {
            state_.owed.arrived(frame, came);
        } else if (state_.owed.arrivedInPlaceOf(frame, came, expected)) {
            passedOver = true;
        } else {
            // It may be a late reply a read takes for its own (the same registers' values
            // read before, or a write's acknowledgement without the write flag): then the
            // read's own reply may still come.
            if (state_.owed.arrived(frame, came)) owe(expected, false);
            return ComErrNo;
        }
        ++state_.droppedReplies;
        if (dropped == kMaxDroppedReplies) {
            owe(expected, passedOver);
            return damaged(ComErrTimeout1);
        }
    }
}

// A reply that has not come when its request gives up may come until another whole head
// time-out and the gap have passed. One whose request passed over a frame that might have
// been it is owed only as long as the next request waits before it goes out, so that a
// reply that came and was passed over costs one request, not every one after it.
void TelegramLink::owe(const ExpectedReply& request, bool passedOver) {
    const Clock::duration head = headTimeout(request.format);
    state_.owed.add(request, Clock::now() + kGap + (passedOver ? head / 2 : head), passedOver);
}

// A frame of the other format counts only when it is sound: it is then another request's
// reply; anything else is a wrong start.
int32_t TelegramLink::readFrame(ReplyFormat format, Clock::time_point headBy, ReplyFrame& frame,
                                ReplyFormat& came) {
    frame.length = 0;
    const size_t head = headOf(format);
    if (Clock::now() < headBy)
        frame.length = line_.readWithin(std::span(frame.bytes).first(head), msUntil(headBy));
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
