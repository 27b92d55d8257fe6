#pragma once
// The coupler script initialisation: the enabled table sections of a .CSI file written
// into the coupler's tables and read back between lifting and setting its write
// protection, then a software reset when asked; one request at a time while the dialog
// stays responsive (online/script_dialog.h).
#include <string>

#include "online/script_dialog.h"
#include "online/script_lines.h"

class QCheckBox;
class QGroupBox;

namespace varnak {

class frmScriptCoupler : public ScriptDialog {
    Q_OBJECT
  public:
    explicit frmScriptCoupler(QWidget* parent = nullptr);

    // Checks and reads the script, then shows the dialog modally; offline, or with a
    // script that cannot run, a message says why and nothing is shown.
    void fKonstruktor(std::string& path);
    // Everything fKonstruktor does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load(const std::string& path);
    void fInitCaptions();

    QGroupBox* Frame1 = nullptr;
    QCheckBox* chkAlleTabellen = nullptr;
    QCheckBox* chkAutoReset = nullptr;

  private:
    void cmdPrjOk_Click() override;

    CouplerScript script_;
};

}  // namespace varnak
