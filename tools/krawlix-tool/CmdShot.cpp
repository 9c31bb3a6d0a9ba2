// krawlix-tool shot: the real game shell on the headless host; a frame as PNG, its state as JSON.
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "FieldJson.h"
#include "Json.h"
#include "OptionReader.h"
#include "field/LevelFile.h"
#include "game/CommandLineJoin.h"
#include "game/GameShell.h"
#include "game/GameTexts.h"
#include "game/HeadlessHost.h"
#include "game/ShotScript.h"
#include "levelsource/Tape.h"
#include "rules/HeadlessPlay.h"
#include "storage/OutputFile.h"
#include "storage/TextCodec.h"

namespace kxtool {
namespace {

struct ShotArgs {
    std::optional<std::string> programDir;
    std::string documentsDir;
    std::optional<std::string> profile;
    std::string dataDir;
    uint64_t seed = 1;
    std::vector<kx::ShotKey> keys;
    std::optional<uint64_t> at;
    bool state = false;
    bool field = false;
    std::string recordPath;
    std::string out;
    std::vector<std::string> gameArgs;
};

// nullopt: the shot runs; otherwise the exit status of --help or of a wrong command line.
std::optional<int> ReadArgs(const Args& args, ShotArgs& out) {
    COptionReader reader("shot");
    reader.Flag("--state", out.state)
        .Flag("--field", out.field)
        .Text("--record", out.recordPath)
        .Text("--program-dir", out.programDir)
        .Text("--documents-dir", out.documentsDir)
        .Text("--profile", out.profile)
        .Text("--data-dir", out.dataDir)
        .Number("--seed", out.seed)
        .Number("--at", out.at)
        .Value("--keys",
               [&out](const std::string& v, std::string& error) {
                   return kx::ParseShotKeys(v, out.keys, error);
               })
        .Positional([&out](const std::string& word, std::string& error) {
            if (!out.out.empty()) {
                error = "more than one picture named; " + UsageMessage("shot");
                return false;
            }
            out.out = word;
            return true;
        })
        .RestAfterDoubleDash(out.gameArgs);
    return reader.Read(args);
}

class SoundLog : public kx::ISoundOutput {
public:
    void PlaySound(const std::string& name) override { names.push_back(name); }
    std::vector<std::string> names;
};

// The game's texts are Windows-1252; file names and paths may already be UTF-8.
std::string ToUtf8(const std::string& text) {
    return kx::IsValidUtf8(text) ? text : kx::Utf8FromCp1252(text);
}

void WriteStrings(JsonWriter& json, const std::vector<std::string>& texts) {
    json.BeginArray();
    for (const std::string& text : texts)
        json.String(ToUtf8(text));
    json.EndArray();
}

// The hint on screen: its key, when it is due, the head's cell then and the worm; or what the
// solver found instead; null without one.
void WriteHint(JsonWriter& json, const std::optional<kx::Hint>& hint) {
    if (!hint || hint->kind == kx::Hint::Kind::Searching) {
        json.Null();
        return;
    }
    if (hint->kind == kx::Hint::Kind::Unwinnable || hint->kind == kx::Hint::Kind::Unknown) {
        json.String(hint->kind == kx::Hint::Kind::Unwinnable ? "unwinnable" : "unknown");
        return;
    }
    json.BeginObject();
    json.Key("key");
    if (hint->kind == kx::Hint::Kind::Key)
        json.String(kx::PlayKeyName(hint->key));
    else
        json.Null();
    json.Key("time");
    json.UInt(hint->timeMs);
    json.Key("cell");
    json.BeginArray();
    json.Int(hint->cellX);
    json.Int(hint->cellY);
    json.EndArray();
    json.Key("worm");
    json.Int(hint->worm);
    json.EndObject();
}

std::string StateJson(kx::CGameShell& shell, const kx::CHeadlessHost& host,
                      const SoundLog& sounds) {
    const kx::CGame& game = shell.Game();
    std::string text;
    JsonWriter json(text);
    json.BeginObject();
    json.Key("title");
    json.String(ToUtf8(shell.WindowTitle()));
    json.Key("currentLevel");
    json.Int(game.currentLevel);
    json.Key("notInLevel");
    json.Bool(game.play.notInLevel);
    json.Key("levels");
    WriteStrings(json, shell.Levels());
    json.Key("lastGame");
    json.Int(game.lastGame);
    json.Key("cornLeft");
    json.Int(game.play.cornLeft);
    json.Key("worms");
    json.BeginArray();
    for (const kx::Worm& worm : game.play.worms) {
        json.BeginObject();
        json.Key("head");
        json.BeginArray();
        json.Int(worm.length >= 1 ? worm.Head().x : -1);
        json.Int(worm.length >= 1 ? worm.Head().y : -1);
        json.EndArray();
        json.Key("length");
        json.Int(worm.length);
        json.Key("direction");
        json.Int(worm.direction);
        json.EndObject();
    }
    json.EndArray();
    json.Key("paused");
    json.Bool(shell.Pause() != kx::CGameShell::PauseKind::None);
    json.Key("hint");
    WriteHint(json, shell.ShownHint());
    json.Key("levelTime");
    json.UInt(shell.LevelTimeMs());
    json.Key("menu");
    const kx::CGameMenu& menu = shell.Menu();
    if (!menu.IsOpen()) {
        json.Null();
    } else {
        json.BeginObject();
        json.Key("caption");
        json.String(ToUtf8(menu.GetCaption()));
        json.Key("items");
        json.BeginArray();
        for (const kx::MenuItem& item : menu.GetItems()) {
            json.BeginArray();
            json.Int(item.id);
            json.String(ToUtf8(item.text));
            // The level choice's items tell whether the level was won before, and the best.
            if (item.id >= kx::CMD_LEVEL_FIRST && item.id <= kx::CMD_LEVEL_LAST) {
                const auto record = shell.RecordOf(item.id - kx::CMD_LEVEL_FIRST + 1);
                json.BeginObject();
                json.Key("solved");
                json.Bool(record.has_value());
                json.Key("bestKeys");
                record ? json.UInt(record->keys) : json.Null();
                json.Key("bestMs");
                record ? json.UInt(record->ms) : json.Null();
                json.EndObject();
            }
            json.EndArray();
        }
        json.EndArray();
        json.Key("note");
        json.String(ToUtf8(menu.GetNote()));
        json.Key("selection");
        json.Int(menu.GetSelection());
        json.Key("first");
        json.Int(menu.GetFirst());
        json.Key("rows");
        json.Int(menu.GetRows());
        json.EndObject();
    }
    json.Key("panel");
    json.BeginObject();
    json.Key("visible");
    json.Bool(shell.Panel().IsVisible());
    json.Key("lines");
    WriteStrings(json, shell.Panel().GetLines());
    json.EndObject();
    json.Key("sounds");
    WriteStrings(json, sounds.names);
    json.Key("messages");
    json.BeginArray();
    for (const auto& message : host.messages)
        json.String(ToUtf8(message.text));
    json.EndArray();
    json.Key("opened");
    WriteStrings(json, host.opened);
    json.Key("quit");
    json.Bool(host.quitPosted);
    json.EndObject();
    text += '\n';
    return text;
}

int Shot(const Args& args) {
    ShotArgs sa;
    if (auto exit = ReadArgs(args, sa))
        return *exit;
    // Beyond a day the steps would take days, and the clock's conversion would wrap.
    const std::string beyond =
        " ms, beyond a day of level time (at most " + std::to_string(kx::kMaxPlayMs) + " ms)";
    if (sa.at && *sa.at > kx::kMaxPlayMs)
        return Fail("the shot is taken at " + std::to_string(*sa.at) + beyond);
    for (const kx::ShotKey& key : sa.keys) {
        if (key.timeMs > kx::kMaxPlayMs)
            return Fail("a key comes at " + std::to_string(key.timeMs) + beyond);
    }

    kx::CHeadlessHost host;
    if (sa.profile)
        host.UseProfileFile(*sa.profile);
    kx::CGameShell shell(host, nullptr);
    host.SetRepaintHandler([&shell] { shell.Paint(kx::kClientSize, kx::kClientSize); });
    if (sa.programDir)
        shell.SetProgramFolder(*sa.programDir);
    shell.SetDocumentsFolder(sa.documentsDir);
    shell.SetDataHome(sa.dataDir);
    shell.SetRandomSeed(sa.seed);
    SoundLog sounds;
    shell.SetSoundObserver(&sounds);

    host.SetTimeMs(kx::kHeadlessStartMs);
    shell.ParseCommandLine(kx::JoinCommandLine(sa.gameArgs));
    if (!shell.Initialize()) {
        for (const auto& message : host.messages)
            std::fprintf(stderr, "%s\n", ToUtf8(message.text).c_str());
        return 1;
    }
    shell.InitWindow();

    uint64_t last = sa.at ? *sa.at : (sa.keys.empty() ? 0 : sa.keys.back().timeMs);
    kx::RunShotSteps(
        shell, sa.keys, last, [&host](uint64_t ms) { host.SetTimeMs(ms); },
        [&host] { return host.quitPosted; });

    if (host.quitPosted)
        shell.SaveProgress();
    if (!sa.out.empty()) {
        const kx::CDrawDevice24& frame = shell.Paint(kx::kClientSize, kx::kClientSize);
        if (!frame.WritePng(sa.out))
            return Fail(sa.out + ": cannot write the picture");
    }
    if (sa.state) {
        std::string text = StateJson(shell, host, sounds);
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    if (sa.field) {
        std::string text;
        JsonWriter json(text);
        json.BeginObject();
        WritePlayStateJson(json, shell.Game().play);
        json.Key("field");
        WriteFieldJson(json, shell.Game().play.field, kx::kLevelVersion);
        json.EndObject();
        text += '\n';
        std::fwrite(text.data(), 1, text.size(), stdout);
    }
    if (!sa.recordPath.empty()) {
        const std::string bytes = kx::FormatTape(shell.AttemptTape());
        std::string writeError;
        if (!kx::WriteWholeFile(sa.recordPath, bytes.data(), bytes.size(), &writeError))
            return FailWrite(writeError);
    }
    // The game only notes a failed profile write; the tool's answer is its exit status.
    if (host.profileSaveFailed)
        return FailWrite(host.profileSaveError);
    return 0;
}

const Register shotCommand{
    {"shot",
     "[--program-dir DIR] [--documents-dir DIR] [--profile FILE] [--data-dir DIR] [--seed N] "
     "[--keys SCRIPT] "
     "[--at MS] [--state] [--field] [--record TAPE] [OUT.png] [-- GAME-ARGS...]",
     "runs the game shell headless as the game starts (timer steps at 0, 10, 20 ... ms, until "
     "--at, else the last key's time), writes the frame at that moment and, with --state, the "
     "screen's state as JSON. Keys: "
     "TIME:up|down|left|right|tab|enter|esc|f1|r|backspace|h|space|"
     "pageup|pagedown|home|end|click:X:Y, "
     "applied in script order before the first step at or after their time; h waits for the "
     "hint's answer (the clock stands meanwhile). The state's levelTime is the level time the "
     "attempt has reached (it stands while the level waits); its hint is the next key, its "
     "level time, the head's cell then and the worm, or \"unwinnable\" or \"unknown\". "
     "The program "

     "folder is DIR, else the tool's own; no documents folder unless given; no stored profile "
     "unless --profile; no replays unless --data-dir DIR, the base of the replays folder "
     "DIR/Krawlix/replays; the seed is 1 unless given. --field prints, after the state, the play "
     "state of the level on screen as `play --field` does (cornLeft, worms, ghosts, field). "
     "--record TAPE writes the tape of the current attempt at the level on screen, from its "
     "last start (a restart or another level begins a new one): the seed that puts the "
     "generator where it stood then (the background is drawn from it first, so this is not "
     "--seed), the steering keys that reached the worms at their level times, until the level "
     "time of its end with the result, or of the last step with \"running\" (keys undone "
     "by backspace are not on it); `play LEVEL "

     "--tape TAPE` replays it to the same outcome and field. Times (--at, keys) are at most a "
     "day. A failed start-up prints the game's message and exits with 1, and so does a "
     "profile that cannot be written, with the system's reason",
     Shot}};

} // namespace
} // namespace kxtool
