#pragma once
// The terminal settings forms declared as tables of controls, one function per form.
#include "settingsforms/settings_form_spec.h"

namespace varnak {

const FormSpec& frmTermConfigQT3002Spec();
const FormSpec& frmTermConfigQT1501Spec();
const FormSpec& frmTermConfigQT2502Spec();
const FormSpec& frmTermConfigQT3202Spec();
const FormSpec& frmTermConfigQT3351Spec();  // the QT3202 form under its second name
const FormSpec& frmTermConfigQT3302Spec();
const FormSpec& frmTermConfigQT4002Spec();
const FormSpec& frmTermConfigQT5001Spec();
const FormSpec& frmTermConfigQT5101Spec();
const FormSpec& frmTermConfigQT6001Spec();
const FormSpec& frmTermConfigQT6051Spec();

}  // namespace varnak
