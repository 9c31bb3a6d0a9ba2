// Test support for the rules: fields in the level-source notation, a sound recorder, a clock.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "levelsource/LevelSource.h"
#include "rules/CreatureCheck.h"
#include "rules/Game.h"

namespace kxtest {

class RecordingSound : public kx::ISoundOutput {
public:
    void PlaySound(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

// Draws the field from rows in the level-source notation (docs/level-source.md): '#' a wall,
// 'W' the current worm's head, 'w' another head, 'b' a body segment, 'g' a ghost, and so on.
inline void DrawField(kx::CGameFieldBase& field, const std::vector<std::string>& rows) {
    std::string source = "map\n";
    for (const std::string& row : rows)
        source += row + "\n";
    source += "end\n";
    std::string error;
    ASSERT_TRUE(kx::CompileLevelSource(source, field, error)) << error;
}

// The clock runs at 1000 ticks a second, so ticks are milliseconds.
class RulesTest : public ::testing::Test {
protected:
    void Build(const std::vector<std::string>& rows) { DrawField(game.play.field, rows); }
    // spareCorn: one corn out of reach (switch layer of the top-left wall), so that a level
    // without corn of its own does not end at the first worm step.
    void Prepare(bool spareCorn = true) {
        if (spareCorn)
            game.play.field.CellAt(0, 0).swItem = kx::ITEM_CORN;
        game.counterFrequency = 1000;
        game.play.now = 10000;
        game.PrepareLevel();
        ASSERT_EQ(kx::CheckCreatureLayer(game.play), "");
    }
    // One timer step ms milliseconds after the last one.
    void Step(uint64_t ms) {
        game.TimerStep(game.play.now + ms);
        ASSERT_EQ(kx::CheckCreatureLayer(game.play), "") << "at " << game.play.now;
    }
    // n worm steps at the standard pace (200 ms).
    void WormSteps(int n) {
        for (int i = 0; i < n; ++i)
            Step(200);
    }
    kx::Worm& WormAt(size_t i) { return game.play.worms.at(i); }
    kx::Ghost& GhostAt(size_t i) { return game.play.ghosts.at(i); }
    uint8_t Creature(int32_t x, int32_t y) { return game.play.field.CellAt(x, y).creature; }
    bool HeadAt(const kx::Worm& worm, int32_t x, int32_t y) {
        return worm.length > 0 && worm.Head().x == x && worm.Head().y == y;
    }
    bool Heard(const std::string& name) {
        for (const auto& n : sound.names)
            if (n == name)
                return true;
        return false;
    }

    RecordingSound sound;
    kx::CGame game{&sound};
    kx::CRandom& random = game.Random();
};

} // namespace kxtest
