// The headless play loop: key scripts, the virtual clock, results, and long random plays
// that keep the creature layer and the lists in agreement at every step.
#include <chrono>

#include "RulesFixture.h"
#include "rules/HeadlessPlay.h"

using namespace kx;

namespace {

TEST(KeyScript, ReadsTimesAndKeysInScriptOrder) {
    std::vector<KeyPress> keys;
    std::string reason;
    ASSERT_TRUE(ParseKeyScript("0:right, 1500:down,20:tab,7:left,9:up", keys, &reason)) << reason;
    ASSERT_EQ(keys.size(), 5u);
    EXPECT_EQ(keys[1].timeMs, 1500u);
    EXPECT_EQ(keys[1].key, PlayKey::Down);
    EXPECT_EQ(keys[2].key, PlayKey::Tab);
    EXPECT_EQ(FormatKeyScript(keys), "0:right,1500:down,20:tab,7:left,9:up");
    EXPECT_TRUE(ParseKeyScript("", keys, &reason));
    EXPECT_TRUE(keys.empty());
}

TEST(KeyScript, RefusesAnythingElse) {
    std::vector<KeyPress> keys;
    for (const char* bad : {"right", "0:jump", ":up", "x:up", "-5:up", "0:up,", "0:up,,1:down",
                            "99999999999999999999999:up"}) {
        std::string reason;
        EXPECT_FALSE(ParseKeyScript(bad, keys, &reason)) << bad;
        EXPECT_FALSE(reason.empty());
        EXPECT_TRUE(keys.empty());
    }
}

class HeadlessPlay : public ::testing::Test {
protected:
    kxtest::RecordingSound sound;
    CGame game{&sound};
};

TEST_F(HeadlessPlay, KeysApplyBeforeTheFirstStepAtOrAfterTheirTime) {
    kxtest::DrawField(game.play.field, {"##########", "#bW.....c#", "#........#", "##########"});
    game.play.field.CellAt(0, 0).swItem = ITEM_CORN;
    PlayOptions options;
    ParseKeyScript("5:right,400:down", options.keys, nullptr);
    options.untilMs = 600;
    std::vector<int32_t> headX;
    options.afterStep = [&](const CGame& g, uint64_t t) {
        EXPECT_EQ(g.play.now, g.MsToTicks(kHeadlessStartMs + t));
        if (t % 200 == 0)
            headX.push_back(g.play.worms[0].Head().x * 10 + g.play.worms[0].Head().y);
        return true;
    };
    PlayOutcome outcome = PlayHeadless(game, options);
    EXPECT_EQ(outcome.result, PlayResult::Running);
    EXPECT_EQ(outcome.timeMs, 600u);
    // 0: stands (the key comes at 5 ms, the next step at 10 ms is not due); 200: right;
    // 400: down, taken at once.
    EXPECT_EQ(headX, (std::vector<int32_t>{21, 31, 32, 32}));
}

TEST_F(HeadlessPlay, CursorKeysDoNothingOnTheTitleScreenButTabDoes) {
    kxtest::DrawField(game.play.field, {"########", "#bW...c#", "#bw....#", "########"});
    game.play.notInLevel = true;
    PlayOptions options;
    ParseKeyScript("0:right,0:tab", options.keys, nullptr);
    options.untilMs = 1000;
    PlayOutcome outcome = PlayHeadless(game, options);
    EXPECT_EQ(outcome.result, PlayResult::Running);
    EXPECT_EQ(game.play.activeWorm, 1);
    EXPECT_EQ(game.play.worms[0].Head().x, 2);
    EXPECT_EQ(game.play.field.CellAt(2, 2).creature, CREATURE_WORM_CURRENT);
}

TEST_F(HeadlessPlay, ALevelWithoutCornIsWonOnceTheWormsHaveLeft) {
    kxtest::DrawField(game.play.field, {"######", "#bW..#", "######"});
    PlayOutcome outcome = PlayHeadless(game, {});
    EXPECT_EQ(outcome.result, PlayResult::Won);
    // The first step sends the worm away; two segments, 80 ms apart.
    EXPECT_EQ(outcome.timeMs, 160u);
}

TEST_F(HeadlessPlay, KeysOutOfOrderApplyAtTheirOwnStepsInScriptOrderWithinAStep) {
    kxtest::DrawField(game.play.field, {"##########", "#bW.....c#", "#........#", "##########"});
    game.play.field.CellAt(0, 0).swItem = ITEM_CORN;
    PlayOptions options;
    // down (at 400) is listed first but comes last; 205 and 201 both fall into the step at
    // 210 and apply as listed: left, then right; down then replaces the queued right.
    ParseKeyScript("400:down,5:right,205:left,201:right", options.keys, nullptr);
    options.untilMs = 600;
    PlayHeadless(game, options);
    // 200: right; 400: the queued left is refused (the body is there), down is taken.
    EXPECT_EQ(game.play.worms[0].Head().x, 3);
    EXPECT_EQ(game.play.worms[0].Head().y, 2);
}

// A tape of 100,000 keys over ten minutes of level time: each key is handed out once.
TEST_F(HeadlessPlay, AHundredThousandKeysCostTheirNumberNotKeysTimesSteps) {
    kxtest::DrawField(game.play.field, {"######", "#bW..#", "#....#", "######"});
    game.play.field.CellAt(0, 0).swItem = ITEM_CORN;
    const char* names[] = {"up", "right", "down", "left"};
    std::string script;
    for (uint64_t i = 0; i < 100000; ++i)
        script += (i ? "," : "") + std::to_string(i * 6) + ":" + names[i % 4];
    PlayOptions options;
    ASSERT_TRUE(ParseKeyScript(script, options.keys, nullptr));
    options.untilMs = 600000;
    auto start = std::chrono::steady_clock::now();
    PlayOutcome outcome = PlayHeadless(game, options);
    double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_EQ(outcome.steps, 60001u);
    EXPECT_LT(seconds, 5.0);
}

// A crowded level with every kind of item, object and ground, played with random keys.
void BuildCrowdedLevel(CGameFieldBase& field, CRandom& dice) {
    field.CreateField(40, 30);
    for (int32_t y = 1; y < field.height - 1; ++y) {
        for (int32_t x = 1; x < field.width - 1; ++x) {
            FieldCell& cell = field.CellAt(x, y);
            uint32_t r = dice.Next() % 100;
            if (r < 6) {
                cell.ground = 0;
                cell.flags = FLAG_NO_WORMS | FLAG_NO_GHOSTS;
            } else if (r < 14) {
                cell.item = static_cast<uint8_t>(dice.Next() % 9);
            } else if (r < 18) {
                cell.objects[0] = static_cast<uint8_t>(dice.Next() % 7);
            } else if (r < 20) {
                cell.ground = dice.Next() % 2 ? GROUND_ICE : GROUND_WATER;
            } else if (r < 22) {
                cell.flags = FLAG_SWITCH;
                cell.switchNo = static_cast<uint8_t>(dice.Next() % 3);
                cell.swFlags = FLAG_SWITCH;
            } else if (r < 26) {
                cell.switchNo = static_cast<uint8_t>(dice.Next() % 3);
                cell.swGround = dice.Next() % 2 ? 0 : GROUND_PLAIN;
                cell.swFlags = cell.swGround == 0 ? FLAG_NO_WORMS | FLAG_NO_GHOSTS : 0;
                cell.swItem = dice.Next() % 2 ? ITEM_CORN : ITEM_GHOST_LARVA;
            } else if (r < 31) {
                cell.creature = CREATURE_GHOST;
            } else if (r < 33) {
                cell.creature = dice.Next() % 4 ? CREATURE_WORM_HEAD : CREATURE_WORM_CURRENT;
            } else if (r < 38) {
                cell.creature = CREATURE_WORM_BODY;
            }
        }
    }
}

TEST_F(HeadlessPlay, LongRandomPlaysKeepTheFieldAndTheListsInAgreement) {
    const char* names[] = {"up", "down", "left", "right", "tab"};
    int finished = 0;
    for (uint64_t seed = 1; seed <= 12; ++seed) {
        CRandom dice(seed * 7919);
        kxtest::RecordingSound heard;
        CGame play(&heard);
        play.Random().Seed(seed);
        BuildCrowdedLevel(play.play.field, dice);
        play.play.notInLevel = seed % 4 == 0;
        std::string script;
        for (uint64_t t = 0; t < 60000; t += 50 + dice.Next() % 400)
            script +=
                (script.empty() ? "" : ",") + std::to_string(t) + ":" + names[dice.Next() % 5];
        PlayOptions options;
        ASSERT_TRUE(ParseKeyScript(script, options.keys, nullptr));
        options.untilMs = 60000;
        std::string problem;
        options.afterStep = [&](const CGame& g, uint64_t t) {
            problem = CheckCreatureLayer(g.play);
            if (!problem.empty())
                problem += " after the step at " + std::to_string(t) + " ms";
            return problem.empty();
        };
        PlayOutcome outcome = PlayHeadless(play, options);
        ASSERT_EQ(problem, "") << "seed " << seed;
        if (outcome.result != PlayResult::Running)
            ++finished;
        if (!play.play.notInLevel) {
            EXPECT_FALSE(heard.names.empty()) << "seed " << seed;
        }
    }
    EXPECT_GT(finished, 0); // some plays reach an end, so deletions are covered too
}

} // namespace
