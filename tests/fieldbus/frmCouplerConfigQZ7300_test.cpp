// The serial fieldbus form's codec: frame codes by item, the baud index with "Fixed" in bit
// 15, an index no item has, the protocol mode's default, and the three numbers.
#include <gtest/gtest.h>

#include "fieldbus/coupler_form_specs.h"
#include "tests/fieldbus/form_cases.h"

namespace varnak::test {
namespace {

constexpr size_t kWatchdog = 0;
constexpr size_t kMode = 1;
constexpr size_t kFrame = 2;
constexpr size_t kBaud = 3;
constexpr size_t kFixed = 4;

TEST(QZ7300Form, FrameBaudFixedModeAndNumbers) {
    const FormSpec& spec = frmCouplerConfigQZ7300Spec();
    const Registers shipped{{0, 1000}, {1, 0}, {2, 0x0007}, {3, 1}, {4, 5}, {5, 1}};
    struct Case {
        Registers loaded;  // over the shipped values
        std::function<void(FormState&)> edit;
        int mode, frame, baud;
        bool fixed;
        Registers stored;
    };
    const Case cases[] = {
        {{}, {}, 0, 5, 1, false, {}},
        {{{2, 0x000B}}, {}, 0, 2, 1, false, {}},
        {{{2, 0x000F}}, {}, 0, 8, 1, false, {}},
        {{{2, 0x1003}}, {}, 0, 1, 1, false, {}},
        {{{2, 0x0000}}, {}, 0, 4, 1, false, {{2, 0x0001}}},
        {{{2, 0x0005}}, {}, 0, 4, 1, false, {{2, 0x0001}}},
        {{{2, 0x100F}}, pick(spec, kFrame, 7), 0, 7, 1, false, {{2, 0x0009}}},
        {{{3, 0x8002}}, {}, 0, 5, 2, true, {}},
        {{{3, 0x0008}}, tick(spec, kFixed, true), 0, 5, 8, true, {{3, 0x8008}}},
        {{{3, 0x8008}}, tick(spec, kFixed, false), 0, 5, 8, false, {{3, 0x0008}}},
        {{{3, 0x0009}}, {}, 0, 5, -1, false, {}},
        {{{3, 0xFFFF}}, {}, 0, 5, -1, true, {}},
        {{{3, 0x800C}}, tick(spec, kFixed, false), 0, 5, -1, false, {{3, 0x000C}}},
        {{{3, 0x800C}}, pick(spec, kBaud, 0), 0, 5, 0, true, {{3, 0x8000}}},
        {{{1, 1}}, {}, 1, 5, 1, false, {}},
        {{{1, 2}}, {}, -1, 5, 1, false, {{1, 1}}},
        {{{1, 2}}, pick(spec, kMode, 0), 0, 5, 1, false, {{1, 0}}},
        {{{0, 1}, {4, 0}, {5, 65535}}, enter(kWatchdog, "65535"), 0, 5, 1, false, {{0, 65535}}},
    };
    for (const Case& c : cases) {
        Registers loaded = shipped;
        for (const auto& [reg, value] : c.loaded) loaded[reg] = value;
        SCOPED_TRACE(std::to_string(loaded[1]) + " " + std::to_string(loaded[2]) + " " +
                     std::to_string(loaded[3]));
        const RegisterImage image = imageWith(loaded);
        const FormRun run = runForm(spec, image, "QZ7300-0000", c.edit);
        EXPECT_EQ(run.shown.controls[kMode].selected, c.mode);
        EXPECT_EQ(run.shown.controls[kFrame].selected, c.frame);
        EXPECT_EQ(run.shown.controls[kBaud].selected, c.baud);
        EXPECT_EQ(run.shown.controls[kFixed].checked, c.fixed);
        EXPECT_EQ(run.shown.controls[5].text, std::to_string(loaded[4]));
        expectStored(run, image, c.stored);
    }
    const RegisterImage image = imageWith(shipped);
    EXPECT_EQ(runForm(spec, image, "QZ7300", enter(6, "70000")).refused->range, "0 .. 65535");
    EXPECT_EQ(runForm(spec, image, "QZ7300", enter(kWatchdog, "-1")).refused->control, kWatchdog);
}

}  // namespace
}  // namespace varnak::test
