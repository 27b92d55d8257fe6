#pragma once
// The window of every terminal settings form: the header line, the all-channels box, the
// form's body and the Default, OK and Cancel buttons, on a terminal settings session. One
// dialog object serves one opening.
#include <cstdint>

#include "settingsforms/settings_dialog.h"
#include "terminalcfg/terminal_forms.h"
#include "terminalcfg/terminal_settings_session.h"

class QCheckBox;
class QLabel;

namespace varnak {

class TerminalSettingsDialog : public SettingsDialog {
    Q_OBJECT
  public:
    TerminalSettingsDialog(const TerminalFormEntry& form, QWidget* parent = nullptr);

    // Opens the channel (online: reads it) and shows the dialog modally.
    void fKonstruktor(int32_t railPosition, int32_t channel);
    // Everything fKonstruktor does before showing the dialog; false when it is not shown.
    [[nodiscard]] bool load(int32_t railPosition, int32_t channel);

    TerminalSettingsSession& session() { return session_; }
    const TerminalFormEntry& form() const { return form_; }
    QLabel* Label1 = nullptr;
    QCheckBox* chkConfigAllChannel = nullptr;

  protected:
    SettingsSession& settingsSession() override { return session_; }
    // The copy to every channel when the box is ticked, and online the code-word writes.
    [[nodiscard]] int32_t transfer() override;

  private:
    void fInit_Language();

    const TerminalFormEntry& form_;
    TerminalSettingsSession session_;
};

}  // namespace varnak
