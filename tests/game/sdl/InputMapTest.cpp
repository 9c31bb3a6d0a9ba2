// The key and gamepad table of the game window.
#include <gtest/gtest.h>

#include "game/sdl/InputMap.h"

namespace kx {
namespace {

TEST(KeyMap, GameKeysMapToTheirActions) {
    EXPECT_EQ(MapKey(SDLK_UP, KMOD_NONE, false), InputAction::Up);
    EXPECT_EQ(MapKey(SDLK_DOWN, KMOD_NONE, false), InputAction::Down);
    EXPECT_EQ(MapKey(SDLK_LEFT, KMOD_NONE, false), InputAction::Left);
    EXPECT_EQ(MapKey(SDLK_RIGHT, KMOD_NONE, false), InputAction::Right);
    EXPECT_EQ(MapKey(SDLK_TAB, KMOD_NONE, false), InputAction::Tab);
    EXPECT_EQ(MapKey(SDLK_RETURN, KMOD_NONE, false), InputAction::Ok);
    EXPECT_EQ(MapKey(SDLK_KP_ENTER, KMOD_NONE, false), InputAction::Ok);
    EXPECT_EQ(MapKey(SDLK_ESCAPE, KMOD_NONE, false), InputAction::Cancel);
    EXPECT_EQ(MapKey(SDLK_F1, KMOD_NONE, false), InputAction::Help);
    EXPECT_EQ(MapKey(SDLK_a, KMOD_NONE, false), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_SPACE, KMOD_NONE, false), InputAction::Resume);
    EXPECT_EQ(MapKey(SDLK_BACKSPACE, KMOD_NONE, false), InputAction::Rewind);
    EXPECT_EQ(MapKey(SDLK_r, KMOD_NONE, false), InputAction::Restart);
    EXPECT_EQ(MapKey(SDLK_h, KMOD_NONE, false), InputAction::Hint);
}

TEST(KeyMap, OnlyTheDirectionsAndTabAreSteeringKeys) {
    EXPECT_EQ(SteeringKeyOf(InputAction::Up), PlayKey::Up);
    EXPECT_EQ(SteeringKeyOf(InputAction::Down), PlayKey::Down);
    EXPECT_EQ(SteeringKeyOf(InputAction::Left), PlayKey::Left);
    EXPECT_EQ(SteeringKeyOf(InputAction::Right), PlayKey::Right);
    EXPECT_EQ(SteeringKeyOf(InputAction::Tab), PlayKey::Tab);
    for (InputAction other : {InputAction::None, InputAction::Ok, InputAction::Cancel,
                              InputAction::Help, InputAction::ToggleFullscreen, InputAction::ZoomIn,
                              InputAction::ZoomOut, InputAction::ToggleMute})
        EXPECT_EQ(SteeringKeyOf(other), std::nullopt);
}

TEST(KeyMap, HeldCursorKeysTabPageKeysAndBackspaceRepeatButNothingElseDoes) {
    EXPECT_EQ(MapKey(SDLK_LEFT, KMOD_NONE, true), InputAction::Left);
    EXPECT_EQ(MapKey(SDLK_DOWN, KMOD_NONE, true), InputAction::Down);
    EXPECT_EQ(MapKey(SDLK_TAB, KMOD_NONE, true), InputAction::Tab);
    EXPECT_EQ(MapKey(SDLK_PAGEDOWN, KMOD_NONE, true), InputAction::MenuPageDown);
    EXPECT_EQ(MapKey(SDLK_PAGEUP, KMOD_NONE, true), InputAction::MenuPageUp);
    EXPECT_EQ(MapKey(SDLK_BACKSPACE, KMOD_NONE, true), InputAction::Rewind);
    EXPECT_EQ(MapKey(SDLK_HOME, KMOD_NONE, true), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_r, KMOD_NONE, true), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_h, KMOD_NONE, true), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_RETURN, KMOD_NONE, true), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_ESCAPE, KMOD_NONE, true), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_F11, KMOD_NONE, true), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_m, KMOD_NONE, true), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_PLUS, KMOD_LCTRL, true), InputAction::None);
}

TEST(KeyMap, WindowKeysFullscreenZoomAndMute) {
    EXPECT_EQ(MapKey(SDLK_F11, KMOD_NONE, false), InputAction::ToggleFullscreen);
    EXPECT_EQ(MapKey(SDLK_PLUS, KMOD_LCTRL, false), InputAction::ZoomIn);
    EXPECT_EQ(MapKey(SDLK_KP_PLUS, KMOD_RCTRL, false), InputAction::ZoomIn);
    EXPECT_EQ(MapKey(SDLK_EQUALS, KMOD_LCTRL | KMOD_LSHIFT, false), InputAction::ZoomIn);
    EXPECT_EQ(MapKey(SDLK_MINUS, KMOD_LCTRL, false), InputAction::ZoomOut);
    EXPECT_EQ(MapKey(SDLK_KP_MINUS, KMOD_RCTRL, false), InputAction::ZoomOut);
    EXPECT_EQ(MapKey(SDLK_m, KMOD_NONE, false), InputAction::ToggleMute);
    EXPECT_EQ(MapKey(SDLK_m, KMOD_LSHIFT | KMOD_CAPS, false), InputAction::ToggleMute);
}

TEST(KeyMap, PlusAndMinusZoomOnlyWithCtrlAndMOnlyWithoutIt) {
    EXPECT_EQ(MapKey(SDLK_PLUS, KMOD_NONE, false), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_MINUS, KMOD_LSHIFT, false), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_m, KMOD_LCTRL, false), InputAction::None);
    EXPECT_EQ(MapKey(SDLK_m, KMOD_LALT, false), InputAction::None);
}

TEST(GamepadMap, ButtonsActAsTheKeysTheyStandFor) {
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_DPAD_UP), InputAction::Up);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_DPAD_DOWN), InputAction::Down);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_DPAD_LEFT), InputAction::Left);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_DPAD_RIGHT), InputAction::Right);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_A), InputAction::Ok);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_B), InputAction::Cancel);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_START), InputAction::Cancel);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_LEFTSHOULDER), InputAction::Tab);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_RIGHTSHOULDER), InputAction::Tab);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_BACK), InputAction::Help);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_X), InputAction::None);
    EXPECT_EQ(MapGamepadButton(SDL_CONTROLLER_BUTTON_GUIDE), InputAction::None);
}

} // namespace
} // namespace kx
