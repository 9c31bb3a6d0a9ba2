// Fuzzes ReadXwdImage: any bytes are refused or give a picture no larger than the data allows.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "graphics/XwdImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    kx::CBitmap24 picture;
    if (!kx::ReadXwdImage(std::span<const uint8_t>(data, size), picture)) {
        if (picture.IsValid()) {
            std::abort();
        }
        return 0;
    }
    // Every pixel takes at least two bytes of the dump.
    const int64_t pixels = static_cast<int64_t>(picture.GetWidth()) * picture.GetHeight();
    if (pixels < 1 || static_cast<uint64_t>(pixels) * 2 + 100 > size) {
        std::abort();
    }
    picture.GetPixel(picture.GetWidth() - 1, picture.GetHeight() - 1);
    return 0;
}
