// CWebGamepads, the browser's gamepads (standard mapping) as the game's keys.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "WebHost.h"

namespace kx {

// The buttons as on the desktop: the d-pad as the cursor keys, A as Enter, B and Start as
// Esc, the shoulder buttons as TAB, Back as F1. A direction held on the d-pad or the left
// stick repeats like a held key: once at once, after 400 ms every 60 ms.
class CWebGamepads {
public:
    // The presses since the last poll, at the page clock's nowMs.
    std::vector<WebAction> Poll(double nowMs);

private:
    static constexpr int kPads = 4;
    static constexpr int kButtons = 17;
    struct Pad {
        std::array<bool, kButtons> down{};
        WebAction stick = WebAction::None;
    };
    std::array<Pad, kPads> pads{};
    WebAction held = WebAction::None;
    double nextRepeat = 0;
};

} // namespace kx
