// The QZ8000 couplers' watchdog, response delay and start delay in milliseconds: registers
// 0, 1 and 2 of table 100, plain numbers under fixed English labels.
#include "fieldbus/coupler_form_specs.h"
#include "settingsforms/settings_codec.h"

namespace varnak {
namespace {

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmCouplerConfigQZ8000";
    s.groups = {frame(0)};
    const char* labels[] = {"Watchdog [ms]", "Response delay [ms]", "Start delay [ms]"};
    for (int32_t reg = 0; reg < 3; ++reg)
        s.bindings.push_back(
            couplerNumber("fpIQZ8x00(" + std::to_string(reg) + ")", 0, reg, {0, labels[reg]}));
    return s;
}

}  // namespace

const FormSpec& frmCouplerConfigQZ8000Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
