#pragma once
// The expected terminal list (coupler table 8) as a rail stores it: from register 1 one
// word per listed terminal, then 0xFFFF. It lists at most as many terminals as the
// station's own list (table 9) holds; a list that fills all of them has, as table 9, no
// end mark.
#include <cstdint>
#include <optional>
#include <vector>

#include "model/device_register_model.h"

namespace varnak {

class clsTable;

inline constexpr int32_t kTerminalListMaxWords = kActualTerminalListLast;

// The words the table takes: 64, fewer on a table with fewer registers after register 0.
int32_t terminalListCapacity(clsTable& table);

// The stored list's words up to its end mark or, where the words fill the whole capacity,
// all of them. nullopt when the registers hold no list: no end mark and a 0 among them
// (the zeros of a table never written).
std::optional<std::vector<int32_t>> storedTerminalList(clsTable& table);

}  // namespace varnak
