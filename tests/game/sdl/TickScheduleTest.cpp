// The deadlines of the 10 ms timer steps: no drift when waking late, no burst after a stall.
#include <gtest/gtest.h>

#include <random>

#include "game/sdl/TickSchedule.h"

namespace kx {
namespace {

constexpr uint64_t kPeriod = 10000000; // 10 ms of a nanosecond counter

TEST(TickSchedule, LateWakeUpsDoNotShiftTheSteps) {
    CTickSchedule schedule(1000, kPeriod);
    std::mt19937 jitter(7);
    std::uniform_int_distribution<uint64_t> late(0, kPeriod / 2);
    uint64_t steps = 0;
    for (int i = 0; i < 100000; ++i) {
        const uint64_t now = schedule.GetDeadline() + late(jitter);
        ASSERT_TRUE(schedule.IsDue(now));
        schedule.Advance(now);
        ++steps;
    }
    // After 100000 steps woken up to 5 ms late, the next deadline is still on the grid.
    EXPECT_EQ(schedule.GetDeadline(), 1000 + steps * kPeriod);
}

TEST(TickSchedule, AStallRunsOneStepAndSkipsToTheNextGridPoint) {
    CTickSchedule schedule(0, kPeriod);
    const uint64_t now = 5 * kPeriod + 3; // fell behind by five steps
    ASSERT_TRUE(schedule.IsDue(now));
    schedule.Advance(now);
    EXPECT_EQ(schedule.GetDeadline(), 6 * kPeriod);
    EXPECT_FALSE(schedule.IsDue(now));
}

TEST(TickSchedule, AStepRunExactlyOnTimeMovesOnOnePeriod) {
    CTickSchedule schedule(kPeriod, kPeriod);
    schedule.Advance(kPeriod);
    EXPECT_EQ(schedule.GetDeadline(), 2 * kPeriod);
    EXPECT_EQ(schedule.TimeUntilDue(kPeriod + 4), kPeriod - 4);
    EXPECT_EQ(schedule.TimeUntilDue(3 * kPeriod), 0u);
}

TEST(TickSchedule, AZeroPeriodStillAdvances) {
    CTickSchedule schedule(10, 0);
    schedule.Advance(10);
    EXPECT_GT(schedule.GetDeadline(), 10u);
}

} // namespace
} // namespace kx
