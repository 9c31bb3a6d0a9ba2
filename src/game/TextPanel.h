// CTextPanel, the centred box that shows help texts written in the game's small mark-up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "graphics/DrawDevice24.h"
#include "graphics/ImageList24.h"

namespace kx {

// The host name the /HALVANE/ tag draws.
inline constexpr const char* kMakerHostName = "www.halvane.example";

// A line is text runs and tags between slashes: /CAPTION/, /KEY/, /FA20B/, /#FF0000/,
// /corn/, /switch.3/ ... Every line starts in font 9, white; an unknown tag is printed as it
// was written, "//" prints one slash.
class CTextPanel {
public:
    CTextPanel() { lines.reserve(64); }

    // Splits the text into lines: CR LF becomes LF, the whole text is trimmed, then every LF
    // ends a line (inner lines keep their blanks, empty ones count).
    void SetText(const std::string& text);
    // Visible only with at least one line.
    void Show() { visible = !lines.empty(); }
    void Hide() { visible = false; }
    bool IsVisible() const { return visible && !lines.empty(); }
    const std::vector<std::string>& GetLines() const { return lines; }
    // Whether a tag (the text between two slashes) means something to the mark-up: a style,
    // font, icon or colour, or the empty tag; any other tag is printed as written.
    static bool IsKnownTag(std::string_view tag);

    // Lays the lines out and draws them centred on the surface in a darkened, framed box.
    // Fonts come from the surface's font table; icons from the two 32 × 32 sprite sheets.
    void Draw(CDrawDevice24& surface, const IImageList24& opaque, const IImageList24& transparent);

private:
    void RenderLine(const std::string& line);
    void DrawRun(std::string_view run);
    void DrawIcon(int32_t index, bool fromOpaqueSheet);
    void ApplyTag(std::string_view tag);
    bool ApplyStyleTag(std::string_view name);
    bool ApplyIconTag(std::string_view name, int32_t n);

    bool visible = false;
    std::vector<std::string> lines;
    int32_t penX = 0;
    int32_t penY = 0;
    int32_t lineWidth = 0;
    int32_t lineHeight = 0;
    bool measuring = false;
    Colour colour = 0xFFFFFF;

    // Set for the duration of Draw.
    CDrawDevice24* target = nullptr;
    const IImageList24* opaqueSheet = nullptr;
    const IImageList24* transparentSheet = nullptr;
};

} // namespace kx
