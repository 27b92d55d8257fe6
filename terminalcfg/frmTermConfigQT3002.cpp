// The QT3002 family: ten feature switches of register 32, user offset and scaling and two
// limits in registers 33 to 36. The tenth switch is shown or hidden by the whole type name.
#include <string_view>

#include "terminalcfg/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"

namespace varnak {
namespace {

constexpr size_t kFeatures = 0;
constexpr size_t kNumbers = 1;
constexpr size_t kBreak = 9;

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmTermConfigQT3002";
    s.groups = {frame(0), frame(1)};
    struct Feature {
        int32_t mask;
        Caption caption;
    };
    const Feature features[] = {
        {0x0001, {900, "Anwender Skalierung aktiv"}},
        {0x0002, {901, "Hersteller Skalierung aktiv"}},
        {0x0004, {902, "Watchdog Timer aktiv"}},
        {0x0008, {903, "Betrags-Vorzeichen Darstellung"}},
        {0x0010, {904, "Siemens Ausgabeformat"}},
        {0x0100, {905, "Overrange Protection"}},
        {0x0200, {906, "Grenzwert 1 aktiv"}},
        {0x0400, {907, "Grenzwert 2 aktiv"}},
        {0x0800, {908, "Filter 1 aktiv"}},
        {0x1000, {0, "Break 1 aktiv"}},
    };
    int i = 0;
    for (const Feature& f : features)
        s.bindings.push_back(checkBox("chk3022Feature(" + std::to_string(i++) + ")", kFeatures, 32,
                                      f.mask, f.caption));
    s.bindings.push_back(terminalNumber("fpReg33", kNumbers, 33, {910, "Anwender-Offset"}));
    s.bindings.push_back(terminalNumber("fpReg34", kNumbers, 34, {911, "Anwender-Skalierung"}));
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
