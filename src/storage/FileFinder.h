// CFileFinder, a directory listing with Windows-style wildcards matched without regard to case.
#pragma once

#include <string>
#include <vector>

namespace kx {

class CFileFinder {
public:
    struct Entry {
        std::string fileName;
        bool isDirectory = false;
        bool isRegularFile = false; // not a folder, a pipe, a device or a socket
    };

    // pattern: a folder and a name pattern with "*" and "?", e.g. "levels/*.kxlev".
    void Start(const std::string& pattern);
    void Start(const std::string& pattern, bool files, bool directories);
    void Next();
    bool IsValid() const { return valid; }
    void Close();
    const Entry& Current() const { return entries[index]; }

    static bool MatchWildcard(const std::string& pattern, const std::string& name);

private:
    void SkipToAccepted();

    std::vector<Entry> entries;
    size_t index = 0;
    bool valid = false;
    bool acceptFiles = true;
    bool acceptDirectories = false;
    bool acceptDots = false;
};

} // namespace kx
