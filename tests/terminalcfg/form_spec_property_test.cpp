// Every registered settings form, declared as a table of controls, against random register
// images and the shipped descriptions: OK touches only the registers the form names and
// stores 16-bit words there, a second load and store changes nothing, whatever a user can
// enter survives store and load, and a description's own values come back as they were.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>

#include "fieldbus/coupler_forms.h"
#include "model/device_register_model.h"
#include "platform/paths.h"
#include "settingsforms/description_defaults.h"
#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_forms.h"
#include "tests/support/qt/program_fixture.h"
#include "tests/terminalcfg/shipped_types.h"

namespace varnak::test {
namespace {

struct RegisteredSpec {
    const FormSpec* spec;
    bool coupler;
};

std::vector<RegisteredSpec> registeredSpecs() {
    std::vector<RegisteredSpec> out;
    for (const TerminalFormEntry& f : terminalForms())
        if (f.spec) out.push_back({f.spec, false});
    for (const CouplerFormEntry& f : couplerForms())
        if (f.spec) out.push_back({f.spec, true});
    return out;
}

// What the form's hooks may tell apart: every shipped name, its bare six letters, nothing.
std::vector<std::string> typesToTry(const RegisteredSpec& r) {
    std::set<std::string> types{""};
    for (const std::string& t : shippedTypesOfForm(r.spec->name, r.coupler)) {
        types.insert(t);
        types.insert(t.substr(0, 6));
    }
    return {types.begin(), types.end()};
}

uint32_t masksOf(const FormSpec& spec, int32_t reg) {
    uint32_t m = 0;
    for (const Binding& b : spec.bindings)
        if (b.reg == reg)
            m |= static_cast<uint32_t>(b.kind == BindingKind::Number ? 0xFFFF : b.mask);
    return m;
}

// A state a user can reach: every control set to something the form lets the user enter.
FormState userState(const FormSpec& spec, FormState s, std::mt19937& rng) {
    for (size_t i = 0; i < spec.bindings.size(); ++i) {
        const Binding& b = spec.bindings[i];
        ControlState& c = s.controls[i];
        if (b.reg < 0) continue;
        switch (b.kind) {
            case BindingKind::Check:
                c.checked = rng() & 1;
                break;
            case BindingKind::Options:
            case BindingKind::List:
                if (!c.items.empty()) c.selected = static_cast<int>(rng() % c.items.size());
                break;
            case BindingKind::Number:
                c.text = std::to_string(std::uniform_int_distribution<int32_t>(b.min, b.max)(rng));
                break;
            case BindingKind::Text:
                if (b.text && b.text->sample) c.text = b.text->sample(static_cast<uint16_t>(rng()));
                break;
            case BindingKind::Label:
                break;
        }
    }
    return s;
}

// The control states a store carries, as the next load must show them again.
void expectSameStoredMeaning(const FormSpec& spec, const FormState& want, const FormState& got) {
    for (size_t i = 0; i < spec.bindings.size(); ++i) {
        const Binding& b = spec.bindings[i];
        const ControlState& w = want.controls[i];
        const ControlState& g = got.controls[i];
        SCOPED_TRACE(b.name);
        if (b.reg < 0) continue;
        switch (b.kind) {
            case BindingKind::Check:
                EXPECT_EQ(g.checked, w.checked);
                break;
            case BindingKind::Options:
            case BindingKind::List:
                EXPECT_EQ(g.selected, w.selected);
                break;
            case BindingKind::Number:
                EXPECT_EQ(parseWholeNumber(g.text).value_or(-1),
                          parseWholeNumber(w.text).value_or(-2) & 0xFFFF);
                break;
            case BindingKind::Text:
                if (b.text && b.text->sample) {
                    EXPECT_EQ(b.text->take(g.text, g.loadedValue),
                              b.text->take(w.text, w.loadedValue));
                }
                break;
            case BindingKind::Label:
                break;
        }
    }
}

class FormSpecProperties : public ProgramFixture {};

TEST_F(FormSpecProperties, RandomImagesAndUserStates) {
    std::mt19937 rng(20240611);
    for (const RegisteredSpec& r : registeredSpecs()) {
        const FormSpec& spec = *r.spec;
        const std::vector<int32_t> named = namedRegisters(spec);
        for (const std::string& type : typesToTry(r)) {
            SCOPED_TRACE(spec.name + " for \"" + type + "\"");
            for (int round = 0; round < 60; ++round) {
                RegisterImage image{};
                for (int32_t& v : image) v = static_cast<int32_t>(rng() & 0xFFFF);
                RegisterImage once = image;
                storeForm(spec, loadForm(spec, image, type), once);
                for (size_t reg = 0; reg < image.size(); ++reg) {
                    const bool isNamed = std::binary_search(named.begin(), named.end(), reg);
                    if (!isNamed) {
                        ASSERT_EQ(once[reg], image[reg]) << "register " << reg;
                    }
                    ASSERT_GE(once[reg], 0);
                    ASSERT_LE(once[reg], 0xFFFF);
                }
                for (int32_t reg : spec.keepOtherBits) {
                    const int32_t foreign = static_cast<int32_t>(~masksOf(spec, reg) & 0xFFFF);
                    ASSERT_EQ(once[reg] & foreign, image[reg] & foreign) << "register " << reg;
                }
                RegisterImage twice = once;
                storeForm(spec, loadForm(spec, once, type), twice);
                ASSERT_EQ(twice, once);

                FormState user = userState(spec, loadForm(spec, image, type), rng);
                ASSERT_FALSE(firstRefusedEntry(spec, user));
                RegisterImage stored = image;
                storeForm(spec, user, stored);
                if (spec.hooks.beforeStore) spec.hooks.beforeStore(user);
                expectSameStoredMeaning(spec, user, loadForm(spec, stored, type));
                if (HasFailure()) return;
            }
        }
    }
}

TEST_F(FormSpecProperties, EveryShippedDescriptionIsAFixedPointOfItsForm) {
    size_t checked = 0;
    for (const RegisteredSpec& r : registeredSpecs()) {
        const std::vector<std::string> types = shippedTypesOfForm(r.spec->name, r.coupler);
        EXPECT_FALSE(types.empty()) << r.spec->name << " opens for no shipped type";
        for (const std::string& type : types) {
            SCOPED_TRACE(type);
            const std::string file =
                (platform::resourceDir() / (r.coupler ? "Coupler" : "Terminal") / (type + ".INI"))
                    .string();
            const std::optional<RegisterImage> image =
                r.coupler ? couplerDescriptionTable(file, kFieldbusSettingsTable)
                          : terminalDescriptionChannel(file, 0, "");
            ASSERT_TRUE(image);
            RegisterImage out = *image;
            storeForm(*r.spec, loadForm(*r.spec, *image, type), out);
            EXPECT_EQ(out, *image);
            ++checked;
        }
    }
    EXPECT_GE(checked, 14u);  // the QT3002 family and the QZ8000 family at least
}

}  // namespace
}  // namespace varnak::test
