// Benchmarks of the game shell: one whole paint and the title screen's paints of what changed
// against a memcpy of the frame, start-up with the real archive, and a timer step in which
// nothing moves.
#include <benchmark/benchmark.h>

#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "FrameCopy.h"
#include "field/LevelFile.h"
#include "game/GameShell.h"
#include "game/GameTexts.h"
#include "game/HeadlessHost.h"
#include "rules/HeadlessPlay.h"
#include "storage/FileEx.h"

namespace {

namespace fs = std::filesystem;

// A program folder with the build's archive and one level: 40 × 40 cells of ground around a
// worm in the middle that runs into a wall and rests, so that cells fill the whole frame, and
// 237 corn: out of view in the top rows, or strewn over every other row of the field.
class ProgramFolder {
public:
    explicit ProgramFolder(bool cornInView = false) {
        path = fs::temp_directory_path() / ("kx_bench_shell_" + std::to_string(getpid()));
        fs::remove_all(path);
        fs::create_directories(path);
        fs::create_symlink(std::string(KX_OUTPUT_DIR) + "/Krawlix.bfres", path / "Krawlix.bfres");
        kx::CGameFieldBase field;
        field.CreateField(40, 40);
        int corn = 0;
        for (int32_t y = 1; y < 39 && corn < 237; y += cornInView ? 3 : 1)
            for (int32_t x = 1; x < 39 && corn < 237; ++x, ++corn)
                field.CellAt(x, y).item = kx::ITEM_CORN;
        field.CellAt(19, 20).creature = kx::CREATURE_WORM_BODY;
        field.CellAt(20, 20).creature = kx::CREATURE_WORM_CURRENT;
        field.CellAt(21, 20).ground = 0;
        field.CellAt(21, 20).flags = kx::FLAG_NO_WORMS | kx::FLAG_NO_GHOSTS;
        kx::CFileEx file(false);
        file.SetPath((path / "bench.kxlev").string());
        if (file.OpenWrite())
            kx::WriteLevel(field, file);
    }
    ~ProgramFolder() {
        std::error_code ignored;
        fs::remove_all(path, ignored);
    }
    std::string Path() const { return path.string(); }

private:
    fs::path path;
};

struct RunningShell {
    explicit RunningShell(const ProgramFolder& folder) : shell(host, nullptr) {
        host.SetRepaintHandler([this] { shell.Paint(kx::kClientSize, kx::kClientSize); });
        shell.SetProgramFolder(folder.Path());
        shell.SetDocumentsFolder("");
        shell.SetRandomSeed(1);
        host.SetTimeMs(kx::kHeadlessStartMs);
        ok = shell.Initialize();
        if (ok)
            shell.InitWindow();
    }
    void Steps(int n) {
        for (int i = 0; i < n; ++i) {
            timeMs += kx::kTimerStepMs;
            host.SetTimeMs(kx::kHeadlessStartMs + timeMs);
            shell.Tick();
        }
    }
    kx::CHeadlessHost host;
    kx::CGameShell shell;
    uint64_t timeMs = 0;
    bool ok = false;
};

// The frame of a level with the counter and the controls help, or with the level choice
// menu (menu and panel never show together: each closes the other).
void PaintFrame(benchmark::State& state, bool withMenu, bool cornInView = false) {
    ProgramFolder folder(cornInView);
    RunningShell run(folder);
    if (!run.ok) {
        state.SkipWithError("start-up failed");
        return;
    }
    run.shell.SetLevel(1);
    if (withMenu)
        run.shell.ShowMainMenu();
    else
        run.shell.ExecuteCommand(kx::CMD_CONTROLS_HELP);
    for (auto _ : state) {
        run.shell.ForgetPaintedPicture();
        const kx::CDrawDevice24& frame = run.shell.Paint(kx::kClientSize, kx::kClientSize);
        benchmark::DoNotOptimize(frame.GetPixels());
    }
}

void BM_PaintLevelWithControlsHelp(benchmark::State& state) {
    PaintFrame(state, false);
}
BENCHMARK(BM_PaintLevelWithControlsHelp)->Unit(benchmark::kMicrosecond);

void BM_PaintLevelWithMainMenu(benchmark::State& state) {
    PaintFrame(state, true);
}
BENCHMARK(BM_PaintLevelWithMainMenu)->Unit(benchmark::kMicrosecond);

// Every third row full of corn: some 80 more sprites drawn with their transparent colour.
void BM_PaintLevelWithCornInView(benchmark::State& state) {
    PaintFrame(state, true, true);
}
BENCHMARK(BM_PaintLevelWithCornInView)->Unit(benchmark::kMicrosecond);

// The title screen as the game opens it (its own level behind the main menu, the picture
// scripts/cpu-check.sh measures), after its creatures have moved for a while; with
// Arg(1) each paint first evicts the caches, as the window's few paints a second find them.
void BM_PaintTitleScreen(benchmark::State& state) {
    ProgramFolder folder;
    RunningShell run(folder);
    if (!run.ok) {
        state.SkipWithError("start-up failed");
        return;
    }
    run.Steps(300);
    std::vector<uint8_t> evictor(state.range(0) != 0 ? 64 << 20 : 0);
    for (auto _ : state) {
        if (!evictor.empty()) {
            state.PauseTiming();
            for (size_t i = 0; i < evictor.size(); i += 64)
                ++evictor[i];
            benchmark::ClobberMemory();
            state.ResumeTiming();
        }
        run.shell.ForgetPaintedPicture();
        const kx::CDrawDevice24& frame = run.shell.Paint(kx::kClientSize, kx::kClientSize);
        benchmark::DoNotOptimize(frame.GetPixels());
    }
}
BENCHMARK(BM_PaintTitleScreen)->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The title screen's paints as the window makes them: each after the steps up to the next
// repaint request, so that it draws again only what those steps changed.
void BM_PaintTitleScreenChanges(benchmark::State& state) {
    ProgramFolder folder;
    RunningShell run(folder);
    if (!run.ok) {
        state.SkipWithError("start-up failed");
        return;
    }
    run.Steps(300);
    bool wanted = false;
    run.host.SetRepaintHandler([&wanted] { wanted = true; });
    size_t areas = 0;
    double pixels = 0;
    for (auto _ : state) {
        state.PauseTiming();
        for (int i = 0; i < 1000 && !wanted; ++i)
            run.Steps(1);
        wanted = false;
        state.ResumeTiming();
        const kx::CDrawDevice24& frame = run.shell.Paint(kx::kClientSize, kx::kClientSize);
        benchmark::DoNotOptimize(frame.GetPixels());
        areas += run.shell.PaintedAreas().size();
        for (auto& r : run.shell.PaintedAreas())
            pixels += (r.right - r.left) * (r.bottom - r.top);
    }
    state.counters["pixels"] =
        benchmark::Counter(static_cast<double>(pixels), benchmark::Counter::kAvgIterations);
    state.counters["areas"] =
        benchmark::Counter(static_cast<double>(areas), benchmark::Counter::kAvgIterations);
}
BENCHMARK(BM_PaintTitleScreenChanges)->Unit(benchmark::kMicrosecond);

// The yardstick: copying one 650 × 650 frame of 24-bit pixels.
void BM_MemcpyFrame(benchmark::State& state) {
    kxbench::CopyFrame(state, kx::kClientSize, kx::kClientSize);
}
BENCHMARK(BM_MemcpyFrame)->Unit(benchmark::kMicrosecond);

void BM_InitializeWithTheRealArchive(benchmark::State& state) {
    ProgramFolder folder;
    for (auto _ : state) {
        RunningShell run(folder);
        if (!run.ok) {
            state.SkipWithError("start-up failed");
            return;
        }
    }
}
BENCHMARK(BM_InitializeWithTheRealArchive)->Unit(benchmark::kMillisecond);

// The worm rests against the wall and the camera has settled: a step repaints nothing.
void BM_IdleTick(benchmark::State& state) {
    ProgramFolder folder;
    RunningShell run(folder);
    if (!run.ok) {
        state.SkipWithError("start-up failed");
        return;
    }
    run.shell.SetLevel(1);
    run.Steps(500);
    int before = run.host.repaints;
    for (auto _ : state)
        run.Steps(1);
    state.counters["repaints"] = run.host.repaints - before;
}
BENCHMARK(BM_IdleTick)->Unit(benchmark::kMicrosecond);

} // namespace
