// CGameShell: start-up, the timer step, the paint and the input handlers.
#include "GameShell.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

#include "Background.h"
#include "fielddraw/DrawCells.h"
#include "storage/Error.h"
#include "storage/OutputFile.h"
#include "storage/Path.h"
#include "storage/TextCodec.h"

namespace kx {

namespace {

// The view's centre in pixels, rounded half away from zero's way as truncation after + 0.5.
int32_t ViewPixel(double tenths) {
    double v = std::trunc(tenths / 10.0 + 0.5);
    if (!(v > -1e9 && v < 1e9))
        return 0;
    return static_cast<int32_t>(v);
}

SurfaceRect BoundsOf(const std::vector<SurfaceRect>& areas) {
    SurfaceRect bounds;
    for (const SurfaceRect& r : areas)
        bounds = UnionOf(bounds, r);
    return bounds;
}

// Where two passes of drawing calls may draw differently: around the calls between their
// common beginning and their common end. A pixel outside it is drawn by the same calls in the
// same order in both. Nothing when the calls are equal.
std::optional<SurfaceRect> ChangedCallsArea(const DrawLog& a, const DrawLog& b) {
    const std::vector<DrawCall>& x = a.calls;
    const std::vector<DrawCall>& y = b.calls;
    size_t head = 0;
    while (head < x.size() && head < y.size() && x[head] == y[head])
        ++head;
    if (head == x.size() && head == y.size())
        return std::nullopt;
    size_t tail = 0;
    while (tail < x.size() - head && tail < y.size() - head &&
           x[x.size() - 1 - tail] == y[y.size() - 1 - tail])
        ++tail;
    SurfaceRect area;
    for (size_t i = head; i < x.size() - tail; ++i)
        area = UnionOf(area, x[i].area);
    for (size_t i = head; i < y.size() - tail; ++i)
        area = UnionOf(area, y[i].area);
    return area;
}

// What a start without the archive says: its name and every folder the search looked in.
std::string MissingArchiveText(const std::string& programFolder) {
    std::string folders;
    for (const std::string& folder : DataSearchFolders(programFolder)) {
        if (!folders.empty())
            folders += ", ";
        folders += IsValidUtf8(folder) ? Cp1252FromUtf8(folder) : folder;
    }
    return T("Die Datei \"Krawlix.bfres\" wurde nicht gefunden. Gesucht in: ") + folders +
           T(" (jeweils auch in den Unterordnern Resources, Krawlix und Krawlix/Resources).");
}

} // namespace

void CGameShell::SoundRouter::PlaySound(const std::string& name) {
    if (observer)
        observer->PlaySound(name);
    if (resources)
        resources->PlaySound(name);
}

CGameShell::CGameShell(IGameHost& host, CWaveOutDevice* device)
    : host(host), device(device), resources(archive), game(&sound) {
    sound.resources = &resources;
    game.SetViewSize(kClientSize, kClientSize);
    surface.SetFontTable(&fonts);
    levelList.reserve(64);
    resources.SetFailureReporter(
        [this](const std::string& text) { this->host.ShowMessageBox(text, MessageIcon::Error); });
}

CGameShell::~CGameShell() {
    resources.ShutDownSound();
}

void CGameShell::SetProgramFolder(const std::string& folder) {
    programFolder = AppendBackslash(folder);
}

void CGameShell::SetDocumentsFolder(const std::string& folder) {
    documentsFolder = folder;
}

LevelSources CGameShell::Sources() const {
    LevelSources sources;
    sources.programFolder = programFolder ? *programFolder : GetModuleDirectory();
    sources.documentsFolder = documentsFolder ? *documentsFolder : GetDocumentsDirectory();
    sources.archive = &archive;
    return sources;
}

void CGameShell::ParseCommandLine(const std::string& commandLine) {
    parameters.Parse(commandLine);
}

bool CGameShell::Initialize() {
    try {
        return LoadResources();
    } catch (const CTBException& error) {
        // Without the archive the first thing missed is a font, whose name says nothing.
        host.ShowMessageBox(archive.GetPath().empty() ? MissingArchiveText(Sources().programFolder)
                                                      : error.GetErrorText(),
                            MessageIcon::Error);
        return false;
    }
}

void CGameShell::LoadCommandLineTapes() {
    levelTapes.assign(parameters.GetLevelFiles().size(), std::nullopt);
    tapeProblems.assign(levelTapes.size(), std::string());
    for (size_t i = 0; i < levelTapes.size(); ++i) {
        const std::string path = parameters.GetTapeFile(i);
        if (path.empty())
            continue;
        Tape tape;
        std::string error;
        if (ReadTapeFile(path, tape, error)) {
            levelTapes[i] = std::move(tape);
            continue;
        }
        tapeProblems[i] = T("Die Aufnahme »") + Cp1252FromUtf8(path) +
                          T("« konnte nicht gelesen werden: ") + Cp1252FromUtf8(error) +
                          T(" Die Ebene läuft ohne sie.");
        std::fprintf(stderr, "Krawlix: %s\n", Utf8FromCp1252(tapeProblems[i]).c_str());
    }
}

bool CGameShell::LoadResources() {
    scene.Invalidate();
    LevelSources sources = Sources();
    archive.LoadArchive(sources.programFolder, "Krawlix");
    fonts.SetSearchBase(sources.programFolder);
    fonts.LoadFonts(&archive);

    game.Random().Seed(fixedSeed ? *fixedSeed : static_cast<uint64_t>(std::time(nullptr)));

    levelList = BuildLevelList(parameters.GetLevelFiles(), sources);
    if (levelList.empty()) {
        host.ShowMessageBox("Keine Level gefunden", MessageIcon::None);
        return false;
    }

    game.lastGame = host.GetProfileInt("LastGame", "Level", 0);
    records.Load(host.GetProfileSection(kRecordsSection));
    LoadCommandLineTapes();

    uint64_t frequency = host.QueryCounterFrequency();
    if (frequency == 0) {
        host.ShowMessageBox("System Timer not found.", MessageIcon::Error);
        return false;
    }
    // The counter only has to exist: the rules run on the level clock (see Tick).
    game.counterFrequency = kHeadlessFrequency;

    resources.SetDataFolder(sources.programFolder);
    if (!resources.LoadSpriteSheets())
        return false;
    return resources.OpenSound(device);
}

void CGameShell::InitWindow() {
    if (!parameters.GetLevelFiles().empty()) {
        SetLevel(1);
        return;
    }
    SetLevel(0);
    ShowMainMenu();
}

void CGameShell::PressReplayKeys() {
    if (!replay)
        return;
    // As headless play does: a key belongs to the first timer step at or after its time.
    while (replayNext < replay->keys.size() &&
           StepOfMs(replay->keys[replayNext].timeMs) <= attemptSteps) {
        const KeyPress& press = replay->keys[replayNext++];
        if (PressKey(game, press.key) && !attemptEnd)
            attemptKeys.push_back(press);
    }
}

void CGameShell::Tick() {
    if (std::optional<Hint> answer = hintSearch.Poll()) {
        hint = answer;
        game.RequestRedraw();
    }
    if (pause == PauseKind::None) {
        PressReplayKeys();
        // The level clock: the rules see the attempt's level time, 10 ms a step, on the
        // headless scale, so that its tape, a rewind and the solver meet the same play as it.
        const PlayResult result =
            game.TimerStep(game.MsToTicks(kHeadlessStartMs + attemptSteps * kTimerStepMs));
        if (result != PlayResult::Running && !attemptEnd) {
            attemptEnd = result;
            attemptEndMs = attemptSteps * kTimerStepMs;
        }
        ++attemptSteps;
    } else {
        game.UpdateView(); // to the rewound head
    }
    if (!notice.empty() && --noticeSteps == 0) {
        notice.clear();
        game.RequestRedraw();
    }
    CheckLevelEnd();
    if (game.redrawPending) {
        game.redrawPending = false;
        if (PictureWouldChange())
            host.RepaintNow();
        else
            ++skippedRepaints;
    }
}

bool CGameShell::PictureWouldChange() const {
    return game.sceneChanged || ViewMovedFromPainted(game);
}

bool CGameShell::ViewMovedFromPainted(const CGame& state) const {
    return !painted || ViewPixel(state.viewX) - painted->width / 2 != painted->offsetX ||
           ViewPixel(state.viewY) - painted->height / 2 != painted->offsetY;
}

uint64_t CGameShell::StepsUntilPictureChanges(uint64_t limit) const {
    // What Tick would act on but cannot be foreseen: a picture not yet painted, a hint that
    // may answer any moment, the end of the level about to be shown.
    if (limit <= 1 || game.sceneChanged || game.redrawPending || !painted ||
        hintSearch.IsRunning() || (!menu.IsOpen() && game.play.worms.empty() && !game.endShown))
        return 1;
    // The look ahead copies the play state (21 bytes a cell) for each picture; beyond 128 x 128
    // cells waking every step costs less.
    constexpr int64_t kLookAheadMaxCells = 128 * 128;
    if (static_cast<int64_t>(game.play.field.width) * game.play.field.height > kLookAheadMaxCells)
        return 1;
    uint64_t steps = limit;
    if (!notice.empty())
        steps = std::min(steps, std::max<uint64_t>(noticeSteps, 1));
    if (pause == PauseKind::None && replay && replayNext < replay->keys.size()) {
        const uint64_t due = StepOfMs(replay->keys[replayNext].timeMs);
        steps = std::min(steps, due > attemptSteps ? due - attemptSteps + 1 : 1);
    }
    // A sound belongs to its step's moment, so a step that plays one is not waited for.
    struct SoundSeen : ISoundOutput {
        void PlaySound(const std::string&) override { played = true; }
        bool played = false;
    } soundSeen;
    CGame ahead(&soundSeen);
    ahead.CopyStateFrom(game);
    for (uint64_t step = 1; step < steps; ++step) {
        if (pause == PauseKind::None) {
            const uint64_t ms = kHeadlessStartMs + (attemptSteps + step - 1) * kTimerStepMs;
            if (ahead.TimerStep(ahead.MsToTicks(ms)) != PlayResult::Running && !attemptEnd)
                return step;
        } else {
            ahead.UpdateView();
        }
        if (soundSeen.played || ahead.sceneChanged ||
            (!menu.IsOpen() && ahead.play.worms.empty() && !ahead.endShown))
            return step;
        if (ahead.redrawPending) {
            if (ViewMovedFromPainted(ahead))
                return step;
            ahead.redrawPending = false;
        }
    }
    return steps;
}

void CGameShell::DrawCornCounter() {
    const CImageList24& sprites = resources.GetTransparentSprites();
    int32_t left = game.play.cornLeft;
    int32_t x = 4;
    int32_t y = surface.GetHeight() - 34;
    // Beyond what fits on any screen more icons change nothing.
    int32_t maxIcons = surface.GetWidth() / 11 + 1;
    auto row = [&](int32_t unit, int32_t sprite, int32_t step) {
        for (int32_t i = 0; left >= unit && i < maxIcons; ++i, left -= unit, x += step)
            sprites.DrawCell(surface, x, y, sprite);
        left %= unit;
    };
    row(100, kSpriteHundredCorn, 25);
    row(10, kSpriteTenCorn, 19);
    row(1, kSpriteOneCorn, 11);
}

const CDrawDevice24& CGameShell::Paint(int32_t width, int32_t height) {
    paintedAreas.clear();
    if (!surface.Create(width, height))
        return surface;
    int32_t offsetX = ViewPixel(game.viewX) - width / 2;
    int32_t offsetY = ViewPixel(game.viewY) - height / 2;
    painted = PaintedView{width, height, offsetX, offsetY};
    game.sceneChanged = false;
    const bool whole = scene.Update(game.play.field, background, resources.GetOpaqueSprites(),
                                    resources.GetTransparentSprites(), width, height, offsetX,
                                    offsetY, paintedAreas);
    // Without the picture's pixels the cells cannot be shown; the old ones must not be.
    if (!scene.Picture().HasPixels())
        surface.Clear(0x000000);
    overlays.Clear();
    if (whole) {
        surface.CopyArea(scene.Picture(), {0, 0, width, height});
        surface.SetDrawLog(&overlays, true);
        DrawOverlays(offsetX, offsetY);
        surface.SetDrawLog(nullptr);
        paintedAreas.assign(1, SurfaceRect{0, 0, width, height});
        std::swap(paintedOverlays, overlays);
        return surface;
    }
    // The overlays are first only logged: where their calls are those of the last paint,
    // they need drawing again only over the cells that changed.
    const CDrawDevice24::TextState text = surface.GetTextState();
    surface.SetDrawLog(&overlays);
    DrawOverlays(offsetX, offsetY);
    surface.SetDrawLog(nullptr);
    if (const std::optional<SurfaceRect> calls = ChangedCallsArea(paintedOverlays, overlays))
        paintedAreas.push_back(*calls);
    // Past many areas one around them all costs less than drawing the overlays for each.
    constexpr size_t kMostAreas = 64;
    if (paintedAreas.size() > kMostAreas)
        paintedAreas.assign(1, BoundsOf(paintedAreas));
    // Each area is made anew from the cells, then the overlays are drawn clipped to it.
    for (const SurfaceRect& area : paintedAreas) {
        surface.CopyArea(scene.Picture(), area);
        // Most changed cells lie where no overlay draws.
        if (std::none_of(overlays.calls.begin(), overlays.calls.end(),
                         [&](const DrawCall& call) { return Meet(call.area, area); }))
            continue;
        surface.SetClip(area);
        surface.SetTextState(text);
        DrawOverlays(offsetX, offsetY);
    }
    surface.ResetClip();
    std::swap(paintedOverlays, overlays);
    return surface;
}

void CGameShell::DrawOverlays(int32_t offsetX, int32_t offsetY) {
    if (game.play.cornLeft > 0)
        DrawCornCounter();
    DrawPauseAndHint(offsetX, offsetY);
    menu.Draw(surface, resources.GetTransparentSprites());
    panel.Draw(surface, resources.GetOpaqueSprites(), resources.GetTransparentSprites());
}

void CGameShell::OnKeyDown(PlayKey key) {
    if (key != PlayKey::Tab) {
        if (panel.IsVisible())
            return;
        if (menu.IsOpen()) {
            if (key == PlayKey::Up)
                menu.SelectPrevious();
            else if (key == PlayKey::Down)
                menu.SelectNext();
            else
                return;
            game.RequestRedraw();
            return;
        }
    }
    // A replay steers alone.
    if (replay)
        return;
    // A key belongs to the next timer step, as in headless play; after the level's end it
    // reaches nothing that a replay would play. The state before it is a rewind point.
    const bool counts = !attemptEnd && !game.play.notInLevel && !rewindPoints.empty();
    if (counts)
        rewindPoints.push_back({game.play, attemptSteps, attemptKeys.size()});
    if (PressKey(game, key) && !attemptEnd) {
        attemptKeys.push_back({attemptSteps * kTimerStepMs, key});
        if (counts)
            Checkpoint();
    } else if (counts) {
        rewindPoints.pop_back();
    }
    // A steering key ends a pause and counts at once.
    if (!menu.IsOpen() && !panel.IsVisible())
        Resume();
}

Tape CGameShell::AttemptTape() const {
    Tape tape;
    tape.seed = attemptSeed;
    tape.keys = attemptKeys;
    if (attemptEnd) {
        tape.untilMs = attemptEndMs;
        tape.expect = PlayResultName(*attemptEnd);
    } else {
        tape.untilMs = attemptSteps > 0 ? (attemptSteps - 1) * kTimerStepMs : 0;
        tape.expect = PlayResultName(PlayResult::Running);
    }
    return tape;
}

void CGameShell::OnMenuKey(MenuKey key) {
    if (panel.IsVisible() || !menu.IsOpen())
        return;
    switch (key) {
    case MenuKey::PageUp:
        menu.SelectPageUp();
        break;
    case MenuKey::PageDown:
        menu.SelectPageDown();
        break;
    case MenuKey::Home:
        menu.SelectFirst();
        break;
    case MenuKey::End:
        menu.SelectLast();
        break;
    }
    game.RequestRedraw();
}

std::optional<LevelRecord> CGameShell::RecordOf(int32_t n) const {
    if (n < 1 || n > LevelCount())
        return std::nullopt;
    return records.Find(LevelTitle(levelList[static_cast<size_t>(n - 1)]));
}

std::string CGameShell::ReplayPathOf(int32_t n) const {
    const std::string home = dataHome ? *dataHome : DefaultDataHome();
    if (home.empty() || n < 1 || n > LevelCount())
        return std::string();
    return ReplayPath(home, LevelTitle(levelList[static_cast<size_t>(n - 1)]));
}

void CGameShell::RecordWin() {
    const Tape tape = AttemptTape();
    if (!IsPlayingLevel() || tape.expect != PlayResultName(PlayResult::Won) || !tape.untilMs)
        return;
    const LevelRecord now{tape.keys.size(), *tape.untilMs};
    const std::string name = LevelTitle(levelList[static_cast<size_t>(game.currentLevel - 1)]);
    const std::optional<LevelRecord> previous = records.Find(name);
    menu.SetNote(WonText(now, previous, replay.has_value()));
    if (replay)
        return;
    const bool better = !previous || Beats(now, *previous);
    if (better) {
        records.Set(name, now);
        host.WriteProfileString(kRecordsSection, RecordEntry(name), FormatRecord(now));
    }
    // The replay of the best play; one that is missing or does not read is replaced by any
    // win, so that every won level keeps one.
    const std::string path = ReplayPathOf(game.currentLevel);
    if (path.empty())
        return;
    Tape kept;
    std::string error;
    if (!better && ReadTapeFile(path, kept, error) && kept.expect == tape.expect)
        return;
    const std::string bytes = FormatTape(tape);
    if (!WriteWholeFile(path, bytes.data(), bytes.size(), &error))
        std::fprintf(
            stderr, "Krawlix: %s\n",
            Utf8FromCp1252(T("Die Aufnahme konnte nicht gespeichert werden: ") + error).c_str());
}

void CGameShell::HidePanel() {
    panel.Hide();
    game.RequestRedraw();
}

void CGameShell::OnOk() {
    if (panel.IsVisible()) {
        HidePanel();
    } else if (menu.IsOpen()) {
        if (auto id = menu.SelectedCommand())
            ExecuteCommand(*id);
    } else {
        Resume();
    }
}

void CGameShell::OnCancel() {
    if (panel.IsVisible()) {
        HidePanel();
    } else if (!menu.IsOpen()) {
        ShowMainMenu();
    } else {
        menu.Close();
        game.RequestRedraw();
    }
}

void CGameShell::OnClick(int32_t x, int32_t y) {
    if (panel.IsVisible()) {
        HidePanel();
    } else if (menu.IsOpen() && menu.Click(x, y)) {
        if (auto id = menu.SelectedCommand())
            ExecuteCommand(*id);
        game.RequestRedraw();
    }
}

void CGameShell::ShowLevelHelp() {
    if (!game.play.field.description.empty())
        ShowText(game.play.field.description);
}

void CGameShell::SaveProgress() {
    if (IsPlayingLevel())
        host.WriteProfileInt("LastGame", "Level", game.currentLevel);
}

} // namespace kx
