// CTextPanel: splitting, the mark-up's tags and icons, the two-pass layout and the drawing.
#include "TextPanel.h"

#include <algorithm>
#include <limits>

#include "storage/Path.h"

namespace kx {

namespace {

constexpr int32_t kBodyFont = 9;
constexpr Colour kBodyColour = 0xFFFFFF;
constexpr int32_t kMaxParameter = 4095;

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

std::string_view TrimBlanks(std::string_view s) {
    const char* blanks = " \t\r\n\v\f";
    size_t b = s.find_first_not_of(blanks);
    if (b == std::string_view::npos)
        return {};
    size_t e = s.find_last_not_of(blanks);
    return s.substr(b, e - b + 1);
}

bool SameNameNoCase(std::string_view a, const char* b) {
    size_t i = 0;
    for (; i < a.size() && b[i] != '\0'; ++i) {
        auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c + 32 : c; };
        if (lower(static_cast<unsigned char>(a[i])) != lower(static_cast<unsigned char>(b[i])))
            return false;
    }
    return i == a.size() && b[i] == '\0';
}

// Leading blanks and one sign, then digits up to the first other character; clamped.
int32_t ReadParameter(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t'))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min<int64_t>(value * 10 + (text[i] - '0'), kMaxParameter + 1);
    if (negative)
        value = -value;
    return static_cast<int32_t>(std::clamp<int64_t>(value, 0, kMaxParameter));
}

Colour ReadHexColour(std::string_view digits) {
    uint32_t value = 0;
    for (char c : digits) {
        uint32_t d;
        if (c >= '0' && c <= '9')
            d = static_cast<uint32_t>(c - '0');
        else if (c >= 'a' && c <= 'f')
            d = static_cast<uint32_t>(c - 'a' + 10);
        else if (c >= 'A' && c <= 'F')
            d = static_cast<uint32_t>(c - 'A' + 10);
        else
            continue;
        value = value * 16 + d;
    }
    return value;
}

struct StyleTag {
    const char* name;
    int32_t font;
    bool setsColour;
    Colour colour;
};

// HALVANE is handled before these; font tags keep the colour.
constexpr StyleTag kStyleTags[] = {
    {"CAPTION", 3, true, 0xFFFF00}, {"TEXT", 9, true, 0xFFFFFF}, {"KEY", 9, true, 0x00FF00},
    {"LINK", 9, true, 0x8080FF},    {"F0", 7, false, 0},         {"FA10", 0, false, 0},
    {"FA10B", 1, false, 0},         {"FA20", 2, false, 0},       {"FA20B", 3, false, 0},
    {"FFIX", 6, false, 0},          {"FTERM", 8, false, 0},      {"FC10", 4, false, 0},
    {"FC10B", 5, false, 0},         {"FT10", 9, false, 0},       {"FT10B", 10, false, 0},
};

struct IconTag {
    const char* name;
    int32_t sprite;
    bool addParameter;
    bool opaque;
};

// The left column of the icon table from top to bottom, then the right one.
constexpr IconTag kIconTags[] = {
    {"corn", 128, false, false},      {"shorter", 129, false, false},
    {"anticorn", 129, false, false},  {"speedup", 130, false, false},
    {"speeddown", 131, false, false}, {"killghost", 134, false, false},
    {"newghost", 135, false, false},  {"water", 65, false, true},
    {"ice", 66, false, true},         {"up", 4, false, false},
    {"down", 5, false, false},        {"left", 2, false, false},
    {"right", 3, false, false},       {"turnleft", 0, false, false},
    {"turnright", 1, false, false},   {"corn1", 254, false, false},
    {"corn10", 253, false, false},    {"corn100", 252, false, false},
    {"head", 149, false, false},      {"ihead", 147, false, false},
    {"body", 146, false, false},      {"ghost", 144, false, false},
    {"ghostblue", 145, false, false}, {"cactus", 6, false, false},
    {"switch", 32, true, false},      {"blockworm", 16, true, false},
    {"blockall", 16, true, false},    {"blockghost", 56, true, false},
};

} // namespace

bool CTextPanel::IsKnownTag(std::string_view tag) {
    std::string_view name = TrimBlanks(tag.substr(0, tag.find('.')));
    if (name.empty() || name.front() == '#' || SameNameNoCase(name, "HALVANE"))
        return true;
    for (const StyleTag& style : kStyleTags)
        if (SameNameNoCase(name, style.name))
            return true;
    for (const IconTag& icon : kIconTags)
        if (SameNameNoCase(name, icon.name))
            return true;
    return false;
}

void CTextPanel::SetText(const std::string& text) {
    lines.clear();
    std::string rest;
    rest.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')
            continue;
        rest += text[i];
    }
    std::string_view view = TrimBlanks(rest);
    while (!view.empty()) {
        size_t feed = view.find('\n');
        if (feed == std::string_view::npos) {
            lines.emplace_back(view);
            break;
        }
        lines.emplace_back(view.substr(0, feed));
        view.remove_prefix(feed + 1);
    }
}

void CTextPanel::DrawRun(std::string_view run) {
    TextSize size = target->MeasureText(run);
    lineHeight = std::max(lineHeight, size.height);
    if (!measuring)
        target->DrawText(penX, Clamp32(int64_t{penY} + (lineHeight - size.height) / 2), run,
                         colour);
    penX = Clamp32(int64_t{penX} + size.width);
}

void CTextPanel::DrawIcon(int32_t index, bool fromOpaqueSheet) {
    const IImageList24& sheet = fromOpaqueSheet ? *opaqueSheet : *transparentSheet;
    int32_t left = 0, top = 0, right = 31, bottom = 31;
    if (!fromOpaqueSheet) {
        // The visible part of the sprite: rows and columns holding a non-transparent pixel.
        left = 32, top = 32, right = -1, bottom = -1;
        for (int32_t y = 0; y < 32; ++y) {
            for (int32_t x = 0; x < 32; ++x) {
                if (sheet.IsTransparentAt(x, y, index))
                    continue;
                left = std::min(left, x);
                right = std::max(right, x);
                top = std::min(top, y);
                bottom = std::max(bottom, y);
            }
        }
        if (right < 0)
            left = top = right = bottom = 0;
    }
    int32_t w = right - left + 1;
    int32_t h = bottom - top + 1;
    lineHeight = std::max(lineHeight, h);
    if (!measuring) {
        int32_t y = Clamp32(int64_t{penY} + (lineHeight - h) / 2 - top);
        if (fromOpaqueSheet)
            sheet.DrawCellOpaque(*target, penX - left, y, index);
        else
            sheet.DrawCell(*target, penX - left, y, index);
    }
    penX = Clamp32(int64_t{penX} + w);
}

bool CTextPanel::ApplyStyleTag(std::string_view name) {
    if (SameNameNoCase(name, "HALVANE")) {
        target->SetFont(7);
        colour = 0xC0C0C0;
        DrawRun(kMakerHostName);
        return true;
    }
    for (const StyleTag& tag : kStyleTags) {
        if (!SameNameNoCase(name, tag.name))
            continue;
        target->SetFont(tag.font);
        if (tag.setsColour)
            colour = tag.colour;
        return true;
    }
    return false;
}

bool CTextPanel::ApplyIconTag(std::string_view name, int32_t n) {
    for (const IconTag& icon : kIconTags) {
        if (!SameNameNoCase(name, icon.name))
            continue;
        DrawIcon(icon.sprite + (icon.addParameter ? n : 0), icon.opaque);
        return true;
    }
    return false;
}

void CTextPanel::ApplyTag(std::string_view tag) {
    size_t dot = tag.find('.');
    std::string_view name = TrimBlanks(tag.substr(0, dot));
    int32_t n = dot == std::string_view::npos ? 0 : ReadParameter(TrimBlanks(tag.substr(dot + 1)));
    if (ApplyStyleTag(name) || ApplyIconTag(name, n))
        return;
    if (!name.empty() && name.front() == '#') {
        colour = ReadHexColour(name.substr(1));
    } else if (name.empty()) {
        DrawRun("/");
    } else {
        std::string literal;
        literal.reserve(tag.size() + 2);
        literal += '/';
        literal += tag;
        literal += '/';
        DrawRun(literal);
    }
}

void CTextPanel::RenderLine(const std::string& line) {
    target->SetFont(kBodyFont);
    colour = kBodyColour;
    size_t start = 0;
    bool inTag = false;
    for (size_t i = 0; i <= line.size(); ++i) {
        bool end = i == line.size();
        if (!end && line[i] != '/')
            continue;
        std::string_view part(line.data() + start, i - start);
        if (inTag)
            ApplyTag(part);
        else if (!part.empty())
            DrawRun(part);
        inTag = !inTag && !end;
        start = i + 1;
    }
    lineWidth = penX;
}

void CTextPanel::Draw(CDrawDevice24& surface, const IImageList24& opaque,
                      const IImageList24& transparent) {
    if (!IsVisible())
        return;
    target = &surface;
    opaqueSheet = &opaque;
    transparentSheet = &transparent;

    measuring = true;
    penY = 0;
    int32_t maxWidth = 0;
    int64_t total = 0;
    std::vector<int32_t> heights;
    heights.reserve(lines.size());
    for (const std::string& line : lines) {
        penX = 0;
        lineWidth = 0;
        lineHeight = 8;
        RenderLine(line);
        maxWidth = std::max(maxWidth, lineWidth);
        heights.push_back(lineHeight + 4);
        total += heights.back();
    }

    int32_t penX0 = Clamp32((int64_t{surface.GetWidth()} - maxWidth) / 2);
    penY = Clamp32((int64_t{surface.GetHeight()} - total) / 2);
    SurfaceRect box{Clamp32(int64_t{penX0} - 8), Clamp32(int64_t{penY} - 6),
                    Clamp32(int64_t{penX0} + maxWidth + 8), Clamp32(int64_t{penY} + total + 6)};
    surface.DarkenRect(box, 2);
    surface.DrawFrame(box, 0xC0C0C0);
    surface.DrawFrame(Clamp32(int64_t{box.left} - 1), Clamp32(int64_t{box.top} - 1),
                      Clamp32(int64_t{box.right} + 1), Clamp32(int64_t{box.bottom} + 1), 0x000000);

    measuring = false;
    colour = 0xC0C0C0;
    for (size_t i = 0; i < lines.size(); ++i) {
        lineHeight = heights[i];
        penX = penX0;
        RenderLine(lines[i]);
        penY = Clamp32(int64_t{penY} + lineHeight);
    }
    target = nullptr;
}

} // namespace kx
