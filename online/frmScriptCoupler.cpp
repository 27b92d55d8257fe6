#include "online/frmScriptCoupler.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/clsForms.h"
#include "app/dialog_support.h"
#include "online/online_texts.h"
#include "online/script_dialog.h"
#include "online/transfer_dialog_parts.h"

namespace varnak {

frmScriptCoupler::frmScriptCoupler(QWidget* parent) : QDialog(parent) {
    setObjectName("frmScriptCoupler");
    setModal(true);
    Frame1 = new QGroupBox;
    chkAlleTabellen = new QCheckBox;
    chkAlleTabellen->setObjectName("chkAlleTabellen");
    // Every table section of the file is always considered: the box says so and takes
    // no other answer.
    chkAlleTabellen->setChecked(true);
    chkAlleTabellen->setEnabled(false);
    chkAutoReset = new QCheckBox;
    chkAutoReset->setObjectName("chkAutoReset");
    auto* boxes = new QVBoxLayout(Frame1);
    boxes->addWidget(chkAlleTabellen);
    boxes->addWidget(chkAutoReset);
    cmdPrjOk = new QPushButton;
    cmdPrjOk->setObjectName("cmdPrjOk");
    cmdPrjOk->setDefault(true);
    cmdPrjCancel = new QPushButton;
    cmdPrjCancel->setObjectName("cmdPrjCancel");
    cmdPrjCancel->setCursor(Qt::ArrowCursor);
    fraProgessBar = new TransferProgressFrame;
    auto* column = new QVBoxLayout(this);
    column->addWidget(Frame1);
    column->addWidget(fraProgessBar);
    column->addLayout(buttonRow({cmdPrjOk, cmdPrjCancel}));
    stepper_ = new ScriptStepper(this, cmdPrjOk, fraProgessBar);
    connect(cmdPrjOk, &QPushButton::clicked, this, [this] { cmdPrjOk_Click(); });
    connect(cmdPrjCancel, &QPushButton::clicked, this, [this] { reject(); });
}

frmScriptCoupler::~frmScriptCoupler() = default;

void frmScriptCoupler::fInitCaptions() {
    setWindowTitle(dialogText(kTxtScriptCaption));
    Frame1->setTitle(dialogText(kTxtScriptRange));
    chkAlleTabellen->setText(dialogText(kTxtScriptAllTables));
    chkAutoReset->setText(dialogText(kTxtScriptReset));
    cmdPrjOk->setText(dialogText(kTxtScriptOk));
    cmdPrjCancel->setText(dialogText(kTxtScriptCancel));
}

bool frmScriptCoupler::load(const std::string& path) {
    if (!scriptMayRun()) return false;
    script_ = readCouplerScript(path);
    if (!scriptFileUsable(script_.readable, script_.invalid, path)) return false;
    fInitCaptions();
    VarnakForms().SetDeviceIndependentWindow(this);
    fraProgessBar->fitToFont();
    fraProgessBar->hide();
    return true;
}

void frmScriptCoupler::fKonstruktor(std::string& path) {
    if (load(path)) exec();
}

void frmScriptCoupler::cmdPrjOk_Click() {
    if (stepper_->running() || !scriptMayRun()) return;
    stepper_->start(couplerScriptPlan(script_, chkAutoReset->isChecked()));
}

void frmScriptCoupler::reject() {
    if (!stepper_->closeRequested()) QDialog::reject();
}

}  // namespace varnak
