// The menus' tables and state rules, without widgets.
#include <gtest/gtest.h>

#include <map>
#include <tuple>

#include "app/main_menu_table.h"
#include "app/menu_state_rules.h"
#include "model/app_context.h"
#include "model/string_table.h"

namespace varnak {
namespace {

using M = MainMenu;

struct Caption {
    MainMenu menu;
    int index;
    const char* german;
    const char* english;
};

// Every caption the language switch sets, in the order it sets them.
const std::vector<Caption>& expectedCaptions() {
    static const std::vector<Caption> captions{
        {M::Project, -1, "&Projekt (F2)", "&Project (F2)"},
        {M::Project, 1, "&Neu...", "&New..."},
        {M::Project, 2, "Ö&ffnen...", "&Open..."},
        {M::Project, 3, "&Löschen", "&Delete..."},
        {M::Project, 5, "&Sichern", "&Save"},
        {M::Project, 6, "Sichern &unter...", "Save &As..."},
        {M::Project, 8, "Import...", "Import..."},
        {M::Project, 9, "Export...", "Export..."},
        {M::Project, 11, "Druck &Eigenschaften...", "Print Properties..."},
        {M::Project, 12, "&Drucken...", "Print..."},
        {M::Project, 19, "&Beenden", "Exit"},
        {M::Calculate, -1, "&Berechnen (F5)", "&Calculate (F5)"},
        {M::Calculate, 1, "&Stromaufnahme im Klemmenbus", "Current in terminal bus"},
        {M::Calculate, 2, "Strombelastung (&Ruhe)", "Current (silient)"},
        {M::Calculate, 3, "Strombelastung (&Max)", "Current (max)"},
        {M::Calculate, 5, "&Konfiguration", "Configuration"},
        {M::CalculateCnf, 0, "&Sps", "PLC"},
        {M::CalculateCnfPLC, 0, "Sps Interface &Eingangsabbild", "PLC interface input-image"},
        {M::CalculateCnfPLC, 1, "Sps Interface &Ausgangsabbild", "PLC interface output-image"},
        {M::CalculateCnf, 2, "&Koppler", "Coupler"},
        {M::CalculateCnfCoupler, 0, "Lokales Interface &Eingangsabbild",
         "Local interface input-image"},
        {M::CalculateCnfCoupler, 1, "Lokales Interface &Ausgangsabbild",
         "Local interface output-image"},
        {M::Calculate, 6, "&Vorschlag lokales Mapping", "Suggestion local mapping"},
        {M::Calculate, 8, "&Alles...", "All..."},
        {M::Online, -1, "O&nline (F6)", "O&nline (F6)"},
        {M::Online, 1, "&Einloggen", "Log&in"},
        {M::Online, 2, "&Ausloggen", "Log&out"},
        {M::Online, 4, "&Prozeßabbild(zykl.)...", "&Process-image(cycl.)..."},
        {M::Online, 7, "Klemmen", "Terminal"},
        {M::OnlineTerminal, 0, "Script-Init...", "Script-Init..."},
        {M::Online, 8, "Koppler", "Coupler"},
        {M::OnlineCoupler, 0, "&Dienste...", "&Services..."},
        {M::OnlineCoupler, 2, "Script-Init...", "Script-Init..."},
        {M::OnlineCoupler, 5, "Firmware Update...", "Firmware Update..."},
        {M::Online, 10, "Rim_talk", "Rim_talk"},
        {M::RimTalk, 0, "QZ3xxx Einstellung...", "QZ3xxx Adjustments..."},
        {M::RimTalk, 1, "QZ5xxx Einstellung...", "QZ5xxx Adjustments..."},
        {M::RimTalk, 2, "Debug...", "Debug..."},
        {M::Online, 12, "Firmware Load...", "Firmware Load..."},
        {M::Option, -1, "&Optionen", "&Options"},
        {M::Option, 0, "Sprache", "Language"},
        {M::Language, 0, "&Deutsch", "&German"},
        {M::Language, 1, "&Englisch", "&English"},
        {M::Option, 1, "Einstellung...", "Setting..."},
        {M::Help, -1, "&Hilfe (F7)", "&Help (F7)"},
        {M::Help, 1, "&Hilfe Index...", "Help index..."},
        {M::Help, 3, "&Produkte...", "&Products..."},
        {M::Help, 5, "&Info...", "&Info..."},
        {M::PopupProject, 0, "Neuer Koppler...", "New coupler..."},
        {M::PopupProject, 1, "Koppler öffnen...", "Open coupler..."},
        {M::PopupProject, 3, "Einstellungen...", "Properties..."},
        {M::PopupCoupler, 0, "Koppler sichern", "Save coupler"},
        {M::PopupCoupler, 1, "Koppler sichern als...", "Save coupler as..."},
        {M::PopupCoupler, 3, "Klemme anhängen...", "Append terminal..."},
        {M::PopupCoupler, 5, "Einstellungen...", "Properties..."},
        {M::PopupTerminal, 0, "Klemme einfügen...", "Insert terminal..."},
        {M::PopupTerminal, 1, "Klemme löschen", "Delete terminal"},
    };
    return captions;
}

TEST(MenuTable, EveryCaptionInBothLanguagesInTheOrderOfTheSwitch) {
    std::vector<CaptionEntry> ids = menuCaptionIds();
    const auto& expected = expectedCaptions();
    ASSERT_EQ(ids.size(), expected.size());
    for (size_t i = 0; i < ids.size(); ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(ids[i].menu, expected[i].menu);
        EXPECT_EQ(ids[i].index, expected[i].index);
        EXPECT_EQ(LoadResString(ids[i].textId), expected[i].german);
        EXPECT_EQ(LoadResString(2000 + ids[i].textId), expected[i].english);
    }
}

struct State {
    bool visible;
    bool enabled;
    bool operator==(const State&) const = default;
};

using States = std::map<std::pair<MainMenu, int>, State>;

// Initial states as the window shows them before any rule ran.
States initialStates() {
    States s;
    for (const MenuSpec& m : mainMenus()) {
        s[{m.menu, -1}] = {true, m.enabled};
        for (const MenuItemSpec& i : m.items) s[{m.menu, i.index}] = {i.visible, i.enabled};
    }
    return s;
}

State at(const States& s, MainMenu menu, int index) {
    auto it = s.find({menu, index});
    return it == s.end() ? State{false, false} : it->second;
}

void applyChanges(States& s, const std::vector<MenuStateChange>& changes) {
    for (const MenuStateChange& c : changes) {
        ASSERT_TRUE(s.count({c.menu, c.index})) << static_cast<int>(c.menu) << " " << c.index;
        if (c.visible) s[{c.menu, c.index}].visible = *c.visible;
        if (c.enabled) s[{c.menu, c.index}].enabled = *c.enabled;
    }
}

TEST(MenuTable, IndexesSeparatorsAndInitialStates) {
    const MenuSpec& project = menuSpec(M::Project);
    std::vector<int> separators;
    for (const auto& i : project.items)
        if (i.kind == MenuItemKind::Separator) separators.push_back(i.index);
    EXPECT_EQ(separators, (std::vector<int>{4, 7, 10, 13, 18}));
    States s = initialStates();
    for (int i : {5, 6, 8, 9}) EXPECT_FALSE(at(s, M::Project, i).enabled) << i;
    for (int i = 14; i <= 17; ++i) EXPECT_FALSE(at(s, M::Project, i).visible) << i;
    EXPECT_FALSE(at(s, M::Calculate, -1).enabled);
    for (int i : {1, 2, 3, 8}) EXPECT_FALSE(at(s, M::Calculate, i).enabled) << i;
    EXPECT_FALSE(at(s, M::Online, 9).visible);
    EXPECT_EQ(s.count({M::Online, 5}), 0u);  // there is no index 5
    EXPECT_FALSE(at(s, M::OnlineCoupler, 4).visible);
    EXPECT_FALSE(at(s, M::Help, 3).visible);
    EXPECT_FALSE(at(s, M::Help, 4).visible);
    EXPECT_FALSE(at(s, M::PopupCoupler, 5).enabled);
    for (M sub : {M::OnlineTerminal, M::OnlineCoupler, M::RimTalk, M::Language, M::CalculateCnf})
        EXPECT_FALSE(menuSpec(sub).inBar);
}

TEST(MenuState, BothRuleSetsOnlineAndOfflineWithAndWithoutDeveloperMode) {
    // (developer, online) -> the items the rules touch: visible, enabled.
    struct Row {
        MainMenu menu;
        int index;
        State offline, online, devOffline, devOnline;
    };
    const State V{true, true}, Vd{true, false}, Hd{false, false}, He{false, true};
    const std::vector<Row> rows{
        {M::Online, 1, V, Vd, V, Vd},    {M::Online, 2, Vd, V, Vd, V},
        {M::Online, 4, Vd, V, Vd, V},    {M::Online, 7, Vd, V, Vd, V},
        {M::Online, 8, Vd, V, Vd, V},    {M::Online, 9, He, He, V, V},
        {M::Online, 10, Hd, He, Vd, V},  {M::Online, 12, Vd, Vd, V, V},
        {M::Project, 1, V, Vd, V, Vd},   {M::Project, 2, V, Vd, V, Vd},
        {M::Project, 3, V, Vd, V, Vd},   {M::Project, 5, V, Vd, V, Vd},
        {M::Project, 6, Vd, Vd, Vd, Vd}, {M::Project, 8, Vd, Vd, Vd, Vd},
        {M::Project, 9, He, He, V, V},
    };
    for (int dev : {0, 1}) {
        for (bool online : {false, true}) {
            States s = initialStates();
            MenuState state = menuStateFor(dev ? 3 : 2, online);  // only bit 0 counts
            applyChanges(s, state.items);
            for (const Row& r : rows) {
                const State& want =
                    dev ? (online ? r.devOnline : r.devOffline) : (online ? r.online : r.offline);
                EXPECT_EQ(at(s, r.menu, r.index), want)
                    << "menu " << static_cast<int>(r.menu) << " item " << r.index << " dev " << dev
                    << " online " << online;
            }
            std::map<int, bool> toolbar;
            for (const auto& t : state.toolbar) toolbar[t.position] = t.enabled;
            EXPECT_EQ(toolbar,
                      (std::map<int, bool>{
                          {1, !online}, {2, !online}, {3, !online}, {9, !online}, {10, online}}));
        }
    }
}

TEST(MenuState, SaveAsAndImportAreNeverEnabled) {
    for (int32_t level : {0, 1}) {
        for (bool online : {false, true}) {
            States s = initialStates();
            applyChanges(s, menuStateFor(level, online).items);
            for (int32_t st : {0, 1, 2, 3, 4, 5, 6}) applyChanges(s, projectStateMenuChanges(st));
            EXPECT_FALSE(at(s, M::Project, 6).enabled);
            EXPECT_FALSE(at(s, M::Project, 8).enabled);
        }
    }
}

TEST(MenuState, ProjectStateListenerChanges) {
    States s = initialStates();
    applyChanges(s, projectStateMenuChanges(2));
    EXPECT_TRUE(at(s, M::Project, 5).enabled);
    EXPECT_FALSE(at(s, M::CalculateCnf, 0).enabled);
    States t = initialStates();
    applyChanges(t, projectStateMenuChanges(4));
    EXPECT_FALSE(at(t, M::Project, 5).enabled);
    EXPECT_FALSE(at(t, M::CalculateCnf, 0).enabled);
    EXPECT_TRUE(projectStateMenuChanges(1).empty());
    EXPECT_TRUE(projectStateMenuChanges(3).empty());
}

TEST(Toolbar, ToolTipsInBothLanguagesAndSaveRunsTheSaveEntry) {
    AppContext context;
    ContextScope scope(context);
    std::map<int, std::string> german, english;
    for (const ToolbarButtonSpec& b : toolbarButtons()) {
        context.LanguageBase = 0;
        german[b.position] = toolbarToolTip(b);
        context.LanguageBase = 2000;
        english[b.position] = toolbarToolTip(b);
        if (std::string(b.key) == "SaveProject") {
            EXPECT_EQ(b.action, ToolbarAction::ProjectMenu);
            EXPECT_EQ(b.index, 5);  // the Save entry its tool tip names
        }
    }
    EXPECT_EQ(german[1], "&Projekt (F2)&Neu...");
    EXPECT_EQ(english[1], "&Project (F2)&New...");
    EXPECT_EQ(english[2], "&Project (F2)&Open...");
    EXPECT_EQ(english[3], "&Project (F2)&Save");
    EXPECT_EQ(german[4], "&Drucken...");
    EXPECT_EQ(english[9], "Log&in");
    EXPECT_EQ(german[10], "&Ausloggen");
    EXPECT_EQ(english[14], "Help index...");
    EXPECT_EQ(german[15], "&Info...");
    EXPECT_EQ(german[5], "");
}

}  // namespace
}  // namespace varnak
