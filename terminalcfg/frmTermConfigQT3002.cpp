// The QT3002 family: ten feature switches of register 32, user offset and scaling and two
// limits in registers 33 to 36. The tenth switch is shown or hidden by the whole type name.
#include <string_view>

#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_spec_parts.h"

namespace varnak {
namespace {

constexpr size_t kFeatures = 0;
constexpr size_t kNumbers = 1;
constexpr size_t kBreak = 9;

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmTermConfigQT3002";
    s.groups = {frame(0), frame(1)};
    std::vector<FeatureSwitch> features = scalingFeatures(5);
    features.insert(features.end(), {
                                        {0x0100, {905, "Overrange Protection"}},
                                        {0x0200, {906, "Grenzwert 1 aktiv"}},
                                        {0x0400, {907, "Grenzwert 2 aktiv"}},
                                        {0x0800, {908, "Filter 1 aktiv"}},
                                        {0x1000, {0, "Break 1 aktiv"}},
                                    });
    addFeatureBoxes(s, "chk3022Feature", kFeatures, 32, features);
    addOffsetAndScaling(s, kNumbers);
    s.bindings.push_back(terminalNumber("fpReg35", kNumbers, 35, {912, "Grenzwert 1"}));
    s.bindings.push_back(terminalNumber("fpReg36", kNumbers, 36, {913, "Grenzwert 2"}));
    // The whole name decides, so "QT3002-0000" shows the box as every type not listed does.
    s.hooks.prepare = [](FormState& state, std::string_view type) {
        if (type == "QT3002" || type == "QT3062" || type == "QT3064")
            state.controls[kBreak].visible = false;
    };
    return s;
}

}  // namespace

const FormSpec& frmTermConfigQT3002Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
