#pragma once
// Whether a terminal file of a rail folder can be loaded as a terminal of that rail. A file
// the rail cannot use stays on disk as it is, so that the user can mend or restore it: a
// save would fill what it lacks with defaults and hide the damage for good. Everything
// else loads, whatever keys it lacks, with the defaults the terminal's reader gives them:
// files written by other programs and copies of descriptions hold only some of the keys
// this program's save writes.
#include <cstdint>
#include <string>

namespace varnak {

// True when a name of the rail folder's listing is the file of a terminal of this rail:
// "C<coupler id>T<terminal id>.TCF" as the save spells it, in any letter case (the files
// come from a file system that ignores it). Another spelling of the ids would be left
// behind as a second copy by the first save, or written over by the terminal of that id.
bool isOwnTerminalFileName(const std::string& name, int32_t couplerID);

// True when the file names its terminal type (or, as a terminal saved without any usable
// description, holds an empty name and no register table or mapping record with keys), holds [Config] `TermPos`,
// `TermID` and `CouplerID`, and a `TermPos` of 1 .. kMaxTerminalsPerRail. A file cut
// before its [Config] or replaced by other bytes does not.
bool terminalFileUsable(const std::string& file);

}  // namespace varnak
