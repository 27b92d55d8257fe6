#include "online/frmOnlineDownLoad.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/app_context.h"
#include "model/clsColCouplers.h"
#include "model/clsProject.h"
#include "online/online_texts.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

// The design captions that the language routine leaves as they are.
constexpr const char* kTerminalSettingsCaption = "Klemmeneinstellungen";
constexpr const char* kRangeCaption = " Bereich ";

}  // namespace

frmOnlineDownLoad::frmOnlineDownLoad(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOnlineDownLoad");
    setModal(true);
    auto* boxes = new QVBoxLayout;
    for (int i = 0; i < kTransferBoxes; ++i) {
        chkDownSend[i] = new QCheckBox;
        chkDownSend[i]->setObjectName(QString("chkDownSend_%1").arg(i));
    }
    chkDownSend[kDownloadTerminalSettings]->setText(kTerminalSettingsCaption);
    fraRange = new QGroupBox(kRangeCaption);
    fraRange->setLayout(range.layout());
    for (int i :
         {kDownloadCouplerSettings, kDownloadProgrammedConfiguration, kDownloadTerminalSettings})
        boxes->addWidget(chkDownSend[i]);
    boxes->addWidget(fraRange);
    for (int i : {kDownloadUnused1, kDownloadUnused2, kDownloadReset})
        boxes->addWidget(chkDownSend[i]);

    cmdCouplerGeneral = new QPushButton;
    cmdCouplerGeneral->setObjectName("cmdCouplerGeneral");
    cmdSend = new QPushButton;
    cmdSend->setObjectName("cmdSend");
    cmdSend->setDefault(true);
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");
    for (QPushButton* b : {cmdCouplerGeneral, cmdCancel}) b->setAutoDefault(false);
    fraProgessBar = new TransferProgressFrame;

    auto* column = new QVBoxLayout(this);
    column->addLayout(boxes);
    column->addWidget(fraProgessBar);
    column->addLayout(buttonRow({cmdCouplerGeneral, cmdSend, cmdCancel}));

    connect(cmdSend, &QPushButton::clicked, this, [this] { cmdSend_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

bool frmOnlineDownLoad::load() {
    fInitCaptions();
    VarnakForms().SetDeviceIndependentWindow(this);
    fraProgessBar->fitToFont();
    chkDownSend[kDownloadUnused1]->hide();
    chkDownSend[kDownloadUnused2]->hide();
    chkDownSend[kDownloadReset]->setChecked(true);
    abort_ = false;
    auto couplers = gfVarnakProject()->clsColCouplers();
    if (couplers->Count() == 0) return false;
    m_Coupler = *couplers->begin();
    range.bind(*m_Coupler, chkDownSend[kDownloadTerminalSettings]);
    fraProgessBar->hide();
    return true;
}

void frmOnlineDownLoad::fInitCaptions() {
    setWindowTitle(dialogText(kTxtDownloadCaption));
    chkDownSend[kDownloadCouplerSettings]->setText(dialogText(kTxtBoxCouplerSettings));
    chkDownSend[kDownloadProgrammedConfiguration]->setText(
        dialogText(kTxtBoxProgrammedConfiguration));
    chkDownSend[kDownloadReset]->setText(dialogText(kTxtBoxAutostart));
    range.Label1->setText(dialogText(kTxtRangeUpto));
    cmdCouplerGeneral->setText(dialogText(kTxtCouplerGeneral));
    cmdSend->setText(dialogText(kTxtStartButton));
    cmdCancel->setText(dialogText(kTxtDialogCancel));
    fraProgessBar->lblProgBar->clear();
}

void frmOnlineDownLoad::cmdSend_Click() {
    if (!m_Coupler) return;
    const TransferDialogRun run{this,
                                cmdSend,
                                fraProgessBar,
                                chkDownSend,
                                range,
                                [this] { return abort_; },
                                kTxtDownloadIncomplete,
                                kTxtDownloadNotes};
    // No is the default: writing into a station that differs needs a deliberate Yes.
    const TransferQuestion goOn = [this](const std::string& question) {
        return varnak().ui->messageBox(question, vbYesNo | vbQuestion | vbDefaultButton2,
                                       windowTitle().toStdString()) == vbYes;
    };
    report_ = run([&](const TransferChoice& choice, const TransferProgress& progress) {
        return runSettingsDownload(*m_Coupler, choice, progress, goOn);
    });
    accept();
}

void frmOnlineDownLoad::cmdCancel_Click() {
    abort_ = true;
    reject();
}

}  // namespace varnak
