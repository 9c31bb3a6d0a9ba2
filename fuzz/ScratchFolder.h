// A scratch folder for fuzz targets whose readers take a path: made once per run under /tmp,
// removed with what is in it when the run ends.
#pragma once

#include <filesystem>
#include <string>

#include <stdlib.h>

namespace kxfuzz {

// The folder's path; prefix names the target.
inline const std::string& ScratchFolder(const char* prefix) {
    // Plain storage, not a std::string, so that it outlives every other static at exit.
    static char folder[256] = {};
    static const std::string made = [prefix] {
        std::string pattern = std::string("/tmp/") + prefix + ".XXXXXX";
        if (pattern.size() >= sizeof folder) {
            abort();
        }
        pattern.copy(folder, pattern.size());
        if (mkdtemp(folder) == nullptr) {
            abort();
        }
        atexit([] {
            std::error_code ignored;
            std::filesystem::remove_all(folder, ignored);
        });
        return std::string(folder);
    }();
    return made;
}

} // namespace kxfuzz
