// The QZ4000 couplers' operating-mode switches (bits 0 to 3 of register 0) and the
// device-diagnostics switch (bit 0 of register 1) of table 100, as check boxes. Both
// registers are the form's whole: their other bits are written as 0.
#include "fieldbus/coupler_form_specs.h"
#include "settingsforms/settings_codec.h"

namespace varnak {
namespace {

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmCouplerConfigQZ4000";
    // The frame captions are the same in both languages.
    s.groups = {frame(0, {0, "Betriebsmodi"}), frame(0, {0, "Gerätediagnose"})};
    const Caption modes[] = {{570, "Synchronmodus"},
                             {571, "Unterstützung der Wortgrößen 6/7"},
                             {572, "Unterstützung der Bytegrößen"},
                             {573, "Unterstützung der Nibblegrößen"}};
    for (int32_t bit = 0; bit < 4; ++bit)
        s.bindings.push_back(
            checkBox("chkQZ4x00Spez(" + std::to_string(bit) + ")", 0, 0, 1 << bit, modes[bit]));
    // 574 has no text in either language: the design text stays.
    s.bindings.push_back(checkBox("chkQZ4x00DeviceDiag(0)", 1, 1, 0x0001,
                                  {574, "Modulfehlermeldung zur Masteranschaltung"}));
    return s;
}

}  // namespace

const FormSpec& frmCouplerConfigQZ4000Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
