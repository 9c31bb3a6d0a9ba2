// The manifest that lists an archive's resources: one "kind name file" line per resource.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx {

struct ArchiveManifestLine {
    std::string kind; // Windows-1252, as the archive stores it
    std::string name; // Windows-1252, as the archive stores it
    std::string file; // joined to the manifest's folder unless absolute
};

// Parses the manifest text, which is UTF-8. A name in double quotes may hold blanks (a doubled
// quote stands for one); kind and name are converted to Windows-1252, and a character that
// Windows-1252 lacks is an error. The file is the rest of the line, so it may hold spaces.
// Empty lines and lines starting with '#' are skipped. False at the first malformed line, with
// "N: ..." (its number) in error.
bool ParseArchiveManifest(std::string_view text, const std::string& folder,
                          std::vector<ArchiveManifestLine>& lines, std::string& error);

} // namespace kx
