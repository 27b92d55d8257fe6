#pragma once
// Every fieldbus-specific coupler settings form by its name: the declaration its body is built
// from (or a body of its own) and the coupler tables it binds. The property and smoke tests
// go through this list, and the program's openers open a form by its name.
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "fieldbus/coupler_settings_session.h"
#include "settingsforms/settings_body.h"
#include "settingsforms/settings_form_spec.h"

class QWidget;

namespace varnak {

struct CouplerFormEntry {
    std::string name;                // e.g. "frmCouplerConfigQZ8000"
    const FormSpec* spec = nullptr;  // null: makeBody builds the body
    std::function<std::unique_ptr<SettingsBody>(CouplerSettingsSession&)> makeBody;
    std::vector<BoundTable> tables{{100, true}};  // bound and read in this order
};

const std::vector<CouplerFormEntry>& couplerForms();
// nullptr for a name no form has.
const CouplerFormEntry* findCouplerForm(std::string_view name);

// fKonstruktor of the named form: one dialog for this opening, shown modally when the
// coupler's tables open.
void openCouplerForm(std::string_view name, QWidget* parent);

}  // namespace varnak
