// The QT5101 and QT5111 encoders: the evaluation (bits 10 and 11 of register 32, where both
// bits read as 4-fold), period measurement (bit 4) and counter mode (bit 15). Three switches
// of the design stand for no bit: they are shown disabled and never ticked, so nothing
// pretends to store them. The type shows or hides groups; a hidden control keeps its bits.
#include <string_view>

#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_spec_parts.h"

namespace varnak {
namespace {

constexpr size_t kEvaluation = 0;
constexpr size_t kStatusSignals = 1;  // chkFeature(0); (1) and (2) follow
constexpr size_t kPeriod = 4;         // chkFeature(3)

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmTermConfigQT5101";
    const size_t evaluation = 0;
    const size_t features = 1;
    s.groups = {frame(0), frame(1)};
    s.bindings.push_back(optionGroup("optFeature", evaluation, 32, 0x0C00,
                                     {
                                         {{1045, "4-fach Auswertung"}, 0x0000},
                                         {{1046, "1-fach Auswertung"}, 0x0400},
                                         {{1047, "2-fach Auswertung"}, 0x0800},
                                     },
                                     0));
    addFeatureBoxes(s, "chkFeature", features, -1,
                    {
                        {0, {0, "Signale A,B,C im Statusbyte ausgeben"}},
                        {0, {0, "Komplementäre Auswertung A,/A,B,/B,C,/C"}},
                        {0, {0, "FAST_M"}},
                    });
    s.bindings.push_back(
        checkBox("chkFeature(3)", features, 32, 0x0010, {1043, "Periodendauer Messung aktiviert"}));
    s.bindings.push_back(
        checkBox("chkFeature(4)", features, 32, 0x8000, {1044, "Counter Mode aktiv"}));
    s.hooks.prepare = [](FormState& state, std::string_view type) {
        const std::string_view family = typeFamily(type);
        if (family == "QT5101") {
            state.controls[kStatusSignals].visible = false;
        } else if (family == "QT5111") {
            state.controls[kEvaluation].visible = false;
            for (size_t i = kStatusSignals + 1; i <= kPeriod; ++i)
                state.controls[i].visible = false;
        }
    };
    return s;
}

}  // namespace

const FormSpec& frmTermConfigQT5101Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
