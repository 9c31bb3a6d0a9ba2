// The level list: built from the command line, "levels.lst", the folders and the built-in list;
// entries resolved to levels; their display titles.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "field/GameField.h"
#include "storage/ResourceArchive.h"

namespace kx {

// Where the list's entries come from.
struct LevelSources {
    std::string programFolder;   // the archive, loose level files and "levels.lst"
    std::string documentsFolder; // empty: none; its sub-folder "Krawlix" is searched
    const CResourceArchive* archive = nullptr;
};

// The list holds at most this many entries; further ones are left out with a notice on
// standard error. Far beyond any list one could play through, it keeps a hostile list file
// (millions of short lines) within a small multiple of the file's size.
inline constexpr size_t kMaxLevelListEntries = 1000000;

// Level identifiers without duplicates, compared without regard to letter case. The check
// keeps no folded copies: an open-addressing table of entry numbers, hashed on the fly.
class CLevelListBuilder {
public:
    void AddUnique(std::string entry);
    // Adds without the check (the levels of the command line).
    void Add(std::string entry);
    // "*|" + every name of the archive's built-in list "Levels".
    void AddBuiltInLevels(const CResourceArchive* archive);
    bool IsFull() const { return entries.size() >= kMaxLevelListEntries; }
    // Says on standard error, once, that entries are left out for want of room.
    void SayFull();
    std::vector<std::string> Take() { return std::move(entries); }

private:
    bool Contains(const std::string& entry, size_t hash) const;
    void Insert(std::string entry, size_t hash);
    void Grow();
    // False, and SayFull, when the list is full.
    bool HasRoom();

    std::vector<std::string> entries;
    std::vector<uint32_t> slots; // entry number + 1 at its hash's first free slot; 0 free
    bool fullReported = false;
};

// The whole list; the command line's level files alone when it named any. An empty result
// means no level was found. A "levels.lst" that is no regular file, cannot be read or is
// larger than 64 MB contributes nothing, and the cause goes to standard error. Folders give
// their regular files only.
std::vector<std::string> BuildLevelList(const std::vector<std::string>& commandLineLevels,
                                        const LevelSources& sources);

// Reads the level that an entry names ("#|" path, "*|" built-in name, or a bare name) into
// the field. False when nothing is found or what was found cannot be read; raised errors
// count as unreadable, and so does anything but a regular file (a named pipe, a device).
// why, when given, receives on failure which file or name and the reason (Windows-1252):
// "»NAME« konnte nicht geladen werden: REASON" without the leading "Die Ebene ".
bool LoadLevel(const std::string& entry, CGameFieldBase& field, const LevelSources& sources,
               std::string* why = nullptr);

// The field a level that cannot be loaded is played on: 10 × 10, walled, one corn at (8, 8).
void MakeFallbackField(CGameFieldBase& field);

// The text after the first "|" (or the whole entry), as a file name without folder and
// extension.
std::string LevelTitle(const std::string& entry);

} // namespace kx
