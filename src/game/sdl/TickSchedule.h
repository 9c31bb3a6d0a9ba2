// CTickSchedule, the deadlines of the 10 ms timer steps on a fixed grid.
#pragma once

#include <cstdint>

namespace kx {

// Deadlines lie on a grid start + k × period of counter values, so waking late never shifts
// the steps that follow (no drift). A loop that fell behind by more than a period does not
// run the missed steps in a burst: like a platform timer, it runs one step and continues
// with the next grid point ahead of the counter.
class CTickSchedule {
public:
    // period in counter units, at least 1.
    CTickSchedule(uint64_t start, uint64_t period);

    uint64_t GetDeadline() const { return deadline; }
    bool IsDue(uint64_t now) const { return now >= deadline; }
    // Counter units from now until the deadline; 0 when it is due.
    uint64_t TimeUntilDue(uint64_t now) const { return now >= deadline ? 0 : deadline - now; }
    // After a step run at now: the next grid point after now becomes the deadline.
    void Advance(uint64_t now);

private:
    uint64_t deadline;
    uint64_t period;
};

} // namespace kx
