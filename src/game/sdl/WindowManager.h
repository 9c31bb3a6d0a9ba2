// Whether a window manager looks after the game's window.
#pragma once

struct SDL_Window;

namespace kx {

// True only where it is known that nothing grants a window fullscreen: an X server without a
// window manager. SDL then takes the display's size for granted while the window keeps its
// own, and shows a shifted part of the picture.
bool RunsWithoutWindowManager(SDL_Window* window);

} // namespace kx
