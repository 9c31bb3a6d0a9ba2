// CBitmap24: reading .bmp streams and creating plain pictures.
#include "Bitmap24.h"

#include <cstring>
#include <new>

#include "storage/ByteOrder.h"
#include "storage/FileEx.h"

namespace kx {
namespace {

// Pictures larger than this are refused: capacity is a signed 32-bit count.
constexpr uint64_t kMaxPixelBytes = 0x7FFFFFFF;

} // namespace

std::array<uint8_t, kBitmapInfoHeaderSize> MakeBitmapInfoHeader(int32_t width, int32_t height) {
    std::array<uint8_t, kBitmapInfoHeaderSize> header{};
    const uint64_t imageSize =
        static_cast<uint64_t>(RowStride(width)) * static_cast<uint64_t>(height > 0 ? height : 0);
    StoreU32LE(&header[0], kBitmapInfoHeaderSize);
    StoreU32LE(&header[4], static_cast<uint32_t>(width));
    StoreU32LE(&header[8], static_cast<uint32_t>(height));
    StoreU16LE(&header[12], 1);
    StoreU16LE(&header[14], 24);
    StoreU32LE(&header[16], 0);
    StoreU32LE(&header[20], static_cast<uint32_t>(imageSize));
    return header;
}

bool CBitmap24::Reserve(uint32_t bytes) {
    if (pixels.size() < bytes) {
        try {
            std::vector<uint8_t> fresh(bytes);
            pixels.swap(fresh);
        } catch (const std::bad_alloc&) {
            return false;
        }
    }
    return true;
}

Colour CBitmap24::GetPixel(int32_t x, int32_t y) const {
    if (!valid || x < 0 || y < 0 || x >= width || y >= height) {
        return 0;
    }
    const uint8_t* p = RowFromTop(y) + 3 * static_cast<size_t>(x);
    return static_cast<Colour>(p[0]) | static_cast<Colour>(p[1]) << 8 |
           static_cast<Colour>(p[2]) << 16;
}

bool CBitmap24::LoadBitmap(IStore& store, bool topDown) {
    uint8_t header[kBitmapHeadersSize];
    if (!store.Read(header, sizeof header)) {
        return false;
    }
    width = static_cast<int32_t>(LoadU32LE(header + 18));
    height = static_cast<int32_t>(LoadU32LE(header + 22));
    valid = false;
    std::memcpy(fileHeader.data(), header, sizeof header);

    const uint32_t pixelOffset = LoadU32LE(header + 10);
    const int32_t stride = RowStride(width);
    // Both sizes must be positive: a negative height is a top-down file, and a negative
    // width would otherwise pair with it into a positive product.
    if (header[0] != 'B' || header[1] != 'M' || LoadU16LE(header + 26) != 1 ||
        LoadU16LE(header + 28) != 24 || LoadU32LE(header + 30) != 0 || stride < 1 || height < 1 ||
        pixelOffset < kBitmapHeadersSize) {
        return false;
    }
    const uint64_t imageBytes = static_cast<uint64_t>(stride) * static_cast<uint64_t>(height);
    if (imageBytes > kMaxPixelBytes) {
        return false;
    }
    // Pixel rows shorter than the header says are refused before anything is allocated.
    const uint64_t left = store.BytesLeft();
    const uint64_t gap = pixelOffset - kBitmapHeadersSize;
    if (left != IStore::kUnknownLength && gap + imageBytes > left) {
        return false;
    }
    if (!Reserve(static_cast<uint32_t>(imageBytes))) {
        return false;
    }
    std::memset(pixels.data(), 0, pixels.size());
    if (gap > 0) {
        store.Skip(static_cast<uint32_t>(gap));
    }
    for (int32_t k = 0; k < height; ++k) {
        const int32_t row = topDown ? height - 1 - k : k;
        // A stream of unknown length that ends early leaves the remaining rows black.
        if (!store.Read(pixels.data() + static_cast<size_t>(stride) * row,
                        static_cast<uint32_t>(stride))) {
            break;
        }
    }
    valid = true;
    return true;
}

bool CBitmap24::LoadBitmapFile(const std::string& path, bool topDown) {
    CFileEx file(true);
    file.SetPath(path, true);
    file.OpenRead();
    return LoadBitmap(file, topDown);
}

bool CBitmap24::CreateBitmap(int32_t newWidth, int32_t newHeight, Colour colour) {
    const int32_t stride = RowStride(newWidth);
    if (stride < 1 || newHeight < 1) {
        return false;
    }
    const uint64_t imageBytes = static_cast<uint64_t>(stride) * static_cast<uint64_t>(newHeight);
    if (imageBytes + kBitmapHeadersSize > kMaxPixelBytes) {
        return false;
    }
    std::vector<uint8_t> fresh;
    try {
        fresh.resize(static_cast<size_t>(imageBytes));
    } catch (const std::bad_alloc&) {
        return false;
    }
    pixels.swap(fresh);
    width = newWidth;
    height = newHeight;
    fileHeader.fill(0);
    fileHeader[0] = 'B';
    fileHeader[1] = 'M';
    StoreU32LE(&fileHeader[2], static_cast<uint32_t>(imageBytes + kBitmapHeadersSize));
    StoreU32LE(&fileHeader[10], kBitmapHeadersSize);
    const auto info = MakeBitmapInfoHeader(width, height);
    std::memcpy(&fileHeader[kBitmapFileHeaderSize], info.data(), info.size());
    valid = true;
    const uint8_t b = static_cast<uint8_t>(colour);
    const uint8_t g = static_cast<uint8_t>(colour >> 8);
    const uint8_t r = static_cast<uint8_t>(colour >> 16);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* p = pixels.data() + static_cast<size_t>(stride) * y;
        for (int32_t x = 0; x < width; ++x, p += 3) {
            p[0] = b;
            p[1] = g;
            p[2] = r;
        }
    }
    return true;
}

std::vector<uint8_t> EncodeBmp(const CBitmap24& bitmap) {
    std::vector<uint8_t> bytes;
    if (!bitmap.IsValid()) {
        return bytes;
    }
    const size_t pixelBytes = static_cast<size_t>(bitmap.GetStride()) * bitmap.GetHeight();
    bytes.resize(kBitmapFileHeaderSize);
    bytes.reserve(kBitmapHeadersSize + pixelBytes);
    bytes[0] = 'B';
    bytes[1] = 'M';
    StoreU32LE(&bytes[2], static_cast<uint32_t>(kBitmapHeadersSize + pixelBytes));
    StoreU32LE(&bytes[10], kBitmapHeadersSize);
    const auto info = MakeBitmapInfoHeader(bitmap.GetWidth(), bitmap.GetHeight());
    bytes.insert(bytes.end(), info.begin(), info.end());
    // 2835 pixels a metre in both directions: 72 dpi, what picture viewers expect.
    StoreU32LE(&bytes[kBitmapFileHeaderSize + 24], 2835);
    StoreU32LE(&bytes[kBitmapFileHeaderSize + 28], 2835);
    bytes.insert(bytes.end(), bitmap.GetPixels(), bitmap.GetPixels() + pixelBytes);
    return bytes;
}

} // namespace kx
