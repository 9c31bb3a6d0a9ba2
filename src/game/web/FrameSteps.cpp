// The timer steps of an animation frame.
#include "FrameSteps.h"

#include <algorithm>

namespace kx {

void CFrameSteps::Reset(uint64_t start, uint64_t newPeriod) {
    deadline = start;
    period = std::max<uint64_t>(newPeriod, 1);
    runThisFrame = 0;
    lastNow = 0;
}

bool CFrameSteps::Next(uint64_t now, uint64_t& stepTime) {
    if (now != lastNow) {
        lastNow = now;
        runThisFrame = 0;
        if (now >= deadline && (now - deadline) / period >= kMaxCatchUp) {
            // Too far behind: this step runs now, the next one on the grid ahead of now.
            stepTime = now;
            deadline += ((now - deadline) / period + 1) * period;
            runThisFrame = kMaxCatchUp;
            return true;
        }
    }
    if (now < deadline || runThisFrame >= kMaxCatchUp)
        return false;
    stepTime = deadline;
    deadline += period;
    ++runThisFrame;
    return true;
}

} // namespace kx
