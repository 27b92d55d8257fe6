#include "app/frmComParam.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMovie>
#include <QPushButton>
#include <QShowEvent>
#include <QSpinBox>
#include <QTabWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "app/InitComPort.h"
#include "app/port_list_entry.h"
#include "app/resource_folder.h"
#include "app/shell_texts.h"
#include "model/app_context.h"
#include "model/clsCommon.h"
#include "platform/paths.h"
#include "platform/registry_store.h"
#include "windowkit/clsForms.h"
#include "windowkit/shared_texts.h"

namespace varnak {
namespace {

void fillList(QComboBox* box, std::initializer_list<const char*> entries) {
    box->clear();
    for (const char* e : entries) box->addItem(e);
}

int clampedNumber(const std::string& text, int low, int high) {
    double n = leadingNumber(text);
    return static_cast<int>(std::clamp<double>(n, low, high));
}

}  // namespace

frmComParam::frmComParam(AppContext& context, QWidget* parent)
    : QDialog(parent), context_(context) {
    setModal(true);
    SSTab1_ = new QTabWidget(this);

    auto* fraDummy = new QWidget;
    auto* form = new QFormLayout(fraDummy);
    for (int i = 0; i < 8; ++i) lblSelectedPort_[i] = new QLabel;
    for (auto& box : comboSelPort) box = new QComboBox;
    // The port list keeps the dialog's width whatever the device paths are; its entries
    // are fitted to it (fitPortEntries), the whole path is the entry's tool tip.
    QComboBox* ports = comboSelPort[kPort];
    ports->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    ports->setMinimumContentsLength(kPortListChars);
    ports->setSizePolicy(QSizePolicy::Expanding, ports->sizePolicy().verticalPolicy());
    ports->installEventFilter(this);
    connect(ports, &QComboBox::currentIndexChanged, this, [ports](int index) {
        ports->setToolTip(ports->itemData(index, Qt::ToolTipRole).toString());
    });
    fpLITimeOut = new QSpinBox;
    fpLITimeOut->setRange(kMinTimeout, kMaxTimeout);
    fpLImultiPoint = new QSpinBox;
    fpLImultiPoint->setRange(0, kMaxStationAddress);
    form->addRow(lblSelectedPort_[0], comboSelPort[kPort]);
    form->addRow(lblSelectedPort_[1], comboSelPort[kBaud]);
    form->addRow(lblSelectedPort_[2], comboSelPort[kDataBits]);
    form->addRow(lblSelectedPort_[3], comboSelPort[kParity]);
    form->addRow(lblSelectedPort_[4], comboSelPort[kStopBits]);
    form->addRow(lblSelectedPort_[7], comboSelPort[kType]);
    form->addRow(lblSelectedPort_[5], fpLITimeOut);
    form->addRow(lblSelectedPort_[6], fpLImultiPoint);
    cmdTest = new QPushButton;
    Animation1 = new QLabel;
    Animation1->setMinimumSize(48, 32);
    auto* testRow = new QHBoxLayout;
    testRow->addWidget(cmdTest);
    testRow->addWidget(Animation1, 1);
    form->addRow(testRow);
    SSTab1_->addTab(fraDummy, QString());

    auto* Frame1 = new QWidget;
    auto* wizards = new QVBoxLayout(Frame1);
    chkCheckCurrentKBUS = new QCheckBox;
    wizards->addWidget(chkCheckCurrentKBUS);
    wizards->addStretch(1);
    SSTab1_->addTab(Frame1, QString());

    cmdOK = new QPushButton;
    cmdOK->setDefault(true);
    cmdCancel = new QPushButton;
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOK);
    buttons->addWidget(cmdCancel);
    auto* outer = new QVBoxLayout(this);
    outer->addWidget(SSTab1_);
    outer->addLayout(buttons);

    connect(cmdOK, &QPushButton::clicked, this, &frmComParam::cmdOK_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &frmComParam::cmdCancel_Click);
    connect(cmdTest, &QPushButton::clicked, this, &frmComParam::cmdTest_Click);

    fInitComCaptions();
    resize(360, 340);
    VarnakForms().SetDeviceIndependentWindow(this);
}

void frmComParam::InitComPort() {
    InitComPortUnreported(context_);
}

bool frmComParam::eventFilter(QObject* watched, QEvent* event) {
    if (watched == comboSelPort[kPort] && event->type() == QEvent::Resize) fitPortEntries();
    return QDialog::eventFilter(watched, event);
}

void frmComParam::fitPortEntries() {
    QComboBox* ports = comboSelPort[kPort];
    const int width = comboTextWidth(*ports);
    for (int i = 0; i < ports->count(); ++i) {
        ports->setItemText(i, portListEntry(ports->itemData(i).toInt(),
                                            ports->itemData(i, Qt::ToolTipRole).toString(),
                                            ports->fontMetrics(), width));
    }
}

void frmComParam::showEvent(QShowEvent* event) {
    if (!event->spontaneous()) fLoad();
    QDialog::showEvent(event);
}

void frmComParam::fLoad() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    loaded_ = fLoadComSettings(*context_.settings, comSettingsAppName(context_));
    fFillComLists();
    fInitCurrentCheck();
    fInitComCaptions();
    QApplication::restoreOverrideCursor();
}

void frmComParam::fFillComLists() {
    QComboBox* ports = comboSelPort[kPort];
    ports->clear();
    for (const PortEntry& p : fProbePorts(context_, probe_)) {
        ports->addItem(QString(), p.number);
        ports->setItemData(ports->count() - 1, QString::fromStdString(p.device), Qt::ToolTipRole);
    }
    fitPortEntries();
    QComboBox* baud = comboSelPort[kBaud];
    baud->clear();
    for (const auto& rate : supportedBaudRates()) baud->addItem(QString::fromStdString(rate));
    fillList(comboSelPort[kDataBits], {"4", "5", "6", "7", "8"});
    fillList(comboSelPort[kParity], {"Even", "Odd", "None"});
    fillList(comboSelPort[kStopBits], {"1", "2"});
    fillList(comboSelPort[kType], {"RS232", "RS485"});

    bool portOk = false;
    int port = QString::fromStdString(loaded_.Port).trimmed().toInt(&portOk);
    ports->setCurrentIndex(portOk ? ports->findData(port) : -1);
    ports->setToolTip(ports->currentData(Qt::ToolTipRole).toString());
    baud->setCurrentText(QString::fromStdString(baudRateThatRuns(loaded_.Baud)));
    // The control takes only the exact text "RS232" as RS232; show what runs.
    comboSelPort[kType]->setCurrentText(loaded_.QZxType == "RS232" ? "RS232" : "RS485");
    fpLITimeOut->setValue(clampedNumber(loaded_.Timeout, kMinTimeout, kMaxTimeout));
    fpLImultiPoint->setValue(clampedNumber(loaded_.MultiPoint, 0, kMaxStationAddress));
    comboSelPort[kDataBits]->setCurrentText("8");
    comboSelPort[kParity]->setCurrentText("Even");
    comboSelPort[kStopBits]->setCurrentText("1");
    for (int i : {kDataBits, kParity, kStopBits}) comboSelPort[i]->setEnabled(false);
}

void frmComParam::fInitCurrentCheck() {
    chkCheckCurrentKBUS->setChecked(loaded_.CheckCurrentKBus);
    if (context_.VarnakCommon) context_.VarnakCommon->setCheckCurrentKBus(loaded_.CheckCurrentKBus);
}

void frmComParam::fInitComCaptions() {
    auto t = [&](int id) { return QString::fromStdString(context_.text(id)); };
    setWindowTitle(t(kTxtComParamCaption));
    cmdCancel->setText(t(kTxtCancel));
    cmdOK->setText(t(kTxtOkButton));
    cmdTest->setText(t(kTxtTestButton));
    for (int i = 0; i < 8; ++i) lblSelectedPort_[i]->setText(t(kTxtComPortLabelFirst + i));
    chkCheckCurrentKBUS->setText(t(kTxtCheckCurrentKBus));
    SSTab1_->setTabText(0, t(kTxtComPortTab));
    SSTab1_->setTabText(1, t(kTxtWizardsTab));
}

ComSettings frmComParam::fShownSettings() const {
    ComSettings s = loaded_;
    // With no port in the list the stored port stays; an empty port would make every
    // later open fail.
    QVariant port = comboSelPort[kPort]->currentData();
    if (port.isValid()) s.Port = std::to_string(port.toInt());
    auto shown = [&](int list) {
        return comboSelPort[list]->currentText().trimmed().toStdString();
    };
    s.Baud = shown(kBaud);
    s.DataBits = shown(kDataBits);
    s.Parity = shown(kParity).substr(0, 1);
    s.StopBits = shown(kStopBits);
    s.QZxType = shown(kType);
    s.Timeout = std::to_string(fpLITimeOut->value());
    s.MultiPoint = std::to_string(fpLImultiPoint->value());
    s.CheckCurrentKBus = chkCheckCurrentKBUS->isChecked();
    return s;
}

void frmComParam::cmdOK_Click() {
    storeComSettingsAndReopen(context_, fShownSettings());
    accept();
}

void frmComParam::cmdCancel_Click() {
    reject();
}

void frmComParam::setButtonsEnabled(bool enabled) {
    cmdCancel->setEnabled(enabled);
    cmdOK->setEnabled(enabled);
    cmdTest->setEnabled(enabled);
}

void frmComParam::cmdTest_Click() {
    setButtonsEnabled(false);
    // The search clip of the resource folder plays while the test reads.
    std::filesystem::path clip =
        platform::resolveCaseInsensitive(shellResourceFolder(context_) / "Graph" / "Findfile.gif");
    if (!clip_) clip_ = new QMovie(this);
    clip_->stop();
    clip_->setFileName(QString::fromStdString(clip.string()));
    Animation1->setMovie(clip_);
    clip_->start();
    repaint();
    context_.ui->pumpEvents();
    ComSettings shown = fShownSettings();
    storeComSettingsAndReopen(context_, shown);
    loaded_ = shown;
    int code = fTestConnection(context_);
    clip_->stop();
    showConnectionTestResult(context_, code);
    setButtonsEnabled(true);
}

}  // namespace varnak
