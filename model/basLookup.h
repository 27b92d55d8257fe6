#pragma once
// Program-wide look-ups that many windows share: the privileged-access prompt, the active
// rail, and the list of coupler types offered when a rail is created.
#include <memory>
#include <string>
#include <vector>

namespace varnak {

class clsCoupler;

// True when the privileged access level is granted: at once when the access text is
// already stored, else after the user typed the access code (any letter case).
bool gfCheckAccessCode();

// Trims the entry in place and answers the coupler type it names: the text before the
// first comma, or the whole entry when it has no description.
std::string gfGetTypeFromListEntry(std::string& entry);

// The rail every dialog works on: online the rail read from the device (created empty when
// there is none yet), offline the project's loaded rail. False, with the argument left
// alone, when offline no rail is loaded.
[[nodiscard]] bool gfGetActiveCoupler(std::shared_ptr<clsCoupler>& coupler);

// The entries of the coupler-type list ("<type>," + nine blanks + description) and the
// entry to select (-1: none). A damaged description (device_description.h) is not offered.
struct CouplerTypeList {
    std::vector<std::string> entries;
    int selected = -1;
};
CouplerTypeList gfInitCouplerTypeList();

// The project item of the tree popup menu.
inline void gfNoOperation() {}

}  // namespace varnak
