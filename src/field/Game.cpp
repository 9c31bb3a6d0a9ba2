// CGame's clock, sound hook, camera and the worm selection of the keyboard.
#include "Game.h"

#include <cmath>

namespace kx {

CGame::CGame(CRandom* random, ISoundOutput* sound)
    : random(random ? random : &ownRandom), soundOutput(sound) {
    worms.reserve(64);
    ghosts.reserve(64);
}

void CGame::PlaySound(const std::string& name) {
    if (soundOutput)
        soundOutput->PlaySound(name);
}

Worm* CGame::CurrentWorm() {
    if (activeWorm < 0 || activeWorm >= static_cast<int32_t>(worms.size()))
        return nullptr;
    return worms[static_cast<size_t>(activeWorm)].get();
}

const Worm* CGame::CurrentWorm() const {
    return const_cast<CGame*>(this)->CurrentWorm();
}

void CGame::SetViewTarget(bool jump) {
    const Worm* worm = CurrentWorm();
    if (!worm || worm->length < 1)
        return;
    SegmentPos head = worm->Head();
    targetX = (head.x * 32.0 + 16.0) * 10.0;
    targetY = (head.y * 32.0 + 16.0) * 10.0;
    if (jump) {
        viewX = targetX;
        viewY = targetY;
        velocityX = 0;
        velocityY = 0;
    }
}

void CGame::UpdateView() {
    double dx = targetX - viewX;
    double dy = targetY - viewY;
    velocityX *= 0.8;
    velocityY *= 0.8;
    const Worm* worm = CurrentWorm();
    int32_t k = worm ? worm->speedIndex : kStartSpeedIndex;
    double divisor = 4.0 * k + 8.0;
    velocityX = dx / divisor + velocityX;
    velocityY = dy / divisor + velocityY;
    if (std::fabs(velocityX) < 0.5 && std::fabs(velocityY) < 0.5)
        return;
    viewX += velocityX;
    viewY += velocityY;
    RequestRedraw();
}

void CGame::MarkWormHeads() {
    // Only living worms show a head code; a dying or leaving head shows its frame or 4, and
    // writing 3 over those would hand the cell to the ghosts again.
    for (const auto& worm : worms) {
        if (worm->state != WORM_ALIVE || worm->length < 1)
            continue;
        SegmentPos head = worm->Head();
        field.CellAt(head.x, head.y).creature =
            IsCurrent(*worm) ? CREATURE_WORM_CURRENT : CREATURE_WORM_HEAD;
    }
}

void CGame::SteerCurrentWorm(int32_t direction) {
    if (Worm* worm = CurrentWorm())
        worm->QueueDirection(direction);
}

void CGame::SelectNextWorm() {
    ++activeWorm;
    if (activeWorm >= static_cast<int32_t>(worms.size()))
        activeWorm = 0;
    SetViewTarget(false);
    MarkWormHeads();
}

} // namespace kx
