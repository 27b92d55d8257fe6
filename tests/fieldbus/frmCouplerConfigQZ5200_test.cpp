// The data-set form's codec: three option groups compared with whole register values, each
// with its own fallback, and the inhibit time.
#include <gtest/gtest.h>

#include "fieldbus/coupler_form_specs.h"
#include "tests/fieldbus/form_cases.h"

namespace varnak::test {
namespace {

constexpr size_t kInhibit = 3;

TEST(QZ5200Form, DataSetsAndInhibitTime) {
    const FormSpec& spec = frmCouplerConfigQZ5200Spec();
    struct Case {
        Registers loaded;  // registers 0, 4, 1, 5 (groups 1, 2, 3, inhibit time)
        std::function<void(FormState&)> edit;
        int shown[3];
        Registers stored;
    };
    const Case cases[] = {
        {{{0, 0x0504}, {4, 0x0604}, {1, 0x0104}, {5, 250}}, {}, {0, 1, 2}, {}},
        {{{0, 0x0604}, {4, 0x0404}, {1, 0x0204}, {5, 0}}, {}, {1, 2, 0}, {}},
        {{{0, 0x0204}, {4, 0x050A}, {1, 0}, {5, 10}},
         {},
         {2, 0, 2},
         {{0, 0x0404}, {4, 0x0504}, {1, 0x0104}}},
        {{{0, 0x0404}, {4, 0xFFFF}, {1, 0x0304}, {5, 10}}, {}, {2, 0, 1}, {{4, 0x0504}}},
        {{{0, 0x0404}, {4, 0x0404}, {1, 0x0104}, {5, 10}},
         [&](FormState& s) {
             pick(spec, 0, 0)(s);
             pick(spec, 1, 1)(s);
             pick(spec, 2, 1)(s);
             s.controls[kInhibit].text = "65535";
         },
         {0, 1, 1},
         {{0, 0x0504}, {4, 0x0604}, {1, 0x0304}, {5, 65535}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.loaded.at(0)) + " " + std::to_string(c.loaded.at(4)) + " " +
                     std::to_string(c.loaded.at(1)));
        const RegisterImage image = imageWith(c.loaded);
        const FormRun run = runForm(spec, image, "QZ5200-0000", c.edit);
        for (size_t g = 0; g < 3; ++g) EXPECT_EQ(run.shown.controls[g].selected, c.shown[g]);
        EXPECT_EQ(run.shown.controls[kInhibit].text,
                  c.edit ? "65535" : std::to_string(c.loaded.at(5)));
        expectStored(run, image, c.stored);
    }
    const RegisterImage image = imageWith({{0, 0x0404}, {1, 0x0104}, {4, 0x0404}});
    EXPECT_EQ(runForm(spec, image, "QZ5200", enter(kInhibit, "70000")).refused->range,
              "0 .. 65535");
}

}  // namespace
}  // namespace varnak::test
