#pragma once
// The terminal-bus current balance of a rail: the coupler's supply figure less what the
// terminals draw, position by position, and the warning where it first runs short.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace varnak {

// The first rail position (1-based) at which the balance of the coupler's figure and the
// terminals' figures (consumers negative) falls below 0; nullopt when it never does. The
// sum is kept in 64 bits, so that damaged figures cannot wrap round into a false "enough".
std::optional<int32_t> fKBusShortPosition(int32_t couplerFigure,
                                          const std::vector<int32_t>& terminalFigures);

// The warning for that position; always German: the texts 180, 740 and 181 without the
// language offset.
std::string fKBusWarningText(int32_t position);

}  // namespace varnak
