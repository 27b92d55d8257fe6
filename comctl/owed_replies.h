#pragma once
// Requests that gave up on their reply while it may still come. A late reply can look like
// the answer of a later request: a process-data reply carries nothing of its request, and a
// register reply only the registers it answers. So the link keeps, for each request that
// timed out, what its reply would look like and until when it can still come, and passes
// over a frame that such a reply could be rather than take it for another request's answer.
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "comctl/reply_frames.h"

namespace varnak::comctl {

// What a reply must look like to answer one request: its format and, for a register
// request, the bytes the reply echoes (station, count, rail position, table without the
// write flag, first register).
struct ExpectedReply {
    ReplyFormat format = ReplyFormat::Register;
    std::array<uint8_t, 5> echoed{};
    bool write = false;
};

ExpectedReply expectedReply(ReplyFormat format, std::span<const uint8_t> request);

// Whether a sound frame in frameFormat could answer expected. Every process-data frame could
// answer every exchange. A register reply must echo the request's station, rail position,
// table and first register; then a write takes it with the write's count or 0, flagged or
// not, with values or without, and a read takes it with the read's count or, flagged, as
// its refusal whatever it carries.
bool couldAnswer(std::span<const uint8_t> frame, ReplyFormat frameFormat,
                 const ExpectedReply& expected);

class OwedReplies {
  public:
    using Clock = std::chrono::steady_clock;

    // A request whose reply may come until the given time. One that passed over a frame
    // that might have been its own is waited out by the next request it could mislead.
    void add(const ExpectedReply& request, Clock::time_point until, bool passedOver);
    // Forgets the replies that can no longer come.
    void expire(Clock::time_point now);

    // A frame came that the oldest owed reply it could be is taken to be: that one is owed
    // no longer. False when it could be none of them.
    bool arrived(std::span<const uint8_t> frame, ReplyFormat format);
    // The same, but only for an owed reply the answer to next could be mistaken for (any
    // process-data reply; a reply to next's registers when either is a write, and a read
    // tells a write's acknowledgement from its own values by the write flag): true when the
    // frame is passed over as that late reply.
    bool arrivedInPlaceOf(std::span<const uint8_t> frame, ReplyFormat format,
                          const ExpectedReply& next);

    // Whether a reply is owed that the answer to next could be mistaken for.
    bool owes(const ExpectedReply& next) const;
    // Until when next waits before it goes out: the last moment a reply may still come that
    // is owed to a request that passed over a frame and that next could mistake.
    std::optional<Clock::time_point> waitOutUntil(const ExpectedReply& next) const;

    size_t size() const { return owed_.size(); }

  private:
    struct Owed {
        ExpectedReply request;
        Clock::time_point until;
        bool passedOver;
    };
    template <typename Match>
    bool removeFirst(Match match);

    std::vector<Owed> owed_;  // oldest first
};

}  // namespace varnak::comctl
