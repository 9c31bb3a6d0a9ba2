// Windows-1252 <-> UTF-8 conversion with the full code page table.
#include "TextCodec.h"

#include <array>
#include <cstdint>

namespace kx {
namespace {

constexpr char32_t kUndefined = kCp1252Undefined;

// 0x80-0x9F, where Windows-1252 differs from Latin-1.
constexpr std::array<char32_t, 32> kHighTable = {
    0x20AC,     kUndefined, 0x201A, 0x0192, 0x201E, 0x2026,     0x2020, 0x2021,
    0x02C6,     0x2030,     0x0160, 0x2039, 0x0152, kUndefined, 0x017D, kUndefined,
    kUndefined, 0x2018,     0x2019, 0x201C, 0x201D, 0x2022,     0x2013, 0x2014,
    0x02DC,     0x2122,     0x0161, 0x203A, 0x0153, kUndefined, 0x017E, 0x0178,
};

// The Windows-1252 byte of a code point, or -1 if it has none.
int ByteOf(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) {
        return static_cast<int>(cp);
    }
    for (size_t i = 0; i < kHighTable.size(); ++i) {
        if (kHighTable[i] == cp && cp != kUndefined) {
            return static_cast<int>(0x80 + i);
        }
    }
    return -1;
}

void AppendUtf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[i]; advances i. Malformed input yields kUndefined
// and consumes one byte.
char32_t DecodeUtf8(std::string_view text, size_t& i) {
    const uint8_t lead = static_cast<uint8_t>(text[i]);
    if (lead < 0x80) {
        ++i;
        return lead;
    }
    int extra = 0;
    char32_t cp = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        cp = lead & 0x1F;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        cp = lead & 0x0F;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        cp = lead & 0x07;
        minimum = 0x10000;
    } else {
        ++i;
        return kUndefined;
    }
    if (i + static_cast<size_t>(extra) >= text.size()) {
        ++i;
        return kUndefined;
    }
    for (int k = 1; k <= extra; ++k) {
        const uint8_t next = static_cast<uint8_t>(text[i + k]);
        if ((next & 0xC0) != 0x80) {
            ++i;
            return kUndefined;
        }
        cp = (cp << 6) | (next & 0x3F);
    }
    if (cp < minimum || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
        ++i;
        return kUndefined;
    }
    i += static_cast<size_t>(extra) + 1;
    return cp;
}

} // namespace

char32_t UnicodeFromCp1252(uint8_t code) {
    if (code >= 0x80 && code <= 0x9F) {
        return kHighTable[code - 0x80];
    }
    return code;
}

std::string Cp1252FromUtf8(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    size_t i = 0;
    while (i < utf8.size()) {
        const int byte = ByteOf(DecodeUtf8(utf8, i));
        out += byte < 0 ? '?' : static_cast<char>(byte);
    }
    return out;
}

std::string Utf8FromCp1252(std::string_view cp1252) {
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 2);
    for (char c : cp1252) {
        AppendUtf8(out, UnicodeFromCp1252(static_cast<uint8_t>(c)));
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    size_t i = 0;
    while (i < text.size()) {
        auto c = static_cast<unsigned char>(text[i]);
        size_t n = c < 0x80 ? 0 : (c >> 5) == 6 ? 1 : (c >> 4) == 14 ? 2 : (c >> 3) == 30 ? 3 : 4;
        if (n == 4)
            return false;
        for (size_t k = 1; k <= n; ++k) {
            if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) >> 6) != 2)
                return false;
        }
        i += n + 1;
    }
    return true;
}

} // namespace kx
