// krawlix-tool check: the level checker's warnings, one line each, for level files or sources.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "OptionReader.h"
#include "levelcheck/LevelCheck.h"
#include "levelsource/LevelSource.h"
#include "levelsource/Tape.h"
#include "solver/Solver.h"

namespace kxtool {
namespace {

bool EndsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() &&
           text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// A ".txt" path is a level source and is compiled; anything else is read as a level file.
// On failure error names the file and the reason.
bool LoadForCheck(const std::string& path, kx::CGameFieldBase& field, std::string& error) {
    if (!EndsWith(path, ".txt"))
        return LoadLevelFile(path, field, nullptr, error, true);
    std::string source;
    if (!ReadFileBytes(path, source, error))
        return false;
    if (kx::CompileLevelSource(source, field, error))
        return true;
    error = path + ": " + error;
    return false;
}

struct CheckArgs {
    std::vector<std::string> levels;
    bool solve = false;
    // Per level: enough for the built-in puzzles, small enough for a whole folder.
    kx::SolveLimits limits{200000, 20};
};

// nullopt: the check runs; otherwise the exit status of --help or of a wrong command line.
std::optional<int> ReadCheckArgs(const Args& args, CheckArgs& out) {
    std::optional<uint64_t> maxStates, maxSeconds;
    COptionReader reader("check");
    reader.WrongLineStatus(2)
        .Flag("--solve", out.solve)
        .Number("--max-states", maxStates)
        .Number("--max-seconds", maxSeconds)
        .Positionals(out.levels);
    if (auto exit = reader.Read(args))
        return exit;
    if (maxStates)
        out.limits.maxStates = *maxStates;
    if (maxSeconds)
        out.limits.maxSeconds = static_cast<double>(*maxSeconds);
    std::string error;
    if ((maxStates || maxSeconds) && !out.solve)
        error = "--max-states and --max-seconds limit --solve, which is not given";
    else if (out.levels.empty())
        error = UsageMessage("check");
    if (error.empty())
        return std::nullopt;
    Fail(error);
    return 2;
}

// A warning only when the search proved that nothing wins; a limit reached proves nothing.
std::optional<kx::LevelWarning> WinnableWarning(const kx::CGameFieldBase& field,
                                                const kx::SolveLimits& limits) {
    constexpr uint64_t kSeed = 1;
    const kx::SolveResult r = kx::Solve(field, kSeed, limits);
    if (r.status != kx::SolveStatus::Unwinnable)
        return std::nullopt;
    std::string text = "the level cannot be won";
    if (r.dependsOnSeed)
        text += " with generator seed " + std::to_string(kSeed) +
                " (ghosts move by chance; other seeds may differ)";
    text +=
        ": no key script wins in any of the " + std::to_string(r.states) + " states play can reach";
    return kx::LevelWarning{-1, -1, text};
}

int Check(const Args& args) {
    CheckArgs ca;
    if (auto exit = ReadCheckArgs(args, ca))
        return *exit;
    std::string error;
    bool warned = false, unreadable = false;
    for (const std::string& path : ca.levels) {
        kx::CGameFieldBase field;
        if (!LoadForCheck(path, field, error)) {
            std::fprintf(stderr, "krawlix-tool: %s\n", error.c_str());
            unreadable = true;
            continue;
        }
        std::vector<kx::LevelWarning> warnings = kx::CheckLevel(field);
        if (ca.solve) {
            if (auto w = WinnableWarning(field, ca.limits))
                warnings.push_back(*w);
        }
        for (const kx::LevelWarning& w : warnings) {
            warned = true;
            if (w.x >= 0)
                std::printf("%s: (%d, %d): %s\n", path.c_str(), w.x, w.y, w.text.c_str());
            else
                std::printf("%s: %s\n", path.c_str(), w.text.c_str());
        }
        std::fflush(stdout);
    }
    return unreadable ? 2 : warned ? 1 : 0;
}

const Register checkCommand{
    {"check", "[--solve [--max-states N] [--max-seconds S]] LEVEL...",
     "warns about what a level author should look at, one line per finding with its cell "
     "(column, row): corn no worm can reach, worms on the border or in walls, body cells no head "
     "claims, flags that contradict walls, blocks or fences, switches without partners, a missing "
     "description or unknown mark-up tags, a big field used like a small one. LEVEL is a level "
     "file, or a source when it ends in .txt. --solve also searches each level for a winning "
     "key script (generator seed 1; per level at most 200000 states and 20 s unless "
     "--max-states N or --max-seconds S, whole seconds, say otherwise) and warns when it is "
     "proven that none exists; with ghosts or larvae that proof holds for seed 1 only. A level "
     "whose search reaches a limit gets no warning: nothing is proven then. Exit 0 without "
     "warnings, 1 with warnings, 2 when a file does not read or the command line is wrong",
     Check}};

} // namespace
} // namespace kxtool
