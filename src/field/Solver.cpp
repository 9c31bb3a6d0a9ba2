// The solver's search: layers by number of keys, each layer in order of level time.
#include "Solver.h"

#include <algorithm>
#include <bit>
#include <chrono>
#include <cstring>
#include <unordered_set>

#include "Game.h"

namespace kx {

namespace {

template <typename T> void Put(std::string& out, T value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    out.append(bytes, sizeof(T));
}

struct Reader {
    const std::string& code;
    size_t pos = 0;
    bool ok = true;
    template <typename T> T Get() {
        T value{};
        if (pos + sizeof(T) > code.size()) {
            ok = false;
            return value;
        }
        std::memcpy(&value, code.data() + pos, sizeof(T));
        pos += sizeof(T);
        return value;
    }
};

// A creature that is due steps at once and forgets by how much; so is every overdue phase.
uint64_t Phase(uint64_t counter, uint64_t lastStep, uint64_t interval) {
    return std::min(counter - lastStep, interval);
}

} // namespace

std::string EncodePlayState(const PlayState& s, uint64_t counter, const CGameFieldBase& start) {
    std::string out;
    out.reserve(64);
    Put<int32_t>(out, s.activeWorm);
    Put<int32_t>(out, s.cornLeft);
    Put<uint8_t>(out, s.notInLevel ? 1 : 0);
    Put<uint64_t>(out, std::bit_cast<uint64_t>(s.random));
    Put<uint32_t>(out, static_cast<uint32_t>(s.worms.size()));
    for (const Worm& w : s.worms) {
        for (int32_t v : {w.state, w.length, w.direction, w.queued1, w.queued2, w.frame,
                          w.lastFrame, w.speedIndex})
            Put<int32_t>(out, v);
        Put<uint64_t>(out, w.stepInterval);
        Put<uint64_t>(out, Phase(counter, w.lastStep, w.stepInterval));
        for (int32_t i = 0; i < w.length; ++i) {
            Put<uint16_t>(out, w.Segment(i).x);
            Put<uint16_t>(out, w.Segment(i).y);
        }
    }
    Put<uint32_t>(out, static_cast<uint32_t>(s.ghosts.size()));
    for (const Ghost& g : s.ghosts) {
        for (int32_t v :
             {g.state, g.x, g.y, g.direction, g.marked ? 1 : 0, g.frame, g.lastFrame, g.speedIndex})
            Put<int32_t>(out, v);
        Put<uint64_t>(out, g.stepInterval);
        Put<uint64_t>(out, Phase(counter, g.lastStep, g.stepInterval));
    }
    const size_t n = std::min(s.field.cells.size(), start.cells.size());
    for (size_t i = 0; i < n; ++i) {
        if (s.field.cells[i] == start.cells[i])
            continue;
        Put<uint32_t>(out, static_cast<uint32_t>(i));
        out.append(reinterpret_cast<const char*>(&s.field.cells[i]), sizeof(FieldCell));
    }
    return out;
}

bool DecodePlayState(const std::string& code, uint64_t counter, uint64_t stepTicks,
                     const CGameFieldBase& start, PlayState& s) {
    Reader r{code};
    s.field = start;
    s.activeWorm = r.Get<int32_t>();
    s.cornLeft = r.Get<int32_t>();
    s.notInLevel = r.Get<uint8_t>() != 0;
    s.random = std::bit_cast<CRandom>(r.Get<uint64_t>());
    s.now = counter >= stepTicks ? counter - stepTicks : 0;
    uint32_t worms = r.Get<uint32_t>();
    if (!r.ok || worms > code.size())
        return false;
    s.worms.assign(worms, Worm{});
    for (Worm& w : s.worms) {
        for (int32_t* v : {&w.state, &w.length, &w.direction, &w.queued1, &w.queued2, &w.frame,
                           &w.lastFrame, &w.speedIndex})
            *v = r.Get<int32_t>();
        w.stepInterval = r.Get<uint64_t>();
        w.lastStep = counter - r.Get<uint64_t>();
        if (!r.ok || w.length < 0 || w.length > kMaxWormLength)
            return false;
        w.headSlot = 0;
        w.segments.assign(static_cast<size_t>(w.length), SegmentPos{});
        for (SegmentPos& p : w.segments) {
            p.x = r.Get<uint16_t>();
            p.y = r.Get<uint16_t>();
        }
    }
    uint32_t ghosts = r.Get<uint32_t>();
    if (!r.ok || ghosts > code.size())
        return false;
    s.ghosts.assign(ghosts, Ghost{});
    for (Ghost& g : s.ghosts) {
        int32_t marked = 0;
        for (int32_t* v :
             {&g.state, &g.x, &g.y, &g.direction, &marked, &g.frame, &g.lastFrame, &g.speedIndex})
            *v = r.Get<int32_t>();
        g.marked = marked != 0;
        g.stepInterval = r.Get<uint64_t>();
        g.lastStep = counter - r.Get<uint64_t>();
    }
    while (r.ok && r.pos < code.size()) {
        uint32_t i = r.Get<uint32_t>();
        if (!r.ok || i >= s.field.cells.size() || r.pos + sizeof(FieldCell) > code.size())
            return false;
        std::memcpy(&s.field.cells[i], code.data() + r.pos, sizeof(FieldCell));
        r.pos += sizeof(FieldCell);
    }
    return r.ok;
}

namespace {

struct KeyRecord {
    int64_t parent; // the record of the key before, or -1
    uint64_t timeMs;
    PlayKey key;
};

struct Entry {
    uint64_t timeMs;
    uint64_t order; // pushes first come first among equal times
    int64_t history;
    std::string code;
};

bool Later(const Entry& a, const Entry& b) {
    return a.timeMs != b.timeMs ? a.timeMs > b.timeMs : a.order > b.order;
}

// A step where a creature moves: only there can a key pressed now differ from one pressed
// at the next such step.
bool DecisionMoment(const PlayState& s, uint64_t counter) {
    for (const Worm& w : s.worms)
        if (counter - w.lastStep >= w.stepInterval)
            return true;
    for (const Ghost& g : s.ghosts)
        if (counter - g.lastStep >= g.stepInterval)
            return true;
    return false;
}

} // namespace

SolveResult Solve(const CGameFieldBase& field, uint64_t seed, const SolveLimits& limits) {
    using Clock = std::chrono::steady_clock;
    const auto started = Clock::now();
    SolveResult result;

    CGame game;
    game.Random().Seed(seed);
    game.play.field = field;
    game.counterFrequency = kHeadlessFrequency;
    game.PrepareLevel();
    const CGameFieldBase start = game.play.field;
    const uint64_t stepTicks = game.MsToTicks(kTimerStepMs);
    auto counterAt = [&](uint64_t t) { return game.MsToTicks(kHeadlessStartMs + t); };

    std::vector<KeyRecord> records;
    std::unordered_set<std::string> visited;
    std::vector<Entry> layer, next;
    uint64_t order = 0;
    bool playTimeEnd = false;
    auto push = [&](std::vector<Entry>& heap, uint64_t t, int64_t history, std::string code) {
        if (visited.count(code))
            return;
        heap.push_back(Entry{t, order++, history, std::move(code)});
        std::push_heap(heap.begin(), heap.end(), Later);
    };
    push(layer, 0, -1, EncodePlayState(game.play, counterAt(0), start));

    bool found = false;
    int64_t winHistory = -1;
    uint64_t winMs = 0;
    auto finish = [&](SolveStatus status) {
        result.status = status;
        result.seconds = std::chrono::duration<double>(Clock::now() - started).count();
        if (status == SolveStatus::Solved) {
            for (int64_t h = winHistory; h >= 0; h = records[static_cast<size_t>(h)].parent)
                result.keys.push_back(
                    {records[static_cast<size_t>(h)].timeMs, records[static_cast<size_t>(h)].key});
            std::reverse(result.keys.begin(), result.keys.end());
            result.winMs = winMs;
        }
        return result;
    };

    PlayState before;
    while (!layer.empty()) {
        while (!layer.empty() && !(found && layer.front().timeMs >= winMs)) {
            std::pop_heap(layer.begin(), layer.end(), Later);
            Entry e = std::move(layer.back());
            layer.pop_back();
            if (!visited.insert(e.code).second)
                continue;
            result.storedBytes += e.code.size();
            if (++result.states > limits.maxStates)
                return finish(SolveStatus::StateLimit);
            if ((result.states & 255) == 0 &&
                std::chrono::duration<double>(Clock::now() - started).count() > limits.maxSeconds)
                return finish(SolveStatus::TimeLimit);
            const uint64_t counter = counterAt(e.timeMs);
            if (!DecodePlayState(e.code, counter, stepTicks, start, before))
                continue;

            // One more key, pressed before this step; keys that change nothing are no branch.
            for (int k : {int(PlayKey::Up), int(PlayKey::Down), int(PlayKey::Left),
                          int(PlayKey::Right), int(PlayKey::Tab)}) {
                game.play = before;
                PressKey(game, static_cast<PlayKey>(k));
                if (game.play == before)
                    continue;
                records.push_back({e.history, e.timeMs, static_cast<PlayKey>(k)});
                push(next, e.timeMs, static_cast<int64_t>(records.size()) - 1,
                     EncodePlayState(game.play, counter, start));
            }

            // No key: steps until the next decision moment, which waits in this layer.
            game.play = std::move(before);
            for (uint64_t t = e.timeMs;; t += kTimerStepMs) {
                PlayResult step = game.TimerStep(counterAt(t));
                if (step == PlayResult::Won) {
                    if (!found || t < winMs) {
                        found = true;
                        winMs = t;
                        winHistory = e.history;
                    }
                    break;
                }
                if (step == PlayResult::Lost)
                    break;
                if (t + kTimerStepMs > kMaxPlayMs) {
                    playTimeEnd = true;
                    break;
                }
                if (DecisionMoment(game.play, counterAt(t + kTimerStepMs))) {
                    push(layer, t + kTimerStepMs, e.history,
                         EncodePlayState(game.play, counterAt(t + kTimerStepMs), start));
                    break;
                }
            }
        }
        if (found)
            return finish(SolveStatus::Solved);
        layer.swap(next);
        next.clear();
    }
    return finish(playTimeEnd ? SolveStatus::PlayTimeEnd : SolveStatus::Unwinnable);
}

} // namespace kx
