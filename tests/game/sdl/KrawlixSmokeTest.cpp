// The real Krawlix in an X server: its window against krawlix-tool shot, keys, the quit menu,
// the exit status and the stored progress; the loop's idle cost and the repaint time.
// Run by RunSmokeTest.sh under xvfb-run; needs xdotool and xwd.
#include <gtest/gtest.h>

#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "graphics/Bitmap24.h"
#include "graphics/PngFile.h"
#include "graphics/XwdImage.h"

extern char** environ;

namespace kx {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

const std::string kOutputDir = KX_OUTPUT_DIR;
// Times are checked in optimised builds only; debug and sanitizer builds just print them.
constexpr bool kCheckTimes = KX_SMOKE_CHECK_TIMES != 0;
const fs::path kArtefacts = fs::path(KX_SMOKE_ARTEFACT_DIR);

std::string Quote(const std::string& s) {
    std::string q = "'";
    for (char c : s) {
        q += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return q + "'";
}

// Runs a shell command; its standard output, or nullopt when it fails.
std::optional<std::string> RunCommand(const std::string& command) {
    FILE* pipe = popen((command + " 2>/dev/null").c_str(), "r");
    if (pipe == nullptr) {
        return std::nullopt;
    }
    std::string out;
    char buffer[4096];
    size_t n;
    while ((n = fread(buffer, 1, sizeof buffer, pipe)) > 0) {
        out.append(buffer, n);
    }
    const int status = pclose(pipe);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) {
        return std::nullopt;
    }
    return out;
}

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The numbers of the key=value lines (the renderer's name is text).
std::map<std::string, double> ReadStats(const fs::path& path) {
    std::map<std::string, double> values;
    std::istringstream in(ReadText(path));
    std::string line;
    while (std::getline(in, line)) {
        const size_t eq = line.find('=');
        if (eq == std::string::npos) {
            continue;
        }
        const std::string text = line.substr(eq + 1);
        char* end = nullptr;
        const double value = std::strtod(text.c_str(), &end);
        if (!text.empty() && end == text.c_str() + text.size()) {
            values[line.substr(0, eq)] = value;
        }
    }
    return values;
}

// The game as a child process with its own profile folder and statistics file.
class CKrawlixProcess {
public:
    CKrawlixProcess(const std::vector<std::string>& args, const fs::path& home) {
        std::vector<std::string> env;
        for (char** e = environ; *e != nullptr; ++e) {
            const std::string entry = *e;
            if (entry.rfind("HOME=", 0) != 0 && entry.rfind("XDG_CONFIG_HOME=", 0) != 0 &&
                entry.rfind("KRAWLIX_STATS=", 0) != 0 && entry.rfind("ASAN_OPTIONS=", 0) != 0) {
                env.push_back(entry);
            }
        }
        env.push_back("HOME=" + (home / "home").string());
        env.push_back("XDG_CONFIG_HOME=" + (home / "config").string());
        env.push_back("KRAWLIX_STATS=" + (home / "stats.txt").string());
        // In sanitizer builds: the X, GL and sound libraries keep memory until the process
        // ends, which the leak checker would report as the game's; leaks of the game's own
        // code are the unit tests' business.
        const char* asan = std::getenv("ASAN_OPTIONS");
        env.push_back(std::string("ASAN_OPTIONS=") + (asan != nullptr ? asan : "") +
                      ":detect_leaks=0");
        const std::string program = kOutputDir + "/Krawlix";
        std::vector<char*> argv{const_cast<char*>(program.c_str())};
        for (const std::string& a : args) {
            argv.push_back(const_cast<char*>(a.c_str()));
        }
        argv.push_back(nullptr);
        std::vector<char*> envp;
        for (std::string& e : env) {
            envp.push_back(e.data());
        }
        envp.push_back(nullptr);
        if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv.data(), envp.data()) != 0) {
            pid = -1;
        }
    }
    CKrawlixProcess(const CKrawlixProcess&) = delete;
    CKrawlixProcess& operator=(const CKrawlixProcess&) = delete;
    ~CKrawlixProcess() {
        if (pid > 0 && !exitStatus) {
            kill(pid, SIGKILL);
            waitpid(pid, nullptr, 0);
        }
    }

    pid_t Pid() const { return pid; }

    // The exit status once the program ended within the time; -1 for a signal.
    std::optional<int> WaitExit(std::chrono::milliseconds limit) {
        const auto end = std::chrono::steady_clock::now() + limit;
        while (!exitStatus && pid > 0) {
            int status = 0;
            if (waitpid(pid, &status, WNOHANG) == pid) {
                exitStatus = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
                break;
            }
            if (std::chrono::steady_clock::now() > end) {
                break;
            }
            std::this_thread::sleep_for(20ms);
        }
        return exitStatus;
    }

    // CPU time of the main thread (the window's loop) in nanoseconds.
    uint64_t MainThreadCpuNs() const {
        const std::string text = ReadText("/proc/" + std::to_string(pid) + "/task/" +
                                          std::to_string(pid) + "/schedstat");
        return text.empty() ? 0 : std::stoull(text);
    }

private:
    pid_t pid = -1;
    std::optional<int> exitStatus;
};

// The game's window: the first of the process whose name starts with "Krawlix".
std::string WaitForWindow(const CKrawlixProcess& game, std::chrono::milliseconds limit) {
    const auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (auto out = RunCommand("xdotool search --onlyvisible --pid " +
                                  std::to_string(game.Pid()) + " --name '^Krawlix'")) {
            std::istringstream ids(*out);
            std::string id;
            if (ids >> id) {
                return id;
            }
        }
        std::this_thread::sleep_for(50ms);
    }
    return std::string();
}

std::string WindowName(const std::string& window) {
    std::string name = RunCommand("xdotool getwindowname " + window).value_or("");
    while (!name.empty() && (name.back() == '\n' || name.back() == '\r')) {
        name.pop_back();
    }
    return name;
}

bool Grab(const std::string& window, CBitmap24& picture) {
    const fs::path dump = kArtefacts / "grab.xwd";
    if (!RunCommand("xwd -silent -id " + window + " -out " + Quote(dump.string()))) {
        return false;
    }
    const std::string bytes = ReadText(dump);
    return ReadXwdImage(
        std::span<const uint8_t>(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()),
        picture);
}

int64_t CountDifferentPixels(const CBitmap24& a, const CBitmap24& b) {
    if (a.GetWidth() != b.GetWidth() || a.GetHeight() != b.GetHeight()) {
        return -1;
    }
    int64_t different = 0;
    for (int32_t y = 0; y < a.GetHeight(); ++y) {
        for (int32_t x = 0; x < a.GetWidth(); ++x) {
            different += a.GetPixel(x, y) != b.GetPixel(x, y) ? 1 : 0;
        }
    }
    return different;
}

// Grabs the window until it shows the expected frame or the time is up; the last grab is
// kept as NAME.png beside the expected frame for a look.
int64_t WaitForFrame(const std::string& window, const CBitmap24& expected,
                     const std::string& name) {
    CBitmap24 grabbed;
    int64_t different = -1;
    const auto end = std::chrono::steady_clock::now() + 5s;
    do {
        if (Grab(window, grabbed)) {
            different = CountDifferentPixels(grabbed, expected);
            if (different == 0) {
                break;
            }
        }
        std::this_thread::sleep_for(50ms);
    } while (std::chrono::steady_clock::now() < end);
    if (grabbed.IsValid()) {
        WritePngFile((kArtefacts / (name + ".png")).string(), grabbed);
    }
    return different;
}

void SendKeys(const std::string& window, const std::string& keys) {
    ASSERT_TRUE(RunCommand("xdotool windowfocus --sync " + window + " key --delay 30 " + keys))
        << keys;
}

struct PicturePoint {
    int32_t x = 0;
    int32_t y = 0;
};

// The middle of the selected menu item, found by its bright green frame.
std::optional<PicturePoint> CentreOfSelectedItem(const CBitmap24& frame) {
    int32_t left = frame.GetWidth();
    int32_t right = -1;
    int32_t top = frame.GetHeight();
    int32_t bottom = -1;
    for (int32_t y = 0; y < frame.GetHeight(); ++y) {
        for (int32_t x = 0; x < frame.GetWidth(); ++x) {
            if (frame.GetPixel(x, y) == 0x00FF00) {
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
    }
    if (right < 0) {
        return std::nullopt;
    }
    return PicturePoint{(left + right) / 2, (top + bottom) / 2};
}

class KrawlixSmoke : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(kArtefacts);
        home = kArtefacts / "home";
        fs::remove_all(home);
        fs::create_directories(home / "my levels");
        levelPath = (home / "my levels" / "still level.kxlev").string();
        ASSERT_TRUE(RunCommand(Quote(kOutputDir + "/krawlix-tool") + " level compile " +
                               Quote(KX_SMOKE_DATA_DIR "/still.txt") + " " + Quote(levelPath)));
    }

    // The frame that krawlix-tool shot composes for the level with these keys at that time.
    CBitmap24 Shot(const std::string& keys, int atMs, const std::string& name,
                   std::string* state = nullptr) {
        return ShotOf(levelPath, keys, atMs, name, state);
    }
    CBitmap24 ShotOf(const std::string& level, const std::string& keys, int atMs,
                     const std::string& name, std::string* state = nullptr) {
        const fs::path png = kArtefacts / (name + "-expected.png");
        std::string command = Quote(kOutputDir + "/krawlix-tool") + " shot --program-dir " +
                              Quote(kOutputDir) + " --at " + std::to_string(atMs);
        if (!keys.empty()) {
            command += " --keys " + keys;
        }
        command += std::string(state != nullptr ? " --state " : " ") + Quote(png.string()) +
                   " -- " + Quote("/level:" + level);
        std::optional<std::string> out = RunCommand(command);
        EXPECT_TRUE(out) << command;
        if (state != nullptr && out) {
            *state = *out;
        }
        CBitmap24 picture;
        EXPECT_TRUE(ReadPngFile(png.string(), picture)) << png;
        return picture;
    }

    fs::path home;
    std::string levelPath;
};

// The title of the state JSON, as UTF-8 text between the quotes.
std::string TitleOf(const std::string& stateJson) {
    const std::string key = "\"title\":";
    size_t at = stateJson.find(key);
    if (at == std::string::npos) {
        return std::string();
    }
    at = stateJson.find('"', at + key.size());
    const size_t end = stateJson.find('"', at + 1);
    return at == std::string::npos || end == std::string::npos
               ? std::string()
               : stateJson.substr(at + 1, end - at - 1);
}

TEST_F(KrawlixSmoke, ALevelOnTheCommandLinePlaysAndTheQuitMenuEndsTheGameWithItsProgress) {
    std::string state;
    const CBitmap24 levelFrame = Shot("", 500, "level", &state);
    const CBitmap24 menuFrame = Shot("0:esc", 100, "menu");
    const CBitmap24 quitItemFrame = Shot("0:esc,10:up", 100, "quit-item");
    const CBitmap24 quitMenuFrame = Shot("0:esc,10:up,20:enter", 100, "quit-menu");
    ASSERT_TRUE(levelFrame.IsValid() && menuFrame.IsValid() && quitMenuFrame.IsValid());
    ASSERT_GT(CountDifferentPixels(levelFrame, menuFrame), 1000) << "the menu shows nothing";

    // As a shell passes /level:"…/my levels/still level.kxlev": quotes gone, one argument.
    CKrawlixProcess game({"/level:" + levelPath}, home);
    ASSERT_GT(game.Pid(), 0);
    const std::string window = WaitForWindow(game, 15s);
    ASSERT_FALSE(window.empty()) << "no window appeared";
    EXPECT_EQ(WindowName(window), TitleOf(state));
    EXPECT_EQ(WaitForFrame(window, levelFrame, "level"), 0) << "the level's frame differs";

    // Nothing moves: the loop only waits and ticks.
    const uint64_t cpuBefore = game.MainThreadCpuNs();
    const auto wallBefore = std::chrono::steady_clock::now();
    std::this_thread::sleep_for(3s);
    const uint64_t cpuAfter = game.MainThreadCpuNs();
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - wallBefore).count();
    const double msPerStep = static_cast<double>(cpuAfter - cpuBefore) / 1e6 / (seconds * 100);
    std::printf("idle loop: %.4f ms CPU per 10 ms step (%.1f ms over %.2f s)\n", msPerStep,
                static_cast<double>(cpuAfter - cpuBefore) / 1e6, seconds);
    RecordProperty("idle_ms_per_step", std::to_string(msPerStep));
    // Busy waiting would cost the whole 10 ms; the target is 0.2 ms, checked with room for a
    // loaded machine (and only where the build is optimised).
    if (kCheckTimes) {
        EXPECT_LT(msPerStep, 1.0);
    }

    SendKeys(window, "Escape");
    EXPECT_EQ(WaitForFrame(window, menuFrame, "menu"), 0) << "Esc did not show the main menu";
    // Twenty times down and up again: repaints to measure, ending where they started.
    std::string moves;
    for (int i = 0; i < 20; ++i) {
        moves += " Down Up";
    }
    SendKeys(window, moves);
    EXPECT_EQ(WaitForFrame(window, menuFrame, "menu-again"), 0);
    SendKeys(window, "Up");
    EXPECT_EQ(WaitForFrame(window, quitItemFrame, "quit-item"), 0);
    SendKeys(window, "Return");
    EXPECT_EQ(WaitForFrame(window, quitMenuFrame, "quit-menu"), 0);
    // "Ja, jetzt beenden" is selected: a click on it quits.
    const std::optional<PicturePoint> yes = CentreOfSelectedItem(quitMenuFrame);
    ASSERT_TRUE(yes);
    ASSERT_TRUE(RunCommand("xdotool mousemove --window " + window + " " + std::to_string(yes->x) +
                           " " + std::to_string(yes->y) + " click 1"));

    EXPECT_EQ(game.WaitExit(10s), std::optional<int>(0));
    const std::string profile = ReadText(home / "config" / "Halvane" / "Krawlix.conf");
    EXPECT_NE(profile.find("[LastGame]"), std::string::npos) << profile;
    EXPECT_NE(profile.find("Level=1"), std::string::npos) << profile;

    std::map<std::string, double> stats = ReadStats(home / "stats.txt");
    // The first repaint is counted apart: it includes the renderer's own start.
    const double repaints = stats["repaints"] - 1;
    ASSERT_GT(repaints, 10);
    const double composeMs = stats["compose_cpu_seconds"] / repaints * 1000;
    const double uploadMs = stats["upload_cpu_seconds"] / repaints * 1000;
    const double presentMs = stats["present_cpu_seconds"] / repaints * 1000;
    const double cpuMs = composeMs + uploadMs + presentMs;
    std::printf("repaints at zoom 1: %.0f after the first (%.1f ms); CPU per repaint %.3f ms "
                "(compose %.3f, upload %.3f, present %.3f); wall %.3f ms on average, "
                "longest %.3f ms\n",
                repaints, stats["first_repaint_seconds"] * 1000, cpuMs, composeMs, uploadMs,
                presentMs, stats["repaint_seconds"] / repaints * 1000,
                stats["repaint_max_seconds"] * 1000);
    RecordProperty("repaint_cpu_ms", std::to_string(cpuMs));
    // The target is 2 ms; the check leaves room for a loaded machine.
    if (kCheckTimes) {
        EXPECT_LT(cpuMs, 4.0);
    }
}

TEST_F(KrawlixSmoke, HShowsTheHintBackspaceWaitsAtTheStartAndRRestarts) {
    const std::string level = (home / "my levels" / "one corn.kxlev").string();
    ASSERT_TRUE(RunCommand(Quote(kOutputDir + "/krawlix-tool") + " level compile " +
                           Quote(KX_SMOKE_DATA_DIR "/one-corn.txt") + " " + Quote(level)));
    const CBitmap24 levelFrame = ShotOf(level, "", 100, "one-corn");
    const CBitmap24 hintFrame = ShotOf(level, "0:h", 100, "hint");
    const CBitmap24 pausedFrame = ShotOf(level, "0:h,10:backspace", 100, "rewound");
    ASSERT_GT(CountDifferentPixels(levelFrame, hintFrame), 500) << "the hint shows nothing";
    ASSERT_GT(CountDifferentPixels(hintFrame, pausedFrame), 500) << "the pause shows nothing";

    CKrawlixProcess game({"/level:" + level}, home);
    ASSERT_GT(game.Pid(), 0);
    const std::string window = WaitForWindow(game, 15s);
    ASSERT_FALSE(window.empty()) << "no window appeared";
    EXPECT_EQ(WaitForFrame(window, levelFrame, "one-corn"), 0);
    SendKeys(window, "h");
    EXPECT_EQ(WaitForFrame(window, hintFrame, "hint"), 0) << "H showed no hint";
    SendKeys(window, "BackSpace");
    EXPECT_EQ(WaitForFrame(window, pausedFrame, "rewound"), 0) << "Backspace did not wait";
    SendKeys(window, "r");
    EXPECT_EQ(WaitForFrame(window, levelFrame, "restarted"), 0) << "R did not restart";
    SendKeys(window, "Escape Up Return Return");
    EXPECT_EQ(game.WaitExit(10s), std::optional<int>(0));
}

// The X server of the test runs no window manager: fullscreen is the window covering the
// screen (1280 x 1024), with the whole picture in its middle, never a shifted part of it.
TEST_F(KrawlixSmoke, F11WithoutAWindowManagerShowsTheWholePictureAndComesBack) {
    const CBitmap24 levelFrame = Shot("", 500, "level");
    CKrawlixProcess game({"/level:" + levelPath}, home);
    ASSERT_GT(game.Pid(), 0);
    const std::string window = WaitForWindow(game, 15s);
    ASSERT_FALSE(window.empty()) << "no window appeared";
    EXPECT_EQ(WaitForFrame(window, levelFrame, "level"), 0);

    SendKeys(window, "F11");
    CBitmap24 screen;
    int64_t different = -1;
    const auto end = std::chrono::steady_clock::now() + 5s;
    do {
        std::this_thread::sleep_for(50ms);
        if (Grab(window, screen) && screen.GetWidth() == 1280 && screen.GetHeight() == 1024) {
            different = 0;
            for (int32_t y = 0; y < levelFrame.GetHeight(); ++y) {
                for (int32_t x = 0; x < levelFrame.GetWidth(); ++x) {
                    different += screen.GetPixel(315 + x, 187 + y) != levelFrame.GetPixel(x, y);
                }
            }
        }
    } while (different != 0 && std::chrono::steady_clock::now() < end);
    if (screen.IsValid()) {
        WritePngFile((kArtefacts / "fullscreen.png").string(), screen);
    }
    EXPECT_EQ(screen.GetWidth(), 1280);
    EXPECT_EQ(different, 0) << "the fullscreen picture is not the level's, whole and centred";

    SendKeys(window, "F11");
    EXPECT_EQ(WaitForFrame(window, levelFrame, "windowed-again"), 0);
    SendKeys(window, "Escape Up Return Return");
    EXPECT_EQ(game.WaitExit(10s), std::optional<int>(0));
}

TEST_F(KrawlixSmoke, WithoutArgumentsTheTitleScreenOpensWithItsMenu) {
    // A level of the player's own, so that the level list is never empty.
    fs::create_directories(home / "home" / "Documents" / "Krawlix");
    fs::copy_file(levelPath, home / "home" / "Documents" / "Krawlix" / "still.kxlev");
    CKrawlixProcess game({}, home);
    ASSERT_GT(game.Pid(), 0);
    const std::string window = WaitForWindow(game, 15s);
    ASSERT_FALSE(window.empty()) << "no window appeared";
    EXPECT_EQ(WindowName(window).rfind("Krawlix - Menü - ", 0), 0u) << WindowName(window);
    CBitmap24 title;
    ASSERT_TRUE(Grab(window, title));
    WritePngFile((kArtefacts / "title.png").string(), title);
    EXPECT_EQ(title.GetWidth(), 650);
    EXPECT_EQ(title.GetHeight(), 650);

    // Esc closes the main menu and opens it again; its last item is "Spiel beenden".
    SendKeys(window, "Escape Escape Up Return Return");
    EXPECT_EQ(game.WaitExit(10s), std::optional<int>(0));
    // The title screen stores no progress.
    const std::string profile = ReadText(home / "config" / "Halvane" / "Krawlix.conf");
    EXPECT_EQ(profile.find("Level="), std::string::npos) << profile;
}

} // namespace
} // namespace kx
