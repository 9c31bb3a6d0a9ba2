// The timer steps an animation frame runs: every grid step at its own time, no burst after a
// stall.
#include "game/web/FrameSteps.h"

#include <gtest/gtest.h>

#include <vector>

namespace kx {
namespace {

std::vector<uint64_t> StepsAt(CFrameSteps& steps, uint64_t now) {
    std::vector<uint64_t> times;
    uint64_t t = 0;
    while (steps.Next(now, t))
        times.push_back(t);
    return times;
}

TEST(FrameSteps, FramesOfAnyRateRunEveryStepOnItsGridTime) {
    CFrameSteps steps;
    steps.Reset(10000, 10000); // microseconds: the first step at 10 ms, then every 10 ms
    EXPECT_TRUE(StepsAt(steps, 9999).empty());
    std::vector<uint64_t> all;
    // 60 frames a second for one second: 100 steps, each on the grid, none twice.
    for (uint64_t frame = 1; frame <= 60; ++frame) {
        const std::vector<uint64_t> got = StepsAt(steps, frame * 1000000 / 60);
        EXPECT_LE(got.size(), 2u);
        all.insert(all.end(), got.begin(), got.end());
    }
    ASSERT_EQ(all.size(), 100u);
    for (size_t i = 0; i < all.size(); ++i)
        EXPECT_EQ(all[i], 10000 * (i + 1));
    // A frame at the same clock reading again runs nothing more.
    EXPECT_TRUE(StepsAt(steps, 1000000).empty());
}

TEST(FrameSteps, AStallRunsOneStepAndGoesOnFromTheGridAheadOfTheClock) {
    CFrameSteps steps;
    steps.Reset(10000, 10000);
    ASSERT_EQ(StepsAt(steps, 50000).size(), 5u);
    // Just within the catch-up: the missed steps run at their own times.
    EXPECT_EQ(StepsAt(steps, 150000).size(), 10u);
    // Five seconds hidden: one step now, the next on the grid after the clock.
    EXPECT_EQ(StepsAt(steps, 5150000), std::vector<uint64_t>{5150000});
    EXPECT_TRUE(StepsAt(steps, 5159999).empty());
    EXPECT_EQ(StepsAt(steps, 5160000), std::vector<uint64_t>{5160000});
}

} // namespace
} // namespace kx
