// The game window: SDL host calls, the drift-free 10 ms loop, events routed to the shell.
#include "KrawlixDlg.h"

#include <time.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>

#include "TickSchedule.h"
#include "WindowIcon.h"
#include "WindowManager.h"
#include "storage/TextCodec.h"

namespace kx {

namespace {

// A gamepad plugged in shows up within a fifth of a second.
constexpr uint64_t kStepsBetweenPadSearches = 20;
// What SDL keeps to itself (a signal's quit, its delayed focus changes) waits at most a fifth
// of a second.
constexpr uint32_t kStepsBetweenPumps = 20;

// The program's start as near as the code sees it: before main, when the statics are made.
const std::chrono::steady_clock::time_point kProgramStart = std::chrono::steady_clock::now();

double SecondsSinceStart() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - kProgramStart).count();
}

double ThreadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

} // namespace

CKrawlixDlg::CKrawlixDlg(const std::string& profilePath, bool video)
    : profilePath(profilePath), video(video), frequency(SDL_GetPerformanceFrequency()) {
    if (!profilePath.empty()) {
        // A profile that cannot be read is somebody else's file: it is never overwritten.
        profileWritable = profile.Load(profilePath) != CProfileFile::LoadResult::Unreadable;
    }
}

CKrawlixDlg::~CKrawlixDlg() = default;

void CKrawlixDlg::Attach(CGameShell& gameShell, CSdlWaveOutDevice& soundDevice) {
    shell = &gameShell;
    device = &soundDevice;
}

int32_t CKrawlixDlg::LargestZoom() const {
    const int display = window ? SDL_GetWindowDisplayIndex(window.get()) : 0;
    SDL_Rect usable{};
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable) != 0) {
        return 1;
    }
    int top = 0;
    int left = 0;
    int bottom = 0;
    int right = 0;
    if (!window || SDL_GetWindowBordersSize(window.get(), &top, &left, &bottom, &right) != 0) {
        top = left = bottom = right = 0;
    }
    return LargestFittingZoom(usable.w, usable.h, left + right, top + bottom, kClientSize,
                              kClientSize);
}

bool CKrawlixDlg::Create() {
    if (!video || shell == nullptr) {
        return false;
    }
    settings = ReadWindowSettings(*this);
    float dpi = 0;
    const bool highDensity =
        SDL_GetDisplayDPI(0, &dpi, nullptr, nullptr) == 0 && dpi >= kHighDensityDpi;
    settings.zoom = StartingZoom(settings.zoom, highDensity, LargestZoom());
    const Uint32 flags = SDL_WINDOW_HIDDEN | SDL_WINDOW_RESIZABLE;
    window.reset(SDL_CreateWindow(Utf8FromCp1252(title).c_str(), SDL_WINDOWPOS_CENTERED,
                                  SDL_WINDOWPOS_CENTERED, kClientSize * settings.zoom,
                                  kClientSize * settings.zoom, flags));
    if (!window || !picture.Create(window.get(), settings.zoom == 1 && !settings.fullscreen)) {
        return false;
    }
    TakeRefreshRate();
    xinput.Attach(window.get());
    SDL_SetWindowMinimumSize(window.get(), kClientSize, kClientSize);
    if (settings.fullscreen) {
        ApplyFullscreen();
    }
    IconPixels icon = MakeIconPixels(shell->Resources().GetTransparentSprites(), kIconSprite);
    if (!icon.argb.empty()) {
        SDL_Surface* surface =
            SDL_CreateRGBSurfaceWithFormatFrom(icon.argb.data(), icon.width, icon.height, 32,
                                               icon.width * 4, SDL_PIXELFORMAT_ARGB8888);
        if (surface != nullptr) {
            SDL_SetWindowIcon(window.get(), surface);
            SDL_FreeSurface(surface);
        }
    }
    device->SetMuted(settings.muted);
    shell->InitWindow();
    return true;
}

void CKrawlixDlg::SetWindowTitle(const std::string& text) {
    title = text;
    if (window) {
        SDL_SetWindowTitle(window.get(), Utf8FromCp1252(text).c_str());
    }
}

void CKrawlixDlg::RepaintNow() {
    repaintWanted = true;
    ++stats.repaintRequests;
}

void CKrawlixDlg::ShowPicture(uint64_t now) {
    // A minimised window shows nothing; what it was asked for waits until it is restored,
    // looked at once a refresh.
    presentGate.Presented(now);
    if (!window || shell == nullptr ||
        (SDL_GetWindowFlags(window.get()) & SDL_WINDOW_MINIMIZED) != 0) {
        return;
    }
    const bool compose = repaintWanted;
    repaintWanted = false;
    presentWanted = false;
    const double cpu0 = ThreadCpuSeconds();
    bool uploaded = true;
    if (compose) {
        const CDrawDevice24& frame = shell->Paint(kClientSize, kClientSize);
        const double cpu1 = ThreadCpuSeconds();
        uploaded = picture.Upload(frame, shell->PaintedAreas());
        const double cpu2 = ThreadCpuSeconds();
        stats.uploadedPixels += picture.LastUploadPixels();
        stats.wholeUploads += picture.LastUploadWhole() ? 1 : 0;
        if (stats.repaints > 0) {
            stats.composeCpuSeconds += cpu1 - cpu0;
            stats.uploadCpuSeconds += cpu2 - cpu1;
        }
    }
    const double cpu2 = ThreadCpuSeconds();
    if (uploaded) {
        picture.Present();
        // Its round trip may have left events in Xlib's buffers, where no poll sees them.
        pumpNext = true;
        if (stats.presents++ == 0) {
            stats.firstPictureSeconds = SecondsSinceStart();
        }
    }
    if (!compose) {
        return;
    }
    const double cpu3 = ThreadCpuSeconds();
    const double seconds =
        static_cast<double>(SDL_GetPerformanceCounter() - now) / static_cast<double>(frequency);
    if (stats.repaints++ == 0) {
        stats.firstRepaintSeconds = seconds;
        return;
    }
    stats.repaintSeconds += seconds;
    stats.repaintMaxSeconds = std::max(stats.repaintMaxSeconds, seconds);
    stats.presentCpuSeconds += cpu3 - cpu2;
}

void CKrawlixDlg::TakeRefreshRate() {
    SDL_DisplayMode mode{};
    const int display = window ? SDL_GetWindowDisplayIndex(window.get()) : 0;
    stats.refreshRate =
        SDL_GetCurrentDisplayMode(display < 0 ? 0 : display, &mode) == 0 ? mode.refresh_rate : 0;
    presentGate.SetPeriod(RefreshPeriod(frequency, stats.refreshRate));
}

void CKrawlixDlg::ShowMessageBox(const std::string& text, MessageIcon icon) {
    const std::string utf8 = Utf8FromCp1252(text);
    Uint32 flags = 0;
    switch (icon) {
    case MessageIcon::Error:
        flags = SDL_MESSAGEBOX_ERROR;
        break;
    case MessageIcon::Warning:
        flags = SDL_MESSAGEBOX_WARNING;
        break;
    case MessageIcon::Information:
        flags = SDL_MESSAGEBOX_INFORMATION;
        break;
    case MessageIcon::None:
        break;
    }
    pumpNext = true;
    if (video && SDL_ShowSimpleMessageBox(flags, "Krawlix", utf8.c_str(), window.get()) == 0) {
        return;
    }
    std::fprintf(stderr, "Krawlix: %s\n", utf8.c_str());
}

void CKrawlixDlg::OpenWebAddress(const std::string& address) {
    // A failure is not reported: the menu goes on as if the page had opened.
    SDL_OpenURL(address.c_str());
}

int32_t CKrawlixDlg::GetProfileInt(const std::string& section, const std::string& entry,
                                   int32_t defaultValue) {
    return profile.GetInt(section, entry, defaultValue);
}

void CKrawlixDlg::WriteProfileInt(const std::string& section, const std::string& entry,
                                  int32_t value) {
    profile.SetInt(section, entry, value);
    SaveProfile();
}

std::vector<std::pair<std::string, std::string>>
CKrawlixDlg::GetProfileSection(const std::string& section) {
    return profile.SectionEntries(section);
}

void CKrawlixDlg::WriteProfileString(const std::string& section, const std::string& entry,
                                     const std::string& value) {
    profile.SetString(section, entry, value);
    SaveProfile();
}

void CKrawlixDlg::SaveProfile() {
    // A failed write leaves the file as it was; the values stay in memory for the next one.
    if (!profilePath.empty() && profileWritable && !profile.Save(profilePath)) {
        std::fprintf(
            stderr, "Krawlix: %s\n",
            Utf8FromCp1252(T("Die Einstellungen konnten nicht gespeichert werden: ") + profilePath)
                .c_str());
    }
}

uint64_t CKrawlixDlg::QueryCounter() {
    return SDL_GetPerformanceCounter();
}

uint64_t CKrawlixDlg::QueryCounterFrequency() {
    return frequency;
}

uint64_t CKrawlixDlg::NowMs() const {
    return SDL_GetPerformanceCounter() / (frequency / 1000 > 0 ? frequency / 1000 : 1);
}

void CKrawlixDlg::RunModal() {
    if (!window || shell == nullptr) {
        return;
    }
    SDL_ShowWindow(window.get());
    NoteStartUp("window_shown");
    RepaintNow();
    const uint64_t period = (frequency * kTickIntervalMs + 500) / 1000;
    CTickSchedule schedule(SDL_GetPerformanceCounter() + period, period);
    const double cpuStart = ThreadCpuSeconds();
    const uint64_t loopStart = SDL_GetPerformanceCounter();
    uint64_t stepsUntilPadSearch = 0;
    // Steps whose deadlines lie before stepsFrom run when it comes, all at once: nothing of
    // them would show before, and no input came meanwhile (its arrival wakes the loop, which
    // then runs the steps it had let wait and takes the input at the next deadline, as ever).
    uint64_t stepsFrom = 0;
    uint64_t lateUntil = 0;
    const auto planSteps = [&] {
        const bool inputMayWait = xinput.MayHaveEvents() ||
                                  SDL_HasEvents(SDL_FIRSTEVENT, SDL_LASTEVENT) == SDL_TRUE ||
                                  gamepads.HasPads();
        // No further than the pump interval, so that what SDL keeps to itself waits no longer.
        const uint64_t ahead =
            inputMayWait ? 1 : shell->StepsUntilPictureChanges(kStepsBetweenPumps);
        stepsFrom = lateUntil = schedule.GetDeadline() + (ahead - 1) * period;
    };
    while (!quitPosted) {
        const uint64_t now = SDL_GetPerformanceCounter();
        const LoopAction action =
            NextLoopAction(schedule, presentGate, repaintWanted || presentWanted, now, stepsFrom);
        switch (action.kind) {
        case LoopAction::Kind::Step:
            while (schedule.GetDeadline() < lateUntil && schedule.IsDue(now) && !quitPosted) {
                Step(stepsUntilPadSearch, false);
                schedule.AdvanceOne();
            }
            if (schedule.IsDue(now) && !quitPosted) {
                Step(stepsUntilPadSearch, true);
                schedule.Advance(now);
            }
            planSteps();
            break;
        case LoopAction::Kind::Present:
            ShowPicture(now);
            planSteps();
            break;
        case LoopAction::Kind::Wait:
            // Input waits for the step: its handlers only ask for a repaint, which comes with
            // the next present, so nothing shows earlier if it is handled earlier.
            ++stats.sleeps;
            xinput.Sleep(static_cast<int64_t>((action.until - now) * 1000000000 / frequency));
            if (xinput.WokenByConnection()) {
                stepsFrom = 0;
            }
            break;
        }
    }
    stats.loopCpuSeconds = ThreadCpuSeconds() - cpuStart;
    stats.loopSeconds = static_cast<double>(SDL_GetPerformanceCounter() - loopStart) /
                        static_cast<double>(frequency);
}

void CKrawlixDlg::Step(uint64_t& stepsUntilPadSearch, bool takeInput) {
    // Asking the X server costs more than the rest of a step in which nothing happens: it is
    // asked when the connection has something, on the step after anything that may have read
    // events into Xlib's buffers unseen (a present, input handled) and now and then. A step
    // run late for its predecessors' sake takes none: what came, came after it.
    if (takeInput) {
        if (pumpNext || stepsUntilPump == 0 || xinput.MayHaveEvents()) {
            SDL_PumpEvents();
            xinput.Taken();
            stepsUntilPump = kStepsBetweenPumps;
        }
        pumpNext = false;
        // Gamepads are read here (their automatic update is off, see CSdlSession): every
        // step while one is plugged in, else a look for new ones now and then.
        if (gamepads.HasPads() || stepsUntilPadSearch == 0) {
            SDL_GameControllerUpdate();
            stepsUntilPadSearch = kStepsBetweenPadSearches;
        }
        pumpNext = HandleQueuedEvents();
        const InputAction padPress = gamepads.PollDirection(NowMs());
        if (padPress != InputAction::None) {
            Perform(padPress);
            pumpNext = true;
        }
    }
    stepsUntilPump -= stepsUntilPump > 0 ? 1 : 0;
    stepsUntilPadSearch -= stepsUntilPadSearch > 0 ? 1 : 0;
    if (quitPosted) {
        return;
    }
    shell->Tick();
    // A fifth of a second is soon enough to give back a sound device gone quiet.
    if (++stats.steps % kStepsBetweenPumps == 0 && device != nullptr) {
        device->ReleaseWhenIdle(NowMs());
    }
}

bool CKrawlixDlg::HandleQueuedEvents() {
    bool any = false;
    SDL_Event event;
    while (!quitPosted &&
           SDL_PeepEvents(&event, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
        HandleEvent(event);
        any = true;
    }
    return any;
}

void CKrawlixDlg::HandleEvent(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        // Only a signal (Ctrl+C, the session ending) gets here, the close button does not:
        // it ends the game as the quit command does, so progress is kept.
        quitPosted = true;
        break;
    case SDL_WINDOWEVENT:
        HandleWindowEvent(event.window);
        break;
    case SDL_KEYDOWN:
        Perform(MapKey(event.key.keysym.sym, event.key.keysym.mod, event.key.repeat != 0));
        break;
    case SDL_MOUSEBUTTONDOWN: {
        // Every press counts, the second of a double click too.
        if (event.button.button != SDL_BUTTON_LEFT || event.button.which == SDL_TOUCH_MOUSEID) {
            break;
        }
        const PicturePoint output =
            picture.WindowToOutput(window.get(), event.button.x, event.button.y);
        if (auto p = MapToPicture(picture.GetViewport(), output.x, output.y)) {
            shell->OnClick(p->x, p->y);
        }
        break;
    }
    default:
        Perform(gamepads.HandleEvent(event));
        break;
    }
}

void CKrawlixDlg::HandleWindowEvent(const SDL_WindowEvent& event) {
    switch (event.event) {
    case SDL_WINDOWEVENT_CLOSE:
        shell->OnCancel();
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        RepaintNow();
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        presentWanted = true;
        break;
    case SDL_WINDOWEVENT_DISPLAY_CHANGED:
        TakeRefreshRate();
        break;
    default:
        break;
    }
}

void CKrawlixDlg::Perform(InputAction action) {
    if (PerformShellAction(*shell, action))
        return;
    switch (action) {
    case InputAction::ToggleFullscreen:
        ToggleFullscreen();
        break;
    case InputAction::ZoomIn:
        ChangeZoom(1);
        break;
    case InputAction::ZoomOut:
        ChangeZoom(-1);
        break;
    case InputAction::ToggleMute:
        settings.muted = !settings.muted;
        device->SetMuted(settings.muted);
        shell->ShowNotice(MuteNotice(settings.muted));
        break;
    default:
        break;
    }
}

void CKrawlixDlg::ToggleFullscreen() {
    TakeShownZoom();
    settings.fullscreen = !settings.fullscreen;
    ApplyFullscreen();
    if (!settings.fullscreen) {
        ApplyWindowedSize();
    }
    RepaintNow();
}

void CKrawlixDlg::ApplyFullscreen() {
    if (!ownFullscreen && !RunsWithoutWindowManager(window.get())) {
        SDL_SetWindowFullscreen(window.get(),
                                settings.fullscreen ? SDL_WINDOW_FULLSCREEN_DESKTOP : 0);
        return;
    }
    // Nothing grants fullscreen here, so the window itself covers its display.
    const int display = std::max(0, SDL_GetWindowDisplayIndex(window.get()));
    ownFullscreen = settings.fullscreen;
    SDL_SetWindowBordered(window.get(), settings.fullscreen ? SDL_FALSE : SDL_TRUE);
    SDL_Rect bounds{};
    if (settings.fullscreen && SDL_GetDisplayBounds(display, &bounds) == 0) {
        SDL_SetWindowPosition(window.get(), bounds.x, bounds.y);
        SDL_SetWindowSize(window.get(), bounds.w, bounds.h);
    } else if (!settings.fullscreen) {
        const int size = kClientSize * settings.zoom;
        SDL_SetWindowSize(window.get(), size, size);
        SDL_SetWindowPosition(window.get(), SDL_WINDOWPOS_CENTERED_DISPLAY(display),
                              SDL_WINDOWPOS_CENTERED_DISPLAY(display));
    }
}

// A window resized by hand has the zoom it shows.
void CKrawlixDlg::TakeShownZoom() {
    if (!window || settings.fullscreen) {
        return;
    }
    int width = 0;
    int height = 0;
    SDL_GetWindowSize(window.get(), &width, &height);
    settings.zoom = FitPicture(width, height, kClientSize, kClientSize).scale;
}

void CKrawlixDlg::ChangeZoom(int32_t step) {
    TakeShownZoom();
    settings.zoom = StepZoom(settings.zoom, step, LargestZoom());
    // In fullscreen the picture already fills the screen; the zoom waits for the window.
    if (!settings.fullscreen) {
        ApplyWindowedSize();
        RepaintNow();
    }
}

void CKrawlixDlg::ApplyWindowedSize() {
    const int size = kClientSize * settings.zoom;
    SDL_SetWindowSize(window.get(), size, size);
    // A window grown past the screen's edge moves back onto the screen.
    SDL_Rect usable{};
    const int display = SDL_GetWindowDisplayIndex(window.get());
    if (SDL_GetDisplayUsableBounds(display < 0 ? 0 : display, &usable) != 0) {
        return;
    }
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(window.get(), &x, &y);
    const int newX = std::max(usable.x, std::min(x, usable.x + usable.w - size));
    const int newY = std::max(usable.y, std::min(y, usable.y + usable.h - size));
    if (newX != x || newY != y) {
        SDL_SetWindowPosition(window.get(), newX, newY);
    }
}

void CKrawlixDlg::SaveSettings() {
    if (window) {
        TakeShownZoom();
        WriteWindowSettings(*this, settings);
    }
}

void CKrawlixDlg::NoteStartUp(const std::string& what) {
    stats.startUp.emplace_back(what, SecondsSinceStart());
}

void CKrawlixDlg::WriteStats() const {
    const char* path = std::getenv("KRAWLIX_STATS");
    if (path == nullptr || path[0] == '\0') {
        return;
    }
    std::ofstream out(path);
    out << "steps=" << stats.steps << "\n"
        << "repaint_requests=" << stats.repaintRequests << "\n"
        << "skipped_repaints=" << (shell != nullptr ? shell->SkippedRepaints() : 0) << "\n"
        << "repaints=" << stats.repaints << "\n"
        << "presents=" << stats.presents << "\n"
        << "sleeps=" << stats.sleeps << "\n"
        << "whole_uploads=" << stats.wholeUploads << "\n"
        << "uploaded_pixels=" << stats.uploadedPixels << "\n"
        << "refresh_hz=" << stats.refreshRate << "\n"
        << "renderer=" << picture.RendererName() << "\n"
        << "loop_seconds=" << stats.loopSeconds << "\n"
        << "first_picture_seconds=" << stats.firstPictureSeconds << "\n";
    for (const auto& [what, seconds] : stats.startUp) {
        out << "start_" << what << "_seconds=" << seconds << "\n";
    }
    out << "first_repaint_seconds=" << stats.firstRepaintSeconds << "\n"
        << "repaint_seconds=" << stats.repaintSeconds << "\n"
        << "repaint_max_seconds=" << stats.repaintMaxSeconds << "\n"
        << "compose_cpu_seconds=" << stats.composeCpuSeconds << "\n"
        << "upload_cpu_seconds=" << stats.uploadCpuSeconds << "\n"
        << "present_cpu_seconds=" << stats.presentCpuSeconds << "\n"
        << "loop_cpu_seconds=" << stats.loopCpuSeconds << "\n";
}

} // namespace kx
