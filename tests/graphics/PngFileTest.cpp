// PNG files: a surface written and read back keeps every pixel and its orientation.
#include <gtest/gtest.h>

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
