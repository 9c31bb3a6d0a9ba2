// The play state as a value: copies play on exactly like the original, equality means "plays
// alike".
#include <gtest/gtest.h>

#include "RulesFixture.h"
#include "rules/HeadlessPlay.h"

namespace {

using namespace kx;

// Two worms, three ghosts, corn on both layers, a switch, ice and water: every part of the
// state is touched within a few seconds.
const std::vector<std::string> kBusyLevel = {
    "################", "#bW....c...g...#", "#...7.==...k...#", "#..g..~~.c.....#",
    "#.c..>.....g...#", "#bw.....c...l..#", "################",
};

// The switch 7 at (4, 2) puts corn on (9, 5).
void AddSwitch(CGameFieldBase& field) {
    FieldCell& gate = field.CellAt(9, 5);
    gate.switchNo = 7;
    gate.swItem = ITEM_CORN;
}

std::vector<KeyPress> Keys(const char* script) {
    std::vector<KeyPress> keys;
    EXPECT_TRUE(ParseKeyScript(script, keys, nullptr));
    return keys;
}

// Plays from `from` (ms of level time) to `until`, pressing the keys due at each step.
PlayResult PlayOn(CGame& game, const std::vector<KeyPress>& keys, uint64_t from, uint64_t until,
                  std::vector<PlayState>* trace) {
    PlayResult result = PlayResult::Running;
    for (uint64_t t = from; t < until && result == PlayResult::Running; t += kTimerStepMs) {
        for (const KeyPress& key : keys)
            if (key.timeMs == t)
                PressKey(game, key.key);
        result = game.TimerStep(game.MsToTicks(kHeadlessStartMs + t));
        if (trace)
            trace->push_back(game.play);
    }
    return result;
}

TEST(PlayState, ACopyTakenMidPlayPlaysOnInAnotherGameExactlyAsTheOriginal) {
    CGame original;
    original.Random().Seed(99);
    kxtest::DrawField(original.play.field, kBusyLevel);
    AddSwitch(original.play.field);
    original.counterFrequency = kHeadlessFrequency;
    original.PrepareLevel();
    const auto keys = Keys("0:right,400:down,1200:tab,1210:up,2000:left,2600:tab,3000:down");
    ASSERT_EQ(PlayOn(original, keys, 0, 1500, nullptr), PlayResult::Running);

    // The second game starts from nothing but the copied state (its own generator unseeded).
    CGame copy;
    copy.counterFrequency = kHeadlessFrequency;
    copy.play = original.play;
    ASSERT_EQ(copy.play, original.play);

    std::vector<PlayState> first;
    std::vector<PlayState> second;
    PlayResult a = PlayOn(original, keys, 1500, 8000, &first);
    PlayResult b = PlayOn(copy, keys, 1500, 8000, &second);
    EXPECT_EQ(a, b);
    ASSERT_EQ(first.size(), second.size());
    for (size_t i = 0; i < first.size(); ++i)
        ASSERT_TRUE(first[i] == second[i]) << "step " << i;
    // The play did change the level: the comparison had something to compare.
    EXPECT_NE(first.back().field, first.front().field);
    EXPECT_EQ(CheckCreatureLayer(first.back()), "");
}

TEST(PlayState, StatesThatDifferInAnyRuleInputCompareUnequal) {
    CGame game;
    kxtest::DrawField(game.play.field, kBusyLevel);
    game.PrepareLevel();
    const PlayState start = game.play;

    auto differs = [&](auto change) {
        PlayState other = start;
        change(other);
        return !(other == start);
    };
    EXPECT_TRUE(differs([](PlayState& s) { s.worms[0].queued2 = DIR_UP; }));
    EXPECT_TRUE(differs([](PlayState& s) { s.ghosts[1].lastStep += 1; }));
    EXPECT_TRUE(differs([](PlayState& s) { s.random.Next(); }));
    EXPECT_TRUE(differs([](PlayState& s) { s.field.CellAt(7, 1).item = kNothing; }));
    EXPECT_TRUE(differs([](PlayState& s) { s.activeWorm = 1; }));
    EXPECT_TRUE(differs([](PlayState& s) { s.now += 1; }));
}

TEST(PlayState, WormsWithTheSameSegmentsAreEqualWhereverTheirRingStarts) {
    CGame game;
    kxtest::DrawField(game.play.field, {"#####", "#bW.#", "#####"});
    game.PrepareLevel();
    Worm moved = game.play.worms[0];
    // The same two segments, stored one slot further on, with stale slots around them.
    moved.headSlot = 1;
    moved.segments[1] = game.play.worms[0].Segment(0);
    moved.segments[2] = game.play.worms[0].Segment(1);
    moved.segments[0] = {3, 3};
    EXPECT_EQ(moved, game.play.worms[0]);
    moved.segments[2] = {3, 1};
    EXPECT_NE(moved, game.play.worms[0]);
}

TEST(TimerStep, ReportsWonOrLostAtTheStepThatEmptiesTheWormList) {
    // Won: no corn; the worm leaves at its first step and its two segments vanish.
    CGame won;
    kxtest::DrawField(won.play.field, {"######", "#bW..#", "######"});
    won.counterFrequency = 1000;
    won.PrepareLevel();
    std::vector<PlayResult> results;
    for (uint64_t t = 10000; t <= 10400; t += 10)
        results.push_back(won.TimerStep(t));
    size_t end = std::find(results.begin(), results.end(), PlayResult::Won) - results.begin();
    ASSERT_LT(end, results.size());
    EXPECT_TRUE(won.play.worms.empty());
    for (size_t i = 0; i < end; ++i)
        EXPECT_EQ(results[i], PlayResult::Running) << i;

    // Lost: the only worm runs into the water with corn left.
    CGame lost;
    kxtest::DrawField(lost.play.field, {"#######", "#bW~.c#", "#######"});
    lost.counterFrequency = 1000;
    lost.PrepareLevel();
    lost.SteerCurrentWorm(DIR_RIGHT);
    PlayResult result = PlayResult::Running;
    uint64_t t = 10000;
    for (; t < 20000 && result == PlayResult::Running; t += 10)
        result = lost.TimerStep(t);
    EXPECT_EQ(result, PlayResult::Lost);
    EXPECT_EQ(lost.play.cornLeft, 1);
}

} // namespace
