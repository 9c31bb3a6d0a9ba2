// The grid of timer-step deadlines and the gate of the presents.
#include "TickSchedule.h"

#include <algorithm>

namespace kx {

CTickSchedule::CTickSchedule(uint64_t start, uint64_t period)
    : deadline(start), period(std::max<uint64_t>(period, 1)) {}

void CTickSchedule::Advance(uint64_t now) {
    if (now < deadline) {
        deadline += period;
        return;
    }
    deadline += ((now - deadline) / period + 1) * period;
}

uint64_t RefreshPeriod(uint64_t frequency, int32_t refreshRate) {
    const uint64_t rate = refreshRate > 0 ? static_cast<uint64_t>(refreshRate) : 60;
    return std::max<uint64_t>(frequency / rate, 1);
}

LoopAction NextLoopAction(const CTickSchedule& steps, const CPresentGate& gate, bool pictureWanted,
                          uint64_t now, uint64_t stepsFrom) {
    const uint64_t stepsAt = std::max(steps.GetDeadline(), stepsFrom);
    if (now >= stepsAt) {
        return {LoopAction::Kind::Step, now};
    }
    if (pictureWanted && gate.MayPresent(now)) {
        return {LoopAction::Kind::Present, now};
    }
    uint64_t until = stepsAt;
    if (pictureWanted) {
        until = std::min(until, gate.EarliestPresent());
    }
    return {LoopAction::Kind::Wait, until};
}

} // namespace kx
