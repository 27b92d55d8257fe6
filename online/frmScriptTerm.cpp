#include "online/frmScriptTerm.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTerminals.h"
#include "model/clsCoupler.h"
#include "online/online_texts.h"
#include "online/transfer_run.h"
#include "windowkit/dialog_support.h"

namespace varnak {

frmScriptTerm::frmScriptTerm(QWidget* parent) : ScriptDialog("frmScriptTerm", parent) {
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
    addFrame(Frame1);
}

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
    script_ = readTerminalScript(path);
    if (!scriptFileUsable(script_.readable, script_.invalid, path)) return false;
    AppContext& c = varnak();
    if (script_.lines.empty()) {
        c.ui->messageBox(c.text(kTxtScriptNothingToWrite), vbExclamation, "");
        return false;
    }
    if (!gfGetActiveCoupler(rail_) || !rail_) return false;
    fInitCaptions();
    finishLoad();
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
    if (stepper().running() || !rail_ || !scriptMayRun()) return;
    const auto range =
        terminalRange(Text1[0]->text().toStdString(), Text1[1]->text().toStdString());
    ScriptPlan plan;
    if (range) plan = terminalScriptPlan(script_, *rail_, range->first, range->last);
    if (plan.writes.empty()) {
        AppContext& c = varnak();
        c.ui->messageBox(c.text(kTxtScriptNoTerminalInRange), vbExclamation, "");
        return;
    }
    stepper().start(std::move(plan));
}

}  // namespace varnak
