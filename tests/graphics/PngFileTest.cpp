// PNG files: a surface written and read back keeps every pixel and its orientation; a file
// whose header claims more than its bytes can hold is refused before its memory is taken.
#include <sys/resource.h>
#include <zlib.h>

#include <gtest/gtest.h>

#include <string>

#include "GraphicsTestSupport.h"
#include "graphics/PngFile.h"
#include "storage/TempFolder.h"

TEST(PngFile, SurfaceRoundTripsPixelForPixel) {
    kxtest::TempFolder folder;
    kxtest::TestSurface s(5, 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            s.SetPixel(x, y, kxtest::Pattern(x, y));
        }
    }
    const std::string path = folder.Path("s.png");
    ASSERT_TRUE(s.WritePng(path));
    kx::CBitmap24 back;
    ASSERT_TRUE(kx::ReadPngFile(path, back));
    ASSERT_EQ(back.GetWidth(), 5);
    ASSERT_EQ(back.GetHeight(), 3);
    for (int y = 0; y < 3; ++y) {
        for (int x = 0; x < 5; ++x) {
            EXPECT_EQ(back.GetPixel(x, y), kxtest::Pattern(x, y));
        }
    }
}

TEST(PngFile, FailuresAreReportedByTheResult) {
    kxtest::TempFolder folder;
    kx::CDrawDevice24 empty;
    EXPECT_FALSE(empty.WritePng(folder.Path("e.png")));
    kxtest::TestSurface s(2, 2);
    folder.Write("bad.png", "not a png");
    std::string error;
    EXPECT_FALSE(s.WritePng(folder.Path("bad.png/s.png"), &error));
    EXPECT_NE(error.find("Not a directory"), std::string::npos) << error;
    kx::CBitmap24 b;
    EXPECT_FALSE(kx::ReadPngFile(folder.Path("bad.png"), b));
    EXPECT_FALSE(kx::ReadPngFile(folder.Path("missing.png"), b));
}

namespace {

void PutBE(std::string& bytes, uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) {
        bytes += static_cast<char>(value >> shift);
    }
}

void AddChunk(std::string& png, const std::string& type, const std::string& data) {
    PutBE(png, static_cast<uint32_t>(data.size()));
    const std::string body = type + data;
    png += body;
    PutBE(png, static_cast<uint32_t>(
                   crc32(0, reinterpret_cast<const Bytef*>(body.data()), body.size())));
}

// The most memory the process has held so far, in bytes.
uint64_t PeakResidentBytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<uint64_t>(usage.ru_maxrss) * 1024;
}

} // namespace

TEST(PngFile, AHeaderClaimingMorePixelsThanTheFileCanHoldTakesNoMemory) {
    kxtest::TempFolder folder;
    // 16384 x 16384 RGB, some 800 MB as a bitmap, in a file of a few dozen bytes.
    std::string png = "\x89PNG\r\n\x1a\n";
    std::string header;
    PutBE(header, 16384);
    PutBE(header, 16384);
    header += std::string("\x08\x02\x00\x00\x00", 5);
    AddChunk(png, "IHDR", header);
    AddChunk(png, "IDAT", std::string("\x78\x9c\x63\x00\x00\x00\x01\x00\x01", 9));
    AddChunk(png, "IEND", "");
    const std::string path = folder.Write("liar.png", png);
    const uint64_t before = PeakResidentBytes();
    kx::CBitmap24 picture;
    EXPECT_FALSE(kx::ReadPngFile(path, picture));
    EXPECT_LT(PeakResidentBytes() - before, uint64_t{100} << 20);
}
