#include "fieldbus/coupler_settings_dialog.h"

#include <QPushButton>

#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int kTxtTitle = 550;
constexpr int kTxtDefault = 551;
constexpr int kTxtOk = 552;
constexpr int kTxtCancel = 553;

}  // namespace

CouplerSettingsDialog::CouplerSettingsDialog(const CouplerFormEntry& form, QWidget* parent)
    : SettingsDialog(parent), form_(form) {
    setForm(form, session_);
}

bool CouplerSettingsDialog::load() {
    if (session_.open(form_.tables) != CouplerSettingsSession::OpenResult::Opened) return false;
    BusyCursor busy;
    fInit_Language();
    VarnakForms().SetDeviceIndependentWindow(this);
    setWindowTitle(qText(session_.title(windowTitle().toStdString())));
    fLoadDialog();
    opened();
    return true;
}

void CouplerSettingsDialog::fKonstruktor() {
    if (load()) exec();
}

void CouplerSettingsDialog::fInit_Language() {
    initCaptions(kTxtTitle, kTxtDefault, kTxtOk, kTxtCancel);
}

}  // namespace varnak
