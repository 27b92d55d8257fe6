#include "comctl/intel_hex_reader.h"

#include <algorithm>
#include <array>
#include <fstream>
#include <string_view>

namespace varnak::comctl {
namespace {

constexpr size_t kMaxDataBytes = 32;
// Lines are taken in pieces of at most this many characters; the longest record needs 75.
constexpr size_t kLinePiece = 97;
constexpr uint32_t kDescriptorType = 0xFF78;
constexpr uint32_t kDescriptorCheck = 0xFF7A;
constexpr uint32_t kStartFromTop = 0x84;
constexpr uint32_t kSegment = 0x10000;
constexpr uint32_t kHighestSegment = 15;

enum RecordType : uint8_t { Data = 0, EndOfFile = 1, ExtendedSegment = 2, ExtendedLinear = 4 };

struct Record {
    uint8_t count = 0;
    uint16_t address = 0;
    uint8_t type = 0;
    std::array<uint8_t, kMaxDataBytes> data{};
};

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

uint16_t word(const std::vector<uint8_t>& b, uint32_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

// Column 0 (the colon) is not looked at; a line ending early reads as a digit that is no
// hex digit.
[[nodiscard]] int32_t parseRecord(std::string_view line, bool second, Record& r) {
    size_t column = 1;
    uint8_t sum = 0;
    auto next = [&](uint8_t& out) -> int32_t {
        const int high = column < line.size() ? hexDigit(line[column]) : -1;
        if (high < 0) return HexFirstDigit;
        const int low = column + 1 < line.size() ? hexDigit(line[column + 1]) : -1;
        if (low < 0) return HexSecondDigit;
        column += 2;
        out = static_cast<uint8_t>(high << 4 | low);
        sum = static_cast<uint8_t>(sum + out);
        return 0;
    };
    uint8_t high = 0, low = 0, check = 0;
    if (int32_t e = next(r.count)) return e;
    if (r.count > kMaxDataBytes) return second ? HexCountPass2 : HexCount;
    if (int32_t e = next(high)) return e;
    if (int32_t e = next(low)) return e;
    r.address = static_cast<uint16_t>(high << 8 | low);
    if (int32_t e = next(r.type)) return e;
    for (size_t i = 0; i < r.count; ++i)
        if (int32_t e = next(r.data[i])) return e;
    if (int32_t e = next(check)) return e;
    if (sum != 0) return second ? HexChecksumPass2 : HexChecksum;
    return 0;
}

// The next piece of a line, its line end stripped. The rest of an overlong line reads as a
// line of its own, so a file without line ends is never held whole.
bool nextLine(std::istream& in, std::string& line) {
    line.clear();
    char c = 0;
    bool any = false;
    while (line.size() < kLinePiece && in.get(c)) {
        any = true;
        if (c == '\n') break;
        line.push_back(c);
    }
    while (!line.empty() && line.back() == '\r') line.pop_back();
    return any;
}

}  // namespace

int32_t FirmwareImage::read(const std::string& path) {
    return read([&]() -> std::unique_ptr<std::istream> {
        auto in = std::make_unique<std::ifstream>(path);
        if (!*in) return nullptr;
        return in;
    });
}

int32_t FirmwareImage::read(const OpenPass& open) {
    // Nothing of an earlier file may leak into this one.
    std::fill(bytes_.begin(), bytes_.end(), 0xFF);
    used_.clear();
    type_ = 0;
    start_ = 0;
    highestBank_ = 0;

    std::unique_ptr<std::istream> first = open();
    if (!first) return HexCannotOpen;
    if (int32_t r = pass(*first, false); r != 0) return r;

    const uint32_t bank = highestBank_ * kSegment;
    const uint16_t type = word(bytes_, bank + kDescriptorType);
    const uint16_t check = word(bytes_, bank + kDescriptorCheck);
    if (static_cast<uint16_t>(type + check) == 0xFFFF) {
        // No geometry is known for higher codes: sending with a guessed one would
        // overwrite the wrong sectors.
        if (type > kHighestFileFlashType) return HexOutOfImage;
        type_ = static_cast<uint8_t>(type);
    }
    const FlashGeometry g = geometry();
    used_.assign(g.sectorCount(), 0);
    std::fill_n(bytes_.begin(), g.flashSize, 0xFF);

    std::unique_ptr<std::istream> second = open();
    if (!second) return HexCannotOpen;
    if (int32_t r = pass(*second, true); r != 0) return r;

    const uint32_t at = g.flashSize - kStartFromTop;
    start_ = static_cast<uint32_t>(bytes_[at] | bytes_[at + 1] << 8 | bytes_[at + 2] << 16) |
             static_cast<uint32_t>(bytes_[at + 3]) << 24;
    // The address travels in three bytes whose lowest holds only bit 7.
    if (start_ % g.sectorSize != 0 || start_ >= kAddressLimit ||
        kAddressLimit - start_ < g.flashSize)
        return HexOutOfImage;
    used_[g.sectorCount() - 2] = 0;
    return 0;
}

int32_t FirmwareImage::pass(std::istream& in, bool second) {
    uint32_t segment = 0;
    std::string line;
    while (nextLine(in, line)) {
        if (line.empty()) continue;
        Record r;
        if (int32_t e = parseRecord(line, second, r)) return e;
        switch (r.type) {
            case Data: {
                if (r.count == 0) break;
                const uint32_t target = segment * kSegment + r.address;
                if (segment > kHighestSegment || target + r.count > kImageSize)
                    return HexOutOfImage;
                std::copy_n(r.data.begin(), r.count, bytes_.begin() + target);
                if (!second) break;
                const int shift = geometry().sectorShift();
                const uint32_t firstSector = target >> shift;
                const uint32_t lastSector = (target + r.count - 1) >> shift;
                if (lastSector >= used_.size()) return HexOutOfImage;
                used_[firstSector] = used_[lastSector] = 0xFF;
                break;
            }
            case EndOfFile:
                return 0;
            case ExtendedSegment:
                if (r.count != 2 || (r.data[0] & 0x0F) != 0 || r.data[1] != 0)
                    return second ? HexExtendedPass2 : HexExtended;
                segment = r.data[0] >> 4;
                break;
            case ExtendedLinear:
                if (r.count != 2) return second ? HexExtendedPass2 : HexExtended;
                if (r.data[0] != 0 || r.data[1] > kHighestSegment) return HexOutOfImage;
                segment = r.data[1];
                highestBank_ = std::max(highestBank_, segment);
                break;
            default:
                break;
        }
    }
    return 0;
}

uint32_t FirmwareImage::usedCount() const {
    return static_cast<uint32_t>(std::count(used_.begin(), used_.end(), 0xFF));
}

}  // namespace varnak::comctl
