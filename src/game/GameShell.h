// CGameShell, the game without its window: start-up, timer step, paint, input, screens, menus.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "CommandLineParser.h"
#include "GameHost.h"
#include "GameMenu.h"
#include "GameResources.h"
#include "HintSearch.h"
#include "LevelList.h"
#include "Records.h"
#include "ScenePicture.h"
#include "TextPanel.h"
#include "graphics/Bitmap24.h"
#include "graphics/DrawDevice24.h"
#include "graphics/FontTable.h"
#include "levelsource/Tape.h"
#include "rules/Game.h"
#include "rules/HeadlessPlay.h"
#include "rules/Random.h"
#include "rules/SoundOutput.h"
#include "sound/WaveOutDevice.h"
#include "storage/ResourceArchive.h"

namespace kx {

inline constexpr int32_t kClientSize = 650;     // the window's client area, both ways
inline constexpr uint32_t kTickIntervalMs = 10; // the timer that calls Tick

// The game's one object: the rules' state (Game()) and everything around it. A front end
// (the SDL window, the headless host of the tests and of krawlix-tool shot) makes one, calls
// ParseCommandLine, Initialize and InitWindow, then Tick every 10 ms, Paint whenever the host
// is asked to repaint, the input handlers for its events and SaveProgress at the end.
class CGameShell {
public:
    // device: the sound output, borrowed (it must outlive the shell); null plays nothing.
    CGameShell(IGameHost& host, CWaveOutDevice* device);
    CGameShell(const CGameShell&) = delete;
    CGameShell& operator=(const CGameShell&) = delete;
    ~CGameShell();

    // Where the archive, loose files, "levels.lst" and the program's level files are looked
    // for; the program's own folder unless set.
    void SetProgramFolder(const std::string& folder);
    // Where the "Krawlix" sub-folder of user levels is; the user's documents folder unless
    // set; an empty text means none.
    void SetDocumentsFolder(const std::string& folder);
    // The base of the replays folder ("Krawlix/replays" in it); $XDG_DATA_HOME unless set; an
    // empty text keeps no replays.
    void SetDataHome(const std::string& folder) { dataHome = folder; }
    // A fixed seed for the generator instead of the calendar time.
    void SetRandomSeed(uint64_t seed) { fixedSeed = seed; }
    // Hears every sound the game plays, in addition to the sound output.
    void SetSoundObserver(ISoundOutput* observer) { sound.observer = observer; }

    // Start-up: the command line (without the program's name), then the resources; false
    // after its message was shown through the host. Then the window's first screen.
    void ParseCommandLine(const std::string& commandLine);
    bool Initialize();
    void InitWindow();

    void Tick();
    // Composes the frame for a client area of width × height.
    const CDrawDevice24& Paint(int32_t width, int32_t height);
    // The parts of the surface that the last Paint changed (the whole of it after a move of
    // the view, a new size or a new level); a front end that keeps the last picture needs to
    // copy only these. They may overlap.
    const std::vector<SurfaceRect>& PaintedAreas() const { return paintedAreas; }
    // The next Paint draws everything anew, as after a new level (what a whole frame costs).
    void ForgetPaintedPicture() { scene.Invalidate(); }

    // A cursor key moves through an open menu; with no menu and no text shown it steers, as
    // TAB always selects the next worm, through the one key path of the rules.
    void OnKeyDown(PlayKey key);
    // Page Up, Page Down, Home and End move through an open menu.
    enum class MenuKey { PageUp, PageDown, Home, End };
    void OnMenuKey(MenuKey key);
    void OnOk();
    void OnCancel();
    void OnClick(int32_t x, int32_t y);
    void ShowLevelHelp();
    // R: the level on screen starts again as "Nochmal" does, without its help text; in a
    // level and in the won and lost menus.
    void OnRestart();
    // Backspace: the play state from just before the last steering key of this attempt comes
    // back and the level waits; again, the one before, down to the level's start. Works in a
    // level and from the lost menu (which it closes).
    void OnRewind();
    // H: the level waits while the solver looks for the next key in a worker thread; H again
    // (or any key) goes on.
    void OnHint();
    // The space bar: a waiting level goes on without a key.
    void OnSpace();
    // A short note over the field ("Ton aus"), gone after a second and a half.
    void ShowNotice(const std::string& text);
    // Stores the level being played (never the title or end screen) as the last game.
    void SaveProgress();

    // Screens and menus.
    // showHelp: whether the level's help text opens with it (not for R).
    void SetLevel(int32_t n, bool showHelp = true);
    void ExecuteCommand(int32_t id);
    void ShowMainMenu();
    void ShowQuitMenu();
    void ShowHelpMenu();
    void ShowLevelMenu();
    void ShowText(const std::string& text);
    void CheckLevelEnd();

    // What the front end, the tests and the tools look at.
    CGame& Game() { return game; }
    const CGame& Game() const { return game; }
    const CGameMenu& Menu() const { return menu; }
    const CTextPanel& Panel() const { return panel; }
    const std::vector<std::string>& Levels() const { return levelList; }
    int32_t LevelCount() const { return static_cast<int32_t>(levelList.size()); }
    // Windows-1252, as given to the host.
    const std::string& WindowTitle() const { return windowTitle; }
    const CGameParameter& Parameters() const { return parameters; }
    const CResourceArchive& Archive() const { return archive; }
    CFontTable& Fonts() { return fonts; }
    CGameResources& Resources() { return resources; }
    const CDrawDevice24& Surface() const { return surface; }
    // Repaint requests that Tick dropped: the camera had moved by less than a pixel and
    // nothing else had asked, so the picture would have equalled the one painted last.
    uint64_t SkippedRepaints() const { return skippedRepaints; }
    // Without input, how many timer steps from now the picture stays as painted, or anything
    // else that Tick acts on (a sound, a notice, a replay's key, the level's end) waits: 1
    // when the next step may change it, at most limit. A front end may run the steps before
    // that one late, all at once, since nothing shows of them; the rules see the same steps.
    // Worked out by running the rules ahead on a copy of the play state.
    uint64_t StepsUntilPictureChanges(uint64_t limit) const;

    // The tape of the current attempt at the level on screen (since it was last set up): the
    // seed that puts the generator where it stood then (the backgrounds draw from it first),
    // the steering keys that reached the play state at their level times, and until the level
    // time of the level's end, with its result, or of the last timer step while it runs.
    // Headless play of the same level replays it to the same state.
    Tape AttemptTape() const;

    // The best play of level n (1..N) kept in the profile, if it was won before.
    std::optional<LevelRecord> RecordOf(int32_t n) const;
    // Where the replay of level n is kept; empty without a replays folder.
    std::string ReplayPathOf(int32_t n) const;
    // Why the level stands still: after a rewind, or for a hint.
    enum class PauseKind { None, Rewound, Hint };
    PauseKind Pause() const { return pause; }
    // The hint on screen (with PauseKind::Hint), or none.
    const std::optional<Hint>& ShownHint() const { return hint; }
    // Blocks until the hint's search has answered: for krawlix-tool shot, whose virtual clock
    // stands meanwhile, so that its answers do not depend on the machine.
    void WaitForHint();
    // The level time the attempt has reached: 10 ms for every timer step it ran, standing
    // while the level waits. A key pressed now counts at this time, before the next step.
    uint64_t LevelTimeMs() const { return attemptSteps * kTimerStepMs; }

private:
    // Forwards the rules' sounds to the sound thread and to the observer.
    struct SoundRouter : ISoundOutput {
        void PlaySound(const std::string& name) override;
        CGameResources* resources = nullptr;
        ISoundOutput* observer = nullptr;
    };

    bool LoadResources();
    // A won level: its record and replay when it beats the profile's, the note of the menu.
    void RecordWin();
    void PressReplayKeys();
    void LoadCommandLineTapes();
    // The rewind points, the pause, the hint.
    void Resume();
    void Checkpoint();
    void Restore(size_t index);
    void DrawPauseAndHint(int32_t offsetX, int32_t offsetY);
    void DrawBanner(const std::string& text, int32_t y);
    LevelSources Sources() const;
    void OpenMenu(const std::string& caption, std::vector<MenuItem> items);
    void AdaptMenu();
    void HidePanel();
    void DrawCornCounter();
    // Everything drawn over the cells: the corn counter, pause, hint, notice, menu and panel.
    void DrawOverlays(int32_t offsetX, int32_t offsetY);
    // Whether a Paint now would differ from the last one: decided from what Paint reads.
    bool PictureWouldChange() const;
    bool ViewMovedFromPainted(const CGame& state) const;
    bool IsPlayingLevel() const {
        return game.currentLevel >= 1 && game.currentLevel <= LevelCount();
    }

    IGameHost& host;
    CWaveOutDevice* device;
    CGameParameter parameters;
    CResourceArchive archive;
    CFontTable fonts;
    CGameResources resources;
    std::vector<std::string> levelList;
    CDrawDevice24 surface;
    SoundRouter sound;
    CGame game;
    CGameMenu menu;
    CTextPanel panel;
    CBitmap24 background;
    CScenePicture scene;
    // The drawing calls of the overlays in the last Paint and in this one.
    DrawLog paintedOverlays;
    DrawLog overlays;
    std::vector<SurfaceRect> paintedAreas;
    // What the last Paint drew from besides the scene: the size and the view's offset.
    struct PaintedView {
        int32_t width = 0;
        int32_t height = 0;
        int32_t offsetX = 0;
        int32_t offsetY = 0;
    };
    std::optional<PaintedView> painted;
    uint64_t skippedRepaints = 0;

    std::optional<std::string> programFolder;
    std::optional<std::string> documentsFolder;
    std::optional<uint64_t> fixedSeed;
    std::optional<std::string> dataHome;
    CRecordTable records;
    // The tapes of the command line, by level number; the attempt's replay while it plays.
    std::vector<std::optional<Tape>> levelTapes;
    std::vector<std::string> tapeProblems; // beside levelTapes: why a tape did not read
    std::optional<Tape> replay;
    size_t replayNext = 0;
    std::string windowTitle;

    // The current attempt: its seed, its keys, its timer steps and how it ended.
    uint64_t attemptSeed = 1;
    std::vector<KeyPress> attemptKeys;
    uint64_t attemptSteps = 0;
    std::optional<PlayResult> attemptEnd;
    uint64_t attemptEndMs = 0;

    // Rewind points of the attempt: the start, then the state before each of its keys.
    struct RewindPoint {
        PlayState play;
        uint64_t steps = 0;
        size_t keys = 0;
    };
    std::vector<RewindPoint> rewindPoints;
    size_t rewindBytes = 0;
    PauseKind pause = PauseKind::None;
    std::optional<Hint> hint;
    CHintSearch hintSearch;
    std::string notice;
    uint64_t noticeSteps = 0;
};

} // namespace kx
