// The document's region operations: copy, paste, clear and flood fill, and cancelling a gesture.
#include <algorithm>
#include <vector>

#include "editor/EditorDoc.h"

namespace kx {
namespace {

constexpr uint8_t kPlainGround = 64;

struct Bounds {
    int32_t left, top, right, bottom; // inclusive; empty when left > right or top > bottom
};

Bounds ClipToField(int32_t ax, int32_t ay, int32_t bx, int32_t by, int32_t w, int32_t h) {
    return {std::max(std::min(ax, bx), 0), std::max(std::min(ay, by), 0),
            std::min(std::max(ax, bx), w - 1), std::min(std::max(ay, by), h - 1)};
}

FieldCell ClearedCell(const FieldCell& old) {
    FieldCell c;
    std::fill(reinterpret_cast<uint8_t*>(&c), reinterpret_cast<uint8_t*>(&c) + sizeof c, kNothing);
    c.ground = kPlainGround;
    c.swGround = kPlainGround;
    c.flags = 0;
    c.swFlags = 0;
    c.extraFlags = old.extraFlags;
    return c;
}

// The part of a cell that decides whether flood fill spreads into it, for the entry's kind.
bool EqualForFlood(const FieldCell& a, const FieldCell& b, uint8_t kind, FieldLayer layer) {
    const bool sw = layer == FieldLayer::Switch;
    if ((sw ? a.swGround : a.ground) != (sw ? b.swGround : b.ground)) {
        return false;
    }
    const uint8_t fa = sw ? a.swFlags : a.flags;
    const uint8_t fb = sw ? b.swFlags : b.flags;
    switch (kind) {
    case KindItem:
        return (sw ? a.swItem : a.item) == (sw ? b.swItem : b.item);
    case KindObject:
        return std::equal(sw ? a.swObjects : a.objects,
                          (sw ? a.swObjects : a.objects) + kObjectSlots,
                          sw ? b.swObjects : b.objects);
    case KindCreature:
        return a.creature == b.creature;
    case KindSwitch:
        return a.switchNo == b.switchNo && (fa & FLAG_SWITCH) == (fb & FLAG_SWITCH);
    case KindPassage:
        return fa == fb;
    default:
        return true;
    }
}

} // namespace

FieldClip CKrawlixEditorDoc::CopyRegion(int32_t ax, int32_t ay, int32_t bx, int32_t by) const {
    FieldClip clip;
    const Bounds r = ClipToField(ax, ay, bx, by, width, height);
    if (r.left > r.right || r.top > r.bottom) {
        return clip;
    }
    clip.width = r.right - r.left + 1;
    clip.height = r.bottom - r.top + 1;
    clip.cells.reserve(static_cast<size_t>(clip.width) * static_cast<size_t>(clip.height));
    for (int32_t y = r.top; y <= r.bottom; ++y) {
        const FieldCell* row = &CellAt(r.left, y);
        clip.cells.insert(clip.cells.end(), row, row + clip.width);
    }
    return clip;
}

bool CKrawlixEditorDoc::PasteClip(const FieldClip& clip, int32_t x, int32_t y) {
    if (clip.Empty() || clip.cells.size() != static_cast<size_t>(clip.width) * clip.height) {
        return false;
    }
    // In 64 bits: a far-off anchor must not wrap around into the field.
    const int64_t left = std::max<int64_t>(x, 0);
    const int64_t top = std::max<int64_t>(y, 0);
    const int64_t right = std::min<int64_t>(static_cast<int64_t>(x) + clip.width, width);
    const int64_t bottom = std::min<int64_t>(static_cast<int64_t>(y) + clip.height, height);
    bool changed = false;
    CGestureScope gesture(*this);
    for (int64_t fy = top; fy < bottom; ++fy) {
        for (int64_t fx = left; fx < right; ++fx) {
            const FieldCell& source =
                clip.cells[static_cast<size_t>((fy - y) * clip.width + (fx - x))];
            const size_t index = static_cast<size_t>(fy * width + fx);
            if (cells[index] != source) {
                TouchCell(index);
                cells[index] = source;
                changed = true;
            }
        }
    }
    return changed;
}

bool CKrawlixEditorDoc::ClearRegion(int32_t ax, int32_t ay, int32_t bx, int32_t by) {
    const Bounds r = ClipToField(ax, ay, bx, by, width, height);
    bool changed = false;
    CGestureScope gesture(*this);
    for (int32_t y = r.top; y <= r.bottom; ++y) {
        for (int32_t x = r.left; x <= r.right; ++x) {
            const size_t index = static_cast<size_t>(y) * width + x;
            const FieldCell cleared = ClearedCell(cells[index]);
            if (cells[index] != cleared) {
                TouchCell(index);
                cells[index] = cleared;
                changed = true;
            }
        }
    }
    return changed;
}

bool CKrawlixEditorDoc::FloodFill(int32_t x, int32_t y, const PaletteEntry& entry,
                                  FieldLayer layer) {
    if (!Contains(x, y)) {
        return false;
    }
    // The region is found on the field as it is, then filled, so the fill never feeds itself.
    const FieldCell start = CellAt(x, y);
    std::vector<bool> seen(cells.size(), false);
    std::vector<uint32_t> region;
    std::vector<uint32_t> stack{static_cast<uint32_t>(static_cast<size_t>(y) * width + x)};
    seen[stack.back()] = true;
    while (!stack.empty()) {
        const uint32_t index = stack.back();
        stack.pop_back();
        region.push_back(index);
        const int32_t cx = static_cast<int32_t>(index % static_cast<uint32_t>(width));
        const int32_t cy = static_cast<int32_t>(index / static_cast<uint32_t>(width));
        const int32_t next[4][2] = {{cx - 1, cy}, {cx + 1, cy}, {cx, cy - 1}, {cx, cy + 1}};
        for (const auto& n : next) {
            if (!Contains(n[0], n[1])) {
                continue;
            }
            const uint32_t ni = static_cast<uint32_t>(static_cast<size_t>(n[1]) * width + n[0]);
            if (!seen[ni] && EqualForFlood(cells[ni], start, entry.kind, layer)) {
                seen[ni] = true;
                stack.push_back(ni);
            }
        }
    }
    bool changed = false;
    CGestureScope gesture(*this);
    for (uint32_t index : region) {
        TouchCell(index);
        changed |= ApplyEntryToCell(cells[index], entry, layer);
    }
    return changed;
}

void CKrawlixEditorDoc::CancelGesture() {
    if (gestureDepth == 0) {
        return;
    }
    if (gestureHasWhole) {
        cells = std::move(gestureWhole.cells);
        width = gestureWhole.width;
        height = gestureWhole.height;
    } else {
        for (size_t i = 0; i < touchedIndexes.size(); ++i) {
            cells[touchedIndexes[i]] = touchedBefore[i];
        }
    }
    description = gestureDescription;
    gestureDepth = 0;
    ForgetGesture();
    Notify();
}

} // namespace kx
