// CGame's clock, sound hook, camera and the worm selection of the keyboard.
#include "Game.h"

#include <cmath>
#include <optional>

namespace kx {

void CGame::PlaySound(const std::string& name) {
    if (soundOutput)
        soundOutput->PlaySound(name);
}

Worm* CGame::CurrentWorm() {
    if (play.activeWorm < 0 || play.activeWorm >= static_cast<int32_t>(play.worms.size()))
        return nullptr;
    return &play.worms[static_cast<size_t>(play.activeWorm)];
}

const Worm* CGame::CurrentWorm() const {
    return const_cast<CGame*>(this)->CurrentWorm();
}

PlayResult CGame::TimerStep(uint64_t counter) {
    play.now = counter;
    PlayResult result = UpdateWorms();
    UpdateGhosts();
    UpdateView();
    return result;
}

namespace {

// The target on one axis, in tenths of a pixel: the field's centre where it fits the window,
// else the head's centre kept so far from the edges that at most one cell beyond them shows.
std::optional<double> AxisTarget(int32_t cells, int32_t window, std::optional<int32_t> head) {
    const double fieldPixels = cells * 32.0;
    if (window > 0 && fieldPixels <= window)
        return fieldPixels / 2.0 * 10.0;
    if (!head)
        return std::nullopt;
    double centre = *head * 32.0 + 16.0;
    if (window > 0) {
        const double low = window / 2 - 32.0;
        const double high = fieldPixels + 32.0 - (window - window / 2);
        centre = centre < low ? low : centre > high ? high : centre;
    }
    return centre * 10.0;
}

} // namespace

void CGame::CopyStateFrom(const CGame& other) {
    ISoundOutput* const ownSound = soundOutput;
    play = other.play;
    currentLevel = other.currentLevel;
    lastGame = other.lastGame;
    counterFrequency = other.counterFrequency;
    redrawPending = other.redrawPending;
    sceneChanged = other.sceneChanged;
    endShown = other.endShown;
    viewX = other.viewX;
    viewY = other.viewY;
    targetX = other.targetX;
    targetY = other.targetY;
    velocityX = other.velocityX;
    velocityY = other.velocityY;
    viewWidth = other.viewWidth;
    viewHeight = other.viewHeight;
    soundOutput = ownSound;
}

void CGame::SetViewTarget(bool jump) {
    const Worm* worm = CurrentWorm();
    std::optional<int32_t> headX, headY;
    if (worm && worm->length >= 1) {
        headX = worm->Head().x;
        headY = worm->Head().y;
    }
    // Without a head only the axes on which the field fits have a target.
    if (std::optional<double> x = AxisTarget(play.field.width, viewWidth, headX)) {
        targetX = *x;
        if (jump) {
            viewX = *x;
            velocityX = 0;
        }
    }
    if (std::optional<double> y = AxisTarget(play.field.height, viewHeight, headY)) {
        targetY = *y;
        if (jump) {
            viewY = *y;
            velocityY = 0;
        }
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
    // Only a change of the whole-pixel offset shows; the painter decides from that.
    redrawPending = true;
}

void CGame::MarkWormHeads() {
    // Only living worms show a head code; a dying or leaving head shows its frame or 4, and
    // writing 3 over those would hand the cell to the ghosts again.
    for (const Worm& worm : play.worms) {
        if (worm.state != WORM_ALIVE || worm.length < 1)
            continue;
        SegmentPos head = worm.Head();
        play.field.CellAt(head.x, head.y).creature =
            IsCurrent(worm) ? CREATURE_WORM_CURRENT : CREATURE_WORM_HEAD;
    }
}

void CGame::SteerCurrentWorm(int32_t direction) {
    if (Worm* worm = CurrentWorm())
        worm->QueueDirection(direction);
}

void CGame::SelectNextWorm() {
    ++play.activeWorm;
    if (play.activeWorm >= static_cast<int32_t>(play.worms.size()))
        play.activeWorm = 0;
    SetViewTarget(false);
    MarkWormHeads();
}

} // namespace kx
