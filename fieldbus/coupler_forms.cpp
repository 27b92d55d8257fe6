#include "fieldbus/coupler_forms.h"

#include "fieldbus/coupler_form_specs.h"

namespace varnak {

const std::vector<CouplerFormEntry>& couplerForms() {
    static const std::vector<CouplerFormEntry> forms{};
    return forms;
}

const CouplerFormEntry* findCouplerForm(std::string_view name) {
    return formNamed(couplerForms(), name);
}

}  // namespace varnak
