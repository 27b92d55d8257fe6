#include "comctl/register_telegrams.h"

#include <algorithm>
#include <array>

#include "comctl/QZcomOCX.h"

using namespace qzcom;

namespace varnak::comctl {
namespace {

constexpr size_t kValuesAt = 10;

void appendWord(std::vector<uint8_t>& out, uint32_t word) {
    out.push_back(static_cast<uint8_t>(word & 0xFF));
    out.push_back(static_cast<uint8_t>((word >> 8) & 0xFF));
}

// The coupler leaves its firmware on this block and answers no more in this format.
bool isEnterBootloader(const RegisterAddress& a, std::span<const int32_t> values) {
    static constexpr std::array<uint16_t, 4> kBlock{3, 1, 0x5C3B, 0};
    if (a.railPos != 0 || a.table != 99 || a.offset != 0 || a.size != 4) return false;
    for (size_t i = 0; i < kBlock.size(); ++i)
        if (static_cast<uint16_t>(values[i]) != kBlock[i]) return false;
    return true;
}

// Addresses travel as single bytes; anything that would wrap is refused before sending.
[[nodiscard]] int32_t checkRequest(const RegisterAddress& a, size_t capacity) {
    if (a.size < 0 || static_cast<size_t>(a.size) > capacity) return ComErrDataBuff;
    if (a.railPos < 0 || a.railPos > 255) return ComErrTargetNr;
    if (a.table < 0 || a.table > 127) return ComErrTableNr;
    if (a.offset < 0 || a.offset > 255 || a.size > 256 - a.offset) return ComErrOffset;
    return ComErrNo;
}

std::vector<uint8_t> telegram(const RegisterAddress& a, int32_t first, uint8_t count, bool write,
                              std::span<const int32_t> values) {
    std::vector<uint8_t> t;
    t.reserve(kMinRegisterReply + 2 * values.size());
    t.push_back(0xFD);
    t.push_back(0x02);
    t.push_back(static_cast<uint8_t>(kMinRegisterReply + 2 * values.size()));
    t.push_back(0x00);
    t.push_back(static_cast<uint8_t>(a.multiPoint));
    t.push_back(count);
    t.push_back(0x52);
    t.push_back(static_cast<uint8_t>(a.railPos));
    t.push_back(static_cast<uint8_t>(a.table | (write ? kRegisterWriteFlag : 0)));
    t.push_back(static_cast<uint8_t>(first));
    for (int32_t v : values) appendWord(t, static_cast<uint32_t>(v));
    appendWord(t, byteSum(t));
    return t;
}

// One telegram for the registers from first on; a read stores into received only when the
// whole reply is sound.
[[nodiscard]] int32_t exchange(TelegramLink& link, const RegisterAddress& a, int32_t first,
                               bool write, std::span<const int32_t> sent,
                               std::span<int32_t> received) {
    const std::vector<uint8_t> request =
        write ? writeRequest(a, first, sent)
              : readRequest(a, first, static_cast<int32_t>(received.size()));
    ReplyFrame reply;
    if (int32_t r = link.exchange(ReplyFormat::Register, request, reply); r != ComErrNo) return r;
    if (write) return ComErrNo;

    const auto& b = reply.bytes;
    if (b[8] & kRegisterWriteFlag) return ComErrRegResponse;
    // A reply must carry exactly the registers asked for: anything else is not copied, and
    // the read's own reply may still come.
    const size_t count = b[5];
    if (count != received.size() || reply.length != kMinRegisterReply + 2 * count)
        return link.refused(ComErrDataLength);
    for (size_t i = 0; i < count; ++i)
        received[i] = b[kValuesAt + 2 * i] | b[kValuesAt + 2 * i + 1] << 8;
    return ComErrNo;
}

template <typename Send>
[[nodiscard]] int32_t chunked(const RegisterAddress& a, Send send) {
    for (int32_t done = 0; done < a.size; done += kMaxRegistersPerTelegram) {
        const int32_t count = std::min(kMaxRegistersPerTelegram, a.size - done);
        if (int32_t r = send(done, count); r != ComErrNo) return r;
    }
    return ComErrNo;
}

}  // namespace

std::vector<uint8_t> readRequest(const RegisterAddress& a, int32_t first, int32_t count) {
    return telegram(a, first, static_cast<uint8_t>(count), false, {});
}

std::vector<uint8_t> writeRequest(const RegisterAddress& a, int32_t first,
                                  std::span<const int32_t> values) {
    return telegram(a, first, static_cast<uint8_t>(values.size()), true, values);
}

int32_t readRegisters(TelegramLink& link, const RegisterAddress& a, std::span<int32_t> values) {
    if (a.size == 0) return ComErrNo;
    if (int32_t r = checkRequest(a, values.size()); r != ComErrNo) return r;
    return chunked(a, [&](int32_t done, int32_t count) {
        return exchange(link, a, a.offset + done, false, {},
                        values.subspan(static_cast<size_t>(done), static_cast<size_t>(count)));
    });
}

int32_t writeRegisters(TelegramLink& link, const RegisterAddress& a,
                       std::span<const int32_t> values) {
    if (a.size == 0) return ComErrNo;
    if (int32_t r = checkRequest(a, values.size()); r != ComErrNo) return r;
    if (isEnterBootloader(a, values))
        return link.sendTelegram(writeRequest(a, a.offset, values.first(4)));
    return chunked(a, [&](int32_t done, int32_t count) {
        return exchange(link, a, a.offset + done, true,
                        values.subspan(static_cast<size_t>(done), static_cast<size_t>(count)), {});
    });
}

}  // namespace varnak::comctl
