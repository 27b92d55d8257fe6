// The pulse-width output: three feature bits and the operating mode (bits 12 to 15) of
// register 32, user offset and scaling in registers 33 and 34, period, duty cycle and pulse
// duration in registers 35 to 37. A mode code without an option shows the first mode and
// OK stores that.
#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_spec_parts.h"

namespace varnak {
namespace {

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmTermConfigQT2502";
    const size_t modes = 0;
    const size_t numbers = 1;
    const size_t timing = 2;
    s.groups = {frame(0), frame(0), frame(1)};
    addFeatureBoxes(s, "chk2502Feature", modes, 32, scalingFeatures(3));
    s.bindings.push_back(optionGroup("opt2502", modes, 32, 0xF000,
                                     {
                                         {{1010, "PWMH-Modus (250Hz - 20kHz)"}, 0x0000},
                                         {{1011, "PWLH-Modus (2Hz - 250Hz)"}, 0x2000},
                                         {{1012, "Frq-Cnt-PWM-Modus (2Hz - 2kHz)"}, 0x6000},
                                         {{1013, "Frq-Cnt-Impuls-Modus (2Hz - 2kHz)"}, 0xA000},
                                         {{1014, "Cnt-Cnt-PWM-Modus (250Hz - 8kHz)"}, 0xE000},
                                     },
                                     0));
    addOffsetAndScaling(s, numbers);
    s.bindings.push_back(terminalNumber("fpReg35", timing, 35, {1015, "Periodendauer PWM-Modus"}));
    s.bindings.push_back(terminalNumber("fpReg36", timing, 36, {1016, "Duty Cycle"}));
    s.bindings.push_back(
        terminalNumber("fpReg37", timing, 37, {1017, "Impulsdauer Schrittmotor-Mode"}));
    return s;
}

}  // namespace

const FormSpec& frmTermConfigQT2502Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
