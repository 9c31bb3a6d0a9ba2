// The solver's state encoding and search, on levels of the test data.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>

#include "levelsource/LevelSource.h"
#include "rules/Game.h"
#include "rules/HeadlessPlay.h"
#include "solver/Solver.h"
#include "solver/StateCodec.h"
#include "solver/StateStore.h"

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

// With verifyEncoding the search decodes every state it encodes and stops at the first that
// does not come back whole: worms of every shape, ghosts, larvae, switches, items, ice, water.
TEST(SolverEncoding, EveryStateOfASearchDecodesToItself) {
    for (const char* path : {"solver/mixed.txt", "solver/room.txt", "rules/two-worms.txt"}) {
        kx::SolveLimits limits;
        limits.maxStates = 20000;
        limits.verifyEncoding = true;
        kx::SolveResult r = kx::Solve(Level(path), 1, limits);
        EXPECT_NE(r.status, kx::SolveStatus::EncodingFault) << path;
        EXPECT_GT(r.states, 100u) << path;
    }
}

TEST(SolverEncoding, AForeignOrCutEncodingIsRefused) {
    kx::CGame game;
    game.play.field = Level("solver/mixed.txt");
    game.counterFrequency = kx::kHeadlessFrequency;
    game.PrepareLevel();
    const kx::CStateCodec codec(game.play, 10000, 1000000);
    std::vector<uint8_t> code;
    codec.Encode(game.play, 20000000, code);
    kx::PlayState state;
    ASSERT_TRUE(codec.Decode(code.data(), code.size(), 20000000, state));
    EXPECT_EQ(state.field, game.play.field);
    for (size_t cut = 0; cut < code.size(); ++cut)
        EXPECT_FALSE(codec.Decode(code.data(), cut, 20000000, state)) << cut;
    std::vector<uint8_t> longer = code;
    longer.push_back(0);
    EXPECT_FALSE(codec.Decode(longer.data(), longer.size(), 20000000, state));

    kx::CGame other; // a field of another shape
    other.play.field = Level("rules/ghost-pen.txt");
    other.PrepareLevel();
    code.clear();
    codec.Encode(other.play, 20000000, code);
    EXPECT_FALSE(codec.Decode(code.data(), code.size(), 20000000, state));
}

// Codes whose hashes all collide are still told apart, across every growth of the table.
TEST(SolverStore, EveryStoredCodeIsFoundAgainEvenWhenAllHashesCollide) {
    kx::CStateStore store;
    const uint64_t hash = 0x123456789abcdef0ull;
    std::vector<uint64_t> ids;
    for (uint32_t i = 0; i < 3000; ++i) {
        std::vector<uint8_t> code(i % 200 + 1, static_cast<uint8_t>(i));
        std::memcpy(code.data(), &i, std::min<size_t>(code.size(), 4));
        ASSERT_EQ(store.Find(code.data(), code.size(), hash), kx::CStateStore::kNone);
        ids.push_back(store.Add(code.data(), code.size(), hash,
                                {kx::StateLink::kNoParent, i, i % 2 == 1, 3, false}));
    }
    for (uint32_t i = 0; i < 3000; ++i) {
        std::vector<uint8_t> code(i % 200 + 1, static_cast<uint8_t>(i));
        std::memcpy(code.data(), &i, std::min<size_t>(code.size(), 4));
        ASSERT_EQ(store.Find(code.data(), code.size(), hash), ids[i]) << i;
        EXPECT_EQ(store.Link(ids[i]).timeSteps, i);
    }
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
