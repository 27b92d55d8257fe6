// The DP and FMS couplers: the operation mode (register 0), the minimum telegram response
// time (register 1) and the maximum DP diagnostic length (register 2) of table 100. Which
// modes a coupler offers depends on its type; choosing "only FMS" hides the diagnostic
// length, which is stored all the same. Registers 3 and 4 are not offered.
#include <charconv>
#include <cmath>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "fieldbus/coupler_form_specs.h"
#include "model/text_util.h"
#include "settingsforms/settings_codec.h"

namespace varnak {
namespace {

constexpr size_t kMode = 0;
constexpr size_t kDiagnosticLength = 2;

constexpr int32_t kResponseTimeMin = 11;
constexpr int32_t kResponseTimeMax = 255;
constexpr int32_t kResponseTimeElse = 64;
constexpr int32_t kDiagnosticMax = 64;
constexpr int32_t kDiagnosticElse = 16;
constexpr int32_t kOnlyFms = 2;

bool blank(char c) {
    return c == ' ' || c == '\t';
}

// A type carries a listed name when it is that name or goes on with "-" or "_" after it
// ("QZ3100-0000" is a QZ3100).
bool isType(std::string_view type, std::initializer_list<std::string_view> names) {
    for (std::string_view name : names) {
        if (type.substr(0, name.size()) != name) continue;
        if (type.size() == name.size() || type[name.size()] == '-' || type[name.size()] == '_')
            return true;
    }
    return false;
}

size_t modesOffered(std::string_view type) {
    if (isType(type, {"QZ3000", "QZ3010"})) return 1;
    if (isType(type, {"QZ3100", "QZ3110", "JRV-301", "JRV-302", "JRV-303", "JRV-323"})) return 3;
    return 0;
}

// A decimal number with an optional sign, read whole; nothing when any of it is no number.
std::optional<double> decimal(std::string_view text) {
    const bool negative = !text.empty() && text.front() == '-';
    if (!text.empty() && (negative || text.front() == '+')) text.remove_prefix(1);
    if (text.empty() || !(text.front() == '.' || (text.front() >= '0' && text.front() <= '9')))
        return std::nullopt;
    double v = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), v);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return negative ? -v : v;
}

// The number a text starts with: blanks anywhere are skipped, then an optional sign,
// digits, a decimal point and an exponent, up to the first other character; no number: 0.
double leadingNumber(std::string_view text) {
    std::string s;
    for (char c : text)
        if (!blank(c)) s += c;
    size_t i = 0;
    auto digits = [&] {
        const size_t from = i;
        while (i < s.size() && s[i] >= '0' && s[i] <= '9') ++i;
        return i > from;
    };
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
    bool any = digits();
    if (i < s.size() && s[i] == '.') {
        ++i;
        any = digits() || any;
    }
    if (!any) return 0;
    size_t end = i;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E')) {
        ++i;
        if (i < s.size() && (s[i] == '+' || s[i] == '-')) ++i;
        if (digits()) end = i;
    }
    return decimal(std::string_view(s.data(), end)).value_or(0);
}

// The nearest whole number (halves to the even one), or else when it lies outside min..max.
int32_t roundedWithin(double v, int32_t min, int32_t max, int32_t otherwise) {
    const double r = std::nearbyint(v);
    return r >= min && r <= max ? static_cast<int32_t>(r) : otherwise;
}

std::shared_ptr<const TextRule> responseTimeRule() {
    auto rule = std::make_shared<TextRule>();
    rule->show = [](int32_t v) { return (v >= 0 ? " " : "") + std::to_string(v); };
    rule->take = [](std::string_view text, int32_t) -> std::optional<int32_t> {
        return roundedWithin(leadingNumber(text), kResponseTimeMin, kResponseTimeMax,
                             kResponseTimeElse);
    };
    rule->range = std::to_string(kResponseTimeMin) + " .. " + std::to_string(kResponseTimeMax);
    rule->sample = [](uint16_t n) { return std::to_string(n % 300) + (n & 0x8000 ? "ms" : ""); };
    return rule;
}

std::shared_ptr<const TextRule> diagnosticLengthRule() {
    auto rule = std::make_shared<TextRule>();
    rule->show = [](int32_t v) {
        return std::to_string(v >= 0 && v <= kDiagnosticMax ? v : kDiagnosticElse);
    };
    // A text that is no number leaves the register as it was.
    rule->take = [](std::string_view text, int32_t loaded) -> std::optional<int32_t> {
        const std::optional<double> v = decimal(trimBlankView(text));
        if (!v) return loaded;
        return roundedWithin(*v, 0, kDiagnosticMax, kDiagnosticElse);
    };
    rule->range = "0 .. " + std::to_string(kDiagnosticMax);
    for (int length = 16; length <= kDiagnosticMax; length += 8)
        rule->suggestions.push_back(std::to_string(length));
    rule->sample = [](uint16_t n) { return std::to_string(n % 80); };
    return rule;
}

// Only FMS hides the diagnostic length; no mode chosen leaves it as it is.
void showDiagnosticRow(FormState& state) {
    const int mode = state.controls[kMode].selected;
    if (mode >= 0) state.controls[kDiagnosticLength].visible = mode != kOnlyFms;
}

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmCouplerConfigQZ3000";
    s.groups = {frame(0)};
    Binding mode = dropDownList("comboQZ3x00(0)", 0, 0, 0xFFFF,
                                {{{590, "DP und FMS Betrieb"}, 0},
                                 {{591, "Reiner DP Betrieb"}, 1},
                                 {{592, "Reiner FMS Betrieb"}, 2}},
                                0, {575, "Betriebsart"});
    mode.none.keepsLoaded = true;  // a mode the list does not offer stays as it is
    s.bindings.push_back(mode);

    Binding responseTime;
    responseTime.name = "txtQZ3x00(0)";
    responseTime.kind = BindingKind::Text;
    responseTime.reg = 1;
    responseTime.caption = {577, "Tel.-Antwortzeit (min TSDR)"};
    responseTime.text = responseTimeRule();
    s.bindings.push_back(responseTime);

    Binding length = responseTime;
    length.name = "comboQZ3x00(1)";
    length.reg = 2;
    length.caption = {576, "max.DP-Diagnoselänge"};
    length.text = diagnosticLengthRule();
    s.bindings.push_back(length);

    // A type without modes to choose shows the list empty and out of reach.
    s.hooks.prepare = [](FormState& state, std::string_view type) {
        ControlState& mode = state.controls[kMode];
        mode.items.resize(modesOffered(type));
        mode.enabled = !mode.items.empty();
    };
    s.hooks.afterLoad = [](FormState& state, const RegisterImage& registers, std::string_view) {
        // A mode 0..2 the list lacks shows no selection; only other values fall back.
        ControlState& c = state.controls[kMode];
        const int32_t value = registers[0];
        if (value >= 0 && value <= kOnlyFms && value >= static_cast<int32_t>(c.items.size()))
            c.selected = -1;
        showDiagnosticRow(state);
    };
    s.hooks.changed = [](FormState& state, size_t) { showDiagnosticRow(state); };
    return s;
}

}  // namespace

const FormSpec& frmCouplerConfigQZ3000Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
