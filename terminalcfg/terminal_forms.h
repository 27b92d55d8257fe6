#pragma once
// Every terminal settings form by its name: the declaration its body is built from, or a body of
// its own. The property and smoke tests go through this list, and the program's openers
// open a form by its name.
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "settingsforms/settings_body.h"
#include "settingsforms/settings_form_spec.h"

class QWidget;

namespace varnak {

class TerminalSettingsSession;

struct TerminalFormEntry {
    std::string name;                // e.g. "frmTermConfigQT3002"
    const FormSpec* spec = nullptr;  // null: makeBody builds the body
    std::function<std::unique_ptr<SettingsBody>(TerminalSettingsSession&)> makeBody;
};

const std::vector<TerminalFormEntry>& terminalForms();
// nullptr for a name no form has.
const TerminalFormEntry* findTerminalForm(std::string_view name);

// fKonstruktor of the named form: one dialog for this opening, shown modally when the
// channel opens.
void openTerminalForm(std::string_view name, int32_t railPosition, int32_t channel,
                      QWidget* parent);

}  // namespace varnak
