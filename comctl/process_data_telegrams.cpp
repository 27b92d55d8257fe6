#include "comctl/process_data_telegrams.h"

#include "comctl/QZcomOCX.h"

using namespace qzcom;

namespace varnak::comctl {
namespace {

constexpr uint8_t kRequestStart = 0x50;
constexpr uint8_t kIdent = 0x00;
constexpr size_t kWordsAt = 5;

}  // namespace

std::vector<uint8_t> processDataRequest(int32_t multiPoint, std::span<const int32_t> words) {
    std::vector<uint8_t> t{kRequestStart, static_cast<uint8_t>(words.size()), kIdent,
                           static_cast<uint8_t>(multiPoint)};
    for (int32_t w : words) {
        t.push_back(static_cast<uint8_t>(w & 0xFF));
        t.push_back(static_cast<uint8_t>((w >> 8) & 0xFF));
    }
    t.push_back(static_cast<uint8_t>(byteSum(t)));
    return t;
}

int32_t exchangeProcessData(TelegramLink& link, int32_t multiPoint, int32_t& status,
                            int32_t sendLength, std::span<const int32_t> send, int32_t& recLength,
                            std::span<int32_t> received) {
    if (sendLength < 0 || sendLength > kMaxProcessWords) return ComErrDataLength;
    if (static_cast<size_t>(sendLength) > send.size()) return ComErrDataBuff;
    const std::vector<uint8_t> request =
        processDataRequest(multiPoint, send.first(static_cast<size_t>(sendLength)));
    ReplyFrame reply;
    if (int32_t r = link.exchange(ReplyFormat::ProcessData, request, reply); r != ComErrNo)
        return r;
    const auto& b = reply.bytes;
    const size_t words = b[1];
    // A reply refused for these may have been another's: the exchange's own may still come.
    if (b[3] != 0) return link.refused(ComErrMultipoint);
    if (b[2] != request[2]) return link.refused(ComErrIdent);
    if (words > received.size()) return ComErrDataBuff;

    for (size_t i = 0; i < words; ++i)
        received[i] = b[kWordsAt + 2 * i] | b[kWordsAt + 2 * i + 1] << 8;
    status = b[4];
    recLength = static_cast<int32_t>(words);
    return ComErrNo;
}

}  // namespace varnak::comctl
