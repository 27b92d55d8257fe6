#include "model/coupler_type_name.h"

#include <gtest/gtest.h>

#include <map>

#include "model/app_context.h"
#include "model/clsTable.h"

namespace varnak {
namespace {

struct NameCase {
    int32_t type;
    std::map<int32_t, int32_t> regs;  // registers of table 0
    const char* expected;
};

TEST(CouplerTypeName, EveryBranch) {
    const NameCase cases[] = {
        {842, {}, "JRV-842_000-000"},
        {999, {{248, 0x7C4E}}, "JRV-999_000-000"},
        // Older identification: prefix by register 254, suffix low byte of 250.
        {3110, {{254, 2}, {250, 0x0102}}, "QL3110-0000"},
        {3120, {{254, 2}, {250, 0x0102}}, "QL3120-0002"},
        {3010, {{254, 65535}, {250, 7}}, "QZ3010-0000"},
        {3100, {{254, 65535}, {250, 65535}}, "QZ3100-0000"},
        {3100, {{254, 512}, {250, 0x1234}}, "QX3100-0052"},
        {3100, {{254, 256}}, "QY3100-0000"},
        {3100, {{254, 4096}, {250, 3}}, "QK3100-0003"},
        {3100, {{254, 7}, {250, 3}}, "QZ3100-0003"},
        {1000, {}, "QZ1000-0000"},
        // Newer identification: prefix by the family in 246.
        {3100, {{248, 0x7C4E}, {246, 32}, {201, 2301}, {202, 310}}, "QI2301-B310"},
        {3100, {{248, 0x7C4E}, {246, 2}, {201, 7}, {202, 5}}, "QP0007-B005"},
        {5100, {{248, 0x7C4E}, {246, 8}, {250, 0x1234}}, "QF5100-4660"},
        {5100, {{248, 0x7C4E}, {246, 16}, {250, 65535}}, "QC5100-0000"},
        {5100, {{248, 0x7C4E}, {246, 256}, {250, 12}}, "QY5100-0012"},
        {5100, {{248, 0x7C4E}, {246, 4}}, "QX5100-0000"},
        {5100, {{248, 0x7C4E}, {246, 1}, {247, 0}}, "QZ5100-0000"},
        {5100, {{248, 0x7C4E}, {246, 1}, {247, 1}}, "QZ5100-0000"},
        {5100, {{248, 0x7C4E}, {246, 1}, {247, 2}}, "QL5100-0000"},
        {5100, {{248, 0x7C4E}, {246, 1}, {247, 3}, {250, 9}}, "5100-0009"},
        {5100, {{248, 0x7C4E}, {246, 64}}, "QZ5100-0000"},
        // The exceptions of the older identification do not apply to the newer one.
        {3110, {{248, 0x7C4E}, {246, 1}, {250, 0x0102}}, "QZ3110-0258"},
    };
    for (const auto& c : cases) {
        auto reg = [&](int32_t n) {
            auto at = c.regs.find(n);
            return at == c.regs.end() ? 0 : at->second;
        };
        EXPECT_EQ(couplerTypeName(c.type, reg), c.expected) << c.expected;
    }
}

TEST(CouplerTypeName, ReadsTheCouplersTables) {
    AppContext context;
    ContextScope scope(context);
    clsTable table0, table9;
    table0.setTableLen(255);
    table9.setTableLen(64);
    table9.setConfRegisterValue(0, 3120);
    table0.setConfRegisterValue(254, 2);
    table0.setConfRegisterValue(250, 0x0102);
    std::string name = "old";
    gfGetCouplerName(table0, table9, name);
    EXPECT_EQ(name, "QL3120-0002");
}

}  // namespace
}  // namespace varnak
