#include "model/tree_node_key.h"

#include <array>

namespace varnak {
namespace {

struct KindRow {
    TreeNodeKind kind;
    std::string_view prefix;
    TreeKeyDetail detail;
};

constexpr std::array<KindRow, 14> kKinds{{
    {TreeNodeKind::Project, SZ_PROJECT_GRPKEY, TreeKeyDetail::None},
    {TreeNodeKind::Coupler, SZ_COUPLER_ITEMKEY, TreeKeyDetail::Coupler},
    {TreeNodeKind::CouplerSettings, SZ_COUPLER_SETTINGS, TreeKeyDetail::None},
    {TreeNodeKind::ControllerSettings, SZ_CONTROLLER_SETTINGS, TreeKeyDetail::Coupler},
    {TreeNodeKind::ControllerSettings2, SZ_CONTROLLER_SETTINGS2, TreeKeyDetail::Coupler},
    {TreeNodeKind::SpecificProgTermCfg, SZ_SPECIFIC_PROG_TERMCFG, TreeKeyDetail::Coupler},
    {TreeNodeKind::CommonSettings, SZ_COMMON_SETTINGS, TreeKeyDetail::Coupler},
    {TreeNodeKind::SpecificSettings, SZ_SPECIFIC_SETTINGS, TreeKeyDetail::Coupler},
    {TreeNodeKind::SpecificProgConf, SZ_SPECIFIC_PROG_CONF, TreeKeyDetail::Coupler},
    {TreeNodeKind::CouplerTable, SZ_COUPLER_TABLE, TreeKeyDetail::Table},
    {TreeNodeKind::Terminal, SZ_TERMINAL_ITEMKEY, TreeKeyDetail::Terminal},
    {TreeNodeKind::TerminalChannel, SZ_TERMINAL_CHANNEL, TreeKeyDetail::Channel},
    {TreeNodeKind::TerminalSettings, SZ_TERMINAL_SETTINGS, TreeKeyDetail::Channel},
    {TreeNodeKind::TerminalRegister, SZ_TERMINAL_REGISTER, TreeKeyDetail::Channel},
}};

const KindRow& row(TreeNodeKind kind) {
    return kKinds[static_cast<size_t>(kind)];
}

}  // namespace

std::string_view treeKeyPrefix(TreeNodeKind kind) {
    return row(kind).prefix;
}

TreeKeyDetail treeKeyDetail(TreeNodeKind kind) {
    return row(kind).detail;
}

std::optional<TreeNodeKind> treeKeyKind(std::string_view key) {
    std::string_view prefix = key.substr(0, kTreeKeyPrefixLength);
    for (const KindRow& r : kKinds)
        if (r.prefix == prefix) return r.kind;
    return std::nullopt;
}

std::string treeKeyNumber(int32_t value) {
    std::string digits = std::to_string(value < 0 ? -static_cast<int64_t>(value) : value);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return value < 0 ? "-" + digits : digits;
}

std::string couplerKeyDetail(int32_t couplerId, int32_t projectPosition) {
    return "C" + treeKeyNumber(couplerId) + "P" + treeKeyNumber(projectPosition);
}

std::string terminalKeyDetail(int32_t couplerId, int32_t projectPosition, int32_t termId,
                              int32_t railPosition) {
    return couplerKeyDetail(couplerId, projectPosition) + "T" + treeKeyNumber(termId) + "P" +
           treeKeyNumber(railPosition);
}

std::string tableKeyDetail(int32_t couplerId, int32_t projectPosition, int32_t tableNr) {
    return couplerKeyDetail(couplerId, projectPosition) + "TABLE" + treeKeyNumber(tableNr);
}

std::string channelKeyDetail(std::string_view terminalDetail, int32_t channel) {
    return std::string(terminalDetail) + "CHANNEL" + treeKeyNumber(channel);
}

std::string treeKey(TreeNodeKind kind, std::string_view detail) {
    return std::string(treeKeyPrefix(kind)) + std::string(detail);
}

int32_t treeKeyField(std::string_view key, size_t start) {
    if (start < 1 || start > key.size()) return 0;
    std::string_view field = key.substr(start - 1, 3);
    size_t i = 0;
    while (i < field.size() && field[i] == ' ') ++i;
    int32_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i)
        value = value * 10 + (field[i] - '0');
    return value;
}

std::optional<TreeNodeKey> parseTreeNodeKey(std::string_view key) {
    std::optional<TreeNodeKind> kind = treeKeyKind(key);
    if (!kind) return std::nullopt;
    TreeNodeKey k;
    k.kind = *kind;
    k.group = isGroupKey(key);
    if (k.group) return k;
    TreeKeyDetail detail = treeKeyDetail(*kind);
    if (detail == TreeKeyDetail::None) return k;
    k.couplerId = treeKeyField(key, kKeyCouplerId);
    k.projectPosition = treeKeyField(key, kKeyProjectPosition);
    if (detail == TreeKeyDetail::Table) k.tableNr = treeKeyField(key, kKeyTableNr);
    if (detail == TreeKeyDetail::Terminal || detail == TreeKeyDetail::Channel) {
        k.termId = treeKeyField(key, kKeyTermId);
        k.railPosition = treeKeyField(key, kKeyRailPosition);
    }
    if (detail == TreeKeyDetail::Channel) k.channel = treeKeyField(key, kKeyChannel);
    return k;
}

std::string buildTreeNodeKey(const TreeNodeKey& k) {
    TreeKeyDetail detail = treeKeyDetail(k.kind);
    if (k.group || detail == TreeKeyDetail::None) return treeKey(k.kind);
    switch (detail) {
        case TreeKeyDetail::Coupler:
            return treeKey(k.kind, couplerKeyDetail(k.couplerId, k.projectPosition));
        case TreeKeyDetail::Table:
            return treeKey(k.kind, tableKeyDetail(k.couplerId, k.projectPosition, k.tableNr));
        case TreeKeyDetail::Terminal:
            return treeKey(k.kind, terminalKeyDetail(k.couplerId, k.projectPosition, k.termId,
                                                     k.railPosition));
        case TreeKeyDetail::Channel:
            return treeKey(
                k.kind, channelKeyDetail(terminalKeyDetail(k.couplerId, k.projectPosition, k.termId,
                                                           k.railPosition),
                                         k.channel));
        case TreeKeyDetail::None:
            break;
    }
    return treeKey(k.kind);
}

}  // namespace varnak
