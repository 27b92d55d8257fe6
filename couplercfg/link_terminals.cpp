#include "couplercfg/link_terminals.h"

#include <algorithm>

#include "couplercfg/coupler_settings_support.h"
#include "couplercfg/coupler_settings_texts.h"
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
#include "settingsforms/settings_messages.h"

namespace varnak {
namespace {

constexpr int32_t kFirstCodeRegister = 4;
constexpr int kPositionsPerRegister = 8;
constexpr std::array<int32_t, kLinkNumberFields> kNumberRegisters{0, 1, 2, 3, 15, 12, 13};

LinkCodeRegisters codeRegistersOf(clsTable& table) {
    LinkCodeRegisters r{};
    for (size_t i = 0; i < r.size(); ++i)
        r[i] = table.ConfRegisterValue(kFirstCodeRegister + static_cast<int32_t>(i));
    return r;
}

}  // namespace

int linkTerminalCode(const LinkCodeRegisters& registers, int position) {
    if (position < 1 || position > kLinkPositions) return 0;
    const int w = (position - 1) / kPositionsPerRegister;
    const int k = (position - 1) % kPositionsPerRegister;
    return static_cast<int>((registers[static_cast<size_t>(w)] >> (2 * k)) & 3);
}

LinkCodeRegisters linkCodeRegisters(const std::vector<int>& codes) {
    LinkCodeRegisters r{};
    const int n = std::min(static_cast<int>(codes.size()), kLinkPositions);
    for (int p = 1; p <= n; ++p) {
        const int w = (p - 1) / kPositionsPerRegister;
        const int k = (p - 1) % kPositionsPerRegister;
        r[static_cast<size_t>(w)] |= (codes[static_cast<size_t>(p - 1)] & 3) << (2 * k);
    }
    return r;
}

int32_t linkNumberRegister(int field) {
    return kNumberRegisters.at(static_cast<size_t>(field));
}

std::string linkCodeText(int code) {
    AppContext& c = varnak();
    switch (code) {
        case 0:
            return c.text(kTxtLinkCodeFieldbus);
        case 2:
            return c.text(kTxtLinkCodePlcCompact);
        case 3:
            return c.text(kTxtLinkCodePlcComplex);
        default:
            return std::to_string(code);
    }
}

std::string linkNumberCaption(int field) {
    // The last two are English in both languages.
    if (field == 5) return "PLC cycle time [ms]";
    if (field == 6) return "PLC background  time [ms]";
    return varnak().text(kTxtLinkRegisterFirst + field);
}

bool LinkTerminalEditor::open(const std::string& key) {
    if (std::string_view(key).substr(0, kTreeKeyPrefixLength) != SZ_SPECIFIC_PROG_TERMCFG)
        return false;
    online_ = gfVarnakProject()->Online();
    std::shared_ptr<clsCoupler> rail;
    if (!online_)
        rail = gfVarnakProject()->clsColCouplers()->ItemID(treeKeyField(key, kKeyCouplerId));
    else if (!gfGetActiveCoupler(rail))
        rail.reset();  // no rail: no table, which the check below answers
    std::shared_ptr<clsTable> table =
        rail ? rail->clsColTables()->Item(kControllerSettingsTable) : nullptr;
    if (table && online_) lastResult_ = table->ConfUpload(0, table->TableLen() + 1);
    if (!table || (online_ && lastResult_ != 0)) {
        showNoCommunication();
        return false;
    }
    rail_ = rail;
    table_ = table;
    railSave_.bind(rail);
    fDialogFromTable();
    const int n = static_cast<int>(rows_.size());
    if (n > kLinkPositions) {
        AppContext& c = varnak();
        c.ui->messageBox(c.text(kTxtLinkPositionsBeyond) + std::to_string(n), vbExclamation, "");
    }
    return true;
}

void LinkTerminalEditor::fDialogFromTable() {
    for (int f = 0; f < kLinkNumberFields; ++f)
        numbers_[static_cast<size_t>(f)] =
            std::to_string(table_->ConfRegisterValue(linkNumberRegister(f)) & 0xFFFF);
    const LinkCodeRegisters codes = codeRegistersOf(*table_);
    auto terminals = rail_->clsColTerminals();
    rows_.clear();
    for (int p = 1; p <= terminals->Count(); ++p) {
        LinkTerminalRow row;
        row.position = p;
        if (auto terminal = terminals->ItemPos(p)) row.type = terminal->InfoName();
        row.locked = p > kLinkPositions;
        row.code = row.locked ? 0 : linkTerminalCode(codes, p);
        rows_.push_back(row);
    }
}

void LinkTerminalEditor::setCode(int row, int code) {
    if (row < 0 || row >= static_cast<int>(rows_.size()) || rows_[static_cast<size_t>(row)].locked)
        return;
    if (std::find(kLinkCodes.begin(), kLinkCodes.end(), code) == kLinkCodes.end()) return;
    rows_[static_cast<size_t>(row)].code = code;
}

void LinkTerminalEditor::fTableFromDialog(const std::array<int32_t, kLinkNumberFields>& values) {
    for (int f = 0; f < kLinkNumberFields; ++f)
        table_->setConfRegisterValue(linkNumberRegister(f), values[static_cast<size_t>(f)]);
    std::vector<int> codes;
    for (const LinkTerminalRow& row : rows_) codes.push_back(row.code);
    const LinkCodeRegisters r = linkCodeRegisters(codes);
    for (size_t i = 0; i < r.size(); ++i)
        table_->setConfRegisterValue(kFirstCodeRegister + static_cast<int32_t>(i), r[i]);
}

bool LinkTerminalEditor::ok(const std::array<std::string, kLinkNumberFields>& numbers) {
    if (!table_) return true;
    std::array<int32_t, kLinkNumberFields> values{};
    refused_ = -1;
    for (int f = 0; f < kLinkNumberFields; ++f) {
        const auto value = numberFieldValue(numbers[static_cast<size_t>(f)]);
        if (!value) {
            refused_ = f;
            showRefusedEntry(linkNumberCaption(f), kNumberFieldRange);
            return false;
        }
        values[static_cast<size_t>(f)] = *value;
    }
    numbers_ = numbers;
    fTableFromDialog(values);
    lastResult_ =
        sendSettings(*table_, 0, table_->TableLen() + 1, online_, railSave_, AfterFailure::GoOn);
    return lastResult_ == 0;
}

bool LinkTerminalEditor::refresh() {
    if (!table_ || !online_) return false;
    lastResult_ = uploadWholeTable(*table_);
    if (lastResult_ != 0) return false;
    fDialogFromTable();
    return true;
}

}  // namespace varnak
