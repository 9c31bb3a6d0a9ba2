// CScenePicture, the background and the field's cells as last painted, kept apart from what the
// shell draws over them, so that a paint redraws only the cells whose look changed.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "field/GameField.h"
#include "graphics/Bitmap24.h"
#include "graphics/DrawDevice24.h"
#include "graphics/ImageList24.h"

namespace kx {

class CScenePicture {
public:
    // The next Update draws the whole picture (after a new background, say).
    void Invalidate() { valid = false; }
    // Brings the picture up to the field for this view: true when it was drawn whole, else
    // the areas of the cells drawn again are appended to changed. True too when its pixels
    // cannot be had; the picture is then empty.
    bool Update(const CGameFieldBase& field, const CBitmap24& background,
                const IImageList24& imgfull, const IImageList24& imgtrans, int32_t width,
                int32_t height, int32_t offsetX, int32_t offsetY,
                std::vector<SurfaceRect>& changed);
    const CDrawDevice24& Picture() const { return picture; }

private:
    // What a cell's picture is drawn from: nothing of a cell around it, nothing of the flags
    // or the switch layer.
    struct CellLook {
        uint8_t ground = 0;
        std::array<uint8_t, kObjectSlots> objects{};
        uint8_t item = 0;
        uint8_t creature = 0;
        bool operator==(const CellLook&) const = default;
    };
    struct View {
        int32_t width = 0;
        int32_t height = 0;
        int32_t offsetX = 0;
        int32_t offsetY = 0;
        int32_t fieldWidth = 0;
        int32_t fieldHeight = 0;
        const CBitmap24* background = nullptr;
        const IImageList24* imgfull = nullptr;
        const IImageList24* imgtrans = nullptr;
        bool operator==(const View&) const = default;
    };

    void DrawWhole(const CGameFieldBase& field, const CBitmap24& background,
                   const IImageList24& imgfull, const IImageList24& imgtrans);
    static CellLook LookOf(const FieldCell& cell);

    CDrawDevice24 picture;
    bool valid = false;
    View view;
    // The looks of the visible cells of the view, row by row.
    std::vector<CellLook> looks;
};

} // namespace kx
