// Replays of one key script over seeds and delays, and the unsteered worm's life.
#include "Fairness.h"

#include <algorithm>
#include <cstdlib>

#include "rules/Game.h"

namespace kx {

namespace {

bool GhostBeside(const PlayState& play, SegmentPos head) {
    return std::any_of(play.ghosts.begin(), play.ghosts.end(), [&](const Ghost& g) {
        return std::abs(g.x - head.x) + std::abs(g.y - head.y) <= 1;
    });
}

bool OnArrow(const CGameFieldBase& field, SegmentPos head) {
    for (uint8_t arrow = OBJ_ARROW_LEFT; arrow <= OBJ_ARROW_DOWN; ++arrow)
        if (CGameFieldBase::HasObject(field.CellAt(head.x, head.y), arrow))
            return true;
    return false;
}

bool IsWormCell(uint8_t creature) {
    return creature == CREATURE_WORM_BODY || creature == CREATURE_WORM_HEAD ||
           creature == CREATURE_WORM_CURRENT ||
           (creature >= CREATURE_WORM_DEATH_FIRST && creature <= CREATURE_WORM_DROWN_LAST);
}

// The cause of the first dying worm of this step, or empty when none is dying. A worm that ran
// into a creature stands still before it; if that was no worm, it was a ghost that has walked
// on in the same step.
std::string DeathCause(const PlayState& play) {
    for (const Worm& worm : play.worms) {
        if (worm.state != WORM_DYING || worm.length < 1)
            continue;
        const SegmentPos head = worm.Head();
        if (worm.lastFrame == CREATURE_WORM_DROWN_LAST)
            return "water";
        if (GhostBeside(play, head))
            return "ghost";
        if (OnArrow(play.field, head))
            return "arrow";
        const int32_t tx = head.x + DirectionDX(worm.direction);
        const int32_t ty = head.y + DirectionDY(worm.direction);
        if (worm.direction != DIR_NONE && play.field.Contains(tx, ty) &&
            IsWormCell(play.field.CellAt(tx, ty).creature))
            return "worm";
        return "ghost";
    }
    return {};
}

// Plays keys on the seed until untilMs, noting the first death.
FairnessPlay Play(const CGameFieldBase& field, uint64_t seed, std::vector<KeyPress> keys,
                  uint64_t untilMs) {
    FairnessPlay play;
    play.seed = seed;
    CGame game;
    game.Random().Seed(seed);
    game.play.field = field;
    PlayOptions options;
    options.keys = std::move(keys);
    options.untilMs = untilMs;
    options.afterStep = [&](const CGame& g, uint64_t t) {
        if (play.cause.empty()) {
            play.cause = DeathCause(g.play);
            play.deathMs = t;
        }
        return true;
    };
    const PlayOutcome outcome = PlayHeadless(game, options);
    play.result = outcome.result;
    play.timeMs = outcome.timeMs;
    if (play.result == PlayResult::Lost && play.cause.empty())
        play.cause = "corn left";
    return play;
}

} // namespace

FairnessReport MeasureFairness(const CGameFieldBase& field, const std::vector<KeyPress>& keys,
                               const FairnessOptions& options) {
    FairnessReport report;
    {
        CGame game;
        game.play.field = field;
        game.PrepareLevel();
        report.dependsOnSeed = DependsOnSeed(game.play);
    }
    const uint64_t seeds = report.dependsOnSeed ? std::max<uint32_t>(options.seeds, 1) : 1;
    for (uint64_t seed = 1; seed <= seeds; ++seed) {
        for (uint64_t delay : options.delaysMs) {
            delay = std::min(delay, kMaxPlayMs);
            std::vector<KeyPress> later = keys;
            for (KeyPress& k : later)
                k.timeMs = std::min(k.timeMs + delay, kMaxPlayMs);
            FairnessPlay play =
                Play(field, seed, std::move(later), std::min(options.untilMs + delay, kMaxPlayMs));
            play.delayMs = delay;
            report.won += play.result == PlayResult::Won;
            report.plays.push_back(std::move(play));
        }
        const FairnessPlay idle = Play(field, seed, {}, options.unsteeredMs);
        UnsteeredSurvival survival;
        survival.seed = seed;
        survival.outlived = idle.cause.empty();
        survival.survivedMs = survival.outlived ? idle.timeMs : idle.deathMs;
        report.unsteered.push_back(survival);
    }
    return report;
}

} // namespace kx
