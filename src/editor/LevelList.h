// CLevelList, the level list dialog's logic: finding and reading "Levels.lst", its buttons, saving
// with CR LF.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx {

// Entries are Windows-1252 text, one level identifier each, as the game reads them.
class CLevelList {
public:
    // Where the list lives: the data-file search for "Levels.lst" from the program folder
    // (sub-folders "Krawlix" and "Level"); when nothing is found, the "levels.lst" in the
    // program folder, the one the game reads.
    static std::string FindListPath();

    // Reads the file: trimmed lines, empty ones dropped. A file that does not load gives
    // an empty list and false; error receives the file layer's message when one was raised
    // (the list then keeps what was read).
    bool Load(const std::string& path, std::string* error = nullptr);
    // Writes every entry in order, each line ending in CR LF, the last one included;
    // missing folders are made. Raises CTBException with the file layer's message, and
    // the old file stays as it was.
    void Save(const std::string& path) const;

    // The proposed name for "A&dd": the document's file name without folder and extension.
    static std::string ProposedName(const std::string& documentPath);
    // The entry that makes the game play the document: its bare name when it lies in the
    // program folder (where the game looks for bare names), else "#|" and its path, so a
    // level saved elsewhere is not replaced by the fallback field. Empty without a path.
    static std::string EntryFor(const std::string& documentPath, const std::string& programFolder);
    // Whether Save could write path: the file (when it exists) and the folder that takes
    // the new file, or the nearest folder above it that exists, are writable.
    static bool CanWrite(const std::string& path);

    // ---- buttons; s = selected (-1 none), n = count ----
    // "A&dd": the trimmed text; nothing for an empty one. Inserted before s and selected
    // there, or appended with no selection. Returns whether an entry was added (the front
    // end then empties the edit field).
    bool Add(const std::string& text);
    bool MoveUp();     // "Up (&A)"
    bool MoveDown();   // "Down (&Y)"
    bool MoveTop();    // "Top (&T)"
    bool MoveBottom(); // "Bottom (&B)"
    bool Delete();     // "D&elete": then s-1, else 0 when any is left

    const std::vector<std::string>& GetItems() const { return items; }
    void SetItems(std::vector<std::string> list) { items = std::move(list); }
    int32_t GetSelected() const { return selected; }
    // Out-of-range values mean none.
    void SetSelected(int32_t index);

private:
    int32_t Count() const { return static_cast<int32_t>(items.size()); }

    std::vector<std::string> items;
    int32_t selected = -1;
};

} // namespace kx
