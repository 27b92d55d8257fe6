#include "fieldbus/coupler_forms.h"

#include "couplerservices/coupler_services.h"
#include "fieldbus/coupler_form_specs.h"
#include "fieldbus/coupler_settings_dialog.h"
#include "fieldbus/frmCouplerConfigQY9000.h"

namespace varnak {

std::vector<ChoiceItem> itemsByPosition(const std::vector<std::string>& texts) {
    std::vector<ChoiceItem> items;
    for (const std::string& text : texts)
        items.push_back({{0, text}, static_cast<int32_t>(items.size())});
    return items;
}

const std::vector<CouplerFormEntry>& couplerForms() {
    static const std::vector<CouplerFormEntry> forms{
        {"frmCouplerConfigQZ2000", &frmCouplerConfigQZ2000Spec(), nullptr},
        {"frmCouplerConfigQZ3000", &frmCouplerConfigQZ3000Spec(), nullptr},
        {"frmCouplerConfigQZ4000", &frmCouplerConfigQZ4000Spec(), nullptr},
        {"frmCouplerConfigQY3100", &frmCouplerConfigQY3100Spec(), nullptr},
        {"frmCouplerConfigQZ5000", &frmCouplerConfigQZ5000Spec(), nullptr},
        {"frmCouplerConfigQZ5100", &frmCouplerConfigQZ5100Spec(), nullptr},
        {"frmCouplerConfigQZ5110", &frmCouplerConfigQZ5110Spec(), nullptr},
        {"frmCouplerConfigQZ5200", &frmCouplerConfigQZ5200Spec(), nullptr},
        {"frmCouplerConfigQZ7300", &frmCouplerConfigQZ7300Spec(), nullptr},
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
