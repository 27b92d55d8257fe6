// The twin DIP baud-rate forms' codec: four lists from register 0 or 34, each row with its
// own fallback, the other four registers passing through.
#include <gtest/gtest.h>

#include "fieldbus/coupler_form_specs.h"
#include "tests/fieldbus/form_cases.h"

namespace varnak::test {
namespace {

TEST(DipBaudRateForms, RowsShowTheirCodeOrTheirOwnFallback) {
    struct Form {
        const FormSpec& spec;
        size_t base;
        size_t other;  // the other form's registers, which stay
    };
    const Form forms[] = {{frmCouplerConfigQZ5110Spec(), 0, 34},
                          {frmCouplerConfigQZ5100Spec(), 34, 0}};
    struct Case {
        int32_t loaded[4];
        int shown[4];  // after the edit
        std::function<void(FormState&)> edit;
        int32_t stored[4];
    };
    const Case cases[] = {
        {{9, 0xFFFF, 9, 9}, {0, 2, 3, 5}, {}, {0, 2, 3, 5}},
        {{-1, 10, 0x100, 0x8000}, {0, 2, 3, 5}, {}, {0, 2, 3, 5}},
        {{0, 8, 1, 7}, {0, 8, 1, 7}, {}, {0, 8, 1, 7}},
        {{9, 9, 9, 9},
         {0, 6, 3, 5},
         [](FormState& s) { s.controls[1].selected = 6; },
         {0, 6, 3, 5}},
    };
    for (const Form& f : forms) {
        for (const Case& c : cases) {
            SCOPED_TRACE(f.spec.name + " " + std::to_string(c.loaded[0]));
            Registers loaded, stored;
            for (size_t k = 0; k < 4; ++k) {
                loaded[f.base + k] = c.loaded[k];
                loaded[f.other + k] = c.loaded[k];
                stored[f.base + k] = c.stored[k];
            }
            const RegisterImage image = imageWith(loaded);
            const FormRun run = runForm(f.spec, image, "QZ5110-0000", c.edit);
            for (size_t k = 0; k < 4; ++k) {
                EXPECT_EQ(run.shown.controls[k].items.size(), 9u);
                EXPECT_EQ(run.shown.controls[k].selected, c.shown[k]) << "row " << k;
            }
            expectStored(run, image, stored);
        }
    }
}

}  // namespace
}  // namespace varnak::test
