// Golden frames of the shell: the title screen with its menu and a level with its help text,
// compared pixel for pixel. KX_UPDATE_GOLDEN=1 writes them anew after an intended change.
#include <cstdlib>

#include "ShellWorld.h"
#include "graphics/PngFile.h"
#include "storage/TextCodec.h"

namespace {

using kxtest::ShellWorld;

const std::string kGoldenDir = std::string(KX_TEST_DATA_DIR) + "/golden/";

class GoldenFrame : public ShellWorld {
protected:
    // The title level lies beside the program, so that the frame does not follow the
    // archive's own title level.
    void Levels() {
        Level("BackScreen", {"##########", "#........#", "#.c.bW.a.#", "#........#", "##########"});
        Level("first",
              {"############", "#..........#", "#.bbW..c.<.#", "#..........#", "#.~~~==k...#",
               "############"},
              kx::T("/CAPTION/Erste Schritte\n/TEXT/\nFriss das Korn /corn/ und meide /water/.\n"
                    "Mit /KEY/ESC/TEXT/ geht es zum Menü."));
    }

    void Compare(const std::string& name) {
        const kx::CDrawDevice24& frame = shell->Paint(kx::kClientSize, kx::kClientSize);
        const std::string path = kGoldenDir + name;
        if (std::getenv("KX_UPDATE_GOLDEN") != nullptr) {
            std::filesystem::create_directories(kGoldenDir);
            ASSERT_TRUE(frame.WritePng(path));
        }
        kx::CBitmap24 golden;
        ASSERT_TRUE(kx::ReadPngFile(path, golden)) << path;
        ASSERT_EQ(golden.GetWidth(), frame.GetWidth());
        ASSERT_EQ(golden.GetHeight(), frame.GetHeight());
        int differing = 0;
        for (int32_t y = 0; y < frame.GetHeight(); ++y)
            for (int32_t x = 0; x < frame.GetWidth(); ++x)
                differing += golden.GetPixel(x, y) != frame.GetPixel(x, y);
        EXPECT_EQ(differing, 0) << name;
    }
};

TEST_F(GoldenFrame, TitleScreenWithTheMainMenu) {
    Levels();
    ASSERT_TRUE(Start());
    Steps(20);
    Compare("title-main-menu.png");
}

TEST_F(GoldenFrame, LevelWithItsHelpText) {
    Levels();
    ASSERT_TRUE(Start("/level:" + program.Path("first.kxlev")));
    Steps(20);
    Compare("level-help.png");
}

} // namespace
