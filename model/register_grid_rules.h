#pragma once
// How every register grid shows a register value and takes a typed one: the data types of
// the type selector, the display text of a value per type, and the check and conversion
// of an entered text. Plain functions: the grids and their tests call them alike.
#include <cstdint>
#include <string>
#include <string_view>

namespace varnak {

// The type selector's items in their order; their captions are the texts 820 to 824.
enum class RegisterDataType : int {
    Hex = 0,
    HexAlternative = 1,
    Signed = 2,
    Unsigned = 3,
    Binary = 4
};
inline constexpr int kRegisterDataTypeCount = 5;
inline constexpr int kTxtRegisterDataTypeFirst = 820;
// The type of a selector index; an index outside the items shows hexadecimal.
RegisterDataType registerDataTypeAt(int index);

// Display of a register word (the low 16 bits of the value).
// "0x", a blank, then the high and the low byte as upper-case hex digits: "0x 12AB".
std::string hex_ary(int32_t value);
// The word read as a signed 16-bit number (65535 gives -1).
int32_t dez_int_ary(int32_t value);
// The word as it is (0..65535).
int32_t dez_uint_ary(int32_t value);
// Sixteen binary digits, most significant first, a blank before each group of four:
// " 0000 0000 0000 0101" for 5.
std::string bin_ary(int32_t value);
// The cell text of a value in a type.
std::string registerDisplayText(RegisterDataType type, int32_t value);

// What becomes of a typed text: Accepted with the register word to write; Refused when a
// character does not belong to the type (the user is told, the old cell comes back);
// Restored when the characters pass but give no number of the type's range (the old cell
// comes back without a word).
enum class EntryVerdict { Accepted, Refused, Restored };
struct RegisterEntry {
    EntryVerdict verdict = EntryVerdict::Restored;
    int32_t value = 0;  // 0..65535 when Accepted
    bool operator==(const RegisterEntry&) const = default;
};
RegisterEntry checkRegisterEntry(RegisterDataType type, std::string_view text);

// The message of a refused entry, German in both languages.
inline constexpr const char* kRefusedEntryMessage =
    "Fehlerhafte Eingabe !\n\nDer urspr\xC3\xBCngliche Eintrag wird wiederhergestellt !";

}  // namespace varnak
