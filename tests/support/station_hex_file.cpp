#include "tests/support/station_hex_file.h"

#include <cstdio>

namespace varnak::test {

std::string hexRecord(uint8_t type, uint16_t address, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> bytes{static_cast<uint8_t>(data.size()),
                               static_cast<uint8_t>(address >> 8),
                               static_cast<uint8_t>(address & 0xFF), type};
    bytes.insert(bytes.end(), data.begin(), data.end());
    uint8_t sum = 0;
    for (uint8_t b : bytes) sum = static_cast<uint8_t>(sum + b);
    bytes.push_back(static_cast<uint8_t>(-sum));
    std::string line = ":";
    char pair[3];
    for (uint8_t b : bytes) {
        std::snprintf(pair, sizeof pair, "%02X", b);
        line += pair;
    }
    return line;
}

void HexImage::put(uint32_t address, const std::vector<uint8_t>& bytes) {
    for (size_t i = 0; i < bytes.size(); ++i) bytes_[address + static_cast<uint32_t>(i)] = bytes[i];
}

void HexImage::putDescriptor(uint32_t bank, uint16_t type, bool validCheck) {
    const uint32_t at = bank * 0x10000 + 0xFF74;
    const uint16_t check = static_cast<uint16_t>(validCheck ? 0xFFFF - type : 0x1234);
    put(at, {0x00, 0x00, 0x00, 0x00, static_cast<uint8_t>(type), static_cast<uint8_t>(type >> 8),
             static_cast<uint8_t>(check), static_cast<uint8_t>(check >> 8)});
}

void HexImage::putStart(uint32_t flashSize, uint32_t start) {
    put(flashSize - 0x84, {static_cast<uint8_t>(start), static_cast<uint8_t>(start >> 8),
                           static_cast<uint8_t>(start >> 16), static_cast<uint8_t>(start >> 24)});
}

std::string HexImage::text(bool segmentRecords) const {
    std::string out;
    uint32_t bank = 0;
    auto it = bytes_.begin();
    while (it != bytes_.end()) {
        const uint32_t address = it->first;
        if (address >> 16 != bank) {
            bank = address >> 16;
            out += segmentRecords
                       ? hexRecord(2, 0, {static_cast<uint8_t>(bank << 4), 0})
                       : hexRecord(4, 0,
                                   {static_cast<uint8_t>(bank >> 8), static_cast<uint8_t>(bank)});
            out += '\n';
        }
        std::vector<uint8_t> data;
        uint32_t next = address;
        while (it != bytes_.end() && it->first == next && data.size() < 16 &&
               (next >> 16) == bank && !(data.size() > 0 && (next & 0xF) == 0)) {
            data.push_back(it->second);
            ++it;
            ++next;
        }
        out += hexRecord(0, static_cast<uint16_t>(address & 0xFFFF), data) + "\n";
    }
    return out + hexRecord(1, 0, {}) + "\n";
}

uint32_t testFlashSize(uint8_t type) {
    switch (type) {
        case 2:
        case 3:
            return 0x80000;
        case 4:
            return 0x40000;
        case 5:
            return 0x100000;
        default:
            return 0x20000;
    }
}

uint32_t testSectorSize(uint8_t type) {
    return type == 3 || type == 4 ? 256 : 128;
}

uint8_t patternByte(uint32_t offset) {
    return static_cast<uint8_t>((offset * 7 + (offset >> 8) * 13 + 1) & 0xFF);
}

HexImage firmware(uint8_t type, uint32_t start, const std::vector<uint32_t>& sectorOffsets) {
    HexImage image;
    const uint32_t sector = testSectorSize(type);
    for (uint32_t offset : sectorOffsets)
        for (uint32_t i = 0; i < sector; ++i) image.put(offset + i, patternByte(offset + i));
    const uint32_t flash = testFlashSize(type);
    image.putDescriptor((flash - 1) >> 16, type);
    image.putStart(flash, start);
    return image;
}

}  // namespace varnak::test
