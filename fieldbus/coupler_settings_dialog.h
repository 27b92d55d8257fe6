#pragma once
// The window of every fieldbus-specific coupler settings form: the form's body and the
// Default, OK and Cancel buttons, on a coupler settings session. One dialog object serves
// one opening.
#include "fieldbus/coupler_forms.h"
#include "fieldbus/coupler_settings_session.h"
#include "settingsforms/settings_dialog.h"

namespace varnak {

class CouplerSettingsDialog : public SettingsDialog {
    Q_OBJECT
  public:
    CouplerSettingsDialog(const CouplerFormEntry& form, QWidget* parent = nullptr);

    // Opens the active rail's tables (online: reads them) and shows the dialog modally.
    void fKonstruktor();
    // Everything fKonstruktor does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load();

    CouplerSettingsSession& session() { return session_; }
    const CouplerFormEntry& form() const { return form_; }

  protected:
    SettingsSession& settingsSession() override { return session_; }
    // Online: table 100 behind the lifted write protection.
    [[nodiscard]] int32_t transfer() override { return session_.transfer(); }

  private:
    void fInit_Language();

    const CouplerFormEntry& form_;
    CouplerSettingsSession session_;
};

}  // namespace varnak
