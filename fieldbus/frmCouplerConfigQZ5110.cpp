// The fieldbus baud rate for each setting of DIP switches 7 and 8, one list per setting,
// in four registers of table 100 from a base: 0 on frmCouplerConfigQZ5110, 34 on its twin
// frmCouplerConfigQZ5100. A code the list lacks shows the row's own fallback.
#include "fieldbus/coupler_form_specs.h"
#include "settingsforms/settings_codec.h"

namespace varnak {
namespace {

FormSpec makeSpec(const char* name, int32_t base) {
    FormSpec s;
    s.name = name;
    s.groups = {frame(0)};
    const std::vector<ChoiceItem> rates =
        itemsByPosition({"1000", "800", "500", "250", "125", "100", "50", "20", "10"});
    const int fallbacks[] = {0, 2, 3, 5};
    const Caption labels[] = {{580, "Baudrate bei DIP 7,8 (0,0)"},
                              {581, "Baudrate bei DIP 7,8 (1,0)"},
                              {582, "Baudrate bei DIP 7,8 (0,1)"},
                              {583, "Baudrate bei DIP 7,8 (1,1)"}};
    for (int32_t row = 0; row < 4; ++row)
        s.bindings.push_back(dropDownList("comboQZ5x00(" + std::to_string(row) + ")", 0, base + row,
                                          0xFFFF, rates, fallbacks[row], labels[row]));
    return s;
}

}  // namespace

const FormSpec& frmCouplerConfigQZ5110Spec() {
    static const FormSpec spec = makeSpec("frmCouplerConfigQZ5110", 0);
    return spec;
}

const FormSpec& frmCouplerConfigQZ5100Spec() {
    static const FormSpec spec = makeSpec("frmCouplerConfigQZ5100", 34);
    return spec;
}

}  // namespace varnak
