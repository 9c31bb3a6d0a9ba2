// CFileFinder: a folder's entries filtered by a wildcard pattern, sorted by name.
#include "FileFinder.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>

#include "Path.h"

namespace kx {
namespace {

char Lower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c;
}

bool IsContinuation(char c) {
    return (static_cast<unsigned char>(c) & 0xC0) == 0x80;
}

bool Match(const std::string& pattern, size_t p, const std::string& name, size_t n) {
    // Iterative glob with one backtracking point for the last "*".
    size_t starP = std::string::npos;
    size_t starN = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starP = p++;
            starN = n;
        } else if (p < pattern.size() && pattern[p] == '?') {
            // One character, which in a UTF-8 name may span several bytes.
            ++p;
            ++n;
            while (n < name.size() && IsContinuation(name[n])) {
                ++n;
            }
        } else if (p < pattern.size() && Lower(pattern[p]) == Lower(name[n])) {
            ++p;
            ++n;
        } else if (starP != std::string::npos) {
            p = starP + 1;
            n = ++starN;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

} // namespace

bool CFileFinder::MatchWildcard(const std::string& pattern, const std::string& name) {
    if (Match(pattern, 0, name, 0)) {
        return true;
    }
    // As on Windows, a trailing ".*" also matches names without an extension ("*.*" is all).
    if (pattern.size() >= 2 && pattern.compare(pattern.size() - 2, 2, ".*") == 0 &&
        name.find('.') == std::string::npos) {
        return Match(pattern.substr(0, pattern.size() - 2), 0, name, 0);
    }
    return false;
}

void CFileFinder::Start(const std::string& pattern) {
    Start(pattern, true, false);
}

void CFileFinder::Start(const std::string& pattern, bool files, bool directories) {
    Close();
    acceptFiles = files;
    acceptDirectories = directories;
    acceptDots = false;

    std::string folder;
    std::string namePattern;
    std::string unified = pattern;
    std::replace(unified.begin(), unified.end(), '\\', kPathSeparator);
    if (SplitPath(unified, folder, namePattern) && folder.empty()) {
        folder = std::string(1, kPathSeparator);
    }
    std::string actualFolder = folder.empty() ? std::string(".") : folder;
    if (auto resolved = ResolvePathNoCase(actualFolder)) {
        actualFolder = *resolved;
    }
    DIR* dir = opendir(actualFolder.c_str());
    if (dir == nullptr) {
        return;
    }
    const std::string prefix = AppendBackslash(actualFolder);
    while (const dirent* item = readdir(dir)) {
        Entry entry;
        entry.fileName = item->d_name;
        if (!MatchWildcard(namePattern, entry.fileName)) {
            continue;
        }
        struct stat info {};
        if (stat((prefix + entry.fileName).c_str(), &info) == 0) {
            entry.isDirectory = S_ISDIR(info.st_mode);
            entry.isRegularFile = S_ISREG(info.st_mode);
        } else {
            entry.isDirectory = item->d_type == DT_DIR;
        }
        entries.push_back(std::move(entry));
    }
    closedir(dir);
    std::sort(entries.begin(), entries.end(),
              [](const Entry& a, const Entry& b) { return a.fileName < b.fileName; });
    index = 0;
    valid = true;
    SkipToAccepted();
}

void CFileFinder::Next() {
    if (!valid) {
        return;
    }
    ++index;
    SkipToAccepted();
}

void CFileFinder::Close() {
    entries.clear();
    index = 0;
    valid = false;
}

void CFileFinder::SkipToAccepted() {
    while (index < entries.size()) {
        const Entry& entry = entries[index];
        const bool dots = entry.fileName == "." || entry.fileName == "..";
        const bool accepted =
            entry.isDirectory ? (dots ? acceptDots : acceptDirectories) : acceptFiles;
        if (accepted) {
            return;
        }
        ++index;
    }
    Close();
}

} // namespace kx
