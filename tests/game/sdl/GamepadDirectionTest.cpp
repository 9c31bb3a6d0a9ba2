// Gamepad directions from the stick and the d-pad, and the repeat of a held direction.
#include <gtest/gtest.h>

#include "game/sdl/GamepadDirection.h"

namespace kx {
namespace {

constexpr InputAction kNone = InputAction::None;

TEST(StickDirection, TheFartherAxisDecidesPastThePressThreshold) {
    EXPECT_EQ(StickDirection(0, 0, kNone), kNone);
    EXPECT_EQ(StickDirection(kStickPressThreshold, 0, kNone), kNone);
    EXPECT_EQ(StickDirection(kStickPressThreshold + 1, 0, kNone), InputAction::Right);
    EXPECT_EQ(StickDirection(-32768, 0, kNone), InputAction::Left);
    EXPECT_EQ(StickDirection(0, -20000, kNone), InputAction::Up);
    EXPECT_EQ(StickDirection(10000, 30000, kNone), InputAction::Down);
    EXPECT_EQ(StickDirection(-30000, 20000, kNone), InputAction::Left);
}

TEST(StickDirection, AHeldDirectionStaysUntilItsAxisFallsBelowTheReleaseThreshold) {
    // Easing back to 12000 keeps Right; only below 8000 does it let go.
    EXPECT_EQ(StickDirection(12000, 0, InputAction::Right), InputAction::Right);
    EXPECT_EQ(StickDirection(kStickReleaseThreshold, 0, InputAction::Right), kNone);
    EXPECT_EQ(StickDirection(0, 9000, InputAction::Down), InputAction::Down);
    EXPECT_EQ(StickDirection(0, 9000, kNone), kNone);
    // The opposite side is not the held direction.
    EXPECT_EQ(StickDirection(-12000, 0, InputAction::Right), kNone);
}

TEST(StickDirection, TheOtherAxisTakesOverOnlyWhenItIsPressedFurther) {
    EXPECT_EQ(StickDirection(20000, 17000, InputAction::Right), InputAction::Right);
    EXPECT_EQ(StickDirection(17000, 20000, InputAction::Right), InputAction::Down);
}

TEST(PadDirection, TheDpadWinsOverTheStickAndTheLastPressedButtonWins) {
    CGamepadDirection pad;
    pad.SetStickX(30000);
    EXPECT_EQ(pad.Held(), InputAction::Right);
    pad.SetDpadButton(InputAction::Up, true);
    EXPECT_EQ(pad.Held(), InputAction::Up);
    pad.SetDpadButton(InputAction::Left, true);
    EXPECT_EQ(pad.Held(), InputAction::Left);
    pad.SetDpadButton(InputAction::Left, false);
    EXPECT_EQ(pad.Held(), InputAction::Up);
    pad.SetDpadButton(InputAction::Up, false);
    EXPECT_EQ(pad.Held(), InputAction::Right);
    pad.SetStickX(0);
    EXPECT_EQ(pad.Held(), kNone);
}

TEST(PadRepeat, AHeldDirectionPressesOnceThenRepeatsAfterTheDelay) {
    CDirectionRepeat repeat;
    EXPECT_EQ(repeat.Update(kNone, 0), kNone);
    EXPECT_EQ(repeat.Update(InputAction::Down, 1000), InputAction::Down);
    EXPECT_EQ(repeat.Update(InputAction::Down, 1010), kNone);
    EXPECT_EQ(repeat.Update(InputAction::Down, 1000 + kPadRepeatDelayMs - 1), kNone);
    EXPECT_EQ(repeat.Update(InputAction::Down, 1000 + kPadRepeatDelayMs), InputAction::Down);
    EXPECT_EQ(repeat.Update(InputAction::Down, 1000 + kPadRepeatDelayMs + 10), kNone);
    EXPECT_EQ(repeat.Update(InputAction::Down, 1000 + kPadRepeatDelayMs + kPadRepeatIntervalMs),
              InputAction::Down);
}

TEST(PadRepeat, ALateCallGivesOnePressAndKeepsTheRhythm) {
    CDirectionRepeat repeat;
    const uint64_t t0 = 5000;
    repeat.Update(InputAction::Up, t0);
    const uint64_t first = t0 + kPadRepeatDelayMs;
    // Three intervals late: one press, not four.
    EXPECT_EQ(repeat.Update(InputAction::Up, first + 3 * kPadRepeatIntervalMs + 5),
              InputAction::Up);
    EXPECT_EQ(repeat.Update(InputAction::Up, first + 3 * kPadRepeatIntervalMs + 6), kNone);
    EXPECT_EQ(repeat.Update(InputAction::Up, first + 4 * kPadRepeatIntervalMs), InputAction::Up);
}

TEST(PadRepeat, ReleasingOrChangingDirectionStartsAfresh) {
    CDirectionRepeat repeat;
    repeat.Update(InputAction::Left, 0);
    EXPECT_EQ(repeat.Update(InputAction::Right, 50), InputAction::Right);
    EXPECT_EQ(repeat.Update(InputAction::Right, 50 + kPadRepeatDelayMs - 1), kNone);
    EXPECT_EQ(repeat.Update(kNone, 600), kNone);
    EXPECT_EQ(repeat.Update(InputAction::Right, 610), InputAction::Right);
}

} // namespace
} // namespace kx
