// The interrupt form's codec: "byte.bit" positions packed as whole numbers, the active bit
// and its box, the cleared box's 0, bits 12 to 14 always 0, and the watchdog's range.
#include <gtest/gtest.h>

#include "fieldbus/coupler_form_specs.h"
#include "tests/fieldbus/form_cases.h"

namespace varnak::test {
namespace {

// Interrupt i: its box is control 2i, its position 2i + 1 (register i).
constexpr size_t box(size_t i) {
    return 2 * i;
}
constexpr size_t position(size_t i) {
    return 2 * i + 1;
}
constexpr size_t kWatchdog = 8;

TEST(QZ2000Form, InterruptPositionsAndWatchdog) {
    const FormSpec& spec = frmCouplerConfigQZ2000Spec();
    struct Case {
        int32_t word;  // loaded into register 0 (interrupt 1)
        std::function<void(FormState&)> edit;
        bool ticked;
        const char* shown;              // the position after the edit
        std::optional<int32_t> stored;  // nullopt: refused
    };
    const Case cases[] = {
        {0x8A0C, {}, true, "12.5", 0x8A0C},
        {0x0A0C, {}, false, "12.5", 0},
        {0xF000, {}, true, "0.0", 0x8000},
        {0x7FFF, {}, false, "511.7", 0},
        {0x8000, enter(position(0), "511.7"), true, "511.7", 0x8FFF},
        {0x8001, enter(position(0), "0"), true, "0", 0x8000},
        {0x8001, enter(position(0), " 3 "), true, " 3 ", 0x8003},
        {0x8001, enter(position(0), "512"), true, "512", std::nullopt},
        {0x8001, enter(position(0), "12.8"), true, "12.8", std::nullopt},
        {0x8001, enter(position(0), "12.9"), true, "12.9", std::nullopt},
        {0x8001, enter(position(0), "1.25"), true, "1.25", std::nullopt},
        {0x8001, enter(position(0), "-1"), true, "-1", std::nullopt},
        {0x8001, enter(position(0), "1e2"), true, "1e2", std::nullopt},
        {0x8001, enter(position(0), ""), true, "", std::nullopt},
        {0x0A0C, tick(spec, box(0), true), true, "12.5", 0x8A0C},
        // Cleared: the field keeps what it shows, disabled, and OK writes 0 whatever it holds.
        {0x8A0C,
         [&](FormState& s) {
             s.controls[position(0)].text = "999";
             tick(spec, box(0), false)(s);
         },
         false, "999", 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::to_string(c.word));
        const RegisterImage image = imageWith({{0, c.word}, {1, 0x8203}, {2, 0}, {3, 0}, {9, 100}});
        const FormRun run = runForm(spec, image, "QZ2000-0000", c.edit);
        EXPECT_EQ(run.shown.controls[box(0)].checked, c.ticked);
        EXPECT_EQ(run.shown.controls[position(0)].enabled, c.ticked);
        EXPECT_EQ(run.shown.controls[position(0)].text, c.shown);
        EXPECT_EQ(run.shown.controls[position(1)].text, "3.1");
        ASSERT_EQ(run.refused.has_value(), !c.stored);
        if (run.refused) {
            EXPECT_EQ(run.refused->control, position(0));
            EXPECT_EQ(run.refused->range, "0.0 .. 511.7");
            continue;
        }
        expectStored(run, image, {{0, *c.stored}});
    }
    const RegisterImage image = imageWith({{9, 100}});
    expectStored(runForm(spec, image, "QZ2000", enter(kWatchdog, "250")), image,
                 {{0, 0}, {1, 0}, {2, 0}, {3, 0}, {9, 250}});
    EXPECT_EQ(runForm(spec, image, "QZ2000", enter(kWatchdog, "70000")).refused->range,
              "0 .. 65535");
}

}  // namespace
}  // namespace varnak::test
