#pragma once
// The main window's menus and toolbar as data: items are addressed by fixed indexes
// (the toolbar and other windows call them by index), captions by string-table id.
#include <string>
#include <vector>

namespace varnak {

enum class MainMenu { Project, Calculate, Online, Option, Help };

struct MenuItemSpec {
    int index;
    int textId;  // 0: separator (or no caption of its own)
    bool visible = true;
    bool enabled = true;
};

struct MenuSpec {
    MainMenu menu;
    int textId;
    bool enabled;
    std::vector<MenuItemSpec> items;
};

// The top menus in bar order with their first-level items.
const std::vector<MenuSpec>& mainMenus();

// What a toolbar button does.
enum class ToolbarAction {
    None,
    ProjectMenu,  // the Project menu's item `index`
    HelpMenu,     // the Help menu's item `index`
    GoOnline,
    GoOffline,
    HelpContents,
};

struct ToolbarButtonSpec {
    int position;  // 1 to 15
    const char* key;
    ToolbarAction action;
    int index;
    // Tool tip: text tipFirst followed directly by text tipSecond (0: none).
    int tipFirst;
    int tipSecond;
};

const std::vector<ToolbarButtonSpec>& toolbarButtons();

// The tool tip of a button in the current language ("" when it has none).
std::string toolbarToolTip(const ToolbarButtonSpec& button);

}  // namespace varnak
