// The thermocouple: seven feature bits and the thermocouple code (bits 12 to 15) of
// register 32, user offset and scaling in registers 33 and 34. A code without an option
// shows the microvolt output and OK stores that.
#include <string>

#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_spec_parts.h"

namespace varnak {
namespace {

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmTermConfigQT3302";
    const size_t features = 0;
    const size_t numbers = 1;
    const size_t sensors = 2;
    s.groups = {frame(0), frame(0), frame(1)};
    std::vector<FeatureSwitch> switches = scalingFeatures(5);
    switches.insert(switches.end(),
                    {
                        {0x0100, {930, "Vergleichstemperatur ausgeschaltet"}},
                        {0x0400, {942, "Überprüfung der unteren Meßbereichsgrenze entfällt"}},
                    });
    addFeatureBoxes(s, "chk3302Feature", features, 32, switches);
    std::vector<ChoiceItem> types;
    const char letters[] = "LKJETNUBRS";
    for (int k = 0; k < 10; ++k)
        types.push_back({{931 + k, std::string("Typ ") + letters[k]}, 0x1000 * k});
    types.push_back({{941, "Ausgabe microV"}, 0xF000});
    s.bindings.push_back(optionGroup("opt3302ThermoTyp", sensors, 32, 0xF000, types, 10));
    addOffsetAndScaling(s, numbers);
    return s;
}

}  // namespace

const FormSpec& frmTermConfigQT3302Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
