// krawlix-tool sheet on the painted sheets, and the BMP headers the painter writes.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "graphics/Bitmap24.h"
#include "graphics/PngFile.h"
#include "storage/ByteOrder.h"
#include "tools/ToolRun.h"

namespace {

const std::string kAssets = KX_ASSET_DIR;

// The tool's exit status; its standard error goes to the test's temporary folder.
int RunTool(const std::vector<std::string>& arguments) {
    return kxtest::RunTool(arguments, testing::TempDir()).status;
}

std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return kx::LoadU32LE(b.data() + at);
}

TEST(PaintedBitmaps, AreUncompressedBottomUp24BitFiles) {
    for (const char* name : {"imgfull", "imgtrans"}) {
        SCOPED_TRACE(name);
        const auto b = ReadBytes(kAssets + "/" + name + ".bmp");
        ASSERT_GE(b.size(), 54u);
        EXPECT_EQ(b[0], 'B');
        EXPECT_EQ(b[1], 'M');
        EXPECT_EQ(U32(b, 2), b.size());
        EXPECT_EQ(U32(b, 10), 54u);                     // pixels right after the headers
        EXPECT_EQ(U32(b, 14), 40u);                     // info header
        EXPECT_GT(static_cast<int32_t>(U32(b, 22)), 0); // positive height: bottom-up
        EXPECT_EQ(b[28], 24);
        EXPECT_EQ(U32(b, 30), 0u);                                            // no compression
        EXPECT_EQ(b.size(), 54u + ((U32(b, 18) * 3 + 3) & ~3u) * U32(b, 22)); // padded rows
    }
}

class ContactSheet : public testing::Test {
protected:
    void SetUp() override { std::remove(out.c_str()); }
    void TearDown() override { std::remove(out.c_str()); }
    // One file per test: CTest runs the tests of this suite in parallel.
    const std::string out = testing::TempDir() + "sprite-contact-sheet-" +
                            testing::UnitTest::GetInstance()->current_test_info()->name() + ".png";
};

TEST_F(ContactSheet, ShowsEveryCellTwiceAsLargeWithKeyedPixelsOnACheckerboard) {
    ASSERT_EQ(RunTool({"sheet", kAssets + "/imgtrans.bmp", out, "--key", "FF00FF"}), 0);
    kx::CBitmap24 sheet, png;
    ASSERT_TRUE(sheet.LoadBitmapFile(kAssets + "/imgtrans.bmp", false));
    ASSERT_TRUE(kx::ReadPngFile(out, png));
    // 16 x 16 slots of 68 x 78 pixels (picture, label strip, gap) and a 4-pixel margin
    EXPECT_EQ(png.GetWidth(), 16 * 68 + 4);
    EXPECT_EQ(png.GetHeight(), 16 * 78 + 4);
    auto slotPixel = [&](int index, int x, int y) {
        return png.GetPixel(4 + (index % 16) * 68 + x, 4 + (index / 16) * 78 + 10 + y);
    };
    int shown = 0, checks = 0;
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            kx::Colour src = sheet.GetPixel((149 % 16) * 32 + x / 2, (149 / 16) * 32 + y / 2);
            kx::Colour got = slotPixel(149, x, y);
            if (src == 0xFF00FF)
                checks += got != 0xFF00FF ? 1 : 0;
            else
                shown += got == src ? 1 : 0;
        }
    EXPECT_GT(shown, 1000) << "the current worm's head, doubled";
    EXPECT_GT(checks, 0);
    EXPECT_NE(slotPixel(7, 0, 0), slotPixel(7, 8, 0)) << "an empty cell is a checkerboard";
    EXPECT_EQ(slotPixel(7, 0, 0), slotPixel(7, 8, 8));
    int label = 0;
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 20; ++x)
            label += png.GetPixel(4 + 15 * 68 + x, 4 + 15 * 78 + y) == 0xE8E8E8 ? 1 : 0;
    EXPECT_GT(label, 20) << "cell 255 carries its number";
}

TEST_F(ContactSheet, RefusesABadKeyAndAMissingFileWithoutWriting) {
    EXPECT_NE(RunTool({"sheet", kAssets + "/imgfull.bmp", out, "--key", "12345"}), 0);
    EXPECT_NE(RunTool({"sheet", kAssets + "/no-such-sheet.bmp", out}), 0);
    EXPECT_TRUE(ReadBytes(out).empty());
}

} // namespace
