#pragma once
// The shape of a reply frame in either telegram format: how it starts, how long its head
// says it is, and whether its closing sum fits.
#include <cstddef>
#include <cstdint>
#include <span>

namespace varnak::comctl {

enum class ReplyFormat { Register, ProcessData };

// Both telegram formats close with the sum of their bytes (register telegrams keep 16
// bits of it, process-data telegrams 8).
inline uint16_t byteSum(std::span<const uint8_t> bytes) {
    uint16_t sum = 0;
    for (uint8_t b : bytes) sum = static_cast<uint16_t>(sum + b);
    return sum;
}

inline constexpr uint8_t kRegisterWriteFlag = 0x80;
inline constexpr size_t kMinRegisterReply = 12;

// Bytes that must be in before the length of a frame is known.
size_t headOf(ReplyFormat format);
// The frame's start pattern; head holds at least headOf(format) bytes.
bool startsAs(ReplyFormat format, std::span<const uint8_t> head);
// The whole length the head gives; head holds at least headOf(format) bytes (a register
// head also its length byte).
size_t announcedLength(ReplyFormat format, std::span<const uint8_t> head);
// The closing sum of a whole frame.
bool sumFits(ReplyFormat format, std::span<const uint8_t> frame);

// The length of the sound frame in either format that starts bytes, when all of it is
// there; 0 when none starts there or it is not complete yet. A process-data frame counts
// only with ident and station byte 0, so that noise seldom passes for one.
size_t soundFrameAt(std::span<const uint8_t> bytes, ReplyFormat& format);

// How many more bytes the first frame in either format that begins in bytes before position
// startsBefore needs to be whole (its head first, when that is not in yet); 0 when no frame
// whose start fits either format is underway there.
size_t bytesToComplete(std::span<const uint8_t> bytes, size_t startsBefore);

}  // namespace varnak::comctl
