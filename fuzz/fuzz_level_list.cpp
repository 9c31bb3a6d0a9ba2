// Fuzzes the readers of level lists: the game's "levels.lst" with the archive's built-in list,
// and the editor's level list dialog, on the same bytes; both must agree, and the editor's
// list survives its own save.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <unordered_set>
#include <vector>

#include "ScratchFolder.h"
#include "editor/LevelList.h"
#include "game/LevelList.h"
#include "storage/MemSerializer.h"
#include "storage/OutputFile.h"
#include "storage/Path.h"
#include "storage/ResourceArchive.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // The folder holds only the list.
    static const std::string folder = kxfuzz::ScratchFolder("fuzz_level_list");
    const std::string list = kx::JoinPath(folder, "levels.lst");
    if (!kx::WriteWholeFile(list, data, size)) {
        std::abort();
    }
    kx::CMemBlock archiveBytes;
    {
        kx::CMemSerializer out(archiveBytes, true);
        if (!kx::WriteArchive(out, {{"list", "Levels", data, static_cast<uint32_t>(size)}})) {
            std::abort();
        }
    }
    kx::CResourceArchive archive;
    if (!archive.LoadFromMemory(archiveBytes)) {
        std::abort();
    }
    kx::LevelSources sources;
    sources.programFolder = folder;
    sources.archive = &archive;
    const std::vector<std::string> game = kx::BuildLevelList({}, sources);

    kx::CLevelList editor;
    std::string error;
    editor.Load(list, &error);

    // The game's list is the editor's without repeats (letter case aside), "*default" standing
    // for the built-in list.
    kx::CLevelListBuilder expected;
    for (const std::string& item : editor.GetItems()) {
        if (item.empty() || item != kx::Trim(item)) {
            std::abort();
        }
        if (item == "*default") {
            expected.AddBuiltInLevels(&archive);
        } else {
            expected.AddUnique(item);
        }
    }
    if (game != expected.Take()) {
        std::abort();
    }
    std::unordered_set<std::string> folded;
    for (const std::string& entry : game) {
        if (!folded.insert(kx::FoldCaseText(entry)).second) {
            std::abort();
        }
        kx::LevelTitle(entry);
    }

    const std::vector<std::string> items = editor.GetItems();
    editor.Save(list);
    kx::CLevelList again;
    if (!again.Load(list) || again.GetItems() != items) {
        std::abort();
    }
    return 0;
}
