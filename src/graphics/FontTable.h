// CFontTable, the eleven bitmap-font slots, and the glyph layout of a font block.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "storage/ByteOrder.h"

namespace kx {

class CResourceArchive;
using FontData = std::shared_ptr<const std::vector<uint8_t>>;

inline constexpr int32_t kFontSlots = 11;
inline constexpr uint32_t kFontBlockSize = 32264;

// The font files by slot; the build bakes them and packs them as "dxfont" F00 to F10.
inline constexpr std::array<const char*, kFontSlots> kFontFileNames = {
    "Arial10.dxfont",   "Arial10b.dxfont",        "Arial20.dxfont",         "Arial20b.dxfont",
    "Courier10.dxfont", "Courier10b.dxfont",      "Fixedsys.dxfont",        "Small.dxfont",
    "Terminal.dxfont",  "TimesNewRoman10.dxfont", "TimesNewRoman10b.dxfont"};
inline constexpr int32_t kGlyphCell = 32;

// One glyph as stored: the inked box within the 32 x 32 cell and its rows of bits.
struct Glyph {
    int32_t left = 0;
    int32_t top = 0;
    int32_t width = 0;
    int32_t height = 0;
    const uint8_t* rows = nullptr; // 32 little-endian words, bit j = column j
    uint32_t Row(int32_t r) const {
        const uint8_t* p = rows + 4 * r;
        return LoadU32LE(p);
    }
};

// The nominal width W of a font block of kFontBlockSize bytes.
int32_t FontNominalWidth(const std::vector<uint8_t>& font);
// The glyph of a character code; codes below 32 use the glyph of 32.
Glyph FontGlyph(const std::vector<uint8_t>& font, uint8_t code);

const char* FontFileName(int32_t slot); // "Arial10.dxfont" ...; nullptr outside 0..10

class CFontTable {
public:
    // Unless loading was done and no archive is given, loads all eleven slots. Every slot
    // that can be loaded is; then a font found nowhere raises the file error (empty path).
    void LoadFonts(const CResourceArchive* archive);
    // The same, reporting a missing font by the result (and its text) instead.
    bool LoadFontsNoThrow(const CResourceArchive* archive, std::string* error = nullptr);
    // Archive resource "dxfont"/"F%02d" first, else the file by the data-file search from
    // the program folder. A block of any size but kFontBlockSize is not taken. Raises the
    // file error when the slot stays empty.
    void LoadFont(const std::string& fileName, int32_t slot, const CResourceArchive* archive);
    // LoadFonts(none) once, then the slot's data; null for an empty slot or a bad number.
    // Never raises: a missing font is an empty slot here.
    FontData GetFont(int32_t slot);
    // Puts a font block into a slot; false (slot emptied) unless it is kFontBlockSize bytes.
    bool SetFontBytes(int32_t slot, std::vector<uint8_t> bytes);
    // Counts loading as done, so that GetFont does not search for files.
    void SetLoadingDone() { loadingDone = true; }
    bool IsLoadingDone() const { return loadingDone; }
    void Clear();

    // Where the font files are searched; the program folder when unset.
    void SetSearchBase(std::string folder) { searchBase = std::move(folder); }

private:
    std::array<FontData, kFontSlots> slots;
    std::string searchBase;
    bool loadingDone = false;
};

// The table of the program, used by surfaces that are not given one of their own.
CFontTable& ProgramFontTable();

} // namespace kx
