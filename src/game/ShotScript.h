// The shell's timed input script (steering keys, Enter, Esc, F1, clicks) and its run on a
// virtual clock: one reading for krawlix-tool shot and the browser's test mode.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "GameShell.h"
#include "rules/HeadlessPlay.h"

namespace kx {

// The shell's other inputs beside the steering keys.
enum class ShotKeyKind { Steer, Enter, Esc, F1, Click, Menu, Restart, Rewind, Hint, Space };

struct ShotKey {
    uint64_t timeMs = 0;
    ShotKeyKind kind = ShotKeyKind::Enter;
    PlayKey steer = PlayKey::Up;
    CGameShell::MenuKey menu = CGameShell::MenuKey::Home; // pageup, pagedown, home, end
    int32_t x = 0;
    int32_t y = 0;
};

// "TIME:up|down|left|right|tab|enter|esc|f1|click:X:Y,..."; false with the reason in error.
bool ParseShotKeys(const std::string& text, std::vector<ShotKey>& keys, std::string& error);

void PressShotKey(CGameShell& shell, const ShotKey& key);

// The timer steps at level times 0, 10, 20 ... lastMs after start-up; before each step the
// keys due by then, then setTimeMs(kHeadlessStartMs + t) and the shell's step. Stops early
// once quitPosted() says so.
void RunShotSteps(CGameShell& shell, const std::vector<ShotKey>& keys, uint64_t lastMs,
                  const std::function<void(uint64_t)>& setTimeMs,
                  const std::function<bool()>& quitPosted);

} // namespace kx
