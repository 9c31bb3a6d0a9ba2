// krawlix-tool solve: the shortest winning key script of a level, or the proof there is none.
#include <algorithm>
#include <cstdio>

#include "Command.h"
#include "Json.h"
#include "OptionReader.h"
#include "levelsource/Tape.h"
#include "rules/Game.h"
#include "rules/HeadlessPlay.h"
#include "solver/Solver.h"
#include "storage/OutputFile.h"

namespace kxtool {
namespace {

struct SolveArgs {
    std::string level;
    uint64_t seed = 1;
    kx::SolveLimits limits;
    std::string recordPath;
    std::string afterPath;
    bool json = false;
};

// nullopt: the search runs; otherwise the exit status of --help or of a wrong command line.
std::optional<int> ReadArgs(const Args& args, SolveArgs& out) {
    std::optional<uint64_t> maxSeconds, maxMegabytes, seed;
    COptionReader reader("solve");
    reader.Flag("--json", out.json)
        .Number("--seed", seed)
        .Text("--after", out.afterPath)
        .Number("--max-states", out.limits.maxStates)
        .Number("--max-seconds", maxSeconds)
        .Number("--max-megabytes", maxMegabytes, (uint64_t{1} << 40) / (1024 * 1024))
        .Text("--record", out.recordPath)
        .Level(out.level);
    if (auto exit = reader.Read(args))
        return exit;
    if (seed && !out.afterPath.empty())
        return Fail("--after plays its tape's seed; --seed does not go with it");
    out.seed = seed.value_or(1);
    if (maxSeconds)
        out.limits.maxSeconds = static_cast<double>(*maxSeconds);
    if (maxMegabytes)
        out.limits.maxBytes = *maxMegabytes * 1024 * 1024;
    return std::nullopt;
}

const char* Outcome(kx::SolveStatus status) {
    switch (status) {
    case kx::SolveStatus::Solved:
        return "solved";
    case kx::SolveStatus::StateLimit:
        return "state limit reached";
    case kx::SolveStatus::TimeLimit:
        return "time limit reached";
    case kx::SolveStatus::MemoryLimit:
        return "memory limit reached";
    case kx::SolveStatus::PlayTimeEnd:
        return "a day of level time reached";
    case kx::SolveStatus::Unwinnable:
        return "unwinnable";
    case kx::SolveStatus::EncodingFault:
        return "a state the solver cannot keep";
    case kx::SolveStatus::StateTooLarge:
        return "state size limit reached";
    case kx::SolveStatus::Cancelled:
        return "cancelled";
    }
    return "?";
}

int Solve(const Args& args) {
    SolveArgs sa;
    if (auto exit = ReadArgs(args, sa))
        return *exit;
    std::string error;
    kx::CGameFieldBase field;
    uint32_t version = 0;
    if (!LoadLevelFile(sa.level, field, &version, error, false))
        return Fail(error);

    // With --after, the search starts where the tape's keys lead, and the answer is the whole
    // script: the tape's keys, then the continuation.
    std::vector<kx::KeyPress> prefix;
    uint64_t fromMs = 0;
    kx::SolveResult r;
    if (!sa.afterPath.empty()) {
        kx::Tape after;
        if (!ReadTapeFile(sa.afterPath, after, error))
            return Fail(error);
        sa.seed = after.seed;
        for (const kx::KeyPress& k : after.keys)
            fromMs = std::max(fromMs, k.timeMs);
        if (after.untilMs)
            fromMs = *after.untilMs;
        if (fromMs > kx::kMaxPlayMs)
            return Fail("the tape reaches " + std::to_string(fromMs) +
                        " ms, beyond a day of level time (at most " +
                        std::to_string(kx::kMaxPlayMs) + " ms)");
        for (const kx::KeyPress& k : after.keys)
            if (k.timeMs <= fromMs)
                prefix.push_back(k);
        kx::CGame game;
        game.Random().Seed(sa.seed);
        game.play.field = field;
        const kx::PlayOutcome reached = kx::PlayToStep(game, prefix, fromMs);
        if (reached.result == kx::PlayResult::Running) {
            r = kx::SolveFrom(game.play, fromMs, sa.limits);
        } else {
            // The tape's play ended before its last key: won there, or lost for good.
            r.dependsOnSeed = kx::DependsOnSeed(game.play);
            r.status = reached.result == kx::PlayResult::Won ? kx::SolveStatus::Solved
                                                             : kx::SolveStatus::Unwinnable;
            r.winMs = reached.timeMs;
        }
        r.keys.insert(r.keys.begin(), prefix.begin(), prefix.end());
    } else {
        r = kx::Solve(field, sa.seed, sa.limits);
    }
    const bool ghosts = r.dependsOnSeed;
    const bool solved = r.status == kx::SolveStatus::Solved;
    if (solved) {
        // The answer is what the real headless play confirms, nothing less.
        kx::CGame game;
        game.Random().Seed(sa.seed);
        game.play.field = field;
        kx::PlayOptions options;
        options.keys = r.keys;
        options.untilMs = r.winMs;
        kx::PlayOutcome replay = kx::PlayHeadless(game, options);
        if (replay.result != kx::PlayResult::Won || replay.timeMs != r.winMs)
            return Fail("the solution found does not win when replayed (" +
                        std::string(kx::PlayResultName(replay.result)) + " at " +
                        std::to_string(replay.timeMs) + " ms): a fault of the solver");
        if (!sa.recordPath.empty()) {
            kx::Tape tape;
            tape.seed = sa.seed;
            tape.keys = r.keys;
            tape.untilMs = r.winMs;
            tape.expect = "won";
            const std::string bytes = kx::FormatTape(tape);
            std::string writeError;
            if (!kx::WriteWholeFile(sa.recordPath, bytes.data(), bytes.size(), &writeError))
                return FailWrite(writeError);
        }
    }

    const std::string script = kx::FormatKeyScript(r.keys);
    std::string text;
    if (sa.json) {
        JsonWriter json(text);
        json.BeginObject();
        json.Key("result");
        json.String(Outcome(r.status));
        if (solved) {
            json.Key("keys");
            json.String(script);
            json.Key("keyCount");
            json.UInt(r.keys.size());
            json.Key("winMs");
            json.UInt(r.winMs);
        }
        json.Key("states");
        json.UInt(r.states);
        json.Key("storedStates");
        json.UInt(r.stored);
        json.Key("storedBytes");
        json.UInt(r.storedBytes);
        json.Key("milliseconds");
        json.UInt(static_cast<uint64_t>(r.seconds * 1000.0));
        json.Key("ghosts");
        json.Bool(ghosts);
        json.Key("seed");
        json.UInt(sa.seed);
        if (!sa.afterPath.empty()) {
            json.Key("afterKeys");
            json.UInt(prefix.size());
            json.Key("fromMs");
            json.UInt(fromMs);
        }
        json.EndObject();
        text += '\n';
    } else {
        text += std::string("result: ") + Outcome(r.status) + "\n";
        if (!sa.afterPath.empty())
            text += "searched after: the tape's " + std::to_string(prefix.size()) + " keys, from " +
                    std::to_string(fromMs) + " ms\n";
        if (solved) {
            text += "keys: " + script + "\n";
            text += "key count: " + std::to_string(r.keys.size()) + "\n";
            text += "won at: " + std::to_string(r.winMs) + " ms\n";
        }
        text += "states searched: " + std::to_string(r.states) + "\n";
        text += "states stored: " + std::to_string(r.stored) + " in " +
                std::to_string((r.storedBytes + 512 * 1024) / (1024 * 1024)) + " MB\n";
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%.3f", r.seconds);
        text += std::string("time taken: ") + seconds + " s\n";
        if (ghosts)
            text += "the level has ghosts or larvae: this holds for seed " +
                    std::to_string(sa.seed) + "\n";
    }
    std::fwrite(text.data(), 1, text.size(), stdout);
    switch (r.status) {
    case kx::SolveStatus::Solved:
        return 0;
    case kx::SolveStatus::Unwinnable:
        return 4;
    case kx::SolveStatus::EncodingFault:
        return 1;
    default:
        return 3;
    }
}

const Register solveCommand{
    {"solve",
     "LEVEL [--seed N | --after TAPE] [--max-states N] [--max-seconds S] [--max-megabytes M] "
     "[--record TAPE] [--json]",
     "searches the key scripts of play for the one with the fewest keys, among those the "
     "earliest win, and replays it before printing it; keys are tried at the steps where a worm "
     "is about to move (several may share a step), so waiting is free. Exit 0 solved; 3 a limit "
     "reached, named: states searched (--max-states, default 20000000), whole seconds "
     "(--max-seconds, default 120), memory of the stored states (--max-megabytes, default 1024), "
     "a day of level time, or a state too long to keep (thousands of creatures); 4 every "
     "reachable state searched and none wins; 1 a file that "
     "does not read. With ghosts or larvae the answer holds for the seed (--seed, default 1). "
     "--record writes the tape when solved; --json prints one object. --after TAPE searches "
     "from the state that TAPE's seed and keys reach at the level time of its last key (its "
     "until when it has one; keys after it are not played): the answer and --record give the "
     "whole script, TAPE's keys and then the continuation, and exit 4 proves that no "
     "continuation wins",
     Solve}};

} // namespace
} // namespace kxtool
