// PNG files of 24-bit pictures, for the tools and the golden-picture tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "Bitmap24.h"

namespace kx {

// Encodes bottom-up BGR rows, stride bytes apart, as the bytes of an RGB PNG; false (bytes
// empty) when there is no picture or libpng fails.
bool EncodePng(const uint8_t* bottomUpRows, int32_t width, int32_t height, int32_t stride,
               std::vector<uint8_t>& bytes);
bool EncodePng(const CBitmap24& bitmap, std::vector<uint8_t>& bytes);
// Writes bottom-up BGR rows, stride bytes apart, as an RGB PNG, whole or not at all; false
// on failure, with the reason in *error when given.
bool WritePngFile(const std::string& path, const uint8_t* bottomUpRows, int32_t width,
                  int32_t height, int32_t stride, std::string* error = nullptr);
bool WritePngFile(const std::string& path, const CBitmap24& bitmap, std::string* error = nullptr);
// Reads any PNG into a bottom-up 24-bit bitmap (alpha is dropped); false on failure, for a
// file beyond kMaxWholeFileBytes, and for more than 64 megapixels or more pixels than the
// file's bytes can hold.
bool ReadPngFile(const std::string& path, CBitmap24& bitmap);

} // namespace kx
