#pragma once
// The one codec of the settings dialogs: plain functions between a register image and the
// states of a form's declared controls. Load fills the controls from the registers; store rebuilds
// every register a check or choice names from 0 (its foreign bits kept only where the form
// says so), sets number and text fields, and leaves every register no control names as it
// is. Visibility plays no part: a hidden control loads and stores like a shown one.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "settingsforms/settings_form_spec.h"

namespace varnak {

FormState loadForm(const FormSpec& spec, const RegisterImage& registers, std::string_view type);
void storeForm(const FormSpec& spec, const FormState& state, RegisterImage& registers);

// The registers a form's controls stand for, ascending.
std::vector<int32_t> namedRegisters(const FormSpec& spec);

// Runs the form's hook for a control the user changed.
void controlChanged(const FormSpec& spec, FormState& state, size_t control);

// An edited field whose text its binding does not take: which one, and the range to name.
struct RefusedEntry {
    size_t control = 0;
    std::string range;
};
// The first edited number or text field (in declared order) that OK must refuse. A field left
// as loaded is never refused: it stores by its binding's rule; nor is a disabled one, which
// the user could not correct (its form's hooks decide what it stores), nor one whose text the
// form replaces on OK (node class "0" of the CAN coupler stores 0 over its guarding).
std::optional<RefusedEntry> firstRefusedEntry(const FormSpec& spec, const FormState& state);

// A whole number, optionally signed, blanks around it allowed; nothing else.
std::optional<int64_t> parseWholeNumber(std::string_view text);

// A frame in a column (of a tab page), with its caption.
Group frame(int column, Caption caption = {}, size_t page = 0, bool inRow = false);
// Bindings as most forms declare them.
Binding checkBox(std::string name, size_t group, int32_t reg, int32_t mask, Caption caption);
Binding optionGroup(std::string name, size_t group, int32_t reg, int32_t mask,
                    std::vector<ChoiceItem> items, int fallback);
Binding dropDownList(std::string name, size_t group, int32_t reg, int32_t mask,
                     std::vector<ChoiceItem> items, int fallback, Caption label);
// Number bindings with the widest ranges their registers take: a coupler's 16-bit word,
// and a terminal's, which also takes a negative entry as its 16-bit pattern.
Binding couplerNumber(std::string name, size_t group, int32_t reg, Caption caption);
Binding terminalNumber(std::string name, size_t group, int32_t reg, Caption caption);

}  // namespace varnak
