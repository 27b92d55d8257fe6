#include "terminalcfg/terminal_forms.h"

#include "terminalcfg/terminal_form_specs.h"

namespace varnak {

const std::vector<TerminalFormEntry>& terminalForms() {
    static const std::vector<TerminalFormEntry> forms{};
    return forms;
}

const TerminalFormEntry* findTerminalForm(std::string_view name) {
    return formNamed(terminalForms(), name);
}

}  // namespace varnak
