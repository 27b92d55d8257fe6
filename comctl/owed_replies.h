#pragma once
// Requests that gave up on their reply while it may still come. A late reply can look like
// the answer of a later request: a process-data reply carries nothing of its request, and a
// register reply only the registers it answers. So the link keeps, for each request whose
// reply did not come or was refused, what its reply would look like and until when it can
// still begin to come, and a later request that could mistake it does not go out before it
// has come or can no longer come.
#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "comctl/reply_frames.h"

namespace varnak::comctl {

// What a reply must look like to answer one request: its format, its station and, for a
// register request, the bytes the reply echoes (station, count, rail position, table
// without the write flag, first register).
struct ExpectedReply {
    ReplyFormat format = ReplyFormat::Register;
    uint8_t station = 0;
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

// Whether the answer to next could be taken for a reply owed to owed: any process-data
// reply; a reply to the same registers when either is a write. A read's late values are the
// registers' values still, an instant older, for a read of them.
bool mistakable(const ExpectedReply& owed, const ExpectedReply& next);

class OwedReplies {
  public:
    using Clock = std::chrono::steady_clock;

    // A request whose reply may begin to come until the given time.
    void add(const ExpectedReply& request, Clock::time_point until);
    // Forgets the replies that can no longer come: those not begun by now.
    void expire(Clock::time_point now);

    // A frame came that the oldest owed reply it could be is taken to be: that one is owed
    // no longer. False when it could be none of them.
    bool arrived(std::span<const uint8_t> frame, ReplyFormat format);

    // Until when a reply may still begin to come that is owed to a request owedTo picks.
    template <typename Pick>
    std::optional<Clock::time_point> lastUntil(Pick owedTo) const {
        std::optional<Clock::time_point> until;
        for (const Owed& o : owed_)
            if (owedTo(o.request)) until = std::max(until.value_or(o.until), o.until);
        return until;
    }

  private:
    struct Owed {
        ExpectedReply request;
        Clock::time_point until;
    };

    std::vector<Owed> owed_;  // oldest first
};

}  // namespace varnak::comctl
