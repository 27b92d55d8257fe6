#include "model/tree_node_key.h"

#include <gtest/gtest.h>

namespace varnak {
namespace {

const TreeNodeKind kAllKinds[] = {
    TreeNodeKind::Project,
    TreeNodeKind::Coupler,
    TreeNodeKind::CouplerSettings,
    TreeNodeKind::ControllerSettings,
    TreeNodeKind::ControllerSettings2,
    TreeNodeKind::SpecificProgTermCfg,
    TreeNodeKind::CommonSettings,
    TreeNodeKind::SpecificSettings,
    TreeNodeKind::SpecificProgConf,
    TreeNodeKind::CouplerTable,
    TreeNodeKind::Terminal,
    TreeNodeKind::TerminalChannel,
    TreeNodeKind::TerminalSettings,
    TreeNodeKind::TerminalRegister,
};

TEST(TreeNodeKey, PrefixesAreExactAndDistinct) {
    for (TreeNodeKind kind : kAllKinds) {
        std::string_view prefix = treeKeyPrefix(kind);
        EXPECT_EQ(prefix.size(), 25u) << prefix;
        EXPECT_EQ(prefix.substr(0, 3), "SZ_");
        EXPECT_EQ(treeKeyKind(prefix), kind) << prefix;
    }
    for (std::string_view unbuilt : {SZ_SPECIFIC_AUTO_CONF, SZ_CHANNEL_INDATA, SZ_CHANNEL_OUTDATA,
                                     SZ_CHANNEL_STATUS, SZ_CHANNEL_CONTROL}) {
        EXPECT_EQ(unbuilt.size(), 25u) << unbuilt;
        EXPECT_EQ(treeKeyKind(unbuilt), std::nullopt) << unbuilt;
    }
    EXPECT_EQ(treeKeyKind("sz_project_grpkey________"), std::nullopt);
    EXPECT_EQ(treeKeyKind("SZ_PROJECT_GRPKEY"), std::nullopt);
    EXPECT_EQ(treeKeyKind(""), std::nullopt);
}

TEST(TreeNodeKey, ExamplesBuildAndRead) {
    std::string terminal = terminalKeyDetail(5, 0, 12, 3);
    std::string key = treeKey(TreeNodeKind::Terminal, terminal);
    EXPECT_EQ(key, "SZ_TERMINAL_ITEMKEY______C005P000T012P003");
    EXPECT_EQ(key.size(), 41u);
    std::string channel = treeKey(TreeNodeKind::TerminalChannel, channelKeyDetail(terminal, 0));
    EXPECT_EQ(channel, "SZ_TERMINAL_CHANNEL______C005P000T012P003CHANNEL000");
    EXPECT_EQ(channel.size(), 51u);
    std::string table = treeKey(TreeNodeKind::CouplerTable, tableKeyDetail(5, 0, 100));
    EXPECT_EQ(table, "SZ_COUPLER_TABLE_________C005P000TABLE100");
    EXPECT_EQ(treeKeyField(table, kKeyTableNr), 100);
    EXPECT_EQ(channelKeyDetail(terminal, 10).substr(23), "010");
    EXPECT_EQ(treeKey(TreeNodeKind::Coupler, couplerKeyDetail(1, 2)),
              "SZ_COUPLER_ITEMKEY_______C001P002");
    EXPECT_TRUE(isGroupKey(treeKey(TreeNodeKind::CouplerTable)));
    EXPECT_FALSE(isGroupKey(table));

    std::string reg = treeKey(TreeNodeKind::TerminalRegister, channelKeyDetail(terminal, 7));
    EXPECT_EQ(treeKeyField(reg, kKeyCouplerId), 5);
    EXPECT_EQ(treeKeyField(reg, kKeyProjectPosition), 0);
    EXPECT_EQ(treeKeyField(reg, kKeyTermId), 12);
    EXPECT_EQ(treeKeyField(reg, kKeyRailPosition), 3);
    EXPECT_EQ(treeKeyField(reg, kKeyChannel), 7);
    EXPECT_EQ(reg[25], 'C');
    EXPECT_EQ(reg[33], 'T');
}

TEST(TreeNodeKey, FieldsReadTheirLeadingNumber) {
    struct Case {
        const char* field;
        int32_t expected;
    } cases[] = {{"007", 7},   {"0 7", 0}, {"___", 0}, {" 07", 7}, {"  7", 7}, {"12A", 12},
                 {"999", 999}, {"-01", 0}, {"   ", 0}, {"1__", 1}, {"A12", 0}};
    for (const auto& c : cases) {
        std::string key = std::string(26, '_') + c.field + "XYZ";
        EXPECT_EQ(treeKeyField(key, 27), c.expected) << '"' << c.field << '"';
    }
    // Short keys give what is there.
    EXPECT_EQ(treeKeyField("SZ_COUPLER_TABLE_________", 39), 0);
    EXPECT_EQ(treeKeyField("SZ_COUPLER_ITEMKEY_______C0", 27), 0);
    EXPECT_EQ(treeKeyField("SZ_COUPLER_ITEMKEY_______C05", 27), 5);
    EXPECT_EQ(treeKeyField("abc", 0), 0);
}

TEST(TreeNodeKey, RoundTripsForEveryKind) {
    const int32_t values[] = {0, 1, 7, 10, 99, 100, 999};
    for (TreeNodeKind kind : kAllKinds) {
        for (int32_t v : values) {
            TreeNodeKey k;
            k.kind = kind;
            TreeKeyDetail detail = treeKeyDetail(kind);
            if (detail != TreeKeyDetail::None) {
                k.couplerId = v;
                k.projectPosition = 999 - v;
            }
            if (detail == TreeKeyDetail::Table) k.tableNr = (v + 5) % 1000;
            if (detail == TreeKeyDetail::Terminal || detail == TreeKeyDetail::Channel) {
                k.termId = (v + 1) % 1000;
                k.railPosition = (v + 2) % 1000;
            }
            if (detail == TreeKeyDetail::Channel) k.channel = (v + 3) % 1000;
            std::string text = buildTreeNodeKey(k);
            size_t length = detail == TreeKeyDetail::None      ? 25
                            : detail == TreeKeyDetail::Coupler ? 33
                            : detail == TreeKeyDetail::Channel ? 51
                                                               : 41;
            ASSERT_EQ(text.size(), length) << text;
            k.group = detail == TreeKeyDetail::None;
            ASSERT_EQ(parseTreeNodeKey(text), k) << text;
        }
    }
    // The tables group is the bare prefix of the table kind.
    auto group = parseTreeNodeKey("SZ_COUPLER_TABLE_________");
    ASSERT_TRUE(group);
    EXPECT_TRUE(group->group);
    EXPECT_EQ(group->kind, TreeNodeKind::CouplerTable);
    EXPECT_EQ(parseTreeNodeKey("SZ_UNKNOWN_______________C001P001"), std::nullopt);
}

TEST(TreeNodeKey, NumbersOutsideTheFieldWidthWiden) {
    // Callers keep numbers within 0..999; a wider one shows up instead of being cut.
    EXPECT_EQ(treeKeyNumber(7), "007");
    EXPECT_EQ(treeKeyNumber(1000), "1000");
    EXPECT_EQ(treeKeyNumber(-1), "-001");
}

}  // namespace
}  // namespace varnak
