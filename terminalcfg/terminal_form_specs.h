#pragma once
// The terminal settings forms told as specs, one function per form.
#include "terminalcfg/settings_form_spec.h"

namespace varnak {

const FormSpec& frmTermConfigQT3002Spec();

}  // namespace varnak
