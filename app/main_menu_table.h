#pragma once
// The main window's menus and toolbar as data: items are addressed by fixed indexes
// (the toolbar and other windows call them by index), captions by string-table id.
#include <optional>
#include <string>
#include <vector>

namespace varnak {

// Every item array of the window: the five top menus of the bar, their submenus, and
// the three tree popups (never shown in the bar).
enum class MainMenu {
    Project,              // mnuProjectItem
    Calculate,            // mnuCalculateItem
    Online,               // mnuOnlineItem
    Option,               // mnuOptionItem
    Help,                 // mnuHelpItem
    CalculateCnf,         // mnuCalculateItemCnf
    CalculateCnfPLC,      // mnuCalculateItemCnfPLCItem
    CalculateCnfCoupler,  // mnuCalculateItemCnfCoupler
    OnlineTerminal,       // mnuOnlineTerminalItem
    OnlineCoupler,        // mnuOnlineCouplerItem
    RimTalk,              // mnuRimTalkItem
    Language,             // mnuLanguageItem
    PopupProject,         // popUpProjectItem
    PopupCoupler,         // popUpCouplerItem
    PopupTerminal,        // popUpTerminalItem
};

// The Project menu's remembered-project entry (15 to 17 are never used).
inline constexpr int kRememberedProjectItem = 14;
// Exit, the last entry of the Project menu.
inline constexpr int kExitItem = 19;

enum class MenuItemKind { Command, Separator, Submenu, Remembered };

struct MenuItemSpec {
    int index;
    int textId;  // 0: no caption of its own (separators, remembered projects)
    MenuItemKind kind = MenuItemKind::Command;
    bool visible = true;
    bool enabled = true;
    std::optional<MainMenu> submenu;  // the item array a Submenu item opens
};

struct MenuSpec {
    MainMenu menu;
    int textId;    // caption of the top menu; 0 for submenus and popups
    bool inBar;    // a top menu of the bar
    bool enabled;  // initial state of the top menu
    std::vector<MenuItemSpec> items;
};

// Every item array: the top menus in bar order, then the submenus, then the popups.
const std::vector<MenuSpec>& mainMenus();
const MenuSpec& menuSpec(MainMenu menu);

// The string-table id (German) of every caption the language switch sets, in the order
// it sets them: each top menu before its items, menus in bar order, then the popups.
// index -1 is the top menu itself.
struct CaptionEntry {
    MainMenu menu;
    int index;
    int textId;
};
std::vector<CaptionEntry> menuCaptionIds();

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
