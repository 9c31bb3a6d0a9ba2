// Windows-1252 codes to Unicode and back, for the glyphs the baker renders and the preview text.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kxfont {

// The Unicode character of a Windows-1252 code; 0 for the five undefined codes.
inline char32_t UnicodeFromCp1252(uint8_t code) {
    static constexpr char32_t high[32] = {
        0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
        0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
        0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
    if (code >= 0x80 && code < 0xA0)
        return high[code - 0x80];
    return code;
}

// UTF-8 to Windows-1252 for the preview's sample lines; unknown characters become '?'.
inline std::string Cp1252FromUtf8(std::string_view utf8) {
    std::string out;
    for (size_t i = 0; i < utf8.size();) {
        auto lead = static_cast<uint8_t>(utf8[i]);
        char32_t c = lead;
        size_t extra = lead >= 0xF0 ? 3 : lead >= 0xE0 ? 2 : lead >= 0xC0 ? 1 : 0;
        if (extra > 0)
            c = lead & (0x3F >> extra);
        ++i;
        for (size_t k = 0; k < extra && i < utf8.size(); ++k, ++i)
            c = (c << 6) | (static_cast<uint8_t>(utf8[i]) & 0x3F);
        char mapped = '?';
        for (int code = 32; code < 256; ++code) {
            if (UnicodeFromCp1252(static_cast<uint8_t>(code)) == c) {
                mapped = static_cast<char>(code);
                break;
            }
        }
        out += mapped;
    }
    return out;
}

} // namespace kxfont
