#pragma once
// Byte-level exchange of one telegram on the control's serial line. On an RS485 bus the
// transmitter is keyed with RTS for exactly the time the telegram is on the wire.
//
// A reply may come after its request has timed out, come twice, or come after the reply of
// the next request; read naively it would pass for the next request's answer. So replies are
// read as whole frames, a frame that answers another request is dropped while the wait goes
// on, and after a time-out or a damaged reply the next request first waits for a quiet line.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>

#include "platform/serial_port.h"

namespace varnak::comctl {

// Both telegram formats close with the sum of their bytes (register telegrams keep 16
// bits of it, process-data telegrams 8).
inline uint16_t byteSum(std::span<const uint8_t> bytes) {
    uint16_t sum = 0;
    for (uint8_t b : bytes) sum = static_cast<uint16_t>(sum + b);
    return sum;
}

// What one request leaves on the line for the next; the control keeps it as long as it
// keeps its port.
struct LineState {
    // A late or cut reply may still be on its way.
    bool unsettled = false;
    // Replies that came while a request waited for its own and answered another one.
    uint64_t droppedReplies = 0;
    // The echoed bytes (station, count, rail position, table, first register) of the last
    // register write, kept through the next request: a reply with the write flag that would
    // acknowledge that write is its late or repeated acknowledgement (dropped once), any
    // other flagged reply to a read is the read's refusal, with values or without.
    std::optional<std::array<uint8_t, 5>> lastWrite;
};

enum class ReplyFormat { Register, ProcessData };

// One reply frame as it came off the line (a register reply has at most 255 bytes, a
// process-data reply 516).
struct ReplyFrame {
    std::array<uint8_t, 600> bytes{};
    size_t length = 0;
};

// A reply frame that carries this many others before the answer is not waited on further.
inline constexpr int kMaxDroppedReplies = 16;

class TelegramLink {
  public:
    TelegramLink(platform::SerialLine& line, bool rs485, LineState& state)
        : line_(line), rs485_(rs485), state_(state) {}
    // For a single request on a line no earlier request of this link used.
    TelegramLink(platform::SerialLine& line, bool rs485) : TelegramLink(line, rs485, own_) {}
    TelegramLink(const TelegramLink&) = delete;
    TelegramLink& operator=(const TelegramLink&) = delete;

    // Lets an unsettled line fall quiet, discards stale input, writes the telegram and waits
    // until it has left the line, so that the reply time-out starts after the last byte.
    // 0 or ComErrSendTel.
    int32_t sendTelegram(std::span<const uint8_t> telegram);

    // Reads frames until one in format answers request (a register reply echoes the
    // request's station, rail position, table and first register, and a read's reply its
    // count), dropping the others; each wait for a frame has the line's full time-out. 0 with the
    // answer in reply, or ComErrTimeout1, ComErrTimeout2, ComErrStartPattern, ComErrDataLength or
    // ComErrCRC, after which the line counts as unsettled.
    int32_t awaitReply(ReplyFormat format, std::span<const uint8_t> request, ReplyFrame& reply);

    // A reply whose content turned out damaged: returns code and leaves the line unsettled.
    int32_t damaged(int32_t code) {
        state_.unsettled = true;
        return code;
    }

    const LineState& state() const { return state_; }

  private:
    void settle();
    int32_t awaitAnswer(ReplyFormat format, std::span<const uint8_t> request, ReplyFrame& reply);
    int32_t readFrame(ReplyFormat format, ReplyFrame& frame, bool& otherFormat);
    int32_t readBody(ReplyFormat format, ReplyFrame& frame);

    LineState own_;
    platform::SerialLine& line_;
    bool rs485_;
    LineState& state_;
};

}  // namespace varnak::comctl
