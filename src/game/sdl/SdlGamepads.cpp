// Hot-plugged game controllers and their buttons and sticks.
#include "SdlGamepads.h"

namespace kx {

InputAction CSdlGamepads::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_CONTROLLERDEVICEADDED: {
        SDL_GameController* controller = SDL_GameControllerOpen(event.cdevice.which);
        if (controller == nullptr) {
            return InputAction::None;
        }
        const SDL_JoystickID id = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
        Pad& pad = pads[id]; // a pad announced twice keeps one handle
        pad.controller.reset(controller);
        return InputAction::None;
    }
    case SDL_CONTROLLERDEVICEREMOVED:
        pads.erase(event.cdevice.which);
        return InputAction::None;
    case SDL_CONTROLLERBUTTONDOWN:
    case SDL_CONTROLLERBUTTONUP: {
        const bool down = event.type == SDL_CONTROLLERBUTTONDOWN;
        const InputAction action =
            MapGamepadButton(static_cast<SDL_GameControllerButton>(event.cbutton.button));
        auto pad = pads.find(event.cbutton.which);
        if (IsDirection(action)) {
            if (pad != pads.end()) {
                pad->second.direction.SetDpadButton(action, down);
            }
            return InputAction::None;
        }
        return down ? action : InputAction::None;
    }
    case SDL_CONTROLLERAXISMOTION: {
        auto pad = pads.find(event.caxis.which);
        if (pad == pads.end()) {
            return InputAction::None;
        }
        if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTX) {
            pad->second.direction.SetStickX(event.caxis.value);
        } else if (event.caxis.axis == SDL_CONTROLLER_AXIS_LEFTY) {
            pad->second.direction.SetStickY(event.caxis.value);
        }
        return InputAction::None;
    }
    default:
        return InputAction::None;
    }
}

InputAction CSdlGamepads::PollDirection(uint64_t nowMs) {
    InputAction held = InputAction::None;
    for (const auto& [id, pad] : pads) {
        held = pad.direction.Held();
        if (held != InputAction::None) {
            break;
        }
    }
    return repeat.Update(held, nowMs);
}

} // namespace kx
