// The QZ8000 form's codec: three plain numbers in registers 0 to 2 of table 100, everything
// else of the table passing through.
#include <gtest/gtest.h>

#include "fieldbus/coupler_form_specs.h"
#include "settingsforms/settings_codec.h"

namespace varnak {
namespace {

TEST(QZ8000Form, ThreeTimesInTheirRegistersAndNothingElse) {
    const FormSpec& spec = frmCouplerConfigQZ8000Spec();
    RegisterImage image{};
    for (size_t r = 0; r < image.size(); ++r) image[r] = static_cast<int32_t>(0x1000 + r);
    image[0] = 100;
    image[1] = 5;
    image[2] = 2000;
    struct Case {
        const char* entry;              // typed into the response delay; nullptr: left alone
        std::optional<int32_t> stored;  // nullopt: refused
    };
    const Case cases[] = {{nullptr, 5}, {"250", 250},  {"0", 0},      {" 65535", 65535},
                          {"-1", {}},   {"65536", {}}, {"70000", {}}, {"2.5", {}},
                          {"", {}},     {"abc", {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.entry ? c.entry : "(unchanged)");
        FormState state = loadForm(spec, image, "QZ8000-0000");
        EXPECT_EQ(state.controls[0].text, "100");
        EXPECT_EQ(state.controls[2].text, "2000");
        if (c.entry) state.controls[1].text = c.entry;
        const auto refused = firstRefusedEntry(spec, state);
        EXPECT_EQ(refused.has_value(), !c.stored);
        if (refused) {
            EXPECT_EQ(refused->range, "0 .. 65535");
            continue;
        }
        RegisterImage out = image;
        storeForm(spec, state, out);
        RegisterImage want = image;
        want[1] = *c.stored;
        EXPECT_EQ(out, want);
    }
}

}  // namespace
}  // namespace varnak
