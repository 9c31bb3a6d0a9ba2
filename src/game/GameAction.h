// What a key, button or gesture asks of the game, the same in every front end.
#pragma once

#include <optional>

#include "rules/HeadlessPlay.h"

namespace kx {

class CGameShell;

// The shell's own actions first, then those a front end answers itself (the sound, the
// window's size and fullscreen).
enum class GameAction {
    None,
    Up,
    Down,
    Left,
    Right,
    Tab,
    Ok,
    Cancel,
    Help,
    MenuPageUp,
    MenuPageDown,
    MenuHome,
    MenuEnd,
    Restart,
    Rewind,
    Hint,
    Resume,
    ToggleMute,
    ToggleFullscreen,
    ZoomIn,
    ZoomOut,
};

// The steering key of the four directions and TAB; none for every other action.
std::optional<PlayKey> SteeringKeyOf(GameAction action);

// Hands the shell's own actions to it; false for None and for what the front end answers.
bool PerformShellAction(CGameShell& shell, GameAction action);

// What M shows on screen after it switched the sound.
const char* MuteNotice(bool muted);

} // namespace kx
