#pragma once
// The terminal script initialisation: the settings of a .TSI file written into every
// channel of each terminal with registers in a range of rail positions and read back,
// one request at a time while the dialog stays responsive (online/script_dialog.h).
#include <QDialog>
#include <array>
#include <memory>
#include <string>

#include "online/script_lines.h"

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace varnak {

class clsCoupler;
class ScriptStepper;
class TransferProgressFrame;

class frmScriptTerm : public QDialog {
    Q_OBJECT
  public:
    explicit frmScriptTerm(QWidget* parent = nullptr);
    ~frmScriptTerm() override;

    // Checks and reads the script, then shows the dialog modally; offline, or with a
    // script that cannot run, a message says why and nothing is shown.
    void fKonstruktor(std::string& path);
    // Everything fKonstruktor does before showing the dialog; false when it is not shown.
    bool load(const std::string& path);
    void fInitCaptions();
    ScriptStepper& stepper() { return *stepper_; }

    std::array<QLineEdit*, 2> Text1{};
    std::array<QLabel*, 2> Label1{};
    QGroupBox* Frame1 = nullptr;
    QPushButton* cmdPrjOk = nullptr;
    QPushButton* cmdPrjCancel = nullptr;
    TransferProgressFrame* fraProgessBar = nullptr;

  public slots:
    void reject() override;

  private:
    void cmdPrjOk_Click();

    std::string path_;
    TerminalScript script_;
    std::shared_ptr<clsCoupler> rail_;
    ScriptStepper* stepper_ = nullptr;
};

}  // namespace varnak
