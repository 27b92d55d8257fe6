#include "fieldbus/coupler_forms.h"

#include "fieldbus/coupler_form_specs.h"
#include "fieldbus/coupler_settings_dialog.h"

namespace varnak {

const std::vector<CouplerFormEntry>& couplerForms() {
    static const std::vector<CouplerFormEntry> forms{
        {"frmCouplerConfigQZ8000", &frmCouplerConfigQZ8000Spec(), nullptr},
    };
    return forms;
}

const CouplerFormEntry* findCouplerForm(std::string_view name) {
    return formNamed(couplerForms(), name);
}

void openCouplerForm(std::string_view name, QWidget* parent) {
    const CouplerFormEntry* form = findCouplerForm(name);
    if (!form) return;
    CouplerSettingsDialog dialog(*form, parent);
    dialog.fKonstruktor();
}

}  // namespace varnak
