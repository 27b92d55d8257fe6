#pragma once
// Project and rail names become folder names. Beyond what the project object refuses
// (empty, ".", "/", "\" and control characters), names that no file system of the
// program's users would take are refused too: ":", "*", "?", quotes, "<", ">" and "|".
#include <string>

namespace varnak {

bool validProjectName(const std::string& name);
bool validRailName(const std::string& name);

// A rail name as the rail dialogs take it: blanks trimmed at both ends, then cut to its
// first 20 characters (never inside a UTF-8 character).
inline constexpr size_t kRailNameLength = 20;
std::string railNameFromInput(const std::string& input);

}  // namespace varnak
