#pragma once
// The project tree's context menus: which menu (or direct action) a node gets online,
// offline and in developer mode, and what the menus' items do.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "windowkit/dialog_openers.h"

namespace varnak {

struct PopupChoice {
    enum class Kind { None, ProjectMenu, CouplerMenu, TerminalMenu, SaveTableAsResource };
    Kind kind = Kind::None;
    // Coupler menu: enabled state of items 0 to 5 (separators stay enabled).
    std::array<bool, 6> couplerEnabled{true, true, true, true, true, true};
    // Save-table-as-resource: the table's owner (0 = coupler) and number.
    int32_t railPosition = 0;
    int32_t tableNr = 0;
};

// The menu for a node. Coupler-table and channel nodes act only in developer mode and
// only when their key carries a table number (the tables group carries none).
PopupChoice popupFor(std::string_view key, bool online, bool developerMode);

// Runs a SaveTableAsResource choice.
void runPopupDirectAction(const PopupChoice& choice, DialogOpeners& openers);

// "Save coupler" of the coupler menu: saves the rail the key names. Returns a StoreResult.
[[nodiscard]] int32_t saveCouplerOfKey(const std::string& key);

// "Save coupler as..." online: uploads the station, asks for a project when none is open
// and then for a rail name, and saves the online rail under that name. Cancel or an empty
// answer saves nothing; a name that cannot become a folder or that another rail of the
// project has is refused with the rail-name messages. True when the rail was saved.
[[nodiscard]] bool saveOnlineCouplerAs(DialogOpeners& openers);

}  // namespace varnak
