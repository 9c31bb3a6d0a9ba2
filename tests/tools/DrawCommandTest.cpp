// krawlix-tool render and text: the PNG files show the level's cells and the font's glyphs.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "ToolRun.h"
#include "field/LevelFile.h"
#include "graphics/GraphicsTestSupport.h"
#include "graphics/PngFile.h"
#include "storage/FileEx.h"
#include "storage/TempFolder.h"

namespace fs = std::filesystem;
using kxtest::RunTool;
using kxtest::WriteFileBytes;

namespace {

kx::Colour GroundColour(int index) {
    return 0x100000u + static_cast<kx::Colour>(index);
}

// Sheets of 16 columns of 32 x 32 cells: imgfull cells solid, imgtrans cells all key but
// their top-left pixel.
std::string SheetBytes(int rows, bool transparent) {
    const auto bytes = kxtest::MakeBmp(16 * 32, rows * 32, [=](int x, int y) -> kx::Colour {
        const int index = (y / 32) * 16 + x / 32;
        if (!transparent) {
            return GroundColour(index);
        }
        return x % 32 == 0 && y % 32 == 0 ? 0x200000u + static_cast<kx::Colour>(index) : 0xFF00FF;
    });
    return std::string(bytes.begin(), bytes.end());
}

class DrawCommand : public testing::Test {
protected:
    void SetUp() override {
        WriteFileBytes(Path("imgfull.bmp"), SheetBytes(6, false));
        WriteFileBytes(Path("imgtrans.bmp"), SheetBytes(10, true));
        std::string manifest = "image imgfull imgfull.bmp\nimage imgtrans imgtrans.bmp\n";
        kxtest::FontBuilder font(9);
        font.Box('A', 0, 1, 3, 5).Box(0xC4, 0, 0, 6, 6);
        WriteFileBytes(Path("F02.dxfont"), std::string(font.bytes.begin(), font.bytes.end()));
        manifest += "dxfont F02 F02.dxfont\n";
        WriteFileBytes(Path("manifest"), manifest);
        archive = Path("test.bfres").string();
        auto packed = Run({"archive", "pack", archive, Path("manifest").string()});
        ASSERT_EQ(packed.status, 0) << packed.err;
    }
    fs::path Path(const std::string& relative) const { return fs::path(folder.Path(relative)); }
    kxtest::ToolResult Run(const std::vector<std::string>& args) const {
        return RunTool(args, folder.Path());
    }
    std::string WriteLevel() const {
        kx::CGameFieldBase field;
        field.CreateField(4, 3);
        for (int y = 0; y < 3; ++y) {
            for (int x = 0; x < 4; ++x) {
                field.CellAt(x, y).ground = static_cast<uint8_t>(64 + x + 4 * y);
            }
        }
        field.CellAt(1, 1).ground = kx::kNothing;
        field.CellAt(3, 1).objects[0] = kx::OBJ_CACTUS;
        // The level start makes the only worm the current one.
        field.CellAt(2, 1).creature = kx::CREATURE_WORM_HEAD;
        const std::string path = Path("level.kxlev").string();
        kx::CFileEx file(true);
        file.SetPath(path);
        file.OpenWrite();
        EXPECT_TRUE(kx::WriteLevel(field, file));
        return path;
    }
    kxtest::TempFolder folder;
    std::string archive;
};

} // namespace

TEST_F(DrawCommand, RenderDrawsTheWholeFieldByDefault) {
    const std::string level = WriteLevel();
    const std::string out = Path("r.png").string();
    auto run = Run({"render", level, out, "--archive", archive});
    ASSERT_EQ(run.status, 0) << run.err;
    kx::CBitmap24 picture;
    ASSERT_TRUE(kx::ReadPngFile(out, picture));
    EXPECT_EQ(picture.GetWidth(), 128);
    EXPECT_EQ(picture.GetHeight(), 96);
    EXPECT_EQ(picture.GetPixel(0, 0), GroundColour(64));
    EXPECT_EQ(picture.GetPixel(127, 95), GroundColour(64 + 11));
    EXPECT_EQ(picture.GetPixel(40, 40), 0u);        // no ground: black
    EXPECT_EQ(picture.GetPixel(96, 32), 0x200006u); // the cactus's one pixel
    EXPECT_EQ(picture.GetPixel(97, 32), GroundColour(64 + 7));
    EXPECT_EQ(picture.GetPixel(64, 32), 0x200000u + 144 + kx::CREATURE_WORM_CURRENT);
}

TEST_F(DrawCommand, RenderAsStoredKeepsTheFilesCreatureCodes) {
    const std::string level = WriteLevel();
    const std::string out = Path("r.png").string();
    auto run = Run({"render", level, out, "--as-stored", "--archive", archive});
    ASSERT_EQ(run.status, 0) << run.err;
    kx::CBitmap24 picture;
    ASSERT_TRUE(kx::ReadPngFile(out, picture));
    // The head as the file holds it (not current), with no level start to promote it.
    EXPECT_EQ(picture.GetPixel(64, 32), 0x200000u + 144 + kx::CREATURE_WORM_HEAD);
}

TEST_F(DrawCommand, RenderTakesSizeAndOffset) {
    const std::string level = WriteLevel();
    const std::string out = Path("r.png").string();
    auto run =
        Run({"render", level, out, "--size", "50x40", "--at", "-10,32", "--archive", archive});
    ASSERT_EQ(run.status, 0) << run.err;
    kx::CBitmap24 picture;
    ASSERT_TRUE(kx::ReadPngFile(out, picture));
    EXPECT_EQ(picture.GetWidth(), 50);
    EXPECT_EQ(picture.GetHeight(), 40);
    EXPECT_EQ(picture.GetPixel(9, 0), 0u);
    EXPECT_EQ(picture.GetPixel(10, 0), GroundColour(64 + 4));
    EXPECT_EQ(picture.GetPixel(10, 32), GroundColour(64 + 8));
}

TEST_F(DrawCommand, RenderRefusesBadArguments) {
    const std::string level = WriteLevel();
    EXPECT_NE(Run({"render", level}).status, 0);
    EXPECT_NE(Run({"render", level, "o.png", "--size", "0x5", "--archive", archive}).status, 0);
    EXPECT_NE(Run({"render", level, "o.png", "--at", "1;2", "--archive", archive}).status, 0);
    EXPECT_NE(Run({"render", level, "o.png", "--colour", "red"}).status, 0);
    EXPECT_NE(Run({"render", Path("none.kxlev").string(), "o.png", "--archive", archive}).status,
              0);
}

TEST_F(DrawCommand, TextIsSizedByItsMeasureAndTakesUtf8) {
    const std::string out = Path("t.png").string();
    // "Ä" is one Windows-1252 character with a glyph six pixels wide.
    auto run = Run({"text", "2", "A\xC3\x84", out, "--archive", archive});
    ASSERT_EQ(run.status, 0) << run.err;
    kx::CBitmap24 picture;
    ASSERT_TRUE(kx::ReadPngFile(out, picture));
    EXPECT_EQ(picture.GetWidth(), 4 + 7 + 8);
    EXPECT_EQ(picture.GetHeight(), 6 + 8);
    const kx::Colour back = picture.GetPixel(0, 0);
    EXPECT_NE(picture.GetPixel(4, 5), back); // 'A' at (0, 1) of its cell
    EXPECT_EQ(picture.GetPixel(4, 4), back);
    EXPECT_NE(picture.GetPixel(8, 4), back); // 'Ä' from x = 4 + 4
    EXPECT_NE(picture.GetPixel(13, 9), back);
    EXPECT_EQ(picture.GetPixel(14, 9), back);
}

TEST_F(DrawCommand, TextInFixedModeUsesTheFixedAdvance) {
    const std::string out = Path("t.png").string();
    auto run = Run({"text", "2", "AA", out, "--archive", archive, "--fixed"});
    ASSERT_EQ(run.status, 0) << run.err;
    kx::CBitmap24 picture;
    ASSERT_TRUE(kx::ReadPngFile(out, picture));
    EXPECT_EQ(picture.GetWidth(), 2 * 10 + 8);
}

TEST_F(DrawCommand, TextWithAMissingFontFails) {
    auto run = Run({"text", "5", "A", Path("t.png").string(), "--archive", archive});
    EXPECT_NE(run.status, 0);
    EXPECT_FALSE(fs::exists(Path("t.png")));
    EXPECT_NE(Run({"text", "11", "A", Path("t.png").string(), "--archive", archive}).status, 0);
}
