// The painted sprite sheets: sizes, which cells hold pictures, clean keying, and walls and
// ground tiles that join without seams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <set>
#include <string>

#include "graphics/Bitmap24.h"

namespace {

constexpr kx::Colour kKey = 0xFF00FF;
constexpr int kCell = 32;

const kx::CBitmap24& Sheet(const std::string& name) {
    static std::unique_ptr<kx::CBitmap24> full, trans;
    auto& slot = name == "imgfull" ? full : trans;
    if (!slot) {
        slot = std::make_unique<kx::CBitmap24>();
        slot->LoadBitmapFile(std::string(KX_ASSET_DIR) + "/" + name + ".bmp", false);
    }
    return *slot;
}

kx::Colour Pixel(const kx::CBitmap24& sheet, int index, int x, int y) {
    return sheet.GetPixel((index % 16) * kCell + x, (index / 16) * kCell + y);
}

int Ink(int index) {
    int n = 0;
    for (int y = 0; y < kCell; ++y)
        for (int x = 0; x < kCell; ++x)
            n += Pixel(Sheet("imgtrans"), index, x, y) != kKey ? 1 : 0;
    return n;
}

int Distance(kx::Colour a, kx::Colour b) {
    return std::abs(int(a >> 16 & 0xFF) - int(b >> 16 & 0xFF)) +
           std::abs(int(a >> 8 & 0xFF) - int(b >> 8 & 0xFF)) +
           std::abs(int(a & 0xFF) - int(b & 0xFF));
}

// Every transparent picture the game, the help texts or the editor draw.
std::set<int> NamedTransparentCells() {
    std::set<int> s;
    auto range = [&](int a, int b) {
        for (int i = a; i <= b; ++i)
            s.insert(i);
    };
    range(0, 6);
    range(16, 25);
    range(32, 52);
    range(56, 62);
    range(64, 75);
    range(120, 121);
    range(128, 135);
    range(144, 149);
    range(200, 229);
    range(230, 231);
    range(232, 247);
    range(248, 249);
    range(251, 254);
    return s;
}

TEST(SpriteSheets, HaveTheirSizes) {
    ASSERT_TRUE(Sheet("imgfull").IsValid());
    ASSERT_TRUE(Sheet("imgtrans").IsValid());
    EXPECT_EQ(Sheet("imgfull").GetWidth(), 512);
    EXPECT_EQ(Sheet("imgfull").GetHeight(), 256);
    EXPECT_EQ(Sheet("imgtrans").GetWidth(), 512);
    EXPECT_EQ(Sheet("imgtrans").GetHeight(), 512);
}

TEST(SpriteSheets, NamedTransparentCellsHoldPicturesAndAllOthersAreEmpty) {
    ASSERT_TRUE(Sheet("imgtrans").IsValid());
    const auto named = NamedTransparentCells();
    for (int i = 0; i < 256; ++i) {
        if (named.count(i))
            EXPECT_GT(Ink(i), 0) << "cell " << i << " is empty";
        else
            EXPECT_EQ(Ink(i), 0) << "cell " << i << " should be wholly transparent";
    }
}

TEST(SpriteSheets, NamedOpaqueCellsAreDrawnAndTheRestArePlainTiles) {
    const auto& full = Sheet("imgfull");
    ASSERT_TRUE(full.IsValid());
    const kx::Colour filler = Pixel(full, 50, 0, 0); // a cell without a rule
    for (int i = 0; i < 128; ++i) {
        const bool named = i < 40 || (i >= 64 && i <= 87) || i == 126 || i == 127;
        std::set<kx::Colour> colours;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                colours.insert(Pixel(full, i, x, y));
        if (named)
            EXPECT_GT(colours.size(), 1u) << "cell " << i << " is a plain tile";
        else
            EXPECT_TRUE(colours.size() == 1 && *colours.begin() == filler) << "cell " << i;
    }
}

TEST(SpriteSheets, NoTransparentPixelIsNearlyTheKeyColour) {
    const auto& trans = Sheet("imgtrans");
    ASSERT_TRUE(trans.IsValid());
    int fringe = 0;
    for (int y = 0; y < 512; ++y)
        for (int x = 0; x < 512; ++x) {
            kx::Colour c = trans.GetPixel(x, y);
            fringe += c != kKey && Distance(c, kKey) <= 96 ? 1 : 0;
        }
    EXPECT_EQ(fringe, 0);
}

// The facing edge columns (or rows) of two joined pieces are the same pixels, and the free
// sides show the plain ground.
TEST(WallPieces, OfOneStyleMeetWithoutASeam) {
    const auto& full = Sheet("imgfull");
    ASSERT_TRUE(full.IsValid());
    auto sameColumn = [&](int a, int xa, int b, int xb) {
        for (int y = 0; y < kCell; ++y)
            if (Pixel(full, a, xa, y) != Pixel(full, b, xb, y))
                return false;
        return true;
    };
    auto sameRow = [&](int a, int ya, int b, int yb) {
        for (int x = 0; x < kCell; ++x)
            if (Pixel(full, a, x, ya) != Pixel(full, b, x, yb))
                return false;
        return true;
    };
    for (int base = 0; base < 40; base += 8) {
        SCOPED_TRACE(base);
        EXPECT_TRUE(sameColumn(base + 1, 31, base + 2, 0));
        EXPECT_TRUE(sameColumn(base + 2, 31, base + 2, 0));
        EXPECT_TRUE(sameColumn(base + 2, 31, base + 3, 0));
        EXPECT_TRUE(sameRow(base + 4, 31, base + 5, 0));
        EXPECT_TRUE(sameRow(base + 5, 31, base + 5, 0));
        EXPECT_TRUE(sameRow(base + 5, 31, base + 6, 0));
        EXPECT_TRUE(sameColumn(base + 1, 0, 64, 0)) << "left end keeps its margin";
        EXPECT_TRUE(sameColumn(base + 3, 31, 64, 31)) << "right end keeps its margin";
        EXPECT_TRUE(sameRow(base + 4, 0, 64, 0)) << "top end keeps its margin";
        EXPECT_TRUE(sameRow(base + 6, 31, 64, 31)) << "bottom end keeps its margin";
        EXPECT_TRUE(sameRow(base + 2, 0, 64, 0) && sameRow(base + 2, 31, 64, 31));
        EXPECT_FALSE(sameColumn(base + 1, 31, 64, 31)) << "the bar reaches the edge";
    }
}

// A seam would show as a jump between the last and the first column (or row) larger than
// any step between neighbouring columns inside the tile (a tenth of slack for textures whose
// wrap happens to cross more stone edges than any inner step).
TEST(GroundTiles, WrapRoundNoHarderThanTheyChangeInside) {
    const auto& full = Sheet("imgfull");
    ASSERT_TRUE(full.IsValid());
    for (int tile = 64; tile <= 87; ++tile) {
        auto columnStep = [&](int a, int b) {
            int sum = 0;
            for (int y = 0; y < kCell; ++y)
                sum += Distance(Pixel(full, tile, a, y), Pixel(full, tile, b, y));
            return sum;
        };
        auto rowStep = [&](int a, int b) {
            int sum = 0;
            for (int x = 0; x < kCell; ++x)
                sum += Distance(Pixel(full, tile, x, a), Pixel(full, tile, x, b));
            return sum;
        };
        int innerColumns = 0, innerRows = 0;
        for (int i = 0; i + 1 < kCell; ++i) {
            innerColumns = std::max(innerColumns, columnStep(i, i + 1));
            innerRows = std::max(innerRows, rowStep(i, i + 1));
        }
        EXPECT_LE(columnStep(31, 0) * 10, innerColumns * 11) << "tile " << tile;
        EXPECT_LE(rowStep(31, 0) * 10, innerRows * 11) << "tile " << tile;
    }
}

TEST(Animations, EndNearlyEmpty) {
    ASSERT_TRUE(Sheet("imgtrans").IsValid());
    const int sequences[][2] = {{200, 209}, {210, 229}, {232, 247}};
    for (auto& s : sequences) {
        EXPECT_LT(Ink(s[1]) * 8, Ink(s[0])) << "frames " << s[0] << " to " << s[1];
        EXPECT_LT(Ink(s[1]), Ink(s[1] - 3));
    }
}

TEST(CornCounter, IconsHaveTheirWidthsAndShareABaseline) {
    ASSERT_TRUE(Sheet("imgtrans").IsValid());
    const int expected[] = {24, 18, 10};
    int baseline[3];
    for (int k = 0; k < 3; ++k) {
        int minX = kCell, maxX = -1, maxY = -1;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                if (Pixel(Sheet("imgtrans"), 252 + k, x, y) != kKey) {
                    minX = std::min(minX, x);
                    maxX = std::max(maxX, x);
                    maxY = std::max(maxY, y);
                }
        EXPECT_LE(minX, 1) << "icon " << 252 + k << " starts at the left";
        EXPECT_NEAR(maxX - minX + 1, expected[k], 2) << "icon " << 252 + k;
        baseline[k] = maxY;
    }
    EXPECT_EQ(baseline[0], baseline[1]);
    EXPECT_EQ(baseline[1], baseline[2]);
}

// Pictures the player tells apart at a glance differ in a good share of their pixels.
TEST(SpriteSheets, PicturesOfOneFamilyAreDistinct) {
    const auto& trans = Sheet("imgtrans");
    ASSERT_TRUE(trans.IsValid());
    auto differing = [&](int a, int b) {
        int n = 0;
        for (int y = 0; y < kCell; ++y)
            for (int x = 0; x < kCell; ++x)
                n += Pixel(trans, a, x, y) != Pixel(trans, b, x, y) ? 1 : 0;
        return n;
    };
    const int families[][2] = {{16, 25}, {32, 52}, {128, 135}, {144, 149}};
    for (auto& f : families)
        for (int a = f[0]; a <= f[1]; ++a)
            for (int b = a + 1; b <= f[1]; ++b)
                EXPECT_GE(differing(a, b), 24) << a << " and " << b;
    EXPECT_GE(differing(147, 149), 300) << "the current worm's head stands out";
}

} // namespace
