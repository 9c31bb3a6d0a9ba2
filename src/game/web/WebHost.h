// CWebHost, the game shell's host in the browser: canvas, clock, profile in local storage.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "FrameSteps.h"
#include "game/GameAction.h"
#include "game/GameHost.h"
#include "game/GameShell.h"
#include "game/ProfileFile.h"
#include "rules/SoundOutput.h"

namespace kx {

// What a key, a button or a swipe asks of the page: the actions of every front end.
using WebAction = GameAction;

// The folder of the page's files inside the module's file system: the archive is put there.
inline constexpr const char* kWebProgramFolder = "/krawlix";

class CWebHost final : public IGameHost, private ISoundOutput {
public:
    // profileText: what local storage held (may be anything).
    explicit CWebHost(const std::string& profileText);
    CWebHost(const CWebHost&) = delete;
    CWebHost& operator=(const CWebHost&) = delete;
    ~CWebHost();

    // Starts the shell with the game's command line; false when its start-up failed (the
    // message is on the page). levelName, when not empty, is the built-in level to begin in.
    bool Start(const std::string& commandLine, const std::string& levelName);
    // One animation frame at the page clock's nowMs: the timer steps due, then the picture.
    void Frame(double nowMs);
    void Perform(WebAction action);
    // Puts the picture painted last onto the canvas, if it is not there yet; whole: hands
    // over all of it, not only what changed (for the tests: the two must agree).
    void ShowPicture(bool whole);
    // A click at a point of the 650 × 650 picture.
    void Click(int32_t x, int32_t y);
    bool IsRunning() const { return shell != nullptr && !quitPosted; }
    // Keeps the level being played as the last game (the page may be closed at any time).
    void SaveProgress() {
        if (shell)
            shell->SaveProgress();
    }
    // The running shell, for the page's probe; null before the start and after the end.
    const CGameShell* Shell() const { return shell.get(); }

    // IGameHost
    void SetWindowTitle(const std::string& title) override;
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
    uint64_t QueryCounter() override { return counter; }
    uint64_t QueryCounterFrequency() override { return kMicroseconds; }

private:
    static constexpr uint64_t kMicroseconds = 1000000;

    // ISoundOutput: the shell's sounds go to Web Audio.
    void PlaySound(const std::string& name) override;
    void HandOverSounds();
    void End();

    CProfileFile profile;
    std::unique_ptr<CGameShell> shell;
    CFrameSteps steps;
    uint64_t counter = 0;
    bool quitPosted = false;
    bool muted = false;
    bool started = false;
    bool dirty = false;
    // What the paints since the canvas last took the picture changed.
    SurfaceRect changed;
};

// The pixels of area (clipped to the surface) as RGBA at their places in rows of the whole
// width, top row first, for the canvas; rgba must hold 4 × width × height.
void CopyToRgba(const CDrawDevice24& surface, const SurfaceRect& area, uint8_t* rgba);

// Puts the picture onto the page's canvas: what changed since this surface was last shown,
// or all of it when the canvas last showed another.
void ShowOnCanvas(const CDrawDevice24& surface, const SurfaceRect& changed);

} // namespace kx
