// krawlix-tool shot and markup: the game shell run headless from the command line.
#include <gtest/gtest.h>

#include <chrono>
#include <string>

#include "ToolRun.h"
#include "game/ShellWorld.h"
#include "graphics/Bitmap24.h"
#include "graphics/PngFile.h"
#include "storage/Fifo.h"

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

TEST_F(Shot, GameArgumentsWithAQuoteAndABlankOrATabOpenThatFile) {
    for (const std::string name : {"a\"b c.kxlev", "tab\there.kxlev", "\"\"quoted\" .kxlev"}) {
        SCOPED_TRACE(name);
        const std::string level = program.Path(name);
        kxtest::WriteLevelFile(level, kxtest::kCalmLevel, "Hilfe");
        auto r = Run({"--program-dir", program.Path(), "--state", "--", "/level:" + level});
        ASSERT_EQ(r.status, 0) << r.err;
        std::string json = level;
        for (size_t at = json.find_first_of("\"\t"); at != std::string::npos;
             at = json.find_first_of("\"\t", at + 2))
            json.replace(at, 1, json[at] == '"' ? "\\\"" : "\\t");
        EXPECT_NE(r.out.find("\"levels\":[\"#|" + json + "\"]"), std::string::npos) << r.out;
        // The level itself, not the fallback field, which has no help text.
        EXPECT_NE(r.out.find("\"panel\":{\"visible\":true,\"lines\":[\"Hilfe\"]}"),
                  std::string::npos)
            << r.out;
    }
}

TEST_F(Shot, TimesBeyondADayAreRefusedAtOnce) {
    kxtest::WriteLevelFile(program.Path("one.kxlev"), kxtest::kCalmLevel);
    const auto start = std::chrono::steady_clock::now();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"--at", "18446744073709551615"},
          {"--at", "86400001"},
          {"--keys", "0:enter,18446744073709551615:esc"}}) {
        SCOPED_TRACE(args[1]);
        std::vector<std::string> line = {"--program-dir", program.Path()};
        line.insert(line.end(), args.begin(), args.end());
        auto r = Run(line);
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.err.find("beyond a day of level time (at most 86400000 ms)"), std::string::npos)
            << r.err;
    }
    EXPECT_LT(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count(), 5.0);
}

TEST_F(Shot, AProfileThatCannotBeWrittenFailsWithTheSystemsReason) {
    kxtest::WriteLevelFile(program.Path("one.kxlev"), kxtest::kCalmLevel);
    // New game, the main menu, "Spiel beenden", "Ja": the level is stored on the way out.
    const std::string quit = "0:enter,100:esc,110:down,120:down,130:down,140:down,150:down,"
                             "160:enter,200:enter";
    const std::string file = output.Write("file", "x");
    for (const std::string& profile : {file + "/p.conf", std::string("/proc/p.conf")}) {
        SCOPED_TRACE(profile);
        auto r = Run({"--program-dir", program.Path(), "--profile", profile, "--keys", quit, "--at",
                      "1000", "--state"});
        EXPECT_EQ(r.status, 1);
        EXPECT_NE(r.out.find("\"quit\":true"), std::string::npos) << r.out;
        EXPECT_NE(r.err.find("p.conf"), std::string::npos) << r.err;
    }
    EXPECT_NE(Run({"--program-dir", program.Path(), "--profile", file + "/p.conf", "--keys", quit,
                   "--at", "1000"})
                  .err.find("Not a directory"),
              std::string::npos);
    EXPECT_EQ(kxtest::ReadAll(file), "x");

    // Too large to be ours: neither read nor written, and said so.
    const std::string big = output.Write("big.conf", std::string((1u << 20) + 1, ';'));
    auto r =
        Run({"--program-dir", program.Path(), "--profile", big, "--keys", quit, "--at", "1000"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.err.find("ist größer als 1 MB; es wird weder gelesen noch geschrieben"),
              std::string::npos)
        << r.err;
    EXPECT_EQ(kxtest::ReadAll(big), std::string((1u << 20) + 1, ';'));
}

TEST_F(Shot, PipesBesideTheGameAreSkippedAndTheStartDoesNotWait) {
    kxtest::WriteLevelFile(program.Path("real.kxlev"), kxtest::kCalmLevel);
    kxtest::TempFolder documents;
    std::filesystem::create_directories(documents.Path("Krawlix"));
    kxtest::Fifo list(program.Path("levels.lst"));
    kxtest::Fifo beside(program.Path("x.kxlev"));
    kxtest::Fifo mine(documents.Path("Krawlix/mine.kxlev"));
    for (kxtest::Fifo* f : {&list, &beside, &mine}) {
        ASSERT_TRUE(f->Made());
        f->Watch(kxtest::kFifoPatience);
    }
    auto r = Run({"--program-dir", program.Path(), "--documents-dir", documents.Path(), "--state",
                  "--keys", "0:enter", "--at", "100"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"levels\":[\"real\"]"), std::string::npos) << r.out;
    EXPECT_NE(r.err.find("levels.lst\" ist keine gewöhnliche Datei"), std::string::npos) << r.err;
    // Named on the command line, a pipe is played as a level that cannot be read.
    r = Run({"--program-dir", program.Path(), "--state", "--", "/level:" + beside.Path()});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("\"cornLeft\":1"), std::string::npos) << "the fallback field: " << r.out;
    for (kxtest::Fifo* f : {&list, &beside, &mine}) {
        f->Stop();
        EXPECT_FALSE(f->Rescued()) << f->Path() << " was waited for";
    }
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
