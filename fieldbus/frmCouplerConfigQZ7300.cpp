// The serial fieldbus couplers: watchdog (register 0), protocol mode (register 1), character
// frame (register 2), baud-rate index with its "Fixed" flag in bit 15 (register 3) and the
// two end-of-frame times (registers 4 and 5) of table 100. Every text is the same in both
// languages.
#include "fieldbus/coupler_form_specs.h"
#include "settingsforms/settings_codec.h"

namespace varnak {
namespace {

constexpr int32_t kFixed = 0x8000;
constexpr int32_t kBaudIndex = 0x7FFF;

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmCouplerConfigQZ7300";
    s.groups = {frame(0)};
    s.bindings.push_back(couplerNumber("txtQZ7300(0)", 0, 0, {0, "Watchdog"}));

    // Neither RTU nor ASCII loaded: OK stores ASCII unless the user picks RTU.
    Binding mode = optionGroup("optModus", 0, 1, 0xFFFF, {{{0, "RTU"}, 0}, {{0, "ASCII"}, 1}}, -1);
    mode.caption = {0, "Modus"};
    mode.none.code = 1;
    s.bindings.push_back(mode);

    // Each item stands for its own code; one the list lacks shows "8 Data, No Parity, 1 Stop".
    const std::pair<const char*, int32_t> frames[] = {
        {"7 Data, Even Parity, 1 Stop", 0x0003}, {"7 Data, Odd  Parity, 1 Stop", 0x1003},
        {"7 Data, Even Parity, 2 Stop", 0x000B}, {"7 Data, Odd  Parity, 2 Stop", 0x100B},
        {"8 Data, No   Parity, 1 Stop", 0x0001}, {"8 Data, Even Parity, 1 Stop", 0x0007},
        {"8 Data, Odd  Parity, 1 Stop", 0x1007}, {"8 Data, No   Parity, 2 Stop", 0x0009},
        {"8 Data, Even Parity, 2 Stop", 0x000F}, {"8 Data, Odd  Parity, 2 Stop", 0x100F},
    };
    std::vector<ChoiceItem> frameItems;
    for (const auto& [text, code] : frames) frameItems.push_back({{0, text}, code});
    Binding frameList = dropDownList("comboQZ7300(0)", 0, 2, 0xFFFF, frameItems, 4, {0, "Frame"});
    frameList.none.code = 0x0001;
    s.bindings.push_back(frameList);

    // An index no item has shows none and is kept as it was.
    Binding baud = dropDownList(
        "comboQZ7300(1)", 0, 3, kBaudIndex,
        itemsByPosition({"38400", "19200", "9600", "4800", "2400", "1200", "600", "300", "150"}),
        -1, {0, "Baudrate"});
    baud.none.keepsLoaded = true;
    s.bindings.push_back(baud);
    s.bindings.push_back(checkBox("chkFix", 0, 3, kFixed, {0, "Fixed"}));

    s.bindings.push_back(couplerNumber("txtQZ7300(1)", 0, 4, {0, "RTU End of Frame [ms]"}));
    s.bindings.push_back(couplerNumber("txtQZ7300(2)", 0, 5, {0, "ASCII End of Frame [s]"}));
    return s;
}

}  // namespace

const FormSpec& frmCouplerConfigQZ7300Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
