#pragma once
// Project and rail names become folder names. Beyond what the project object refuses
// (empty, ".", "/", "\" and control characters), names that no file system of the
// program's users would take are refused too: ":", "*", "?", quotes, "<", ">" and "|".
#include <string>

namespace varnak {

bool validProjectName(const std::string& name);
bool validRailName(const std::string& name);

// The first character of name that a project or rail name may not hold; 0 when there is
// none (also for the empty name, which is refused as empty).
char refusedNameCharacter(const std::string& name);

// What a refused rail name gets: text 267 when it is empty, else the character named.
std::string railNameRefusal(const std::string& name);
// The second part of the refused project name's message: text 371 ("without a dot") when
// the name is empty or holds a dot, else the character named.
std::string projectNameRetry(const std::string& name);

// A rail name as the rail dialogs take it: blanks trimmed at both ends, cut to its first
// 20 characters (never inside a UTF-8 character), and trimmed again where the cut left a
// blank at its end.
inline constexpr size_t kRailNameLength = 20;
std::string railNameFromInput(const std::string& input);

}  // namespace varnak
