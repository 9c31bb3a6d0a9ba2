// Building the level list, loading its entries, the fallback field and the display titles.
#include "LevelList.h"

#include "field/LevelFile.h"
#include "storage/Error.h"
#include "storage/FileEx.h"
#include "storage/FileFinder.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/Path.h"
#include "storage/TextFile.h"

namespace kx {

namespace {

const char* const kLevelExtension = ".kxlev";

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// The level files of a folder, in the order the platform lists them.
std::vector<std::string> FindLevelFiles(const std::string& folder) {
    std::vector<std::string> names;
    CFileFinder finder;
    for (finder.Start(JoinPath(folder, "*.kxlev"), true, false); finder.IsValid(); finder.Next())
        names.push_back(finder.Current().fileName);
    return names;
}

bool ReadLevelFile(const std::string& path, CGameFieldBase& field) {
    CFileEx file(false);
    file.SetPath(path);
    if (!file.OpenRead())
        return false;
    return ReadLevelNoThrow(field, file);
}

enum class Try { NotFound, Loaded, Failed };

Try TryArchive(const std::string& name, CGameFieldBase& field, const LevelSources& sources) {
    const CResource* resource =
        sources.archive ? sources.archive->LookupResource("level", name) : nullptr;
    if (resource == nullptr)
        return Try::NotFound;
    CMemBlock view(resource->data, true);
    CMemSerializer store(view, false);
    return ReadLevelNoThrow(field, store) ? Try::Loaded : Try::Failed;
}

Try TryFile(const std::string& name, CGameFieldBase& field, const LevelSources& sources) {
    std::string path = JoinPath(sources.programFolder, name + kLevelExtension);
    if (!IsExistingFile(path))
        return Try::NotFound;
    return ReadLevelFile(path, field) ? Try::Loaded : Try::Failed;
}

} // namespace

void CLevelListBuilder::AddUnique(const std::string& entry) {
    if (folded.insert(FoldCaseText(entry)).second)
        entries.push_back(entry);
}

void CLevelListBuilder::Add(const std::string& entry) {
    folded.insert(FoldCaseText(entry));
    entries.push_back(entry);
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
        CTextFile text;
        try {
            text.Load(listPath);
        } catch (const CTBException&) {
            // An unreadable list contributes nothing.
        }
        while (text.HasMoreLines()) {
            std::string line = Trim(text.ReadLine());
            if (line == "*default")
                list.AddBuiltInLevels(sources.archive);
            else if (!line.empty())
                list.AddUnique(line);
        }
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

bool LoadLevel(const std::string& entry, CGameFieldBase& field, const LevelSources& sources) {
    if (StartsWith(entry, "#|")) {
        std::string path = entry.substr(2);
        return IsExistingFile(path) && ReadLevelFile(path, field);
    }
    bool builtIn = StartsWith(entry, "*|");
    std::string name = builtIn ? entry.substr(2) : entry;
    Try first = builtIn ? TryArchive(name, field, sources) : TryFile(name, field, sources);
    if (first != Try::NotFound)
        return first == Try::Loaded;
    Try second = builtIn ? TryFile(name, field, sources) : TryArchive(name, field, sources);
    return second == Try::Loaded;
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
