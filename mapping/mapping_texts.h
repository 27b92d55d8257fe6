#pragma once
// The texts of the mapping routines and the editor's entry rules: string-table ids, and the
// messages the editor has always shown as fixed German and English wording.
#include <initializer_list>
#include <string>

namespace varnak {

// String-table ids.
inline constexpr int kTxtInputImage = 292;
inline constexpr int kTxtOutputImage = 293;
inline constexpr int kTxtMissingTable = 1882;
inline constexpr int kTxtPositionGap = 1883;
inline constexpr int kTxtTooManyEntries = 1884;
inline constexpr int kTxtTooManyChannelEntries = 1885;
inline constexpr int kTxtSerialDataBytes = 1886;
inline constexpr int kTxtTooManyTerminals = 1887;
inline constexpr int kTxtTerminalListBits = 1888;
inline constexpr int kTxtRailChanged = 1889;
inline constexpr int kTxtBadStoredTexts = 1890;
inline constexpr int kTxtBadStoredEntry = 1891;
inline constexpr int kTxtBadStoredImage = 1892;
inline constexpr int kTxtSerialChannelBits = 1895;
inline constexpr int kTxtTerminalListKept = 1896;
inline constexpr int kTxtUndescribedRefused = 1920;
inline constexpr int kTxtListUnread = 1931;

// The cell checks' messages, German and English.
enum class MappingCellMessage {
    None,
    OtherImage,   // the row's address is edited in the other image's grid
    ImageRange,   // image 0..3
    ByteRange,    // byte address 0..255
    BitRange,     // bit address 0..7
    NotExisting,  // a bit-oriented row has no control/status byte
    NotMapped,    // a reference column beyond the channel's entries
};
// The message in the language of LanguageNr (0 German, 1 English).
std::string mappingCellMessageText(MappingCellMessage message, int languageNr);

// The text with %1, %2, ... replaced by the values in order.
std::string withValues(std::string text, std::initializer_list<std::string> values);

}  // namespace varnak
