#pragma once
// The terminal script initialisation: the settings of a .TSI file written into every
// channel of each terminal with registers in a range of rail positions and read back,
// one request at a time while the dialog stays responsive (online/script_dialog.h).
#include <array>
#include <memory>
#include <string>

#include "online/script_dialog.h"
#include "online/script_lines.h"

class QGroupBox;
class QLabel;
class QLineEdit;

namespace varnak {

class clsCoupler;

class frmScriptTerm : public ScriptDialog {
    Q_OBJECT
  public:
    explicit frmScriptTerm(QWidget* parent = nullptr);

    // Checks and reads the script, then shows the dialog modally; offline, or with a
    // script that cannot run, a message says why and nothing is shown.
    void fKonstruktor(std::string& path);
    // Everything fKonstruktor does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load(const std::string& path);
    void fInitCaptions();

    std::array<QLineEdit*, 2> Text1{};
    std::array<QLabel*, 2> Label1{};
    QGroupBox* Frame1 = nullptr;

  private:
    void cmdPrjOk_Click() override;

    TerminalScript script_;
    std::shared_ptr<clsCoupler> rail_;
};

}  // namespace varnak
