// The resistance thermometer: seven feature bits and the sensor code (bits 12 to 15) of
// register 32, user offset and scaling in registers 33 and 34. A sensor code without an
// option shows the last one and OK stores that. The QT3351 form is the same dialog under a
// second name.
#include <string>

#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_spec_parts.h"

namespace varnak {
namespace {

FormSpec makeSpec(std::string name) {
    FormSpec s;
    s.name = std::move(name);
    const size_t features = 0;
    const size_t numbers = 1;
    const size_t sensors = 2;
    s.groups = {frame(0), frame(0), frame(1)};
    std::vector<FeatureSwitch> switches = scalingFeatures(5);
    switches.insert(switches.end(), {
                                        {0x0100, {905, "Overrange Protection"}},
                                        {0x0400, {926, "Zwei-Leiter-Anschluß"}},
                                    });
    addFeatureBoxes(s, "chk3202Feature", features, 32, switches);
    s.bindings.push_back(optionGroup("opt3202ThermoTyp", sensors, 32, 0xF000,
                                     {
                                         {{920, "PT100"}, 0x0000},
                                         {{921, "Ni100"}, 0x1000},
                                         {{922, "PT1000"}, 0x2000},
                                         {{923, "PT500"}, 0x3000},
                                         {{924, "PT200"}, 0x4000},
                                         {{0, "NI1000"}, 0x5000},
                                         {{0, "NI120"}, 0x6000},
                                         {{927, "Ausgabe Ohm 10,0-5000,0"}, 0xE000},
                                         {{925, "Ausgabe Ohm 10,0-1200,0"}, 0xF000},
                                     },
                                     8));
    addOffsetAndScaling(s, numbers);
    return s;
}

}  // namespace

const FormSpec& frmTermConfigQT3202Spec() {
    static const FormSpec spec = makeSpec("frmTermConfigQT3202");
    return spec;
}

const FormSpec& frmTermConfigQT3351Spec() {
    static const FormSpec spec = makeSpec("frmTermConfigQT3351");
    return spec;
}

}  // namespace varnak
