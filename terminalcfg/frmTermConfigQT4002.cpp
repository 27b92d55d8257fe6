// The QT4002 family: six feature bits of register 32, user offset and scaling in registers
// 33 and 34.
#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_spec_parts.h"

namespace varnak {
namespace {

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmTermConfigQT4002";
    const size_t features = 0;
    const size_t numbers = 1;
    s.groups = {frame(0), frame(1)};
    std::vector<FeatureSwitch> switches = scalingFeatures(4);
    switches.insert(switches.end(), {
                                        {0x0020, {909, "Betragsbildung"}},
                                        {0x0100, {950, "Anwender Einschaltwert"}},
                                    });
    addFeatureBoxes(s, "chk4022Feature", features, 32, switches);
    addOffsetAndScaling(s, numbers);
    return s;
}

}  // namespace

const FormSpec& frmTermConfigQT4002Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
