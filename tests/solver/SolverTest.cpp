// The solver's state encoding and search, on levels of the test data.
#include <gtest/gtest.h>

#include <atomic>
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

// The ghost rules index the field by a ghost's cell without asking, as the worm rules do by
// segments.
TEST(SolverEncoding, AGhostOutsideTheFieldIsRefused) {
    kx::CGame game;
    game.play.field = Level("solver/mixed.txt");
    game.counterFrequency = kx::kHeadlessFrequency;
    game.PrepareLevel();
    ASSERT_EQ(game.play.ghosts.size(), 1u);
    const kx::CStateCodec codec(game.play, 10000, 1000000);
    const int32_t w = game.play.field.width;
    const int32_t h = game.play.field.height;
    for (const auto& [x, y] : {std::pair{-1, 1}, {w, 1}, {1, -1}, {1, h}, {w - 1, h - 1}}) {
        kx::PlayState moved = game.play;
        moved.ghosts[0].x = x;
        moved.ghosts[0].y = y;
        std::vector<uint8_t> code;
        codec.Encode(moved, 20000000, code);
        kx::PlayState state;
        EXPECT_EQ(codec.Decode(code.data(), code.size(), 20000000, state),
                  moved.field.Contains(x, y))
            << x << "," << y;
    }
}

// From a state in play the search finds the rest: after the first key of the answer, the
// other keys (no shorter way exists, or the whole would be shorter); from a dying worm,
// nothing. A cancel flag set from outside stops it.
TEST(SolverSearch, FromAStateInPlayItFindsTheRestOrProvesThereIsNone) {
    const kx::CGameFieldBase field = Level("solver/room.txt");
    const kx::SolveResult whole = kx::Solve(field, 1, {});
    ASSERT_EQ(whole.status, kx::SolveStatus::Solved);
    ASSERT_GE(whole.keys.size(), 2u);

    const std::vector<kx::KeyPress> prefix{whole.keys[0]};
    kx::CGame game;
    game.play.field = field;
    ASSERT_EQ(kx::PlayToStep(game, prefix, prefix[0].timeMs).result, kx::PlayResult::Running);
    std::atomic<uint64_t> progress{0};
    kx::SolveLimits limits;
    limits.progress = &progress;
    const kx::SolveResult rest = kx::SolveFrom(game.play, prefix[0].timeMs, limits);
    ASSERT_EQ(rest.status, kx::SolveStatus::Solved);
    EXPECT_EQ(rest.keys.size(), whole.keys.size() - 1);
    EXPECT_GE(rest.keys.front().timeMs, prefix[0].timeMs);
    EXPECT_EQ(progress.load(), rest.states);
    kx::SolveResult joined = rest;
    joined.keys.insert(joined.keys.begin(), prefix[0]);
    const kx::PlayOutcome replay = Replay(field, joined);
    EXPECT_EQ(replay.result, kx::PlayResult::Won);
    EXPECT_EQ(replay.timeMs, rest.winMs);

    // Sent right, the worm runs into the lake ahead; while it drowns the level still runs, and
    // no key saves it.
    kx::CGameFieldBase lake;
    std::string error;
    ASSERT_TRUE(
        kx::CompileLevelSource("map\n#######\n#bW..~#\n#c....#\n#######\nend\n", lake, error))
        << error;
    uint64_t dyingMs = 0;
    kx::CGame unsteered;
    unsteered.play.field = lake;
    const std::vector<kx::KeyPress> right{{0, kx::PlayKey::Right}};
    kx::PlayOptions options;
    options.keys = right;
    options.afterStep = [&](const kx::CGame& g, uint64_t t) {
        dyingMs = t;
        return g.play.worms.size() == 1 && g.play.worms[0].state == kx::WORM_ALIVE;
    };
    kx::PlayHeadless(unsteered, options);
    kx::CGame trapped;
    trapped.play.field = lake;
    ASSERT_EQ(kx::PlayToStep(trapped, right, dyingMs + 10).result, kx::PlayResult::Running);
    ASSERT_EQ(trapped.play.worms.size(), 1u);
    EXPECT_EQ(trapped.play.worms[0].state, kx::WORM_DYING);
    EXPECT_EQ(kx::SolveFrom(trapped.play, dyingMs + 10, {}).status, kx::SolveStatus::Unwinnable);
    EXPECT_EQ(kx::Solve(lake, 1, {}).status, kx::SolveStatus::Solved);

    const std::atomic<bool> cancel{true};
    limits.cancel = &cancel;
    EXPECT_EQ(kx::SolveFrom(game.play, prefix[0].timeMs, limits).status,
              kx::SolveStatus::Cancelled);
}

// Thousands of ghosts make a state too long to store: a named limit, not a failure.
TEST(SolverSearch, AStateTooLongToStoreIsALimit) {
    std::string source = "map\n";
    source += "#" + std::string(200, '#') + "#\n";
    source += "#W" + std::string(199, '.') + "#\n";
    for (int row = 0; row < 40; ++row)
        source += "#" + std::string(200, 'g') + "#\n";
    source += "#c" + std::string(199, '.') + "#\n";
    source += "#" + std::string(200, '#') + "#\nend\n";
    kx::CGameFieldBase field;
    std::string error;
    ASSERT_TRUE(kx::CompileLevelSource(source, field, error)) << error;
    EXPECT_EQ(kx::Solve(field, 1, {}).status, kx::SolveStatus::StateTooLarge);
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
