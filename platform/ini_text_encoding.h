#pragma once
// Byte encodings of INI files. Inside the program all text is UTF-8; files without a BOM
// that are not valid UTF-8 are Windows-1252 (the code page the files were written in on
// their original machines).
#include <string>
#include <string_view>

namespace varnak::ini {

enum class TextEncoding { Utf8, Windows1252 };

// Whole-text check: well-formed UTF-8 (no overlong forms, no surrogates, at most U+10FFFF).
bool isValidUtf8(std::string_view bytes);

// Replaces every byte that does not start a well-formed UTF-8 sequence by U+FFFD, so that
// text handed to a UTF-8 file can never turn the whole file into something else.
std::string sanitizeUtf8(std::string_view bytes);

// Windows-1252 to UTF-8. The five bytes the code page leaves undefined map to the C1
// controls of the same number so that they come back unchanged when encoded again.
std::string windows1252ToUtf8(std::string_view bytes);

// UTF-8 to Windows-1252; a character the code page cannot hold becomes "?" (a malformed
// byte too).
std::string utf8ToWindows1252(std::string_view text);

// Number of characters (code points) in UTF-8 text, and the byte length of its first
// count characters.
size_t utf8Length(std::string_view text);
size_t utf8PrefixBytes(std::string_view text, size_t count);

}  // namespace varnak::ini
