#include "terminalcfg/terminal_forms.h"

#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_settings_dialog.h"

namespace varnak {

const std::vector<TerminalFormEntry>& terminalForms() {
    static const std::vector<TerminalFormEntry> forms{
        {"frmTermConfigQT3002", &frmTermConfigQT3002Spec(), nullptr},
    };
    return forms;
}

const TerminalFormEntry* findTerminalForm(std::string_view name) {
    return formNamed(terminalForms(), name);
}

void openTerminalForm(std::string_view name, int32_t railPosition, int32_t channel,
                      QWidget* parent) {
    const TerminalFormEntry* form = findTerminalForm(name);
    if (!form) return;
    TerminalSettingsDialog dialog(*form, parent);
    dialog.fKonstruktor(railPosition, channel);
}

}  // namespace varnak
