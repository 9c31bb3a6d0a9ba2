// The shell's share of every front end's actions.
#include "GameAction.h"

#include "GameShell.h"

namespace kx {

std::optional<PlayKey> SteeringKeyOf(GameAction action) {
    switch (action) {
    case GameAction::Up:
        return PlayKey::Up;
    case GameAction::Down:
        return PlayKey::Down;
    case GameAction::Left:
        return PlayKey::Left;
    case GameAction::Right:
        return PlayKey::Right;
    case GameAction::Tab:
        return PlayKey::Tab;
    default:
        return std::nullopt;
    }
}

bool PerformShellAction(CGameShell& shell, GameAction action) {
    if (const std::optional<PlayKey> key = SteeringKeyOf(action)) {
        shell.OnKeyDown(*key);
        return true;
    }
    switch (action) {
    case GameAction::Ok:
        shell.OnOk();
        return true;
    case GameAction::Cancel:
        shell.OnCancel();
        return true;
    case GameAction::Help:
        shell.ShowLevelHelp();
        return true;
    case GameAction::MenuPageUp:
        shell.OnMenuKey(CGameShell::MenuKey::PageUp);
        return true;
    case GameAction::MenuPageDown:
        shell.OnMenuKey(CGameShell::MenuKey::PageDown);
        return true;
    case GameAction::MenuHome:
        shell.OnMenuKey(CGameShell::MenuKey::Home);
        return true;
    case GameAction::MenuEnd:
        shell.OnMenuKey(CGameShell::MenuKey::End);
        return true;
    case GameAction::Restart:
        shell.OnRestart();
        return true;
    case GameAction::Rewind:
        shell.OnRewind();
        return true;
    case GameAction::Hint:
        shell.OnHint();
        return true;
    case GameAction::Resume:
        shell.OnSpace();
        return true;
    default:
        return false;
    }
}

const char* MuteNotice(bool muted) {
    return muted ? "Ton aus" : "Ton an";
}

} // namespace kx
