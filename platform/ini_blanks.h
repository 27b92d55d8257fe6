#pragma once
// Blanks as the profile files know them: the blank and the tab, around names, inside
// section brackets, around "=" and around values.
#include <string_view>

namespace varnak::ini {

inline bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

inline std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

}  // namespace varnak::ini
