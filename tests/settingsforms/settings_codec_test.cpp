// The codec's rules on a form that uses every kind of binding: which registers are rebuilt,
// kept or left alone, what an unselected choice and an unedited or edited number store,
// and which entries OK refuses.
#include "settingsforms/settings_codec.h"

#include <gtest/gtest.h>

namespace varnak {
namespace {

FormSpec sampleSpec() {
    FormSpec s;
    s.name = "sample";
    s.groups = {frame(0)};
    s.bindings.push_back(checkBox("bit0", 0, 2, 0x0001, {0, "bit 0"}));
    s.bindings.push_back(checkBox("bit15", 0, 2, 0x8000, {0, "bit 15"}));
    s.bindings.push_back(optionGroup(
        "mode", 0, 2, 0x0700, {{{0, "a"}, 0x0100}, {{0, "b"}, 0x0200}, {{0, "c"}, 0x0400}}, 2));
    s.bindings.push_back(checkBox("kept", 0, 3, 0x0010, {0, "kept"}));
    Binding list =
        dropDownList("rate", 0, 4, 0x7FFF, {{{0, "x"}, 1}, {{0, "y"}, 2}}, -1, {0, "Rate"});
    list.none.keepsLoaded = true;
    s.bindings.push_back(list);
    s.bindings.push_back(checkBox("fixed", 0, 4, 0x8000, {0, "Fixed"}));
    s.bindings.push_back(terminalNumber("offset", 0, 5, {0, "&Offset:"}));
    Binding factor = couplerNumber("factor", 0, 6, {0, "Factor"});
    factor.max = 255;
    factor.outsideStores = 2;
    s.bindings.push_back(factor);
    s.bindings.push_back(checkBox("dummy", 0, -1, 0x0001, {0, "no bit"}));
    auto rule = std::make_shared<TextRule>();
    rule->show = [](int32_t v) { return "#" + std::to_string(v); };
    rule->take = [](std::string_view t, int32_t) -> std::optional<int32_t> {
        if (t.size() < 2 || t[0] != '#') return std::nullopt;
        return static_cast<int32_t>(parseWholeNumber(t.substr(1)).value_or(-1) & 0xFF);
    };
    rule->range = "#0 .. #255";
    Binding text;
    text.name = "low";
    text.kind = BindingKind::Text;
    text.reg = 7;
    text.mask = 0x00FF;
    text.text = rule;
    s.bindings.push_back(text);
    s.keepOtherBits = {3};
    return s;
}

enum Control { kBit0, kBit15, kMode, kKept, kRate, kFixed, kOffset, kFactor, kDummy, kLow };

RegisterImage image(std::initializer_list<std::pair<int, int32_t>> values) {
    RegisterImage r{};
    r.fill(0x5A5A);  // each named register at a value its controls store back
    r[2] = 0x0401;
    r[6] = 90;
    for (auto [reg, v] : values) r[static_cast<size_t>(reg)] = v;
    return r;
}

TEST(SettingsCodec, LoadAndStoreByTheKindOfEachBinding) {
    const FormSpec spec = sampleSpec();
    struct Case {
        const char* what;
        RegisterImage in;
        std::function<void(FormState&)> edit;
        std::vector<std::pair<int, int32_t>> out;
    };
    const std::vector<Case> cases{
        {"rebuilt from 0, foreign bits dropped", image({{2, 0xFFFF}}), {}, {{2, 0x8401}}},
        {"two mode bits show the fallback", image({{2, 0x0300}}), {}, {{2, 0x0400}}},
        {"keep-other-bits register keeps foreign bits",
         image({{3, 0xFFEF}}),
         [](FormState& s) { s.controls[kKept].checked = true; },
         {{3, 0xFFFF}}},
        {"no item: the loaded field with the Fixed bit",
         image({{4, 0x0009}}),
         [](FormState& s) { s.controls[kFixed].checked = true; },
         {{4, 0x8009}}},
        {"unedited numbers keep even a value beyond 16 bits",
         image({{5, -5}, {6, 17}}),
         {},
         {{5, -5}, {6, 17}}},
        {"an unedited value outside the range stores the replacement",
         image({{6, 1000}}),
         {},
         {{6, 2}}},
        {"a negative entry stores its 16-bit pattern",
         image({}),
         [](FormState& s) { s.controls[kOffset].text = " -100 "; },
         {{5, 0xFF9C}}},
        {"a text rule sets its field only",
         image({{7, 0x1234}}),
         [](FormState& s) { s.controls[kLow].text = "#255"; },
         {{7, 0x12FF}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FormState state = loadForm(spec, c.in, "QT0000");
        if (c.edit) c.edit(state);
        RegisterImage out = c.in;
        storeForm(spec, state, out);
        RegisterImage want = c.in;
        for (auto [reg, v] : c.out) want[static_cast<size_t>(reg)] = v;
        // Register 2..7 are named; everything else must come back untouched.
        EXPECT_EQ(out, want);
    }
}

TEST(SettingsCodec, ChoicesShowTheirItemFallbackOrNothing) {
    const FormSpec spec = sampleSpec();
    FormState s = loadForm(spec, image({{2, 0x0200}, {4, 0x8002}}), "");
    EXPECT_EQ(s.controls[kMode].selected, 1);
    EXPECT_EQ(s.controls[kRate].selected, 1);
    EXPECT_TRUE(s.controls[kFixed].checked);
    s = loadForm(spec, image({{2, 0}, {4, 9}}), "");
    EXPECT_EQ(s.controls[kMode].selected, 2);
    EXPECT_EQ(s.controls[kRate].selected, -1);
    EXPECT_FALSE(s.controls[kDummy].enabled);
    EXPECT_EQ(namedRegisters(spec), (std::vector<int32_t>{2, 3, 4, 5, 6, 7}));
}

TEST(SettingsCodec, OkRefusesEditedEntriesOutsideTheirRangeOnly) {
    const FormSpec spec = sampleSpec();
    FormState s = loadForm(spec, image({{6, 1000}}), "");
    EXPECT_FALSE(firstRefusedEntry(spec, s));  // left alone: stores by its rule
    const std::vector<std::pair<std::string, bool>> offsets{
        {"65535", true},   {" -32768 ", true}, {"+7", true},   {"65536", false},
        {"-32769", false}, {"12a", false},     {"", false},    {"1.5", false},
        {"4 2", false},    {"0x10", false},    {"1e3", false}, {"99999999999999", false}};
    for (const auto& [text, taken] : offsets) {
        s.controls[kOffset].text = text;
        EXPECT_EQ(!firstRefusedEntry(spec, s), taken) << text;
    }
    s.controls[kOffset].text = s.controls[kOffset].loadedText;
    s.controls[kFactor].text = "256";
    auto refused = firstRefusedEntry(spec, s);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->control, static_cast<size_t>(kFactor));
    EXPECT_EQ(refused->range, "0 .. 255");
    s.controls[kFactor].text = "255";
    s.controls[kLow].text = "255";
    refused = firstRefusedEntry(spec, s);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->range, "#0 .. #255");
    s.controls[kLow].enabled = false;  // out of the user's reach: its form decides
    EXPECT_FALSE(firstRefusedEntry(spec, s));
}

}  // namespace
}  // namespace varnak
