#include "online/frmScriptCoupler.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "online/online_texts.h"
#include "windowkit/dialog_support.h"

namespace varnak {

frmScriptCoupler::frmScriptCoupler(QWidget* parent) : ScriptDialog("frmScriptCoupler", parent) {
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
    addFrame(Frame1);
}

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
    finishLoad();
    return true;
}

void frmScriptCoupler::fKonstruktor(std::string& path) {
    if (load(path)) exec();
}

void frmScriptCoupler::cmdPrjOk_Click() {
    if (stepper().running() || !scriptMayRun()) return;
    stepper().start(couplerScriptPlan(script_, chkAutoReset->isChecked()));
}

}  // namespace varnak
