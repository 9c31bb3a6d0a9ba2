// What the X server behind the game's window tells: its connection, its window manager.
#pragma once

struct SDL_Window;

namespace kx {

// True only where it is known that nothing grants a window fullscreen: an X server without a
// window manager. SDL then takes the display's size for granted while the window keeps its
// own, and shows a shifted part of the picture.
bool RunsWithoutWindowManager(SDL_Window* window);

// The window's X display (an Xlib Display*), or null where the window is not on X11 or the
// build has no X11.
void* X11DisplayOf(SDL_Window* window);

} // namespace kx
