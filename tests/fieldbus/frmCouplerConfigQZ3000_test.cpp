// The DP and FMS form's codec: the mode list by type, the response time's leading number
// and its 64, the diagnostic length's list and text, and the row that only FMS hides.
#include <gtest/gtest.h>

#include "fieldbus/coupler_form_specs.h"
#include "tests/fieldbus/form_cases.h"

namespace varnak::test {
namespace {

// Control i stands for register i.
constexpr size_t kMode = 0;
constexpr size_t kTime = 1;
constexpr size_t kLength = 2;

TEST(QZ3000Form, ModeListResponseTimeAndDiagnosticLength) {
    const FormSpec& spec = frmCouplerConfigQZ3000Spec();
    struct Case {
        const char* type;
        int32_t loaded[3];  // registers 0, 1, 2
        int picked;         // the mode the user picks; -1: none
        size_t modes;
        int selected;
        const char* time;
        const char* length;
        bool lengthShown;
        int32_t stored[3];
    };
    const Case cases[] = {
        {"QZ3100-0000", {7, 11, 32}, -1, 3, 0, " 11", "32", true, {0, 11, 32}},
        {"QZ3100-0000", {2, 64, 40}, -1, 3, 2, " 64", "40", false, {2, 64, 40}},
        {"QZ3100-0000", {0, 11, 48}, 2, 3, 2, " 11", "48", false, {2, 11, 48}},
        {"QZ3100-0000", {2, 11, 48}, 1, 3, 1, " 11", "48", true, {1, 11, 48}},
        {"QZ3000-0000", {1, 11, 32}, -1, 1, -1, " 11", "32", true, {1, 11, 32}},
        {"QZ3010-0000", {9, 11, 32}, -1, 1, 0, " 11", "32", true, {0, 11, 32}},
        {"QY3100-0000", {1, 11, 32}, -1, 0, -1, " 11", "32", true, {1, 11, 32}},
        {"QZ3500-0000", {5, 11, 32}, -1, 0, -1, " 11", "32", true, {5, 11, 32}},
        {"QZ3100", {1, 11, 32}, -1, 3, 1, " 11", "32", true, {1, 11, 32}},
        {"QZ3110_A", {1, 11, 32}, -1, 3, 1, " 11", "32", true, {1, 11, 32}},
        {"JRV-323", {1, 11, 32}, -1, 3, 1, " 11", "32", true, {1, 11, 32}},
        {"QZ31000", {1, 11, 32}, -1, 0, -1, " 11", "32", true, {1, 11, 32}},
        {"QZ3100-0000", {0, 5, 20}, -1, 3, 0, " 5", "20", true, {0, 64, 20}},
        {"QZ3100-0000", {0, -3, 65}, -1, 3, 0, "-3", "16", true, {0, 64, 16}},
        {"QZ3100-0000", {0, 255, -1}, -1, 3, 0, " 255", "16", true, {0, 255, 16}},
        {"QZ3100-0000", {0, 256, 0}, -1, 3, 0, " 256", "0", true, {0, 64, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.type) + " " + std::to_string(c.loaded[0]) + " " +
                     std::to_string(c.loaded[1]) + " " + std::to_string(c.loaded[2]));
        const RegisterImage image =
            imageWith({{0, c.loaded[0]}, {1, c.loaded[1]}, {2, c.loaded[2]}});
        const FormRun run =
            runForm(spec, image, c.type, c.picked < 0 ? nullptr : pick(spec, kMode, c.picked));
        const ControlState& mode = run.shown.controls[kMode];
        EXPECT_EQ(mode.items.size(), c.modes);
        EXPECT_EQ(mode.enabled, c.modes > 0);
        EXPECT_EQ(mode.selected, c.selected);
        EXPECT_EQ(run.shown.controls[kTime].text, c.time);
        EXPECT_EQ(run.shown.controls[kLength].text, c.length);
        EXPECT_EQ(run.shown.controls[kLength].visible, c.lengthShown);
        ASSERT_FALSE(run.refused);
        expectStored(run, image, {{0, c.stored[0]}, {1, c.stored[1]}, {2, c.stored[2]}});
    }
}

TEST(QZ3000Form, TypedTextsFollowTheirOwnRulesAndAreNeverRefused) {
    const FormSpec& spec = frmCouplerConfigQZ3000Spec();
    const RegisterImage image = imageWith({{0, 0}, {1, 30}, {2, 32}});
    struct Case {
        size_t field;
        const char* entry;
        int32_t stored;
    };
    const Case cases[] = {
        {kTime, "11", 11},     {kTime, "255", 255},  {kTime, "256", 64},    {kTime, "10", 64},
        {kTime, "abc", 64},    {kTime, "", 64},      {kTime, "30abc", 30},  {kTime, " 1 2 ", 12},
        {kTime, "12.5", 12},   {kTime, "13.5", 14},  {kTime, "1e2", 100},   {kTime, "-20", 64},
        {kTime, "1e999", 64},  {kLength, "24", 24},  {kLength, " 20 ", 20}, {kLength, "20.5", 20},
        {kLength, "21.5", 22}, {kLength, "100", 16}, {kLength, "-8", 16},   {kLength, "abc", 32},
        {kLength, "", 32},     {kLength, "20x", 32}, {kLength, "inf", 32},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.field == kTime ? "time " : "length ") + "\"" + c.entry + "\"");
        const FormRun run = runForm(spec, image, "QZ3100-0000", enter(c.field, c.entry));
        ASSERT_FALSE(run.refused);
        expectStored(run, image, {{c.field, c.stored}});
    }
}

}  // namespace
}  // namespace varnak::test
