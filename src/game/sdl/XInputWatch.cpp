// CXInputWatch: Xlib's queue and a poll of the connection; kept apart because the X headers
// define plain words as macros.
#include "XInputWatch.h"

#include <SDL.h>

#include <chrono>
#include <thread>

#include "WindowManager.h"

#if defined(SDL_VIDEO_DRIVER_X11) && !defined(KX_WITHOUT_X11)
#include <X11/Xlib.h>
#include <poll.h>
#include <time.h>
#define KX_WATCH_X11 1
#endif

namespace kx {

void CXInputWatch::Attach(SDL_Window* window) {
    display = nullptr;
    fd = -1;
    Taken();
#ifdef KX_WATCH_X11
    display = X11DisplayOf(window);
    if (display != nullptr) {
        fd = ConnectionNumber(static_cast<Display*>(display));
    }
#else
    (void)window;
#endif
}

void CXInputWatch::Sleep(int64_t nanoseconds) {
    if (nanoseconds <= 0) {
        return;
    }
#ifdef KX_WATCH_X11
    // Once something is known to wait, polling would return at once: the step takes it.
    if (display != nullptr && !readable) {
        pollfd connection{fd, POLLIN, 0};
        const timespec timeout{static_cast<time_t>(nanoseconds / 1000000000),
                               static_cast<long>(nanoseconds % 1000000000)};
        // Readable, closed, failing or interrupted by a signal (SDL turns one into its quit):
        // SDL is the one to look. The loop sleeps again for what is left.
        if (ppoll(&connection, 1, &timeout, nullptr) != 0) {
            readable = true;
        } else {
            watched = true;
        }
        return;
    }
#endif
    std::this_thread::sleep_for(std::chrono::nanoseconds(nanoseconds));
}

bool CXInputWatch::MayHaveEvents() {
#ifdef KX_WATCH_X11
    if (display == nullptr || readable || XQLength(static_cast<Display*>(display)) > 0) {
        return true;
    }
    if (!watched) {
        pollfd connection{fd, POLLIN, 0};
        if (poll(&connection, 1, 0) != 0) {
            return true;
        }
    }
    // Until the next sleep nothing watches the connection.
    watched = false;
    return false;
#else
    return true;
#endif
}

} // namespace kx
