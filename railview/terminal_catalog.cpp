#include "railview/terminal_catalog.h"

#include <cmath>
#include <limits>
#include <set>

#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/clsCommon.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTerminal.h"
#include "model/device_description.h"
#include "model/device_register_model.h"
#include "model/project_store.h"
#include "model/text_util.h"
#include "model/tree_node_key.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "windowkit/offline_rail_save.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

constexpr size_t kDescriptionBuffer = 100;  // at most 99 characters arrive
constexpr size_t kGroupLength = 3;

bool excluded(const std::string& name) {
    const std::string head = upperAscii(name.substr(0, kGroupLength));
    return head == "QTD" || head == "QTU";
}

std::shared_ptr<clsCoupler> projectRail(int32_t couplerId) {
    return gfVarnakProject()->clsColCouplers()->ItemID(couplerId);
}

}  // namespace

std::vector<CatalogNode> fTerminalCatalog(const std::filesystem::path& terminalFolder,
                                          int32_t languageNr) {
    std::vector<CatalogNode> nodes;
    std::set<std::string> keys;
    const std::string descKey = "Lang" + std::to_string(languageNr) + "_Desc";
    for (const std::string& file : platform::listMatching(terminalFolder, "QT*.INI")) {
        // A name of a group's length or shorter could never be inserted.
        if (excluded(file) || file.size() <= 4 + kGroupLength) continue;
        const std::string path = (terminalFolder / file).string();
        // A damaged description would insert a terminal of type "0".
        if (!usableDescription(path)) continue;
        const std::string name = upperAscii(file.substr(0, file.size() - 4));
        if (!keys.insert(name).second) continue;
        std::string description;
        const size_t length = ini::GetPrivateProfileString("Common", descKey, "0", description,
                                                           kDescriptionBuffer, path);
        const std::string group = name.substr(0, kGroupLength);
        if (keys.insert(group).second) nodes.push_back({group, group + "xxx", ""});
        nodes.push_back({name, length > 1 ? name + ",    " + description : name, group});
    }
    return nodes;
}

int32_t insertPositionAtEnd(const clsColTerminals& terminals) {
    const int32_t n = terminals.Count();
    if (n < 1) return 1;
    auto last = terminals.ItemPos(n);
    if (last && last->InfoName() == kEndTerminalType) return n;
    return n + 1;
}

std::optional<InsertTarget> terminalInsertTarget(std::string_view key) {
    const std::string_view kind = key.substr(0, kTreeKeyPrefixLength);
    InsertTarget target;
    target.couplerId = treeKeyField(key, kKeyCouplerId);
    auto rail = projectRail(target.couplerId);
    if (!rail || isGroupKey(key)) return std::nullopt;
    if (kind == SZ_COUPLER_ITEMKEY) {
        target.position = insertPositionAtEnd(*rail->clsColTerminals());
    } else if (kind == SZ_TERMINAL_ITEMKEY) {
        target.position = treeKeyField(key, kKeyRailPosition);
    } else {
        return std::nullopt;
    }
    return target;
}

int32_t insertCount(std::string_view text) {
    const double n = std::fabs(leadingNumber(std::string(text)));
    return n > std::numeric_limits<int32_t>::max() ? std::numeric_limits<int32_t>::max()
                                                   : static_cast<int32_t>(n);
}

std::optional<int32_t> spinInsertStep(std::string_view text, bool up) {
    const double n = leadingNumber(std::string(text));
    if (up && n < kSpinInsertMax) return static_cast<int32_t>(n) + 1;
    if (!up && n > 1) return static_cast<int32_t>(std::min(n, 2147483647.0)) - 1;
    return std::nullopt;
}

int32_t insertTerminals(const InsertTarget& target, const std::string& type, int32_t count) {
    auto rail = projectRail(target.couplerId);
    if (!rail) return kStoreBadPosition;
    if (count < 1) return kStoreOk;
    AppContext& c = varnak();
    const std::string description = deviceDescriptionFile("Terminal", type);
    int32_t result = newDeviceRefusal(description, kChannelDefaultsTable);
    if (result == kStoreOk)
        result = rail->clsColTerminals()->Add(type, target.position, count, target.couplerId);
    if (result != kStoreOk) {
        c.ui->messageBox(newDeviceRefusalText(result, description), vbCritical, kProgramTitle);
        return result;
    }
    OfflineRailSave save(rail);
    save.changed();
    return save.save();
}

}  // namespace varnak
