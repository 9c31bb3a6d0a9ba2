// Records and replays: parsing and writing the profile's values, the texts, the file names.
#include "Records.h"

#include <charconv>
#include <cstdlib>
#include <unordered_set>

#include "storage/Path.h"
#include "storage/TextCodec.h"

namespace kx {

namespace {

std::string Escaped(char c) {
    static const char* const kHex = "0123456789ABCDEF";
    const auto u = static_cast<unsigned char>(c);
    return std::string{'%', kHex[u >> 4], kHex[u & 15]};
}

std::string FoldAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c + 32);
    }
    return text;
}

bool ParseCount(std::string_view text, uint64_t& value) {
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && ec == std::errc() && end == text.data() + text.size();
}

// "1 Taste", "7 Tasten".
std::string Keys(uint64_t keys) {
    return std::to_string(keys) + (keys == 1 ? " Taste" : " Tasten");
}

// Tenths of a second, rounded, with a decimal comma: "12,3 s".
std::string Seconds(uint64_t ms) {
    const uint64_t tenths = ms / 100 + (ms % 100 >= 50 ? 1 : 0);
    return std::to_string(tenths / 10) + "," + std::to_string(tenths % 10) + " s";
}

} // namespace

bool Beats(const LevelRecord& a, const LevelRecord& b) {
    return a.keys < b.keys || (a.keys == b.keys && a.ms < b.ms);
}

std::optional<LevelRecord> ParseRecord(std::string_view value) {
    size_t blank = value.find(' ');
    LevelRecord record;
    if (blank == std::string_view::npos || !ParseCount(value.substr(0, blank), record.keys) ||
        !ParseCount(value.substr(blank + 1), record.ms))
        return std::nullopt;
    return record;
}

std::string FormatRecord(const LevelRecord& record) {
    return std::to_string(record.keys) + " " + std::to_string(record.ms);
}

std::string RecordEntry(const std::string& levelName) {
    const std::string utf8 = Utf8FromCp1252(levelName);
    std::string entry;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        const bool edge = i == 0 || i + 1 == utf8.size();
        const bool blank = c == ' ' || c == '\t';
        if (c == '%' || c == '=' || static_cast<unsigned char>(c) < 0x20 || c == 0x7F ||
            (i == 0 && (c == ';' || c == '#' || c == '[')) || (edge && blank))
            entry += Escaped(c);
        else
            entry += c;
    }
    return entry.empty() ? "%" : entry;
}

void CRecordTable::Load(const std::vector<std::pair<std::string, std::string>>& entries) {
    byEntry.clear();
    // The first entry of a name counts, as the profile reads it; a damaged one hides later
    // ones of the same name, too.
    std::unordered_set<std::string> seen;
    for (const auto& [entry, value] : entries) {
        std::string folded = FoldAscii(entry);
        if (!seen.insert(folded).second)
            continue;
        if (auto record = ParseRecord(value))
            byEntry.emplace(std::move(folded), *record);
    }
}

std::optional<LevelRecord> CRecordTable::Find(const std::string& levelName) const {
    auto it = byEntry.find(FoldAscii(RecordEntry(levelName)));
    if (it == byEntry.end())
        return std::nullopt;
    return it->second;
}

void CRecordTable::Set(const std::string& levelName, const LevelRecord& record) {
    byEntry[FoldAscii(RecordEntry(levelName))] = record;
}

std::string WonText(const LevelRecord& now, const std::optional<LevelRecord>& previous,
                    bool replay) {
    std::string text = "Geschafft mit " + Keys(now.keys) + " in " + Seconds(now.ms);
    if (replay)
        return T(text + " – Aufnahme");
    if (!previous)
        return T(text + " – erster Bestwert");
    if (Beats(now, *previous))
        return T(text + " – neuer Bestwert (bisher " + Keys(previous->keys) +
                 (previous->keys == now.keys ? " in " + Seconds(previous->ms) : "") + ")");
    std::string best = Keys(previous->keys);
    if (previous->keys == now.keys)
        best += " in " + Seconds(previous->ms);
    return T(text + " – Bestwert " + best);
}

std::string RecordText(const LevelRecord& record) {
    return Keys(record.keys) + ", " + Seconds(record.ms);
}

std::string DefaultDataHome() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    if (xdg != nullptr && xdg[0] == '/')
        return xdg;
    const char* home = std::getenv("HOME");
    if (home == nullptr || home[0] != '/')
        return std::string();
    return JoinPath(home, ".local", "share");
}

std::string ReplayPath(const std::string& dataHome, const std::string& levelName) {
    const std::string utf8 = Utf8FromCp1252(levelName);
    std::string name;
    for (size_t i = 0; i < utf8.size(); ++i) {
        const char c = utf8[i];
        if (c == '/' || c == '%' || c == '\\' || static_cast<unsigned char>(c) < 0x20 ||
            (i == 0 && c == '.'))
            name += Escaped(c);
        else
            name += c;
    }
    return JoinPath(dataHome, "Krawlix", "replays", name + ".tape");
}

} // namespace kx
