// CProfileFile: reading, changing and atomically writing the INI profile.
#include "ProfileFile.h"

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "storage/OutputFile.h"
#include "storage/Path.h"

namespace kx {

namespace {

std::string_view TrimView(std::string_view s) {
    size_t b = s.find_first_not_of(" \t\r");
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(" \t\r");
    return s.substr(b, e - b + 1);
}

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i]))
            return false;
    }
    return true;
}

// The name of a section header line, or nullopt for any other line.
std::optional<std::string_view> HeaderName(std::string_view line) {
    std::string_view t = TrimView(line);
    if (t.size() < 2 || t.front() != '[' || t.back() != ']')
        return std::nullopt;
    return TrimView(t.substr(1, t.size() - 2));
}

// Where a key's value stands in its line: after "=" and blanks, up to blanks before a comment
// (";" or "#" at the value's start or after a blank) or before the line's end.
struct ValueSpan {
    size_t at = 0;
    size_t length = 0;
    bool beforeComment = false;
};

bool KeyValue(std::string_view line, std::string_view& key, ValueSpan& span) {
    size_t eq = line.find('=');
    if (eq == std::string_view::npos)
        return false;
    key = TrimView(line.substr(0, eq));
    if (key.empty() || key.front() == ';' || key.front() == '#')
        return false;
    size_t begin = line.find_first_not_of(" \t\r", eq + 1);
    if (begin == std::string_view::npos)
        begin = line.size();
    size_t end = begin;
    while (end < line.size() && !((line[end] == ';' || line[end] == '#') &&
                                  (end == begin || line[end - 1] == ' ' || line[end - 1] == '\t')))
        ++end;
    span.beforeComment = end < line.size();
    while (end > begin && (line[end - 1] == ' ' || line[end - 1] == '\t' || line[end - 1] == '\r'))
        --end;
    span.at = begin;
    span.length = end - begin;
    return true;
}

bool KeyValue(std::string_view line, std::string_view& key, std::string_view& value) {
    ValueSpan span;
    if (!KeyValue(line, key, span))
        return false;
    value = line.substr(span.at, span.length);
    return true;
}

// The oversized, the unreadable and what is no file are said once, when the profile is read.
void Notice(const std::string& path, const std::string& what) {
    std::fprintf(stderr, "Krawlix: Das Profil \"%s\" %s\n", path.c_str(), what.c_str());
}

} // namespace

CProfileFile::LoadResult CProfileFile::Load(const std::string& path) {
    lines.clear();
    std::error_code ec;
    const auto status = std::filesystem::status(path, ec);
    if (!std::filesystem::exists(status))
        return LoadResult::Missing;
    const char* const kKept = "; es wird weder gelesen noch geschrieben.";
    if (!std::filesystem::is_regular_file(status)) {
        Notice(path, std::string("ist keine gewöhnliche Datei") + kKept);
        return LoadResult::Unreadable;
    }
    auto size = std::filesystem::file_size(path, ec);
    if (!ec && size > kMaxProfileBytes) {
        Notice(path, "ist größer als " + std::to_string(kMaxProfileBytes >> 20) + " MB" + kKept);
        return LoadResult::Unreadable;
    }
    errno = 0;
    std::ifstream in(path, std::ios::binary);
    std::string text;
    if (in)
        text.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    if (ec || !in || in.bad() || text.size() > kMaxProfileBytes) {
        const std::string reason = errno != 0 ? std::strerror(errno) : "Lesefehler";
        Notice(path, "kann nicht gelesen werden (" + reason + ")" + kKept);
        return LoadResult::Unreadable;
    }
    LoadFromText(text);
    return LoadResult::Loaded;
}

void CProfileFile::LoadFromText(std::string_view text) {
    lines.clear();
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string_view::npos)
            end = text.size();
        lines.emplace_back(text.substr(start, end - start));
        start = end + 1;
    }
}

std::string CProfileFile::NewLine(std::string text) const {
    // A file written with CR LF gets its new lines the same way.
    if (!lines.empty() && !lines.front().empty() && lines.front().back() == '\r')
        text += '\r';
    return text;
}

std::string CProfileFile::ToText() const {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

bool CProfileFile::Save(const std::string& path, std::string* error) const {
    std::string text = ToText();
    return WriteWholeFile(path, text.data(), text.size(), error);
}

std::optional<size_t> CProfileFile::FindSection(std::string_view section) const {
    for (size_t i = 0; i < lines.size(); ++i) {
        auto name = HeaderName(lines[i]);
        if (name && SameName(*name, section))
            return i;
    }
    return std::nullopt;
}

std::optional<size_t> CProfileFile::FindKey(size_t header, std::string_view key) const {
    for (size_t i = header + 1; i < lines.size() && !HeaderName(lines[i]); ++i) {
        std::string_view k, v;
        if (KeyValue(lines[i], k, v) && SameName(k, key))
            return i;
    }
    return std::nullopt;
}

std::optional<std::string> CProfileFile::GetString(std::string_view section,
                                                   std::string_view key) const {
    auto header = FindSection(section);
    if (!header)
        return std::nullopt;
    auto at = FindKey(*header, key);
    if (!at)
        return std::nullopt;
    std::string_view k, v;
    KeyValue(lines[*at], k, v);
    return std::string(v);
}

int32_t CProfileFile::GetInt(std::string_view section, std::string_view key,
                             int32_t defaultValue) const {
    auto text = GetString(section, key);
    if (!text || text->empty())
        return defaultValue;
    const char* first = text->data();
    const char* last = first + text->size();
    if (*first == '+')
        ++first;
    int32_t value = 0;
    auto [end, ec] = std::from_chars(first, last, value);
    if (ec != std::errc() || end != last)
        return defaultValue;
    return value;
}

void CProfileFile::SetString(std::string_view section, std::string_view key,
                             std::string_view value) {
    auto header = FindSection(section);
    if (!header) {
        if (!lines.empty() && !TrimView(lines.back()).empty())
            lines.push_back(NewLine(""));
        lines.push_back(NewLine("[" + std::string(section) + "]"));
        lines.push_back(NewLine(std::string(key) + "=" + std::string(value)));
        return;
    }
    if (auto at = FindKey(*header, key)) {
        // Only the value changes: blanks, a comment and the line's end stay as they were.
        std::string_view k;
        ValueSpan span;
        KeyValue(lines[*at], k, span);
        std::string replacement(value);
        if (span.length == 0 && span.beforeComment)
            replacement += ' ';
        lines[*at].replace(span.at, span.length, replacement);
        return;
    }
    // After the section's last non-blank line, so that a blank line before the next
    // section stays where it was.
    size_t insert = *header + 1;
    for (size_t i = *header + 1; i < lines.size() && !HeaderName(lines[i]); ++i) {
        if (!TrimView(lines[i]).empty())
            insert = i + 1;
    }
    lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(insert),
                 NewLine(std::string(key) + "=" + std::string(value)));
}

std::vector<std::pair<std::string, std::string>>
CProfileFile::SectionEntries(std::string_view section) const {
    std::vector<std::pair<std::string, std::string>> entries;
    auto header = FindSection(section);
    if (!header)
        return entries;
    for (size_t i = *header + 1; i < lines.size() && !HeaderName(lines[i]); ++i) {
        std::string_view k, v;
        if (KeyValue(lines[i], k, v))
            entries.emplace_back(std::string(k), std::string(v));
    }
    return entries;
}

void CProfileFile::SetInt(std::string_view section, std::string_view key, int32_t value) {
    SetString(section, key, std::to_string(value));
}

std::string DefaultProfilePath(const std::string& program) {
    std::string configHome;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        configHome = xdg;
    } else {
        const char* home = std::getenv("HOME");
        if (home == nullptr || home[0] != '/')
            return std::string();
        configHome = JoinPath(home, ".config");
    }
    return JoinPath(configHome, "Halvane", program + ".conf");
}

} // namespace kx
