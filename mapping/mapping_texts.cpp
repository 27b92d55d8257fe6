#include "mapping/mapping_texts.h"

namespace varnak {

std::string mappingCellMessageText(MappingCellMessage message, int languageNr) {
    struct Texts {
        const char* german;
        const char* english;
    };
    auto pick = [languageNr](Texts t) {
        return std::string(languageNr == 1 ? t.english : t.german);
    };
    switch (message) {
        case MappingCellMessage::None:
            return {};
        case MappingCellMessage::OtherImage:
            return "Diese Adresse kann nur im anderen Prozeßabbild manipuliert werden !";
        case MappingCellMessage::ImageRange:
            return pick({"Gültiger Bereich zwischen 0..3 ", "Only image (0..3) valid"});
        case MappingCellMessage::ByteRange:
            return pick(
                {"Gültige Byte-Adresse zwischen 0..255 ", "Valid byte-adress between 0..255"});
        case MappingCellMessage::BitRange:
            return pick({"Gültige Bit-Adresse zwischen 0..7 ", "Valid bit-adress between 0..7"});
        case MappingCellMessage::NotExisting:
            return pick({"Nicht vorhanden ", "Not existing "});
        case MappingCellMessage::NotMapped:
            return "Not mapped !";
    }
    return {};
}

std::string withValues(std::string text, std::initializer_list<std::string> values) {
    // One pass, so that a value holding "%2" stays as it is.
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        const size_t n =
            i + 1 < text.size() ? static_cast<size_t>(text[i + 1] - '1') : values.size();
        if (text[i] == '%' && n < values.size()) {
            out += *(values.begin() + n);
            ++i;
        } else {
            out += text[i];
        }
    }
    return out;
}

}  // namespace varnak
