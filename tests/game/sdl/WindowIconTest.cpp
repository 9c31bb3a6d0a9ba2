// The window icon cut from a sprite sheet: colours kept, the key colour made transparent.
#include <gtest/gtest.h>

#include "game/sdl/WindowIcon.h"
#include "graphics/GraphicsTestSupport.h"

namespace kx {
namespace {

constexpr Colour kKey = 0xFF00FF;

// A 6 × 2 sheet of three 2 × 2 cells; cell 1 has the key colour on its left column.
bool LoadTestSheet(CImageList24& sheet) {
    const auto colour = [](int x, int y) -> Colour {
        if (x == 2) {
            return kKey;
        }
        return static_cast<Colour>(0x102030 + 0x010000 * x + 0x000100 * y);
    };
    const std::vector<uint8_t> bytes = kxtest::MakeBmp(6, 2, colour);
    CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    CMemSerializer store(block, false);
    return sheet.LoadSheet(store, 2, 2, kKey);
}

TEST(WindowIcon, TheCellBecomesOpaquePixelsWithTheKeyColourTransparent) {
    CImageList24 sheet;
    ASSERT_TRUE(LoadTestSheet(sheet));
    const IconPixels icon = MakeIconPixels(sheet, 1);
    ASSERT_EQ(icon.width, 2);
    ASSERT_EQ(icon.height, 2);
    ASSERT_EQ(icon.argb.size(), 4u);
    // Rows top-down: (0,0) (1,0) / (0,1) (1,1) of cell 1, which starts at sheet x = 2.
    EXPECT_EQ(icon.argb[0], 0u);
    EXPECT_EQ(icon.argb[1], 0xFF000000u | 0x132030u);
    EXPECT_EQ(icon.argb[2], 0u);
    EXPECT_EQ(icon.argb[3], 0xFF000000u | 0x132130u);
}

TEST(WindowIcon, AMissingCellGivesNoIcon) {
    CImageList24 sheet;
    ASSERT_TRUE(LoadTestSheet(sheet));
    EXPECT_TRUE(MakeIconPixels(sheet, 3).argb.empty());
    EXPECT_TRUE(MakeIconPixels(sheet, -1).argb.empty());
    CImageList24 empty;
    EXPECT_TRUE(MakeIconPixels(empty, 0).argb.empty());
}

} // namespace
} // namespace kx
