// The one border between the program's Windows-1252 text and UTF-8 (source literals,
// terminal, JSON, window titles, Qt).
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace kx {

inline constexpr char32_t kCp1252Undefined = 0xFFFD;

// The Unicode character of a Windows-1252 code; kCp1252Undefined for 0x81, 0x8D, 0x8F,
// 0x90 and 0x9D.
char32_t UnicodeFromCp1252(uint8_t code);
// Characters without a Windows-1252 code become '?'.
std::string Cp1252FromUtf8(std::string_view utf8);
// Undefined codes (0x81, 0x8D, 0x8F, 0x90, 0x9D) become U+FFFD.
std::string Utf8FromCp1252(std::string_view cp1252);

// Lead and continuation bytes in order (overlong forms are not looked for): a path or name of
// the platform that is UTF-8 and not Windows-1252 text already.
bool IsValidUtf8(std::string_view text);

// German literals in the source are UTF-8; T("Grün") gives the bytes that fonts and files use.
inline std::string T(std::string_view utf8) {
    return Cp1252FromUtf8(utf8);
}

} // namespace kx
