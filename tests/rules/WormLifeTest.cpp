// A worm's end: death and drowning frames with their intervals, leaving the field, deletion.
#include "RulesFixture.h"

using namespace kx;
using kxtest::RulesTest;

namespace {

class WormLife : public RulesTest {};

TEST_F(WormLife, DeathShowsTenFramesFiftyMsApartThenTheBodyVanishes) {
    Build({"#######", "#bW<..#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    ASSERT_EQ(WormAt(0).state, WORM_DYING);
    for (int i = 1; i < 50; ++i) {
        Step(10);
        int ms = 10 * i;
        ASSERT_EQ(Creature(3, 1), CREATURE_WORM_DEATH_FIRST + ms / 50) << ms;
        ASSERT_EQ(Creature(2, 1), CREATURE_WORM_BODY) << ms;
    }
    Step(10); // 500 ms: the last frame has had its time
    EXPECT_EQ(Creature(3, 1), kNothing);
    ASSERT_EQ(game.play.worms.size(), 1u);
    EXPECT_EQ(WormAt(0).state, WORM_DEAD);
    for (int i = 0; i < 4; ++i)
        Step(10);
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_BODY);
    Step(10); // 550 ms
    EXPECT_EQ(Creature(2, 1), kNothing);
    EXPECT_TRUE(game.play.worms.empty());
    EXPECT_GE(game.play.cornLeft, 1); // the level is lost
}

TEST_F(WormLife, DrowningShowsTwentyFramesThirtyMsApart) {
    Build({"#######", "#bW~..#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    ASSERT_EQ(WormAt(0).state, WORM_DYING);
    for (int i = 1; i < 60; ++i) {
        Step(10);
        int ms = 10 * i;
        ASSERT_EQ(Creature(3, 1), CREATURE_WORM_DROWN_FIRST + ms / 30) << ms;
    }
    Step(10); // 600 ms
    EXPECT_EQ(Creature(3, 1), kNothing);
    EXPECT_EQ(WormAt(0).state, WORM_DEAD);
    Step(30);
    EXPECT_TRUE(game.play.worms.empty());
}

TEST_F(WormLife, EatingTheLastCornSendsEveryWormAwayAndWinsTheLevel) {
    Build({"#######", "#bWc..#", "#.....#", "#bw...#", "#######"});
    Prepare(false);
    ASSERT_EQ(game.play.cornLeft, 1);
    game.SteerCurrentWorm(DIR_RIGHT);
    Step(200);
    EXPECT_EQ(sound.names, (std::vector<std::string>{"WormEatCorn", "LevelWon"}));
    EXPECT_EQ(WormAt(0).state, WORM_LEAVING);
    EXPECT_EQ(WormAt(1).state, WORM_LEAVING);
    EXPECT_EQ(Creature(3, 1), CREATURE_WORM_LEAVING);
    EXPECT_EQ(Creature(2, 3), CREATURE_WORM_LEAVING);
    EXPECT_EQ(WormAt(0).length, 3);
    Step(80);
    EXPECT_EQ(WormAt(0).length, 2);
    EXPECT_EQ(Creature(1, 1), kNothing);
    Step(80);
    Step(80);
    EXPECT_TRUE(game.play.worms.empty());
    EXPECT_EQ(game.play.cornLeft, 0);
    for (int y = 0; y < game.play.field.height; ++y)
        for (int x = 0; x < game.play.field.width; ++x)
            EXPECT_EQ(Creature(x, y), kNothing);
}

TEST_F(WormLife, ADyingWormLeavesWhenTheLastCornIsEaten) {
    Build({"#######", "#bWc..#", "#.....#", "#bw<..#", "#######"});
    Prepare(false);
    game.play.activeWorm = 1;
    game.MarkWormHeads();
    game.SteerCurrentWorm(DIR_RIGHT);
    Step(200); // worm 1 dies at the arrow
    ASSERT_EQ(WormAt(1).state, WORM_DYING);
    game.play.activeWorm = 0;
    game.MarkWormHeads();
    game.SteerCurrentWorm(DIR_RIGHT);
    Step(200);
    EXPECT_EQ(WormAt(1).state, WORM_LEAVING);
    EXPECT_EQ(Creature(3, 3), CREATURE_WORM_LEAVING);
}

TEST_F(WormLife, TheWormAfterADeletedOneBecomesCurrentAndShowsIt) {
    Build({"#######", "#bw...#", "#bW...#", "#bw...#", "#######"});
    Prepare();
    ASSERT_EQ(game.play.activeWorm, 1);
    WormAt(0).Die(game);
    for (int i = 0; i < 11; ++i)
        Step(50);
    ASSERT_EQ(game.play.worms.size(), 2u);
    EXPECT_EQ(game.play.activeWorm, 1);
    EXPECT_TRUE(HeadAt(*game.CurrentWorm(), 2, 3));
    EXPECT_EQ(Creature(2, 3), CREATURE_WORM_CURRENT);
    EXPECT_EQ(Creature(2, 2), CREATURE_WORM_HEAD);

    WormAt(1).Die(game);
    for (int i = 0; i < 11; ++i)
        Step(50);
    ASSERT_EQ(game.play.worms.size(), 1u);
    EXPECT_EQ(game.play.activeWorm, 0);
    EXPECT_EQ(Creature(2, 2), CREATURE_WORM_CURRENT);
}

TEST_F(WormLife, RemoveTailKeepsTheLastSegmentOnlyForALivingWorm) {
    Build({"#####", "#.w.#", "#####"});
    Prepare();
    Worm& worm = WormAt(0);
    ASSERT_EQ(worm.length, 1);
    worm.RemoveTail(game.play.field);
    EXPECT_EQ(worm.length, 1);
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_CURRENT);
    worm.state = WORM_LEAVING;
    worm.RemoveTail(game.play.field);
    EXPECT_EQ(worm.length, 0);
    EXPECT_EQ(Creature(2, 1), kNothing);
}

TEST_F(WormLife, AOneSegmentWormBecomesTwoLongWithItsFirstStep) {
    Build({"######", "#.w..#", "######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_EQ(WormAt(0).length, 2);
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_BODY);
}

TEST_F(WormLife, TabSelectsTheNextWormAndWrapsAround) {
    Build({"#######", "#bw...#", "#bW...#", "#######"});
    Prepare();
    game.SelectNextWorm();
    EXPECT_EQ(game.play.activeWorm, 0);
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_CURRENT);
    EXPECT_EQ(Creature(2, 2), CREATURE_WORM_HEAD);
    game.play.activeWorm = 7; // past the end: no current worm
    game.SteerCurrentWorm(DIR_RIGHT);
    EXPECT_EQ(WormAt(0).queued1, DIR_NONE);
    EXPECT_EQ(WormAt(1).queued1, DIR_NONE);
    game.SelectNextWorm();
    EXPECT_EQ(game.play.activeWorm, 0);
}

TEST_F(WormLife, TabLeavesADyingWormsFrameAlone) {
    Build({"#######", "#bw...#", "#bW...#", "#######"});
    Prepare();
    WormAt(0).Die(game);
    game.SelectNextWorm();
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_DEATH_FIRST);
    EXPECT_EQ(CheckCreatureLayer(game.play), "");
}

} // namespace
