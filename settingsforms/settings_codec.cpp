#include "settingsforms/settings_codec.h"

#include <algorithm>
#include <cctype>
#include <map>

namespace varnak {
namespace {

constexpr int32_t kWord = 0xFFFF;

bool named(const Binding& b) {
    return b.reg >= 0 && b.reg < static_cast<int32_t>(RegisterImage().size()) &&
           b.kind != BindingKind::Label;
}

bool isChoice(const Binding& b) {
    return b.kind == BindingKind::Options || b.kind == BindingKind::List;
}

// Checks and choices rebuild their register; numbers and whole-word texts replace it.
bool rebuilds(const Binding& b) {
    return b.kind == BindingKind::Check || isChoice(b);
}

int itemFor(const std::vector<ChoiceItem>& items, int32_t field, int32_t mask, int fallback) {
    for (size_t i = 0; i < items.size(); ++i)
        if ((items[i].code & mask) == field) return static_cast<int>(i);
    return fallback >= 0 && fallback < static_cast<int>(items.size()) ? fallback : -1;
}

bool inRange(int64_t v, const Binding& b) {
    return v >= b.min && v <= b.max;
}

// What a number field stores: an unedited field its loaded value (or the binding's
// replacement when that lies outside the range), an edited one its 16-bit pattern.
int32_t numberValue(const Binding& b, const ControlState& c) {
    if (c.text == c.loadedText) {
        if (b.outsideStores && !inRange(c.loadedValue, b)) return *b.outsideStores;
        return c.loadedValue;
    }
    const std::optional<int64_t> v = parseWholeNumber(c.text);
    if (!v || !inRange(*v, b)) return c.loadedValue;  // refused before OK stores
    return static_cast<int32_t>(*v & kWord);
}

int32_t choiceValue(const Binding& b, const ControlState& c) {
    if (c.selected >= 0 && c.selected < static_cast<int>(c.items.size()))
        return c.items[static_cast<size_t>(c.selected)].code & b.mask;
    return (b.none.keepsLoaded ? c.loadedValue : b.none.code) & b.mask;
}

int32_t textValue(const Binding& b, const ControlState& c) {
    if (!b.text || !b.text->take) return c.loadedValue;
    return b.text->take(c.text, c.loadedValue).value_or(c.loadedValue);
}

}  // namespace

std::optional<int64_t> parseWholeNumber(std::string_view text) {
    auto blank = [](char ch) { return ch == ' ' || ch == '\t'; };
    while (!text.empty() && blank(text.front())) text.remove_prefix(1);
    while (!text.empty() && blank(text.back())) text.remove_suffix(1);
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.size() > 12) return std::nullopt;
    int64_t v = 0;
    for (char ch : text) {
        if (!std::isdigit(static_cast<unsigned char>(ch))) return std::nullopt;
        v = v * 10 + (ch - '0');
    }
    return negative ? -v : v;
}

FormState loadForm(const FormSpec& spec, const RegisterImage& registers, std::string_view type) {
    FormState state;
    state.controls.resize(spec.bindings.size());
    for (size_t i = 0; i < spec.bindings.size(); ++i) {
        const Binding& b = spec.bindings[i];
        ControlState& c = state.controls[i];
        c.items = b.items;
        c.enabled = b.kind == BindingKind::Label || named(b);
    }
    if (spec.hooks.prepare) spec.hooks.prepare(state, type);

    for (size_t i = 0; i < spec.bindings.size(); ++i) {
        const Binding& b = spec.bindings[i];
        ControlState& c = state.controls[i];
        if (!named(b)) continue;
        const int32_t value = registers[static_cast<size_t>(b.reg)];
        switch (b.kind) {
            case BindingKind::Check:
                c.checked = (value & b.mask) != 0;
                break;
            case BindingKind::Options:
            case BindingKind::List:
                c.loadedValue = value & b.mask;
                c.selected = itemFor(c.items, c.loadedValue, b.mask, b.fallback);
                break;
            case BindingKind::Number:
                c.loadedValue = value;
                c.text = c.loadedText = std::to_string(value);
                break;
            case BindingKind::Text:
                // A whole-word text sees the register as the table holds it, as a number does.
                c.loadedValue = b.mask == kWord ? value : value & b.mask;
                c.text = c.loadedText = b.text && b.text->show ? b.text->show(c.loadedValue) : "";
                break;
            case BindingKind::Label:
                break;
        }
    }
    if (spec.hooks.afterLoad) spec.hooks.afterLoad(state, registers, type);
    return state;
}

void storeForm(const FormSpec& spec, const FormState& given, RegisterImage& registers) {
    FormState state = given;
    if (spec.hooks.beforeStore) spec.hooks.beforeStore(state);

    // Each named register starts from what no control of it stands for.
    std::map<int32_t, int32_t> words;
    std::map<int32_t, int32_t> masks;
    std::map<int32_t, bool> rebuilt;
    for (const Binding& b : spec.bindings) {
        if (!named(b)) continue;
        masks[b.reg] |= b.kind == BindingKind::Number ? kWord : b.mask;
        rebuilt[b.reg] = rebuilt[b.reg] || rebuilds(b);
    }
    for (const auto& [reg, mask] : masks) {
        const bool keep = std::find(spec.keepOtherBits.begin(), spec.keepOtherBits.end(), reg) !=
                          spec.keepOtherBits.end();
        const int32_t loaded = registers[static_cast<size_t>(reg)];
        words[reg] = rebuilt[reg] && !keep ? 0 : loaded & ~mask;
    }

    for (size_t i = 0; i < spec.bindings.size(); ++i) {
        const Binding& b = spec.bindings[i];
        const ControlState& c = state.controls[i];
        if (!named(b)) continue;
        int32_t& w = words[b.reg];
        switch (b.kind) {
            case BindingKind::Check:
                if (c.checked) w |= b.mask;
                break;
            case BindingKind::Options:
            case BindingKind::List:
                w |= choiceValue(b, c);
                break;
            case BindingKind::Number:
                w = numberValue(b, c);
                break;
            case BindingKind::Text:
                w = b.mask == kWord ? textValue(b, c) : (w & ~b.mask) | (textValue(b, c) & b.mask);
                break;
            case BindingKind::Label:
                break;
        }
    }
    for (const auto& [reg, w] : words) registers[static_cast<size_t>(reg)] = w;
}

std::vector<int32_t> namedRegisters(const FormSpec& spec) {
    std::vector<int32_t> regs;
    for (const Binding& b : spec.bindings)
        if (named(b)) regs.push_back(b.reg);
    std::sort(regs.begin(), regs.end());
    regs.erase(std::unique(regs.begin(), regs.end()), regs.end());
    return regs;
}

void controlChanged(const FormSpec& spec, FormState& state, size_t control) {
    if (spec.hooks.changed) spec.hooks.changed(state, control);
}

std::optional<RefusedEntry> firstRefusedEntry(const FormSpec& spec, const FormState& given) {
    // The entries as the store takes them: a text the form overwrites is not the user's.
    FormState state = given;
    if (spec.hooks.beforeStore) spec.hooks.beforeStore(state);
    for (size_t i = 0; i < spec.bindings.size(); ++i) {
        const Binding& b = spec.bindings[i];
        const ControlState& c = state.controls[i];
        if (!named(b) || !c.enabled || c.text == c.loadedText) continue;
        if (b.kind == BindingKind::Number) {
            const std::optional<int64_t> v = parseWholeNumber(c.text);
            if (!v || !inRange(*v, b))
                return RefusedEntry{i, std::to_string(b.min) + " .. " + std::to_string(b.max)};
        } else if (b.kind == BindingKind::Text && b.text && b.text->take &&
                   !b.text->take(c.text, c.loadedValue)) {
            return RefusedEntry{i, b.text->range};
        }
    }
    return std::nullopt;
}

Group frame(int column, Caption caption, size_t page, bool inRow) {
    Group g;
    g.caption = std::move(caption);
    g.page = page;
    g.column = column;
    g.inRow = inRow;
    return g;
}

namespace {
Binding binding(std::string name, BindingKind kind, size_t group, int32_t reg, int32_t mask,
                Caption caption) {
    Binding b;
    b.name = std::move(name);
    b.kind = kind;
    b.group = group;
    b.reg = reg;
    b.mask = mask;
    b.caption = std::move(caption);
    return b;
}

Binding number(std::string name, size_t group, int32_t reg, Caption caption, int32_t min) {
    Binding b =
        binding(std::move(name), BindingKind::Number, group, reg, kWord, std::move(caption));
    b.min = min;
    return b;
}
}  // namespace

Binding checkBox(std::string name, size_t group, int32_t reg, int32_t mask, Caption caption) {
    return binding(std::move(name), BindingKind::Check, group, reg, mask, std::move(caption));
}

Binding optionGroup(std::string name, size_t group, int32_t reg, int32_t mask,
                    std::vector<ChoiceItem> items, int fallback) {
    Binding b = binding(std::move(name), BindingKind::Options, group, reg, mask, {});
    b.items = std::move(items);
    b.fallback = fallback;
    return b;
}

Binding dropDownList(std::string name, size_t group, int32_t reg, int32_t mask,
                     std::vector<ChoiceItem> items, int fallback, Caption label) {
    Binding b = optionGroup(std::move(name), group, reg, mask, std::move(items), fallback);
    b.kind = BindingKind::List;
    b.caption = std::move(label);
    return b;
}

Binding couplerNumber(std::string name, size_t group, int32_t reg, Caption caption) {
    return number(std::move(name), group, reg, std::move(caption), 0);
}

Binding terminalNumber(std::string name, size_t group, int32_t reg, Caption caption) {
    return number(std::move(name), group, reg, std::move(caption), -32768);
}

}  // namespace varnak
