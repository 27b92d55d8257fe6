#include "model/device_register_model.h"

namespace varnak {

std::string mappingEntryText(const MappingEntry& e) {
    std::string text = std::to_string(e.byteOffset);
    if (!e.byteOriented) text += "." + std::to_string(e.bit);
    return text;
}

}  // namespace varnak
