#pragma once
// The controller's link terminals: where the PLC's input and output images lie in the
// fieldbus interface, the remanent bytes, the PLC cycle and background times, and for every
// terminal of the rail whether the fieldbus or the PLC drives it (picked from a list in the
// grid). OK writes the coupler's table 1 (online under lifted write protection).
#include <QDialog>
#include <array>
#include <string>

#include "couplercfg/link_terminals.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varnak {

class RegisterGrid;

class frmCouplerConfigControllerLinkTerm : public QDialog {
    Q_OBJECT
  public:
    explicit frmCouplerConfigControllerLinkTerm(QWidget* parent = nullptr);

    // Opens the dialog for a SZ_SPECIFIC_PROG_TERMCFG_ key and shows it modally; message
    // 469 when it cannot.
    void fRegister(std::string& key);
    // Everything fRegister does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load(const std::string& key);
    void fInit_Language();
    LinkTerminalEditor& editor() { return editor_; }

    std::array<QLabel*, kLinkNumberFields> lblTab1Reg{};
    std::array<QLineEdit*, kLinkNumberFields> txtQYx{};
    RegisterGrid* tdbgData = nullptr;
    QLabel* Label1 = nullptr;
    QComboBox* comboDataTyp1 = nullptr;
    QPushButton* cmdOk = nullptr;
    QPushButton* cmdRefresh = nullptr;
    QPushButton* cmdExit = nullptr;

  private:
    class Grid;
    void fInitGrid();
    void fDialogFromTable();
    void cmdOk_Click();
    void cmdRefresh_Click();
    void tdbgData_Edited(int row, int column, const QString& text);

    LinkTerminalEditor editor_;
};

}  // namespace varnak
