// The QT5001 encoder: five feature bits of register 32, the transfer rate code 1..7 in
// register 33 and the data length in register 34. The three slowest rates load and store
// but cannot be picked; a rate code outside 1..7 shows the 71 KHz rate and OK stores it.
#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_spec_parts.h"

namespace varnak {
namespace {

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmTermConfigQT5001";
    const size_t features = 0;
    const size_t rate = 1;
    const size_t length = 2;
    s.groups = {frame(0), frame(1), frame(0)};
    addFeatureBoxes(s, "chk5001Feature", features, 32,
                    {
                        {0x0001, {960, "Gray-Dualzahlenwandlung"}},
                        {0x0002, {961, "Alternatives Ausgabeformat"}},
                        {0x0004, {970, "Synchrone Betriebsart"}},
                        {0x0008, {971, "Single-Turn Auswertung des Gebers"}},
                        {0x0010, {972, "Disable Frame-Error"}},
                    });
    s.bindings.push_back(optionGroup("opt5001Baud", rate, 33, 0xFFFF,
                                     {
                                         {{963, "1 MHz"}, 1},
                                         {{964, "250 KHz"}, 2},
                                         {{965, "125 KHz"}, 3},
                                         {{966, "100 KHz"}, 4},
                                         {{967, "83 KHz"}, 5, true},
                                         {{968, "71 KHz"}, 6, true},
                                         {{969, "62.5 KHz"}, 7, true},
                                     },
                                     5));
    s.bindings.push_back(terminalNumber("fpReg34", length, 34, {962, "Datenlänge (0-32)"}));
    return s;
}

}  // namespace

const FormSpec& frmTermConfigQT5001Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
