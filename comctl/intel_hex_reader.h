#pragma once
// Reads a firmware file in Intel HEX format into a 1 MB memory image, picks the flash
// geometry from the descriptor the image carries and marks the sectors the file writes.
// The file is read twice: the first pass finds the descriptor, the second marks sectors.
#include <cstdint>
#include <functional>
#include <istream>
#include <memory>
#include <string>
#include <vector>

#include "comctl/flash_geometry.h"

namespace varnak::comctl {

// Result codes of reading; 0 is success.
enum HexCode : int32_t {
    HexCannotOpen = 1,
    HexCountPass2 = 4865,
    HexChecksumPass2 = 4866,
    HexExtendedPass2 = 4867,
    HexFirstDigit = 4868,
    HexSecondDigit = 4869,
    HexCount = 4870,
    HexChecksum = 4871,
    HexOutOfImage = 4872,
    HexExtended = 4873,
};

class FirmwareImage {
  public:
    static constexpr uint32_t kImageSize = 0x100000;
    // Start addresses and images must stay below what three address bytes reach.
    static constexpr uint32_t kAddressLimit = 0x1000000;

    // Opens the file for one pass; nullptr when it cannot be opened.
    using OpenPass = std::function<std::unique_ptr<std::istream>()>;

    FirmwareImage() : bytes_(kImageSize, 0xFF) {}

    [[nodiscard]] int32_t read(const std::string& path);
    [[nodiscard]] int32_t read(const OpenPass& open);

    uint8_t type() const { return type_; }
    uint32_t start() const { return start_; }
    // The geometry the file was read with (256-byte sectors for types 3 and 4).
    FlashGeometry geometry() const { return flashGeometry(type_); }
    const std::vector<uint8_t>& bytes() const { return bytes_; }
    std::vector<uint8_t>& bytes() { return bytes_; }
    // Whether the file wrote into sector index of the geometry it was read with.
    bool used(uint32_t index) const { return index < used_.size() && used_[index]; }
    uint32_t usedCount() const;

  private:
    [[nodiscard]] int32_t pass(std::istream& in, bool second);

    std::vector<uint8_t> bytes_;
    std::vector<uint8_t> used_;
    uint8_t type_ = 0;
    uint32_t start_ = 0;
    uint32_t highestBank_ = 0;
};

}  // namespace varnak::comctl
