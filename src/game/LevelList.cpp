// Building the level list, loading its entries, the fallback field and the display titles.
#include "LevelList.h"

#include <array>
#include <cerrno>
#include <cstdio>
#include <cstring>

#include "field/LevelFile.h"
#include "storage/Error.h"
#include "storage/FileEx.h"
#include "storage/FileFinder.h"
#include "storage/InputFile.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/Path.h"
#include "storage/TextCodec.h"
#include "storage/TextFile.h"

namespace kx {

namespace {

const char* const kLevelExtension = ".kxlev";

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The level files of a folder, in the order the platform lists them; a named pipe or a
// device of such a name is no level file.
std::vector<std::string> FindLevelFiles(const std::string& folder) {
    std::vector<std::string> names;
    CFileFinder finder;
    for (finder.Start(JoinPath(folder, "*.kxlev"), true, false); finder.IsValid(); finder.Next()) {
        if (finder.Current().isRegularFile)
            names.push_back(finder.Current().fileName);
    }
    return names;
}

bool ReadLevelFile(const std::string& path, CGameFieldBase& field, std::string* reason) {
    CFileEx file(false);
    file.SetPath(path);
    errno = 0;
    if (!file.OpenRead(kRegularFileOnly)) {
        if (reason)
            *reason = !IsRegularFile(path) ? T("keine gewöhnliche Datei")
                      : errno != 0         ? Cp1252FromUtf8(std::strerror(errno))
                                           : T("nicht lesbar");
        return false;
    }
    return ReadLevelNoThrow(field, file, reason);
}

// The game has no other channel for what went wrong before its window opens.
void Notice(const std::string& text) {
    std::fprintf(stderr, "Krawlix: %s\n", text.c_str());
}

// Letter case folded as FoldCaseText does, one byte at a time, without copying the text.
const std::array<unsigned char, 256>& FoldTable() {
    static const std::array<unsigned char, 256> table = [] {
        std::array<unsigned char, 256> t{};
        for (size_t c = 0; c < t.size(); ++c)
            t[c] =
                static_cast<unsigned char>(FoldCaseText(std::string(1, static_cast<char>(c)))[0]);
        return t;
    }();
    return table;
}

size_t FoldedHash(const std::string& text) {
    const std::array<unsigned char, 256>& fold = FoldTable();
    uint64_t hash = 14695981039346656037ull; // FNV-1a
    for (char c : text) {
        hash ^= fold[static_cast<unsigned char>(c)];
        hash *= 1099511628211ull;
    }
    return static_cast<size_t>(hash ^ (hash >> 32));
}

// Trims white space at both ends in place; a line of 60 MB is not copied for it.
void TrimInPlace(std::string& text) {
    static const char* const kWhite = " \t\n\r\v\f";
    const size_t last = text.find_last_not_of(kWhite);
    if (last == std::string::npos) {
        text.clear();
        return;
    }
    text.erase(last + 1);
    text.erase(0, text.find_first_not_of(kWhite));
}

// The list file's lines, or nothing with the cause on standard error.
void AddListFile(const std::string& path, CLevelListBuilder& list, const LevelSources& sources) {
    if (!IsRegularFile(path)) {
        Notice("\"" + path + "\" ist keine gewöhnliche Datei und wird nicht gelesen.");
        return;
    }
    CFileEx probe(false);
    probe.SetPath(path);
    if (probe.GetSize() > kMaxWholeFileBytes) {
        Notice("\"" + path + "\" ist größer als " + std::to_string(kMaxWholeFileBytes >> 20) +
               " MB und wird nicht gelesen.");
        return;
    }
    CTextFile text;
    bool loaded = false;
    try {
        loaded = text.Load(path);
    } catch (const CTBException& e) {
        Notice(Utf8FromCp1252(e.GetErrorText()));
        return;
    }
    if (!loaded) {
        Notice("\"" + path + "\" kann nicht gelesen werden.");
        return;
    }
    while (text.HasMoreLines()) {
        std::string line = text.ReadLine();
        TrimInPlace(line);
        // The rest would only be looked up to be left out: millions of lookups.
        if (!line.empty() && list.IsFull()) {
            list.SayFull();
            break;
        }
        if (line == "*default")
            list.AddBuiltInLevels(sources.archive);
        else if (!line.empty())
            list.AddUnique(std::move(line));
    }
}

enum class Try { NotFound, Loaded, Failed };

Try TryArchive(const std::string& name, CGameFieldBase& field, const LevelSources& sources,
               std::string* reason) {
    const CResource* resource =
        sources.archive ? sources.archive->LookupResource("level", name) : nullptr;
    if (resource == nullptr)
        return Try::NotFound;
    CMemBlock view(resource->data, true);
    CMemSerializer store(view, false);
    return ReadLevelNoThrow(field, store, reason) ? Try::Loaded : Try::Failed;
}

Try TryFile(const std::string& name, CGameFieldBase& field, const LevelSources& sources,
            std::string* reason) {
    std::string path = JoinPath(sources.programFolder, name + kLevelExtension);
    if (!IsExistingFile(path))
        return Try::NotFound;
    return ReadLevelFile(path, field, reason) ? Try::Loaded : Try::Failed;
}

// A path of the platform (UTF-8 most likely) as the game's fonts show it.
std::string Shown(const std::string& text) {
    return IsValidUtf8(text) ? Cp1252FromUtf8(text) : text;
}

} // namespace

void CLevelListBuilder::AddUnique(std::string entry) {
    const size_t hash = FoldedHash(entry);
    if (!Contains(entry, hash) && HasRoom())
        Insert(std::move(entry), hash);
}

void CLevelListBuilder::Add(std::string entry) {
    if (HasRoom()) {
        const size_t hash = FoldedHash(entry);
        Insert(std::move(entry), hash);
    }
}

bool CLevelListBuilder::HasRoom() {
    if (!IsFull())
        return true;
    SayFull();
    return false;
}

void CLevelListBuilder::SayFull() {
    if (!fullReported) {
        fullReported = true;
        Notice("Die Ebenenliste ist voll (" + std::to_string(kMaxLevelListEntries) +
               " Einträge); weitere werden ausgelassen.");
    }
}

bool CLevelListBuilder::Contains(const std::string& entry, size_t hash) const {
    if (slots.empty())
        return false;
    const size_t mask = slots.size() - 1;
    for (size_t at = hash & mask; slots[at] != 0; at = (at + 1) & mask) {
        if (EqualsNoCase(entries[slots[at] - 1], entry))
            return true;
    }
    return false;
}

void CLevelListBuilder::Insert(std::string entry, size_t hash) {
    // At most three quarters full, so that a probe soon meets a free slot.
    if ((entries.size() + 1) * 4 > slots.size() * 3)
        Grow();
    const size_t mask = slots.size() - 1;
    size_t at = hash & mask;
    while (slots[at] != 0)
        at = (at + 1) & mask;
    entries.push_back(std::move(entry));
    slots[at] = static_cast<uint32_t>(entries.size());
}

void CLevelListBuilder::Grow() {
    std::vector<uint32_t> grown(slots.empty() ? 64 : slots.size() * 2, 0);
    const size_t mask = grown.size() - 1;
    for (uint32_t number : slots) {
        if (number == 0)
            continue;
        size_t at = FoldedHash(entries[number - 1]) & mask;
        while (grown[at] != 0)
            at = (at + 1) & mask;
        grown[at] = number;
    }
    slots = std::move(grown);
}

void CLevelListBuilder::AddBuiltInLevels(const CResourceArchive* archive) {
    const CResource* list = archive ? archive->LookupResource("list", "Levels") : nullptr;
    if (list == nullptr)
        return;
    CTextFile text;
    text.LoadFromMemory(reinterpret_cast<const char*>(list->data.data), list->data.size);
    while (text.HasMoreLines()) {
        std::string name = Trim(text.ReadLine());
        if (!name.empty())
            AddUnique("*|" + name);
    }
}

std::vector<std::string> BuildLevelList(const std::vector<std::string>& commandLineLevels,
                                        const LevelSources& sources) {
    CLevelListBuilder list;
    if (!commandLineLevels.empty()) {
        for (const std::string& file : commandLineLevels)
            list.Add("#|" + file);
        return list.Take();
    }
    std::vector<std::string> found;
    {
        CLevelListBuilder unique;
        for (const std::string& file : FindLevelFiles(sources.programFolder))
            unique.AddUnique(GetFileName(file, true));
        found = unique.Take();
    }
    std::string listPath = JoinPath(sources.programFolder, "levels.lst");
    if (IsExistingFile(listPath)) {
        AddListFile(listPath, list, sources);
        for (const std::string& name : found)
            list.AddUnique(name);
    } else {
        for (const std::string& name : found)
            list.AddUnique(name);
        list.AddBuiltInLevels(sources.archive);
    }
    if (!sources.documentsFolder.empty()) {
        std::string folder = JoinPath(sources.documentsFolder, "Krawlix");
        for (const std::string& file : FindLevelFiles(folder))
            list.AddUnique("#|" + JoinPath(folder, file));
    }
    return list.Take();
}

bool LoadLevel(const std::string& entry, CGameFieldBase& field, const LevelSources& sources,
               std::string* why) {
    std::string reason;
    auto fail = [&](const std::string& what) {
        if (why)
            *why = T("»") + what + T("« konnte nicht geladen werden: ") + reason;
        return false;
    };
    if (StartsWith(entry, "#|")) {
        std::string path = entry.substr(2);
        if (!FileExists(path)) {
            reason = T("Die Datei gibt es nicht.");
            return fail(Shown(path));
        }
        return ReadLevelFile(path, field, &reason) || fail(Shown(path));
    }
    bool builtIn = StartsWith(entry, "*|");
    std::string name = builtIn ? entry.substr(2) : entry;
    const std::string path = JoinPath(sources.programFolder, name + kLevelExtension);
    Try first = builtIn ? TryArchive(name, field, sources, &reason)
                        : TryFile(name, field, sources, &reason);
    if (first == Try::Loaded)
        return true;
    // A level that is found but cannot be read fails at once; the other source is not tried.
    if (first == Try::Failed)
        return fail(builtIn ? Shown(name) : Shown(path));
    Try second = builtIn ? TryFile(name, field, sources, &reason)
                         : TryArchive(name, field, sources, &reason);
    if (second == Try::Loaded)
        return true;
    if (second == Try::Failed)
        return fail(builtIn ? Shown(path) : Shown(name));
    reason = T("weder im Archiv Krawlix.bfres noch als Datei »") + Shown(path) + T("« gefunden.");
    return fail(Shown(name));
}

void MakeFallbackField(CGameFieldBase& field) {
    field.CreateField(10, 10);
    field.CellAt(8, 8).item = ITEM_CORN;
    // A failed read may have left the previous level's help text behind.
    field.description.clear();
}

std::string LevelTitle(const std::string& entry) {
    size_t bar = entry.find('|');
    std::string text = bar == std::string::npos ? entry : entry.substr(bar + 1);
    return GetFileName(text, true);
}

} // namespace kx
