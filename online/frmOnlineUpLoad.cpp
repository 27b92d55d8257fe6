#include "online/frmOnlineUpLoad.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "model/app_context.h"
#include "model/basLookup.h"
#include "model/clsColTables.h"
#include "model/clsCoupler.h"
#include "model/clsProject.h"
#include "model/clsTable.h"
#include "model/device_register_model.h"
#include "online/online_texts.h"
#include "platform/unexamined_result.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

// What the dialog reads of table 0 when it opens.
constexpr int32_t kOpeningRegisters = 4;

}  // namespace

frmOnlineUpLoad::frmOnlineUpLoad(QWidget* parent) : QDialog(parent) {
    setObjectName("frmOnlineUpLoad");
    setModal(true);
    for (int i = 0; i < kTransferBoxes; ++i) {
        chkUpLoad[i] = new QCheckBox;
        chkUpLoad[i]->setObjectName(QString("chkUpLoad_%1").arg(i));
    }
    // Boxes 3 and 4 have no caption and start no reading: nothing for a user to tick.
    chkUpLoad[kUploadUnused1]->hide();
    chkUpLoad[kUploadUnused2]->hide();
    fraRange = new QGroupBox;
    fraRange->setObjectName("fraRange");
    auto* boxes = new QVBoxLayout(fraRange);
    for (int i :
         {kUploadCouplerSettings, kUploadProgrammedConfiguration, kUploadTerminalConfiguration})
        boxes->addWidget(chkUpLoad[i]);
    boxes->addLayout(range.layout());
    for (int i : {kUploadUnused1, kUploadUnused2, kUploadTotal}) boxes->addWidget(chkUpLoad[i]);

    cmdGet = new QPushButton;
    cmdGet->setObjectName("cmdGet");
    cmdGet->setDefault(true);
    cmdCancel = new QPushButton;
    cmdCancel->setObjectName("cmdCancel");
    cmdCancel->setAutoDefault(false);
    fraProgessBar = new TransferProgressFrame;
    auto* column = new QVBoxLayout(this);
    column->addWidget(fraRange);
    column->addWidget(fraProgessBar);
    column->addLayout(buttonRow({cmdGet, cmdCancel}));

    connect(chkUpLoad[kUploadTotal], &QCheckBox::toggled, this, [this](bool ticked) {
        if (ticked)
            for (QCheckBox* box : chkUpLoad) box->setChecked(true);
    });
    connect(cmdGet, &QPushButton::clicked, this, [this] { cmdGet_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] {
        result_ = false;
        reject();
    });
}

bool frmOnlineUpLoad::load() {
    fInitUploadCaptions();
    VarnakForms().SetDeviceIndependentWindow(this);
    fraProgessBar->fitToFont();
    result_ = false;
    if (!gfGetActiveCoupler(rail_) || !rail_) return false;
    if (gfVarnakProject()->Online()) {
        BusyCursor busy;
        // A fresh look at the coupler's first registers; a read that fails is not told here,
        // the upload itself reports what it cannot read.
        if (auto general = rail_->clsColTables()->Item(kGeneralSettingsTable))
            resultNotExamined(general->ConfUpload(0, kOpeningRegisters));
    }
    range.bind(*rail_, chkUpLoad[kUploadTerminalConfiguration]);
    fraProgessBar->hide();
    return true;
}

bool frmOnlineUpLoad::fKonstruktor() {
    if (!load()) return false;
    exec();
    return result_;
}

void frmOnlineUpLoad::fInitUploadCaptions() {
    setWindowTitle(dialogText(kTxtUploadCaption));
    chkUpLoad[kUploadCouplerSettings]->setText(dialogText(kTxtBoxCouplerSettings));
    chkUpLoad[kUploadProgrammedConfiguration]->setText(dialogText(kTxtBoxProgrammedConfiguration));
    chkUpLoad[kUploadTerminalConfiguration]->setText(dialogText(kTxtBoxTerminalConfiguration));
    chkUpLoad[kUploadTotal]->setText(dialogText(kTxtBoxTotalUpload));
    range.Label1->setText(dialogText(kTxtRangeUpto));
    cmdGet->setText(dialogText(kTxtUploadButton));
    cmdCancel->setText(dialogText(kTxtUploadCancel));
    fraProgessBar->lblProgBar->clear();
}

void frmOnlineUpLoad::cmdGet_Click() {
    if (!rail_) return;
    // A clean upload's notes are told before the name is asked: the rail saved next is not
    // all the station holds.
    const TransferDialogRun run{this,  cmdGet, fraProgessBar,        chkUpLoad,
                                range, {},     kTxtUploadIncomplete, kTxtUploadPassedOver};
    report_ = run([this](const TransferChoice& choice, const TransferProgress& progress) {
        return runStationUpload(*rail_, choice, progress);
    });
    result_ = report_.clean();
    accept();
}

}  // namespace varnak
