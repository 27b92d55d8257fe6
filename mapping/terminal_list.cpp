#include "mapping/terminal_list.h"

#include <algorithm>

#include "model/clsTable.h"

namespace varnak {

int32_t terminalListCapacity(clsTable& table) {
    return std::clamp(table.TableLen(), 0, kTerminalListMaxWords);
}

std::optional<std::vector<int32_t>> storedTerminalList(clsTable& table) {
    const int32_t capacity = terminalListCapacity(table);
    std::vector<int32_t> words;
    for (int32_t r = 1; r <= capacity; ++r) {
        const int32_t word = table.ConfRegisterValue(r) & 0xFFFF;
        if (word == kTerminalListEnd) return words;
        words.push_back(word);
    }
    const bool full = !words.empty() && std::none_of(words.begin(), words.end(), isTerminalListEnd);
    if (full) return words;
    return std::nullopt;
}

}  // namespace varnak
