// The document's editing operations: styled fields, resizing, applying palette entries, rectangles
// and wall merging.
#include <algorithm>
#include <cstring>

#include "editor/EditorDoc.h"

namespace kx {
namespace {

int32_t ClampSize(int32_t v) {
    return std::clamp(v, kMinFieldSize, kMaxFieldSize);
}

FieldCell EmptyCell() {
    FieldCell c;
    std::memset(&c, kNothing, sizeof c);
    c.flags = 0;
    c.swGround = GROUND_PLAIN;
    c.swFlags = 0;
    c.extraFlags = 0;
    return c;
}

uint8_t BorderWall(uint8_t base, int32_t x, int32_t y, int32_t w, int32_t h) {
    const bool firstCol = x == 0;
    const bool lastCol = x == w - 1;
    const bool edgeRow = y == 0 || y == h - 1;
    if (edgeRow) {
        if (firstCol) {
            return base + WALL_PIECE_LEFT_END;
        }
        if (lastCol) {
            return base + WALL_PIECE_RIGHT_END;
        }
        return base + WALL_PIECE_HMIDDLE;
    }
    // Row 1 is tested first, so a side of a three-row field is a top end.
    if (y == 1) {
        return base + WALL_PIECE_TOP_END;
    }
    if (y == h - 2) {
        return base + WALL_PIECE_BOTTOM_END;
    }
    return base + WALL_PIECE_VMIDDLE;
}

} // namespace

std::vector<FieldCell> CKrawlixEditorDoc::StyledCells(int32_t w, int32_t h,
                                                      std::string_view style) {
    const std::optional<uint8_t> base = WallStyleBase(style);
    FieldCell inside = EmptyCell();
    if (base) {
        inside.ground = GROUND_PLAIN; // "Leer" has neither ground nor walls
    }
    std::vector<FieldCell> fresh(static_cast<size_t>(w) * static_cast<size_t>(h), inside);
    if (!base) {
        return fresh;
    }
    // Only the border differs from the inside, so only the border is visited.
    auto wall = [&](int32_t x, int32_t y) {
        FieldCell& c = fresh[static_cast<size_t>(y) * static_cast<size_t>(w) + x];
        c.ground = BorderWall(*base, x, y, w, h);
        c.flags = FLAG_NO_WORMS | FLAG_NO_GHOSTS;
    };
    for (int32_t x = 0; x < w; ++x) {
        wall(x, 0);
        wall(x, h - 1);
    }
    for (int32_t y = 1; y < h - 1; ++y) {
        wall(0, y);
        wall(w - 1, y);
    }
    return fresh;
}

void CKrawlixEditorDoc::BuildStyledField(int32_t newWidth, int32_t newHeight,
                                         std::string_view style) {
    newWidth = ClampSize(newWidth);
    newHeight = ClampSize(newHeight);
    ReplaceCells(StyledCells(newWidth, newHeight, style), newWidth, newHeight);
}

void CKrawlixEditorDoc::ResizeField(int32_t newWidth, int32_t newHeight, std::string_view style,
                                    int32_t corner) {
    newWidth = ClampSize(newWidth);
    newHeight = ClampSize(newHeight);
    if (newWidth == width && newHeight == height) {
        return;
    }
    CGestureScope gesture(*this);
    std::vector<FieldCell> fresh = StyledCells(newWidth, newHeight, style);
    const bool atLeft = corner == CornerTopLeft || corner == CornerBottomLeft;
    const bool atTop = corner == CornerTopLeft || corner == CornerTopRight;
    const int32_t dstX = atLeft && newWidth > width ? newWidth - width : 0;
    const int32_t srcX = atLeft && newWidth < width ? width - newWidth : 0;
    const int32_t dstY = atTop && newHeight > height ? newHeight - height : 0;
    const int32_t srcY = atTop && newHeight < height ? height - newHeight : 0;
    const int32_t cols = std::min(width, newWidth);
    const int32_t rows = std::min(height, newHeight);
    for (int32_t r = 0; r < rows; ++r) {
        const FieldCell* from = &CellAt(srcX, r + srcY);
        std::copy(from, from + cols,
                  fresh.begin() + static_cast<std::ptrdiff_t>(static_cast<size_t>(r + dstY) *
                                                                  static_cast<size_t>(newWidth) +
                                                              static_cast<size_t>(dstX)));
    }
    ReplaceCells(std::move(fresh), newWidth, newHeight);
}

bool CKrawlixEditorDoc::ApplyEntryToCell(FieldCell& cell, const PaletteEntry& entry,
                                         FieldLayer layer) {
    const bool sw = layer == FieldLayer::Switch;
    uint8_t& flags = sw ? cell.swFlags : cell.flags;
    const uint8_t newFlags = entry.ApplyMasks(flags);
    // Ground, item, creature and switch number: a code and the flags written together.
    auto writeCode = [&](uint8_t& field) {
        if (field == entry.code && newFlags == flags) {
            return false;
        }
        field = entry.code;
        flags = newFlags;
        return true;
    };
    switch (entry.kind) {
    case KindGround:
        return writeCode(sw ? cell.swGround : cell.ground);
    case KindItem:
        return writeCode(sw ? cell.swItem : cell.item);
    case KindCreature:
        return writeCode(cell.creature);
    case KindSwitch:
        return writeCode(cell.switchNo);
    case KindPassage:
        if (newFlags == flags) {
            return false;
        }
        flags = newFlags;
        return true;
    case KindObject: {
        const bool changed = entry.code == kNothing ? ClearObjects(cell, layer)
                                                    : PlaceObject(cell, layer, entry.code);
        if (changed) {
            flags = newFlags;
        }
        return changed;
    }
    default:
        return false;
    }
}

bool CKrawlixEditorDoc::ApplyEntry(int32_t x, int32_t y, const PaletteEntry& entry,
                                   FieldLayer layer) {
    if (!Contains(x, y)) {
        return false;
    }
    CGestureScope gesture(*this);
    TouchCell(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
    return ApplyEntryToCell(CellAt(x, y), entry, layer);
}

void CKrawlixEditorDoc::ApplyRectangle(int32_t ax, int32_t ay, int32_t bx, int32_t by,
                                       const PaletteEntry& entry, FieldLayer layer, bool filled) {
    const int32_t left = std::min(ax, bx);
    const int32_t right = std::max(ax, bx);
    const int32_t top = std::min(ay, by);
    const int32_t bottom = std::max(ay, by);
    CGestureScope gesture(*this);
    auto apply = [&](int32_t x, int32_t y) {
        if (Contains(x, y)) {
            TouchCell(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
            ApplyEntryToCell(CellAt(x, y), entry, layer);
        }
    };
    if (filled) {
        for (int32_t x = left; x <= right; ++x) {
            for (int32_t y = top; y <= bottom; ++y) {
                apply(x, y);
            }
        }
        return;
    }
    for (int32_t x = left; x <= right; ++x) {
        apply(x, top);
        if (bottom != top) {
            apply(x, bottom);
        }
    }
    for (int32_t y = top + 1; y <= bottom - 1; ++y) {
        apply(left, y);
        if (right != left) {
            apply(right, y);
        }
    }
}

void CKrawlixEditorDoc::MergeLegoBlocks(FieldLayer layer) {
    CGestureScope gesture(*this);
    const bool sw = layer == FieldLayer::Switch;
    auto at = [&](int32_t x, int32_t y) -> uint8_t {
        if (!Contains(x, y)) {
            return GROUND_PLAIN;
        }
        const FieldCell& c = CellAt(x, y);
        return sw ? c.swGround : c.ground;
    };
    // Only neighbours of the same style are ever written, and those lie inside the field.
    auto set = [&](int32_t x, int32_t y, uint8_t code) {
        TouchCell(static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x));
        FieldCell& c = CellAt(x, y);
        (sw ? c.swGround : c.ground) = code;
    };
    for (int32_t x = 0; x < width; ++x) {
        for (int32_t y = 0; y < height; ++y) {
            const uint8_t a = at(x, y);
            if (a > GROUND_WALL_LAST) {
                continue;
            }
            const uint8_t c = static_cast<uint8_t>(a - a % 8);
            const uint8_t S = c, L = c + 1, H = c + 2, R = c + 3, T = c + 4, V = c + 5, B = c + 6;
            if (a == S) {
                const uint8_t left = at(x - 1, y);
                if (left == S || left == L) {
                    set(x - 1, y, L);
                    set(x, y, R);
                } else if (left == H) {
                    set(x, y, R);
                } else if (left == R) {
                    set(x - 1, y, H);
                    set(x, y, R);
                } else {
                    const uint8_t up = at(x, y - 1);
                    if (up == S || up == T) {
                        set(x, y - 1, T);
                        set(x, y, B);
                    } else if (up == V) {
                        set(x, y, B);
                    } else if (up == B) {
                        set(x, y - 1, V);
                        set(x, y, B);
                    }
                }
            } else if (a == L || a == H || a == R) {
                const uint8_t left = at(x - 1, y);
                const uint8_t right = at(x + 1, y);
                bool leftJoined = left == H || left == L;
                if (left == S) {
                    set(x - 1, y, L);
                    leftJoined = true;
                }
                bool rightJoined = right == H || right == R;
                if (right == S) {
                    set(x + 1, y, R);
                    rightJoined = true;
                }
                if (!leftJoined && !rightJoined) {
                    set(x, y, S);
                } else if (!leftJoined) {
                    set(x, y, L);
                } else if (!rightJoined) {
                    set(x, y, R);
                }
            } else if (a == T || a == V || a == B) {
                const uint8_t up = at(x, y - 1);
                const uint8_t down = at(x, y + 1);
                bool upJoined = up == V || up == T;
                if (up == S) {
                    set(x, y - 1, T);
                    upJoined = true;
                }
                bool downJoined = down == V || down == B;
                if (down == S) {
                    set(x, y + 1, B);
                    downJoined = true;
                }
                if (!upJoined && !downJoined) {
                    set(x, y, S);
                } else if (!upJoined) {
                    set(x, y, T);
                } else if (!downJoined) {
                    set(x, y, B);
                }
            }
        }
    }
}

} // namespace kx
