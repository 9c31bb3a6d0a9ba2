// The headless play loop that krawlix-tool and the tests share.
#include "HeadlessPlay.h"

#include <algorithm>
#include <charconv>

namespace kx {

namespace {
std::string Trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r\n");
    return s.substr(b, e - b + 1);
}
} // namespace

bool PlayKeyFromName(const std::string& name, PlayKey& key) {
    for (PlayKey k : {PlayKey::Up, PlayKey::Down, PlayKey::Left, PlayKey::Right, PlayKey::Tab}) {
        if (name == PlayKeyName(k)) {
            key = k;
            return true;
        }
    }
    return false;
}

const char* PlayKeyName(PlayKey key) {
    switch (key) {
    case PlayKey::Up:
        return "up";
    case PlayKey::Down:
        return "down";
    case PlayKey::Left:
        return "left";
    case PlayKey::Right:
        return "right";
    case PlayKey::Tab:
        return "tab";
    }
    return "?";
}

const char* PlayResultName(PlayResult result) {
    switch (result) {
    case PlayResult::Won:
        return "won";
    case PlayResult::Lost:
        return "lost";
    case PlayResult::Running:
        return "running";
    }
    return "?";
}

bool SplitKeyScript(const std::string& text, std::vector<ScriptEntry>& entries,
                    std::string* badEntry) {
    entries.clear();
    if (Trimmed(text).empty())
        return true;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        ScriptEntry entry;
        entry.text =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        size_t colon = entry.text.find(':');
        bool ok = colon != std::string::npos;
        if (ok) {
            std::string time = Trimmed(entry.text.substr(0, colon));
            auto [end, ec] = std::from_chars(time.data(), time.data() + time.size(), entry.timeMs);
            ok = !time.empty() && ec == std::errc() && end == time.data() + time.size();
            entry.name = Trimmed(entry.text.substr(colon + 1));
        }
        if (!ok) {
            if (badEntry)
                *badEntry = entry.text;
            entries.clear();
            return false;
        }
        entries.push_back(std::move(entry));
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

bool ParseKeyScript(const std::string& text, std::vector<KeyPress>& keys, std::string* reason) {
    keys.clear();
    std::vector<ScriptEntry> entries;
    std::string bad;
    bool ok = SplitKeyScript(text, entries, &bad);
    for (size_t i = 0; ok && i < entries.size(); ++i) {
        KeyPress press{entries[i].timeMs, PlayKey::Right};
        ok = PlayKeyFromName(entries[i].name, press.key);
        if (ok)
            keys.push_back(press);
        else
            bad = entries[i].text;
    }
    if (!ok) {
        if (reason)
            *reason = "bad key \"" + Trimmed(bad) + "\" (expected TIME:up|down|left|right|tab)";
        keys.clear();
    }
    return ok;
}

std::string FormatKeyScript(const std::vector<KeyPress>& keys) {
    std::string out;
    for (const KeyPress& press : keys) {
        if (!out.empty())
            out += ',';
        out += std::to_string(press.timeMs) + ":" + PlayKeyName(press.key);
    }
    return out;
}

bool PressKey(CGame& game, PlayKey key) {
    if (key == PlayKey::Tab) {
        game.SelectNextWorm();
        return true;
    }
    if (game.play.notInLevel || game.play.worms.empty())
        return false;
    game.SteerCurrentWorm(static_cast<int32_t>(key));
    return true;
}

PlayOutcome PlayHeadless(CGame& game, const PlayOptions& options) {
    game.counterFrequency = kHeadlessFrequency;
    game.PrepareLevel();
    // Each key belongs to the first step at or after its time; within a step the keys keep
    // the script's order. Sorted so, one cursor hands them out: a long script costs its
    // length once, not once per step.
    std::vector<KeyPress> keys = options.keys;
    std::stable_sort(keys.begin(), keys.end(), [](const KeyPress& a, const KeyPress& b) {
        return StepOfMs(a.timeMs) < StepOfMs(b.timeMs);
    });
    size_t next = 0;
    const uint64_t until = std::min(options.untilMs, kMaxPlayMs);
    PlayOutcome outcome;
    for (uint64_t t = 0;; t += kTimerStepMs) {
        for (; next < keys.size() && keys[next].timeMs <= t; ++next)
            PressKey(game, keys[next].key);
        PlayResult result = game.TimerStep(game.MsToTicks(kHeadlessStartMs + t));
        game.redrawPending = false;
        outcome.timeMs = t;
        ++outcome.steps;
        bool goOn = !options.afterStep || options.afterStep(game, t);
        if (result != PlayResult::Running) {
            outcome.result = result;
            return outcome;
        }
        if (!goOn)
            return outcome;
        if (t >= until)
            return outcome;
    }
}

PlayOutcome PlayToStep(CGame& game, const std::vector<KeyPress>& keys, uint64_t atMs) {
    const uint64_t atStepMs = StepOfMs(atMs) * kTimerStepMs;
    // Keys of the steps before atMs play there; those of the step at atMs are pressed after,
    // in script order, as headless play presses the keys of one step.
    std::vector<KeyPress> before, at;
    for (const KeyPress& k : keys) {
        if (atStepMs > 0 && k.timeMs <= atStepMs - kTimerStepMs)
            before.push_back(k);
        else if (k.timeMs <= atStepMs)
            at.push_back(k);
    }
    PlayOutcome outcome;
    if (atStepMs == 0) {
        game.counterFrequency = kHeadlessFrequency;
        game.PrepareLevel();
    } else {
        PlayOptions options;
        options.keys = std::move(before);
        options.untilMs = atStepMs - kTimerStepMs;
        outcome = PlayHeadless(game, options);
        if (outcome.result != PlayResult::Running)
            return outcome;
    }
    for (const KeyPress& k : at)
        PressKey(game, k.key);
    return outcome;
}

} // namespace kx
