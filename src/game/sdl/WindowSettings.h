// The window's own profile values: zoom, fullscreen and mute, stored beside "LastGame".
#pragma once

#include <cstdint>

#include "game/GameHost.h"

namespace kx {

struct WindowSettings {
    int32_t zoom = 0; // 0: never stored; the window picks its starting zoom itself
    bool fullscreen = false;
    bool muted = false;
    bool operator==(const WindowSettings&) const = default;
};

// "Window"/"Zoom", "Window"/"Fullscreen" and "Sound"/"Mute". A zoom outside 1 to kMaxZoom
// reads as 0; the flags are true for any value but 0.
WindowSettings ReadWindowSettings(IGameHost& host);
// Writes the three values; a zoom of 0 is not written.
void WriteWindowSettings(IGameHost& host, const WindowSettings& settings);

} // namespace kx
