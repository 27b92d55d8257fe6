#include "app/main_menu_table.h"

#include <stdexcept>

#include "model/app_context.h"

namespace varnak {
namespace {

using K = MenuItemKind;

MenuItemSpec item(int index, int textId, bool enabled = true) {
    return {index, textId, K::Command, true, enabled, std::nullopt};
}
MenuItemSpec sep(int index, bool visible = true) {
    return {index, 0, K::Separator, visible, true, std::nullopt};
}
MenuItemSpec sub(int index, int textId, MainMenu submenu) {
    return {index, textId, K::Submenu, true, true, submenu};
}
MenuItemSpec remembered(int index) {
    return {index, 0, K::Remembered, false, true, std::nullopt};
}

}  // namespace

const std::vector<MenuSpec>& mainMenus() {
    static const std::vector<MenuSpec> menus{
        {MainMenu::Project,
         60,
         true,
         true,
         {item(1, 61), item(2, 62), item(3, 63), sep(4), item(5, 64, false), item(6, 65, false),
          sep(7), item(8, 66, false), item(9, 67, false), sep(10), item(11, 68), item(12, 69),
          sep(13), remembered(14), remembered(15), remembered(16), remembered(17), sep(18),
          item(kExitItem, 70)}},
        {MainMenu::Calculate,
         110,
         true,
         false,
         {item(1, 111, false), item(2, 112, false), item(3, 113, false), sep(4),
          sub(5, 114, MainMenu::CalculateCnf), item(6, 121), sep(7), item(8, 122, false)}},
        {MainMenu::Online,
         130,
         true,
         true,
         {item(1, 131), item(2, 132), sep(3), item(4, 133), sep(6),
          sub(7, 134, MainMenu::OnlineTerminal), sub(8, 135, MainMenu::OnlineCoupler),
          sep(9, false), sub(10, 136, MainMenu::RimTalk), sep(11), item(12, 139)}},
        {MainMenu::Option, 150, true, true, {sub(0, 151, MainMenu::Language), item(1, 152)}},
        {MainMenu::Help,
         190,
         true,
         true,
         {item(1, 191),
          sep(2),
          {3, 193, K::Command, false, true, std::nullopt},
          sep(4, false),
          item(5, 192)}},
        {MainMenu::CalculateCnf,
         0,
         false,
         true,
         {sub(0, 115, MainMenu::CalculateCnfPLC), sep(1),
          sub(2, 118, MainMenu::CalculateCnfCoupler)}},
        {MainMenu::CalculateCnfPLC, 0, false, true, {item(0, 116), item(1, 117)}},
        {MainMenu::CalculateCnfCoupler, 0, false, true, {item(0, 119), item(1, 120)}},
        {MainMenu::OnlineTerminal, 0, false, true, {item(0, 137)}},
        {MainMenu::OnlineCoupler,
         0,
         false,
         true,
         {item(0, 138), sep(1), item(2, 137), sep(3), sep(4, false), item(5, 140)}},
        {MainMenu::RimTalk, 0, false, true, {item(0, 141), item(1, 142), item(2, 143)}},
        {MainMenu::Language, 0, false, true, {item(0, 160), item(1, 161)}},
        {MainMenu::PopupProject,
         0,
         false,
         true,
         {item(0, 1400), item(1, 1401), sep(2), item(3, 1402)}},
        {MainMenu::PopupCoupler,
         0,
         false,
         true,
         {item(0, 1410), item(1, 1411), sep(2), item(3, 1412), sep(4), item(5, 1402, false)}},
        {MainMenu::PopupTerminal, 0, false, true, {item(0, 1413), item(1, 1414)}},
    };
    return menus;
}

const MenuSpec& menuSpec(MainMenu menu) {
    for (const MenuSpec& m : mainMenus()) {
        if (m.menu == menu) return m;
    }
    throw std::out_of_range("unknown menu");
}

std::vector<CaptionEntry> menuCaptionIds() {
    std::vector<CaptionEntry> out;
    // A submenu's items follow its own caption, as the bar shows them.
    auto addItems = [&](auto& self, const MenuSpec& m) -> void {
        for (const MenuItemSpec& i : m.items) {
            if (i.textId) out.push_back({m.menu, i.index, i.textId});
            if (i.submenu) self(self, menuSpec(*i.submenu));
        }
    };
    for (const MenuSpec& m : mainMenus()) {
        if (!m.inBar) continue;
        out.push_back({m.menu, -1, m.textId});
        addItems(addItems, m);
    }
    for (MainMenu popup : {MainMenu::PopupProject, MainMenu::PopupCoupler, MainMenu::PopupTerminal})
        addItems(addItems, menuSpec(popup));
    return out;
}

const std::vector<ToolbarButtonSpec>& toolbarButtons() {
    static const std::vector<ToolbarButtonSpec> buttons{
        {1, "NewProject", ToolbarAction::ProjectMenu, 1, 60, 61},
        {2, "OpenProject", ToolbarAction::ProjectMenu, 2, 60, 62},
        // The button's tool tip names "Save": it runs the Save entry (5), not the inactive
        // "Save as" entry beside it.
        {3, "SaveProject", ToolbarAction::ProjectMenu, 5, 60, 64},
        {4, "PrintProject", ToolbarAction::ProjectMenu, 12, 69, 0},
        {5, "Seperator1", ToolbarAction::None, 0, 0, 0},
        {6, "", ToolbarAction::None, 0, 0, 0},
        {7, "", ToolbarAction::None, 0, 0, 0},
        {8, "", ToolbarAction::None, 0, 0, 0},
        {9, "OnlineLog", ToolbarAction::GoOnline, 0, 131, 0},
        {10, "OfflineLog", ToolbarAction::GoOffline, 0, 132, 0},
        {11, "", ToolbarAction::None, 0, 0, 0},
        {12, "", ToolbarAction::None, 0, 0, 0},
        {13, "", ToolbarAction::None, 0, 0, 0},
        {14, "Help", ToolbarAction::HelpContents, 0, 191, 0},
        {15, "Info", ToolbarAction::HelpMenu, 5, 192, 0},
    };
    return buttons;
}

std::string toolbarToolTip(const ToolbarButtonSpec& b) {
    std::string tip;
    if (b.tipFirst) tip += varnak().text(b.tipFirst);
    if (b.tipSecond) tip += varnak().text(b.tipSecond);
    return tip;
}

}  // namespace varnak
