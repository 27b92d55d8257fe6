#pragma once
// The controller's second settings page: the flag word of the coupler's table 1 (register
// 14) as nine boxes and the order of the PLC's terminal-bus update. OK writes the one
// register (online under lifted write protection), Refresh reads it again, Exit leaves it.
#include <QDialog>
#include <array>

#include "couplercfg/controller_flags.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;

namespace varnak {

class frmCouplerConfigController2 : public QDialog {
    Q_OBJECT
  public:
    explicit frmCouplerConfigController2(QWidget* parent = nullptr);

    // Opens the dialog for the active coupler and shows it modally; message 469 when it
    // cannot.
    void fKonstruktor();
    // Everything the entry does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load();
    void fInit_Language();
    ControllerFlagsEditor& editor() { return editor_; }

    QGroupBox* Frame1 = nullptr;
    std::array<QRadioButton*, 3> optPlcTermbusUpdate{};
    QButtonGroup* updateGroup = nullptr;
    std::array<QCheckBox*, kControllerFlagBoxes> chkQYx{};
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdExit = nullptr;

  private:
    void showFlags();
    void readFlags();
    void cmdOk_Click();
    void cmdRefresh_Click();

    ControllerFlagsEditor editor_;
};

}  // namespace varnak
