// Ghost movement: blocked cells, dead ends, killing worms, cactus, marking, the random draws.
#include "RulesFixture.h"

#include <set>

using namespace kx;
using kxtest::RulesTest;

namespace {

class GhostWalk : public RulesTest {};

TEST_F(GhostWalk, NeverEntersBlockedCells) {
    Build({"############", "#bW#.......#", "####.G..g..#", "#...G.g....#", "#.g..GGGG..#",
           "#......g...#", "############"});
    Prepare();
    ASSERT_EQ(game.play.ghosts.size(), 4u);
    std::set<std::pair<int, int>> visited;
    for (int i = 0; i < 1500; ++i) {
        Step(100);
        for (const Ghost& ghost : game.play.ghosts) {
            ASSERT_EQ(game.play.field.CellAt(ghost.x, ghost.y).flags & FLAG_NO_GHOSTS, 0) << i;
            visited.insert({ghost.x, ghost.y});
        }
    }
    EXPECT_GT(visited.size(), 20u); // they did wander
    EXPECT_EQ(WormAt(0).state, WORM_ALIVE);
}

TEST_F(GhostWalk, GhostsSideBySideInAClosedCorridorNeverMove) {
    Build({"######", "#gg###", "######", "#bW..#", "######"});
    Prepare();
    for (int i = 0; i < 50; ++i)
        Step(200);
    EXPECT_EQ(GhostAt(0).x, 1);
    EXPECT_EQ(GhostAt(1).x, 2);
    EXPECT_EQ(Creature(1, 1), CREATURE_GHOST);
    EXPECT_EQ(Creature(2, 1), CREATURE_GHOST_MARKED);
}

TEST_F(GhostWalk, ReversesAtTheEndOfADeadEnd) {
    Build({"#######", "#g....#", "#######", "#bW...#", "#######"});
    Prepare();
    GhostAt(0).direction = DIR_LEFT;
    Step(0);
    EXPECT_EQ(GhostAt(0).x, 2);
    EXPECT_EQ(GhostAt(0).direction, DIR_RIGHT);
    EXPECT_EQ(Creature(1, 1), kNothing);
}

TEST_F(GhostWalk, AnEnclosedGhostReversesWithoutADrawThenDrawsAndStays) {
    Build({"#####", "#g###", "#####", "#bW.#", "#####"});
    Prepare();
    GhostAt(0).direction = DIR_RIGHT;
    CRandom before = random;
    Step(0);
    EXPECT_EQ(GhostAt(0).direction, DIR_NONE);
    EXPECT_EQ(random.Next(), before.Next()); // no number was drawn
    before = random;
    Step(200);
    before.Next();
    EXPECT_EQ(random.Next(), before.Next()); // one draw for the new direction
    EXPECT_EQ(GhostAt(0).x, 1);
}

TEST_F(GhostWalk, DrawsOnceWhenBlockedWithOpenSides) {
    Build({"#######", "#.....#", "#.g#..#", "#.....#", "#######", "#bW...#", "#######"});
    Prepare();
    GhostAt(0).direction = DIR_RIGHT;
    CRandom expected = random;
    Step(0);
    uint32_t r = expected.Next();
    const int32_t open[3] = {DIR_UP, DIR_DOWN, DIR_LEFT};
    EXPECT_EQ(GhostAt(0).direction, open[r % 3]);
    EXPECT_EQ(random.Next(), expected.Next());
}

TEST_F(GhostWalk, RunsStraightUnlessTheLowestThreeBitsAreZero) {
    Build({"##########", "#g.......#", "##########", "#bW......#", "##########"});
    Prepare();
    GhostAt(0).direction = DIR_RIGHT;
    CRandom expected = random;
    Step(0);
    uint32_t r = expected.Next();
    if ((r & 7) == 0) {
        uint32_t d = (expected.Next() & 3) + 1;
        EXPECT_EQ(GhostAt(0).x, d == DIR_RIGHT ? 2 : 1);
    } else {
        EXPECT_EQ(GhostAt(0).x, 2);
        EXPECT_EQ(GhostAt(0).direction, DIR_RIGHT);
    }
    EXPECT_EQ(random.Next(), expected.Next());
}

TEST_F(GhostWalk, KillsAWormByMovingOntoItsHeadAndStaysPut) {
    Build({"######", "#gWb.#", "######"});
    Prepare();
    ASSERT_EQ(WormAt(0).length, 2);
    for (int i = 0; i < 200 && WormAt(0).state == WORM_ALIVE; ++i)
        Step(200);
    ASSERT_EQ(WormAt(0).state, WORM_DYING);
    EXPECT_EQ(GhostAt(0).x, 1);
    EXPECT_TRUE(HeadAt(WormAt(0), 2, 1));
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_DEATH_FIRST);
    EXPECT_EQ(sound.names, std::vector<std::string>{"WormDead"});
    // The frames block the ghost; once the head cell is empty it may move in.
    for (int i = 0; i < 9; ++i) {
        Step(50);
        EXPECT_EQ(GhostAt(0).x, 1);
    }
}

TEST_F(GhostWalk, DiesOnCactusWithItsFramesAndTimes) {
    Build({"#####", "#gk##", "#####", "#bW.#", "#####"});
    Prepare();
    for (int i = 0; i < 500 && GhostAt(0).x == 1; ++i)
        Step(10);
    ASSERT_EQ(GhostAt(0).x, 2);
    EXPECT_EQ(GhostAt(0).state, GHOST_DYING);
    EXPECT_EQ(sound.names, std::vector<std::string>{"GhostDead"});
    for (int ms = 10; ms < 2950; ms += 10) {
        Step(10);
        int expected = ms < 700 ? 88 : 89 + (ms - 700) / 150;
        ASSERT_EQ(Creature(2, 1), expected) << ms;
    }
    Step(10); // 2950 ms: 700 + 15 * 150
    EXPECT_EQ(Creature(2, 1), kNothing);
    EXPECT_TRUE(game.play.ghosts.empty());
}

TEST_F(GhostWalk, TheLastLivingGhostIsMarked) {
    Build({"########", "#g#g#g##", "########", "#bW....#", "########"});
    Prepare();
    EXPECT_EQ(Creature(1, 1), CREATURE_GHOST);
    EXPECT_EQ(Creature(3, 1), CREATURE_GHOST);
    EXPECT_EQ(Creature(5, 1), CREATURE_GHOST_MARKED);
    GhostAt(2).KillGhost(game);
    Step(0);
    EXPECT_TRUE(GhostAt(1).marked);
    EXPECT_EQ(Creature(3, 1), CREATURE_GHOST_MARKED);
    EXPECT_FALSE(GhostAt(2).marked);
    EXPECT_TRUE(game.KillMarkedGhost());
    EXPECT_EQ(GhostAt(1).state, GHOST_DYING);
    EXPECT_TRUE(game.KillMarkedGhost());
    EXPECT_FALSE(game.KillMarkedGhost());
}

} // namespace
