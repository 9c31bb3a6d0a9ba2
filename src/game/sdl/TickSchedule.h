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
    // After a step the loop chose to run late: the next grid point, however late it is too.
    void AdvanceOne() { deadline += period; }

private:
    uint64_t deadline;
    uint64_t period;
};

// Counter units of one refresh of a display of that rate (refreshes a second); 60 Hz where
// the platform reports none (0 or less).
uint64_t RefreshPeriod(uint64_t frequency, int32_t refreshRate);

// At most one present per refresh: a present may follow the one before by a whole refresh
// period at the earliest, so no picture is replaced before the screen could show it.
class CPresentGate {
public:
    explicit CPresentGate(uint64_t period) : period(period) {}
    void SetPeriod(uint64_t newPeriod) { period = newPeriod; }
    uint64_t GetPeriod() const { return period; }
    bool MayPresent(uint64_t now) const { return !presented || now - last >= period; }
    // The first counter value at which MayPresent holds.
    uint64_t EarliestPresent() const { return presented ? last + period : 0; }
    void Presented(uint64_t now) {
        last = now;
        presented = true;
    }

private:
    uint64_t period;
    uint64_t last = 0;
    bool presented = false;
};

// What the window's loop does next: the due steps first, so that a present shows the newest
// state; then a wanted picture once the gate lets it through; else it waits until the next
// step or the moment the wanted picture may be presented. stepsFrom lets the steps wait
// until that counter value (0: none wait), when nothing of them would show before.
struct LoopAction {
    enum class Kind { Step, Present, Wait };
    Kind kind = Kind::Wait;
    uint64_t until = 0; // for Wait: the counter value to wake at
};
LoopAction NextLoopAction(const CTickSchedule& steps, const CPresentGate& gate, bool pictureWanted,
                          uint64_t now, uint64_t stepsFrom = 0);

} // namespace kx
