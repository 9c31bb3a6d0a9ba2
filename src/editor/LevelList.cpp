// CLevelList: reading, editing and saving the level list file.
#include "editor/LevelList.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

#include <utility>

#include "storage/Error.h"
#include "storage/OutputFile.h"
#include "storage/Path.h"
#include "storage/TextCodec.h"
#include "storage/TextFile.h"

namespace kx {

std::string CLevelList::FindListPath() {
    std::string path = FindDataFile(std::nullopt, "Krawlix", "Level", "Levels.lst");
    if (path.empty()) {
        // The list the game reads at start-up.
        path = JoinPath(GetModuleDirectory(), "levels.lst");
    }
    return path;
}

bool CLevelList::Load(const std::string& path, std::string* error) {
    items.clear();
    selected = -1;
    try {
        CTextFile file;
        if (!file.Load(path)) {
            return false;
        }
        while (file.HasMoreLines()) {
            std::string line = Trim(file.ReadLine());
            if (!line.empty()) {
                items.push_back(std::move(line));
            }
        }
    } catch (const CTBException& e) {
        if (error != nullptr) {
            *error = e.GetErrorText();
        }
        return false;
    }
    return true;
}

void CLevelList::Save(const std::string& path) const {
    std::string text;
    for (const std::string& item : items) {
        text += item;
        text += "\r\n";
    }
    COutputFile file(true);
    file.Open(path);
    file.WriteBytes(text.data(), text.size());
    file.Commit();
}

std::string CLevelList::ProposedName(const std::string& documentPath) {
    if (documentPath.empty()) {
        return std::string();
    }
    return GetFileName(documentPath, true);
}

std::string CLevelList::EntryFor(const std::string& documentPath,
                                 const std::string& programFolder) {
    if (documentPath.empty()) {
        return std::string();
    }
    std::string folder;
    std::string name;
    SplitPath(documentPath, folder, name);
    auto same = [](std::string a, std::string b) {
        while (a.size() > 1 && a.back() == kPathSeparator) {
            a.pop_back();
        }
        while (b.size() > 1 && b.back() == kPathSeparator) {
            b.pop_back();
        }
        return a == b;
    };
    const size_t dot = name.rfind('.');
    const bool levelFile = dot != std::string::npos && EqualsNoCase(name.substr(dot), ".kxlev");
    if (levelFile && same(folder, programFolder)) {
        return ProposedName(documentPath);
    }
    return "#|" + documentPath;
}

bool CLevelList::CanWrite(const std::string& path) {
    struct stat info {};
    if (stat(path.c_str(), &info) == 0 && access(path.c_str(), W_OK) != 0) {
        return false;
    }
    // The file is written beside itself and renamed, so its folder must take new files;
    // missing folders are made in the nearest one that exists.
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    while (!folder.empty() && stat(folder.c_str(), &info) != 0) {
        if (folder == folder.parent_path()) {
            break;
        }
        folder = folder.parent_path();
    }
    if (folder.empty()) {
        folder = ".";
    }
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

void CLevelList::SetSelected(int32_t index) {
    selected = index >= 0 && index < Count() ? index : -1;
}

bool CLevelList::Add(const std::string& text) {
    std::string entry = Trim(text);
    if (entry.empty()) {
        return false;
    }
    if (selected >= 0) {
        items.insert(items.begin() + selected, std::move(entry));
    } else {
        items.push_back(std::move(entry));
    }
    return true;
}

bool CLevelList::MoveUp() {
    if (selected <= 0 || selected >= Count()) {
        return false;
    }
    std::swap(items[static_cast<size_t>(selected)], items[static_cast<size_t>(selected - 1)]);
    --selected;
    return true;
}

bool CLevelList::MoveDown() {
    if (selected < 0 || selected >= Count() - 1) {
        return false;
    }
    std::swap(items[static_cast<size_t>(selected)], items[static_cast<size_t>(selected + 1)]);
    ++selected;
    return true;
}

bool CLevelList::MoveTop() {
    if (selected <= 0 || selected >= Count()) {
        return false;
    }
    std::string item = std::move(items[static_cast<size_t>(selected)]);
    items.erase(items.begin() + selected);
    items.insert(items.begin(), std::move(item));
    selected = 0;
    return true;
}

bool CLevelList::MoveBottom() {
    if (selected < 0 || selected >= Count() - 1) {
        return false;
    }
    std::string item = std::move(items[static_cast<size_t>(selected)]);
    items.erase(items.begin() + selected);
    items.push_back(std::move(item));
    selected = Count() - 1;
    return true;
}

bool CLevelList::Delete() {
    if (selected < 0 || selected >= Count()) {
        return false;
    }
    items.erase(items.begin() + selected);
    if (selected > 0) {
        --selected;
    } else {
        selected = items.empty() ? -1 : 0;
    }
    return true;
}

} // namespace kx
