// The QZ5200 couplers' connection data sets: for the polled and the change-of-state/cyclic
// connections the coupler produces (registers 0 and 4) and the one it consumes (register
// 1), which process data each carries, and the change-of-state inhibit time (register 5) of
// table 100. A data-set word is compared whole; one no choice has shows the group's
// fallback.
#include "fieldbus/coupler_form_specs.h"
#include "settingsforms/settings_codec.h"

namespace varnak {
namespace {

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmCouplerConfigQZ5200";
    struct DataSet {
        int32_t reg;
        Caption caption;
        int32_t digital, analog, both;
        int fallback;
    };
    const DataSet sets[] = {
        {0, {540, "Poll-Mode (produced)"}, 0x0504, 0x0604, 0x0404, 2},
        {4, {541, "Change of State / Cyclic (produced)"}, 0x0504, 0x0604, 0x0404, 0},
        {1, {542, "Poll-Mode /COS/ Cyclic (consumed)"}, 0x0204, 0x0304, 0x0104, 2},
    };
    for (const DataSet& set : sets) {
        s.groups.push_back(frame(0, set.caption, 0, true));
        s.bindings.push_back(optionGroup("Option1(" + std::to_string(s.groups.size() - 1) + ")",
                                         s.groups.size() - 1, set.reg, 0xFFFF,
                                         {{{0, "Digital I/O"}, set.digital},
                                          {{0, "Analog I/O"}, set.analog},
                                          {{0, "Digital + Analog I/O"}, set.both}},
                                         set.fallback));
    }
    s.groups.push_back(frame(0));
    s.bindings.push_back(couplerNumber("flIQZ5200(0)", s.groups.size() - 1, 5,
                                       {543, "Change of State: Inhibit Time [ms]"}));
    return s;
}

}  // namespace

const FormSpec& frmCouplerConfigQZ5200Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
