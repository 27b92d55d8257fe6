#pragma once
// Text helpers shared by the readers of profile files and user input.
#include <string>
#include <string_view>

namespace varnak {

// Blanks trimmed at both ends (only the blank character, as the profile reader does).
std::string_view trimBlankView(std::string_view text);
std::string trimBlanks(std::string_view text);

// A caption as plain text: the accelerator marks go ("Sichern &unter..." gives "Sichern
// unter..."), a doubled one stands for the ampersand itself.
std::string withoutAccelerators(std::string_view caption);

// ASCII letters upper-cased; other bytes (UTF-8 sequences among them) stay as they are.
std::string upperAscii(std::string text);

}  // namespace varnak
