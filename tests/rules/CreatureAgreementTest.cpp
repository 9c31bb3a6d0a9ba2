// The field's creature layer and the creature lists stay in agreement where the step order
// would otherwise let them drift apart.
#include "RulesFixture.h"

using namespace kx;
using kxtest::RulesTest;

namespace {

class CreatureAgreement : public RulesTest {};

TEST_F(CreatureAgreement, ALarvaGhostsCellIsTakenBeforeTheGhostPass) {
    Build({"########", "#.bWcl.#", "#......#", "#.w....#", "#.b....#", "########"});
    Prepare();
    ASSERT_EQ(game.play.worms.size(), 2u);
    game.SteerCurrentWorm(DIR_RIGHT);
    WormAt(1).QueueDirection(DIR_UP);
    WormSteps(1);
    ASSERT_TRUE(HeadAt(WormAt(1), 2, 2));
    // The first worm's larva leaves a ghost at (2, 1); the second worm, later in the same
    // pass, runs into it instead of over it.
    game.play.now += 200;
    game.UpdateWorms();
    ASSERT_EQ(game.play.ghosts.size(), 1u);
    EXPECT_EQ(Creature(2, 1), CREATURE_GHOST);
    EXPECT_EQ(WormAt(1).state, WORM_DYING);
    EXPECT_TRUE(HeadAt(WormAt(1), 2, 2));
    game.UpdateGhosts();
    EXPECT_EQ(CheckCreatureLayer(game.play), "");
}

TEST_F(CreatureAgreement, ADeadWormGivesUpItsEmptiedHeadCell) {
    Build({"#######", "#bW<..#", "#..w..#", "#..b..#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    ASSERT_EQ(WormAt(0).state, WORM_DYING);
    for (int i = 0; i < 9; ++i)
        Step(50);
    WormAt(1).QueueDirection(DIR_UP);
    WormAt(1).lastStep = 0; // due in the pass in which the animation ends
    Step(50);
    ASSERT_EQ(WormAt(0).state, WORM_DEAD);
    EXPECT_EQ(WormAt(0).length, 1);
    EXPECT_TRUE(HeadAt(WormAt(1), 3, 1));
    EXPECT_EQ(game.FindWormAt(3, 1), 1);
    Step(50); // the dead body's last segment goes; the other worm's head stays
    EXPECT_EQ(game.play.worms.size(), 1u);
    EXPECT_EQ(Creature(3, 1), CREATURE_WORM_CURRENT);
}

TEST_F(CreatureAgreement, CompletingTheLevelMarksADeadWormOnItsOwnRemains) {
    Build({"########", "#bW<...#", "#......#", "#bwc...#", "########"});
    Prepare(false);
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(1);
    for (int i = 0; i < 10; ++i)
        Step(50);
    ASSERT_EQ(WormAt(0).state, WORM_DEAD);
    WormAt(1).QueueDirection(DIR_RIGHT);
    WormAt(1).lastStep = 0;
    game.play.now += 10;
    game.play.worms[0].lastStep = game.play.now; // not due: it keeps its last segment in this pass
    game.UpdateWorms();
    EXPECT_EQ(WormAt(0).state, WORM_LEAVING);
    EXPECT_EQ(Creature(3, 1), kNothing);
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_LEAVING);
    EXPECT_EQ(CheckCreatureLayer(game.play), "");
}

TEST_F(CreatureAgreement, TheCheckNoticesACellThatDisagrees) {
    Build({"#######", "#bW.g.#", "#######"});
    Prepare();
    EXPECT_EQ(CheckCreatureLayer(game.play), "");
    game.play.field.CellAt(3, 1).creature = CREATURE_WORM_BODY;
    EXPECT_NE(CheckCreatureLayer(game.play), "");
    game.play.field.CellAt(3, 1).creature = kNothing;
    GhostAt(0).marked = false;
    EXPECT_NE(CheckCreatureLayer(game.play), "");
}

} // namespace
