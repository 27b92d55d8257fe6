#pragma once
// The fieldbus-specific coupler settings forms declared as tables of controls, one function per
// form.
#include <string>
#include <vector>

#include "settingsforms/settings_form_spec.h"

namespace varnak {

const FormSpec& frmCouplerConfigQZ2000Spec();
const FormSpec& frmCouplerConfigQZ3000Spec();
const FormSpec& frmCouplerConfigQZ4000Spec();
const FormSpec& frmCouplerConfigQY3100Spec();
const FormSpec& frmCouplerConfigQZ5000Spec();
const FormSpec& frmCouplerConfigQZ5100Spec();
const FormSpec& frmCouplerConfigQZ5110Spec();
const FormSpec& frmCouplerConfigQZ5200Spec();
const FormSpec& frmCouplerConfigQZ7300Spec();
const FormSpec& frmCouplerConfigQZ8000Spec();

// List items with fixed texts, the same in both languages, whose codes are their positions.
std::vector<ChoiceItem> itemsByPosition(const std::vector<std::string>& texts);

}  // namespace varnak
