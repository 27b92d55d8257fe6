#include "app/tree_popup_menus.h"

#include <memory>
#include <optional>

#include "app/basgfAccessDB.h"
#include "app/menu_texts.h"
#include "app/name_rules.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColCouplers.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "model/tree_node_key.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

// The key's last three characters as a number, when they are digits.
bool trailingNumber(std::string_view key, int32_t& value) {
    if (key.size() < kTreeKeyPrefixLength + 3) return false;
    std::string_view digits = key.substr(key.size() - 3);
    value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') return false;
        value = value * 10 + (c - '0');
    }
    return true;
}

}  // namespace

PopupChoice popupFor(std::string_view key, bool online, bool developerMode) {
    using Kind = PopupChoice::Kind;
    PopupChoice choice;
    const std::string_view prefix = key.substr(0, kTreeKeyPrefixLength);
    if (prefix == SZ_PROJECT_GRPKEY) {
        if (!online) choice.kind = Kind::ProjectMenu;
    } else if (prefix == SZ_COUPLER_ITEMKEY) {
        choice.kind = Kind::CouplerMenu;
        for (int i : {0, 3, 5}) choice.couplerEnabled[i] = !online;
        choice.couplerEnabled[1] = true;
    } else if (prefix == SZ_COUPLER_TABLE) {
        int32_t table = 0;
        if (developerMode && !isGroupKey(key) && trailingNumber(key, table)) {
            choice.kind = Kind::SaveTableAsResource;
            choice.railPosition = 0;
            choice.tableNr = table;
        }
    } else if (prefix == SZ_TERMINAL_CHANNEL) {
        if (developerMode && key.size() >= kKeyChannel + 2) {
            choice.kind = Kind::SaveTableAsResource;
            choice.railPosition = treeKeyField(key, kKeyRailPosition);
            choice.tableNr = treeKeyField(key, kKeyChannel);
        }
    } else if (prefix == SZ_TERMINAL_ITEMKEY) {
        if (!online && !isGroupKey(key)) choice.kind = Kind::TerminalMenu;
    }
    return choice;
}

void runPopupDirectAction(const PopupChoice& choice, DialogOpeners& openers) {
    if (choice.kind != PopupChoice::Kind::SaveTableAsResource) return;
    int32_t position = choice.railPosition;
    int32_t table = choice.tableNr;
    openers.frmSaveTableAsResource_fKonstruktor(position, table);
}

int32_t saveCouplerOfKey(const std::string& key) {
    std::shared_ptr<clsCoupler> rail =
        gfVarnakProject()->clsColCouplers()->ItemID(treeKeyField(key, kKeyCouplerId));
    if (!rail) return kStoreBadPosition;
    return rail->ConfSaveData();
}

bool saveOnlineCouplerAs(DialogOpeners& openers) {
    if (!openers.frmOnlineUpLoad_fKonstruktor()) return false;
    AppContext& c = varnak();
    auto project = gfVarnakProject();
    if (project->ProjektName().empty()) openers.frmProjNew_Show();
    if (project->ProjektName().empty()) return false;
    std::optional<std::string> answer =
        c.ui->inputBox(c.text(kTxtCouplerNamePrompt), c.text(kTxtSaveAsTitle), "");
    if (!answer) return false;
    const std::string name = railNameFromInput(*answer);
    if (name.empty()) return false;
    if (!validRailName(name)) {
        c.ui->messageBox(railNameRefusal(name), vbInformation, kProgramTitle);
        return false;
    }
    if (gfRailNameExists(project->FullPathProject(), name)) return false;
    std::shared_ptr<clsCoupler> rail = c.VarnakOnlineCoupler;
    if (!rail) return false;
    rail->setConfSymbolicName(name);
    int32_t result = rail->ConfSaveData();
    if (result != kStoreOk) {
        c.ui->messageBox(storeResultMessage(result), vbCritical, kProgramTitle);
        return false;
    }
    return true;
}

}  // namespace varnak
