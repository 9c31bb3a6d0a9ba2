// The solver's state encoding and search, on levels of the test data.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "field/Game.h"
#include "field/HeadlessPlay.h"
#include "field/LevelSource.h"
#include "field/Solver.h"

namespace {

kx::CGameFieldBase Level(const std::string& path) {
    std::ifstream in(std::string(KX_TEST_DATA_DIR) + "/" + path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    kx::CGameFieldBase field;
    std::string error;
    EXPECT_TRUE(kx::CompileLevelSource(text.str(), field, error)) << path << ": " << error;
    return field;
}

kx::PlayOutcome Replay(const kx::CGameFieldBase& field, const kx::SolveResult& r) {
    kx::CGame game;
    game.Random().Seed(1);
    game.play.field = field;
    kx::PlayOptions options;
    options.keys = r.keys;
    options.untilMs = r.winMs;
    return kx::PlayHeadless(game, options);
}

// Every state of a play, encoded before a step and decoded again, is the state itself: the
// encoding leaves out nothing the rules read.
TEST(SolverEncoding, DecodingAnEncodedStateGivesBackTheStateAtEveryStepOfAPlay) {
    for (const char* path : {"solver/room.txt", "rules/two-worms.txt", "rules/ghost-pen.txt"}) {
        kx::CGameFieldBase field = Level(path);
        kx::CGame game;
        game.play.field = field;
        game.counterFrequency = kx::kHeadlessFrequency;
        game.PrepareLevel();
        const kx::CGameFieldBase start = game.play.field;
        const uint64_t stepTicks = game.MsToTicks(kx::kTimerStepMs);
        int checked = 0;
        kx::PlayOptions options;
        kx::ParseKeyScript("0:right,1200:down,1300:tab,2000:left,3400:up", options.keys, nullptr);
        options.untilMs = 6000;
        game.play.field = field;
        options.afterStep = [&](const kx::CGame& g, uint64_t t) {
            const uint64_t counter = g.MsToTicks(kx::kHeadlessStartMs + t + kx::kTimerStepMs);
            kx::PlayState decoded;
            EXPECT_TRUE(kx::DecodePlayState(kx::EncodePlayState(g.play, counter, start), counter,
                                            stepTicks, start, decoded));
            EXPECT_TRUE(decoded == g.play) << path << " at " << t << " ms";
            ++checked;
            return !::testing::Test::HasFailure();
        };
        kx::CGame player;
        player.play.field = field;
        kx::PlayHeadless(player, options);
        EXPECT_GT(checked, 10) << path;
    }
}

TEST(SolverEncoding, AForeignOrCutEncodingIsRefused) {
    kx::CGameFieldBase field = Level("solver/room.txt");
    kx::CGame game;
    game.play.field = field;
    game.counterFrequency = kx::kHeadlessFrequency;
    game.PrepareLevel();
    const std::string code = kx::EncodePlayState(game.play, 1000, game.play.field);
    kx::PlayState state;
    for (size_t cut : {size_t{0}, size_t{3}, code.size() - 1})
        EXPECT_FALSE(kx::DecodePlayState(code.substr(0, cut), 1000, 10, game.play.field, state));
    EXPECT_FALSE(kx::DecodePlayState(code + "\xff\xff\xff\x7f" + std::string(21, 'x'), 1000, 10,
                                     game.play.field, state));
}

TEST(SolverSearch, TheRoomIsSolvedWithFourKeysAndTheReplayWins) {
    kx::CGameFieldBase field = Level("solver/room.txt");
    kx::SolveResult r = kx::Solve(field, 1, {});
    ASSERT_EQ(r.status, kx::SolveStatus::Solved);
    EXPECT_EQ(r.keys.size(), 4u);
    kx::PlayOutcome replay = Replay(field, r);
    EXPECT_EQ(replay.result, kx::PlayResult::Won);
    EXPECT_EQ(replay.timeMs, r.winMs);
}

// Fewest keys first: no script with one key fewer wins, which a search limited to fewer
// keys would have found; checked here by dropping each key of the answer in turn.
TEST(SolverSearch, NoKeyOfTheAnswerCanBeLeftOut) {
    kx::CGameFieldBase field = Level("solver/room.txt");
    kx::SolveResult r = kx::Solve(field, 1, {});
    ASSERT_EQ(r.status, kx::SolveStatus::Solved);
    for (size_t i = 0; i < r.keys.size(); ++i) {
        kx::SolveResult shorter = r;
        shorter.keys.erase(shorter.keys.begin() + static_cast<std::ptrdiff_t>(i));
        shorter.winMs = 600000;
        EXPECT_NE(Replay(field, shorter).result, kx::PlayResult::Won) << "without key " << i;
    }
}

TEST(SolverSearch, ALevelWhoseOnlyWayLeadsIntoAnArrowIsProvenUnwinnable) {
    kx::SolveResult r = kx::Solve(Level("rules/wrong-arrow.txt"), 1, {});
    EXPECT_EQ(r.status, kx::SolveStatus::Unwinnable);
    EXPECT_GT(r.states, 1u);
}

TEST(SolverSearch, TheLimitsStopTheSearch) {
    kx::CGameFieldBase field = Level("solver/arena.txt");
    kx::SolveResult byStates = kx::Solve(field, 1, {100, 1000});
    EXPECT_EQ(byStates.status, kx::SolveStatus::StateLimit);
    EXPECT_LE(byStates.states, 101u);
    kx::SolveResult byTime = kx::Solve(field, 1, {100000000, 0});
    EXPECT_EQ(byTime.status, kx::SolveStatus::TimeLimit);
}

} // namespace
