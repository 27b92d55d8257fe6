#pragma once
// The program's string table: resource id k (0..1999) is the German text of id k,
// 2000 + k the English text of the same id.
#include <string>

namespace varnak {

constexpr int kEnglishBase = 2000;

// The text of a resource id, or the empty text when the table has none.
std::string LoadResString(int resourceId);
// Whether the table holds a text for that resource id.
bool HasResString(int resourceId);

}  // namespace varnak
