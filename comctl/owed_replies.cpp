#include "comctl/owed_replies.h"

#include <algorithm>

namespace varnak::comctl {
namespace {

using EchoedBytes = std::array<uint8_t, 5>;

// A line that loses one request after another keeps no more than this many owed; the oldest
// goes first.
constexpr size_t kMaxOwed = 64;

// Station, count, rail position, table (write flag aside) and first register.
EchoedBytes echoedBytes(std::span<const uint8_t> frame) {
    return {frame[4], frame[5], frame[7], static_cast<uint8_t>(frame[8] & ~kRegisterWriteFlag),
            frame[9]};
}

bool sameRegisters(const EchoedBytes& a, const EchoedBytes& b) {
    return a[0] == b[0] && a[2] == b[2] && a[3] == b[3] && a[4] == b[4];
}

bool flagged(std::span<const uint8_t> frame) {
    return (frame[8] & kRegisterWriteFlag) != 0;
}

// A write is acknowledged by a reply to its registers with its count or a count of 0.
bool acknowledges(const EchoedBytes& reply, const EchoedBytes& write) {
    return sameRegisters(reply, write) && (reply[1] == write[1] || reply[1] == 0);
}

// Whether the answer to next could be taken for a reply owed to owed: any process-data
// reply; a reply to the same registers when either is a write. A read's late values are the
// registers' values still, an instant older, for a read of them.
bool mistakable(const ExpectedReply& owed, const ExpectedReply& next) {
    if (owed.format != next.format) return false;
    if (next.format == ReplyFormat::ProcessData) return true;
    return (owed.write || next.write) && sameRegisters(owed.echoed, next.echoed);
}

}  // namespace

ExpectedReply expectedReply(ReplyFormat format, std::span<const uint8_t> request) {
    ExpectedReply e;
    e.format = format;
    if (format == ReplyFormat::Register) {
        e.echoed = echoedBytes(request);
        e.write = (request[8] & kRegisterWriteFlag) != 0;
    }
    return e;
}

bool couldAnswer(std::span<const uint8_t> frame, ReplyFormat frameFormat,
                 const ExpectedReply& expected) {
    if (frameFormat != expected.format) return false;
    if (frameFormat == ReplyFormat::ProcessData) return true;
    const EchoedBytes r = echoedBytes(frame);
    if (expected.write) return acknowledges(r, expected.echoed);
    return sameRegisters(r, expected.echoed) && (flagged(frame) || r[1] == expected.echoed[1]);
}

void OwedReplies::add(const ExpectedReply& request, Clock::time_point until, bool passedOver) {
    if (owed_.size() == kMaxOwed) owed_.erase(owed_.begin());
    owed_.push_back({request, until, passedOver});
}

void OwedReplies::expire(Clock::time_point now) {
    std::erase_if(owed_, [&](const Owed& o) { return o.until <= now; });
}

template <typename Match>
bool OwedReplies::removeFirst(Match match) {
    const auto found = std::find_if(owed_.begin(), owed_.end(), match);
    if (found == owed_.end()) return false;
    owed_.erase(found);
    return true;
}

bool OwedReplies::arrived(std::span<const uint8_t> frame, ReplyFormat format) {
    return removeFirst([&](const Owed& o) { return couldAnswer(frame, format, o.request); });
}

bool OwedReplies::arrivedInPlaceOf(std::span<const uint8_t> frame, ReplyFormat format,
                                   const ExpectedReply& next) {
    return removeFirst([&](const Owed& o) {
        if (!mistakable(o.request, next) || !couldAnswer(frame, format, o.request)) return false;
        // A read's own values carry no write flag; a device's acknowledgement may carry none
        // either, but a reply without it is the read's.
        return !(format == ReplyFormat::Register && !next.write && o.request.write &&
                 !flagged(frame));
    });
}

bool OwedReplies::owes(const ExpectedReply& next) const {
    return std::any_of(owed_.begin(), owed_.end(),
                       [&](const Owed& o) { return mistakable(o.request, next); });
}

std::optional<OwedReplies::Clock::time_point> OwedReplies::waitOutUntil(
    const ExpectedReply& next) const {
    std::optional<Clock::time_point> until;
    for (const Owed& o : owed_)
        if (o.passedOver && mistakable(o.request, next))
            until = std::max(until.value_or(o.until), o.until);
    return until;
}

}  // namespace varnak::comctl
