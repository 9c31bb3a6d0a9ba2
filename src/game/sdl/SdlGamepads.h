// CSdlGamepads, the game controllers plugged in now: opened and closed as they come and go.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <map>
#include <memory>

#include "GamepadDirection.h"
#include "InputMap.h"

namespace kx {

class CSdlGamepads {
public:
    CSdlGamepads() = default;
    CSdlGamepads(const CSdlGamepads&) = delete;
    CSdlGamepads& operator=(const CSdlGamepads&) = delete;

    // Takes the controller events (device added and removed, buttons, axes); returns the
    // action of a button press that is not a direction, else None. Other events are left.
    InputAction HandleEvent(const SDL_Event& event);
    // The direction press due at nowMs from whatever pad holds one (with repeat), or None.
    InputAction PollDirection(uint64_t nowMs);
    bool HasPads() const { return !pads.empty(); }

private:
    struct ControllerDeleter {
        void operator()(SDL_GameController* c) const { SDL_GameControllerClose(c); }
    };
    struct Pad {
        std::unique_ptr<SDL_GameController, ControllerDeleter> controller;
        CGamepadDirection direction;
    };

    std::map<SDL_JoystickID, Pad> pads;
    CDirectionRepeat repeat;
};

} // namespace kx
