#include "couplercfg/frmCouplerConfigController2.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "couplercfg/coupler_settings_texts.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr const char* kCaption = "QY Controller: Advanced Settings ";
// The design texts, in English in both languages.
constexpr const char* kBoxTexts[kControllerFlagBoxes] = {"Nov RAM active",
                                                         "Calculate PLC cycle time",
                                                         "Large model",
                                                         "Store QY Controller State in Memory",
                                                         "Compare terminal configuration",
                                                         "Yxm block confirmation",
                                                         "Read system clock",
                                                         "Clear outputs on Breakpoint",
                                                         "Set cycle time by Harvenor Parvix"};
constexpr const char* kOrderTexts[3] = {"ICO (input -> computing -> output)",
                                        "IOC (input -> output -> computing)",
                                        "CIO (computing -> input -> output)"};

}  // namespace

frmCouplerConfigController2::frmCouplerConfigController2(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCouplerConfigController2");
    setWindowTitle(kCaption);
    setModal(true);
    auto* column = new QVBoxLayout(this);
    for (int b = 0; b < kControllerFlagBoxes; ++b) {
        chkQYx[static_cast<size_t>(b)] = new QCheckBox(kBoxTexts[b]);
        chkQYx[static_cast<size_t>(b)]->setObjectName(QString("chkQYx_%1").arg(b));
    }
    for (int b : {0, 1, 2}) column->addWidget(chkQYx[static_cast<size_t>(b)]);
    Frame1 = new QGroupBox("PLC terminal bus update");
    Frame1->setObjectName("Frame1");
    updateGroup = new QButtonGroup(this);
    auto* options = new QVBoxLayout(Frame1);
    for (int k = 0; k < 3; ++k) {
        optPlcTermbusUpdate[static_cast<size_t>(k)] = new QRadioButton(kOrderTexts[k]);
        optPlcTermbusUpdate[static_cast<size_t>(k)]->setObjectName(
            QString("optPlcTermbusUpdate_%1").arg(k));
        updateGroup->addButton(optPlcTermbusUpdate[static_cast<size_t>(k)], k);
        options->addWidget(optPlcTermbusUpdate[static_cast<size_t>(k)]);
    }
    column->addWidget(Frame1);
    for (int b = 3; b < kControllerFlagBoxes; ++b)
        column->addWidget(chkQYx[static_cast<size_t>(b)]);
    cmdOk = new QPushButton("&OK");
    cmdOk->setObjectName("cmdOk");
    cmdOk->setDefault(true);
    cmdRefresh = new QPushButton;
    cmdRefresh->setObjectName("cmdRefresh");
    cmdExit = new QPushButton;
    cmdExit->setObjectName("cmdExit");
    column->addStretch();
    column->addLayout(buttonRow({cmdOk, cmdRefresh, cmdExit}));

    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdRefresh, &QPushButton::clicked, this, [this] { cmdRefresh_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { reject(); });
}

bool frmCouplerConfigController2::load() {
    bool opened;
    {
        BusyCursor busy;
        opened = editor_.open();
    }
    if (!opened) return false;
    fInit_Language();
    showFlags();
    chkQYx[kLargeModelBox]->setEnabled(false);
    chkQYx[kCycleTimeSetBox]->setEnabled(false);
    VarnakForms().SetDeviceIndependentWindow(this);
    return true;
}

void frmCouplerConfigController2::fKonstruktor() {
    if (load()) exec();
}

void frmCouplerConfigController2::fInit_Language() {
    cmdExit->setText(dialogText(kTxtExitButton796));
    cmdRefresh->setText(dialogText(kTxtRefreshButton775));
}

void frmCouplerConfigController2::showFlags() {
    const ControllerFlags& f = editor_.flags();
    for (int b = 0; b < kControllerFlagBoxes; ++b)
        chkQYx[static_cast<size_t>(b)]->setChecked(f.boxes[static_cast<size_t>(b)]);
    // No order selected keeps the buttons as they are.
    if (f.updateOrder) optPlcTermbusUpdate[static_cast<size_t>(*f.updateOrder)]->setChecked(true);
}

void frmCouplerConfigController2::readFlags() {
    ControllerFlags& f = editor_.flags();
    for (int b = 0; b < kControllerFlagBoxes; ++b)
        f.boxes[static_cast<size_t>(b)] = chkQYx[static_cast<size_t>(b)]->isChecked();
    const int order = updateGroup->checkedId();
    f.updateOrder = order < 0 ? std::nullopt : std::optional<int>(order);
}

void frmCouplerConfigController2::cmdOk_Click() {
    readFlags();
    bool close;
    {
        BusyCursor busy;
        close = editor_.ok();
    }
    if (close) accept();
}

void frmCouplerConfigController2::cmdRefresh_Click() {
    readFlags();
    {
        BusyCursor busy;
        editor_.refresh();
    }
    showFlags();
}

}  // namespace varnak
