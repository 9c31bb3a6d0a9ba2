// krawlix-tool shot and markup: the game shell run headless from the command line.
#include <gtest/gtest.h>

#include <string>

#include "ToolRun.h"
#include "game/ShellWorld.h"
#include "graphics/Bitmap24.h"
#include "graphics/PngFile.h"

using kxtest::RunTool;

namespace {

class Shot : public testing::Test {
protected:
    Shot() { std::filesystem::create_symlink(kxtest::kArchivePath, program.Path("Krawlix.bfres")); }
    kxtest::ToolResult Run(std::vector<std::string> args) const {
        args.insert(args.begin(), "shot");
        return RunTool(args, output.Path());
    }
    kxtest::TempFolder program;
    kxtest::TempFolder output;
};

TEST_F(Shot, QuittingThroughTheMenusStoresTheLevelBesideTheProfilesOtherValues) {
    kxtest::WriteLevelFile(program.Path("one.kxlev"), kxtest::kCalmLevel);
    kxtest::WriteLevelFile(program.Path("two.kxlev"), kxtest::kCalmLevel);
    program.Write("levels.lst", "one\ntwo\n");
    std::string profile = output.Write("Krawlix.conf", "[View]\nZoom=2\n");
    // New game, the main menu, down to "Spiel beenden", then "Ja, jetzt beenden".
    auto r = Run({"--program-dir", program.Path(), "--profile", profile, "--keys",
                  "0:enter,100:esc,110:down,120:down,130:down,140:down,150:down,160:enter,"
                  "200:enter",
                  "--at", "5000", "--state", output.Path("quit.png")});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"title\":\"Krawlix - Ebene 1 - one - www.halvane.example\""),
              std::string::npos)
        << r.out;
    EXPECT_NE(r.out.find("\"quit\":true"), std::string::npos);
    EXPECT_NE(r.out.find("\"sounds\":[\"confirm\",\"confirm\",\"confirm\"]"), std::string::npos);
    EXPECT_NE(r.out.find("\"menu\":{\"caption\":\"Krawlix wirklich beenden?\""), std::string::npos);
    EXPECT_EQ(kxtest::ReadAll(profile), "[View]\nZoom=2\n\n[LastGame]\nLevel=1\n");
    kx::CBitmap24 frame;
    ASSERT_TRUE(kx::ReadPngFile(output.Path("quit.png"), frame));
    EXPECT_EQ(frame.GetWidth(), 650);
    EXPECT_EQ(frame.GetHeight(), 650);
}

TEST_F(Shot, GameArgumentsWithBlanksReachTheGameAsOneLevel) {
    std::string level = program.Path("with blank/a.kxlev");
    kxtest::WriteLevelFile(level, kxtest::kCalmLevel, "Hilfe");
    auto r = Run({"--program-dir", program.Path(), "--state", "--", "/level:" + level});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"levels\":[\"#|" + level + "\"]"), std::string::npos) << r.out;
    EXPECT_NE(r.out.find("\"currentLevel\":1,\"notInLevel\":false"), std::string::npos);
    EXPECT_NE(r.out.find("\"menu\":null,\"panel\":{\"visible\":true,\"lines\":[\"Hilfe\"]}"),
              std::string::npos);
    EXPECT_NE(r.out.find("\"quit\":false"), std::string::npos);
}

TEST_F(Shot, AStartUpThatFailsPrintsTheGamesMessageAndExitsWithOne) {
    program.Write("levels.lst", "");
    auto r = Run({"--program-dir", program.Path(), output.Path("none.png")});
    EXPECT_EQ(r.status, 1);
    EXPECT_NE(r.err.find("Keine Level gefunden"), std::string::npos) << r.err;
    EXPECT_FALSE(std::filesystem::exists(output.Path("none.png")));
    EXPECT_EQ(Run({"--keys", "10:jump"}).status, 1);
}

TEST_F(Shot, MarkupDrawsThePanelOnASurfaceOfTheGivenSize) {
    auto r = RunTool({"markup", "/CAPTION/Titel\\n/corn/ Korn", output.Path("m.png"), "--size",
                      "200x80", "--archive", kxtest::kArchivePath},
                     output.Path());
    ASSERT_EQ(r.status, 0) << r.err;
    kx::CBitmap24 picture;
    ASSERT_TRUE(kx::ReadPngFile(output.Path("m.png"), picture));
    EXPECT_EQ(picture.GetWidth(), 200);
    EXPECT_EQ(picture.GetHeight(), 80);
    EXPECT_EQ(picture.GetPixel(0, 0), 0u);
    int yellow = 0, grey = 0;
    for (int32_t y = 0; y < 80; ++y) {
        for (int32_t x = 0; x < 200; ++x) {
            yellow += picture.GetPixel(x, y) == 0xFFFF00; // the caption
            grey += picture.GetPixel(x, y) == 0xC0C0C0;   // the box's frame
        }
    }
    EXPECT_GT(yellow, 20);
    EXPECT_GT(grey, 100);
    EXPECT_EQ(RunTool({"markup", "x", output.Path("n.png"), "--size", "0x5"}, output.Path()).status,
              1);
}

} // namespace
