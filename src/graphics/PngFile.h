// PNG files of 24-bit pictures, for the tools and the golden-picture tests.
#pragma once

#include <cstdint>
#include <string>

#include "Bitmap24.h"

namespace kx {

// Writes bottom-up BGR rows, stride bytes apart, as an RGB PNG; false on failure.
bool WritePngFile(const std::string& path, const uint8_t* bottomUpRows, int32_t width,
                  int32_t height, int32_t stride);
bool WritePngFile(const std::string& path, const CBitmap24& bitmap);
// Reads any PNG into a bottom-up 24-bit bitmap (alpha is dropped); false on failure.
bool ReadPngFile(const std::string& path, CBitmap24& bitmap);

} // namespace kx
