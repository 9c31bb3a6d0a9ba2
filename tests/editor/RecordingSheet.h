// An IImageList24 that records every cell drawn, for tests of what the editor draws where.
#pragma once

#include <tuple>
#include <vector>

#include "graphics/ImageList24.h"

namespace kxtest {

class CRecordingSheet : public kx::IImageList24 {
public:
    struct Call {
        int32_t x, y, index;
        bool operator==(const Call&) const = default;
    };
    int32_t GetCount() const override { return 256; }
    void DrawCell(kx::CDrawDevice24&, int32_t x, int32_t y, int32_t index) const override {
        calls.push_back({x, y, index});
    }
    void DrawCellOpaque(kx::CDrawDevice24& s, int32_t x, int32_t y, int32_t index) const override {
        DrawCell(s, x, y, index);
    }
    bool IsTransparentAt(int32_t, int32_t, int32_t) const override { return true; }
    kx::CellSize GetCellSize() const override { return {32, 32}; }
    kx::Colour GetTransparentColour() const override { return 0xFF00FF; }

    // The indexes drawn with their top-left corner at (x, y), in order.
    std::vector<int32_t> At(int32_t x, int32_t y) const {
        std::vector<int32_t> out;
        for (const Call& c : calls) {
            if (c.x == x && c.y == y) {
                out.push_back(c.index);
            }
        }
        return out;
    }

    mutable std::vector<Call> calls;
};

} // namespace kxtest
