// The level list: built from the command line, "levels.lst", the folders and the built-in list;
// entries resolved to levels; their display titles.
#pragma once

#include <string>
#include <unordered_set>
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

// Level identifiers without duplicates, compared without regard to letter case.
class CLevelListBuilder {
public:
    void AddUnique(const std::string& entry);
    // Adds without the check (the levels of the command line).
    void Add(const std::string& entry);
    // "*|" + every name of the archive's built-in list "Levels".
    void AddBuiltInLevels(const CResourceArchive* archive);
    std::vector<std::string> Take() { return std::move(entries); }

private:
    std::vector<std::string> entries;
    std::unordered_set<std::string> folded;
};

// The whole list; the command line's level files alone when it named any. An empty result
// means no level was found.
std::vector<std::string> BuildLevelList(const std::vector<std::string>& commandLineLevels,
                                        const LevelSources& sources);

// Reads the level that an entry names ("#|" path, "*|" built-in name, or a bare name) into
// the field. False when nothing is found or what was found cannot be read; raised errors
// count as unreadable.
bool LoadLevel(const std::string& entry, CGameFieldBase& field, const LevelSources& sources);

// The field a level that cannot be loaded is played on: 10 × 10, walled, one corn at (8, 8).
void MakeFallbackField(CGameFieldBase& field);

// The text after the first "|" (or the whole entry), as a file name without folder and
// extension.
std::string LevelTitle(const std::string& entry);

} // namespace kx
