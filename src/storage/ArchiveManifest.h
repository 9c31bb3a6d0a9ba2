// The manifest that lists an archive's resources: one "kind name file" line per resource.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace kx {

struct ArchiveManifestLine {
    std::string kind;
    std::string name;
    std::string file; // joined to the manifest's folder unless absolute
};

// Parses the manifest text; the file is the rest of the line, so it may hold spaces. Empty
// lines and lines starting with '#' are skipped. False at the first malformed line, with
// "N: ..." (its number) in error.
bool ParseArchiveManifest(std::string_view text, const std::string& folder,
                          std::vector<ArchiveManifestLine>& lines, std::string& error);

} // namespace kx
