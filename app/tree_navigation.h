#pragma once
// What the project tree does on a double-click, the Enter key, Alt+Enter, Insert and
// Delete: the rules as functions of the selected node's key, so that the window only
// reads the key and runs what these answer.
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "windowkit/dialog_openers.h"

namespace varnak {

// The view or dialog a node opens (double-click, Enter).
enum class NodeAction {
    None,
    ProcDataDigital,      // frmProcDataDigital.fKonstruktor(0, 0)
    Register,             // frmRegister.fRegister(key)
    TermConfig,           // fOpenTermConfig(key)
    ControllerSettings,   // frmCouplerConfigController.fKonstruktor
    ControllerSettings2,  // frmCouplerConfigController2.fKonstruktor
    CommonSettings,       // frmCouplerConfigGeneral.fKonstruktorCouplerConfigGeneral
    SpecificSettings,     // fOpenCouplerConfig
    ProgConf,             // frmConfigProg.fKonstruktor(True)
    AutoConf,             // frmConfigAuto.fKonstruktor(True)
    LinkTerm,             // frmCouplerConfigControllerLinkTerm.fRegister(key)
    TermForceData,        // frmTermForceData.fKonstruktor(key)
};

// None for group nodes (keys of exactly 25 characters) and unknown prefixes.
NodeAction nodeDispatchAction(std::string_view key);

// Runs the node's action through the openers. An error of the opened window ends the
// dispatch with a message naming it.
void runNodeDispatch(const std::string& key, DialogOpeners& openers);

// Runs one of the tree's actions (dispatch, insert, delete, popup item); an error that
// reaches here ends the action with a message naming it, so that no window fails unseen.
void runReportingFailure(const std::function<void()>& action);

// Key codes and the Alt modifier as the tree's key handler receives them.
inline constexpr int kKeyEnter = 13;
inline constexpr int kKeyInsert = 45;
inline constexpr int kKeyDelete = 46;
inline constexpr int kShiftAlt = 4;

enum class TreeKeyCommand { None, Dispatch, Popup, InsertTerminal, DeleteTerminal };

// Insert and Delete act only offline and only on terminal nodes.
TreeKeyCommand treeKeyCommand(std::string_view key, int keyCode, int shift, bool online);

// Removes the terminal a terminal key names from its rail in the project and saves the
// rail at once, so that the project on disk matches the tree (the terminal's file goes
// with that save). Returns a StoreResult; kStoreBadPosition when the key names no
// terminal of a loaded rail.
[[nodiscard]] int32_t deleteTerminalOfKey(const std::string& key);

}  // namespace varnak
