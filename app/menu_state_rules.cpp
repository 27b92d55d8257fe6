#include "app/menu_state_rules.h"

#include "model/clsProject.h"

namespace varnak {

bool isDeveloperMode(int32_t accessLevel) {
    return (accessLevel & 1) != 0;
}

MenuState menuStateFor(int32_t accessLevel, bool online) {
    MenuState s;
    const bool dev = isDeveloperMode(accessLevel);
    // Rule 1: developer mode shows the export, the developer submenu with its separator
    // and the firmware load.
    s.items.push_back({MainMenu::Online, 9, dev, std::nullopt});
    s.items.push_back({MainMenu::Online, 10, dev, dev});
    s.items.push_back({MainMenu::Online, 12, std::nullopt, dev});
    s.items.push_back({MainMenu::Project, 9, dev, std::nullopt});
    // Rule 2, after rule 1: the online flag (so the developer submenu stays disabled
    // offline even in developer mode).
    s.items.push_back({MainMenu::Online, 1, std::nullopt, !online});
    for (int i : {2, 4, 7, 8, 10}) s.items.push_back({MainMenu::Online, i, std::nullopt, online});
    for (int i : {1, 2, 3, 5}) s.items.push_back({MainMenu::Project, i, std::nullopt, !online});
    for (int i : {6, 8}) s.items.push_back({MainMenu::Project, i, std::nullopt, false});
    s.items.push_back({MainMenu::Project, 9, std::nullopt, true});
    for (int p : {1, 2, 3, 9}) s.toolbar.push_back({p, !online});
    s.toolbar.push_back({10, online});
    return s;
}

std::vector<MenuStateChange> projectStateMenuChanges(int32_t projectState) {
    std::vector<MenuStateChange> out;
    if (projectState == kProjectOpen || projectState == kProjectDeleted || projectState == 6) {
        out.push_back({MainMenu::Project, 8, std::nullopt, false});
        out.push_back({MainMenu::CalculateCnf, 0, std::nullopt, false});
    }
    if (projectState == kProjectOpen) out.push_back({MainMenu::Project, 5, std::nullopt, true});
    return out;
}

}  // namespace varnak
