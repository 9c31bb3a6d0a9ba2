// CFrameSteps, which 10 ms timer steps an animation frame runs.
#pragma once

#include <cstdint>

namespace kx {

// A frame comes every 16 or so ms, a step is due every 10 ms on a fixed grid of the clock:
// a frame runs every step whose grid time has passed, each at its own grid time, so play
// keeps the desktop's pace whatever the display's rate. After a stall (a hidden tab, a slow
// frame) of more than kMaxCatchUp steps it runs one and goes on from the next grid point
// ahead of the clock, as the desktop loop does when it falls behind; nothing bursts.
class CFrameSteps {
public:
    static constexpr uint64_t kMaxCatchUp = 10;

    // start and period in clock units, period at least 1.
    void Reset(uint64_t start, uint64_t period);
    // The grid time of the next step due at now, or false when none is due (any more).
    bool Next(uint64_t now, uint64_t& stepTime);

private:
    uint64_t deadline = 0;
    uint64_t period = 1;
    uint64_t runThisFrame = 0;
    uint64_t lastNow = 0;
};

} // namespace kx
