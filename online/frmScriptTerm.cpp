#include "online/frmScriptTerm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/clsForms.h"
#include "app/dialog_support.h"
#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "online/online_texts.h"
#include "online/script_dialog.h"
#include "online/transfer_dialog_parts.h"
#include "online/transfer_run.h"

namespace varnak {

frmScriptTerm::frmScriptTerm(QWidget* parent) : QDialog(parent) {
    setObjectName("frmScriptTerm");
    setModal(true);
    Frame1 = new QGroupBox;
    auto* range = new QGridLayout(Frame1);
    for (int i = 0; i < 2; ++i) {
        Text1[i] = new QLineEdit;
        Text1[i]->setObjectName(QString("Text1_%1").arg(i));
        Text1[i]->setMaximumWidth(Text1[i]->fontMetrics().averageCharWidth() * 8);
        Label1[i] = new QLabel;
        range->addWidget(Label1[i], i, 0);
        range->addWidget(Text1[i], i, 1);
    }
    cmdPrjOk = new QPushButton;
    cmdPrjOk->setObjectName("cmdPrjOk");
    cmdPrjOk->setDefault(true);
    cmdPrjCancel = new QPushButton;
    cmdPrjCancel->setObjectName("cmdPrjCancel");
    // The button that stops a run keeps the normal pointer.
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

frmScriptTerm::~frmScriptTerm() = default;

void frmScriptTerm::fInitCaptions() {
    setWindowTitle(dialogText(kTxtScriptCaption));
    Frame1->setTitle(dialogText(kTxtScriptRange));
    Label1[0]->setText(dialogText(kTxtScriptFirstPosition));
    Label1[1]->setText(dialogText(kTxtScriptLastPosition));
    cmdPrjOk->setText(dialogText(kTxtScriptOk));
    cmdPrjCancel->setText(dialogText(kTxtScriptCancel));
}

bool frmScriptTerm::load(const std::string& path) {
    if (!scriptMayRun()) return false;
    path_ = path;
    script_ = readTerminalScript(path);
    if (!scriptFileUsable(script_.readable, script_.invalid, path)) return false;
    AppContext& c = varnak();
    if (script_.lines.empty()) {
        c.ui->messageBox(c.text(kTxtScriptNothingToWrite), vbExclamation, "");
        return false;
    }
    if (!gfGetActiveCoupler(rail_) || !rail_) return false;
    fInitCaptions();
    VarnakForms().SetDeviceIndependentWindow(this);
    fraProgessBar->fitToFont();
    fraProgessBar->hide();
    const int32_t count = rail_->clsColTerminals()->Count();
    if (count >= 1) {
        Text1[0]->setText("1");
        Text1[1]->setText(QString::number(count));
    }
    return true;
}

void frmScriptTerm::fKonstruktor(std::string& path) {
    if (load(path)) exec();
}

void frmScriptTerm::cmdPrjOk_Click() {
    if (stepper_->running() || !rail_ || !scriptMayRun()) return;
    const auto range =
        terminalRange(Text1[0]->text().toStdString(), Text1[1]->text().toStdString());
    ScriptPlan plan;
    if (range) plan = terminalScriptPlan(script_, *rail_, range->first, range->last);
    if (plan.writes.empty()) {
        AppContext& c = varnak();
        c.ui->messageBox(c.text(kTxtScriptNoTerminalInRange), vbExclamation, "");
        return;
    }
    stepper_->start(std::move(plan));
}

void frmScriptTerm::reject() {
    if (!stepper_->closeRequested()) QDialog::reject();
}

}  // namespace varnak
