#pragma once
// The flash chips a coupler may carry, by the type code its firmware image names.
#include <cstdint>

namespace varnak::comctl {

// Type codes 6 and 7 never come from a file: the boot loader turns 3 into 6 and 4 into 7
// when it finds the chip that writes 128-byte sectors.
inline constexpr uint8_t kHighestFileFlashType = 5;

struct FlashGeometry {
    uint32_t flashSize = 0x20000;
    uint32_t sectorSize = 128;

    uint32_t sectorCount() const { return flashSize / sectorSize; }
    int sectorShift() const { return sectorSize == 256 ? 8 : 7; }
};

FlashGeometry flashGeometry(uint8_t type);

// Types 0 and 1: the last sector carries the directory of the sectors written.
bool isSmallFlash(uint8_t type);
// Types 6 and 7 send 128-byte sectors of a map built with 256-byte sectors.
bool usesHalvedMap(uint8_t type);
// The type after the boot loader reported the 128-byte-sector chip (3 -> 6, 4 -> 7).
uint8_t switchedType(uint8_t type);
// Where the sector size travels in the image for types 3, 4, 6 and 7; 0 for the others.
uint32_t sectorSizeWordOffset(uint8_t type);

}  // namespace varnak::comctl
