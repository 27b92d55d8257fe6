// The QZ2000 couplers' four IIO interrupts (registers 0 to 3 of table 100) and watchdog
// time (register 9). An interrupt word holds "active" in bit 15, the bit number in bits 9
// to 11 and the byte offset in bits 0 to 8; the form shows the position as "byte.bit"
// (12.5), read and written as whole numbers. An inactive interrupt is written as 0.
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "fieldbus/coupler_form_specs.h"
#include "mapping/mapping_address.h"
#include "settingsforms/settings_codec.h"

namespace varnak {
namespace {

constexpr int kInterrupts = 4;
constexpr int32_t kActive = 0x8000;
constexpr int32_t kPosition = 0x0FFF;  // bits 12-14 carry nothing and are written as 0
constexpr int32_t kLastByte = 511;
constexpr int32_t kLastBit = 7;
constexpr int kBitShift = 9;

size_t checkOf(int interrupt) {
    return static_cast<size_t>(2 * interrupt);
}
size_t positionOf(int interrupt) {
    return checkOf(interrupt) + 1;
}

// "byte" or "byte.bit" with byte 0..511 and one bit digit 0..7, blanks around allowed: the
// mapping's own address text.
std::optional<int32_t> positionWord(std::string_view text) {
    const std::optional<ImageAddress> address = fSplitImageAddress(text);
    if (!address) return std::nullopt;
    return address->byte | address->bit << kBitShift;
}

std::shared_ptr<const TextRule> positionRule() {
    auto rule = std::make_shared<TextRule>();
    rule->show = [](int32_t w) {
        return std::to_string(w & kLastByte) + "." + std::to_string(w >> kBitShift & kLastBit);
    };
    rule->take = [](std::string_view text, int32_t) { return positionWord(text); };
    rule->range = "0.0 .. 511.7";
    rule->sample = [](uint16_t n) {
        const std::string byte = std::to_string(n & kLastByte);
        return n & 0x8000 ? byte : byte + "." + std::to_string(n >> kBitShift & kLastBit);
    };
    return rule;
}

// A position field can be edited only while its interrupt is active.
void enablePositions(FormState& state) {
    for (int i = 0; i < kInterrupts; ++i)
        state.controls[positionOf(i)].enabled = state.controls[checkOf(i)].checked;
}

FormSpec makeSpec() {
    FormSpec s;
    s.name = "frmCouplerConfigQZ2000";
    for (int i = 0; i < kInterrupts; ++i) {
        s.groups.push_back(frame(0, {}, 0, true));
        s.bindings.push_back(checkBox(
            "chkEnableInterupts(" + std::to_string(i) + ")", s.groups.size() - 1, i, kActive,
            {560 + i, "Aktivieren IIO-Interrupt " + std::to_string(i + 1) + ":"}));
        Binding position;
        position.name = "fpQZ2x00(" + std::to_string(i) + ")";
        position.kind = BindingKind::Text;
        position.group = s.groups.size() - 1;
        position.reg = i;
        position.mask = kPosition;
        position.text = positionRule();
        s.bindings.push_back(position);
    }
    s.groups.push_back(frame(0));
    s.bindings.push_back(couplerNumber("fpWatchdog", s.groups.size() - 1, 9, {0, "Watchdog [ms]"}));
    s.hooks.afterLoad = [](FormState& state, const RegisterImage&, std::string_view) {
        enablePositions(state);
    };
    s.hooks.changed = [](FormState& state, size_t) { enablePositions(state); };
    s.hooks.beforeStore = [](FormState& state) {
        for (int i = 0; i < kInterrupts; ++i)
            if (!state.controls[checkOf(i)].checked) state.controls[positionOf(i)].text = "0";
    };
    return s;
}

}  // namespace

const FormSpec& frmCouplerConfigQZ2000Spec() {
    static const FormSpec spec = makeSpec();
    return spec;
}

}  // namespace varnak
