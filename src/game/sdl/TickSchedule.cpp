// The grid of timer-step deadlines.
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

} // namespace kx
