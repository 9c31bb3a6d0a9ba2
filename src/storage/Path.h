// Path and text utilities, the module, documents and temporary folders, and the data-file search.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace kx {

inline constexpr char kPathSeparator = '/';

std::string GetModuleDirectory();    // with a trailing separator; empty if unknown
std::string GetDocumentsDirectory(); // XDG documents folder, else $HOME/Documents; empty if unknown
std::string GetTempDirectory();      // $TMPDIR, else /tmp, with a trailing separator

std::string AppendBackslash(const std::string& path); // adds the separator unless present
std::string JoinPath(const std::string& a, const std::string& b);
std::string JoinPath(const std::string& a, const std::string& b, const std::string& c);
std::string JoinPath(const std::string& a, const std::string& b, const std::string& c,
                     const std::string& d);
// At the last separator; false (directory empty, name = path) without one.
bool SplitPath(const std::string& path, std::string& directory, std::string& name);
std::string GetFileName(const std::string& path, bool stripExtension);
std::string StripExtension(const std::string& path);

// The path as it exists on disk: as written if it exists, else found component by
// component without regard to letter case (the exact name wins). Nullopt if not found.
std::optional<std::string> ResolvePathNoCase(const std::string& path);
// The path to create or overwrite: an existing file whose name differs only in letter case
// is overwritten rather than joined by a second one; else the folder is matched that way.
std::string ResolveWritePathNoCase(const std::string& path);
bool FileExists(const std::string& path);
bool IsExistingFile(const std::string& path);

// Searches base (or the module folder when base is nullopt) and its sub-folders, then the
// installed layout's "../share/krawlix" beside it, then the "Data" folders above it; empty
// if not found. Empty sub-folder names count as absent.
std::string FindDataFile(const std::optional<std::string>& base, const std::string& sub1,
                         const std::string& sub2, const std::string& fileName);
// The folders FindDataFile searches, in order (each also with its sub-folders).
std::vector<std::string> DataSearchFolders(const std::optional<std::string>& base);
bool CreatePathDirectories(const std::string& filePath);
std::string MakeUniqueFileName(const std::string& directory, const char* format, int& counter);

void SplitAt(const std::string& text, char c, std::string& left, std::string& right);
void SplitAtTrimmed(const std::string& text, char c, std::string& left, std::string& right);
std::string Trim(const std::string& text);
bool EqualsNoCase(const std::string& a, const std::string& b);
// The text with every letter folded as EqualsNoCase folds it: equal results, equal texts.
std::string FoldCaseText(const std::string& text);
int IndexOfNoCase(const std::vector<std::string>& list, const std::string& text);
void AddUnique(std::vector<std::string>& list, const std::string& text);

} // namespace kx
