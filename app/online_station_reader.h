#pragma once
// Reads the connected station while going online: the coupler's terminal list and
// identification registers, and from them a rail built of device descriptions with one
// terminal per list entry. No windows: the main window shows the result.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

// The terminal list's read and the end terminal added behind the last terminal found.
#include "online/station_terminal_list.h"

namespace varnak {

class clsCoupler;

// Coupler kinds (identification register 246, low byte) whose terminal bus needs no end
// terminal.
inline constexpr int32_t kCouplerKindQP = 2;
inline constexpr int32_t kCouplerKindQI = 32;

// The name of an intelligent terminal of type number n with register 29 of its channel
// table 0 (its name extension).
std::string intelligentTerminalName(int32_t typeNumber, int32_t nameExtension);
// The name of a digital terminal from its list word; nullopt when no row matches.
std::optional<std::string> digitalTerminalName(int32_t listWord);

// A position of the station's terminal list that came online without a terminal of its
// own description or the fallback's.
struct EmptyPosition {
    int32_t position = 0;
    std::string typeName;  // the name the station's list gave
    // kStoreOk: it holds an empty terminal (no type, no channels), because neither the
    // type's description nor the fallback description is usable. Otherwise the store's
    // refusal to insert a terminal there: the rail ends before this position.
    int32_t storeResult = 0;
};

struct [[nodiscard]] StationReadResult {
    // 0 when the station was read; otherwise the control's result code of the read that
    // failed (terminal list after every attempt, or identification).
    int32_t result = 0;
    std::shared_ptr<clsCoupler> rail;  // the online rail; null on failure
    std::string couplerTypeName;
    // In rail order; going online names them.
    std::vector<EmptyPosition> emptyPositions;
};

// Reads the station at the context's station address through the register tables and
// builds the online rail. The context's online rail is not touched.
StationReadResult fReadOnlineStation();

// The message naming each empty position and why, one line each, in the current language.
std::string emptyPositionsMessage(const std::vector<EmptyPosition>& positions);

}  // namespace varnak
