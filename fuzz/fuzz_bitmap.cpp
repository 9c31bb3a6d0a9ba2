// Fuzzes LoadBitmap: any bytes are refused or give a picture that draws and hit-tests safely.
#include <cstdint>
#include <cstdlib>

#include "graphics/Bitmap24.h"
#include "graphics/DrawDevice24.h"
#include "graphics/ImageList24.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 22)) {
        return 0;
    }
    kx::CMemBlock input;
    input.CopyFrom(data, static_cast<uint32_t>(size));
    for (bool topDown : {false, true}) {
        kx::CBitmap24 bitmap;
        kx::CMemSerializer in(input, false);
        if (!bitmap.LoadBitmap(in, topDown)) {
            if (bitmap.IsValid()) {
                std::abort();
            }
            continue;
        }
        if (bitmap.GetWidth() < 1 || bitmap.GetHeight() < 1 ||
            static_cast<uint64_t>(bitmap.GetStride()) * bitmap.GetHeight() + 54 > size) {
            std::abort();
        }
        kx::CDrawDevice24 surface;
        surface.Create(37, 29);
        surface.Clear(0x101010);
        surface.DrawBitmap(-3, -5, bitmap);
        surface.DrawBitmapPart(20, 10, bitmap, 1, 2, 40, 40);
        surface.DrawBitmapKeyed(-40, 20, bitmap, -7, 3, 90, 90, bitmap.GetPixel(0, 0));
        bitmap.GetPixel(bitmap.GetWidth() - 1, bitmap.GetHeight() - 1);
    }
    kx::CImageList24 sheet;
    kx::CMemSerializer in(input, false);
    if (sheet.LoadSheet(in, 5, 3, 0x000000)) {
        kx::CDrawDevice24 surface;
        surface.Create(8, 8);
        for (int32_t i = -1; i <= sheet.GetCount() && i < 64; ++i) {
            sheet.DrawCell(surface, i % 7 - 3, i % 5 - 2, i);
            sheet.DrawCellOpaque(surface, 2, 2, i);
            sheet.IsTransparentAt(i % 6, i % 4, i);
        }
    }
    return 0;
}
