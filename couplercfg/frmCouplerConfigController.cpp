#include "couplercfg/frmCouplerConfigController.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "couplercfg/coupler_settings_texts.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {

frmCouplerConfigController::frmCouplerConfigController(QWidget* parent,
                                                       CycleTimeMeasurement::Evaluation evaluation)
    : QDialog(parent), measurement_(std::move(evaluation)) {
    setObjectName("frmCouplerConfigController");
    setWindowTitle("Controller Settings");
    setModal(true);
    sstabDiag = new QTabWidget;
    sstabDiag->setObjectName("sstabDiag");
    auto* page = new QWidget;
    auto* grid = new QGridLayout(page);
    for (int i = 0; i < kCycleTimeValueCount; ++i) {
        lblDiag[static_cast<size_t>(i)] = new QLabel;
        lblDiagValue[static_cast<size_t>(i)] = new QLabel("Value");
        lblDiagValue[static_cast<size_t>(i)]->setObjectName(QString("lblDiagValue_%1").arg(i));
        lblDiagValue[static_cast<size_t>(i)]->setFrameShape(QFrame::StyledPanel);
        lblDiagValue[static_cast<size_t>(i)]->setFrameShadow(QFrame::Sunken);
        lblDiagValue[static_cast<size_t>(i)]->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        grid->addWidget(lblDiag[static_cast<size_t>(i)], i, 0);
        grid->addWidget(lblDiagValue[static_cast<size_t>(i)], i, 1);
    }
    chkActivateTimeCycle = new QCheckBox;
    chkActivateTimeCycle->setObjectName("chkActivateTimeCycle");
    grid->addWidget(chkActivateTimeCycle, kCycleTimeValueCount, 0, 1, 2);
    grid->setRowStretch(kCycleTimeValueCount + 1, 1);
    sstabDiag->addTab(page, "PLC cycle time");
    cmdOk = new QPushButton;
    cmdOk->setObjectName("cmdOk");

    auto* column = new QVBoxLayout(this);
    column->addWidget(sstabDiag, 1);
    column->addLayout(buttonRow({cmdOk}));

    // The program's own ticking of the box runs this too.
    connect(chkActivateTimeCycle, &QCheckBox::toggled, this, [this](bool on) {
        BusyCursor busy;
        measurement_.setActive(on);
    });
    connect(cmdOk, &QPushButton::clicked, this, [this] { accept(); });
    measurement_.onValues([this](const std::array<std::string, kCycleTimeValueCount>& texts) {
        for (int i = 0; i < kCycleTimeValueCount; ++i)
            lblDiagValue[static_cast<size_t>(i)]->setText(qText(texts[static_cast<size_t>(i)]));
    });
    measurement_.onFailedPoll([] { QApplication::beep(); });
}

bool frmCouplerConfigController::load() {
    bool opened;
    {
        BusyCursor busy;
        opened = measurement_.open();
    }
    if (!opened) return false;
    loaded_ = true;
    BusyCursor busy;
    fInit_Language();
    VarnakForms().SetDeviceIndependentWindow(this);
    setWindowTitle(windowTitle() + (measurement_.online() ? " (Online)" : " (Offline)"));
    fInitCycleTimeView();
    return true;
}

void frmCouplerConfigController::fKonstruktor() {
    if (load()) exec();
}

void frmCouplerConfigController::fInit_Language() {
    setWindowTitle(QString());
    cmdOk->setText(dialogText(kTxtOkButton552));
    // The page keeps its own caption: the caption the routine sets is that of a second
    // page, which the dialog does not have.
    for (int i = 0; i < kCycleTimeValueCount; ++i)
        lblDiag[static_cast<size_t>(i)]->setText(dialogText(kTxtCycleTimeFirst + i));
    chkActivateTimeCycle->setText(dialogText(kTxtActivateCycleTime));
}

void frmCouplerConfigController::fInitCycleTimeView() {
    for (QLabel* value : lblDiagValue) {
        value->clear();
        // Room for "0000.000" in the font the scaling gave, however the values change.
        value->setMinimumWidth(value->fontMetrics().horizontalAdvance("0000.000") +
                               2 * value->frameWidth() +
                               value->fontMetrics().averageCharWidth() * 2);
    }
    // A running evaluation ticks the box, which restarts it.
    chkActivateTimeCycle->setChecked(measurement_.evaluationRuns());
}

void frmCouplerConfigController::done(int result) {
    if (loaded_) measurement_.close();
    loaded_ = false;
    QDialog::done(result);
}

}  // namespace varnak
