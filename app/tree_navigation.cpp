#include "app/tree_navigation.h"

#include <exception>
#include <memory>
#include <utility>
#include <vector>

#include "app/dialog_pickers.h"
#include "app/shell_texts.h"
#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/project_store.h"
#include "model/tree_node_key.h"
#include "model/ui_services.h"
#include "platform/unexamined_result.h"

namespace varnak {

NodeAction nodeDispatchAction(std::string_view key) {
    if (key.size() <= kTreeKeyPrefixLength) return NodeAction::None;
    static const std::vector<std::pair<std::string_view, NodeAction>> table{
        {SZ_PROJECT_GRPKEY, NodeAction::None},
        {SZ_COUPLER_ITEMKEY, NodeAction::None},
        {SZ_TERMINAL_ITEMKEY, NodeAction::None},
        {SZ_TERMINAL_CHANNEL, NodeAction::ProcDataDigital},
        {SZ_TERMINAL_REGISTER, NodeAction::Register},
        {SZ_COUPLER_TABLE, NodeAction::Register},
        {SZ_TERMINAL_SETTINGS, NodeAction::TermConfig},
        {SZ_CONTROLLER_SETTINGS, NodeAction::ControllerSettings},
        {SZ_CONTROLLER_SETTINGS2, NodeAction::ControllerSettings2},
        {SZ_COMMON_SETTINGS, NodeAction::CommonSettings},
        {SZ_SPECIFIC_SETTINGS, NodeAction::SpecificSettings},
        {SZ_SPECIFIC_PROG_CONF, NodeAction::ProgConf},
        {SZ_SPECIFIC_AUTO_CONF, NodeAction::AutoConf},
        {SZ_SPECIFIC_PROG_TERMCFG, NodeAction::LinkTerm},
        {SZ_CHANNEL_INDATA, NodeAction::TermForceData},
        {SZ_CHANNEL_OUTDATA, NodeAction::TermForceData},
        {SZ_CHANNEL_STATUS, NodeAction::TermForceData},
        {SZ_CHANNEL_CONTROL, NodeAction::TermForceData},
    };
    const std::string_view prefix = key.substr(0, kTreeKeyPrefixLength);
    for (const auto& [p, action] : table) {
        if (p == prefix) return action;
    }
    return NodeAction::None;
}

namespace {

// A window that fails while it opens or works leaves the tree as it was, and the user
// learns why the window did not come (silence would look like a dead node).
void reportDispatchFailure(const std::string& what) {
    AppContext& c = varnak();
    c.ui->messageBox(c.text(kTxtActionFailed) + (what.empty() ? "" : "\n" + what), vbCritical, "");
}

}  // namespace

void runReportingFailure(const std::function<void()>& action) {
    try {
        action();
    } catch (const std::exception& e) {
        reportDispatchFailure(e.what());
    } catch (...) {
        reportDispatchFailure("");
    }
}

void runNodeDispatch(const std::string& key, DialogOpeners& openers) {
    runReportingFailure([&] {
        std::string copy = key;
        switch (nodeDispatchAction(key)) {
            case NodeAction::None:
                break;
            case NodeAction::ProcDataDigital: {
                int32_t lTermPos = 0, lSignalChannel = 0;  // ignored by the window
                openers.frmProcDataDigital_fKonstruktor(lTermPos, lSignalChannel);
                break;
            }
            case NodeAction::Register:
                openers.frmRegister_fRegister(copy);
                break;
            case NodeAction::TermConfig:
                failureShownOrTargetGone(fOpenTermConfig(key, openers));
                break;
            case NodeAction::ControllerSettings:
                openers.frmCouplerConfigController_fKonstruktor();
                break;
            case NodeAction::ControllerSettings2:
                openers.frmCouplerConfigController2_fKonstruktor();
                break;
            case NodeAction::CommonSettings:
                openers.frmCouplerConfigGeneral_fKonstruktorCouplerConfigGeneral();
                break;
            case NodeAction::SpecificSettings:
                failureShownOrTargetGone(fOpenCouplerConfig(openers));
                break;
            case NodeAction::ProgConf: {
                bool show = true;
                failureAlreadyShown(openers.frmConfigProg_fKonstruktor(show));
                break;
            }
            case NodeAction::AutoConf: {
                bool show = true;
                openers.frmConfigAuto_fKonstruktor(show);
                break;
            }
            case NodeAction::LinkTerm:
                openers.frmCouplerConfigControllerLinkTerm_fRegister(copy);
                break;
            case NodeAction::TermForceData:
                openers.frmTermForceData_fKonstruktor(copy);
                break;
        }
    });
}

TreeKeyCommand treeKeyCommand(std::string_view key, int keyCode, int shift, bool online) {
    switch (keyCode) {
        case kKeyEnter:
            if (shift == 0) return TreeKeyCommand::Dispatch;
            if (shift == kShiftAlt) return TreeKeyCommand::Popup;
            return TreeKeyCommand::None;
        case kKeyInsert:
        case kKeyDelete:
            if (online || key.substr(0, kTreeKeyPrefixLength) != SZ_TERMINAL_ITEMKEY ||
                key.size() <= kTreeKeyPrefixLength)
                return TreeKeyCommand::None;
            return keyCode == kKeyInsert ? TreeKeyCommand::InsertTerminal
                                         : TreeKeyCommand::DeleteTerminal;
        default:
            return TreeKeyCommand::None;
    }
}

int32_t deleteTerminalOfKey(const std::string& key) {
    const int32_t couplerId = treeKeyField(key, kKeyCouplerId);
    const int32_t position = treeKeyField(key, kKeyRailPosition);
    std::shared_ptr<clsCoupler> rail = gfVarnakProject()->clsColCouplers()->ItemID(couplerId);
    if (!rail || !rail->clsColTerminals()->ItemPos(position)) return kStoreBadPosition;
    rail->clsColTerminals()->Remove(position);
    return rail->ConfSaveData();
}

}  // namespace varnak
