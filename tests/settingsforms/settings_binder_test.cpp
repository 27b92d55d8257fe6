// The binder on a form declaring every control kind, on two tab pages: what the widgets show after
// a load, the hooks a user's click runs, and what the widgets store.
#include "settingsforms/settings_binder.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>
#include <QTabWidget>

#include "settingsforms/settings_codec.h"
#include "tests/support/qt/program_fixture.h"

namespace varnak::test {
namespace {

FormSpec everyKind() {
    FormSpec s;
    s.name = "frmEveryKind";
    s.pages = {{0, "Allgemein"}, {979, "Parameter"}};
    s.groups = {frame(0), frame(0, {0, "Modus"}, 1, true)};
    s.bindings.push_back(checkBox("chk(0)", 0, 32, 0x0001, {469, "design text"}));
    s.bindings.push_back(optionGroup(
        "opt", 1, 32, 0x0700, {{{0, "a"}, 0x100}, {{0, "b"}, 0x200}, {{0, "c"}, 0x400, true}}, 2));
    Binding list =
        dropDownList("lst", 0, 33, 0xFFFF, {{{0, "x"}, 1}, {{0, "y"}, 2}}, -1, {0, "Rate"});
    list.none.keepsLoaded = true;
    s.bindings.push_back(list);
    auto rule = std::make_shared<TextRule>();
    rule->show = [](int32_t v) { return "#" + std::to_string(v); };
    rule->take = [](std::string_view t, int32_t) -> std::optional<int32_t> {
        if (t.size() < 2 || t[0] != '#') return std::nullopt;
        return static_cast<int32_t>(parseWholeNumber(t.substr(1)).value_or(0) & 0xFF);
    };
    rule->range = "#0 .. #255";
    rule->suggestions = {"#1", "#2"};
    Binding text;
    text.name = "txt";
    text.kind = BindingKind::Text;
    text.reg = 34;
    text.caption = {0, "Code"};
    text.text = rule;
    s.bindings.push_back(text);
    Binding label;
    label.name = "lbl";
    label.kind = BindingKind::Label;
    label.caption = {0, "Under construction"};
    s.bindings.push_back(label);
    s.bindings.push_back(terminalNumber("num", 1, 35, {0, "Offset"}));
    s.hooks.prepare = [](FormState& state, std::string_view type) {
        if (type == "B") state.controls[2].caption = Caption{0, "Baud"};
    };
    s.hooks.changed = [](FormState& state, size_t control) {
        if (control == 0) state.controls[5].enabled = state.controls[0].checked;
    };
    return s;
}

class Binder : public ProgramFixture {
  protected:
    template <typename W>
    W* get(const char* name) {
        W* w = body.widget()->findChild<W*>(name);
        EXPECT_TRUE(w) << name;
        return w;
    }
    const FormSpec spec = everyKind();
    SpecBody body{spec};
};

TEST_F(Binder, WidgetsShowTheLoadedStateAndStoreWhatTheUserChose) {
    RegisterImage image{};
    image[32] = 0x0301;
    image[33] = 9;
    image[34] = 5;
    image[35] = 65535;
    body.initLanguage();
    body.load(image, "B");
    ASSERT_TRUE(body.tabs());
    EXPECT_EQ(body.tabs()->tabText(0), "Allgemein");
    EXPECT_EQ(body.tabs()->tabText(1), "Parameter");
    EXPECT_EQ(get<QCheckBox>("chk(0)")->text(), "Keine Kommunikation mit Koppler!");
    EXPECT_TRUE(get<QCheckBox>("chk(0)")->isChecked());
    EXPECT_TRUE(get<QRadioButton>("opt2")->isChecked());  // two mode bits: the fallback
    EXPECT_TRUE(get<QRadioButton>("opt2")->isHidden());
    EXPECT_EQ(get<QComboBox>("lst")->currentIndex(), -1);
    EXPECT_EQ(get<QLabel>("lst_label")->text(), "Baud");
    EXPECT_EQ(get<QComboBox>("txt")->currentText(), "#5");
    EXPECT_EQ(get<QLabel>("lbl")->text(), "Under construction");
    EXPECT_EQ(get<QLineEdit>("num")->text(), "65535");

    get<QCheckBox>("chk(0)")->click();
    EXPECT_FALSE(get<QLineEdit>("num")->isEnabled());  // the hook ran on the click
    get<QRadioButton>("opt0")->click();
    RegisterImage out = image;
    body.store(out);
    EXPECT_EQ(out[32], 0x0100);
    EXPECT_EQ(out[33], 9);  // nothing selected keeps the loaded value
    EXPECT_EQ(out[35], 65535);

    get<QComboBox>("lst")->setCurrentIndex(1);
    get<QComboBox>("txt")->setCurrentText("#9");
    get<QLineEdit>("num")->setText("-5");
    ASSERT_TRUE(body.checkEntries());
    body.store(out);
    EXPECT_EQ(out[33], 2);
    EXPECT_EQ(out[34], 9);
    EXPECT_EQ(out[35], 0xFFFB);

    context.LanguageBase = 2000;
    body.initLanguage();
    EXPECT_EQ(get<QCheckBox>("chk(0)")->text(), "No communication with coupler!");
    EXPECT_EQ(body.tabs()->tabText(1), "Parameter");
    get<QComboBox>("txt")->setCurrentText("9");
    EXPECT_FALSE(body.checkEntries());
    EXPECT_EQ(messageTexts(), std::vector<std::string>{"Invalid entry: Code (#0 .. #255)"});
}

TEST_F(Binder, AFrameWhoseControlsAreAllHiddenIsHiddenWithThem) {
    FormSpec two;
    two.name = "frmTwoFrames";
    two.groups = {frame(0), frame(1)};
    two.bindings.push_back(checkBox("a", 0, 32, 0x0001, {0, "a"}));
    two.bindings.push_back(checkBox("b", 1, 32, 0x0002, {0, "b"}));
    two.hooks.prepare = [](FormState& state, std::string_view type) {
        state.controls[1].visible = type != "H";
    };
    SpecBody twoBody(two);
    auto frameOf = [&](size_t i) { return twoBody.control(i)->parentWidget(); };
    for (const char* type : {"H", "S"}) {
        twoBody.load(RegisterImage{}, type);
        EXPECT_FALSE(frameOf(0)->isHidden());
        EXPECT_EQ(frameOf(1)->isHidden(), std::string(type) == "H");
    }
}

}  // namespace
}  // namespace varnak::test
