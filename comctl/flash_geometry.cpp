#include "comctl/flash_geometry.h"

namespace varnak::comctl {

FlashGeometry flashGeometry(uint8_t type) {
    switch (type) {
        case 2:
            return {0x80000, 128};
        case 3:
            return {0x80000, 256};
        case 4:
            return {0x40000, 256};
        case 5:
            return {0x100000, 128};
        case 6:
            return {0x80000, 128};
        case 7:
            return {0x40000, 128};
        default:
            return {0x20000, 128};
    }
}

bool isSmallFlash(uint8_t type) {
    return type <= 1;
}

bool usesHalvedMap(uint8_t type) {
    return type == 6 || type == 7;
}

uint8_t switchedType(uint8_t type) {
    return type == 3 ? 6 : type == 4 ? 7 : type;
}

uint32_t sectorSizeWordOffset(uint8_t type) {
    switch (type) {
        case 3:
        case 6:
            return 0x7FF76;
        case 4:
        case 7:
            return 0x3FF76;
        default:
            return 0;
    }
}

}  // namespace varnak::comctl
