// ParseArchiveManifest: "kind name file" lines, comments and blank lines.
#include "ArchiveManifest.h"

#include "Path.h"

namespace kx {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

// The next word of text from at on, moving at past it.
std::string NextWord(const std::string& text, size_t& at) {
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    const size_t start = at;
    while (at < text.size() && !IsBlank(text[at])) {
        ++at;
    }
    return text.substr(start, at - start);
}

} // namespace

bool ParseArchiveManifest(std::string_view text, const std::string& folder,
                          std::vector<ArchiveManifestLine>& lines, std::string& error) {
    size_t start = 0;
    int number = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos) {
            end = text.size();
        }
        ++number;
        const std::string trimmed = Trim(std::string(text.substr(start, end - start)));
        start = end + 1;
        if (trimmed.empty() || trimmed[0] == '#') {
            continue;
        }
        ArchiveManifestLine line;
        size_t at = 0;
        line.kind = NextWord(trimmed, at);
        line.name = NextWord(trimmed, at);
        line.file = Trim(trimmed.substr(at));
        if (line.kind.empty() || line.name.empty() || line.file.empty()) {
            error = std::to_string(number) + ": expected \"kind name file\"";
            return false;
        }
        if (line.file[0] != '/' && !folder.empty()) {
            line.file = JoinPath(folder, line.file);
        }
        lines.push_back(std::move(line));
    }
    return true;
}

} // namespace kx
