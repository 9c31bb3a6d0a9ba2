// Reading and running the shell's timed input script.
#include "ShotScript.h"

#include <charconv>

namespace kx {

namespace {

std::string Trimmed(const std::string& s) {
    const size_t b = s.find_first_not_of(" \t");
    if (b == std::string::npos)
        return {};
    return s.substr(b, s.find_last_not_of(" \t") - b + 1);
}

bool ParseInt(const std::string& text, int32_t& value) {
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

bool ParseShotKey(const ScriptEntry& entry, ShotKey& key) {
    key.timeMs = entry.timeMs;
    const std::string& name = entry.name;
    if (PlayKeyFromName(name, key.steer)) {
        key.kind = ShotKeyKind::Steer;
        return true;
    }
    static const struct {
        const char* name;
        ShotKeyKind kind;
    } kNames[] = {
        {"enter", ShotKeyKind::Enter}, {"esc", ShotKeyKind::Esc},          {"f1", ShotKeyKind::F1},
        {"r", ShotKeyKind::Restart},   {"backspace", ShotKeyKind::Rewind}, {"h", ShotKeyKind::Hint},
        {"space", ShotKeyKind::Space}};
    for (const auto& n : kNames) {
        if (name == n.name) {
            key.kind = n.kind;
            return true;
        }
    }
    static const struct {
        const char* name;
        CGameShell::MenuKey key;
    } kMenuKeys[] = {{"pageup", CGameShell::MenuKey::PageUp},
                     {"pagedown", CGameShell::MenuKey::PageDown},
                     {"home", CGameShell::MenuKey::Home},
                     {"end", CGameShell::MenuKey::End}};
    for (const auto& n : kMenuKeys) {
        if (name == n.name) {
            key.kind = ShotKeyKind::Menu;
            key.menu = n.key;
            return true;
        }
    }
    if (name.rfind("click:", 0) != 0)
        return false;
    const std::string rest = name.substr(6);
    const size_t sep = rest.find(':');
    key.kind = ShotKeyKind::Click;
    return sep != std::string::npos && ParseInt(Trimmed(rest.substr(0, sep)), key.x) &&
           ParseInt(Trimmed(rest.substr(sep + 1)), key.y);
}

} // namespace

bool ParseShotKeys(const std::string& text, std::vector<ShotKey>& keys, std::string& error) {
    std::vector<ScriptEntry> entries;
    std::string bad;
    bool ok = SplitKeyScript(text, entries, &bad);
    for (size_t i = 0; ok && i < entries.size(); ++i) {
        ShotKey key;
        ok = ParseShotKey(entries[i], key);
        if (ok)
            keys.push_back(key);
        else
            bad = entries[i].text;
    }
    if (!ok)
        error = "bad key \"" + bad +
                "\" (expected TIME:up|down|left|right|tab|enter|esc|f1|pageup|pagedown|home|end|"
                "r|backspace|h|space|click:X:Y)";
    return ok;
}

void PressShotKey(CGameShell& shell, const ShotKey& key) {
    switch (key.kind) {
    case ShotKeyKind::Steer:
        return shell.OnKeyDown(key.steer);
    case ShotKeyKind::Enter:
        return shell.OnOk();
    case ShotKeyKind::Esc:
        return shell.OnCancel();
    case ShotKeyKind::F1:
        return shell.ShowLevelHelp();
    case ShotKeyKind::Click:
        return shell.OnClick(key.x, key.y);
    case ShotKeyKind::Menu:
        return shell.OnMenuKey(key.menu);
    case ShotKeyKind::Restart:
        return shell.OnRestart();
    case ShotKeyKind::Rewind:
        return shell.OnRewind();
    case ShotKeyKind::Hint:
        // The virtual clock stands until the answer is there, so that it is exact.
        shell.OnHint();
        return shell.WaitForHint();
    case ShotKeyKind::Space:
        return shell.OnSpace();
    }
}

void RunShotSteps(CGameShell& shell, const std::vector<ShotKey>& keys, uint64_t lastMs,
                  const std::function<void(uint64_t)>& setTimeMs,
                  const std::function<bool()>& quitPosted) {
    size_t next = 0;
    for (uint64_t t = 0; t <= lastMs; t += kTimerStepMs) {
        while (next < keys.size() && keys[next].timeMs <= t)
            PressShotKey(shell, keys[next++]);
        setTimeMs(kHeadlessStartMs + t);
        shell.Tick();
        if (quitPosted())
            break;
    }
}

} // namespace kx
