#include "app/project_tree.h"

#include "model/app_context.h"
#include "model/tree_node_key.h"

namespace varnak {
namespace {

constexpr int kTxtProject = 1150;
constexpr int kTxtSettings = 1151;
constexpr int kTxtCommonSettings = 1152;
constexpr int kTxtSpecificSettings = 1153;
constexpr int kTxtProgConf = 1154;
constexpr int kTxtTables = 1155;
constexpr int kTxtRegister = 1156;
constexpr int kTxtChannel = 1157;
constexpr int kTxtControllerSettings = 1158;
constexpr int kTxtLinkTerminals = 1159;
constexpr int kTxtTableNames = 1200;
constexpr int kTableNameCount = 800;  // ids 1200..1999

bool startsWith(const std::string& s, const char* prefix) {
    return s.rfind(prefix, 0) == 0;
}

class TreeBuilder {
  public:
    explicit TreeBuilder(const AppContext& context) : context_(context) {}

    std::string add(const std::string& parent, std::string key, std::string text) {
        nodes_.push_back({key, std::move(text), parent});
        return key;
    }
    std::string text(int id) const { return context_.text(id); }
    void append(std::vector<TreeNodeData> nodes) {
        for (auto& n : nodes) nodes_.push_back(std::move(n));
    }
    std::vector<TreeNodeData> take() { return std::move(nodes_); }

  private:
    const AppContext& context_;
    std::vector<TreeNodeData> nodes_;
};

void addSettingsAndTables(TreeBuilder& b, const std::string& couplerKey, const TreeRail& rail) {
    const std::string detail = couplerKeyDetail(rail.symbolicId, rail.projectPosition);
    const std::string group = treeKey(TreeNodeKind::CouplerSettings);
    b.add(couplerKey, group, b.text(kTxtSettings));
    if (startsWith(rail.infoName, "QY")) {
        b.add(group, treeKey(TreeNodeKind::ControllerSettings, detail),
              b.text(kTxtControllerSettings));
        b.add(group, treeKey(TreeNodeKind::ControllerSettings2, detail),
              b.text(kTxtControllerSettings) + " 2");
        b.add(group, treeKey(TreeNodeKind::SpecificProgTermCfg, detail), b.text(kTxtLinkTerminals));
    }
    b.add(group, treeKey(TreeNodeKind::CommonSettings, detail), b.text(kTxtCommonSettings));
    b.add(group, treeKey(TreeNodeKind::SpecificSettings, detail), b.text(kTxtSpecificSettings));
    b.add(group, treeKey(TreeNodeKind::SpecificProgConf, detail), b.text(kTxtProgConf));
    const std::string tables = treeKey(TreeNodeKind::CouplerTable);
    b.add(group, tables, b.text(kTxtTables));
    for (int32_t n : rail.tableNumbers) {
        std::string name = (n >= 0 && n < kTableNameCount) ? b.text(kTxtTableNames + n) : "";
        b.add(tables,
              treeKey(TreeNodeKind::CouplerTable,
                      tableKeyDetail(rail.symbolicId, rail.projectPosition, n)),
              std::to_string(n) + " " + name);
    }
}

void addChannels(TreeBuilder& b, const std::string& terminalKey, const std::string& terminalDetail,
                 const TreeTerminal& t) {
    if (t.channelNodes) {
        b.append(t.channelNodes(terminalKey, terminalDetail));
        return;
    }
    for (int32_t c = 0; c < t.logicalChannels; ++c) {
        std::string detail = channelKeyDetail(terminalDetail, c);
        std::string channelKey = b.add(terminalKey, treeKey(TreeNodeKind::TerminalChannel, detail),
                                       b.text(kTxtChannel) + std::to_string(c + 1));
        if (!t.registerModel) continue;
        b.add(channelKey, treeKey(TreeNodeKind::TerminalSettings, detail), b.text(kTxtSettings));
        b.add(channelKey, treeKey(TreeNodeKind::TerminalRegister, detail), b.text(kTxtRegister));
    }
}

void addTerminals(TreeBuilder& b, const std::string& couplerKey, const TreeRail& rail) {
    // A fieldbus box module shows its own channels at rail position 1.
    const bool module = startsWith(rail.infoName, "QP") || startsWith(rail.infoName, "QI");
    for (int32_t p = 1; p <= rail.terminalCount; ++p) {
        auto it = rail.terminals.find(p);
        if (it == rail.terminals.end()) continue;
        const TreeTerminal& t = it->second;
        std::string text;
        if (module && p == 1)
            text = "Channels:  (" + t.infoDescription + ")";
        else
            text = "Pos" + std::to_string(module ? p - 1 : p) + ": " + t.infoName + " (" +
                   t.infoDescription + ")";
        std::string detail =
            terminalKeyDetail(rail.symbolicId, rail.projectPosition, t.symbolicId, p);
        std::string key = b.add(couplerKey, treeKey(TreeNodeKind::Terminal, detail), text);
        addChannels(b, key, detail, t);
    }
}

}  // namespace

std::vector<TreeNodeData> fBuildProjectTree(const TreeSource& source, const AppContext& context) {
    TreeBuilder b(context);
    std::string couplerParent;
    if (!source.online) {
        if (source.projectName.empty()) return {};
        couplerParent =
            b.add("", treeKey(TreeNodeKind::Project), b.text(kTxtProject) + source.projectName);
        if (!source.rail) return b.take();
    } else if (!source.rail) {
        return {};
    }
    const TreeRail& rail = *source.rail;
    std::string text = (source.online ? std::string() : rail.symbolicName + "() ") +
                       "Pos0: " + rail.infoName + " " + rail.infoDescription;
    std::string couplerKey = b.add(
        couplerParent,
        treeKey(TreeNodeKind::Coupler, couplerKeyDetail(rail.symbolicId, rail.projectPosition)),
        text);
    addSettingsAndTables(b, couplerKey, rail);
    addTerminals(b, couplerKey, rail);
    return b.take();
}

}  // namespace varnak
