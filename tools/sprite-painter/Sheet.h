// The two sprite sheets being painted and the painting steps, one per subject.
#pragma once

#include "Canvas.h"

#include <string>

namespace sp {

// A sheet of 32 x 32 cells, 16 to a row.
class CSheet {
public:
    CSheet(int rows, Colour fill) : canvas(16 * CELL, rows * CELL, fill) {}
    // A fresh cell-sized canvas filled with KEY.
    static CCanvas NewCell() { return CCanvas(CELL, CELL, KEY); }
    void Put(int index, const CCanvas& cell) {
        canvas.Blit(cell, (index % 16) * CELL, (index / 16) * CELL);
    }
    CCanvas Cell(int index) const;
    CCanvas& Canvas() { return canvas; }
    const CCanvas& Canvas() const { return canvas; }

private:
    CCanvas canvas;
};

// Uncompressed 24-bit bottom-up BMP; returns false if the file cannot be written.
bool WriteBmp(const CCanvas& c, const std::string& path);
// Review picture: the sheet at twice its size, keyed pixels on a checkerboard.
bool WritePreviewPng(const CCanvas& c, const std::string& path, bool keyed, bool grid = true);

// Opaque sheet.
CCanvas FloorTile(int code); // 64..87
void PaintFloors(CSheet& full);
void PaintWalls(CSheet& full);
void PaintEditorTiles(CSheet& full);

// Transparent sheet.
void PaintMarkings(CSheet& trans);  // turns, arrows
void PaintObjects(CSheet& trans);   // cactus, blocks, ducks
void PaintSwitches(CSheet& trans);  // switches, fences, borders
void PaintItems(CSheet& trans);     // 128..135
void PaintCreatures(CSheet& trans); // 144..149
void PaintAnimations(CSheet& trans);
void PaintInterface(CSheet& trans); // menu arrows, editor markers, corn counter

// Shared figures, drawn into a cell canvas (fill and details, no outline).
void DrawGhostFigure(CCanvas& c, const Ramp& r, double cx, double cy, double scale);
void DrawHead(CCanvas& c, const Ramp& r, double cx, double cy, double radius);
void DrawEyes(CCanvas& c, double cx, double cy, double radius);
void DrawKernel(CCanvas& c, const Ramp& r, double cx, double cy, double scale);

} // namespace sp
