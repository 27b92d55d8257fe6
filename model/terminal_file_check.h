#pragma once
// Whether a terminal file of a rail folder can be loaded as a terminal of that rail: a
// file the rail cannot use stays on disk as it is, so that the user can mend or restore
// it; its saves would fill what it lacks with defaults and hide the damage for good.
#include <cstdint>
#include <string>

namespace varnak {

class clsTerminal;

// True when the file named by a rail folder's listing is the one a terminal's save
// writes: "C<coupler id>T<terminal id>.TCF" with the rail's coupler id, exactly so
// spelled. A file of any other spelling would be left behind as a second copy by the
// first save, or be written over by the save of the terminal that owns that id.
bool isOwnTerminalFileName(const std::string& name, int32_t couplerID);

// True when the file read into the terminal holds everything a save of that terminal
// writes: its type, its [Config] with a rail position of 1 ..
// kMaxTerminalsPerRail, every mapping key of every channel and, with a register model,
// every register of every channel table. A file cut short or replaced by other bytes
// lacks some of them.
bool terminalFileReadWhole(const clsTerminal& terminal, const std::string& file);

}  // namespace varnak
