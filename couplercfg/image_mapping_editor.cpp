#include "couplercfg/image_mapping_editor.h"

#include "comctl/QZcomOCX.h"
#include "couplercfg/mapping_dialog_texts.h"
#include "couplerservices/protected_download.h"
#include "mapping/mapping_edit_rules.h"
#include "mapping/mapping_list.h"
#include "mapping/mapping_routines.h"
#include "mapping/mapping_texts.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "model/register_device.h"
#include "platform/unexamined_result.h"

namespace varnak {
namespace {

void showMessage(const std::string& text, int style) {
    varnak().ui->messageBox(text, style, "");
}

std::vector<std::vector<std::string>> reportRows(const MappingGrid& grid) {
    auto rows = grid.texts(kMappingColumnLast);
    rows.emplace_back(kMappingColumnCount);
    return rows;
}

}  // namespace

const MappingGrid& ImageMappingEditor::grid(MappingDirection direction) const {
    return direction == MappingDirection::Input ? input_ : output_;
}

bool ImageMappingEditor::showRefusal(const MappingRefusal& refusal) const {
    if (refusal) showMessage(mappingProblemText(*refusal), vbCritical);
    return refusal.has_value();
}

bool ImageMappingEditor::load() {
    AppContext& c = varnak();
    std::shared_ptr<clsCoupler> coupler;
    if (!gfGetActiveCoupler(coupler) || !coupler) {
        showMessage(c.text(469), vbCritical);
        return false;
    }
    online_ = gfVarnakProject()->Online();
    if (showRefusal(railMappingLayout(*coupler, online_, layout_))) return false;
    // The automatic placement answers false for any rail with terminals (none of them
    // places itself); the dialog shows the mapping the terminals hold either way.
    if (variant_ == Variant::Automatic) resultNotExamined(coupler->fCalcTermAdrInImages());
    std::vector<MappingTextFault> faults;
    // After a list the coupler did not deliver, neither list is taken from it: the grids
    // show what the project holds, and the failure is told once.
    MappingRefusal unread;
    auto recalculate = [&](MappingDirection d) {
        if (variant_ == Variant::Programmed && online_ && !unread)
            unread = fReCalcProgrammedConfiguration(*coupler, layout_, d, online_);
    };
    recalculate(MappingDirection::Input);
    input_ = fFillInputImageGrid(layout_, faults);
    recalculate(MappingDirection::Output);
    output_ = fFillOutputImageGrid(layout_, faults);
    coupler_ = coupler;
    railSave_.bind(coupler);
    if (unread) showMessage(mappingProblemText(*unread), vbExclamation);
    if (!faults.empty()) showMessage(mappingTextFaultsMessage(faults), vbExclamation);
    return true;
}

int ImageMappingEditor::filterKey(MappingDirection direction, int row, int column,
                                  int character) const {
    return fFilterMappingKey(grid(direction).flags(row), column, character);
}

std::string ImageMappingEditor::enter(MappingDirection direction, int row, int column,
                                      const std::string& text) {
    MappingGrid& g = direction == MappingDirection::Input ? input_ : output_;
    // Only a changed cell is checked: an edit left as it was never costs a message.
    if (text == g.cell(row, column)) return text;
    const MappingCellResult result =
        fValidateMappingCell(g.flags(row), column, text, g.cell(row, column));
    if (result.message != MappingCellMessage::None)
        showMessage(mappingCellMessageText(result.message, varnak().LanguageNr), vbCritical);
    g.setCell(row, column, result.text);
    return g.cell(row, column);
}

bool ImageMappingEditor::ok() {
    if (!coupler_) return true;
    RailMappingLayout layout;
    if (showRefusal(railMappingLayout(*coupler_, online_, layout))) return false;
    const bool fits = fGridFitsLayout(layout, MappingDirection::Input, input_) &&
                      fGridFitsLayout(layout, MappingDirection::Output, output_);
    if (showRefusal(fits ? MappingRefusal() : MappingProblem{MappingProblem::Kind::RailChanged}))
        return false;
    // A guessed layout takes nothing: the dialog stays open for Cancel.
    if (const auto undescribed = layout.undescribedPositions(); !undescribed.empty()) {
        showMessage(undescribedRefusedMessage(undescribed), vbExclamation);
        return false;
    }
    if (showRefusal(fStoreInputImageGrid(*coupler_, layout, input_)) ||
        showRefusal(fStoreOutputImageGrid(*coupler_, layout, output_)))
        return false;
    const std::vector<int32_t> unknown = fStoreTerminalList(*coupler_, layout, online_);
    if (!unknown.empty()) showMessage(terminalListKeptMessage(unknown), vbExclamation);
    if (!online_) {
        railSave_.changed();
        failureAlreadyShown(railSave_.save());
        return true;
    }
    return download(unknown.empty());
}

bool ImageMappingEditor::download(bool withTerminalList) {
    AppContext& c = varnak();
    const int32_t lifted = couplerWriteProtection(false);
    if (lifted != 0) {
        showMessage(liftOutcomeUnknown(lifted)
                        ? liftUnknownText(lifted)
                        : withValues(c.text(kTxtLiftRefused), {std::to_string(lifted)}),
                    vbCritical);
        return false;
    }
    std::vector<int32_t> tables;
    for (MappingDirection d : {MappingDirection::Input, MappingDirection::Output}) {
        const std::vector<int32_t> list = mappingTablesToSend(*coupler_, d);
        tables.insert(tables.end(), list.begin(), list.end());
    }
    if (withTerminalList) tables.push_back(kProgrammedTerminalList);
    for (int32_t t : tables) {
        auto table = coupler_->clsColTables()->Item(t);
        const int32_t result = table->ConfDownload(0, table->TableLen() + 1);
        if (result != 0) {
            showMessage(
                withValues(c.text(kTxtDownloadFailed), {std::to_string(t), std::to_string(result)}),
                vbCritical);
            return false;
        }
    }
    // The reboot is asked for and not checked: a coupler that missed it runs on with the
    // mapping it was sent until it restarts. A sound lift had a control.
    if (c.ui->messageBox(kRebootQuestion, vbYesNo | vbQuestion, "") == vbYes)
        resultNotExamined(c.VarnakComOCX->QZxResetSoftwareReq(c.MultiPointAdr));
    return true;
}

ConfigProgTables ImageMappingEditor::tables() const {
    if (!coupler_) return {};
    return {reportRows(input_), reportRows(output_)};
}

}  // namespace varnak
