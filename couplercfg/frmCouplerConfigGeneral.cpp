#include "couplercfg/frmCouplerConfigGeneral.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QVBoxLayout>

#include "couplercfg/coupler_settings_texts.h"
#include "windowkit/clsForms.h"
#include "windowkit/dialog_support.h"

namespace varnak {
namespace {

constexpr int kTabCount = 8;
constexpr int kPlcInterfaceTab = 4;
constexpr int kRailTab = 5;
constexpr int kYxpTab = 6;
constexpr int kYxpRoute = 3;

const char* const kBoxNames[kImageBoxCount] = {
    "chkActivateImage",     "chkAutoconfiguration", "chkEvaluation", "chkMotorola",
    "chkMotorolaDigitalQT", "chkWordAlignment",     "chkInputSynch", "chkOutputSynch"};
const char* const kFieldbusNames[3] = {"radStopCycle", "radOutputDefault", "radOutputNoChange"};
const char* const kTerminalbusNames[3] = {"radStopDataTransfer", "radInputDefault",
                                          "radInputNoChange"};

QString indexed(const char* name, int index) {
    return QString("%1_%2").arg(name).arg(index);
}

template <typename W>
W* named(W* widget, const QString& name) {
    widget->setObjectName(name);
    return widget;
}

QLineEdit* numberField(const char* name) {
    auto* field = named(new QLineEdit, name);
    field->setAlignment(Qt::AlignRight);
    field->setMaxLength(10);
    return field;
}

// A group of options that may also have none selected.
void selectOption(QButtonGroup* group, const std::optional<int>& id) {
    QAbstractButton* chosen = id ? group->button(*id) : nullptr;
    if (chosen) {
        chosen->setChecked(true);
        return;
    }
    group->setExclusive(false);
    for (QAbstractButton* b : group->buttons()) b->setChecked(false);
    group->setExclusive(true);
}

std::optional<int> selectedOption(const QButtonGroup* group) {
    const int id = group->checkedId();
    return id < 0 ? std::nullopt : std::optional<int>(id);
}

QButtonGroup* optionGroup(QWidget* owner, QGroupBox* frame,
                          const std::vector<QRadioButton*>& options, const std::vector<int>& ids) {
    auto* group = new QButtonGroup(owner);
    auto* column = new QVBoxLayout(frame);
    for (size_t i = 0; i < options.size(); ++i) {
        group->addButton(options[i], ids[i]);
        column->addWidget(options[i]);
    }
    return group;
}

}  // namespace

frmCouplerConfigGeneral::frmCouplerConfigGeneral(QWidget* parent) : QDialog(parent) {
    setObjectName("frmCouplerConfigGeneral");
    setModal(true);
    SSTab1 = named(new QTabWidget, "SSTab1");
    // All eight tabs in sight: the dialog is as wide as its tab row.
    SSTab1->setUsesScrollButtons(false);
    for (int i = 0; i < kGeneralImageCount; ++i) SSTab1->addTab(imageTab(i), QString());
    SSTab1->addTab(plcInterfaceTab(), QString());
    SSTab1->addTab(railTab(), QString());
    SSTab1->addTab(new QWidget, QString());
    SSTab1->addTab(new QWidget, QString());
    cmdDefault = named(new QPushButton, "cmdDefault");
    cmdOk = named(new QPushButton, "cmdOk");
    cmdCancel = named(new QPushButton, "cmdCancel");
    cmdOk->setDefault(true);

    auto* column = new QVBoxLayout(this);
    column->addWidget(SSTab1, 1);
    column->addLayout(buttonRow({cmdDefault, cmdOk, cmdCancel}));

    connect(cmdDefault, &QPushButton::clicked, this, [this] { cmdDefault_Click(); });
    connect(cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
    connect(cmdCancel, &QPushButton::clicked, this, [this] { reject(); });
}

QWidget* frmCouplerConfigGeneral::imageTab(int image) {
    ImageControls& c = images[static_cast<size_t>(image)];
    auto* panel = named(new QWidget, indexed("SSPanel1Tab1", image));
    c.fraImageDesc = named(new QGroupBox, indexed("fraImageDesc", image));
    auto* boxes = new QVBoxLayout(c.fraImageDesc);
    for (int b = 0; b < kImageBoxCount; ++b) {
        c.boxes[static_cast<size_t>(b)] = named(new QCheckBox, indexed(kBoxNames[b], image));
        boxes->addWidget(c.boxes[static_cast<size_t>(b)]);
    }
    connect(c.boxes[kAutoconfiguration], &QCheckBox::clicked, this,
            [this, image](bool ticked) { chkAutoconfiguration_Click(image, ticked); });
    c.fraFieldbusError = named(new QGroupBox, indexed("fraFieldbusError", image));
    c.fraTerminalbusError = named(new QGroupBox, indexed("fraTerminalbusError", image));
    std::vector<QRadioButton*> fieldbus, terminalbus;
    for (int k = 0; k < 3; ++k) {
        c.fieldbus[static_cast<size_t>(k)] =
            named(new QRadioButton, indexed(kFieldbusNames[k], image));
        c.terminalbus[static_cast<size_t>(k)] =
            named(new QRadioButton, indexed(kTerminalbusNames[k], image));
        fieldbus.push_back(c.fieldbus[static_cast<size_t>(k)]);
        terminalbus.push_back(c.terminalbus[static_cast<size_t>(k)]);
    }
    c.fieldbusGroup = optionGroup(this, c.fraFieldbusError, fieldbus, {0, 1, 2});
    c.terminalbusGroup = optionGroup(this, c.fraTerminalbusError, terminalbus, {0, 1, 2});

    auto* grid = new QGridLayout(panel);
    grid->addWidget(c.fraImageDesc, 0, 0, 2, 1);
    grid->addWidget(c.fraFieldbusError, 0, 1);
    grid->addWidget(c.fraTerminalbusError, 1, 1);
    grid->setRowStretch(2, 1);
    return panel;
}

QWidget* frmCouplerConfigGeneral::plcInterfaceTab() {
    auto* panel = named(new QWidget, "SSPanel1TabCol2_0");
    Frame4 = named(new QGroupBox, "Frame4");
    lblMasterSlave = named(new QLabel, "lblMasterSlave");
    lblSlaveMaster = named(new QLabel, "lblSlaveMaster");
    fpMasterSlave = numberField("fpMasterSlave");
    fpSlaveMaster = numberField("fpSlaveMaster");
    auto* offsets = new QGridLayout(Frame4);
    offsets->addWidget(lblMasterSlave, 0, 0);
    offsets->addWidget(fpMasterSlave, 0, 1);
    offsets->addWidget(lblSlaveMaster, 1, 0);
    offsets->addWidget(fpSlaveMaster, 1, 1);
    Frame1 = named(new QGroupBox, "Frame1");
    chkSPSInterface = named(new QCheckBox, "chkSPSInterface");
    (new QVBoxLayout(Frame1))->addWidget(chkSPSInterface);
    Frame2 = named(new QGroupBox, "Frame2");
    for (int k : {0, 1, kYxpRoute})
        radEvents[static_cast<size_t>(k)] = named(new QRadioButton, indexed("radEvents", k));
    eventsGroup = optionGroup(this, Frame2, {radEvents[0], radEvents[1], radEvents[kYxpRoute]},
                              {0, 1, kYxpRoute});

    auto* grid = new QGridLayout(panel);
    grid->addWidget(Frame4, 0, 0);
    grid->addWidget(Frame1, 1, 0);
    grid->addWidget(Frame2, 0, 1, 2, 1);
    grid->setRowStretch(2, 1);
    return panel;
}

QWidget* frmCouplerConfigGeneral::railTab() {
    auto* panel = named(new QWidget, "SSPanel1TabCol2_1");
    Frame3 = named(new QGroupBox, "Frame3");
    chkAutoReset = named(new QCheckBox, "chkAutoReset");
    chkDiagnostics = named(new QCheckBox, "chkDiagnostics");
    chkDiagnosticsDigTerm = named(new QCheckBox, "chkDiagnosticsDigTerm");
    auto* switches = new QVBoxLayout(Frame3);
    for (QCheckBox* b : {chkAutoReset, chkDiagnostics, chkDiagnosticsDigTerm})
        switches->addWidget(b);
    Frame5 = named(new QGroupBox, "Frame5");
    auto* waits = new QGridLayout(Frame5);
    for (int k = 0; k < 2; ++k) {
        lblWailAfterSYNC[static_cast<size_t>(k)] =
            named(new QLabel, indexed("lblWailAfterSYNC", k));
        fpWaitValue[static_cast<size_t>(k)] =
            numberField(indexed("fpWaitValue", k).toUtf8().constData());
        waits->addWidget(lblWailAfterSYNC[static_cast<size_t>(k)], k, 0);
        waits->addWidget(fpWaitValue[static_cast<size_t>(k)], k, 1);
    }
    Frame6 = named(new QGroupBox, "Frame6");
    chkOldTermConfig = named(new QCheckBox, "chkOldTermConfig");
    (new QVBoxLayout(Frame6))->addWidget(chkOldTermConfig);

    auto* grid = new QGridLayout(panel);
    grid->addWidget(Frame3, 0, 0);
    grid->addWidget(Frame5, 0, 1);
    grid->addWidget(Frame6, 1, 0);
    grid->setRowStretch(2, 1);
    return panel;
}

bool frmCouplerConfigGeneral::load() {
    bool opened;
    {
        BusyCursor busy;
        opened = editor_.open();
    }
    if (!opened) return false;
    fInit_Language();
    setUpTabs();
    showForm();
    VarnakForms().SetDeviceIndependentWindow(this);
    loaded_ = true;
    return true;
}

int32_t frmCouplerConfigGeneral::fKonstruktorCouplerConfigGeneral() {
    if (load()) exec();
    return 0;
}

void frmCouplerConfigGeneral::fInit_Language() {
    // The German column of the string table holds the design texts.
    setWindowTitle(dialogText(kTxtGeneralCaption));
    SSTab1->setTabText(kPlcInterfaceTab, dialogText(kTxtPlcInterfaceTab));
    SSTab1->setTabText(kRailTab, dialogText(kTxtRailTab));
    SSTab1->setTabText(kYxpTab, dialogText(kTxtYxpTab));
    SSTab1->setTabText(kYxpTab + 1, dialogText(kTxtReservedTab));
    for (const ImageControls& c : images) {
        for (int b = 0; b < kImageBoxCount; ++b)
            c.boxes[static_cast<size_t>(b)]->setText(dialogText(kTxtImageBoxFirst + b));
        c.fraFieldbusError->setTitle(dialogText(kTxtFieldbusErrorFrame));
        c.fraTerminalbusError->setTitle(dialogText(kTxtTerminalbusErrorFrame));
        for (int k = 0; k < 3; ++k) {
            c.fieldbus[static_cast<size_t>(k)]->setText(dialogText(kTxtFieldbusReactionFirst + k));
            c.terminalbus[static_cast<size_t>(k)]->setText(
                dialogText(kTxtTerminalbusReactionFirst + k));
        }
    }
    chkSPSInterface->setText(dialogText(kTxtPlcInterfaceBox));
    Frame2->setTitle(dialogText(kTxtEventsFrame));
    radEvents[0]->setText(dialogText(kTxtEventsFieldbus));
    radEvents[1]->setText(dialogText(kTxtEventsDiagnostic));
    radEvents[kYxpRoute]->setText(dialogText(kTxtEventsYxp));
    Frame4->setTitle(dialogText(kTxtOffsetFrame));
    lblMasterSlave->setText(dialogText(kTxtMasterSlave));
    lblSlaveMaster->setText(dialogText(kTxtSlaveMaster));
    chkAutoReset->setText(dialogText(kTxtAutoReset));
    chkDiagnostics->setText(dialogText(kTxtDeviceDiagnostic));
    chkDiagnosticsDigTerm->setText(dialogText(kTxtDiagnosticDigital));
    for (int k = 0; k < 2; ++k)
        lblWailAfterSYNC[static_cast<size_t>(k)]->setText(dialogText(kTxtWaitAfterSync0 + k));
    chkOldTermConfig->setText(dialogText(kTxtOldTermConfig));
    cmdDefault->setText(dialogText(kTxtDefaultButton));
    cmdOk->setText(dialogText(kTxtApplyButton));
    cmdCancel->setText(dialogText(kTxtCancelButton));
}

void frmCouplerConfigGeneral::setUpTabs() {
    const GeneralTabs tabs = editor_.tabs();
    for (int i = 0; i < kGeneralImageCount; ++i) {
        SSTab1->setTabText(i, qText(tabs.captions[static_cast<size_t>(i)]));
        SSTab1->setTabEnabled(i, tabs.enabled[static_cast<size_t>(i)]);
    }
    SSTab1->setTabEnabled(kPlcInterfaceTab, true);
    SSTab1->setTabEnabled(kRailTab, true);
    for (int t = kYxpTab; t < kTabCount; ++t) SSTab1->setTabEnabled(t, false);
    SSTab1->setCurrentIndex(0);
    // The YXP route can be shown but not chosen.
    radEvents[kYxpRoute]->setEnabled(false);
}

std::array<QLineEdit*, kGeneralNumberCount> frmCouplerConfigGeneral::numberFields() const {
    return {fpMasterSlave, fpSlaveMaster, fpWaitValue[0], fpWaitValue[1]};
}

void frmCouplerConfigGeneral::showForm() {
    const GeneralSettingsForm& f = editor_.form();
    for (int i = 0; i < kGeneralImageCount; ++i) {
        const ImagePanel& p = f.images[static_cast<size_t>(i)];
        ImageControls& c = images[static_cast<size_t>(i)];
        for (int b = 0; b < kImageBoxCount; ++b) {
            QCheckBox* box = c.boxes[static_cast<size_t>(b)];
            box->setChecked(p.ticked[static_cast<size_t>(b)]);
            box->setEnabled(p.enabled[static_cast<size_t>(b)]);
        }
        selectOption(c.fieldbusGroup, p.fieldbusReaction);
        selectOption(c.terminalbusGroup, p.terminalbusReaction);
    }
    chkSPSInterface->setChecked(f.plcInterface);
    selectOption(eventsGroup, f.events);
    const auto fields = numberFields();
    for (int k = 0; k < kGeneralNumberCount; ++k)
        fields[static_cast<size_t>(k)]->setText(qText(f.numbers[static_cast<size_t>(k)]));
    chkAutoReset->setChecked(f.autoReset);
    chkDiagnostics->setChecked(f.diagnostics);
    chkDiagnosticsDigTerm->setChecked(f.diagnosticsDigTerm);
    chkOldTermConfig->setChecked(f.oldTermConfig);
}

void frmCouplerConfigGeneral::readForm() {
    GeneralSettingsForm& f = editor_.form();
    for (int i = 0; i < kGeneralImageCount; ++i) {
        ImagePanel& p = f.images[static_cast<size_t>(i)];
        const ImageControls& c = images[static_cast<size_t>(i)];
        for (int b = 0; b < kImageBoxCount; ++b)
            p.ticked[static_cast<size_t>(b)] = c.boxes[static_cast<size_t>(b)]->isChecked();
        p.fieldbusReaction = selectedOption(c.fieldbusGroup);
        p.terminalbusReaction = selectedOption(c.terminalbusGroup);
    }
    f.plcInterface = chkSPSInterface->isChecked();
    f.events = selectedOption(eventsGroup);
    const auto fields = numberFields();
    for (int k = 0; k < kGeneralNumberCount; ++k)
        f.numbers[static_cast<size_t>(k)] = fields[static_cast<size_t>(k)]->text().toStdString();
    f.autoReset = chkAutoReset->isChecked();
    f.diagnostics = chkDiagnostics->isChecked();
    f.diagnosticsDigTerm = chkDiagnosticsDigTerm->isChecked();
    f.oldTermConfig = chkOldTermConfig->isChecked();
}

void frmCouplerConfigGeneral::chkAutoconfiguration_Click(int image, bool ticked) {
    readForm();
    // The box has turned already; the rule runs on its change.
    editor_.form().images[static_cast<size_t>(image)].ticked[kAutoconfiguration] = !ticked;
    editor_.clickAutoconfiguration(image, ticked);
    showForm();
}

void frmCouplerConfigGeneral::cmdDefault_Click() {
    cmdDefault->setEnabled(false);
    readForm();
    {
        BusyCursor busy;
        editor_.restoreDefaults();
    }
    showForm();
    cmdDefault->setEnabled(true);
}

void frmCouplerConfigGeneral::cmdOk_Click() {
    readForm();
    bool close;
    {
        BusyCursor busy;
        close = editor_.ok();
    }
    if (close) {
        accept();
        return;
    }
    if (const auto refused = firstRefusedNumber(editor_.form())) {
        QLineEdit* field = numberFields()[static_cast<size_t>(*refused)];
        SSTab1->setCurrentWidget(*refused < 2 ? SSTab1->widget(kPlcInterfaceTab)
                                              : SSTab1->widget(kRailTab));
        field->setFocus();
        field->selectAll();
    }
}

void frmCouplerConfigGeneral::done(int result) {
    if (loaded_ && result == QDialog::Rejected) editor_.cancel();
    loaded_ = false;
    QDialog::done(result);
}

}  // namespace varnak
