#include "comctl/telegram_link.h"

#include <array>
#include <chrono>
#include <optional>

#include "comctl/QZcomOCX.h"

using namespace qzcom;

namespace varnak::comctl {
namespace {

using Clock = std::chrono::steady_clock;

constexpr uint8_t kRegisterStart[2] = {0x02, 0xFD};
constexpr uint8_t kProcessDataStart = 0x70;
constexpr size_t kRegisterHead = 3;
constexpr size_t kProcessDataHead = 2;
constexpr size_t kMinRegisterReply = 12;
constexpr uint8_t kWriteFlag = 0x80;

// A line that never falls quiet is not waited on longer than the slowest whole reply
// (516 bytes at 9600 baud) takes.
constexpr auto kLongestSettle = std::chrono::milliseconds(1000);

size_t headOf(ReplyFormat format) {
    return format == ReplyFormat::Register ? kRegisterHead : kProcessDataHead;
}

bool startsAs(ReplyFormat format, const ReplyFrame& f) {
    if (format == ReplyFormat::ProcessData) return f.bytes[0] == kProcessDataStart;
    return f.bytes[0] == kRegisterStart[0] && f.bytes[1] == kRegisterStart[1];
}

using EchoedBytes = std::array<uint8_t, 5>;

// Station, count, rail position, table (write flag aside) and first register.
EchoedBytes echoedBytes(std::span<const uint8_t> frame) {
    return {frame[4], frame[5], frame[7], static_cast<uint8_t>(frame[8] & ~kWriteFlag), frame[9]};
}

bool sameAddress(const EchoedBytes& a, const EchoedBytes& b) {
    return a[0] == b[0] && a[2] == b[2] && a[3] == b[3] && a[4] == b[4];
}

// A write is acknowledged by a reply to its registers with its count or a count of 0,
// carrying the values, or none.
bool acknowledges(const ReplyFrame& reply, const EchoedBytes& write) {
    const EchoedBytes r = echoedBytes(reply.bytes);
    return sameAddress(r, write) && (r[1] == write[1] || r[1] == 0);
}

bool flagged(const ReplyFrame& reply) {
    return (reply.bytes[8] & kWriteFlag) != 0;
}

// Register replies echo the request's address bytes. A write's reply is known by them
// alone. A read's refusal carries the write flag, need not echo the count and comes with
// values or without; but a flagged reply that would acknowledge the write made just before
// is that write's late or repeated acknowledgement.
bool answers(const ReplyFrame& reply, std::span<const uint8_t> request,
             const std::optional<EchoedBytes>& lastWrite) {
    const EchoedBytes r = echoedBytes(reply.bytes);
    const EchoedBytes asked = echoedBytes(request);
    if (!sameAddress(r, asked)) return false;
    if ((request[8] & kWriteFlag) != 0) return acknowledges(reply, asked);
    if (flagged(reply)) return !(lastWrite && acknowledges(reply, *lastWrite));
    return r[1] == asked[1];
}

}  // namespace

int32_t TelegramLink::sendTelegram(std::span<const uint8_t> telegram) {
    settle();
    // A pseudo-terminal or a plain RS232 adapter has no RTS to switch; the telegram still
    // goes out.
    if (rs485_) line_.setRts(true);
    line_.purge();
    const size_t written = line_.write(telegram);
    line_.drain();
    // RTS goes off also after a short write: a transmitter left keyed jams the bus for
    // every station until the next successful telegram.
    if (rs485_) line_.setRts(false);
    return written == telegram.size() ? ComErrNo : damaged(ComErrSendTel);
}

// Reads and discards until nothing arrives for the gap that ends a reply, so that the rest
// of a late or cut reply is not taken for the head of the next one.
void TelegramLink::settle() {
    if (!state_.unsettled) return;
    state_.unsettled = false;
    std::array<uint8_t, 64> discarded{};
    const auto giveUp = Clock::now() + kLongestSettle;
    while (line_.readWithin(discarded, platform::SerialPort::kIntervalTimeoutMs) > 0 &&
           Clock::now() < giveUp) {
    }
}

int32_t TelegramLink::awaitReply(ReplyFormat format, std::span<const uint8_t> request,
                                 ReplyFrame& reply) {
    const int32_t result = awaitAnswer(format, request, reply);
    // A write's acknowledgement may still come, or come again, while the next request waits.
    const bool write = format == ReplyFormat::Register && (request[8] & kWriteFlag) != 0;
    state_.lastWrite = write ? std::optional(echoedBytes(request)) : std::nullopt;
    return result;
}

int32_t TelegramLink::awaitAnswer(ReplyFormat format, std::span<const uint8_t> request,
                                  ReplyFrame& reply) {
    for (int dropped = 0;; ++dropped) {
        bool otherFormat = false;
        if (int32_t r = readFrame(format, reply, otherFormat); r != ComErrNo) return damaged(r);
        if (otherFormat) {
            // Another request's reply, whatever it says.
        } else if (format == ReplyFormat::ProcessData ||
                   answers(reply, request, state_.lastWrite)) {
            return ComErrNo;
        } else if (flagged(reply) && state_.lastWrite && acknowledges(reply, *state_.lastWrite)) {
            // That write has had its acknowledgement: a second such reply is a refusal.
            state_.lastWrite.reset();
        }
        ++state_.droppedReplies;
        if (dropped == kMaxDroppedReplies) return damaged(ComErrTimeout1);
    }
}

// A frame of the other format counts only when it is sound: it is then another request's
// reply; anything else is a wrong start.
int32_t TelegramLink::readFrame(ReplyFormat format, ReplyFrame& frame, bool& otherFormat) {
    frame.length = line_.read(std::span(frame.bytes).first(headOf(format)));
    if (frame.length < headOf(format)) return ComErrTimeout1;
    if (startsAs(format, frame)) return readBody(format, frame);
    const ReplyFormat other =
        format == ReplyFormat::Register ? ReplyFormat::ProcessData : ReplyFormat::Register;
    if (!startsAs(other, frame) || readBody(other, frame) != ComErrNo) return ComErrStartPattern;
    otherFormat = true;
    return ComErrNo;
}

// The rest of a frame whose start is in frame, up to the length its head gives.
int32_t TelegramLink::readBody(ReplyFormat format, ReplyFrame& frame) {
    auto& b = frame.bytes;
    auto readUpTo = [&](size_t end) {
        frame.length += line_.read(std::span(b).subspan(frame.length, end - frame.length));
        return frame.length == end;
    };
    if (format == ReplyFormat::ProcessData) {
        const size_t length = 2 * size_t{b[1]} + 6;
        if (!readUpTo(length)) return ComErrTimeout2;
        const auto sum = static_cast<uint8_t>(byteSum(std::span(b).first(length - 1)));
        return sum == b[length - 1] ? ComErrNo : ComErrCRC;
    }
    if (frame.length < kRegisterHead && !readUpTo(kRegisterHead)) return ComErrTimeout2;
    const size_t length = b[2];
    if (length < kMinRegisterReply) return ComErrDataLength;
    if (!readUpTo(length)) return ComErrTimeout2;
    const uint16_t sum = static_cast<uint16_t>(b[length - 2] | b[length - 1] << 8);
    return byteSum(std::span(b).first(length - 2)) == sum ? ComErrNo : ComErrCRC;
}

}  // namespace varnak::comctl
