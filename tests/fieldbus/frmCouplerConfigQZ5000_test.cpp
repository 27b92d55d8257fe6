// The CAN form's codec: eight baud rates without 800, the node class and what class "0"
// clears (its guarding never refused), the guard time's 300 and the life-time factor's 2,
// and the timers' 16-bit range.
#include <gtest/gtest.h>

#include "fieldbus/coupler_form_specs.h"
#include "tests/fieldbus/form_cases.h"

namespace varnak::test {
namespace {

constexpr size_t kBaud = 0;
constexpr size_t kNodeClass = 1;
constexpr size_t kGuard = 2;
constexpr size_t kLife = 3;
constexpr size_t kTimer1 = 4;

TEST(QZ5000Form, BaudNodeClassGuardingAndTimers) {
    const FormSpec& spec = frmCouplerConfigQZ5000Spec();
    const Registers shipped{{0, 3}, {1, 2}, {2, 300}, {3, 2}, {13, 0}, {14, 0}, {15, 0}, {16, 0}};
    struct Case {
        const char* what;
        Registers loaded;  // over the shipped values
        std::function<void(FormState&)> edit;
        int baud, nodeClass;
        Registers stored;
        const char* refusedRange;  // OK refuses the entry naming this range
    };
    auto guardAndClass0 = [&](FormState& s) {
        s.controls[kGuard].text = "500";
        s.controls[kLife].text = "3";
        pick(spec, kNodeClass, 0)(s);
    };
    // Class "0" stores 0 over the guarding whatever its fields hold: nothing there to refuse.
    auto badGuarding = [&](FormState& s) {
        s.controls[kGuard].text = "x";
        s.controls[kLife].text = "";
        pick(spec, kNodeClass, 0)(s);
    };
    auto badGuardingAndTimer = [&](FormState& s) {
        badGuarding(s);
        s.controls[kTimer1].text = "-1";
    };
    const Case cases[] = {
        {"shipped", {}, {}, 3, 1, {}, nullptr},
        {"code 8", {{0, 8}}, {}, 4, 1, {{0, 4}}, nullptr},
        {"code 0xFFFF", {{0, 0xFFFF}}, {}, 4, 1, {{0, 4}}, nullptr},
        {"code 7 is 10", {{0, 7}}, {}, 7, 1, {}, nullptr},
        {"code 1", {{0, 1}}, {}, 1, 1, {}, nullptr},
        {"code 3 picked 100", {}, pick(spec, kBaud, 4), 4, 1, {{0, 4}}, nullptr},
        {"class 1 shows 2", {{1, 1}}, {}, 3, 1, {{1, 2}}, nullptr},
        {"class 0 clears 1 to 3", {}, guardAndClass0, 3, 0, {{1, 0}, {2, 0}, {3, 0}}, nullptr},
        {"class 0 loaded", {{1, 0}, {2, 40}, {3, 4}}, {}, 3, 0, {{2, 0}, {3, 0}}, nullptr},
        {"class 0 bad guarding", {}, badGuarding, 3, 0, {{1, 0}, {2, 0}, {3, 0}}, nullptr},
        {"class 0 life emptied", {{1, 0}}, enter(kLife, ""), 3, 0, {{2, 0}, {3, 0}}, nullptr},
        {"class 0 a timer still checked", {}, badGuardingAndTimer, 3, 0, {}, "0 .. 65535"},
        {"guard 70000", {}, enter(kGuard, "70000"), 3, 1, {}, nullptr},
        {"guard 65535", {}, enter(kGuard, "65535"), 3, 1, {{2, 65535}}, nullptr},
        {"guard -1", {{2, 1000}}, enter(kGuard, "-1"), 3, 1, {{2, 300}}, nullptr},
        {"guard loaded 70000", {{2, 70000}}, {}, 3, 1, {{2, 300}}, nullptr},
        {"guard empty", {}, enter(kGuard, ""), 3, 1, {}, "0 .. 65535"},
        {"life 256", {{3, 9}}, enter(kLife, "256"), 3, 1, {{3, 2}}, nullptr},
        {"life 255", {}, enter(kLife, "255"), 3, 1, {{3, 255}}, nullptr},
        {"life 0", {}, enter(kLife, "0"), 3, 1, {{3, 0}}, nullptr},
        {"life letters", {}, enter(kLife, "x"), 3, 1, {}, "0 .. 255"},
        {"timer 0", {{13, 5}}, enter(kTimer1, "0"), 3, 1, {{13, 0}}, nullptr},
        {"timer 65535", {}, enter(kTimer1 + 3, "65535"), 3, 1, {{16, 65535}}, nullptr},
        {"timer 70000", {}, enter(kTimer1 + 1, "70000"), 3, 1, {}, "0 .. 65535"},
        {"timer -5", {}, enter(kTimer1 + 2, "-5"), 3, 1, {}, "0 .. 65535"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Registers loaded = shipped;
        for (const auto& [reg, value] : c.loaded) loaded[reg] = value;
        const RegisterImage image = imageWith(loaded);
        const FormRun run = runForm(spec, image, "QZ5000-0000", c.edit);
        ASSERT_EQ(run.shown.controls[kBaud].items.size(), 8u);
        EXPECT_EQ(run.shown.controls[kBaud].items[1].caption.design, "500");  // no 800
        EXPECT_EQ(run.shown.controls[kBaud].selected, c.baud);
        EXPECT_EQ(run.shown.controls[kNodeClass].selected, c.nodeClass);
        EXPECT_EQ(run.refused.has_value(), c.refusedRange != nullptr);
        if (run.refused) {
            EXPECT_EQ(run.refused->range, c.refusedRange);
        }
        expectStored(run, image, c.stored);
    }
}

}  // namespace
}  // namespace varnak::test
