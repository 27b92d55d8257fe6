#include "views/register_editor.h"

#include <array>

#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColCouplers.h"
#include "model/clsColTables.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/clsTerminal.h"
#include "model/device_register_model.h"
#include "model/tree_node_key.h"
#include "windowkit/dialog_support.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

std::shared_ptr<clsTable> tableOf(const std::shared_ptr<clsCoupler>& rail, bool terminalKey,
                                  int32_t terminalNumber, bool byPosition, int32_t tableNr) {
    if (!rail) return nullptr;
    if (!terminalKey) return rail->clsColTables()->Item(tableNr);
    auto terminals = rail->clsColTerminals();
    auto terminal =
        byPosition ? terminals->ItemPos(terminalNumber) : terminals->ItemID(terminalNumber);
    return terminal ? terminal->clsColTables()->Item(tableNr) : nullptr;
}

}  // namespace

RegisterEditor::OpenResult RegisterEditor::open(const std::string& key) {
    const std::string_view kind = std::string_view(key).substr(0, kTreeKeyPrefixLength);
    const bool terminalKey = kind == SZ_TERMINAL_REGISTER;
    if (!terminalKey && kind != SZ_COUPLER_TABLE) return OpenResult::NothingToOpen;
    const int32_t couplerId = treeKeyField(key, kKeyCouplerId);
    const int32_t tableNr = treeKeyField(key, terminalKey ? kKeyChannel : kKeyTableNr);
    online_ = gfVarnakProject()->Online();
    if (!online_) {
        // Offline the ids of the key find the project's rail and terminal.
        auto rail = gfVarnakProject()->clsColCouplers()->ItemID(couplerId);
        table_ = tableOf(rail, terminalKey, treeKeyField(key, kKeyTermId), false, tableNr);
        if (!table_) return OpenResult::NothingToOpen;
        railSave_.bind(rail);
        return OpenResult::Opened;
    }
    // Online the station's rail by rail position; its values come from the device.
    std::shared_ptr<clsCoupler> rail;
    if (!gfGetActiveCoupler(rail)) return OpenResult::NoCommunication;
    table_ = tableOf(rail, terminalKey, treeKeyField(key, kKeyRailPosition), true, tableNr);
    if (!table_) return OpenResult::NoCommunication;
    return table_->ConfUpload(0, table_->TableLen() + 1) == 0 ? OpenResult::Opened
                                                              : OpenResult::NoCommunication;
}

int RegisterEditor::rowCount() const {
    return table_ ? table_->TableLen() + 1 : 0;
}

std::string RegisterEditor::offsetText(int row) const {
    return std::to_string(row);
}

std::string RegisterEditor::dataText(int row) const {
    return registerDisplayText(type_, table_->ConfRegisterValue(row));
}

std::string RegisterEditor::descriptionText(int row) const {
    return table_->InfoRegisterDesc(row);
}

std::optional<std::string> RegisterEditor::enter(int row, std::string_view text) {
    if (!table_ || row < 0 || row >= rowCount()) return std::nullopt;
    RegisterEntry entry = checkRegisterEntry(type_, text);
    if (entry.verdict == EntryVerdict::Refused)
        varnak().ui->messageBox(kRefusedEntryMessage, vbInformation, kProgramTitle);
    if (entry.verdict != EntryVerdict::Accepted) return std::nullopt;
    return registerDisplayText(type_, fWriteRegister(row, entry.value));
}

int32_t RegisterEditor::fWriteRegister(int32_t index, int32_t value) {
    const int32_t previous = table_->ConfRegisterValue(index);
    table_->setConfRegisterValue(index, value);
    if (!gfVarnakProject()->Online()) {
        if (value != previous) railSave_.changed();
        return value;
    }
    // The device may have taken the write while its reply was lost: the read-back always
    // runs and decides what the table holds.
    const int32_t written = table_->ConfDownload(index, 1);
    const int32_t readBack = table_->ConfUpload(index, 1);
    // An acknowledged write stands when only its read-back failed.
    if (written != 0 && readBack != 0) table_->setConfRegisterValue(index, previous);
    if (written != 0 || readBack != 0) showNoCommunication();
    return table_->ConfRegisterValue(index);
}

bool RegisterEditor::refresh() {
    if (!table_ || !gfVarnakProject()->Online()) return false;
    std::array<int32_t, kRegistersPerTable> before{};
    for (int r = 0; r < rowCount(); ++r) before[r] = table_->ConfRegisterValue(r);
    if (table_->ConfUpload(0, rowCount()) == 0) return true;
    // A failed read may have filled part of the table: the grid and the table stay as they
    // were shown.
    for (int r = 0; r < rowCount(); ++r) table_->setConfRegisterValue(r, before[r]);
    showNoCommunication();
    return false;
}

}  // namespace varnak
