// Path utilities, the program, documents and temporary folders, and the data-file search.
#include "Path.h"

#include <dirent.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>

#include "Error.h"

namespace kx {
namespace {

bool Exists(const std::string& path, bool* isDirectory = nullptr) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        return false;
    }
    if (isDirectory != nullptr) {
        *isDirectory = S_ISDIR(info.st_mode);
    }
    return true;
}

std::string HomeDirectory() {
    const char* home = std::getenv("HOME");
    if (home != nullptr && home[0] != '\0') {
        return home;
    }
    const passwd* entry = getpwuid(getuid());
    if (entry != nullptr && entry->pw_dir != nullptr) {
        return entry->pw_dir;
    }
    return std::string();
}

// The directory part with the root kept: "/name" gives "/" where SplitPath gives "".
bool ParentOf(const std::string& path, std::string& parent) {
    std::string name;
    if (!SplitPath(path, parent, name)) {
        return false;
    }
    if (parent.empty() && !path.empty() && path[0] == kPathSeparator) {
        if (path.size() == 1) {
            return false;
        }
        parent = std::string(1, kPathSeparator);
    }
    return true;
}

// One value of user-dirs.dirs: "$HOME/..." or an absolute path, in double quotes.
std::string ParseUserDirValue(std::string value, const std::string& home) {
    value = Trim(value);
    if (value.size() >= 2 && value.front() == '"' && value.back() == '"') {
        value = value.substr(1, value.size() - 2);
    }
    std::string unescaped;
    for (size_t i = 0; i < value.size(); ++i) {
        if (value[i] == '\\' && i + 1 < value.size()) {
            ++i;
        }
        unescaped += value[i];
    }
    for (const char* prefix : {"${HOME}", "$HOME"}) {
        const std::string p = prefix;
        if (unescaped.compare(0, p.size(), p) == 0) {
            return home + unescaped.substr(p.size());
        }
    }
    return unescaped;
}

unsigned char FoldCase(unsigned char c) {
    if (c >= 'A' && c <= 'Z') {
        return static_cast<unsigned char>(c + 32);
    }
    // Windows-1252 letters: Latin-1 À-Þ (not ×), and Š Œ Ž Ÿ.
    if (c >= 0xC0 && c <= 0xDE && c != 0xD7) {
        return static_cast<unsigned char>(c + 32);
    }
    if (c == 0x8A || c == 0x8C || c == 0x8E) {
        return static_cast<unsigned char>(c + 16);
    }
    if (c == 0x9F) {
        return 0xFF;
    }
    return c;
}

bool EqualsNoCaseAscii(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        const auto x = static_cast<unsigned char>(a[i]);
        const auto y = static_cast<unsigned char>(b[i]);
        const auto lx = static_cast<unsigned char>(x >= 'A' && x <= 'Z' ? x + 32 : x);
        const auto ly = static_cast<unsigned char>(y >= 'A' && y <= 'Z' ? y + 32 : y);
        if (lx != ly) {
            return false;
        }
    }
    return true;
}

// The entry of folder whose name matches name without regard to letter case; directories
// first when one is needed, then by name so that the result does not depend on the order
// in which the file system lists them.
std::optional<std::string> FindEntryNoCase(const std::string& folder, const std::string& name,
                                           bool wantDirectory) {
    DIR* dir = opendir(folder.empty() ? "." : folder.c_str());
    if (dir == nullptr) {
        return std::nullopt;
    }
    std::vector<std::string> matches;
    while (const dirent* entry = readdir(dir)) {
        const std::string entryName = entry->d_name;
        if (EqualsNoCaseAscii(entryName, name)) {
            matches.push_back(entryName);
        }
    }
    closedir(dir);
    std::sort(matches.begin(), matches.end());
    for (const std::string& match : matches) {
        bool isDirectory = false;
        if (Exists(folder + match, &isDirectory) && (!wantDirectory || isDirectory)) {
            return match;
        }
    }
    return std::nullopt;
}

} // namespace

std::string GetModuleDirectory() {
    char buffer[4096];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    if (length <= 0) {
        return std::string();
    }
    const std::string full(buffer, static_cast<size_t>(length));
    const size_t slash = full.rfind(kPathSeparator);
    if (slash == std::string::npos) {
        return std::string();
    }
    return full.substr(0, slash + 1);
}

std::string GetDocumentsDirectory() {
    const std::string home = HomeDirectory();
    std::string configHome;
    const char* xdgConfig = std::getenv("XDG_CONFIG_HOME");
    if (xdgConfig != nullptr && xdgConfig[0] != '\0') {
        configHome = xdgConfig;
    } else if (!home.empty()) {
        configHome = JoinPath(home, ".config");
    }
    if (!configHome.empty()) {
        std::ifstream dirs(JoinPath(configHome, "user-dirs.dirs"));
        std::string line;
        while (std::getline(dirs, line)) {
            std::string key;
            std::string value;
            SplitAtTrimmed(line, '=', key, value);
            if (key == "XDG_DOCUMENTS_DIR") {
                std::string documents = ParseUserDirValue(value, home);
                if (!documents.empty() && documents[0] == kPathSeparator) {
                    return documents;
                }
            }
        }
    }
    if (home.empty()) {
        return std::string();
    }
    return JoinPath(home, "Documents");
}

std::string GetTempDirectory() {
    const char* tmp = std::getenv("TMPDIR");
    std::string folder = (tmp != nullptr && tmp[0] != '\0') ? tmp : "/tmp";
    return AppendBackslash(folder);
}

std::string AppendBackslash(const std::string& path) {
    if (!path.empty() && path.back() == kPathSeparator) {
        return path;
    }
    return path + kPathSeparator;
}

std::string JoinPath(const std::string& a, const std::string& b) {
    if (a.empty()) {
        return b;
    }
    if (b.empty()) {
        return a;
    }
    return AppendBackslash(a) + b;
}

std::string JoinPath(const std::string& a, const std::string& b, const std::string& c) {
    return JoinPath(JoinPath(a, b), c);
}

std::string JoinPath(const std::string& a, const std::string& b, const std::string& c,
                     const std::string& d) {
    return JoinPath(JoinPath(JoinPath(a, b), c), d);
}

bool SplitPath(const std::string& path, std::string& directory, std::string& name) {
    const size_t slash = path.rfind(kPathSeparator);
    if (slash == std::string::npos) {
        directory.clear();
        name = path;
        return false;
    }
    // Copy first: path may be one of the outputs.
    const std::string whole = path;
    directory = whole.substr(0, slash);
    name = whole.substr(slash + 1);
    return true;
}

std::string GetFileName(const std::string& path, bool stripExtension) {
    std::string directory;
    std::string name;
    SplitPath(path, directory, name);
    if (stripExtension) {
        const size_t dot = name.rfind('.');
        if (dot != std::string::npos) {
            name.resize(dot);
        }
    }
    return name;
}

std::string StripExtension(const std::string& path) {
    std::string directory;
    std::string name;
    SplitPath(path, directory, name);
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos) {
        return path;
    }
    ParentOf(path, directory);
    return JoinPath(directory, name.substr(0, dot));
}

std::optional<std::string> ResolvePathNoCase(const std::string& path) {
    if (path.empty()) {
        return std::nullopt;
    }
    if (Exists(path)) {
        return path;
    }
    std::vector<std::string> parts;
    size_t start = 0;
    while (true) {
        const size_t slash = path.find(kPathSeparator, start);
        parts.push_back(path.substr(start, slash == std::string::npos ? slash : slash - start));
        if (slash == std::string::npos) {
            break;
        }
        start = slash + 1;
    }
    std::string resolved;
    for (size_t i = 0; i < parts.size(); ++i) {
        const std::string& part = parts[i];
        const bool last = i + 1 == parts.size();
        if (!part.empty() && part != "." && part != "..") {
            bool isDirectory = false;
            const std::string exact = resolved + part;
            if (Exists(exact, &isDirectory) && (last || isDirectory)) {
                resolved = exact;
            } else {
                auto found = FindEntryNoCase(resolved, part, !last);
                if (!found) {
                    return std::nullopt;
                }
                resolved += *found;
            }
        } else {
            resolved += part;
        }
        if (!last) {
            resolved += kPathSeparator;
        }
    }
    if (!Exists(resolved)) {
        return std::nullopt;
    }
    return resolved;
}

bool FileExists(const std::string& path) {
    return !path.empty() && ResolvePathNoCase(path).has_value();
}

bool IsExistingFile(const std::string& path) {
    if (path.empty()) {
        return false;
    }
    const auto resolved = ResolvePathNoCase(path);
    bool isDirectory = false;
    return resolved && Exists(*resolved, &isDirectory) && !isDirectory;
}

std::string FindDataFile(const std::optional<std::string>& base, const std::string& sub1,
                         const std::string& sub2, const std::string& fileName) {
    // Tries folder/file, folder/sub2/file, folder/sub1/file, folder/sub1/sub2/file.
    auto tryUnder = [&](const std::string& folder) -> std::string {
        // A folder that is not there holds none of the four: one look instead of four walks
        // down the path (in the browser each step is a call out of the module).
        if (!folder.empty() && !ResolvePathNoCase(folder)) {
            return std::string();
        }
        std::string candidate = JoinPath(folder, fileName);
        if (IsExistingFile(candidate)) {
            return candidate;
        }
        if (!sub2.empty()) {
            candidate = JoinPath(folder, sub2, fileName);
            if (IsExistingFile(candidate)) {
                return candidate;
            }
        }
        if (!sub1.empty()) {
            candidate = JoinPath(folder, sub1, fileName);
            if (IsExistingFile(candidate)) {
                return candidate;
            }
        }
        if (!sub1.empty() && !sub2.empty()) {
            candidate = JoinPath(folder, sub1, sub2, fileName);
            if (IsExistingFile(candidate)) {
                return candidate;
            }
        }
        return std::string();
    };

    for (const std::string& folder : DataSearchFolders(base)) {
        std::string found = tryUnder(folder);
        if (!found.empty()) {
            return found;
        }
    }
    return std::string();
}

std::vector<std::string> DataSearchFolders(const std::optional<std::string>& base) {
    std::vector<std::string> folders;
    const std::string start = base ? *base : GetModuleDirectory();
    folders.push_back(start);
    // Without its closing separator, whose parent would be the folder itself.
    const std::string trimmed = start.size() > 1 && start.back() == kPathSeparator
                                    ? start.substr(0, start.size() - 1)
                                    : start;
    // An installed program lives in <prefix>/bin with its data in <prefix>/share/krawlix.
    std::string programParent;
    if (ParentOf(trimmed, programParent)) {
        folders.push_back(JoinPath(programParent, "share", "krawlix"));
    }
    // Upwards through the Data folders; every step shortens the folder, and the root's
    // Data folder is tried once before the search gives up.
    std::string folder = trimmed;
    while (true) {
        folders.push_back(JoinPath(folder, "Data"));
        std::string parent;
        if (!ParentOf(folder, parent)) {
            return folders;
        }
        folder = parent;
    }
}

std::string ResolveWritePathNoCase(const std::string& path) {
    if (auto existing = ResolvePathNoCase(path)) {
        return *existing;
    }
    std::string directory;
    std::string name;
    if (SplitPath(path, directory, name) && !directory.empty()) {
        if (auto folder = ResolvePathNoCase(directory)) {
            return JoinPath(*folder, name);
        }
    }
    return path;
}

bool CreatePathDirectories(const std::string& filePath) {
    const size_t slash = filePath.rfind(kPathSeparator);
    if (slash == std::string::npos || slash == 0) {
        return false;
    }
    const std::string folder = filePath.substr(0, slash);
    if (folder.back() == kPathSeparator) {
        return false;
    }
    if (mkdir(folder.c_str(), 0777) == 0) {
        return true;
    }
    CreatePathDirectories(folder);
    return mkdir(folder.c_str(), 0777) == 0;
}

std::string MakeUniqueFileName(const std::string& directory, const char* format, int& counter) {
    const std::string folder = AppendBackslash(directory);
    std::string name;
    do {
        name = FormatString(format, counter);
        ++counter;
    } while (FileExists(folder + name));
    return folder + name;
}

void SplitAt(const std::string& text, char c, std::string& left, std::string& right) {
    const size_t at = text.find(c);
    if (at == std::string::npos) {
        left = text;
        right.clear();
        return;
    }
    const std::string whole = text;
    left = whole.substr(0, at);
    right = whole.substr(at + 1);
}

void SplitAtTrimmed(const std::string& text, char c, std::string& left, std::string& right) {
    SplitAt(text, c, left, right);
    left = Trim(left);
    right = Trim(right);
}

std::string Trim(const std::string& text) {
    static const char* const kWhite = " \t\n\r\v\f";
    const size_t first = text.find_first_not_of(kWhite);
    if (first == std::string::npos) {
        return std::string();
    }
    const size_t last = text.find_last_not_of(kWhite);
    return text.substr(first, last - first + 1);
}

bool EqualsNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(static_cast<unsigned char>(a[i])) !=
            FoldCase(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::string FoldCaseText(const std::string& text) {
    std::string folded = text;
    for (char& c : folded) {
        c = static_cast<char>(FoldCase(static_cast<unsigned char>(c)));
    }
    return folded;
}

int IndexOfNoCase(const std::vector<std::string>& list, const std::string& text) {
    for (size_t i = 0; i < list.size(); ++i) {
        if (EqualsNoCase(list[i], text)) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

void AddUnique(std::vector<std::string>& list, const std::string& text) {
    if (IndexOfNoCase(list, text) < 0) {
        list.push_back(text);
    }
}

} // namespace kx
