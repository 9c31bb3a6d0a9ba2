// One timer step of the rules: 50 worms of 200 segments and 500 ghosts on a 1000 x 1000 field.
#include <benchmark/benchmark.h>

#include <memory>

#include "rules/CreatureCheck.h"
#include "rules/Game.h"
#include "rules/HeadlessPlay.h"

namespace {

constexpr int kWorms = 50;
constexpr int kGhosts = 500;
constexpr int kLoopWidth = 150; // a loop of two rows: 300 cells for a worm of 200

// Every worm circles its own two-row loop of right turns; the ghosts wander the lower half,
// behind a wall row, so nothing dies and every step does the same work.
std::unique_ptr<kx::CGame> MakeBusyLevel() {
    auto game = std::make_unique<kx::CGame>();
    game->counterFrequency = kx::kHeadlessFrequency;
    kx::CGameFieldBase& field = game->play.field;
    field.CreateField(1000, 1000);
    for (int x = 0; x < field.width; ++x) {
        field.CellAt(x, 500).ground = 0;
        field.CellAt(x, 500).flags = kx::FLAG_NO_WORMS | kx::FLAG_NO_GHOSTS;
    }
    for (int w = 0; w < kWorms; ++w) {
        int x0 = 1 + (w % 6) * (kLoopWidth + 10);
        int y0 = 2 + (w / 6) * 4;
        for (auto [x, y] : {std::pair{x0, y0},
                            {x0 + kLoopWidth - 1, y0},
                            {x0 + kLoopWidth - 1, y0 + 1},
                            {x0, y0 + 1}})
            field.CellAt(x, y).objects[0] = kx::OBJ_TURN_RIGHT;
        // Path: along the top row to the right, back along the lower row.
        auto path = [&](int i) {
            return i < kLoopWidth
                       ? kx::SegmentPos{static_cast<uint16_t>(x0 + i), static_cast<uint16_t>(y0)}
                       : kx::SegmentPos{static_cast<uint16_t>(x0 + 2 * kLoopWidth - 1 - i),
                                        static_cast<uint16_t>(y0 + 1)};
        };
        kx::Worm& worm = game->CreateWorm(x0, y0, kx::kStartSpeedIndex, kx::DIR_NONE);
        worm.length = kx::kMaxWormLength;
        worm.headSlot = 0;
        worm.segments.assign(kx::kMaxWormLength, {});
        for (int i = 0; i < worm.length; ++i) {
            worm.segments[static_cast<size_t>(i)] = path(kx::kMaxWormLength - 1 - i);
            field
                .CellAt(worm.segments[static_cast<size_t>(i)].x,
                        worm.segments[static_cast<size_t>(i)].y)
                .creature = i == 0 ? kx::CREATURE_WORM_HEAD : kx::CREATURE_WORM_BODY;
        }
        worm.direction = kx::DIR_LEFT;
    }
    game->play.activeWorm = 0;
    game->MarkWormHeads();
    for (int g = 0; g < kGhosts; ++g)
        game->CreateGhost(2 + (g % 25) * 39, 510 + (g / 25) * 24);
    game->MarkGhosts();
    game->play.cornLeft = 1;
    return game;
}

// Every creature is due in every step: the heaviest step there is.
void BM_TimerStepEveryCreatureDue(benchmark::State& state) {
    auto game = MakeBusyLevel();
    if (!kx::CheckCreatureLayer(game->play).empty()) {
        state.SkipWithError("inconsistent set-up");
        return;
    }
    uint64_t counter = game->MsToTicks(10000);
    for (auto _ : state) {
        counter += game->MsToTicks(1000);
        game->TimerStep(counter);
    }
    for (const kx::Worm& worm : game->play.worms)
        if (worm.state != kx::WORM_ALIVE || worm.length != kx::kMaxWormLength)
            state.SkipWithError("a worm stopped circling");
    if (game->play.ghosts.size() != kGhosts)
        state.SkipWithError("a ghost died");
    if (!kx::CheckCreatureLayer(game->play).empty())
        state.SkipWithError("creature layer and lists disagree");
}
BENCHMARK(BM_TimerStepEveryCreatureDue)->Unit(benchmark::kMicrosecond);

// The game's real pace: a step every 10 ms, each creature due every 200 ms.
void BM_TimerStepTenMs(benchmark::State& state) {
    auto game = MakeBusyLevel();
    uint64_t counter = game->MsToTicks(10000);
    for (auto _ : state) {
        counter += game->MsToTicks(10);
        game->TimerStep(counter);
    }
    if (game->play.worms.size() != kWorms || game->play.ghosts.size() != kGhosts)
        state.SkipWithError("a creature was lost");
}
BENCHMARK(BM_TimerStepTenMs)->Unit(benchmark::kMicrosecond);

// Worm heads and ghosts on alternate cells of a 400 x 400 level: the set-up of 80,000 worms
// and 80,000 ghosts.
void BM_PrepareLevelHeadsAndGhosts400(benchmark::State& state) {
    kx::CGameFieldBase field;
    field.CreateField(400, 400);
    for (int32_t y = 1; y < 399; ++y)
        for (int32_t x = 1; x < 399; ++x)
            field.CellAt(x, y).creature =
                (x + y) % 2 == 0 ? kx::CREATURE_WORM_HEAD : kx::CREATURE_GHOST;
    for (auto _ : state) {
        kx::CGame game;
        game.play.field = field;
        game.PrepareLevel();
        benchmark::DoNotOptimize(game.play.worms.data());
    }
}
BENCHMARK(BM_PrepareLevelHeadsAndGhosts400)->Unit(benchmark::kMillisecond);

// A tape of 100,000 keys over ten minutes of level time (60,000 steps) on a small level.
void BM_PlayHeadlessHundredThousandKeys(benchmark::State& state) {
    kx::CGameFieldBase field;
    field.CreateField(6, 4);
    field.CellAt(2, 1).creature = kx::CREATURE_WORM_CURRENT;
    field.CellAt(0, 0).swItem = kx::ITEM_CORN;
    kx::PlayOptions options;
    for (uint64_t i = 0; i < 100000; ++i)
        options.keys.push_back({i * 6, static_cast<kx::PlayKey>(1 + i % 4)});
    options.untilMs = 600000;
    for (auto _ : state) {
        kx::CGame game;
        game.play.field = field;
        benchmark::DoNotOptimize(kx::PlayHeadless(game, options).steps);
    }
}
BENCHMARK(BM_PlayHeadlessHundredThousandKeys)->Unit(benchmark::kMillisecond);

} // namespace
