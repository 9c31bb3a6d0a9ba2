// Playing a level without a window: a virtual clock, a key script and the timer steps.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "Game.h"

namespace kx {

// The keys a script can press: the four cursor keys (their direction codes) and TAB.
enum class PlayKey : int32_t {
    Up = DIR_UP,
    Down = DIR_DOWN,
    Left = DIR_LEFT,
    Right = DIR_RIGHT,
    Tab
};

struct KeyPress {
    uint64_t timeMs = 0; // level time at which the key is pressed
    PlayKey key = PlayKey::Right;
};

// One entry of a timed script before its name is read: "TIME:NAME", blanks around either part
// dropped; text is the entry as written.
struct ScriptEntry {
    uint64_t timeMs = 0;
    std::string name;
    std::string text;
};

// Splits "TIME:NAME,TIME:NAME,..." at its commas and reads each time; the name is everything
// after the first colon. An empty text is an empty script. False, with the first entry that
// has no time in badEntry, for anything else. The key scripts of headless play and of the
// game shell's tools (which know more names) are both read through it.
bool SplitKeyScript(const std::string& text, std::vector<ScriptEntry>& entries,
                    std::string* badEntry);

// up, down, left, right, tab.
bool PlayKeyFromName(const std::string& name, PlayKey& key);

// "TIME:KEY,TIME:KEY,..." with KEY one of up, down, left, right, tab; an empty text is an
// empty script. False (with a reason) for anything else.
bool ParseKeyScript(const std::string& text, std::vector<KeyPress>& keys, std::string* reason);
std::string FormatKeyScript(const std::vector<KeyPress>& keys);
const char* PlayKeyName(PlayKey key);

const char* PlayResultName(PlayResult result);

struct PlayOptions {
    std::vector<KeyPress> keys;
    uint64_t untilMs = 600000;
    // Called after every timer step with its level time; returning false stops the play
    // (the result is then Running). Tests hang their consistency check here.
    std::function<bool(const CGame&, uint64_t)> afterStep;
};

struct PlayOutcome {
    PlayResult result = PlayResult::Running;
    uint64_t timeMs = 0; // level time of the last step
    uint32_t steps = 0;
};

inline constexpr uint64_t kHeadlessFrequency = 1000000;
inline constexpr uint64_t kHeadlessStartMs = 10000; // every creature is due in the first step
inline constexpr uint64_t kTimerStepMs = 10;
// A day of level time: the longest play there is (beyond it the 64-bit clock could wrap).
inline constexpr uint64_t kMaxPlayMs = 86400000;

// The timer step a key pressed at level time ms belongs to: the first at or after it.
constexpr uint64_t StepOfMs(uint64_t ms) {
    return ms / kTimerStepMs + (ms % kTimerStepMs != 0 ? 1 : 0);
}

// The one way a steering key reaches the play state, for the game shell (when no menu or text
// is shown), headless play, tapes and the solver: TAB selects the next worm, a cursor key
// steers the current one. False when the key cannot reach a worm (a screen that is no level,
// or no worm left) and so changed nothing.
bool PressKey(CGame& game, PlayKey key);

// Sets the virtual clock, runs PrepareLevel on the game's field (with notInLevel as the
// caller left it) and plays timer steps at level times 0, 10, 20 ... ms until the level
// ends or the level time reaches untilMs (at most kMaxPlayMs).
PlayOutcome PlayHeadless(CGame& game, const PlayOptions& options);

// Plays keys on the game's field as PlayHeadless does, up to the state before the step at
// level time atMs (rounded up to a step), with the keys up to atMs pressed: the start from
// which the solver searches on. Won or Lost, with the time of the end, when the level ended
// before; keys after atMs are not played.
PlayOutcome PlayToStep(CGame& game, const std::vector<KeyPress>& keys, uint64_t atMs);

} // namespace kx
