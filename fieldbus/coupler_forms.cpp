#include "fieldbus/coupler_forms.h"

#include "fieldbus/coupler_form_specs.h"
#include "fieldbus/coupler_settings_dialog.h"
#include "fieldbus/frmCouplerConfigQY9000.h"
#include "online/coupler_services.h"

namespace varnak {

const std::vector<CouplerFormEntry>& couplerForms() {
    static const std::vector<CouplerFormEntry> forms{
        {"frmCouplerConfigQZ8000", &frmCouplerConfigQZ8000Spec(), nullptr},
        // Table 121 may fail to read (a coupler without the status table) and still open.
        {"frmCouplerConfigQY9000",
         nullptr,
         [](CouplerSettingsSession& session) -> std::unique_ptr<SettingsBody> {
             return std::make_unique<frmCouplerConfigQY9000>(session, VarnakCouplerServices());
         },
         {{121, false}, {100, true}, {0, true}}},
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
