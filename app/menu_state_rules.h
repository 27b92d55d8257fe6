#pragma once
// Which menu items and toolbar buttons are visible and enabled: the two rule sets of the
// menu-state builder (developer mode, then the online flag) and the project-state
// listener's further changes. The window applies the changes in the order given.
#include <cstdint>
#include <optional>
#include <vector>

#include "app/main_menu_table.h"

namespace varnak {

struct MenuStateChange {
    MainMenu menu;
    int index;
    std::optional<bool> visible;  // nullopt: left as it is
    std::optional<bool> enabled;
};

struct ToolbarStateChange {
    int position;
    bool enabled;
};

struct MenuState {
    std::vector<MenuStateChange> items;
    std::vector<ToolbarStateChange> toolbar;
};

// Developer mode is bit 0 of the access level.
bool isDeveloperMode(int32_t accessLevel);

MenuState menuStateFor(int32_t accessLevel, bool online);

// The listener's changes for a new project state (none for most states).
std::vector<MenuStateChange> projectStateMenuChanges(int32_t projectState);

}  // namespace varnak
