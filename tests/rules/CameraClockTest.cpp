// The rules' clock conversion and the camera that follows the current worm.
#include <cmath>

#include "RulesFixture.h"

using namespace kx;
using kxtest::RulesTest;

namespace {

TEST(Clock, MsToTicksRoundsToTheNearestTick) {
    CGame game;
    game.counterFrequency = 1999;
    EXPECT_EQ(game.MsToTicks(1), 2u);
    EXPECT_EQ(game.MsToTicks(200), 400u);
    game.counterFrequency = 1000000;
    EXPECT_EQ(game.MsToTicks(10000), 10000000u);
}

TEST(Sound, WithoutOutputTheRulesRunSilently) {
    CGame game;
    game.PlaySound("WormEatCorn"); // nothing to reach, nothing to crash
    kxtest::RecordingSound sound;
    game.SetSoundOutput(&sound);
    game.PlaySound("confirm");
    EXPECT_EQ(sound.names, std::vector<std::string>{"confirm"});
}

class Camera : public RulesTest {};

TEST_F(Camera, AJumpPutsTheViewOnTheHeadAndItThenRests) {
    Build({"########", "#....bW#", "########"});
    Prepare();
    EXPECT_DOUBLE_EQ(game.viewX, (6 * 32 + 16) * 10.0);
    EXPECT_DOUBLE_EQ(game.viewY, (1 * 32 + 16) * 10.0);
    game.redrawPending = false;
    game.UpdateView();
    EXPECT_FALSE(game.redrawPending);
    EXPECT_DOUBLE_EQ(game.velocityX, 0.0);
}

TEST_F(Camera, WithoutACurrentWormTheTargetStaysAndTheDivisorIs40) {
    Build({"########", "#....bW#", "########"});
    Prepare();
    game.play.activeWorm = 5;
    game.viewX = 0;
    game.targetX = 400;
    game.targetY = game.viewY;
    game.SetViewTarget(true);
    EXPECT_DOUBLE_EQ(game.viewX, 0.0);
    game.redrawPending = false;
    game.UpdateView();
    EXPECT_DOUBLE_EQ(game.velocityX, 10.0);
    EXPECT_DOUBLE_EQ(game.viewX, 10.0);
    EXPECT_TRUE(game.redrawPending);
}

TEST_F(Camera, AFastWormIsFollowedMoreClosely) {
    Build({"##########", "#bW......#", "##########"});
    Prepare();
    game.SteerCurrentWorm(DIR_RIGHT);
    game.play.now += 200;
    game.UpdateWorms();
    EXPECT_DOUBLE_EQ(game.targetX, (3 * 32 + 16) * 10.0);
    double start = game.viewX;
    WormAt(0).speedIndex = 0; // divisor 8
    game.UpdateView();
    EXPECT_NEAR(game.viewX - start, 320.0 / 8, 1e-9);
    game.velocityX = 0;
    game.viewX = start;
    WormAt(0).speedIndex = 15; // divisor 68
    game.UpdateView();
    EXPECT_NEAR(game.viewX - start, 320.0 / 68, 1e-9);
}

TEST_F(Camera, TheViewGlidesToItsTargetAndComesToRestThere) {
    Build({"########", "#bW....#", "########"});
    Prepare();
    game.viewX -= 3000;
    game.UpdateView();
    // The first step covers a fortieth of the gap (divisor 40 at the start speed).
    EXPECT_DOUBLE_EQ(game.viewX, game.targetX - 3000 + 3000.0 / 40);
    for (int i = 0; i < 300; ++i)
        game.UpdateView();
    int moves = 0;
    for (int i = 0; i < 100; ++i) {
        game.redrawPending = false;
        game.UpdateView();
        if (game.redrawPending)
            ++moves;
    }
    EXPECT_EQ(moves, 0);
    // At rest the velocity tends to a eighth of the gap, so a gap of 4 or more would move it.
    EXPECT_LT(std::fabs(game.viewX - game.targetX), 4.0);
}

} // namespace
