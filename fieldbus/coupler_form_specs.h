#pragma once
// The fieldbus-specific coupler settings forms told as specs, one function per form.
#include "terminalcfg/settings_form_spec.h"

namespace varnak {

const FormSpec& frmCouplerConfigQZ8000Spec();

}  // namespace varnak
