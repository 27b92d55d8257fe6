#pragma once
// What the coupler forms' codec tests share: an image whose every register holds something
// of its own, one form run from load through the user's edits to store, and the check that
// the store changed exactly the registers a case names.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <optional>
#include <string_view>

#include "settingsforms/settings_codec.h"

namespace varnak::test {

using Registers = std::map<size_t, int32_t>;

// Register r holds 0x1000 + r, but for those given.
inline RegisterImage imageWith(const Registers& given) {
    RegisterImage image{};
    for (size_t r = 0; r < image.size(); ++r) image[r] = static_cast<int32_t>(0x1000 + r);
    for (const auto& [reg, value] : given) image[reg] = value;
    return image;
}

struct FormRun {
    FormState shown;  // after the load and the edits
    std::optional<RefusedEntry> refused;
    RegisterImage stored;  // as loaded when OK refused
};

inline FormRun runForm(const FormSpec& spec, const RegisterImage& image, std::string_view type,
                       const std::function<void(FormState&)>& edit = {}) {
    FormRun run{loadForm(spec, image, type), std::nullopt, image};
    if (edit) edit(run.shown);
    run.refused = firstRefusedEntry(spec, run.shown);
    if (!run.refused) storeForm(spec, run.shown, run.stored);
    return run;
}

// The stored image is the loaded one with exactly these registers changed.
inline void expectStored(const FormRun& run, const RegisterImage& loaded, const Registers& want) {
    RegisterImage expected = loaded;
    for (const auto& [reg, value] : want) expected[reg] = value;
    for (size_t r = 0; r < expected.size(); ++r)
        EXPECT_EQ(run.stored[r], expected[r]) << "register " << r;
}

// A user's pick, tick or entry in control i (the form's hook runs as for a click).
inline std::function<void(FormState&)> pick(const FormSpec& spec, size_t i, int item) {
    return [&spec, i, item](FormState& s) {
        s.controls[i].selected = item;
        controlChanged(spec, s, i);
    };
}
inline std::function<void(FormState&)> tick(const FormSpec& spec, size_t i, bool on) {
    return [&spec, i, on](FormState& s) {
        s.controls[i].checked = on;
        controlChanged(spec, s, i);
    };
}
inline std::function<void(FormState&)> enter(size_t i, const char* text) {
    return [i, text](FormState& s) { s.controls[i].text = text; };
}

}  // namespace varnak::test
