// CGame's level state and the rules of play: creatures, the clock, sounds, redraws and camera.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Creatures.h"
#include "PlayState.h"
#include "Random.h"
#include "SoundOutput.h"
#include "field/GameField.h"

namespace kx {

// The game's one object holds this state; the shell adds its own members (menu, text panel,
// resources, level list, parameters) around it. Nothing here is global, so tests make as many
// as they like. The clock and the sound output are injected; the generator lives in the play
// state (seed 1 until the caller seeds it), so that a copied state draws the same numbers.
// The game is not copy-constructed (it holds the sound hook): copy `play`, or the whole state
// with CopyStateFrom into a game with a sound output of its own.
class CGame {
public:
    // sound: null plays nothing.
    explicit CGame(ISoundOutput* sound = nullptr) : soundOutput(sound) {}
    CGame(const CGame&) = delete;
    CGame& operator=(const CGame&) = delete;

    // Clock, sound, redraw.
    uint64_t MsToTicks(uint64_t ms) const { return (counterFrequency * ms + 500) / 1000; }
    // Every request but the camera's: the picture changes whatever the view's offset does.
    void RequestRedraw() {
        redrawPending = true;
        sceneChanged = true;
    }
    void PlaySound(const std::string& name);
    void SetSoundOutput(ISoundOutput* sound) { soundOutput = sound; }
    // Everything of other but its sound output: a look ahead that plays into its own.
    void CopyStateFrom(const CGame& other);
    CRandom& Random() { return play.random; }

    // Camera. The window's size in pixels frames the target: on an axis where the field fits
    // the view rests on the field's centre, elsewhere it follows the current worm's head but
    // shows at most one cell beyond the field's edge. 0 (unknown) follows the head freely.
    void SetViewSize(int32_t width, int32_t height) {
        viewWidth = width;
        viewHeight = height;
    }
    void SetViewTarget(bool jump);
    void UpdateView();

    // One timer step of the rules: now := counter, the worm pass, the ghost pass, the camera.
    PlayResult TimerStep(uint64_t counter);

    // The worm at activeWorm, or null when activeWorm lies outside the list.
    Worm* CurrentWorm();
    const Worm* CurrentWorm() const;
    bool IsCurrent(const Worm& worm) const { return CurrentWorm() == &worm; }

    // Level set-up and steering.
    void PrepareLevel();
    void MarkWormHeads();
    void SteerCurrentWorm(int32_t direction);
    // The TAB key: the next worm becomes current, the view glides to it.
    void SelectNextWorm();
    Worm& CreateWorm(int32_t x, int32_t y, int32_t speedIndex, int32_t tailDirection);
    Ghost& CreateGhost(int32_t x, int32_t y);

    // The worm pass; it decides whether the level has ended.
    PlayResult UpdateWorms();
    void UpdateWorm(Worm& worm);
    // Index of the first worm with a segment whose head is at (x, y), or -1.
    int32_t FindWormAt(int32_t x, int32_t y) const;

    // Items, switches, the end of a level.
    uint8_t EatItem(uint8_t code, Worm& worm);
    void TriggerSwitch(FieldCell& cell);
    void CompleteLevel();

    // The ghost pass.
    void UpdateGhosts();
    void UpdateGhost(Ghost& ghost);
    void MarkGhosts();
    bool KillMarkedGhost();

    // Level state: what the rules change.
    PlayState play;
    int32_t currentLevel = 0;
    int32_t lastGame = 0;
    uint64_t counterFrequency = 1000;
    bool redrawPending = true;
    // Set by RequestRedraw, left alone by the camera's glide; cleared by the one who paints.
    bool sceneChanged = true;
    bool endShown = false;

    // The view in tenths of a pixel.
    double viewX = 0;
    double viewY = 0;
    double targetX = 0;
    double targetY = 0;
    double velocityX = 0;
    double velocityY = 0;

private:
    int32_t viewWidth = 0;
    int32_t viewHeight = 0;

    void StepWorm(Worm& worm);
    bool TryQueuedTurn(Worm& worm, int32_t& tx, int32_t& ty);
    bool BlockedForWormStep(int32_t x, int32_t y) const;
    bool BlockedForWormTurn(int32_t x, int32_t y) const;
    bool BlockedForGhost(int32_t x, int32_t y) const;
    void MoveGhost(Ghost& ghost);

    ISoundOutput* soundOutput;
};

} // namespace kx
