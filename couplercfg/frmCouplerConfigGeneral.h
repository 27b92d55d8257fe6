#pragma once
// The general coupler settings: how each of the four process images is built and reacts
// to bus errors, the PLC interface and the route of diagnostic messages, the image offsets,
// the waits after SYNC_0 and SYNC_1 and a few switches, on an eight-tab control whose image
// tabs follow the coupler type. OK writes table 0 (online under lifted write protection),
// Default takes the type's description, Cancel leaves the table as it was.
#include <QDialog>
#include <array>

#include "couplercfg/general_settings_editor.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;

namespace varnak {

class frmCouplerConfigGeneral : public QDialog {
    Q_OBJECT
  public:
    explicit frmCouplerConfigGeneral(QWidget* parent = nullptr);

    // Opens the dialog for the active coupler and shows it modally; message 469 when it
    // cannot. Always 0.
    int32_t fKonstruktorCouplerConfigGeneral();
    // Everything the entry does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load();
    GeneralSettingsEditor& editor() { return editor_; }

    // One process image's controls (tab 0-3), the boxes in bit order.
    struct ImageControls {
        QGroupBox* fraImageDesc = nullptr;
        std::array<QCheckBox*, kImageBoxCount> boxes{};
        QGroupBox* fraFieldbusError = nullptr;
        std::array<QRadioButton*, 3>
            fieldbus{};  // radStopCycle, radOutputDefault, radOutputNoChange
        QButtonGroup* fieldbusGroup = nullptr;
        QGroupBox* fraTerminalbusError = nullptr;
        // radStopDataTransfer, radInputDefault, radInputNoChange
        std::array<QRadioButton*, 3> terminalbus{};
        QButtonGroup* terminalbusGroup = nullptr;
    };

    QTabWidget* SSTab1 = nullptr;
    std::array<ImageControls, kGeneralImageCount> images;
    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkSPSInterface = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 4> radEvents{};  // 0, 1 and 3 (2 does not exist)
    QButtonGroup* eventsGroup = nullptr;
    QGroupBox* Frame4 = nullptr;
    QLabel* lblMasterSlave = nullptr;
    QLabel* lblSlaveMaster = nullptr;
    QLineEdit* fpMasterSlave = nullptr;
    QLineEdit* fpSlaveMaster = nullptr;
    QGroupBox* Frame3 = nullptr;
    QCheckBox* chkAutoReset = nullptr;
    QCheckBox* chkDiagnostics = nullptr;
    QCheckBox* chkDiagnosticsDigTerm = nullptr;
    QGroupBox* Frame5 = nullptr;
    std::array<QLabel*, 2> lblWailAfterSYNC{};
    std::array<QLineEdit*, 2> fpWaitValue{};
    QGroupBox* Frame6 = nullptr;
    QCheckBox* chkOldTermConfig = nullptr;
    QPushButton* cmdDefault = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdCancel = nullptr;

  public slots:
    void done(int result) override;

  private:
    QWidget* imageTab(int image);
    QWidget* plcInterfaceTab();
    QWidget* railTab();
    void fInit_Language();
    void setUpTabs();
    // The controls from the editor's state and back.
    void showForm();
    void readForm();
    std::array<QLineEdit*, kGeneralNumberCount> numberFields() const;
    void chkAutoconfiguration_Click(int image, bool ticked);
    void cmdDefault_Click();
    void cmdOk_Click();

    GeneralSettingsEditor editor_;
    bool loaded_ = false;
};

}  // namespace varnak
