// PNG reading and writing with libpng's simplified interface.
#include "PngFile.h"

#include <png.h>

#include <cstring>
#include <vector>

#include "DrawDevice24.h"
#include "storage/InputFile.h"
#include "storage/OutputFile.h"

namespace kx {

namespace {

// Deflate packs at most 1032 bytes into one, and a byte holds at most 8 pixels: a header that
// claims more pixels than that for the file's size is a lie, refused before the picture's
// memory is taken.
constexpr uint64_t kMaxPixelsPerFileByte = 8 * 1032;
// 64 megapixels (192 MB as a bitmap): far beyond any picture the tools and tests compare.
constexpr uint64_t kMaxPngPixels = uint64_t{1} << 26;

} // namespace

bool EncodePng(const uint8_t* bottomUpRows, int32_t width, int32_t height, int32_t stride,
               std::vector<uint8_t>& bytes) {
    bytes.clear();
    if (bottomUpRows == nullptr || width < 1 || height < 1 || stride < width * 3) {
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    image.width = static_cast<png_uint_32>(width);
    image.height = static_cast<png_uint_32>(height);
    image.format = PNG_FORMAT_BGR;
    // A size query, then the bytes. A negative row stride tells libpng that the rows are
    // bottom-up.
    png_alloc_size_t size = 0;
    int ok = png_image_write_to_memory(&image, nullptr, &size, 0, bottomUpRows, -stride, nullptr);
    if (ok != 0) {
        bytes.resize(size);
        ok = png_image_write_to_memory(&image, bytes.data(), &size, 0, bottomUpRows, -stride,
                                       nullptr);
    }
    png_image_free(&image);
    if (ok == 0) {
        bytes.clear();
        return false;
    }
    bytes.resize(size);
    return true;
}

bool EncodePng(const CBitmap24& bitmap, std::vector<uint8_t>& bytes) {
    if (!bitmap.IsValid()) {
        bytes.clear();
        return false;
    }
    return EncodePng(bitmap.GetPixels(), bitmap.GetWidth(), bitmap.GetHeight(), bitmap.GetStride(),
                     bytes);
}

bool WritePngFile(const std::string& path, const uint8_t* bottomUpRows, int32_t width,
                  int32_t height, int32_t stride, std::string* error) {
    if (bottomUpRows == nullptr || width < 1 || height < 1 || stride < width * 3) {
        if (error != nullptr) {
            *error = path + ": no picture to write";
        }
        return false;
    }
    // Encoded in memory first, so that the file is written whole or not at all.
    std::vector<uint8_t> bytes;
    if (!EncodePng(bottomUpRows, width, height, stride, bytes)) {
        if (error != nullptr) {
            *error = path + ": the picture cannot be encoded as PNG";
        }
        return false;
    }
    return WriteWholeFile(path, bytes.data(), bytes.size(), error);
}

bool WritePngFile(const std::string& path, const CBitmap24& bitmap, std::string* error) {
    if (!bitmap.IsValid()) {
        if (error != nullptr) {
            *error = path + ": no picture to write";
        }
        return false;
    }
    return WritePngFile(path, bitmap.GetPixels(), bitmap.GetWidth(), bitmap.GetHeight(),
                        bitmap.GetStride(), error);
}

bool ReadPngFile(const std::string& path, CBitmap24& bitmap) {
    std::string bytes;
    if (!ReadWholeFile(path, bytes)) {
        return false;
    }
    png_image image;
    std::memset(&image, 0, sizeof image);
    image.version = PNG_IMAGE_VERSION;
    if (png_image_begin_read_from_memory(&image, bytes.data(), bytes.size()) == 0) {
        return false;
    }
    image.format = PNG_FORMAT_BGR;
    const uint64_t pixels = uint64_t{image.width} * image.height;
    if (pixels < 1 || pixels > kMaxPngPixels || pixels > kMaxPixelsPerFileByte * bytes.size() ||
        !bitmap.CreateBitmap(static_cast<int32_t>(image.width), static_cast<int32_t>(image.height),
                             0)) {
        png_image_free(&image);
        return false;
    }
    const int ok =
        png_image_finish_read(&image, nullptr, bitmap.GetPixels(), -bitmap.GetStride(), nullptr);
    png_image_free(&image);
    return ok != 0;
}

// Here rather than beside the surface: a build without libpng (the browser's) leaves out
// this file alone.
bool CDrawDevice24::WritePng(const std::string& path, std::string* error) const {
    if (pixels.empty()) {
        if (error != nullptr) {
            *error = path + ": no picture to write";
        }
        return false;
    }
    return WritePngFile(path, pixels.data(), width, height, GetStride(), error);
}

} // namespace kx
