#include "app/dialog_pickers.h"

#include <initializer_list>
#include <memory>
#include <vector>

#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "model/clsTerminal.h"
#include "model/tree_node_key.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

template <typename Choice>
struct PickerRow {
    std::vector<std::string_view> types;
    Choice choice;
};

using D = DialogOpeners;

const std::vector<PickerRow<CouplerDialogChoice>>& couplerRows() {
    static const std::vector<PickerRow<CouplerDialogChoice>> rows{
        {{"QZ2000", "QZ2010"}, {"frmCouplerConfigQZ2000", &D::frmCouplerConfigQZ2000_fKonstruktor}},
        {{"QZ3000", "QZ3010", "QZ3100", "QZ3110", "QY3100", "QZ3500", "QL3100"},
         {"frmCouplerConfigQZ3000", &D::frmCouplerConfigQZ3000_fKonstruktor}},
        {{"QZ4000", "QZ4010"}, {"frmCouplerConfigQZ4000", &D::frmCouplerConfigQZ4000_fKonstruktor}},
        {{"QZ5000"}, {"frmCouplerConfigQZ5000", &D::frmCouplerConfigQZ5000_fKonstruktor}},
        {{"QZ5110", "QZ5120", "QL5100"},
         {"frmCouplerConfigQZ5110", &D::frmCouplerConfigQZ5110_fKonstruktor}},
        {{"QZ5100"}, {"frmCouplerConfigQZ5100", &D::frmCouplerConfigQZ5100_fKonstruktor}},
        {{"QZ5200", "QZ5210", "QL5200"},
         {"frmCouplerConfigQZ5200", &D::frmCouplerConfigQZ5200_fKonstruktor}},
        {{"QZ7300", "QY7300"}, {"frmCouplerConfigQZ7300", &D::frmCouplerConfigQZ7300_fKonstruktor}},
        {{"QZ8000", "QZ8100", "QZ8010", "QZ8110"},
         {"frmCouplerConfigQZ8000", &D::frmCouplerConfigQZ8000_fKonstruktor}},
        {{"QY9000", "QZ9000"}, {"frmCouplerConfigQY9000", &D::frmCouplerConfigQY9000_fKonstruktor}},
    };
    return rows;
}

const std::vector<PickerRow<TerminalDialogChoice>>& terminalRows() {
    static const std::vector<PickerRow<TerminalDialogChoice>> rows{
        {{"QT1501"}, {"frmTermConfigQT1501", &D::frmTermConfigQT1501_fKonstruktor}},
        {{"QT2502"}, {"frmTermConfigQT2502", &D::frmTermConfigQT2502_fKonstruktor}},
        {{"QT3002", "QT3004", "QT3012", "QT3014", "QT3022", "QT3024", "QT3042", "QT3052", "QT3062",
          "QT3064"},
         {"frmTermConfigQT3002", &D::frmTermConfigQT3002_fKonstruktor}},
        {{"QT3202"}, {"frmTermConfigQT3202", &D::frmTermConfigQT3202_fKonstruktor}},
        {{"QT3302", "QT3312", "QT3332"},
         {"frmTermConfigQT3302", &D::frmTermConfigQT3302_fKonstruktor}},
        {{"QT4002", "QT4004", "QT4012", "QT4014", "QT4022", "QT4032", "QT4034"},
         {"frmTermConfigQT4002", &D::frmTermConfigQT4002_fKonstruktor}},
        {{"QT5001"}, {"frmTermConfigQT5001", &D::frmTermConfigQT5001_fKonstruktor}},
        {{"QT5101", "QT5111"}, {"frmTermConfigQT5101", &D::frmTermConfigQT5101_fKonstruktor}},
        {{"QT6001", "QT6011", "QT6021"},
         {"frmTermConfigQT6001", &D::frmTermConfigQT6001_fKonstruktor}},
        {{"QT6051"}, {"frmTermConfigQT6051", &D::frmTermConfigQT6051_fKonstruktor}},
    };
    return rows;
}

template <typename Choice>
const Choice* pick(const std::vector<PickerRow<Choice>>& rows, std::string_view typeName) {
    const std::string_view six = typeName.substr(0, 6);
    for (const auto& row : rows) {
        for (std::string_view t : row.types) {
            if (t == six) return &row.choice;
        }
    }
    return nullptr;
}

void noDialogMessage() {
    AppContext& c = varnak();
    c.ui->messageBox(c.text(kTxtUseRegisterDialog), vbInformation, "");
}

}  // namespace

const CouplerDialogChoice* couplerDialogFor(std::string_view typeName) {
    return pick(couplerRows(), typeName);
}

const TerminalDialogChoice* terminalDialogFor(std::string_view typeName) {
    return pick(terminalRows(), typeName);
}

bool fOpenCouplerConfig(DialogOpeners& openers) {
    std::shared_ptr<clsCoupler> rail;
    if (!gfGetActiveCoupler(rail) || !rail) return false;
    const CouplerDialogChoice* choice = couplerDialogFor(rail->InfoName());
    if (!choice) {
        noDialogMessage();
        return false;
    }
    (openers.*(choice->open))();
    return true;
}

bool fOpenTermConfig(const std::string& key, DialogOpeners& openers) {
    int32_t railPosition = treeKeyField(key, kKeyRailPosition);
    int32_t table = treeKeyField(key, kKeyChannel);
    std::shared_ptr<clsCoupler> rail;
    if (!gfGetActiveCoupler(rail) || !rail) return false;
    std::shared_ptr<clsTerminal> terminal = rail->clsColTerminals()->ItemPos(railPosition);
    if (!terminal) return false;
    const TerminalDialogChoice* choice = terminalDialogFor(terminal->InfoName());
    if (!choice) {
        noDialogMessage();
        return false;
    }
    (openers.*(choice->open))(railPosition, table);
    return true;
}

}  // namespace varnak
