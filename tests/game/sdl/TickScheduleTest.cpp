// The deadlines of the 10 ms timer steps: no drift when waking late, no burst after a stall;
// the presents between them: at most one per display refresh.
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

// Steps let wait until a later deadline are not due before it, while a wanted picture still
// wakes the loop at its refresh; AdvanceOne then walks the grid through the late ones.
TEST(TickSchedule, StepsLetWaitAreDueAtTheirWakeAndRunOneByOne) {
    CTickSchedule steps(kPeriod, kPeriod);
    CPresentGate gate(kPeriod * 3 / 2);
    gate.Presented(0);
    const uint64_t wake = 4 * kPeriod; // the first three steps show nothing
    LoopAction action = NextLoopAction(steps, gate, false, kPeriod + 1, wake);
    EXPECT_EQ(action.kind, LoopAction::Kind::Wait);
    EXPECT_EQ(action.until, wake);
    action = NextLoopAction(steps, gate, true, 2 * kPeriod, wake);
    EXPECT_EQ(action.kind, LoopAction::Kind::Present);
    gate.Presented(2 * kPeriod);
    action = NextLoopAction(steps, gate, true, 3 * kPeriod, wake);
    EXPECT_EQ(action.kind, LoopAction::Kind::Wait);
    EXPECT_EQ(action.until, kPeriod * 7 / 2);
    EXPECT_EQ(NextLoopAction(steps, gate, false, wake, wake).kind, LoopAction::Kind::Step);
    int late = 0;
    for (; steps.GetDeadline() < wake; ++late)
        steps.AdvanceOne();
    EXPECT_EQ(late, 3);
    EXPECT_TRUE(steps.IsDue(wake));
}

// A second of the window's loop on a virtual clock whose wake-ups come up to 2 ms late, with
// a picture wanted after every step: 100 steps, and on a 60 Hz display at most 60 presents,
// each a whole refresh after the one before, each showing the state of the last step (no
// step was due when it was made), none later than a refresh after its step. Without a reported rate
// the period is 60 Hz's.
TEST(TickSchedule, TheLoopPresentsAtMostOncePerRefreshAndAlwaysTheNewestStep) {
    constexpr uint64_t kFrequency = 1000000000;
    EXPECT_EQ(RefreshPeriod(kFrequency, 0), RefreshPeriod(kFrequency, 60));
    EXPECT_EQ(RefreshPeriod(kFrequency, 144), kFrequency / 144);
    for (int32_t rate : {60, 144, 30}) {
        CTickSchedule steps(0, kPeriod);
        CPresentGate gate(RefreshPeriod(kFrequency, rate));
        std::mt19937 jitter(static_cast<unsigned>(rate));
        constexpr uint64_t kMaxLate = 2000000;
        std::uniform_int_distribution<uint64_t> late(0, kMaxLate);
        uint64_t now = 0;
        int stepCount = 0;
        int presents = 0;
        bool wanted = true; // the first picture
        uint64_t lastPresent = 0;
        uint64_t firstUnshownStep = 0; // when the oldest step not yet on screen ran
        while (now < kFrequency) {
            const LoopAction action = NextLoopAction(steps, gate, wanted, now);
            if (action.kind == LoopAction::Kind::Step) {
                ++stepCount;
                steps.Advance(now);
                if (!wanted)
                    firstUnshownStep = now;
                wanted = true;
            } else if (action.kind == LoopAction::Kind::Present) {
                ASSERT_FALSE(steps.IsDue(now));
                if (presents > 0) {
                    ASSERT_GE(now - lastPresent, gate.GetPeriod());
                }
                // A changed state waits at most one refresh and a late wake-up.
                ASSERT_LE(now - firstUnshownStep, gate.GetPeriod() + kMaxLate);
                lastPresent = now;
                gate.Presented(now);
                ++presents;
                wanted = false;
            } else {
                ASSERT_GT(action.until, now);
                now = action.until + late(jitter);
            }
        }
        EXPECT_EQ(stepCount, 100) << rate;
        EXPECT_LE(presents, rate) << rate;
        // Late wake-ups cost a few presents, never more than a tenth.
        EXPECT_GE(presents, std::min(rate, 100) * 9 / 10) << rate;
    }
}

TEST(TickSchedule, AZeroPeriodStillAdvances) {
    CTickSchedule schedule(10, 0);
    schedule.Advance(10);
    EXPECT_GT(schedule.GetDeadline(), 10u);
}

} // namespace
} // namespace kx
