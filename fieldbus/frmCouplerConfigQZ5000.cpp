// The CAN coupler: baud rate (register 0), node class (register 1), guard time and
// life-time factor (registers 2 and 3) and the cycles of four timers (registers 13 to 16)
// of table 100. Node class "0" has no guarding: it stores 0 in registers 1 to 3.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "fieldbus/coupler_form_specs.h"
#include "settingsforms/settings_codec.h"

namespace varnak {
namespace {

constexpr size_t kNodeClass = 1;
constexpr size_t kGuardTime = 2;
constexpr size_t kLifeTimeFactor = 3;

// A whole number that OK replaces when it lies outside min..max; a text that is no whole
// number at all is refused.
std::shared_ptr<const TextRule> numberOr(int32_t min, int32_t max, int32_t otherwise) {
    auto rule = std::make_shared<TextRule>();
    rule->show = [](int32_t v) { return std::to_string(v); };
    rule->take = [=](std::string_view text, int32_t) -> std::optional<int32_t> {
        const std::optional<int64_t> v = parseWholeNumber(text);
        if (!v) return std::nullopt;
        return *v >= min && *v <= max ? static_cast<int32_t>(*v) : otherwise;
    };
    rule->range = std::to_string(min) + " .. " + std::to_string(max);
    rule->sample = [](uint16_t n) { return std::to_string(static_cast<int16_t>(n)); };
    return rule;
}

Binding replacedNumber(std::string name, int32_t reg, Caption caption,
                       std::shared_ptr<const TextRule> rule) {
    Binding b;
    b.name = std::move(name);
    b.kind = BindingKind::Text;
    b.reg = reg;
    b.caption = std::move(caption);
    b.text = std::move(rule);
    return b;
}

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmCouplerConfigQZ5000";
    s.groups = {frame(0)};
    // Eight rates: no 800, so code 1 is 500 here.
    s.bindings.push_back(
        dropDownList("comboQZ5x00(0)", 0, 0, 0xFFFF,
                     itemsByPosition({"1000", "500", "250", "125", "100", "50", "20", "10"}), 4,
                     {585, "CAN Baudrate"}));
    s.bindings.push_back(dropDownList("comboQZ5x00(1)", 0, 1, 0xFFFF,
                                      {{{0, "0"}, 0}, {{0, "2"}, 2}}, 1, {586, "Knotenklasse"}));
    s.bindings.push_back(
        replacedNumber("txtQZ5x00(0)", 2, {587, "Guardtime"}, numberOr(0, 0xFFFF, 300)));
    s.bindings.push_back(
        replacedNumber("txtQZ5x00(1)", 3, {588, "Life-Time-Factor"}, numberOr(0, 255, 2)));
    for (int32_t timer = 1; timer <= 4; ++timer)
        s.bindings.push_back(
            couplerNumber("txtQZ5x00(" + std::to_string(timer + 1) + ")", 0, 12 + timer,
                          {0, "Timer " + std::to_string(timer) + " Modus Cycle [ms]"}));
    s.hooks.beforeStore = [](FormState& state) {
        if (state.controls[kNodeClass].selected != 0) return;
        state.controls[kGuardTime].text = "0";
        state.controls[kLifeTimeFactor].text = "0";
    };
    return s;
}

}  // namespace

const FormSpec& frmCouplerConfigQZ5000Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
