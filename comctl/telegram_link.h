#pragma once
// Byte-level exchange of one telegram on the control's serial line. On an RS485 bus the
// transmitter is keyed with RTS for exactly the time the telegram is on the wire.
//
// A reply may come after its request has timed out, come twice, or come after the reply of
// the next request; read naively it would pass for the next request's answer. So replies are
// read as whole frames, a frame that answers another request is dropped while the wait goes
// on, after a time-out or a damaged reply the next request first waits for a quiet line, and
// a request that could mistake a reply still owed to an earlier one for its own goes out only
// once that reply has come or can no longer come (owed_replies.h).
#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "comctl/owed_replies.h"
#include "comctl/reply_frames.h"
#include "platform/serial_port.h"

namespace varnak::comctl {

// What one request leaves on the line for the next; the control keeps it as long as it
// keeps its port.
struct LineState {
    // A late or cut reply may still be on its way.
    bool unsettled = false;
    // Replies that came while a request waited for its own, or while the line settled, and
    // answered another one.
    uint64_t droppedReplies = 0;
    // Telegrams that went out whole or in part.
    uint64_t sentTelegrams = 0;
    // The last reply broke off or was spoilt: more of it, or another, may follow.
    bool leftOver = false;
    // Requests whose reply did not come, or came refused, while it may still come.
    OwedReplies owed;
};

// One reply frame as it came off the line (a register reply has at most 255 bytes, a
// process-data reply 516).
struct ReplyFrame {
    std::array<uint8_t, 600> bytes{};
    size_t length = 0;
    std::span<const uint8_t> frame() const { return std::span(bytes).first(length); }
};

// A reply frame that carries this many others before the answer is not waited on further.
inline constexpr int kMaxDroppedReplies = 16;

class TelegramLink {
  public:
    static constexpr int kDefaultTimeoutMs = 10;

    // timeoutMs is the line's reply time-out (per byte asked for and once more per read).
    TelegramLink(platform::SerialLine& line, bool rs485, LineState& state,
                 int timeoutMs = kDefaultTimeoutMs)
        : line_(line), rs485_(rs485), state_(state), timeoutMs_(timeoutMs) {}
    // For a single request on a line no earlier request of this link used.
    TelegramLink(platform::SerialLine& line, bool rs485, int timeoutMs = kDefaultTimeoutMs)
        : TelegramLink(line, rs485, own_, timeoutMs) {}
    TelegramLink(const TelegramLink&) = delete;
    TelegramLink& operator=(const TelegramLink&) = delete;

    // A register telegram no reply is awaited for: it goes out once the replies still owed to
    // requests of its station have come or can no longer come, and an unsettled line fell
    // quiet (or after a second). 0 or ComErrSendTel.
    [[nodiscard]] int32_t sendTelegram(std::span<const uint8_t> telegram);

    // Sends request and reads frames until one in format answers it (a register reply echoes
    // the request's station, rail position, table and first register, and a read's reply its
    // count), dropping the others. Before it goes out, the replies still owed to earlier
    // requests that it could mistake for its own come or run out, whatever arrives meanwhile
    // being read off and dropped; then the first reply that answers it is its own. After that
    // wait the line falls quiet: the quiet wait and the wait for the reply's head share the
    // head's time-out and the gap that ends a reply, the quiet wait taking no more than half
    // of that time-out beyond the gap; a line still busy then gets nothing (1).
    // 0 with the answer in reply, or ComErrSendTel, ComErrTimeout1, ComErrTimeout2,
    // ComErrStartPattern, ComErrDataLength or ComErrCRC, after which the line counts as
    // unsettled; a request of which nothing came, or nothing it can tell from other bytes
    // that came just before, counts as owing its reply.
    [[nodiscard]] int32_t exchange(ReplyFormat format, std::span<const uint8_t> request,
                                   ReplyFrame& reply);

    // The reply taken as the last request's answer, refused for its content: it may be
    // another's, so the request's own still counts as owed. Returns code.
    [[nodiscard]] int32_t refused(int32_t code);

    const LineState& state() const { return state_; }

  private:
    using Clock = std::chrono::steady_clock;
    // Picks the owed replies a telegram waits out.
    using OwedPick = std::function<bool(const ExpectedReply&)>;
    struct Heard;

    // A failure after which more may come: returns code and leaves the line unsettled.
    [[nodiscard]] int32_t damaged(int32_t code) {
        state_.unsettled = true;
        return code;
    }
    Clock::duration headTimeout(ReplyFormat format) const;
    [[nodiscard]] bool settle(const OwedPick& waitOut, Clock::duration allowance, bool& stray,
                              Clock::duration& overrun);
    [[nodiscard]] bool readUnderway(Heard& heard);
    void takeFrames(Heard& heard);
    [[nodiscard]] int32_t transmit(std::span<const uint8_t> telegram);
    [[nodiscard]] int32_t awaitAnswer(const ExpectedReply& expected, Clock::time_point headBy,
                                      bool stray, ReplyFrame& reply);
    void owe(const ExpectedReply& request);
    [[nodiscard]] int32_t readFrame(ReplyFormat format, Clock::time_point headBy, ReplyFrame& frame,
                                    ReplyFormat& came, Clock::time_point& headAt);
    [[nodiscard]] int32_t readBody(ReplyFormat format, ReplyFrame& frame);

    LineState own_;
    platform::SerialLine& line_;
    bool rs485_;
    LineState& state_;
    int timeoutMs_;
    ExpectedReply last_;  // of the last request sent
};

}  // namespace varnak::comctl
