// The keys and gamepad buttons of the game window and what each one does.
#pragma once

#include <SDL_gamecontroller.h>
#include <SDL_keycode.h>

#include <cstdint>

#include "game/GameAction.h"

namespace kx {

// What a key or button asks of the window: the actions of every front end.
using InputAction = GameAction;

// A key press; repeat is set for the presses a held key repeats. The cursor keys and TAB
// act on every repeat, as held keys always steered the game, and so do the page keys and
// Backspace; the other keys only once per press. Ctrl with Plus or Minus zooms; M (mute), R
// (restart), H (hint) count only without Ctrl or Alt; Backspace rewinds, the space bar resumes a
// waiting level.
InputAction MapKey(SDL_Keycode key, uint16_t modifiers, bool repeat);

// A gamepad button press: the d-pad as the cursor keys, A as Enter, B and Start as Esc, the
// shoulder buttons as TAB, Back as F1.
InputAction MapGamepadButton(SDL_GameControllerButton button);

// True for the four directions, the actions that repeat while held.
bool IsDirection(InputAction action);

} // namespace kx
