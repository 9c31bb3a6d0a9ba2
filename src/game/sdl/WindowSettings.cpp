// Reading and writing the window's zoom, fullscreen and mute values.
#include "WindowSettings.h"

#include "ViewScale.h"

namespace kx {

namespace {

constexpr const char* kWindowSection = "Window";
constexpr const char* kSoundSection = "Sound";

} // namespace

WindowSettings ReadWindowSettings(IGameHost& host) {
    WindowSettings s;
    const int32_t zoom = host.GetProfileInt(kWindowSection, "Zoom", 0);
    s.zoom = zoom >= 1 && zoom <= kMaxZoom ? zoom : 0;
    s.fullscreen = host.GetProfileInt(kWindowSection, "Fullscreen", 0) != 0;
    s.muted = host.GetProfileInt(kSoundSection, "Mute", 0) != 0;
    return s;
}

void WriteWindowSettings(IGameHost& host, const WindowSettings& settings) {
    if (settings.zoom >= 1) {
        host.WriteProfileInt(kWindowSection, "Zoom", settings.zoom);
    }
    host.WriteProfileInt(kWindowSection, "Fullscreen", settings.fullscreen ? 1 : 0);
    host.WriteProfileInt(kSoundSection, "Mute", settings.muted ? 1 : 0);
}

} // namespace kx
