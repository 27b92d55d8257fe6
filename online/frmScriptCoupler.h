#pragma once
// The coupler script initialisation: the enabled table sections of a .CSI file written
// into the coupler's tables and read back between lifting and setting its write
// protection, then a software reset when asked; one request at a time while the dialog
// stays responsive (online/script_dialog.h).
#include <QDialog>
#include <string>

#include "online/script_lines.h"

class QCheckBox;
class QGroupBox;
class QPushButton;

namespace varnak {

class ScriptStepper;
class TransferProgressFrame;

class frmScriptCoupler : public QDialog {
    Q_OBJECT
  public:
    explicit frmScriptCoupler(QWidget* parent = nullptr);
    ~frmScriptCoupler() override;

    // Checks and reads the script, then shows the dialog modally; offline, or with a
    // script that cannot run, a message says why and nothing is shown.
    void fKonstruktor(std::string& path);
    // Everything fKonstruktor does before showing the dialog; false when it is not shown.
    bool load(const std::string& path);
    void fInitCaptions();
    ScriptStepper& stepper() { return *stepper_; }

    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkAlleTabellen = nullptr;
    QCheckBox* chkAutoReset = nullptr;
    QPushButton* cmdPrjOk = nullptr;
    QPushButton* cmdPrjCancel = nullptr;
    TransferProgressFrame* fraProgessBar = nullptr;

  public slots:
    void reject() override;

  private:
    void cmdPrjOk_Click();

    CouplerScript script_;
    ScriptStepper* stepper_ = nullptr;
};

}  // namespace varnak
