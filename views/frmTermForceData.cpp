#include "views/frmTermForceData.h"

#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include "model/app_context.h"
#include "model/text_util.h"
#include "views/no_communication_line.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int kOnlineTab = 1;
constexpr int kMonitorMs = 10;
constexpr int kTxtChannelUnmapped = 1855;

// A whole number as typed into the input box; nullopt for anything else (Cancel included).
std::optional<int32_t> wholeNumber(const std::string& text) {
    const std::string_view t = trimBlankView(text);
    size_t i = !t.empty() && (t[0] == '-' || t[0] == '+') ? 1 : 0;
    if (i == t.size() || t.size() - i > 9) return std::nullopt;
    int32_t n = 0;
    for (size_t k = i; k < t.size(); ++k) {
        if (t[k] < '0' || t[k] > '9') return std::nullopt;
        n = n * 10 + (t[k] - '0');
    }
    return t[0] == '-' ? -n : n;
}

}  // namespace

frmTermForceData::frmTermForceData(QWidget* parent) : QDialog(parent) {
    setObjectName("frmTermForceData");
    setModal(true);
    SSTab1 = new QTabWidget;
    SSTab1->setObjectName("SSTab1");
    lblAdress = new QLabel("Adress:");
    txtAdress = new QLineEdit;
    txtAdress->setObjectName("txtAdress");
    txtAdress->setReadOnly(true);
    Label1 = new QLabel("Value:");
    txtMontiorValue = new QLineEdit;
    txtMontiorValue->setObjectName("txtMontiorValue");
    txtMontiorValue->setReadOnly(true);
    Label2 = new QLabel("New Value:");
    cmdWrite = new QPushButton("Write...");
    cmdWrite->setObjectName("cmdWrite");
    cmdExit = new QPushButton("&Ende");
    cmdExit->setObjectName("cmdExit");
    lblNoCommunication = newNoCommunicationLine();

    auto* info = new QWidget;
    auto* infoForm = new QFormLayout(info);
    infoForm->addRow(lblAdress, txtAdress);
    auto* online = new QWidget;
    auto* onlineForm = new QFormLayout(online);
    onlineForm->addRow(Label1, txtMontiorValue);
    onlineForm->addRow(Label2, cmdWrite);
    SSTab1->addTab(info, "Info");
    SSTab1->addTab(online, "Online");
    auto* column = new QVBoxLayout(this);
    column->addWidget(lblNoCommunication);
    column->addWidget(SSTab1);
    column->addLayout(buttonRow({cmdExit}));

    Timer1.setSingleShot(true);
    connect(&Timer1, &QTimer::timeout, this, [this] { Timer1_Timer(); });
    connect(cmdWrite, &QPushButton::clicked, this, [this] { cmdWrite_Click(); });
    connect(cmdExit, &QPushButton::clicked, this, [this] { accept(); });
}

bool frmTermForceData::load(const std::string& key) {
    if (!force_.open(key)) {
        showNoCommunication();
        return false;
    }
    setWindowTitle(qText(force_.typeName()) +
                   (force_.typeName().empty() ? "" : QString(" - %1").arg(force_.channel() + 1)));
    VarnakForms().SetDeviceIndependentWindow(this);
    // Online or not decides the tab and the button whether the addresses are known.
    const bool online = force_.online();
    SSTab1->setTabEnabled(kOnlineTab, online);
    cmdWrite->setEnabled(online && force_.outputKey());
    if (!force_.load()) return true;  // idle: no address, no monitor
    txtMontiorValue->clear();
    if (force_.group() == ForceGroup::DigitalInput || force_.group() == ForceGroup::DigitalOutput)
        txtAdress->setText(qText(force_.addressText()));
    if (online) Timer1.start(kMonitorMs);
    return true;
}

void frmTermForceData::fKonstruktor(std::string& szKey) {
    if (load(szKey)) exec();
}

void frmTermForceData::Timer1_Timer() {
    if (const auto value = force_.fReadChannelValue())
        txtMontiorValue->setText(QString::number(*value));
    showPassHealth(lblNoCommunication, force_.health());
    Timer1.start(kMonitorMs);
}

void frmTermForceData::cmdWrite_Click() {
    AppContext& c = varnak();
    const auto answer = c.ui->inputBox("Eingabe :", "", "");
    const auto value = answer ? wholeNumber(*answer) : std::nullopt;
    if (!value) return;
    ChannelForce::WriteResult result;
    {
        BusyCursor busy;
        result = force_.fWriteChannelValue(*value);
    }
    if (result == ChannelForce::WriteResult::Unmapped)
        c.ui->messageBox(c.text(kTxtChannelUnmapped), vbExclamation, "");
    else if (result == ChannelForce::WriteResult::NoCommunication)
        showNoCommunication();
}

void frmTermForceData::done(int result) {
    Timer1.stop();
    QDialog::done(result);
}

}  // namespace varnak
