// The QT6051: four feature bits of register 32 and the baud rate and the two time-outs in
// registers 33 to 35, each a plain number.
#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_spec_parts.h"

namespace varnak {
namespace {

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmTermConfigQT6051";
    const size_t features = 0;
    const size_t numbers = 1;
    s.groups = {frame(0), frame(1)};
    addFeatureBoxes(s, "chkFeature", features, 32,
                    {
                        {0x0001, {1030, "RCV-Timeout aktiv"}},
                        {0x0002, {1031, "TRS-Timeout aktiv"}},
                        {0x0004, {1032, "Klemmenbus wird gepollt"}},
                        {0x0008, {1033, "Daten komplett konsistent übertragen"}},
                    });
    s.bindings.push_back(terminalNumber("fpValueReg33", numbers, 33, {1034, "Baudrate"}));
    s.bindings.push_back(terminalNumber("fpValueReg34", numbers, 34, {1035, "RCV Timeout"}));
    s.bindings.push_back(terminalNumber("fpValueReg35", numbers, 35, {1036, "TRS Timeout"}));
    return s;
}

}  // namespace

const FormSpec& frmTermConfigQT6051Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
