// Test support for the rules: fields drawn as ASCII pictures, a sound recorder, a stepping clock.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "field/CreatureCheck.h"
#include "field/Game.h"

namespace kxtest {

class RecordingSound : public kx::ISoundOutput {
public:
    void PlaySound(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

// Picture legend, one character per cell:
//   #  wall (ground 0, flags 6)        .  plain ground        ~  water      =  ice
//   H  current worm head (5)           h  worm head (3)       b  worm body (2)
//   G  ghost (0)                       x  cactus              n  no worms   g  no ghosts
//   <  >  ^  v  arrows                 L  left turn           R  right turn
//   c  corn   a  anti-corn   +  worm faster   -  worm slower   F  ghosts faster
//   S  ghosts slower   K  ghost killer   l  ghost larva
inline void DrawField(kx::CGameFieldBase& field, const std::vector<std::string>& rows) {
    field.CreateField(static_cast<int32_t>(rows[0].size()), static_cast<int32_t>(rows.size()));
    for (int32_t y = 0; y < field.height; ++y) {
        for (int32_t x = 0; x < field.width; ++x) {
            kx::FieldCell& cell = field.CellAt(x, y);
            cell.ground = kx::GROUND_PLAIN;
            cell.flags = 0;
            auto object = [&](uint8_t code) {
                kx::CGameFieldBase::PlaceObject(cell, kx::FieldLayer::Normal, code);
            };
            switch (rows[static_cast<size_t>(y)][static_cast<size_t>(x)]) {
            case '#':
                cell.ground = 0;
                cell.flags = kx::FLAG_NO_WORMS | kx::FLAG_NO_GHOSTS;
                break;
            case '~':
                cell.ground = kx::GROUND_WATER;
                break;
            case '=':
                cell.ground = kx::GROUND_ICE;
                break;
            case 'H':
                cell.creature = kx::CREATURE_WORM_CURRENT;
                break;
            case 'h':
                cell.creature = kx::CREATURE_WORM_HEAD;
                break;
            case 'b':
                cell.creature = kx::CREATURE_WORM_BODY;
                break;
            case 'G':
                cell.creature = kx::CREATURE_GHOST;
                break;
            case 'x':
                object(kx::OBJ_CACTUS);
                break;
            case 'n':
                cell.flags = kx::FLAG_NO_WORMS;
                break;
            case 'g':
                cell.flags = kx::FLAG_NO_GHOSTS;
                break;
            case '<':
                object(kx::OBJ_ARROW_LEFT);
                break;
            case '>':
                object(kx::OBJ_ARROW_RIGHT);
                break;
            case '^':
                object(kx::OBJ_ARROW_UP);
                break;
            case 'v':
                object(kx::OBJ_ARROW_DOWN);
                break;
            case 'L':
                object(kx::OBJ_TURN_LEFT);
                break;
            case 'R':
                object(kx::OBJ_TURN_RIGHT);
                break;
            case 'c':
                cell.item = kx::ITEM_CORN;
                break;
            case 'a':
                cell.item = kx::ITEM_ANTI_CORN;
                break;
            case '+':
                cell.item = kx::ITEM_WORM_FASTER;
                break;
            case '-':
                cell.item = kx::ITEM_WORM_SLOWER;
                break;
            case 'F':
                cell.item = kx::ITEM_GHOSTS_FASTER;
                break;
            case 'S':
                cell.item = kx::ITEM_GHOSTS_SLOWER;
                break;
            case 'K':
                cell.item = kx::ITEM_GHOST_KILLER;
                break;
            case 'l':
                cell.item = kx::ITEM_GHOST_LARVA;
                break;
            default:
                break;
            }
            cell.swGround = cell.ground;
            cell.swFlags = cell.flags;
        }
    }
}

// The clock runs at 1000 ticks a second, so ticks are milliseconds.
class RulesTest : public ::testing::Test {
protected:
    void Build(const std::vector<std::string>& rows) { DrawField(game.field, rows); }
    // spareCorn: one corn out of reach (switch layer of the top-left wall), so that a level
    // without corn of its own does not end at the first worm step.
    void Prepare(bool spareCorn = true) {
        if (spareCorn)
            game.field.CellAt(0, 0).swItem = kx::ITEM_CORN;
        game.counterFrequency = 1000;
        game.now = 10000;
        game.PrepareLevel();
        ASSERT_EQ(kx::CheckCreatureLayer(game), "");
    }
    // One timer step ms milliseconds after the last one.
    void Step(uint64_t ms) {
        game.now += ms;
        game.UpdateWorms();
        game.UpdateGhosts();
        game.UpdateView();
        ASSERT_EQ(kx::CheckCreatureLayer(game), "") << "at " << game.now;
    }
    // n worm steps at the standard pace (200 ms).
    void WormSteps(int n) {
        for (int i = 0; i < n; ++i)
            Step(200);
    }
    kx::Worm& WormAt(size_t i) { return *game.worms.at(i); }
    kx::Ghost& GhostAt(size_t i) { return *game.ghosts.at(i); }
    uint8_t Creature(int32_t x, int32_t y) { return game.field.CellAt(x, y).creature; }
    bool HeadAt(const kx::Worm& worm, int32_t x, int32_t y) {
        return worm.length > 0 && worm.Head().x == x && worm.Head().y == y;
    }
    bool Heard(const std::string& name) {
        for (const auto& n : sound.names)
            if (n == name)
                return true;
        return false;
    }

    kx::CRandom random{1};
    RecordingSound sound;
    kx::CGame game{&random, &sound};
};

} // namespace kxtest
