// Fuzzes ReadPngFile: any file is refused or gives a picture that its bytes can describe,
// and that picture comes back pixel for pixel through the writer. Chunk checksums are made
// right before the file is written, so that mutations reach past them into the decoder.
#include <zlib.h>

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "ScratchFolder.h"
#include "graphics/PngFile.h"
#include "storage/OutputFile.h"

namespace {

// Rewrites the checksum of every whole chunk after the signature.
void FixChecksums(std::vector<uint8_t>& png) {
    size_t at = 8;
    while (at + 12 <= png.size()) {
        const uint32_t length = static_cast<uint32_t>(png[at] << 24 | png[at + 1] << 16 |
                                                      png[at + 2] << 8 | png[at + 3]);
        if (length > png.size() - at - 12) {
            return;
        }
        const uint32_t crc = static_cast<uint32_t>(crc32(0, png.data() + at + 4, length + 4));
        for (int i = 0; i < 4; ++i) {
            png[at + 8 + length + i] = static_cast<uint8_t>(crc >> (24 - 8 * i));
        }
        at += 12 + length;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string path = kxfuzz::ScratchFolder("fuzz_png") + "/in.png";
    std::vector<uint8_t> file(data, data + size);
    FixChecksums(file);
    if (!kx::WriteWholeFile(path, file)) {
        std::abort();
    }
    kx::CBitmap24 picture;
    if (!kx::ReadPngFile(path, picture)) {
        return 0;
    }
    const uint64_t pixels = uint64_t(picture.GetWidth()) * uint64_t(picture.GetHeight());
    if (!picture.IsValid() || pixels < 1 || pixels > 8 * 1032 * uint64_t{size}) {
        std::abort();
    }
    // The round trip only for pictures that it takes no more than a moment to encode.
    if (pixels > (1u << 20)) {
        return 0;
    }
    std::vector<uint8_t> bytes;
    if (!kx::EncodePng(picture, bytes) || !kx::WriteWholeFile(path, bytes)) {
        std::abort();
    }
    kx::CBitmap24 back;
    if (!kx::ReadPngFile(path, back) || back.GetWidth() != picture.GetWidth() ||
        back.GetHeight() != picture.GetHeight()) {
        std::abort();
    }
    // Both bitmaps start zeroed, so their row padding agrees too.
    const size_t bytesInAll = static_cast<size_t>(picture.GetStride()) * picture.GetHeight();
    if (std::memcmp(back.GetPixels(), picture.GetPixels(), bytesInAll) != 0) {
        std::abort();
    }
    return 0;
}
