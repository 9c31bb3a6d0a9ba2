// ParseArchiveManifest: "kind name file" lines, comments and blank lines.
#include "ArchiveManifest.h"

#include "Path.h"
#include "TextCodec.h"

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

// The next word, or a name in double quotes with "" for a quote; false for a quote that is
// not closed or is followed by more than a blank.
bool NextName(const std::string& text, size_t& at, std::string& name) {
    while (at < text.size() && IsBlank(text[at])) {
        ++at;
    }
    if (at >= text.size() || text[at] != '"') {
        name = NextWord(text, at);
        return true;
    }
    name.clear();
    for (++at; at < text.size(); ++at) {
        if (text[at] != '"') {
            name += text[at];
        } else if (at + 1 < text.size() && text[at + 1] == '"') {
            name += '"';
            ++at;
        } else {
            ++at;
            return at == text.size() || IsBlank(text[at]);
        }
    }
    return false;
}

// The Windows-1252 bytes of UTF-8 text; false when a character has none or the UTF-8 is broken.
bool ToCp1252(const std::string& utf8, std::string& cp1252) {
    cp1252 = Cp1252FromUtf8(utf8);
    return Utf8FromCp1252(cp1252) == utf8;
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
        std::string name;
        const std::string kind = NextWord(trimmed, at);
        const bool closed = NextName(trimmed, at, name);
        line.file = Trim(trimmed.substr(at));
        if (!closed || kind.empty() || name.empty() || line.file.empty()) {
            error = std::to_string(number) + ": expected \"kind name file\"";
            return false;
        }
        if (!ToCp1252(kind, line.kind) || !ToCp1252(name, line.name)) {
            error = std::to_string(number) + ": a character that Windows-1252 lacks";
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
