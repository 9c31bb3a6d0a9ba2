// IImageList24 and CImageList24, sprite sheets cut into equal cells numbered row by row.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Bitmap24.h"
#include "DrawDevice24.h"
#include "storage/Store.h"

namespace kx {

struct CellSize {
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const CellSize&) const = default;
};

class IImageList24 {
public:
    virtual int32_t GetCount() const = 0;
    // Indices outside 0..count-1 draw nothing.
    virtual void DrawCell(CDrawDevice24& surface, int32_t x, int32_t y, int32_t index) const = 0;
    virtual void DrawCellOpaque(CDrawDevice24& surface, int32_t x, int32_t y,
                                int32_t index) const = 0;
    // (x, y) from the cell's top-left corner; true outside the cell or without a sheet.
    virtual bool IsTransparentAt(int32_t x, int32_t y, int32_t index) const = 0;
    virtual CellSize GetCellSize() const = 0;
    virtual Colour GetTransparentColour() const = 0;

protected:
    ~IImageList24() = default;
};

class CImageList24 : public IImageList24 {
public:
    CImageList24() = default;
    CImageList24(const CImageList24&) = delete;
    CImageList24& operator=(const CImageList24&) = delete;

    // Raises the file error when the file cannot be opened.
    bool LoadSheetFile(const std::string& path, int32_t cellWidth, int32_t cellHeight,
                       Colour transparentColour);
    bool LoadSheet(IStore& store, int32_t cellWidth, int32_t cellHeight, Colour transparentColour);

    int32_t GetCount() const override { return count; }
    void DrawCell(CDrawDevice24& surface, int32_t x, int32_t y, int32_t index) const override;
    void DrawCellOpaque(CDrawDevice24& surface, int32_t x, int32_t y, int32_t index) const override;
    bool IsTransparentAt(int32_t x, int32_t y, int32_t index) const override;
    CellSize GetCellSize() const override { return cellSize; }
    Colour GetTransparentColour() const override { return transparentColour; }

    int32_t GetColumns() const { return columns; }
    const CBitmap24& GetBitmap() const { return bitmap; }
    // Top-left corner of a cell in the sheet, top-down.
    int32_t CellX(int32_t index) const { return (index % columns) * cellSize.width; }
    int32_t CellY(int32_t index) const { return (index / columns) * cellSize.height; }

private:
    // A stretch of pixels of one cell row that are not the transparent colour.
    struct OpaqueRun {
        uint16_t start = 0;
        uint16_t length = 0;
    };

    void TakeLayout(int32_t cellWidth, int32_t cellHeight, Colour colour);
    bool HasCell(int32_t index) const { return bitmap.IsValid() && index >= 0 && index < count; }
    void FindOpaqueRuns();
    void DrawRuns(CDrawDevice24& surface, int32_t x, int32_t y, int32_t index) const;

    CBitmap24 bitmap;
    CellSize cellSize;
    int32_t columns = 0;
    int32_t count = 0;
    Colour transparentColour = kNoTransparentColour;
    // A keyed sheet's runs, found once when it is loaded, so that drawing a cell copies runs
    // instead of testing every pixel: row r of cell i has the runs from
    // rowRuns[i * height + r] up to the next row's first. Empty: every pixel is tested.
    std::vector<OpaqueRun> runs;
    std::vector<uint32_t> rowRuns;
};

} // namespace kx
