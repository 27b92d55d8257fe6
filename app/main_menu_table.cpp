#include "app/main_menu_table.h"

#include "model/app_context.h"

namespace varnak {

const std::vector<MenuSpec>& mainMenus() {
    static const std::vector<MenuSpec> menus{
        {MainMenu::Project,
         60,
         true,
         {{1, 61},
          {2, 62},
          {3, 63},
          {4, 0},
          {5, 64, true, false},
          {6, 65, true, false},
          {7, 0},
          {8, 66, true, false},
          {9, 67},
          {10, 0},
          {11, 68},
          {12, 69},
          {13, 0},
          {14, 0, false},
          {15, 0, false},
          {16, 0, false},
          {17, 0, false},
          {18, 0},
          {19, 70}}},
        {MainMenu::Calculate,
         110,
         false,
         {{1, 111, true, false},
          {2, 112, true, false},
          {3, 113, true, false},
          {4, 0},
          {5, 114},
          {6, 121},
          {7, 0},
          {8, 122, true, false}}},
        {MainMenu::Online,
         130,
         true,
         {{1, 131},
          {2, 132},
          {3, 0},
          {4, 133},
          {6, 0},
          {7, 134},
          {8, 135},
          {9, 0, false},
          {10, 136},
          {11, 0},
          {12, 139}}},
        {MainMenu::Option, 150, true, {{0, 151}, {1, 152}}},
        {MainMenu::Help, 190, true, {{1, 191}, {2, 0}, {3, 193, false}, {4, 0, false}, {5, 192}}},
    };
    return menus;
}

const std::vector<ToolbarButtonSpec>& toolbarButtons() {
    static const std::vector<ToolbarButtonSpec> buttons{
        {1, "NewProject", ToolbarAction::ProjectMenu, 1, 60, 61},
        {2, "OpenProject", ToolbarAction::ProjectMenu, 2, 60, 62},
        // "Save as" has no action of its own yet: the button only rebuilds the tree.
        {3, "SaveProject", ToolbarAction::ProjectMenu, 6, 60, 64},
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
