// Whether the X server may have sent the game's window anything that SDL has not taken yet.
#pragma once

#include <cstdint>

struct SDL_Window;

namespace kx {

// Watches the window's X connection without reading from it: asking SDL for events reads
// the socket every time, which costs more than the rest of a step in which nothing happens.
// The loop's sleeps wait on the connection too, so that an idle step needs no call at all.
class CXInputWatch {
public:
    // Without X11 (another video driver, a build without its headers) nothing is known:
    // Sleep only sleeps and MayHaveEvents always answers true.
    void Attach(SDL_Window* window);
    // Sleeps so long, or less when the connection becomes readable or a signal comes.
    void Sleep(int64_t nanoseconds);
    // False only when Xlib holds no event and nothing came to be read since SDL last read
    // the connection (seen by the sleeps since then, or else by a look now).
    bool MayHaveEvents();
    // The connection became readable (or a signal came) since SDL last read it.
    bool WokenByConnection() const { return readable; }
    // SDL has just read the connection.
    void Taken() {
        readable = false;
        watched = false;
    }

private:
    void* display = nullptr;
    int fd = -1;
    // Something came since SDL last read; a sleep since then watched the connection.
    bool readable = false;
    bool watched = false;
};

} // namespace kx
