// Gamepads through SDL's own virtual device: plugged in, read, repeated and unplugged.
#include <gtest/gtest.h>

#include <SDL.h>

#include <vector>

#include "game/sdl/SdlGamepads.h"

namespace kx {
namespace {

class SdlGamepadsTest : public ::testing::Test {
protected:
    void SetUp() override {
        // As the game does: the pads are read when it asks, not behind its back.
        SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
        ASSERT_EQ(SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER), 0) << SDL_GetError();
    }
    void TearDown() override { SDL_QuitSubSystem(SDL_INIT_GAMECONTROLLER); }

    // Reads the pads and hands every queued event to them; the actions they answer.
    std::vector<InputAction> Update() {
        SDL_GameControllerUpdate();
        std::vector<InputAction> actions;
        SDL_Event event;
        while (SDL_PollEvent(&event) == 1) {
            const InputAction a = pads.HandleEvent(event);
            if (a != InputAction::None) {
                actions.push_back(a);
            }
        }
        return actions;
    }

    CSdlGamepads pads;
};

TEST_F(SdlGamepadsTest, APluggedInPadSteersWithRepeatAndItsButtonsActAsKeys) {
    const int index = SDL_JoystickAttachVirtual(
        SDL_JOYSTICK_TYPE_GAMECONTROLLER, SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    ASSERT_GE(index, 0) << SDL_GetError();
    Update();
    ASSERT_TRUE(pads.HasPads());
    SDL_Joystick* joystick = SDL_JoystickFromInstanceID(SDL_JoystickGetDeviceInstanceID(index));
    ASSERT_NE(joystick, nullptr);

    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, 1);
    EXPECT_EQ(Update(), std::vector<InputAction>{InputAction::Ok});
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_A, 0);
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_BACK, 1);
    EXPECT_EQ(Update(), std::vector<InputAction>{InputAction::Help});

    // The stick pushed down: one press at once, the next after the repeat delay.
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, 30000);
    EXPECT_TRUE(Update().empty());
    EXPECT_EQ(pads.PollDirection(1000), InputAction::Down);
    EXPECT_EQ(pads.PollDirection(1010), InputAction::None);
    EXPECT_EQ(pads.PollDirection(1000 + kPadRepeatDelayMs), InputAction::Down);
    // The d-pad wins over the stick.
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 1);
    Update();
    EXPECT_EQ(pads.PollDirection(2000), InputAction::Left);
    SDL_JoystickSetVirtualButton(joystick, SDL_CONTROLLER_BUTTON_DPAD_LEFT, 0);
    SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, 0);
    Update();
    EXPECT_EQ(pads.PollDirection(2010), InputAction::None);

    // Unplugged: the pad is closed and gives nothing more.
    ASSERT_EQ(SDL_JoystickDetachVirtual(index), 0);
    Update();
    EXPECT_FALSE(pads.HasPads());
}

} // namespace
} // namespace kx
