#include "comctl/reply_frames.h"

#include <algorithm>

namespace varnak::comctl {
namespace {

constexpr uint8_t kRegisterStart[2] = {0x02, 0xFD};
constexpr uint8_t kProcessDataStart = 0x70;

// Whether bytes, as far as they go, can be the start of a frame in format.
bool mayStartAs(ReplyFormat format, std::span<const uint8_t> bytes) {
    const auto fits = [&](size_t at, auto ok) { return bytes.size() <= at || ok(bytes[at]); };
    if (format == ReplyFormat::ProcessData)
        return bytes[0] == kProcessDataStart && fits(2, [](uint8_t b) { return b == 0; }) &&
               fits(3, [](uint8_t b) { return b == 0; });
    return bytes[0] == kRegisterStart[0] &&
           fits(1, [](uint8_t b) { return b == kRegisterStart[1]; }) &&
           fits(2, [](uint8_t b) { return b >= kMinRegisterReply; });
}

}  // namespace

size_t headOf(ReplyFormat format) {
    return format == ReplyFormat::Register ? 3 : 2;
}

bool startsAs(ReplyFormat format, std::span<const uint8_t> head) {
    if (format == ReplyFormat::ProcessData) return head[0] == kProcessDataStart;
    return head[0] == kRegisterStart[0] && head[1] == kRegisterStart[1];
}

size_t announcedLength(ReplyFormat format, std::span<const uint8_t> head) {
    return format == ReplyFormat::ProcessData ? 2 * size_t{head[1]} + 6 : head[2];
}

bool sumFits(ReplyFormat format, std::span<const uint8_t> frame) {
    const size_t n = frame.size();
    if (format == ReplyFormat::ProcessData)
        return static_cast<uint8_t>(byteSum(frame.first(n - 1))) == frame[n - 1];
    return byteSum(frame.first(n - 2)) == static_cast<uint16_t>(frame[n - 2] | frame[n - 1] << 8);
}

size_t soundFrameAt(std::span<const uint8_t> bytes, ReplyFormat& format) {
    for (ReplyFormat f : {ReplyFormat::Register, ReplyFormat::ProcessData}) {
        if (bytes.size() < headOf(f) || !startsAs(f, bytes)) continue;
        const size_t length = announcedLength(f, bytes);
        if (length > bytes.size()) continue;
        if (f == ReplyFormat::Register && length < kMinRegisterReply) continue;
        if (f == ReplyFormat::ProcessData && (bytes[2] != 0 || bytes[3] != 0)) continue;
        if (!sumFits(f, bytes.first(length))) continue;
        format = f;
        return length;
    }
    return 0;
}

size_t bytesToComplete(std::span<const uint8_t> bytes, size_t startsBefore) {
    for (size_t i = 0; i < std::min(startsBefore, bytes.size()); ++i) {
        const auto rest = bytes.subspan(i);
        for (ReplyFormat f : {ReplyFormat::Register, ReplyFormat::ProcessData}) {
            if (!mayStartAs(f, rest)) continue;
            if (rest.size() < headOf(f)) return headOf(f) - rest.size();
            const size_t length = announcedLength(f, rest);
            if (length > rest.size()) return length - rest.size();
        }
    }
    return 0;
}

}  // namespace varnak::comctl
