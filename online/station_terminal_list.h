#pragma once
// The station's own terminal list (coupler table 9) as going online and the settings
// download read it, and where it disagrees with a rail of the project. Writing one
// terminal type's settings into another type corrupts that terminal's configuration, so
// the download compares before it writes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace varnak {

class clsCoupler;
class clsTable;

// How often the terminal list is read before the station counts as silent.
inline constexpr int kTerminalListAttempts = 5;

// A table that reads straight from the device, with nothing loaded from a file first.
std::shared_ptr<clsTable> deviceTable(int32_t position, int32_t table, int32_t lastRegister);

struct StationTerminalList {
    int32_t result = 0;  // of the last read; 0 when the list was read
    std::shared_ptr<clsTable> table;
};
// Registers 0-64 of table 9 (position 64 must come from the device too), read up to
// kTerminalListAttempts times until one read succeeds.
StationTerminalList readStationTerminalList();

// A rail position where the rail and the station's list disagree.
struct TerminalMismatch {
    int32_t position = 0;
    std::string railType;                // empty: the rail has no terminal there
    std::optional<int32_t> stationWord;  // nullopt: the station lists none there
    bool operator==(const TerminalMismatch&) const = default;
};

// Every position where the rail's terminal (by the word table 8 would give it) and the
// list word differ, in rail order. A rail whose last element is the end terminal is
// compared without it. An undescribed terminal is compared by the word the rail's own
// table 8 holds for it; a terminal whose word cannot be told never matches: what stands
// there cannot be told.
std::vector<TerminalMismatch> stationMismatches(clsCoupler& rail, clsTable& list);

// The question whether to write into the differing station, naming the first positions.
std::string stationMismatchQuestion(const std::vector<TerminalMismatch>& mismatches);

}  // namespace varnak
