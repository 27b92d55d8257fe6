#include "terminalcfg/terminal_forms.h"

#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_settings_dialog.h"

namespace varnak {

const std::vector<TerminalFormEntry>& terminalForms() {
    static const std::vector<TerminalFormEntry> forms{
        {"frmTermConfigQT3002", &frmTermConfigQT3002Spec(), nullptr},
        {"frmTermConfigQT1501", &frmTermConfigQT1501Spec(), nullptr},
        {"frmTermConfigQT2502", &frmTermConfigQT2502Spec(), nullptr},
        {"frmTermConfigQT3202", &frmTermConfigQT3202Spec(), nullptr},
        {"frmTermConfigQT3351", &frmTermConfigQT3351Spec(), nullptr},
        {"frmTermConfigQT3302", &frmTermConfigQT3302Spec(), nullptr},
        {"frmTermConfigQT4002", &frmTermConfigQT4002Spec(), nullptr},
        {"frmTermConfigQT5001", &frmTermConfigQT5001Spec(), nullptr},
        {"frmTermConfigQT5101", &frmTermConfigQT5101Spec(), nullptr},
        {"frmTermConfigQT6001", &frmTermConfigQT6001Spec(), nullptr},
        {"frmTermConfigQT6051", &frmTermConfigQT6051Spec(), nullptr},
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
