#pragma once
// What a settings dialog is made of, told as data: its controls, the register bits or
// numbers each stands for, where it stands, and its captions. The coupler and terminal
// settings dialogs are such declarations; one codec turns registers into control states and back,
// one binder builds the widgets. A declaration names the hooks only where a dialog does more than
// its table can say (type-dependent items or captions, one control switching another).
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace varnak {

// The registers of one table as the dialogs see them: every slot a table has (a terminal
// channel uses 0..63, a coupler table up to 255).
using RegisterImage = std::array<int32_t, 256>;

// A caption: the string-table text of id in the current language when the table holds
// one, else the design text; prefix goes before either (a number before a shared text).
// id 0 keeps the design text in every language.
struct Caption {
    Caption() = default;
    Caption(int textId, std::string designText, std::string before = {})
        : id(textId), design(std::move(designText)), prefix(std::move(before)) {}

    int id = 0;
    std::string design;
    std::string prefix;
};

// One entry of an option group or a drop-down list: the code it stands for in its field.
struct ChoiceItem {
    Caption caption;
    int32_t code = 0;
    bool hidden = false;  // loads and stores, but the user cannot pick it
};

enum class BindingKind {
    Check,    // check box: its bit (mask) is set when ticked
    Options,  // option group: the field (mask) holds the code of the selected item
    List,     // drop-down list of the same meaning
    Number,   // whole-number field: the register as a number within a range
    Text,     // a field with its own rule (TextRule)
    Label,    // a fixed text, no register
};

// A field whose text follows a rule of its dialog (a leading number, "byte.bit", ...).
struct TextRule {
    // The text shown for the value of the binding's field.
    std::function<std::string(int32_t fieldValue)> show;
    // The field value a text stores, or nullopt when the text is refused. The loaded value
    // is there for rules that keep it.
    std::function<std::optional<int32_t>(std::string_view text, int32_t loadedFieldValue)> take;
    // The range a refusal names, e.g. "0.0 .. 511.7".
    std::string range;
    // The items of an editable list; empty: a plain text field.
    std::vector<std::string> suggestions;
    // A text the user may enter, drawn from any 16-bit number (the property test's users).
    std::function<std::string(uint16_t)> sample;
};

// What an option group or list stores when nothing is selected.
struct NoneSelected {
    bool keepsLoaded = false;  // the field's loaded bits
    int32_t code = 0;          // else this code
};

struct Binding {
    std::string name;  // the control's name (the widget's object name)
    BindingKind kind = BindingKind::Check;
    size_t group = 0;       // index into FormSpec::groups
    int32_t reg = -1;       // -1: the control stands for no register (shown disabled)
    int32_t mask = 0xFFFF;  // Check: its bit; Options, List, Text: its field
    Caption caption;        // check box text, or the label beside the field
    std::vector<ChoiceItem> items;
    int fallback = -1;  // item shown for a value no item has; -1: none selected
    NoneSelected none;
    int32_t min = 0;  // Number: what the user may enter
    int32_t max = 0xFFFF;
    // Number: a loaded value outside min..max that OK stores unedited becomes this (the
    // loaded value itself when unset).
    std::optional<int32_t> outsideStores;
    std::shared_ptr<const TextRule> text;
};

// A frame: its bindings stand in it top to bottom (left to right when inRow).
struct Group {
    Caption caption;  // empty design text and id 0: a frame without caption
    size_t page = 0;  // tab page (FormSpec::pages); 0 when the form has no tabs
    int column = 0;   // frames of one column stand top to bottom, columns left to right
    bool inRow = false;
};

// The state of one control between load and OK.
struct ControlState {
    bool checked = false;
    int selected = -1;
    std::string text;
    std::string loadedText;   // the text the load showed: an unedited field stores loadedValue
    int32_t loadedValue = 0;  // the register (Number) or the field (Options, List, Text)
    bool visible = true;
    bool enabled = true;
    std::optional<Caption> caption;  // a hook's caption in place of the binding's
    std::vector<ChoiceItem> items;   // the items offered
};

struct FormState {
    std::vector<ControlState> controls;  // one per binding, in declared order
};

struct FormHooks {
    // Before the values load: items, captions and visibility by the device's type name.
    std::function<void(FormState&, std::string_view type)> prepare;
    // After the values loaded: what the dialog decides from the registers and the type.
    std::function<void(FormState&, const RegisterImage&, std::string_view type)> afterLoad;
    // The user changed control i (ticked, picked): what it shows, hides or enables.
    std::function<void(FormState&, size_t control)> changed;
    // On a copy of the state before it is stored: values one control forces on others.
    std::function<void(FormState&)> beforeStore;
};

struct FormSpec {
    std::string name;            // e.g. "frmTermConfigQT3002"
    std::vector<Caption> pages;  // tab pages; empty: no tab control
    std::vector<Group> groups;
    std::vector<Binding> bindings;
    // Registers whose bits that no check or choice names pass through (else rebuilt from 0).
    std::vector<int32_t> keepOtherBits;
    FormHooks hooks;
};

// The form of a list (terminalForms(), couplerForms()) by its name; nullptr when none.
template <typename Entry>
const Entry* formNamed(const std::vector<Entry>& forms, std::string_view name) {
    for (const Entry& form : forms)
        if (form.name == name) return &form;
    return nullptr;
}

}  // namespace varnak
