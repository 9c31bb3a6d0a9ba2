// Asks the X server for a window manager (the root window's _NET_SUPPORTING_WM_CHECK, which
// every EWMH manager sets); kept apart because the X headers define plain words as macros.
#include "WindowManager.h"

#include <SDL.h>
#include <SDL_syswm.h>

#if defined(SDL_VIDEO_DRIVER_X11) && !defined(KX_WITHOUT_X11)
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#endif

namespace kx {

void* X11DisplayOf(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11) && !defined(KX_WITHOUT_X11)
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (window != nullptr && SDL_GetWindowWMInfo(window, &info) == SDL_TRUE &&
        info.subsystem == SDL_SYSWM_X11) {
        return info.info.x11.display;
    }
#else
    (void)window;
#endif
    return nullptr;
}

bool RunsWithoutWindowManager(SDL_Window* window) {
#if defined(SDL_VIDEO_DRIVER_X11) && !defined(KX_WITHOUT_X11)
    auto* display = static_cast<Display*>(X11DisplayOf(window));
    if (display == nullptr) {
        return false;
    }
    const Atom check = XInternAtom(display, "_NET_SUPPORTING_WM_CHECK", True);
    if (check == None) {
        return true;
    }
    Atom type = None;
    int format = 0;
    unsigned long count = 0;
    unsigned long after = 0;
    unsigned char* data = nullptr;
    const int status = XGetWindowProperty(display, DefaultRootWindow(display), check, 0, 1, False,
                                          XA_WINDOW, &type, &format, &count, &after, &data);
    const bool managed = status == Success && type == XA_WINDOW && count == 1;
    if (data != nullptr) {
        XFree(data);
    }
    return !managed;
#else
    (void)window;
    return false;
#endif
}

} // namespace kx
