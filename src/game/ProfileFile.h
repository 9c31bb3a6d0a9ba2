// CProfileFile, the program's profile as an INI file: [Section] and Key=Value, kept line by line.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace kx {

// Larger profile files are not read, and so never overwritten: they are not ours. Load says
// so on standard error.
inline constexpr uint64_t kMaxProfileBytes = 1 << 20;

// Every line of the file is kept as it was read, so sections, keys, comments and lines this
// class does not understand survive a write unchanged; setting a value changes only the value
// in its line (blanks around it, a comment after it and a CR stay) or adds one line, ended
// like the file's first line. A value ends before a ";" or "#" that begins it or follows a
// blank. Section and key names are compared without regard to ASCII letter case, like the
// registry the profile stands in for; the first occurrence of a name counts.
class CProfileFile {
public:
    enum class LoadResult { Loaded, Missing, Unreadable };

    // A missing file is an empty profile. An unreadable or oversized file, or anything but a
    // regular file, leaves the profile empty, with the cause on standard error; the caller
    // should then not write it back.
    LoadResult Load(const std::string& path);
    void LoadFromText(std::string_view text);
    std::string ToText() const;
    // Writes the whole profile to a temporary file beside path and renames it over path, so
    // that a failed write leaves the old file as it was. Missing folders are created. On
    // failure *error, when given, holds the system's reason (Windows-1252).
    bool Save(const std::string& path, std::string* error = nullptr) const;

    std::optional<std::string> GetString(std::string_view section, std::string_view key) const;
    // A decimal integer with an optional sign; anything else, or a value outside the 32-bit
    // range, gives defaultValue.
    int32_t GetInt(std::string_view section, std::string_view key, int32_t defaultValue) const;
    void SetString(std::string_view section, std::string_view key, std::string_view value);
    void SetInt(std::string_view section, std::string_view key, int32_t value);
    // Every key and value of the section's first occurrence, in file order (a key written
    // twice appears twice; the first one is the one GetString reads).
    std::vector<std::pair<std::string, std::string>> SectionEntries(std::string_view section) const;

private:
    // Index of the section's header line, or nullopt.
    std::optional<size_t> FindSection(std::string_view section) const;
    // Index of the key's line within the section starting at header, or nullopt.
    std::optional<size_t> FindKey(size_t header, std::string_view key) const;

    // The text with a carriage return when the file's lines end in CR LF.
    std::string NewLine(std::string text) const;

    std::vector<std::string> lines; // without their line feed; a carriage return stays
};

// Where a program's profile lives: $XDG_CONFIG_HOME/Halvane/PROGRAM.conf, with ~/.config in
// place of an unset XDG_CONFIG_HOME; empty when neither is known.
std::string DefaultProfilePath(const std::string& program);

} // namespace kx
