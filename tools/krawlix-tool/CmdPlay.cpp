// krawlix-tool play: plays a level headless on a virtual clock and prints the outcome as JSON.
#include <cstdio>
#include <fstream>
#include <sstream>

#include "Command.h"
#include "FieldJson.h"
#include "Json.h"
#include "OptionReader.h"
#include "field/LevelFile.h"
#include "levelsource/Tape.h"
#include "rules/Game.h"
#include "rules/HeadlessPlay.h"
#include "storage/FileEx.h"
#include "storage/OutputFile.h"
#include "storage/TextCodec.h"

namespace kxtool {
namespace {

class SoundLog : public kx::ISoundOutput {
public:
    void PlaySound(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

struct PlayArgs {
    std::string level;
    std::optional<uint64_t> seed;
    std::optional<std::string> keys;
    std::optional<uint64_t> until;
    std::string tapePath;
    std::string recordPath;
    bool title = false;
    bool field = false;
};

// nullopt: the play runs; otherwise the exit status of --help or of a wrong command line.
std::optional<int> ReadArgs(const Args& args, PlayArgs& out) {
    COptionReader reader("play");
    reader.Flag("--title", out.title)
        .Flag("--field", out.field)
        .Number("--seed", out.seed)
        .Number("--until", out.until)
        .Text("--keys", out.keys)
        .Text("--tape", out.tapePath)
        .Text("--record", out.recordPath)
        .Level(out.level);
    if (auto exit = reader.Read(args))
        return exit;
    if (!out.tapePath.empty() && (out.seed || out.keys || !out.recordPath.empty()))
        return Fail(
            "--tape replays its own seed and keys; --seed, --keys and --record do not go with it");
    return std::nullopt;
}

int Play(const Args& args) {
    PlayArgs pa;
    if (auto exit = ReadArgs(args, pa))
        return *exit;
    std::string error;

    kx::Tape tape;
    if (!pa.tapePath.empty()) {
        if (!ReadTapeFile(pa.tapePath, tape, error))
            return Fail(error);
    } else {
        tape.seed = pa.seed.value_or(1);
        if (pa.keys) {
            std::string reason;
            if (!kx::ParseKeyScript(*pa.keys, tape.keys, &reason))
                return Fail(reason);
        }
    }
    if (pa.until)
        tape.untilMs = pa.until;
    if (tape.untilMs && *tape.untilMs > kx::kMaxPlayMs)
        return Fail("the play stops at " + std::to_string(*tape.untilMs) +
                    " ms, beyond a day of level time (at most " + std::to_string(kx::kMaxPlayMs) +
                    " ms)");

    SoundLog sounds;
    kx::CGame game(&sounds);
    game.Random().Seed(tape.seed);
    uint32_t version = 0;
    if (!LoadLevelFile(pa.level, game.play.field, &version, error, false))
        return Fail(error);
    game.play.notInLevel = pa.title;

    kx::PlayOptions options;
    options.keys = tape.keys;
    options.untilMs = tape.untilMs.value_or(600000);
    kx::PlayOutcome outcome = kx::PlayHeadless(game, options);
    const std::string result = kx::PlayResultName(outcome.result);

    if (!pa.recordPath.empty()) {
        kx::Tape recorded = tape;
        recorded.expect = result;
        const std::string bytes = kx::FormatTape(recorded);
        std::string error;
        if (!kx::WriteWholeFile(pa.recordPath, bytes.data(), bytes.size(), &error))
            return FailWrite(error);
    }

    std::string text;
    JsonWriter json(text);
    json.BeginObject();
    json.Key("result");
    json.String(result);
    if (tape.expect && pa.recordPath.empty()) {
        json.Key("expected");
        json.String(*tape.expect);
        json.Key("asExpected");
        json.Bool(*tape.expect == result);
    }
    json.Key("timeMs");
    json.UInt(outcome.timeMs);
    WritePlayStateJson(json, game.play);
    json.Key("sounds");
    json.BeginArray();
    for (const std::string& name : sounds.names)
        json.String(name);
    json.EndArray();
    if (pa.field) {
        json.Key("field");
        WriteFieldJson(json, game.play.field, version);
    }
    json.EndObject();
    text += '\n';
    std::fwrite(text.data(), 1, text.size(), stdout);
    return 0;
}

const Register playCommand{
    {"play",
     "LEVEL [--seed N] [--keys SCRIPT] [--until MS] [--title] [--field] [--tape FILE] [--record "
     "FILE]",
     "plays a level headless (virtual clock, key script TIME:up|down|left|right|tab,...) and "
     "prints the outcome as JSON; --tape replays a tape, --record writes one",
     Play}};

} // namespace
} // namespace kxtool
