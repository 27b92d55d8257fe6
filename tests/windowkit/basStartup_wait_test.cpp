#include "windowkit/basStartup_wait.h"

#include <gtest/gtest.h>

namespace {

TEST(Waits, TimedWaitRunsEventsAtLeastOnceAndEndsStrictlyAfter) {
    double now = 0;
    int pumps = 0;
    auto clock = [&] { return now; };
    varnak::gfWaitSeconds(0, clock, [&] {
        ++pumps;
        now += 0.25;
    });
    EXPECT_EQ(pumps, 1);
    pumps = 0;
    now = 10;
    varnak::gfWaitSeconds(1.0f, clock, [&] {
        ++pumps;
        now += 0.25;
    });
    EXPECT_EQ(pumps, 5);  // 1.0 elapsed is not yet "more than" 1.0

    pumps = 0;
    varnak::waitWhileLessThan(3.0f, clock, [&] {
        ++pumps;
        now += 0.5;
    });
    EXPECT_EQ(pumps, 6);
    pumps = 0;
    varnak::waitWhileLessThan(0.0f, clock, [&] { ++pumps; });
    EXPECT_EQ(pumps, 0);
}

}  // namespace
