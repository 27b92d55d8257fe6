#include "terminalcfg/terminal_settings_dialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int kTxtAllChannels = 870;
constexpr int kTxtDefault = 871;
constexpr int kTxtOk = 872;
constexpr int kTxtCancel = 873;
constexpr int kTxtTitle = 874;

}  // namespace

TerminalSettingsDialog::TerminalSettingsDialog(const TerminalFormEntry& form, QWidget* parent)
    : SettingsDialog(parent), form_(form) {
    Label1 = new QLabel;
    Label1->setObjectName("Label1");
    chkConfigAllChannel = new QCheckBox;
    chkConfigAllChannel->setObjectName("chkConfigAllChannel");
    topLines()->addWidget(Label1);
    topLines()->addWidget(chkConfigAllChannel);
    setForm(form, session_);
}

bool TerminalSettingsDialog::load(int32_t railPosition, int32_t channel) {
    if (session_.open(railPosition, channel) != TerminalSettingsSession::OpenResult::Opened)
        return false;
    BusyCursor busy;
    fInit_Language();
    Label1->setText(qText(session_.header()));
    fLoadDialog();
    VarnakForms().SetDeviceIndependentWindow(this);
    chkConfigAllChannel->setVisible(session_.offersAllChannels());
    chkConfigAllChannel->setChecked(false);
    opened();
    return true;
}

void TerminalSettingsDialog::fKonstruktor(int32_t railPosition, int32_t channel) {
    if (load(railPosition, channel)) exec();
}

void TerminalSettingsDialog::fInit_Language() {
    chkConfigAllChannel->setText(dialogText(kTxtAllChannels));
    initCaptions(kTxtTitle, kTxtDefault, kTxtOk, kTxtCancel);
}

int32_t TerminalSettingsDialog::transfer() {
    return session_.transfer(session_.offersAllChannels() && chkConfigAllChannel->isChecked());
}

}  // namespace varnak
