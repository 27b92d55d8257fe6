#pragma once
// Checks and conversions of the texts a user types for register values (hexadecimal,
// decimal, signed decimal, binary), the hexadecimal and binary texts of register values,
// and the two INI-specific hexadecimal forms of the register-table files.
//
// Every check trims blanks (only the blank character, not tabs) at both ends first and
// never fails. A conversion that cannot give a number answers std::nullopt; callers treat
// that like a failed check.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace varnak {

// True when, after trimming, upper-casing and dropping a "0X" prefix (see below), every
// character is 0-9, A-F or a blank. An empty text is True.
//
// The prefix rule shared by gfIsHexString, gfHexToValue and gfHexValToLong: when "0X"
// occurs anywhere in the trimmed, upper-cased text, its FIRST two characters are dropped
// and the rest trimmed again. An "0X" that is not at the start so leaves a letter X
// behind, which then fails ("A0X1" is not hexadecimal).
bool gfIsHexString(std::string_view text);
// True when every character of the trimmed text is 0-9. Empty is True.
bool gfIsDecString(std::string_view text);
// As gfIsDecString, but the first character may be "-". Empty and "-" alone are True.
bool gfIsSignedDecString(std::string_view text);
// True when every character of the trimmed text is "0", "1" or a blank. Empty is True.
bool gfIsBinString(std::string_view text);

// The value of a hexadecimal text as a number literal of 16 or 32 bits: blanks anywhere
// are ignored, the first character that is not a hex digit ends the digits, no digits
// give 0. Up to four digits read as a 16-bit two's-complement value (FFFF gives -1),
// five to eight as a 32-bit one. nullopt for more than eight significant digits.
// Callers that need a 16-bit register word AND the result with 65535.
std::optional<double> gfHexToValue(std::string_view text);
// The value of a binary text read from its last character towards its first: blanks are
// skipped without taking a bit position, "0" and "1" take the next position, any other
// character ends the reading (the digits to its right count). Empty gives 0. nullopt
// only when the digits exceed what a floating-point number holds.
std::optional<double> gfBinToValue(std::string_view text);
// 16 characters "0"/"1", bit 15 first; higher bits are ignored.
std::string gfValueToBin(int32_t value);
// "0x", then the value shifted right by 8 with its sign in upper-case hexadecimal (at
// least two digits), then the low byte in two digits. 0..65535 give exactly four digits
// (255 gives "0x00FF"); above 65535 the high part grows; a negative value gives an
// eight-digit high part (-1 gives "0x" and ten F), which gfHexValToLong cannot read back.
std::string gfValueToHex(int32_t value);
// INI check: the trimmed, upper-cased text begins with "0X" and every further character
// is 0-9 or A-F (no blanks). "0X" alone passes.
bool gfIsHexValue(std::string_view text);
// INI conversion: after trimming, upper-casing and the "0X" prefix rule, the digits as an
// unsigned number of at most 32 bits, stored as a signed 32-bit value (0xFFFF gives
// 65535, 0xFFFFFFFF gives -1). nullopt for no digits, a non-hex character (blanks
// included) or more than 32 bits.
std::optional<int32_t> gfHexValToLong(std::string_view text);
// 8 characters "0"/"1", bit 0 first (1 gives "10000000"); bits above 7 are ignored.
std::string gfByteToBitString(int32_t value);

// The text a register value is saved as in a register-table file. 0..65535 and other
// positive values as gfValueToHex writes them; a negative value (a signed field stored
// unmasked) as its eight-digit two's complement ("0xFFFFFFFF" for -1), the one form of
// it that gfHexValToLong reads back identically.
std::string iniRegisterText(int32_t value);

// A number taken to a 32-bit integer, halves to the even neighbour (2.5 gives 2, 3.5
// gives 4). nullopt outside the 32-bit range or for a value that is not finite.
std::optional<int32_t> roundHalfToEven(double value);

}  // namespace varnak
