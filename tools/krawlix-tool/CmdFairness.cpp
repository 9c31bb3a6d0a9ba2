// krawlix-tool fairness: one tape over many seeds and start delays, and the unsteered worm's life.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "Command.h"
#include "Json.h"
#include "OptionReader.h"
#include "levelcheck/Fairness.h"
#include "levelsource/Tape.h"

namespace kxtool {
namespace {

struct FairnessArgs {
    std::string level;
    std::string tapePath;
    kx::FairnessOptions options;
    bool json = false;
};

// "MS,MS,...": at least one delay, each within a day of level time.
bool ParseDelays(const std::string& text, std::vector<uint64_t>& delays, std::string& error) {
    delays.clear();
    size_t start = 0;
    for (;;) {
        const size_t comma = text.find(',', start);
        const std::string item =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        uint64_t ms = 0;
        if (!ParseNumber(item, ms) || ms > kx::kMaxPlayMs) {
            error = "--delays takes milliseconds up to a day (" + std::to_string(kx::kMaxPlayMs) +
                    "), separated by commas, not \"" + text + "\"";
            return false;
        }
        delays.push_back(ms);
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

std::optional<int> ReadArgs(const Args& args, FairnessArgs& out) {
    COptionReader reader("fairness");
    reader.Text("--tape", out.tapePath)
        .Number("--seeds", out.options.seeds, uint32_t{100000})
        .Value("--delays",
               [&out](const std::string& v, std::string& error) {
                   return ParseDelays(v, out.options.delaysMs, error);
               })
        .Flag("--json", out.json)
        .Level(out.level);
    if (auto exit = reader.Read(args))
        return exit;
    if (out.tapePath.empty())
        return Fail(UsageMessage("fairness"));
    if (out.options.seeds == 0)
        return Fail("--seeds takes at least 1");
    return std::nullopt;
}

std::string Seconds(uint64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.2f", static_cast<double>(ms) / 1000.0);
    return text;
}

std::string Json(const FairnessArgs& fa, const kx::FairnessReport& report) {
    std::string text;
    JsonWriter json(text);
    json.BeginObject();
    json.Key("seedMatters");
    json.Bool(report.dependsOnSeed);
    json.Key("seeds");
    json.UInt(report.dependsOnSeed ? fa.options.seeds : 1);
    json.Key("delaysMs");
    json.BeginArray();
    for (uint64_t d : fa.options.delaysMs)
        json.UInt(d);
    json.EndArray();
    json.Key("plays");
    json.UInt(report.plays.size());
    json.Key("won");
    json.UInt(report.won);
    for (kx::PlayResult kind : {kx::PlayResult::Lost, kx::PlayResult::Running}) {
        json.Key(kind == kx::PlayResult::Lost ? "lost" : "running");
        json.BeginArray();
        for (const kx::FairnessPlay& p : report.plays) {
            if (p.result != kind)
                continue;
            json.BeginObject();
            json.Key("seed");
            json.UInt(p.seed);
            json.Key("delayMs");
            json.UInt(p.delayMs);
            json.Key("timeMs");
            json.UInt(p.timeMs);
            if (!p.cause.empty()) {
                json.Key("cause");
                json.String(p.cause);
                json.Key("deathMs");
                json.UInt(p.deathMs);
            }
            json.EndObject();
        }
        json.EndArray();
    }
    json.Key("unsteered");
    json.BeginArray();
    for (const kx::UnsteeredSurvival& u : report.unsteered) {
        json.BeginObject();
        json.Key("seed");
        json.UInt(u.seed);
        json.Key("survivedMs");
        json.UInt(u.survivedMs);
        json.Key("outlived");
        json.Bool(u.outlived);
        json.EndObject();
    }
    json.EndArray();
    json.EndObject();
    text += '\n';
    return text;
}

std::string Text(const FairnessArgs& fa, const kx::FairnessReport& report) {
    std::string delays;
    for (uint64_t d : fa.options.delaysMs)
        delays += (delays.empty() ? "" : ", ") + std::to_string(d);
    std::string text;
    if (report.dependsOnSeed) {
        text += "plays: " + std::to_string(report.plays.size()) + " (seeds 1 to " +
                std::to_string(fa.options.seeds) + ", start delays " + delays + " ms)\n";
    } else {
        text += "the seed does not matter: no ghost walks and no larva can hatch one\n";
        text +=
            "plays: " + std::to_string(report.plays.size()) + " (start delays " + delays + " ms)\n";
    }
    const size_t plays = std::max<size_t>(report.plays.size(), 1);
    text += "won: " + std::to_string(report.won) + " of " + std::to_string(report.plays.size()) +
            " (" + std::to_string((report.won * 100 + plays / 2) / plays) + " %)\n";
    for (const kx::FairnessPlay& p : report.plays) {
        if (p.result == kx::PlayResult::Won)
            continue;
        text += std::string(p.result == kx::PlayResult::Lost ? "lost" : "running") + ": seed " +
                std::to_string(p.seed) + ", delay " + std::to_string(p.delayMs) + " ms";
        if (p.result == kx::PlayResult::Lost)
            text += ", at " + Seconds(p.timeMs) + " s";
        else
            text += ", still at " + Seconds(p.timeMs) + " s";
        if (!p.cause.empty())
            text += ", first death at " + Seconds(p.deathMs) + " s: " + p.cause;
        text += "\n";
    }
    text += "a worm never steered lives (s, watched for " + Seconds(fa.options.unsteeredMs) + "):";
    std::vector<uint64_t> lives;
    uint32_t outlived = 0;
    for (const kx::UnsteeredSurvival& u : report.unsteered) {
        text += " " + std::string(u.outlived ? ">" : "") + Seconds(u.survivedMs);
        lives.push_back(u.survivedMs);
        outlived += u.outlived;
    }
    std::sort(lives.begin(), lives.end());
    text += "\n";
    if (!lives.empty())
        text += "shortest " + Seconds(lives.front()) + " s, median " +
                Seconds(lives[(lives.size() - 1) / 2]) + " s; " + std::to_string(outlived) +
                " of " + std::to_string(lives.size()) + " outlive the watch\n";
    return text;
}

int Fairness(const Args& args) {
    FairnessArgs fa;
    if (auto exit = ReadArgs(args, fa))
        return *exit;
    std::string error;
    kx::CGameFieldBase field;
    uint32_t version = 0;
    if (!LoadLevelFile(fa.level, field, &version, error, false))
        return Fail(error);
    kx::Tape tape;
    if (!ReadTapeFile(fa.tapePath, tape, error))
        return Fail(error);
    if (tape.untilMs)
        fa.options.untilMs = std::min(*tape.untilMs, kx::kMaxPlayMs);
    const kx::FairnessReport report = kx::MeasureFairness(field, tape.keys, fa.options);
    const std::string text = fa.json ? Json(fa, report) : Text(fa, report);
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

const Register fairnessCommand{
    {"fairness", "LEVEL --tape TAPE [--seeds N] [--delays MS,MS,...] [--json]",
     "replays the tape's keys on the seeds 1 to N (default 20; the tape's own seed is not "
     "used), each also with every key later by each start delay (default 0,1000,2000 ms), up "
     "to the tape's until (else 600000 ms) plus the delay, and prints how many plays win and "
     "how the others lose: the level time of the end and of the first death, and its cause "
     "(ghost: a ghost beside the head; water; arrow; worm: into a body; corn left). Then, for "
     "each seed, how long a worm that is never steered lives, watched for 30 s of level time "
     "(>30.00: it outlived the watch). A level without ghosts or larvae is played with seed 1 "
     "only, and it says that the seed does not matter. Exit 0 with the report, 1 for a level or "
     "tape that does not read",
     Fairness}};

} // namespace
} // namespace kxtool
