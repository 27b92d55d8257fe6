#include "app/project_tree.h"

#include <gtest/gtest.h>

#include "model/app_context.h"

using varnak::TreeNodeData;
using varnak::TreeRail;
using varnak::TreeSource;
using varnak::TreeTerminal;

namespace {

class ProjectTree : public ::testing::Test {
  protected:
    ProjectTree() : scope(context) {}
    std::vector<TreeNodeData> build(const TreeSource& s) {
        return varnak::fBuildProjectTree(s, context);
    }
    void english() { context.LanguageBase = 2000; }

    varnak::AppContext context;
    varnak::ContextScope scope;
};

TreeRail rail(const char* type) {
    TreeRail r;
    r.symbolicId = 5;
    r.projectPosition = 0;
    r.symbolicName = "Line1";
    r.infoName = type;
    r.infoDescription = "Fieldbus coupler";
    r.tableNumbers = {0, 2, 90};
    return r;
}

const char* kCoupler = "SZ_COUPLER_ITEMKEY_______C005P000";
const char* kSettings = "SZ_COUPLER_SETTINGS______";
const char* kTables = "SZ_COUPLER_TABLE_________";

TEST_F(ProjectTree, NoProjectAndProjectWithoutRail) {
    EXPECT_TRUE(build({}).empty());
    TreeSource s;
    s.projectName = "Plant";
    EXPECT_EQ(build(s),
              (std::vector<TreeNodeData>{{"SZ_PROJECT_GRPKEY________", "Projekt Plant", ""}}));
    english();
    EXPECT_EQ(build(s)[0].text, "Project Plant");
}

TEST_F(ProjectTree, EmptyRailOfAFieldbusCoupler) {
    TreeSource s;
    s.projectName = "Plant";
    s.rail = rail("QZ3100-0000");
    std::vector<TreeNodeData> expected{
        {"SZ_PROJECT_GRPKEY________", "Projekt Plant", ""},
        {kCoupler, "Line1() Pos0: QZ3100-0000 Fieldbus coupler", "SZ_PROJECT_GRPKEY________"},
        {kSettings, "Einstellungen", kCoupler},
        {"SZ_COMMON_SETTINGS_______C005P000", "Einstellungen (Allg.)", kSettings},
        {"SZ_SPECIFIC_SETTINGS_____C005P000", "Einstellungen (Feldbus Spez.)", kSettings},
        {"SZ_SPECIFIC_PROG_CONF____C005P000", "Programmierte Konfiguration", kSettings},
        {kTables, "Tabellen", kSettings},
        {"SZ_COUPLER_TABLE_________C005P000TABLE000", "0 Konfiguration Koppler", kTables},
        {"SZ_COUPLER_TABLE_________C005P000TABLE002", "2 Tabelle 2", kTables},
        {"SZ_COUPLER_TABLE_________C005P000TABLE090", "90 Diagnose Koppler", kTables},
    };
    EXPECT_EQ(build(s), expected);
    english();
    auto nodes = build(s);
    EXPECT_EQ(nodes[2].text, "Adjustments");
    EXPECT_EQ(nodes[3].text, "Adjustments (common)");
    EXPECT_EQ(nodes[6].text, "Table");
    EXPECT_EQ(nodes[7].text, "0 Configuration Coupler");
    EXPECT_EQ(nodes[8].text, "2 Table 2");
}

TEST_F(ProjectTree, ControllerCouplerGetsThreeNodesFirst) {
    TreeSource s;
    s.projectName = "Plant";
    s.rail = rail("QY3100-0000");
    auto nodes = build(s);
    ASSERT_GE(nodes.size(), 6u);
    EXPECT_EQ(nodes[3], (TreeNodeData{"SZ_CONTROLLER_SETTINGS___C005P000",
                                      "Einstellungen (Controller)", kSettings}));
    EXPECT_EQ(nodes[4].key, "SZ_CONTROLLER_SETTINGS2__C005P000");
    EXPECT_EQ(nodes[4].text, "Einstellungen (Controller) 2");
    EXPECT_EQ(nodes[5].text, "Zuordnung Klemmen (Controller)");
    EXPECT_EQ(nodes[6].key, "SZ_COMMON_SETTINGS_______C005P000");
    english();
    EXPECT_EQ(build(s)[5].text, "Link terminals (controller)");
}

TEST_F(ProjectTree, TerminalsWithAndWithoutRegisterModel) {
    TreeSource s;
    s.projectName = "Plant";
    s.rail = rail("QZ3100-0000");
    s.rail->tableNumbers.clear();
    s.rail->terminalCount = 4;
    s.rail->terminals[1] = {12, "QT1104-0000", "4 DI 24V", 4, false, {}};
    s.rail->terminals[2] = {13, "QT3002-0000", "2 AI", 2, true, {}};
    // position 3 holds no terminal: left out
    s.rail->terminals[4] = {14, "QT9010-0000", "End", 0, false, {}};
    auto nodes = build(s);
    std::vector<TreeNodeData> tail(nodes.begin() + 7, nodes.end());
    const std::string t1 = "SZ_TERMINAL_ITEMKEY______C005P000T012P001";
    const std::string t2 = "SZ_TERMINAL_ITEMKEY______C005P000T013P002";
    const std::string c20 = "SZ_TERMINAL_CHANNEL______C005P000T013P002CHANNEL000";
    const std::string c21 = "SZ_TERMINAL_CHANNEL______C005P000T013P002CHANNEL001";
    std::vector<TreeNodeData> expected{
        {t1, "Pos1: QT1104-0000 (4 DI 24V)", kCoupler},
        {"SZ_TERMINAL_CHANNEL______C005P000T012P001CHANNEL000", "Kanal1", t1},
        {"SZ_TERMINAL_CHANNEL______C005P000T012P001CHANNEL001", "Kanal2", t1},
        {"SZ_TERMINAL_CHANNEL______C005P000T012P001CHANNEL002", "Kanal3", t1},
        {"SZ_TERMINAL_CHANNEL______C005P000T012P001CHANNEL003", "Kanal4", t1},
        {t2, "Pos2: QT3002-0000 (2 AI)", kCoupler},
        {c20, "Kanal1", t2},
        {"SZ_TERMINAL_SETTINGS_____C005P000T013P002CHANNEL000", "Einstellungen", c20},
        {"SZ_TERMINAL_REGISTER_____C005P000T013P002CHANNEL000", "Register", c20},
        {c21, "Kanal2", t2},
        {"SZ_TERMINAL_SETTINGS_____C005P000T013P002CHANNEL001", "Einstellungen", c21},
        {"SZ_TERMINAL_REGISTER_____C005P000T013P002CHANNEL001", "Register", c21},
        {"SZ_TERMINAL_ITEMKEY______C005P000T014P004", "Pos4: QT9010-0000 (End)", kCoupler},
    };
    EXPECT_EQ(tail, expected);
    english();
    nodes = build(s);
    EXPECT_EQ(nodes[8].text, "Channel1");
    EXPECT_EQ(nodes[14].text, "Adjustments");
}

TEST_F(ProjectTree, BoxModuleNumberingAndOnlineRoot) {
    TreeSource s;
    s.online = true;
    s.projectName = "ignored online";
    s.rail = rail("QP2008-Bxx0");
    s.rail->tableNumbers.clear();
    s.rail->terminalCount = 3;
    s.rail->terminals[1] = {1, "QP2008-Bxx0", "8 DO", 0, false, {}};
    s.rail->terminals[2] = {2, "QT1002-0000", "2 DI", 0, false, {}};
    s.rail->terminals[3] = {3, "QT2012-0000", "2 DO", 0, false, {}};
    auto nodes = build(s);
    EXPECT_EQ(nodes[0], (TreeNodeData{kCoupler, "Pos0: QP2008-Bxx0 Fieldbus coupler", ""}));
    std::vector<TreeNodeData> tail(nodes.end() - 3, nodes.end());
    EXPECT_EQ(tail[0], (TreeNodeData{"SZ_TERMINAL_ITEMKEY______C005P000T001P001",
                                     "Channels:  (8 DO)", kCoupler}));
    EXPECT_EQ(tail[1].key, "SZ_TERMINAL_ITEMKEY______C005P000T002P002");
    EXPECT_EQ(tail[1].text, "Pos1: QT1002-0000 (2 DI)");
    EXPECT_EQ(tail[2].text, "Pos2: QT2012-0000 (2 DO)");

    s.rail->infoName = "QI2301-B310";
    EXPECT_EQ(build(s)[6].text, "Channels:  (8 DO)");
    s.online = false;
    s.projectName = "";
    EXPECT_TRUE(build(s).empty());  // offline without a project: empty, rail or not
}

}  // namespace
