// The best plays: a level's record in the profile ("Records", "KEYS MS"), the text shown on
// winning, and the replay files of $XDG_DATA_HOME/Krawlix/replays.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace kx {

inline constexpr const char* kRecordsSection = "Records";

struct LevelRecord {
    uint64_t keys = 0;
    uint64_t ms = 0; // level time of the win
};

// Fewer keys win; with as many keys, less time.
bool Beats(const LevelRecord& a, const LevelRecord& b);

// "KEYS MS"; anything else (a damaged line) gives nullopt.
std::optional<LevelRecord> ParseRecord(std::string_view value);
std::string FormatRecord(const LevelRecord& record);

// The profile's entry for a level name (Windows-1252): the name in UTF-8, as the profile is a
// file of the platform, with "%" and what the INI format would read otherwise ("=", a leading
// ";", "#" or "[", blanks at either end, control characters) written as %XX.
std::string RecordEntry(const std::string& levelName);

// The records of a profile section, looked up by level name; letter case does not matter,
// as in the profile, and the first of two equal entries counts.
class CRecordTable {
public:
    void Load(const std::vector<std::pair<std::string, std::string>>& entries);
    std::optional<LevelRecord> Find(const std::string& levelName) const;
    void Set(const std::string& levelName, const LevelRecord& record);

private:
    std::unordered_map<std::string, LevelRecord> byEntry; // folded entry
};

// "Geschafft mit 7 Tasten in 12,3 s – Bestwert 6 Tasten" (Windows-1252). previous: the record
// before this win; tape: a replay, which keeps no record.
std::string WonText(const LevelRecord& now, const std::optional<LevelRecord>& previous,
                    bool replay);
// "6 Tasten, 9,8 s" for the level choice (Windows-1252).
std::string RecordText(const LevelRecord& record);

// $XDG_DATA_HOME, else ~/.local/share; empty when neither is known.
std::string DefaultDataHome();
// The replay of a level: DATA/Krawlix/replays/NAME.tape, NAME in UTF-8 with "/" and what
// cannot start a file name written as %XX.
std::string ReplayPath(const std::string& dataHome, const std::string& levelName);

} // namespace kx
