// The page's entry points: start-up, the test mode, input from the HTML5 events, the frame loop.
#include <emscripten.h>
#include <emscripten/html5.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "WebGamepad.h"
#include "WebHost.h"
#include "game/CommandLineJoin.h"
#include "game/HeadlessHost.h"
#include "game/ShotScript.h"
#include "storage/OutputFile.h"
#include "storage/TextCodec.h"

namespace kx {
namespace {

// clang-format off
EM_JS(void, JsSetTitleUtf8, (const char* utf8), { Module.kxPage.setTitle(UTF8ToString(utf8)); });
EM_JS(void, JsMessageUtf8, (const char* utf8), { Module.kxPage.showMessage(UTF8ToString(utf8)); });
EM_JS(void, JsFirstPicture, (), { Module.kxPage.firstPicture(); });
// clang-format on

constexpr const char* kCanvas = "#canvas";
// A touch that moves this far (in CSS pixels) is a swipe, else a tap.
constexpr double kSwipeDistance = 24.0;

std::unique_ptr<CWebHost> host;
CWebGamepads gamepads;
double touchStartX = 0;
double touchStartY = 0;
bool touchActive = false;

WebAction ActionOfKey(const EmscriptenKeyboardEvent& e) {
    const std::string key = e.key;
    if (key == "ArrowUp")
        return WebAction::Up;
    if (key == "ArrowDown")
        return WebAction::Down;
    if (key == "ArrowLeft")
        return WebAction::Left;
    if (key == "ArrowRight")
        return WebAction::Right;
    if (key == "Tab")
        return WebAction::Tab;
    // The cursor keys, TAB, the page keys and Backspace act on every repeat, the rest once.
    if (key == "PageUp")
        return WebAction::MenuPageUp;
    if (key == "PageDown")
        return WebAction::MenuPageDown;
    if (key == "Backspace")
        return WebAction::Rewind;
    if (e.repeat)
        return WebAction::None;
    if (key == "Enter")
        return WebAction::Ok;
    if (key == "Escape")
        return WebAction::Cancel;
    if (key == "F1")
        return WebAction::Help;
    if (key == "Home")
        return WebAction::MenuHome;
    if (key == "End")
        return WebAction::MenuEnd;
    if (key == " ")
        return WebAction::Resume;
    if (e.ctrlKey || e.altKey || e.metaKey)
        return WebAction::None;
    if (key == "m" || key == "M")
        return WebAction::ToggleMute;
    if (key == "r" || key == "R")
        return WebAction::Restart;
    if (key == "h" || key == "H")
        return WebAction::Hint;
    return WebAction::None;
}

EM_BOOL OnKey(int, const EmscriptenKeyboardEvent* e, void*) {
    const WebAction action = ActionOfKey(*e);
    if (action == WebAction::None)
        return EM_FALSE;
    if (host)
        host->Perform(action);
    return EM_TRUE; // no scrolling, no focus change, no browser help
}

// A point of the canvas in CSS pixels to the 650 × 650 picture.
void ClickAt(double cssX, double cssY) {
    double width = 0;
    double height = 0;
    if (!host ||
        emscripten_get_element_css_size(kCanvas, &width, &height) != EMSCRIPTEN_RESULT_SUCCESS ||
        width <= 0 || height <= 0)
        return;
    const double x = cssX * kClientSize / width;
    const double y = cssY * kClientSize / height;
    if (x >= 0 && y >= 0 && x < kClientSize && y < kClientSize)
        host->Click(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

EM_BOOL OnMouseDown(int, const EmscriptenMouseEvent* e, void*) {
    if (e->button != 0)
        return EM_FALSE;
    ClickAt(e->targetX, e->targetY);
    return EM_TRUE;
}

EM_BOOL OnTouchStart(int, const EmscriptenTouchEvent* e, void*) {
    if (e->numTouches < 1)
        return EM_FALSE;
    touchActive = e->numTouches == 1;
    touchStartX = e->touches[0].targetX;
    touchStartY = e->touches[0].targetY;
    return EM_TRUE;
}

EM_BOOL OnTouchEnd(int, const EmscriptenTouchEvent* e, void*) {
    if (!touchActive || e->numTouches < 1)
        return EM_TRUE;
    touchActive = false;
    const EmscriptenTouchPoint* p = nullptr;
    for (int i = 0; i < e->numTouches; ++i)
        if (e->touches[i].isChanged)
            p = &e->touches[i];
    if (p == nullptr)
        return EM_TRUE;
    const double dx = p->targetX - touchStartX;
    const double dy = p->targetY - touchStartY;
    if (std::hypot(dx, dy) < kSwipeDistance) {
        ClickAt(touchStartX, touchStartY);
    } else if (host) {
        host->Perform(std::abs(dx) > std::abs(dy) ? (dx > 0 ? WebAction::Right : WebAction::Left)
                                                  : (dy > 0 ? WebAction::Down : WebAction::Up));
    }
    return EM_TRUE; // no emulated mouse click after the touch
}

EM_BOOL OnFrame(double timeMs, void*) {
    if (!host || !host->IsRunning())
        return EM_FALSE;
    for (WebAction action : gamepads.Poll(timeMs))
        host->Perform(action);
    host->Frame(emscripten_get_now());
    return host->IsRunning() ? EM_TRUE : EM_FALSE;
}

void ListenOnce() {
    static bool listening = false;
    if (listening)
        return;
    listening = true;
    emscripten_set_keydown_callback(EMSCRIPTEN_EVENT_TARGET_DOCUMENT, nullptr, EM_TRUE, OnKey);
    emscripten_set_mousedown_callback(kCanvas, nullptr, EM_TRUE, OnMouseDown);
    emscripten_set_touchstart_callback(kCanvas, nullptr, EM_TRUE, OnTouchStart);
    emscripten_set_touchend_callback(kCanvas, nullptr, EM_TRUE, OnTouchEnd);
}

void StartLoop() {
    ListenOnce();
    emscripten_request_animation_frame_loop(OnFrame, nullptr);
}

} // namespace
} // namespace kx

using namespace kx;

extern "C" {

// Puts a file of the page (the archive, a dropped level) into the module's file system.
EMSCRIPTEN_KEEPALIVE int kx_web_put_file(const char* path, const uint8_t* bytes, int size) {
    return WriteWholeFile(path, bytes, static_cast<size_t>(size), nullptr) ? 1 : 0;
}

// The game in real time. profile: what local storage held; level: a built-in level's name or
// empty; levelFile: a level file in the module's file system to play as /level: does, or empty.
EMSCRIPTEN_KEEPALIVE int kx_web_start(const char* profile, const char* level,
                                      const char* levelFile) {
    const bool wasRunning = host && host->IsRunning();
    if (!host)
        host = std::make_unique<CWebHost>(profile);
    std::string commandLine;
    if (levelFile[0] != '\0')
        commandLine = JoinCommandLine({"/level:" + std::string(levelFile)});
    if (!host->Start(commandLine, level))
        return 0;
    JsFirstPicture();
    if (!wasRunning)
        StartLoop();
    return 1;
}

// The test mode: the shell on a virtual clock exactly as `krawlix-tool shot --seed N --keys
// SCRIPT --at MS` runs it (no profile, no documents folder), that frame on the canvas.
EMSCRIPTEN_KEEPALIVE int kx_web_test(double seed, const char* keys, double at) {
    std::vector<ShotKey> script;
    std::string error;
    if (!ParseShotKeys(keys, script, error)) {
        JsMessageUtf8(error.c_str());
        return 0;
    }
    CHeadlessHost headless;
    CGameShell shell(headless, nullptr);
    headless.SetRepaintHandler([&shell] { shell.Paint(kClientSize, kClientSize); });
    shell.SetProgramFolder(kWebProgramFolder);
    shell.SetDocumentsFolder("");
    // The address's numbers may be anything: one that is no count (negative, too large, not
    // a number) is not converted, which would be undefined.
    constexpr double kBeyondCounts = 18446744073709551616.0; // 2^64
    shell.SetRandomSeed(seed >= 0 && seed < kBeyondCounts ? static_cast<uint64_t>(seed) : 1);
    headless.SetTimeMs(kHeadlessStartMs);
    int result = 0;
    // A failure inside the run is said on the page instead of ending the module.
    try {
        if (shell.Initialize()) {
            shell.InitWindow();
            const uint64_t last =
                at >= 0 ? static_cast<uint64_t>(std::min(at, static_cast<double>(kMaxPlayMs)))
                        : (script.empty() ? 0 : script.back().timeMs);
            RunShotSteps(
                shell, script, std::min<uint64_t>(last, kMaxPlayMs),
                [&headless](uint64_t ms) { headless.SetTimeMs(ms); },
                [&headless] { return headless.quitPosted; });
            if (headless.quitPosted)
                shell.SaveProgress();
            const CDrawDevice24& frame = shell.Paint(kClientSize, kClientSize);
            ShowOnCanvas(frame, frame.Whole());
            JsSetTitleUtf8(Utf8FromCp1252(shell.WindowTitle()).c_str());
            result = 1;
        }
    } catch (const std::exception& e) {
        JsMessageUtf8(e.what());
    }
    for (const auto& message : headless.messages)
        JsMessageUtf8(Utf8FromCp1252(message.text).c_str());
    JsFirstPicture();
    return result;
}

// For the browser tests: the picture painted last onto the canvas (whole: all of it).
EMSCRIPTEN_KEEPALIVE void kx_web_show(int whole) {
    if (host)
        host->ShowPicture(whole != 0);
}

// Called when the page is hidden or left.
EMSCRIPTEN_KEEPALIVE void kx_web_save() {
    if (host)
        host->SaveProgress();
}

// What the browser tests look at (UTF-8 JSON): the level, the active worm's head, the
// steering keys of the current attempt, the text panel, the pause and the hint's kind.
EMSCRIPTEN_KEEPALIVE const char* kx_web_probe() {
    static std::string json;
    const CGameShell* shell = host ? host->Shell() : nullptr;
    if (shell == nullptr)
        return "null";
    const CGame& game = shell->Game();
    const Worm* worm = game.CurrentWorm();
    json = "{\"level\":" + std::to_string(game.currentLevel) + ",\"head\":";
    json += worm != nullptr && worm->length >= 1
                ? "[" + std::to_string(worm->Head().x) + "," + std::to_string(worm->Head().y) + "]"
                : std::string("null");
    json += ",\"keys\":" + std::to_string(shell->AttemptTape().keys.size());
    json += ",\"panel\":" + std::string(shell->Panel().IsVisible() ? "true" : "false");
    static constexpr const char* kPauses[] = {"none", "rewound", "hint"};
    json += ",\"pause\":\"" + std::string(kPauses[static_cast<int>(shell->Pause())]) + "\"";
    static constexpr const char* kHints[] = {"searching", "key", "no key", "unwinnable", "unknown"};
    const auto& hint = shell->ShownHint();
    json += ",\"hint\":" + (hint ? "\"" + std::string(kHints[static_cast<int>(hint->kind)]) + "\""
                                 : std::string("null"));
    json += ",\"lines\":[";
    for (size_t i = 0; i < shell->Panel().GetLines().size(); ++i) {
        std::string line = Utf8FromCp1252(shell->Panel().GetLines()[i]);
        std::string quoted;
        for (char c : line) {
            if (c == '"' || c == '\\')
                quoted += '\\';
            if (static_cast<unsigned char>(c) >= 0x20)
                quoted += c;
        }
        json += (i ? ",\"" : "\"") + quoted + "\"";
    }
    json += "]}";
    return json.c_str();
}

} // extern "C"
