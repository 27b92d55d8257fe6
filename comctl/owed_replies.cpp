#include "comctl/owed_replies.h"

namespace varnak::comctl {
namespace {

using EchoedBytes = std::array<uint8_t, 5>;

// A line that loses one request after another keeps no more than this many owed; the oldest
// goes first.
constexpr size_t kMaxOwed = 64;

constexpr size_t kProcessDataStation = 3;

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

}  // namespace

ExpectedReply expectedReply(ReplyFormat format, std::span<const uint8_t> request) {
    ExpectedReply e;
    e.format = format;
    if (format == ReplyFormat::ProcessData) {
        e.station = request[kProcessDataStation];
        return e;
    }
    e.echoed = echoedBytes(request);
    e.station = e.echoed[0];
    e.write = flagged(request);
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

bool mistakable(const ExpectedReply& owed, const ExpectedReply& next) {
    if (owed.format != next.format) return false;
    if (next.format == ReplyFormat::ProcessData) return true;
    return (owed.write || next.write) && sameRegisters(owed.echoed, next.echoed);
}

void OwedReplies::add(const ExpectedReply& request, Clock::time_point until) {
    if (owed_.size() == kMaxOwed) owed_.erase(owed_.begin());
    owed_.push_back({request, until});
}

void OwedReplies::expire(Clock::time_point now) {
    std::erase_if(owed_, [&](const Owed& o) { return o.until <= now; });
}

bool OwedReplies::arrived(std::span<const uint8_t> frame, ReplyFormat format) {
    const auto found = std::find_if(owed_.begin(), owed_.end(), [&](const Owed& o) {
        return couldAnswer(frame, format, o.request);
    });
    if (found == owed_.end()) return false;
    owed_.erase(found);
    return true;
}

}  // namespace varnak::comctl
