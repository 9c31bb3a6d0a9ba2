// Reading the gamepads once a frame.
#include "WebGamepad.h"

#include <emscripten/html5.h>

#include <cmath>

namespace kx {

namespace {

// The desktop's stick thresholds (16000 and 8000 of 32768) on the browser's -1 .. 1 axes.
constexpr double kStickPress = 16000.0 / 32768.0;
constexpr double kStickRelease = 8000.0 / 32768.0;
constexpr double kRepeatDelayMs = 400;
constexpr double kRepeatIntervalMs = 60;

// Standard mapping: 0 A, 1 B, 4/5 shoulders, 8 Back, 9 Start, 12-15 up, down, left, right.
WebAction ButtonAction(int button) {
    switch (button) {
    case 0:
        return WebAction::Ok;
    case 1:
    case 9:
        return WebAction::Cancel;
    case 4:
    case 5:
        return WebAction::Tab;
    case 8:
        return WebAction::Help;
    default:
        return WebAction::None;
    }
}

WebAction DpadDirection(const EmscriptenGamepadEvent& g) {
    static const WebAction kDirections[] = {WebAction::Up, WebAction::Down, WebAction::Left,
                                            WebAction::Right};
    for (int i = 0; i < 4; ++i)
        if (12 + i < g.numButtons && g.digitalButton[12 + i])
            return kDirections[i];
    return WebAction::None;
}

// The axis further from the centre decides past the press threshold; a held direction stays
// while its axis is beyond the release threshold, so that a resting stick does not chatter.
WebAction StickDirection(double x, double y, WebAction held) {
    if ((held == WebAction::Left && x < -kStickRelease) ||
        (held == WebAction::Right && x > kStickRelease) ||
        (held == WebAction::Up && y < -kStickRelease) ||
        (held == WebAction::Down && y > kStickRelease))
        return held;
    if (std::abs(x) >= std::abs(y) && std::abs(x) > kStickPress)
        return x < 0 ? WebAction::Left : WebAction::Right;
    if (std::abs(y) > kStickPress)
        return y < 0 ? WebAction::Up : WebAction::Down;
    return WebAction::None;
}

} // namespace

std::vector<WebAction> CWebGamepads::Poll(double nowMs) {
    std::vector<WebAction> presses;
    if (emscripten_sample_gamepad_data() != EMSCRIPTEN_RESULT_SUCCESS)
        return presses;
    const int count = emscripten_get_num_gamepads();
    WebAction direction = WebAction::None;
    for (int i = 0; i < count && i < kPads; ++i) {
        EmscriptenGamepadEvent g{};
        if (emscripten_get_gamepad_status(i, &g) != EMSCRIPTEN_RESULT_SUCCESS || !g.connected)
            continue;
        Pad& pad = pads[static_cast<size_t>(i)];
        for (int b = 0; b < kButtons && b < g.numButtons; ++b) {
            const bool down = g.digitalButton[b] != 0;
            if (down && !pad.down[static_cast<size_t>(b)] && ButtonAction(b) != WebAction::None)
                presses.push_back(ButtonAction(b));
            pad.down[static_cast<size_t>(b)] = down;
        }
        pad.stick =
            g.numAxes >= 2 ? StickDirection(g.axis[0], g.axis[1], pad.stick) : WebAction::None;
        if (direction == WebAction::None)
            direction = DpadDirection(g) != WebAction::None ? DpadDirection(g) : pad.stick;
    }
    if (direction != held) {
        held = direction;
        if (held != WebAction::None) {
            presses.push_back(held);
            nextRepeat = nowMs + kRepeatDelayMs;
        }
    } else if (held != WebAction::None && nowMs >= nextRepeat) {
        presses.push_back(held);
        // On the grid of the first press, so that late frames do not stretch the rhythm.
        while (nextRepeat <= nowMs)
            nextRepeat += kRepeatIntervalMs;
    }
    return presses;
}

} // namespace kx
