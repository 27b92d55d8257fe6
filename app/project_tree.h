#pragma once
// The project tree as data: the nodes (key, text, parent key) in the order they are
// added, built whole from a plain picture of the project. The main window shows the list
// in its tree widget; tests read it without widgets.
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace varnak {

struct AppContext;

struct TreeNodeData {
    std::string key;
    std::string text;
    std::string parentKey;  // "" for a root node
    bool operator==(const TreeNodeData&) const = default;
};

// The channel nodes of a terminal node (its key and its terminal detail).
using ChannelNodeWriter =
    std::function<std::vector<TreeNodeData>(const std::string& key, const std::string& detail)>;

// What the tree shows of one terminal.
struct TreeTerminal {
    int32_t symbolicId = 0;
    std::string infoName;
    std::string infoDescription;
    int32_t logicalChannels = 0;
    bool registerModel = false;
    // The terminal's own writer of its channel nodes; without one the nodes follow from
    // logicalChannels and registerModel.
    ChannelNodeWriter channelNodes;
};

// What the tree shows of the rail.
struct TreeRail {
    int32_t symbolicId = 0;
    int32_t projectPosition = 0;
    std::string symbolicName;
    std::string infoName;
    std::string infoDescription;
    std::vector<int32_t> tableNumbers;  // in the order of the rail's tables
    int32_t terminalCount = 0;
    std::map<int32_t, TreeTerminal> terminals;  // by rail position; gaps are skipped
};

struct TreeSource {
    bool online = false;
    std::string projectName;       // offline: empty means no project open
    std::optional<TreeRail> rail;  // offline: the project's first rail; online: the station's
};

// The nodes in insertion order, texts in the context's current language.
std::vector<TreeNodeData> fBuildProjectTree(const TreeSource& source, const AppContext& context);

// The nodes to make visible after a rebuild (their ancestors are expanded): the first
// three by insertion order.
inline constexpr int kVisibleAfterRebuild = 3;

}  // namespace varnak
