// Gamepad directions from the d-pad and the left stick, with the repeat of a held direction.
#include "GamepadDirection.h"

#include <cstdlib>

namespace kx {

InputAction StickDirection(int32_t x, int32_t y, InputAction held) {
    const int32_t ax = std::abs(x);
    const int32_t ay = std::abs(y);
    // A held direction survives while its axis is out past the release threshold and the
    // other axis has not overtaken it by passing the press threshold.
    if ((held == InputAction::Left && x < -kStickReleaseThreshold) ||
        (held == InputAction::Right && x > kStickReleaseThreshold)) {
        if (!(ay > kStickPressThreshold && ay > ax)) {
            return held;
        }
    }
    if ((held == InputAction::Up && y < -kStickReleaseThreshold) ||
        (held == InputAction::Down && y > kStickReleaseThreshold)) {
        if (!(ax > kStickPressThreshold && ax > ay)) {
            return held;
        }
    }
    if (ax <= kStickPressThreshold && ay <= kStickPressThreshold) {
        return InputAction::None;
    }
    if (ax >= ay) {
        return x < 0 ? InputAction::Left : InputAction::Right;
    }
    return y < 0 ? InputAction::Up : InputAction::Down;
}

int CGamepadDirection::Index(InputAction direction) {
    switch (direction) {
    case InputAction::Up:
        return 0;
    case InputAction::Down:
        return 1;
    case InputAction::Left:
        return 2;
    case InputAction::Right:
        return 3;
    default:
        return -1;
    }
}

void CGamepadDirection::SetDpadButton(InputAction direction, bool down) {
    const int i = Index(direction);
    if (i < 0) {
        return;
    }
    pressOrder[static_cast<size_t>(i)] = down ? ++presses : 0;
}

void CGamepadDirection::SetStickX(int32_t value) {
    stickX = value;
    stick = StickDirection(stickX, stickY, stick);
}

void CGamepadDirection::SetStickY(int32_t value) {
    stickY = value;
    stick = StickDirection(stickX, stickY, stick);
}

InputAction CGamepadDirection::Held() const {
    static constexpr std::array<InputAction, 4> kDirections = {
        InputAction::Up, InputAction::Down, InputAction::Left, InputAction::Right};
    uint64_t latest = 0;
    InputAction held = InputAction::None;
    for (size_t i = 0; i < kDirections.size(); ++i) {
        if (pressOrder[i] > latest) {
            latest = pressOrder[i];
            held = kDirections[i];
        }
    }
    return held != InputAction::None ? held : stick;
}

InputAction CDirectionRepeat::Update(InputAction held, uint64_t nowMs) {
    if (held != current) {
        current = held;
        nextPress = nowMs + kPadRepeatDelayMs;
        return held;
    }
    if (held == InputAction::None || nowMs < nextPress) {
        return InputAction::None;
    }
    // Presses missed while the loop was late are not made up: one press, then the next
    // grid point after now.
    const uint64_t missed = (nowMs - nextPress) / kPadRepeatIntervalMs;
    nextPress += (missed + 1) * kPadRepeatIntervalMs;
    return held;
}

} // namespace kx
