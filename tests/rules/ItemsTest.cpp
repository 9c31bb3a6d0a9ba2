// Items and their sounds: ghost killer, larva, ghost pace, and the title-screen inversions.
#include "RulesFixture.h"

using namespace kx;
using kxtest::RulesTest;

namespace {

class Items : public RulesTest {};

// Two ghosts shut in one-cell pockets below the worm's corridor.
const std::vector<std::string> kPocketGhosts = {"##########", "#bW......#", "##########",
                                                "#g#g######", "##########"};

TEST_F(Items, TheGhostKillerTakesTheMarkedGhost) {
    Build(kPocketGhosts);
    game.play.field.CellAt(3, 1).item = ITEM_GHOST_KILLER;
    Prepare();
    ASSERT_EQ(game.play.ghosts.size(), 2u);
    EXPECT_EQ(Creature(3, 3), CREATURE_GHOST_MARKED);
    Step(0); // the ghosts' first update; a killed ghost's next frame counts from there
    game.SteerCurrentWorm(DIR_RIGHT);
    Step(200);
    EXPECT_EQ(GhostAt(1).state, GHOST_DYING);
    EXPECT_EQ(Creature(3, 3), CREATURE_GHOST_DEATH_FIRST);
    EXPECT_EQ(GhostAt(0).state, GHOST_ALIVE);
    EXPECT_EQ(Creature(1, 3), CREATURE_GHOST_MARKED);
    EXPECT_EQ(game.play.field.CellAt(3, 1).item, kNothing);
    EXPECT_EQ(sound.names, std::vector<std::string>{"GhostDead"});
}

TEST_F(Items, AGhostKillerStaysWhenNoGhostLives) {
    Build({"#######", "#bWx..#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(2);
    EXPECT_TRUE(HeadAt(WormAt(0), 4, 1));
    EXPECT_EQ(game.play.field.CellAt(3, 1).item, ITEM_GHOST_KILLER);
    EXPECT_EQ(WormAt(0).length, 2);
    EXPECT_TRUE(sound.names.empty());
}

TEST_F(Items, ALarvaTurnsTheTailOfALongWormIntoAGhost) {
    Build({"#########", "#bWcl...#", "#########"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    ASSERT_EQ(WormAt(0).length, 3);
    game.play.now += 200;
    game.UpdateWorms();
    // Tail (1, 1) became the ghost; the move took (2, 1) too.
    EXPECT_EQ(WormAt(0).length, 2);
    ASSERT_EQ(game.play.ghosts.size(), 1u);
    EXPECT_EQ(GhostAt(0).x, 1);
    EXPECT_EQ(GhostAt(0).y, 1);
    EXPECT_EQ(GhostAt(0).lastStep, 0u);
    EXPECT_EQ(Creature(1, 1), CREATURE_GHOST);
    EXPECT_EQ(Creature(2, 1), kNothing);
    EXPECT_EQ(game.play.field.CellAt(4, 1).item, kNothing);
    EXPECT_EQ(sound.names.back(), "GhostNew");
    game.UpdateGhosts(); // due at once; marked at the end of the pass
    EXPECT_NE(GhostAt(0).lastStep, 0u);
    EXPECT_TRUE(GhostAt(0).marked);
    EXPECT_EQ(CheckCreatureLayer(game.play), "");
}

TEST_F(Items, ALarvaStaysUnderAWormOfTwoSegments) {
    Build({"#######", "#bWl..#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(2);
    EXPECT_TRUE(HeadAt(WormAt(0), 4, 1));
    EXPECT_EQ(WormAt(0).length, 2);
    EXPECT_TRUE(game.play.ghosts.empty());
    EXPECT_EQ(game.play.field.CellAt(3, 1).item, ITEM_GHOST_LARVA);
}

TEST_F(Items, GhostPaceItemsChangeEveryGhost) {
    Build(kPocketGhosts);
    game.play.field.CellAt(3, 1).item = ITEM_GHOSTS_FASTER;
    game.play.field.CellAt(4, 1).item = ITEM_GHOSTS_SLOWER;
    game.play.field.CellAt(5, 1).item = ITEM_GHOSTS_SLOWER;
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    Step(200);
    EXPECT_EQ(GhostAt(0).speedIndex, 7);
    EXPECT_EQ(GhostAt(1).stepInterval, 150u);
    WormSteps(2);
    EXPECT_EQ(GhostAt(0).speedIndex, 9);
    EXPECT_EQ(GhostAt(1).stepInterval, 250u);
    EXPECT_EQ(sound.names,
              (std::vector<std::string>{"GhostSpeedUp", "GhostSpeedDown", "GhostSpeedDown"}));
}

TEST_F(Items, GhostsFasterBringsADyingGhostsNextFrameForward) {
    Build(kPocketGhosts);
    game.play.field.CellAt(3, 1).item = ITEM_GHOSTS_FASTER;
    Prepare();
    Step(0); // everybody's first update: the worm stands, the ghosts try to move
    GhostAt(1).KillGhost(game);
    game.SteerCurrentWorm(DIR_RIGHT);
    Step(200); // the item makes the step time 150 ms; 200 ms have passed
    EXPECT_EQ(Creature(3, 3), CREATURE_GHOST_DEATH_FIRST + 1);
    for (int i = 0; i < 14; ++i)
        Step(10);
    EXPECT_EQ(Creature(3, 3), CREATURE_GHOST_DEATH_FIRST + 1);
    Step(10); // 150 ms after the last frame
    EXPECT_EQ(Creature(3, 3), CREATURE_GHOST_DEATH_FIRST + 2);
}

TEST_F(Items, UnknownItemsVanishWithoutEffect) {
    Build({"#######", "#bW...#", "#######"});
    game.play.field.CellAt(3, 1).item = 9;
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_EQ(game.play.field.CellAt(3, 1).item, kNothing);
    EXPECT_EQ(WormAt(0).length, 2);
    EXPECT_TRUE(sound.names.empty());
}

class TitleScreen : public RulesTest {
protected:
    void SetUp() override { game.play.notInLevel = true; }
};

TEST_F(TitleScreen, CornAndAntiCornTakeEachOthersPlaceSilently) {
    Build({"###########", "#bWca+-...#", "###########"});
    Prepare();
    ASSERT_EQ(game.play.cornLeft, 2);
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    EXPECT_EQ(game.play.field.CellAt(3, 1).item, ITEM_ANTI_CORN);
    EXPECT_EQ(game.play.cornLeft, 1);
    EXPECT_EQ(WormAt(0).length, 3);
    WormSteps(1);
    EXPECT_EQ(game.play.field.CellAt(4, 1).item, ITEM_CORN);
    EXPECT_EQ(game.play.cornLeft, 2);
    EXPECT_EQ(WormAt(0).length, 2);
    WormSteps(1);
    EXPECT_EQ(game.play.field.CellAt(5, 1).item, ITEM_WORM_SLOWER);
    EXPECT_EQ(WormAt(0).speedIndex, 7);
    Step(150);
    EXPECT_EQ(game.play.field.CellAt(6, 1).item, ITEM_WORM_FASTER);
    EXPECT_EQ(WormAt(0).speedIndex, 8);
    EXPECT_TRUE(sound.names.empty());
}

TEST_F(TitleScreen, TheLastCornSendsOnlyItsEaterAwayAndWinsNothingAudibly) {
    Build({"#######", "#bWc..#", "#.....#", "#bw...#", "#######"});
    Prepare(false);
    game.SteerCurrentWorm(DIR_RIGHT);
    game.play.now += 200;
    game.play.worms[1].lastStep = game.play.now; // not due in this pass
    game.UpdateWorms();
    EXPECT_EQ(game.play.cornLeft, 0);
    EXPECT_EQ(WormAt(0).state, WORM_LEAVING);
    EXPECT_EQ(WormAt(1).state, WORM_ALIVE);
    EXPECT_EQ(Creature(3, 1), CREATURE_WORM_LEAVING);
    Step(200);
    EXPECT_EQ(WormAt(1).state, WORM_LEAVING);
    EXPECT_TRUE(sound.names.empty());
}

TEST_F(TitleScreen, DeathSwitchAndGhostDeathAreSilentButDrowningAndLarvaeAreHeard) {
    Build({"##########", "#bWcl.<..#", "#........#", "#bw~.....#", "##########"});
    FieldCell& sw = game.play.field.CellAt(5, 1);
    sw.flags = FLAG_SWITCH;
    sw.switchNo = 1;
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    game.play.worms[1].QueueDirection(DIR_RIGHT);
    WormSteps(4); // corn, larva (new ghost), switch, arrow against its direction
    EXPECT_EQ(WormAt(1).state, WORM_DYING);
    EXPECT_EQ(WormAt(0).state, WORM_DYING);
    game.play.ghosts.at(0).KillGhost(game);
    EXPECT_EQ(sound.names, (std::vector<std::string>{"WormDeadWater", "GhostNew"}));
}

} // namespace
