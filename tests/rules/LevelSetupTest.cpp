// Level set-up: worms and ghosts from creature codes, corn count, start directions.
#include <chrono>

#include "RulesFixture.h"

using namespace kx;
using kxtest::RulesTest;

namespace {

class LevelSetup : public RulesTest {};

TEST_F(LevelSetup, HeadsOnTheBorderVanishAndTheStandInWormAppears) {
    Build({"#W####", "#....w", "#....#", "######"});
    Prepare();
    ASSERT_EQ(game.play.worms.size(), 1u);
    EXPECT_TRUE(HeadAt(WormAt(0), 2, 1));
    EXPECT_EQ(WormAt(0).length, 2);
    EXPECT_EQ(WormAt(0).Segment(1).x, 1);
    EXPECT_EQ(WormAt(0).Segment(1).y, 1);
    EXPECT_EQ(Creature(1, 0), kNothing);
    EXPECT_EQ(Creature(5, 1), kNothing);
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_CURRENT);
    EXPECT_EQ(Creature(1, 1), CREATURE_WORM_BODY);
}

TEST_F(LevelSetup, TheLaterOfTwoCurrentHeadsIsCurrent) {
    Build({"#######", "#bW...#", "#...bW#", "#######"});
    Prepare();
    ASSERT_EQ(game.play.worms.size(), 2u);
    EXPECT_EQ(game.play.activeWorm, 1);
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_HEAD);
    EXPECT_EQ(Creature(5, 2), CREATURE_WORM_CURRENT);
}

TEST_F(LevelSetup, TheLeftBodyNeighbourIsTriedFirstAndOtherBodyCellsVanish) {
    Build({"#######", "#..b..#", "#.bwb.#", "#..b..#", "#######"});
    Prepare();
    ASSERT_EQ(game.play.worms.size(), 1u);
    EXPECT_EQ(WormAt(0).length, 2);
    EXPECT_EQ(WormAt(0).Segment(1).x, 2);
    EXPECT_EQ(Creature(4, 2), kNothing);
    EXPECT_EQ(Creature(3, 1), kNothing);
    EXPECT_EQ(Creature(3, 3), kNothing);
}

TEST_F(LevelSetup, ABodyCellBetweenTwoHeadsGoesToTheFirstWormOnly) {
    Build({"#######", "#.wbw.#", "#.....#", "#######"});
    Prepare();
    ASSERT_EQ(game.play.worms.size(), 2u);
    EXPECT_EQ(WormAt(0).length, 2);
    EXPECT_EQ(WormAt(0).Segment(1).x, 3);
    EXPECT_EQ(WormAt(1).length, 1);
}

TEST_F(LevelSetup, GhostsOnTheBorderAndMarkedGhostsStartAsOrdinaryGhosts) {
    Build({"##g###", "#bW..#", "#....#", "######"});
    game.play.field.CellAt(3, 2).creature = CREATURE_GHOST_MARKED;
    Prepare();
    ASSERT_EQ(game.play.ghosts.size(), 2u);
    EXPECT_EQ(GhostAt(0).x, 2);
    EXPECT_EQ(GhostAt(0).y, 0);
    EXPECT_FALSE(GhostAt(0).marked);
    EXPECT_TRUE(GhostAt(1).marked);
    EXPECT_EQ(Creature(2, 0), CREATURE_GHOST);
    EXPECT_EQ(GhostAt(1).stepInterval, 200u);
}

TEST_F(LevelSetup, TheStandInWormKeepsItsCellsFromLevelGhosts) {
    Build({"######", "#gg..#", "#....#", "######"});
    Prepare();
    EXPECT_TRUE(game.play.ghosts.empty());
    EXPECT_EQ(Creature(2, 1), CREATURE_WORM_CURRENT);
}

TEST_F(LevelSetup, CornInBothLayersIsCounted) {
    Build({"######", "#bWc.#", "#....#", "######"});
    game.play.field.CellAt(4, 2).swItem = ITEM_CORN;
    game.play.field.CellAt(3, 1).swItem = ITEM_CORN;
    Prepare(false);
    EXPECT_EQ(game.play.cornLeft, 3);
}

TEST_F(LevelSetup, AnArrowUnderTheHeadGivesTheFirstDirection) {
    Build({"#######", "#.W...#", "#######"});
    game.play.field.CellAt(2, 1).objects[0] = OBJ_ARROW_RIGHT;
    Prepare();
    EXPECT_EQ(WormAt(0).queued1, DIR_RIGHT);
    WormSteps(1);
    EXPECT_TRUE(HeadAt(WormAt(0), 3, 1));
}

TEST_F(LevelSetup, PrepareAgainStartsTheLevelStateAfresh) {
    Build({"#######", "#bW.g.#", "#######"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    WormSteps(3);
    Build({"#######", "#bW...#", "#######"});
    Prepare();
    EXPECT_EQ(game.play.worms.size(), 1u);
    EXPECT_TRUE(game.play.ghosts.empty());
    EXPECT_EQ(WormAt(0).lastStep, 0u);
    EXPECT_EQ(game.play.activeWorm, 0);
}

TEST(LevelSetupField, AFieldThatWasNeverMadeIsMadeBeforeUse) {
    CGame game;
    game.PrepareLevel();
    EXPECT_EQ(game.play.field.width, 3);
    EXPECT_EQ(game.play.worms.size(), 1u);
    EXPECT_EQ(CheckCreatureLayer(game.play), "");
}

TEST(SpeedTable, ClampsItsIndex) {
    EXPECT_EQ(SpeedMs(-3), 15);
    EXPECT_EQ(SpeedMs(0), 15);
    EXPECT_EQ(SpeedMs(8), 200);
    EXPECT_EQ(SpeedMs(15), 800);
    EXPECT_EQ(SpeedMs(99), 800);
}

// Worm heads and ghosts on alternate cells of a 400 x 400 level: a ghost's cell is checked
// against the worms through the field, not against every worm (that took half a minute).
TEST(LevelSetupScale, HeadsAndGhostsOnAlternateCellsOfALargeLevelSetUpAtOnce) {
    CGame game;
    game.play.field.CreateField(400, 400);
    int32_t heads = 0;
    int32_t ghosts = 0;
    for (int32_t y = 1; y < 399; ++y) {
        for (int32_t x = 1; x < 399; ++x) {
            bool head = (x + y) % 2 == 0;
            game.play.field.CellAt(x, y).creature = head ? CREATURE_WORM_HEAD : CREATURE_GHOST;
            ++(head ? heads : ghosts);
        }
    }
    auto start = std::chrono::steady_clock::now();
    game.PrepareLevel();
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 5.0);
    EXPECT_EQ(game.play.worms.size(), static_cast<size_t>(heads));
    EXPECT_EQ(game.play.ghosts.size(), static_cast<size_t>(ghosts));
    EXPECT_EQ(CheckCreatureLayer(game.play), "");
    // One-cell worms hold room for a few segments, not for the longest worm there is.
    size_t bytes = 0;
    for (const Worm& worm : game.play.worms)
        bytes += sizeof(Worm) + worm.segments.capacity() * sizeof(SegmentPos);
    EXPECT_LT(bytes / game.play.worms.size(), 128u);
}

} // namespace
