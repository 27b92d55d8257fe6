#pragma once
// Firmware files for the simulated station's boot loader: memory contents written as
// Intel HEX text, with the descriptor a coupler's firmware carries.
#include <cstdint>
#include <map>
#include <string>
#include <vector>

namespace varnak::test {

// One record with its checksum, upper-case: ":LLAAAATTDD..CC".
std::string hexRecord(uint8_t type, uint16_t address, const std::vector<uint8_t>& data);

class HexImage {
  public:
    void put(uint32_t address, const std::vector<uint8_t>& bytes);
    void put(uint32_t address, uint8_t byte) { bytes_[address] = byte; }
    // The descriptor in bank (type word, check word, sector-size word) and the start
    // address at flashSize - 0x84.
    void putDescriptor(uint32_t bank, uint16_t type, bool validCheck = true);
    void putStart(uint32_t flashSize, uint32_t start);
    const std::map<uint32_t, uint8_t>& bytes() const { return bytes_; }

    // Records of up to 16 bytes; a new bank gets an extended linear address record (or an
    // extended segment address record), then the end-of-file record.
    std::string text(bool segmentRecords = false) const;

  private:
    std::map<uint32_t, uint8_t> bytes_;
};

// A firmware of flash type (0 to 5) starting at start, with a recognisable pattern in the
// sectors of the file's geometry whose offsets are given.
HexImage firmware(uint8_t type, uint32_t start, const std::vector<uint32_t>& sectorOffsets);
// Flash size and the sector size a file is read with, by type.
uint32_t testFlashSize(uint8_t type);
uint32_t testSectorSize(uint8_t type);
// The pattern byte of firmware() at image offset.
uint8_t patternByte(uint32_t offset);

}  // namespace varnak::test
