// krawlix-tool shot: the real game shell on the headless host; a frame as PNG, its state as JSON.
#include <charconv>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "Command.h"
#include "Json.h"
#include "OptionReader.h"
#include "game/CommandLineJoin.h"
#include "game/GameShell.h"
#include "game/HeadlessHost.h"
#include "rules/HeadlessPlay.h"
#include "storage/TextCodec.h"

namespace kxtool {
namespace {

enum class ShotKeyKind { Up, Down, Left, Right, Tab, Enter, Esc, F1, Click };

struct ShotKey {
    uint64_t timeMs = 0;
    ShotKeyKind kind = ShotKeyKind::Enter;
    int32_t x = 0;
    int32_t y = 0;
};

struct ShotArgs {
    std::optional<std::string> programDir;
    std::string documentsDir;
    std::optional<std::string> profile;
    uint64_t seed = 1;
    std::vector<ShotKey> keys;
    std::optional<uint64_t> at;
    bool state = false;
    std::string out;
    std::vector<std::string> gameArgs;
};

std::string Trimmed(const std::string& s) {
    size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool ParseShotKey(const std::string& entry, ShotKey& key) {
    size_t colon = entry.find(':');
    if (colon == std::string::npos || !ParseNumber(Trimmed(entry.substr(0, colon)), key.timeMs))
        return false;
    std::string name = Trimmed(entry.substr(colon + 1));
    static const struct {
        const char* name;
        ShotKeyKind kind;
    } kNames[] = {{"up", ShotKeyKind::Up},     {"down", ShotKeyKind::Down},
                  {"left", ShotKeyKind::Left}, {"right", ShotKeyKind::Right},
                  {"tab", ShotKeyKind::Tab},   {"enter", ShotKeyKind::Enter},
                  {"esc", ShotKeyKind::Esc},   {"f1", ShotKeyKind::F1}};
    for (const auto& n : kNames) {
        if (name == n.name) {
            key.kind = n.kind;
            return true;
        }
    }
    if (name.rfind("click:", 0) != 0)
        return false;
    std::string rest = name.substr(6);
    size_t sep = rest.find(':');
    key.kind = ShotKeyKind::Click;
    return sep != std::string::npos && ParseNumber(Trimmed(rest.substr(0, sep)), key.x) &&
           ParseNumber(Trimmed(rest.substr(sep + 1)), key.y);
}

bool ParseShotKeys(const std::string& text, std::vector<ShotKey>& keys, std::string& error) {
    if (Trimmed(text).empty())
        return true;
    size_t start = 0;
    for (;;) {
        size_t comma = text.find(',', start);
        std::string entry =
            text.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        ShotKey key;
        if (!ParseShotKey(entry, key)) {
            error = "bad key \"" + entry +
                    "\" (expected TIME:up|down|left|right|tab|enter|esc|f1|click:X:Y)";
            return false;
        }
        keys.push_back(key);
        if (comma == std::string::npos)
            return true;
        start = comma + 1;
    }
}

// nullopt: the shot runs; otherwise the exit status of --help or of a wrong command line.
std::optional<int> ReadArgs(const Args& args, ShotArgs& out) {
    COptionReader reader("shot");
    reader.Flag("--state", out.state)
        .Text("--program-dir", out.programDir)
        .Text("--documents-dir", out.documentsDir)
        .Text("--profile", out.profile)
        .Number("--seed", out.seed)
        .Number("--at", out.at)
        .Value("--keys", [&out](const std::string& v,
                                std::string& error) { return ParseShotKeys(v, out.keys, error); })
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

// Lead bytes and continuation bytes in order (overlong forms are not looked for).
bool IsValidUtf8(const std::string& text) {
    size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        size_t n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 4;
        if (n == 4)
            return false;
        for (size_t k = 1; k <= n; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) >> 6) != 2)
                return false;
        }
        i += n + 1;
    }
    return true;
}

// The game's texts are Windows-1252; file names and paths may already be UTF-8.
std::string ToUtf8(const std::string& text) {
    return IsValidUtf8(text) ? text : kx::Utf8FromCp1252(text);
}

void PressShotKey(kx::CGameShell& shell, const ShotKey& key) {
    switch (key.kind) {
    case ShotKeyKind::Up:
        return shell.OnKeyDown(kx::PlayKey::Up);
    case ShotKeyKind::Down:
        return shell.OnKeyDown(kx::PlayKey::Down);
    case ShotKeyKind::Left:
        return shell.OnKeyDown(kx::PlayKey::Left);
    case ShotKeyKind::Right:
        return shell.OnKeyDown(kx::PlayKey::Right);
    case ShotKeyKind::Tab:
        return shell.OnKeyDown(kx::PlayKey::Tab);
    case ShotKeyKind::Enter:
        return shell.OnOk();
    case ShotKeyKind::Esc:
        return shell.OnCancel();
    case ShotKeyKind::F1:
        return shell.ShowLevelHelp();
    case ShotKeyKind::Click:
        return shell.OnClick(key.x, key.y);
    }
}

void WriteStrings(JsonWriter& json, const std::vector<std::string>& texts) {
    json.BeginArray();
    for (const std::string& text : texts)
        json.String(ToUtf8(text));
    json.EndArray();
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
    json.Int(static_cast<int64_t>(game.play.worms.size()));
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
            json.EndArray();
        }
        json.EndArray();
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

    kx::CHeadlessHost host;
    if (sa.profile)
        host.UseProfileFile(*sa.profile);
    kx::CGameShell shell(host, nullptr);
    host.SetRepaintHandler([&shell] { shell.Paint(kx::kClientSize, kx::kClientSize); });
    if (sa.programDir)
        shell.SetProgramFolder(*sa.programDir);
    shell.SetDocumentsFolder(sa.documentsDir);
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
    size_t next = 0;
    for (uint64_t t = 0; t <= last; t += kx::kTimerStepMs) {
        while (next < sa.keys.size() && sa.keys[next].timeMs <= t)
            PressShotKey(shell, sa.keys[next++]);
        host.SetTimeMs(kx::kHeadlessStartMs + t);
        shell.Tick();
        if (host.quitPosted)
            break;
    }

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
    return 0;
}

const Register shotCommand{
    {"shot",
     "[--program-dir DIR] [--documents-dir DIR] [--profile FILE] [--seed N] [--keys SCRIPT] "
     "[--at MS] [--state] [OUT.png] [-- GAME-ARGS...]",
     "runs the game shell headless as the game starts (timer steps at 0, 10, 20 ... ms, until "
     "--at, else the last key's time), writes the frame at that moment and, with --state, the "
     "screen's state as JSON. Keys: TIME:up|down|left|right|tab|enter|esc|f1|click:X:Y, "
     "applied in script order before the first step at or after their time. The program "
     "folder is DIR, else the tool's own; no documents folder unless given; no stored profile "
     "unless --profile; the seed is 1 unless given. A failed start-up prints the game's "
     "message and exits with 1",
     Shot}};

} // namespace
} // namespace kxtool
