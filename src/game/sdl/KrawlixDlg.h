// CKrawlixDlg, the game's SDL window: the host of the game shell, its 10 ms loop and input.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "InputMap.h"
#include "SdlGamepads.h"
#include "SdlPicture.h"
#include "TickSchedule.h"
#include "WindowSettings.h"
#include "XInputWatch.h"
#include "game/GameHost.h"
#include "game/GameShell.h"
#include "game/ProfileFile.h"
#include "platform/SdlWaveOutDevice.h"

namespace kx {

// What the loop measured, for the stats file (see WriteStats). The repaint figures leave
// out the first repaint, whose time includes the renderer's own start.
struct LoopStats {
    uint64_t steps = 0;
    uint64_t repaintRequests = 0; // the shell's, each composed at the next present at most
    uint64_t repaints = 0;        // pictures composed and uploaded
    uint64_t presents = 0;
    uint64_t sleeps = 0;         // the loop's waits, each ending in a wake-up
    uint64_t wholeUploads = 0;   // repaints that uploaded the whole picture
    uint64_t uploadedPixels = 0; // by all repaints, the whole ones too
    int32_t refreshRate = 0;     // as the display reports it; 0: none reported
    double loopSeconds = 0;      // wall time of the loop
    // Start-up, in seconds since the program started: what was ready when.
    std::vector<std::pair<std::string, double>> startUp;
    double firstPictureSeconds = 0;
    double firstRepaintSeconds = 0;
    double repaintSeconds = 0; // wall time: compose, upload, present
    double repaintMaxSeconds = 0;
    double composeCpuSeconds = 0; // the main thread's CPU time in each part
    double uploadCpuSeconds = 0;
    double presentCpuSeconds = 0;
    double loopCpuSeconds = 0; // the main thread's CPU time while the loop ran, repaints too
};

class CKrawlixDlg : public IGameHost {
public:
    // profilePath: the profile file; empty keeps the profile in memory. video: whether SDL's
    // video subsystem is up (without it message boxes go to standard error).
    CKrawlixDlg(const std::string& profilePath, bool video);
    CKrawlixDlg(const CKrawlixDlg&) = delete;
    CKrawlixDlg& operator=(const CKrawlixDlg&) = delete;
    ~CKrawlixDlg();

    // The shell and sound device this window serves; both must outlive the window's loop.
    void Attach(CGameShell& gameShell, CSdlWaveOutDevice& soundDevice);
    // The window initialisation: a hidden window of 650 × 650 client pixels times the zoom,
    // its icon from the shell's sprite sheet, then the shell's first screen. False (with
    // SDL's error text set) when no window can be made.
    bool Create();
    // Shows the window and runs the loop until the quit command.
    void RunModal();
    // Stores zoom, fullscreen and mute beside the game's own profile values.
    void SaveSettings();
    // Writes the loop's figures to the file named by KRAWLIX_STATS, if that is set.
    void WriteStats() const;
    // Notes for the stats how long after the program's start a step of the start-up ended.
    void NoteStartUp(const std::string& what);

    // IGameHost
    void SetWindowTitle(const std::string& title) override;
    // The picture is composed from the newest state when the next present is due: at most
    // once per display refresh (RunModal).
    void RepaintNow() override;
    void PostQuit() override { quitPosted = true; }
    void ShowMessageBox(const std::string& text, MessageIcon icon) override;
    void OpenWebAddress(const std::string& address) override;
    int32_t GetProfileInt(const std::string& section, const std::string& entry,
                          int32_t defaultValue) override;
    void WriteProfileInt(const std::string& section, const std::string& entry,
                         int32_t value) override;
    std::vector<std::pair<std::string, std::string>>
    GetProfileSection(const std::string& section) override;
    void WriteProfileString(const std::string& section, const std::string& entry,
                            const std::string& value) override;
    uint64_t QueryCounter() override;
    uint64_t QueryCounterFrequency() override;

private:
    struct WindowDeleter {
        void operator()(SDL_Window* w) const { SDL_DestroyWindow(w); }
    };

    void HandleEvent(const SDL_Event& event);
    void SaveProfile();
    void HandleWindowEvent(const SDL_WindowEvent& event);
    void Perform(InputAction action);
    void ToggleFullscreen();
    // Brings the window to settings.fullscreen, through the window manager where one runs.
    void ApplyFullscreen();
    void ChangeZoom(int32_t step);
    void TakeShownZoom();
    int32_t LargestZoom() const;
    void ApplyWindowedSize();
    // Events already in SDL's queue, without asking the X server again; true if there were.
    bool HandleQueuedEvents();
    // One timer step: input unless it is not to be taken, then the shell's Tick.
    void Step(uint64_t& stepsUntilPadSearch, bool takeInput);
    // Composes the picture if one was asked for, then presents it.
    void ShowPicture(uint64_t now);
    void TakeRefreshRate();
    uint64_t NowMs() const;

    std::string profilePath;
    bool profileWritable = true;
    CProfileFile profile;
    bool video;
    CGameShell* shell = nullptr;
    CSdlWaveOutDevice* device = nullptr;
    WindowSettings settings;
    // Fullscreen made by the window covering its display, where no window manager runs.
    bool ownFullscreen = false;
    std::string title = "Krawlix";
    bool quitPosted = false;
    // The picture (its renderer) goes before the window.
    std::unique_ptr<SDL_Window, WindowDeleter> window;
    CSdlPicture picture;
    CSdlGamepads gamepads;
    CXInputWatch xinput;
    // SDL is asked for events on the next step whatever the connection says, and at the
    // latest after this many steps.
    bool pumpNext = true;
    uint32_t stepsUntilPump = 0;
    uint64_t frequency = 0;
    // A picture asked for and not yet composed; a present asked for (the window uncovered).
    bool repaintWanted = false;
    bool presentWanted = false;
    CPresentGate presentGate{1};
    LoopStats stats;
};

} // namespace kx
