// The QT3002 family form's codec: the feature word's ten switches, the type names that hide
// the tenth, and the four numbers.
#include <gtest/gtest.h>

#include "settingsforms/settings_codec.h"
#include "terminalcfg/terminal_form_specs.h"

namespace varnak {
namespace {

constexpr size_t kBreak = 9;
constexpr size_t kLimit1 = 12;

TEST(QT3002Form, FeatureWordAndTheTenthSwitch) {
    const FormSpec& spec = frmTermConfigQT3002Spec();
    struct Case {
        const char* type;
        int32_t reg32;
        int ticked;  // boxes ticked after loading
        bool breakShown;
        int32_t stored;  // register 32 after OK unchanged
    };
    const Case cases[] = {
        {"QT3002-0000", 0x1F1F, 10, true, 0x1F1F},
        {"QT3002-0000", 0xE0E0, 0, true, 0x0000},
        {"QT3002-0000", 0x0000, 0, true, 0x0000},
        {"QT3062", 0x1000, 1, false, 0x1000},  // hidden, ticked, stored
        {"QT3002", 0xFFFF, 10, false, 0x1F1F},
        {"QT3064", 0x0001, 1, false, 0x0001},
        {"QT3022", 0x1000, 1, true, 0x1000},
        {"QT3004", 0x0000, 0, true, 0x0000},
        {"QT3062-0000", 0x1000, 1, true, 0x1000},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.reg32));
        RegisterImage image{};
        image.fill(0x7777);
        image[32] = c.reg32;
        const FormState state = loadForm(spec, image, c.type);
        int ticked = 0;
        for (size_t i = 0; i < 10; ++i) ticked += state.controls[i].checked;
        EXPECT_EQ(ticked, c.ticked);
        EXPECT_EQ(state.controls[kBreak].visible, c.breakShown);
        EXPECT_EQ(state.controls[kBreak].caption.value_or(spec.bindings[kBreak].caption).id, 0);
        RegisterImage out = image;
        storeForm(spec, state, out);
        RegisterImage want = image;
        want[32] = c.stored;
        EXPECT_EQ(out, want);
    }
}

TEST(QT3002Form, NumbersShowTheTableAndStoreSixteenBitWords) {
    const FormSpec& spec = frmTermConfigQT3002Spec();
    RegisterImage image{};
    image[33] = 10;
    image[34] = 0x100;
    image[35] = 65535;
    image[36] = -3;  // a value an older dialog stored
    FormState state = loadForm(spec, image, "QT3002-0000");
    EXPECT_EQ(state.controls[kLimit1].text, "65535");
    EXPECT_EQ(state.controls[kLimit1 + 1].text, "-3");
    state.controls[kLimit1].text = "-100";
    ASSERT_FALSE(firstRefusedEntry(spec, state));
    RegisterImage out = image;
    storeForm(spec, state, out);
    EXPECT_EQ(out[35], 0xFF9C);
    EXPECT_EQ(out[36], -3);
    EXPECT_EQ(out[33], 10);
    state.controls[kLimit1].text = "65536";
    ASSERT_TRUE(firstRefusedEntry(spec, state));
    EXPECT_EQ(firstRefusedEntry(spec, state)->range, "-32768 .. 65535");
}

}  // namespace
}  // namespace varnak
