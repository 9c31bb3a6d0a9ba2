// The solver's search: layers by number of keys, each layer in order of level time.
#include "Solver.h"

#include <algorithm>
#include <chrono>
#include <functional>
#include <iterator>

#include "StateCodec.h"
#include "StateStore.h"
#include "rules/Game.h"

namespace kx {

namespace {

// A step where a worm moves: only there can a key pressed now differ from one pressed at the
// next such step. Keys reach nothing but the worms' queues, which only their own steps read,
// and the choice of worm, which only the keys read; ghosts tell heads apart from nothing.
bool DecisionMoment(const PlayState& s, uint64_t counter) {
    for (const Worm& w : s.worms)
        if (counter - w.lastStep >= w.stepInterval)
            return true;
    return false;
}

// A frontier entry: the time in the high bits, so that the smallest comes first and, among
// equal times, the state stored first.
constexpr int kTimeShift = 40;
uint64_t FrontierEntry(uint32_t timeSteps, uint64_t id) {
    return static_cast<uint64_t>(timeSteps) << kTimeShift | id;
}

constexpr PlayKey kKeys[] = {PlayKey::Up, PlayKey::Down, PlayKey::Left, PlayKey::Right,
                             PlayKey::Tab};

} // namespace

SolveResult Solve(const CGameFieldBase& field, uint64_t seed, const SolveLimits& limits) {
    CGame game;
    game.Random().Seed(seed);
    game.play.field = field;
    game.counterFrequency = kHeadlessFrequency;
    game.PrepareLevel();
    return SolveFrom(game.play, 0, limits);
}

SolveResult SolveFrom(const PlayState& start, uint64_t atMs, const SolveLimits& limits) {
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    SolveResult result;

    CGame game;
    game.play = start;
    game.counterFrequency = kHeadlessFrequency;
    result.dependsOnSeed = DependsOnSeed(game.play);
    const uint32_t firstStep = static_cast<uint32_t>(std::min<uint64_t>(
        atMs / kTimerStepMs + (atMs % kTimerStepMs != 0 ? 1 : 0), CStateStore::kMaxTimeSteps - 1));
    const uint64_t stepTicks = game.MsToTicks(kTimerStepMs);
    int32_t longestMs = 1000;
    for (int32_t i = 0; i < kSpeedCount; ++i)
        longestMs = std::max(longestMs, SpeedMs(i));
    const uint64_t phaseCap = game.MsToTicks(static_cast<uint64_t>(longestMs));
    const CStateCodec codec(game.play, stepTicks, phaseCap);
    auto counterAt = [&](uint64_t steps) {
        return game.MsToTicks(kHeadlessStartMs + steps * kTimerStepMs);
    };
    const uint32_t lastStep = static_cast<uint32_t>(kMaxPlayMs / kTimerStepMs);

    CStateStore store;
    uint32_t layerKeys = 0;
    std::vector<uint64_t> layer, next; // frontier entries; the layer is a min-heap
    auto later = std::greater<uint64_t>();
    std::vector<uint8_t> code;

    // Encodes the game's state before the step at timeSteps into out; with verifyEncoding,
    // the decoded state must be that state, but for the times it keeps relative.
    PlayState check;
    bool encodingFault = false;
    auto encode = [&](uint32_t timeSteps, std::vector<uint8_t>& out) {
        const uint64_t counter = counterAt(timeSteps);
        out.clear();
        codec.Encode(game.play, counter, out);
        if (!limits.verifyEncoding)
            return;
        if (!codec.Decode(out.data(), out.size(), counter, check)) {
            encodingFault = true;
            return;
        }
        // Waits beyond the longest interval are one; below it they must be kept exactly.
        auto sameWait = [&](uint64_t& decoded, uint64_t original) {
            if (counter - decoded >= phaseCap && counter - original >= phaseCap)
                decoded = original;
        };
        check.now = game.play.now;
        for (size_t i = 0; i < check.worms.size() && i < game.play.worms.size(); ++i)
            sameWait(check.worms[i].lastStep, game.play.worms[i].lastStep);
        for (size_t i = 0; i < check.ghosts.size() && i < game.play.ghosts.size(); ++i)
            sameWait(check.ghosts[i].lastStep, game.play.ghosts[i].lastStep);
        encodingFault = encodingFault || !(check == game.play);
    };

    // A state reached at a cost of (keys, time): stored when new, improved when cheaper and
    // not yet expanded, else dropped.
    bool tooLarge = false;
    auto reach = [&](const std::vector<uint8_t>& code, uint64_t hash, uint32_t keys,
                     uint32_t timeSteps, uint64_t parent, uint8_t key) {
        if (code.size() > CStateStore::kMaxCodeBytes) {
            tooLarge = true;
            return;
        }
        uint64_t id = store.Find(code.data(), code.size(), hash);
        const StateLink link{parent, timeSteps, (keys & 1) != 0, key, false};
        if (id == CStateStore::kNone) {
            id = store.Add(code.data(), code.size(), hash, link);
        } else {
            const StateLink old = store.Link(id);
            if (old.expanded)
                return;
            // Not expanded: reached with layerKeys or one key more.
            const uint32_t oldKeys =
                old.oddKeys == ((layerKeys & 1) != 0) ? layerKeys : layerKeys + 1;
            if (oldKeys < keys || (oldKeys == keys && old.timeSteps <= timeSteps))
                return;
            store.SetLink(id, link);
        }
        if (keys == layerKeys) {
            layer.push_back(FrontierEntry(timeSteps, id));
            std::push_heap(layer.begin(), layer.end(), later);
        } else {
            next.push_back(FrontierEntry(timeSteps, id)); // made a heap when its turn comes
        }
    };

    bool found = false;
    bool playTimeEnd = false;
    uint64_t winParent = StateLink::kNoParent;
    uint32_t winSteps = 0;
    auto finish = [&](SolveStatus status) {
        result.status = status;
        if (limits.progress)
            limits.progress->store(result.states, std::memory_order_relaxed);
        result.seconds = std::chrono::duration<double>(Clock::now() - started).count();
        result.stored = store.Count();
        result.storedBytes = store.Bytes();
        if (status == SolveStatus::Solved) {
            for (uint64_t id = winParent; id != StateLink::kNoParent;) {
                const StateLink link = store.Link(id);
                if (link.key != 0)
                    result.keys.push_back({uint64_t{link.timeSteps} * kTimerStepMs,
                                           static_cast<PlayKey>(link.key - 1)});
                id = link.parent;
            }
            std::reverse(result.keys.begin(), result.keys.end());
            result.winMs = uint64_t{winSteps} * kTimerStepMs;
        }
        return result;
    };

    if (firstStep > lastStep)
        return finish(SolveStatus::PlayTimeEnd);
    encode(firstStep, code);
    reach(code, CStateStore::Hash(code.data(), code.size()), 0, firstStep, StateLink::kNoParent, 0);
    if (tooLarge)
        return finish(SolveStatus::StateTooLarge);

    struct KeyBranch {
        std::vector<uint8_t> code;
        uint64_t hash = 0;
        uint8_t key = 0;
    };
    KeyBranch keyBranches[std::size(kKeys)];
    PlayState before;
    while (!layer.empty()) {
        while (!layer.empty() && !(found && (layer.front() >> kTimeShift) >= winSteps)) {
            std::pop_heap(layer.begin(), layer.end(), later);
            const uint64_t entry = layer.back();
            layer.pop_back();
            const uint64_t id = entry & ((uint64_t{1} << kTimeShift) - 1);
            StateLink link = store.Link(id);
            const uint32_t t = static_cast<uint32_t>(entry >> kTimeShift);
            if (link.expanded || link.oddKeys != ((layerKeys & 1) != 0) || link.timeSteps != t)
                continue; // a cheaper way to this state came later
            link.expanded = true;
            store.SetLink(id, link);
            if (encodingFault)
                return finish(SolveStatus::EncodingFault);
            if (tooLarge)
                return finish(SolveStatus::StateTooLarge);
            if (result.states >= limits.maxStates)
                return finish(SolveStatus::StateLimit);
            ++result.states;
            if ((result.states & 15) == 0) {
                if (limits.progress)
                    limits.progress->store(result.states, std::memory_order_relaxed);
                if (limits.cancel && limits.cancel->load(std::memory_order_relaxed))
                    return finish(SolveStatus::Cancelled);
                if (std::chrono::duration<double>(Clock::now() - started).count() >
                    limits.maxSeconds)
                    return finish(SolveStatus::TimeLimit);
                if (store.Bytes() > limits.maxBytes)
                    return finish(SolveStatus::MemoryLimit);
            }

            const uint64_t counter = counterAt(t);
            size_t size = 0;
            const uint8_t* stored = store.Code(id, size);
            if (!codec.Decode(stored, size, counter, before))
                return finish(SolveStatus::EncodingFault);
            // One more key, pressed before this step; keys that change nothing are no branch.
            // The table places of the new states are fetched while the worms walk on.
            size_t branches = 0;
            for (PlayKey key : kKeys) {
                game.play = before;
                PressKey(game, key);
                KeyBranch& branch = keyBranches[branches];
                encode(t, branch.code);
                if (branch.code.size() == size &&
                    std::equal(branch.code.begin(), branch.code.end(), stored))
                    continue;
                branch.hash = CStateStore::Hash(branch.code.data(), branch.code.size());
                branch.key = static_cast<uint8_t>(static_cast<int>(key) + 1);
                store.Prefetch(branch.hash);
                ++branches;
            }

            // No key: steps until the next decision moment, which waits in this layer.
            std::swap(game.play, before);
            bool waits = false;
            uint32_t waitSteps = 0;
            for (uint32_t s = t;; ++s) {
                const PlayResult step = game.TimerStep(counterAt(s));
                if (step == PlayResult::Won) {
                    if (!found || s < winSteps) {
                        found = true;
                        winSteps = s;
                        winParent = id;
                    }
                    break;
                }
                if (step == PlayResult::Lost)
                    break;
                if (s + 1 > lastStep) {
                    playTimeEnd = true;
                    break;
                }
                if (DecisionMoment(game.play, counterAt(s + 1))) {
                    encode(s + 1, code);
                    waits = true;
                    waitSteps = s + 1;
                    break;
                }
            }
            for (size_t i = 0; i < branches; ++i)
                reach(keyBranches[i].code, keyBranches[i].hash, layerKeys + 1, t, id,
                      keyBranches[i].key);
            if (waits)
                reach(code, CStateStore::Hash(code.data(), code.size()), layerKeys, waitSteps, id,
                      0);
        }
        if (tooLarge)
            return finish(SolveStatus::StateTooLarge);
        if (found)
            return finish(SolveStatus::Solved);
        ++layerKeys;
        layer.swap(next);
        next.clear();
        std::make_heap(layer.begin(), layer.end(), later);
    }
    return finish(playTimeEnd ? SolveStatus::PlayTimeEnd : SolveStatus::Unwinnable);
}

} // namespace kx
