// The key and button table of the game window.
#include "InputMap.h"

namespace kx {

namespace {

bool HasCtrl(uint16_t modifiers) {
    return (modifiers & KMOD_CTRL) != 0;
}

bool HasAlt(uint16_t modifiers) {
    return (modifiers & (KMOD_ALT | KMOD_GUI)) != 0;
}

InputAction RepeatingKey(SDL_Keycode key) {
    switch (key) {
    case SDLK_UP:
        return InputAction::Up;
    case SDLK_DOWN:
        return InputAction::Down;
    case SDLK_LEFT:
        return InputAction::Left;
    case SDLK_RIGHT:
        return InputAction::Right;
    case SDLK_TAB:
        return InputAction::Tab;
    default:
        return InputAction::None;
    }
}

} // namespace

InputAction MapKey(SDL_Keycode key, uint16_t modifiers, bool repeat) {
    const InputAction steering = RepeatingKey(key);
    if (steering != InputAction::None) {
        return steering;
    }
    // Held, the page keys page on and Backspace goes further back; the rest acts once
    // (the browser front end does the same).
    if (repeat && key != SDLK_PAGEUP && key != SDLK_PAGEDOWN && key != SDLK_BACKSPACE) {
        return InputAction::None;
    }
    if (HasCtrl(modifiers)) {
        switch (key) {
        case SDLK_PLUS:
        case SDLK_KP_PLUS:
        case SDLK_EQUALS: // Plus without Shift on layouts that put it there
            return InputAction::ZoomIn;
        case SDLK_MINUS:
        case SDLK_KP_MINUS:
            return InputAction::ZoomOut;
        default:
            break;
        }
    }
    switch (key) {
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return InputAction::Ok;
    case SDLK_ESCAPE:
        return InputAction::Cancel;
    case SDLK_F1:
        return InputAction::Help;
    case SDLK_F11:
        return InputAction::ToggleFullscreen;
    case SDLK_PAGEUP:
        return InputAction::MenuPageUp;
    case SDLK_PAGEDOWN:
        return InputAction::MenuPageDown;
    case SDLK_HOME:
        return InputAction::MenuHome;
    case SDLK_END:
        return InputAction::MenuEnd;
    case SDLK_m:
        return HasCtrl(modifiers) || HasAlt(modifiers) ? InputAction::None
                                                       : InputAction::ToggleMute;
    case SDLK_r:
        return HasCtrl(modifiers) || HasAlt(modifiers) ? InputAction::None : InputAction::Restart;
    case SDLK_h:
        return HasCtrl(modifiers) || HasAlt(modifiers) ? InputAction::None : InputAction::Hint;
    case SDLK_BACKSPACE:
        return InputAction::Rewind;
    case SDLK_SPACE:
        return InputAction::Resume;
    default:
        return InputAction::None;
    }
}

InputAction MapGamepadButton(SDL_GameControllerButton button) {
    switch (button) {
    case SDL_CONTROLLER_BUTTON_DPAD_UP:
        return InputAction::Up;
    case SDL_CONTROLLER_BUTTON_DPAD_DOWN:
        return InputAction::Down;
    case SDL_CONTROLLER_BUTTON_DPAD_LEFT:
        return InputAction::Left;
    case SDL_CONTROLLER_BUTTON_DPAD_RIGHT:
        return InputAction::Right;
    case SDL_CONTROLLER_BUTTON_A:
        return InputAction::Ok;
    case SDL_CONTROLLER_BUTTON_B:
    case SDL_CONTROLLER_BUTTON_START:
        return InputAction::Cancel;
    case SDL_CONTROLLER_BUTTON_LEFTSHOULDER:
    case SDL_CONTROLLER_BUTTON_RIGHTSHOULDER:
        return InputAction::Tab;
    case SDL_CONTROLLER_BUTTON_BACK:
        return InputAction::Help;
    default:
        return InputAction::None;
    }
}

bool IsDirection(InputAction action) {
    return action == InputAction::Up || action == InputAction::Down ||
           action == InputAction::Left || action == InputAction::Right;
}

} // namespace kx
