#pragma once
// The part of a settings dialog that is its own: its controls, how they load from and
// store into the bound table's registers, and their captions. The dialog frame around it
// (header, buttons, the session) is shared; the binder of a declared form is the usual body, and a
// dialog whose controls no declaration can tell writes its own.
#include <functional>
#include <string_view>
#include <vector>

#include "settingsforms/settings_form_spec.h"

class QPushButton;
class QWidget;

namespace varnak {

class SettingsBody {
  public:
    virtual ~SettingsBody() = default;
    // The controls; the dialog takes ownership of the widget.
    virtual QWidget* widget() = 0;
    // Captions in the current language (the form's fInit_Language).
    virtual void initLanguage() = 0;
    // The controls from the bound table's registers (fLoadDialog).
    virtual void load(const RegisterImage& registers, std::string_view type) = 0;
    // OK's check of what the user typed: false after telling the user (the field has the
    // focus), and then nothing is stored.
    [[nodiscard]] virtual bool checkEntries() = 0;
    // The controls into the registers (fStoreDialog).
    virtual void store(RegisterImage& registers) = 0;
    // Buttons of the body's own, placed beside the dialog's.
    virtual std::vector<QPushButton*> extraButtons() { return {}; }

    // Runs an action of the body's own buttons as the dialog runs Default and OK: every
    // button disabled and the pointer busy meanwhile. The dialog sets it when it takes the
    // body; before that the action just runs.
    std::function<void(const std::function<void()>& action)> runBusy =
        [](const std::function<void()>& action) { action(); };
};

}  // namespace varnak
