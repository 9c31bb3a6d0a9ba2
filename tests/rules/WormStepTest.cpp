// Worm movement: walking, turning, arrows, queued keys, ice, growth and shrinking.
#include "RulesFixture.h"

using namespace kx;
using kxtest::RulesTest;

namespace {

class WormStep : public RulesTest {};

TEST_F(WormStep, StandsStillUntilAKeyIsQueued) {
    Build({"#######", "#bW...#", "#######"});
    Prepare();
    WormSteps(3);
    EXPECT_TRUE(HeadAt(WormAt(0), 2, 1));
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_CURRENT);
}

TEST_F(WormStep, WalksHeadFirstAndStopsInFrontOfAWall) {
    Build({"#######", "#bW...#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    Worm& worm = WormAt(0);
    EXPECT_TRUE(HeadAt(worm, 3, 1));
    EXPECT_EQ(Creature(3, 1), CREATURE_WORM_CURRENT);
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_BODY);
    EXPECT_EQ(Creature(1, 1), kNothing);
    EXPECT_EQ(worm.length, 2);
    WormSteps(3);
    EXPECT_TRUE(HeadAt(worm, 5, 1));
    EXPECT_EQ(worm.direction, DIR_NONE);
    EXPECT_EQ(worm.state, WORM_ALIVE);
}

TEST_F(WormStep, StepsOnlyWhenItsIntervalHasPassed) {
    Build({"#########", "#bW.....#", "#########"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    Step(0); // due at once: lastStep is 0
    EXPECT_TRUE(HeadAt(WormAt(0), 3, 1));
    for (int i = 0; i < 19; ++i)
        Step(10);
    EXPECT_TRUE(HeadAt(WormAt(0), 3, 1));
    Step(10);
    EXPECT_TRUE(HeadAt(WormAt(0), 4, 1));
}

TEST_F(WormStep, EatsCornAndGrowsByOne) {
    Build({"########", "#bWcc..#", "########"});
    Prepare();
    EXPECT_EQ(game.play.cornLeft, 3);
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_EQ(WormAt(0).length, 3);
    EXPECT_EQ(game.play.cornLeft, 2);
    EXPECT_EQ(game.play.field.CellAt(3, 1).item, kNothing);
    EXPECT_EQ(sound.names, std::vector<std::string>{"WormEatCorn"});
    EXPECT_EQ(Creature(1, 1), CREATURE_WORM_BODY);
}

TEST_F(WormStep, GrowsTo200AndNoFurther) {
    std::string corridor = "#bW" + std::string(210, 'c') + "#";
    std::string wall(corridor.size(), '#');
    Build({wall, corridor, wall});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    for (int i = 0; i < 205; ++i) {
        game.play.now += 200;
        game.UpdateWorms();
        ASSERT_LE(WormAt(0).length, 200);
    }
    EXPECT_EQ(WormAt(0).length, 200);
    EXPECT_EQ(game.play.cornLeft, 6);
    EXPECT_TRUE(HeadAt(WormAt(0), 207, 1));
    EXPECT_EQ(Creature(207 - 200, 1), kNothing);
    EXPECT_EQ(Creature(207 - 199, 1), CREATURE_WORM_BODY);
    EXPECT_EQ(CheckCreatureLayer(game.play), "");
}

TEST_F(WormStep, AntiCornShortensByOneStepButNotBelowTwo) {
    Build({"#############", "#bWcccaaaa..#", "#############"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(3);
    EXPECT_EQ(WormAt(0).length, 5);
    std::vector<int32_t> lengths;
    for (int i = 0; i < 4; ++i) {
        WormSteps(1);
        lengths.push_back(WormAt(0).length);
    }
    EXPECT_EQ(lengths, (std::vector<int32_t>{4, 3, 2, 2}));
    EXPECT_EQ(sound.names.back(), "WormEatAntiCorn");
}

TEST_F(WormStep, SpeedItemsChangeThePaceAndKeepTheLength) {
    Build({"########", "#bW+-..#", "########"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_EQ(WormAt(0).speedIndex, 7);
    EXPECT_EQ(WormAt(0).stepInterval, 150u);
    EXPECT_EQ(WormAt(0).length, 2);
    Step(150);
    EXPECT_EQ(WormAt(0).speedIndex, 8);
    EXPECT_EQ(WormAt(0).stepInterval, 200u);
    EXPECT_EQ(sound.names, (std::vector<std::string>{"WormSpeedUp", "WormSpeedDown"}));
}

TEST_F(WormStep, FollowsALeftTurnUnderItsHead) {
    Build({"#######", "#.....#", "#bW.L.#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(2);
    EXPECT_TRUE(HeadAt(WormAt(0), 4, 2));
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 4, 1));
    EXPECT_EQ(WormAt(0).direction, DIR_UP);
}

TEST_F(WormStep, ATurnUnderAStandingWormDoesNotStartIt) {
    Build({"#######", "#.....#", "#bW...#", "#######"});
    game.play.field.CellAt(2, 2).objects[0] = OBJ_TURN_LEFT;
    Prepare();
    WormSteps(2);
    EXPECT_TRUE(HeadAt(WormAt(0), 2, 2));
}

TEST_F(WormStep, AnArrowEnteredAlongItsDirectionKeepsTheWormGoing) {
    Build({"#######", "#.....#", "#bW^..#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_EQ(WormAt(0).state, WORM_ALIVE);
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 3, 1));
    EXPECT_EQ(WormAt(0).direction, DIR_UP);
}

TEST_F(WormStep, EnteringAnArrowAgainstItsDirectionKills) {
    Build({"#######", "#bW<..#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_EQ(WormAt(0).state, WORM_DYING);
    EXPECT_TRUE(HeadAt(WormAt(0), 3, 1));
    EXPECT_EQ(Creature(3, 1), CREATURE_WORM_DEATH_FIRST);
    EXPECT_EQ(sound.names, std::vector<std::string>{"WormDead"});
}

TEST_F(WormStep, AnArrowPointingBackIntoTheBodyStopsTheWorm) {
    Build({"#######", "#bW...#", "#######"});
    game.play.field.CellAt(2, 1).objects[0] = OBJ_ARROW_LEFT;
    Prepare();
    // The arrow queued "left" at set-up; the right key is queued behind it.
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(2);
    EXPECT_TRUE(HeadAt(WormAt(0), 2, 1));
    EXPECT_EQ(WormAt(0).direction, DIR_NONE);
    EXPECT_EQ(WormAt(0).queued1, DIR_NONE);
    EXPECT_EQ(WormAt(0).state, WORM_ALIVE);
}

TEST_F(WormStep, RunningIntoABodyKillsWithoutMoving) {
    Build({"#######", "#bW.b.#", "#...w.#", "#######"});
    Prepare();
    ASSERT_EQ(game.play.worms.size(), 2u);
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(2);
    EXPECT_EQ(WormAt(0).state, WORM_DYING);
    EXPECT_TRUE(HeadAt(WormAt(0), 3, 1));
    EXPECT_EQ(WormAt(0).length, 2);
    EXPECT_EQ(WormAt(1).state, WORM_ALIVE);
}

TEST_F(WormStep, DrownsWhenTheSwitchItEntersTurnsToWater) {
    Build({"########", "#bW....#", "#......#", "########"});
    FieldCell& sw = game.play.field.CellAt(3, 1);
    sw.flags = FLAG_SWITCH;
    sw.switchNo = 0;
    sw.swGround = GROUND_WATER;
    sw.swFlags = 0;
    FieldCell& other = game.play.field.CellAt(5, 2);
    other.switchNo = 0;
    other.swFlags = FLAG_NO_WORMS;
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_EQ(game.play.field.CellAt(3, 1).ground, GROUND_WATER);
    EXPECT_EQ(game.play.field.CellAt(5, 2).flags, FLAG_NO_WORMS);
    EXPECT_EQ(WormAt(0).state, WORM_DYING);
    EXPECT_EQ(Creature(3, 1), CREATURE_WORM_DROWN_FIRST);
    EXPECT_EQ(sound.names, (std::vector<std::string>{"switch", "WormDeadWater"}));
}

TEST_F(WormStep, StandingOnASwitchDoesNotToggleItAgain) {
    Build({"########", "#bW.#..#", "########"});
    FieldCell& sw = game.play.field.CellAt(3, 1);
    sw.flags = FLAG_SWITCH;
    sw.swFlags = FLAG_SWITCH;
    sw.switchNo = 4;
    sw.swGround = 70;
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_EQ(game.play.field.CellAt(3, 1).ground, 70);
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(2);
    EXPECT_TRUE(HeadAt(WormAt(0), 3, 1));
    EXPECT_EQ(game.play.field.CellAt(3, 1).ground, 70);
    EXPECT_EQ(sound.names, std::vector<std::string>{"switch"});
}

TEST(WormQueue, TheThirdKeyReplacesTheSecondAndARepeatIsDropped) {
    Worm worm;
    worm.QueueDirection(DIR_DOWN);
    worm.QueueDirection(DIR_LEFT);
    worm.QueueDirection(DIR_UP);
    EXPECT_EQ(worm.queued1, DIR_DOWN);
    EXPECT_EQ(worm.queued2, DIR_UP);
    Worm other;
    other.QueueDirection(DIR_LEFT);
    other.QueueDirection(DIR_LEFT);
    EXPECT_EQ(other.queued1, DIR_LEFT);
    EXPECT_EQ(other.queued2, DIR_NONE);
}

TEST_F(WormStep, TwoQueuedTurnsAreTakenOnTwoSteps) {
    Build({"#######", "#.....#", "#.bW..#", "#.....#", "#.....#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 4, 2));
    game.SteerCurrentWorm(DIR_DOWN);
    game.SteerCurrentWorm(DIR_LEFT);
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 4, 3));
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 3, 3));
    EXPECT_EQ(WormAt(0).direction, DIR_LEFT);
}

TEST_F(WormStep, AQueuedTurnWaitsForTheNextOpening) {
    Build({"#########", "#bW.....#", "####.####", "#.......#", "#########"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    game.SteerCurrentWorm(DIR_DOWN);
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 4, 1));
    EXPECT_EQ(WormAt(0).queued1, DIR_DOWN);
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 4, 2));
    EXPECT_EQ(WormAt(0).queued1, DIR_NONE);
}

TEST_F(WormStep, TheSecondQueuedKeyWorksPastABlockedReversal) {
    Build({"#######", "#.....#", "#bW...#", "#.....#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    game.SteerCurrentWorm(DIR_LEFT); // into its own body: never taken
    game.SteerCurrentWorm(DIR_UP);
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 3, 1));
    EXPECT_EQ(WormAt(0).queued1, DIR_NONE);
    EXPECT_EQ(WormAt(0).state, WORM_ALIVE);
}

TEST_F(WormStep, OnIceATurnWaitsUntilTheWayAheadIsBlocked) {
    Build({"#######", "#bW===#", "#.....#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 3, 1));
    game.SteerCurrentWorm(DIR_DOWN);
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 4, 1));
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 5, 1));
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 5, 2));
}

TEST_F(WormStep, OnIceATurnIsTakenOnceTheHeadLeavesTheIce) {
    Build({"########", "#bW==..#", "#......#", "########"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    game.SteerCurrentWorm(DIR_DOWN);
    WormSteps(2);
    EXPECT_TRUE(HeadAt(WormAt(0), 5, 1));
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 5, 2));
}

TEST_F(WormStep, AQueuedTurnIntoACreatureIsNotTaken) {
    Build({"#######", "#.bw..#", "#bW...#", "#.....#", "#######"});
    Prepare();
    ASSERT_EQ(game.play.worms.size(), 2u);
    ASSERT_EQ(game.play.activeWorm, 1);
    game.SteerCurrentWorm(DIR_UP); // (2, 1) belongs to the other worm
    WormSteps(1);
    // Not taken, no direction: the worm stands and the queue is cleared.
    EXPECT_TRUE(HeadAt(WormAt(1), 2, 2));
    EXPECT_EQ(WormAt(1).state, WORM_ALIVE);
    EXPECT_EQ(WormAt(1).queued1, DIR_NONE);
}

} // namespace
