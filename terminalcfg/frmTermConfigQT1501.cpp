// The QT1501 counter: the counter mode in bits 8 to 10 of register 32 and the alternative
// output format in bit 1. A mode field that is none of the three modes (no bit, or two)
// shows the gated counter, and OK stores that.
#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"

namespace varnak {
namespace {

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmTermConfigQT1501";
    const size_t modes = 0;
    const size_t format = 1;
    s.groups = {frame(0), frame(0)};
    s.bindings.push_back(optionGroup("opt1501Feature", modes, 32, 0x0700,
                                     {
                                         {{1001, "32-Bit-Vor/Rückwärts-Zähler"}, 0x0100},
                                         {{1002, "2 * 16-Bit-Vorwärts-Zähler"}, 0x0200},
                                         {{1003, "Gated Counter"}, 0x0400},
                                     },
                                     2));
    s.bindings.push_back(
        checkBox("chk1501Feature(0)", format, 32, 0x0002, {1000, "Alternatives Ausgabeformat"}));
    return s;
}

}  // namespace

const FormSpec& frmTermConfigQT1501Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
