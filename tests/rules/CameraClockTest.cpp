// The rules' clock conversion and the camera that follows the current worm.
#include <algorithm>
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

TEST_F(Camera, AFieldThatFitsIsCentredAndALargerOneShowsAtMostOneCellBeyondItsEdge) {
    // 12 cells wide (384 px) fit a 650 px window; 40 rows (1280 px) do not.
    std::vector<std::string> rows(40, "#..........#");
    rows.front() = rows.back() = std::string(12, '#');
    rows[1] = "#bW........#";
    Build(rows);
    game.SetViewSize(650, 650);
    Prepare();
    EXPECT_DOUBLE_EQ(game.viewX, 384 / 2 * 10.0);
    // The head's centre (48) lies nearer the top than half a window: clamped to 325 - 32.
    EXPECT_DOUBLE_EQ(game.viewY, 293 * 10.0);
    // Steered down the long axis the target follows the head; across, it stays on the centre.
    game.SteerCurrentWorm(DIR_DOWN);
    for (int i = 0; i < 200; ++i) {
        game.play.now += game.MsToTicks(1000);
        game.UpdateWorms();
        game.UpdateView();
        EXPECT_DOUBLE_EQ(game.targetX, 384 / 2 * 10.0);
        EXPECT_DOUBLE_EQ(game.viewX, 384 / 2 * 10.0);
        if (game.play.worms.empty() || game.play.worms[0].state != WORM_ALIVE)
            break;
        const int32_t headY = game.play.worms[0].Head().y;
        EXPECT_DOUBLE_EQ(game.targetY, std::clamp(headY * 32 + 16, 293, 1280 + 32 - 325) * 10.0);
    }
    // At the bottom wall the head stands at row 38, the target at the far clamp.
    EXPECT_DOUBLE_EQ(game.targetY, (1280 + 32 - 325) * 10.0);
}

} // namespace
