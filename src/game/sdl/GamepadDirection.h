// The direction a gamepad holds with its d-pad or left stick, and its repeat while held.
#pragma once

#include <array>
#include <cstdint>

#include "InputMap.h"

namespace kx {

// Stick deflections in SDL's range -32768..32767.
inline constexpr int32_t kStickPressThreshold = 16000;
inline constexpr int32_t kStickReleaseThreshold = 8000;
// A held direction repeats like a held key.
inline constexpr uint64_t kPadRepeatDelayMs = 400;
inline constexpr uint64_t kPadRepeatIntervalMs = 60;

// The stick's direction. The axis further from the centre decides once it passes the press
// threshold; a direction already held stays while its own axis is beyond the release
// threshold, so a stick resting near a threshold does not chatter.
InputAction StickDirection(int32_t x, int32_t y, InputAction held);

// One gamepad's d-pad buttons and left stick. The d-pad wins over the stick; of several
// d-pad buttons the one pressed last wins.
class CGamepadDirection {
public:
    void SetDpadButton(InputAction direction, bool down);
    void SetStickX(int32_t value);
    void SetStickY(int32_t value);
    InputAction Held() const;

private:
    static int Index(InputAction direction);

    std::array<uint64_t, 4> pressOrder{}; // 0 = up; else the press's sequence number
    uint64_t presses = 0;
    int32_t stickX = 0;
    int32_t stickY = 0;
    InputAction stick = InputAction::None;
};

// Turns a held direction into presses: one at once, then after the delay one every interval,
// on the grid of the first press, so that late calls do not stretch the rhythm.
class CDirectionRepeat {
public:
    // The direction held at nowMs (None when nothing is held); the direction to press now,
    // or None.
    InputAction Update(InputAction held, uint64_t nowMs);

private:
    InputAction current = InputAction::None;
    uint64_t nextPress = 0;
};

} // namespace kx
