// Start-up, run and end of the game program.
#include "KrawlixApp.h"

#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "KrawlixDlg.h"
#include "ProgramOptions.h"
#include "game/CommandLineJoin.h"
#include "game/GameShell.h"
#include "game/ProfileFile.h"
#include "platform/SdlWaveOutDevice.h"
#include "storage/TextCodec.h"

namespace kx {

namespace {

// SDL for the program's lifetime: video and game controllers (audio comes with the device).
class CSdlSession {
public:
    CSdlSession() {
        // The close button is Cancel, never the end; signals still end the game in order.
        SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
        SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "1");
        // The window reads the gamepads itself, at most once per timer step; left to itself
        // SDL would look at them every time it asks the X server for events.
        SDL_SetHint(SDL_HINT_AUTO_UPDATE_JOYSTICKS, "0");
        video = SDL_Init(SDL_INIT_VIDEO | SDL_INIT_EVENTS) == 0;
        if (!video) {
            videoError = SDL_GetError();
        } else if (std::getenv("SDL_VIDEODRIVER") == nullptr && IsInvisibleDriver()) {
            // Without a display SDL falls back to a driver that shows nothing; a game nobody
            // can see would run until killed.
            video = false;
            videoError = "keine Anzeige gefunden";
        }
        // A machine without controller support plays with keys and mouse.
        SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER);
    }
    CSdlSession(const CSdlSession&) = delete;
    CSdlSession& operator=(const CSdlSession&) = delete;
    ~CSdlSession() { SDL_Quit(); }

    bool video = false;
    std::string videoError;

private:
    static bool IsInvisibleDriver() {
        const char* driver = SDL_GetCurrentVideoDriver();
        return driver == nullptr || std::strcmp(driver, "offscreen") == 0 ||
               std::strcmp(driver, "dummy") == 0;
    }
};

} // namespace

int CKrawlixApp::Run(const std::vector<std::string>& args) {
    switch (ClassifyArguments(args)) {
    case ProgramRequest::Help:
        std::fputs(UsageText().c_str(), stdout);
        return 0;
    case ProgramRequest::Version:
        std::fputs(VersionText().c_str(), stdout);
        return 0;
    case ProgramRequest::Play:
        break;
    }

    CSdlSession sdl;
    // Declared before the shell, which borrows it, and the window, which mutes it.
    CSdlWaveOutDevice device;
    CKrawlixDlg dialog(DefaultProfilePath("Krawlix"), sdl.video);
    CGameShell shell(dialog, &device);
    dialog.Attach(shell, device);
    dialog.NoteStartUp("sdl");

    shell.ParseCommandLine(JoinCommandLine(args));
    if (!shell.Initialize()) {
        return 1;
    }
    dialog.NoteStartUp("resources");
    if (!dialog.Create()) {
        const std::string reason = sdl.video ? std::string(SDL_GetError()) : sdl.videoError;
        dialog.ShowMessageBox(T("Das Spielfenster lässt sich nicht öffnen: ") +
                                  Cp1252FromUtf8(reason),
                              MessageIcon::Error);
        return 1;
    }
    dialog.NoteStartUp("window");
    dialog.RunModal();
    shell.SaveProgress();
    dialog.SaveSettings();
    shell.Resources().ShutDownSound();
    dialog.WriteStats();
    return 0;
}

} // namespace kx
