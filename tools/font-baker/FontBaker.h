// Turns one TrueType face at one pixel size into a .dxfont with FreeType's monochrome hinting.
#pragma once

#include <string>

#include "DxFont.h"

namespace kxfont {

struct FontRecipe {
    std::string fileName; // e.g. "Arial10.dxfont"
    std::string facePath; // the .ttf file
    int pixelSize = 13;   // em size in pixels (10 pt at 96 dpi is 13)
    bool monospace = false;
    // Extra stroke weight in 1/64 pixel, for the heavy screen fonts.
    int emboldenX = 0;
    int emboldenY = 0;
    int leftColumn = 0; // the column where every glyph's ink starts
};

struct BakeResult {
    bool ok = false;
    std::string error;
    DxFont font;
    int baselineRow = 0; // the cell row on which glyphs without descenders end
};

BakeResult BakeFont(const FontRecipe& recipe);

} // namespace kxfont
