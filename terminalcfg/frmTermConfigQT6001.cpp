// The serial interface terminals QT6001, QT6011 and QT6021, on two tab pages: the data
// bytes in the process image (register 35) and six feature bits (register 34) on the first,
// the data format and stop bits (register 33) and the baud rate code (register 32) on the
// second. Values without an option show 3 data bytes, "8 Daten, keine Parität" or
// 9600 Baud, and OK stores those. The type names the first switch and hides switches.
#include <string>
#include <string_view>

#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"
#include "terminalcfg/terminal_spec_parts.h"

namespace varnak {
namespace {

constexpr size_t kDuplex = 0;        // chk6001Feature(0)
constexpr size_t kPointToPoint = 5;  // chk6001Feature(5)

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmTermConfigQT6001";
    s.pages = {{978, "Allgemein"}, {979, "Parameter"}};
    const size_t features = 0;
    const size_t bytes = 1;
    const size_t format = 2;
    const size_t stopBits = 3;
    const size_t baud = 4;
    s.groups = {frame(1, {}, 0), frame(0, {}, 0), frame(0, {}, 1), frame(0, {}, 1, true),
                frame(1, {}, 1)};
    addFeatureBoxes(s, "chk6001Feature", features, 34,
                    {
                        {0x0001, {0, "Halb/Vollduplex"}},
                        {0x0002, {1000, "Alternatives Ausgabeformat"}},
                        {0x0004, {998, "Statusbyte einen Zyklus später"}},
                        {0x0008, {995, "XON/XOFF beim Senden der Daten"}},
                        {0x0010, {996, "XON/XOFF beim Empfangen der Daten"}},
                        {0x0020, {997, "Punkt-zu-Punkt Verbindung (RS422)"}},
                    });
    // The design's one array of options, told as its three groups.
    std::vector<ChoiceItem> counts;
    for (int n = 1; n <= 5; ++n)
        counts.push_back({{985, "Datenbyte(s) im Prozeßabbild", std::to_string(n) + " "}, n});
    s.bindings.push_back(optionGroup("opt6001Bytes", bytes, 35, 0xFFFF, counts, 2));
    s.bindings.push_back(optionGroup("opt6001Format", format, 33, 0x0007,
                                     {
                                         {{980, "7 Daten, gerade Parität, 1 Stop"}, 1},
                                         {{981, "7 Daten, ungerade Parität"}, 2},
                                         {{982, "8 Daten, keine Parität"}, 3},
                                         {{983, "8 Daten, gerade Parität"}, 4},
                                         {{984, "8 Daten, ungerade Parität"}, 5},
                                     },
                                     2));
    s.bindings.push_back(optionGroup("opt6001Stop", stopBits, 33, 0x0008,
                                     {{{0, "1 Stop"}, 0x0000}, {{0, "2 Stop"}, 0x0008}}, 0));
    std::vector<ChoiceItem> rates;
    int code = 1;
    for (const char* rate : {"300", "600", "1200", "2400", "4800", "9600", "19200"}) {
        rates.push_back({{985 + code, std::string(rate) + " Baud"}, code});
        ++code;
    }
    s.bindings.push_back(optionGroup("opt6001Baud", baud, 32, 0xFFFF, rates, 5));
    s.hooks.prepare = [](FormState& state, std::string_view type) {
        const std::string_view family = typeFamily(type);
        ControlState& duplex = state.controls[kDuplex];
        if (family == "QT6001") {
            duplex.caption = Caption{994, "RTS/CTS eingeschaltet"};
            state.controls[kPointToPoint].visible = false;
        } else if (family == "QT6011") {
            duplex.visible = false;
            state.controls[kPointToPoint].visible = false;
        } else if (family == "QT6021") {
            duplex.caption = Caption{993, "Halb/Vollduplex"};
        }
    };
    return s;
}

}  // namespace

const FormSpec& frmTermConfigQT6001Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
