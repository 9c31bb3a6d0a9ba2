// krawlix-tool given damaged, endless or impossible input: a clear message, at once, and
// damage that is used anyway is reported.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "ToolRun.h"
#include "graphics/GraphicsTestSupport.h"
#include "sound/WavWriter.h"
#include "storage/Fifo.h"
#include "storage/TempFolder.h"

namespace fs = std::filesystem;

namespace {

class DamagedInput : public testing::Test {
protected:
    kxtest::ToolResult Run(const std::vector<std::string>& args) const {
        return kxtest::RunTool(args, folder.Path());
    }
    std::string Path(const std::string& name) const { return folder.Path(name); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        return folder.Write(name, bytes);
    }
    std::string SmallLevel() const {
        return kxtest::ReadFileBytes(fs::path(KX_TEST_DATA_DIR) / "levels" / "small_v4.kxlev");
    }

    kxtest::TempFolder folder;
};

} // namespace

TEST_F(DamagedInput, ALevelCutShortIsReadAsFarAsItGoesWithAWarning) {
    const std::string whole = SmallLevel();
    const std::string cut = Write("cut.kxlev", whole.substr(0, whole.size() - 10));
    const std::string complete = Write("whole.kxlev", whole);
    const std::string warning = "warning: " + cut + ": the level file is cut short";
    for (const std::vector<std::string>& args : {std::vector<std::string>{"level", "info", cut},
                                                 {"level", "dump", cut},
                                                 {"level", "convert", cut, Path("out.kxlev")}}) {
        SCOPED_TRACE(args[1]);
        const kxtest::ToolResult run = Run(args);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_NE(run.err.find(warning), std::string::npos) << run.err;
    }
    const kxtest::ToolResult clean = Run({"level", "info", complete});
    EXPECT_EQ(clean.status, 0);
    EXPECT_EQ(clean.err, "");
    // The converted copy is complete, so it no longer warns.
    EXPECT_EQ(Run({"level", "info", Path("out.kxlev")}).err, "");
}

TEST_F(DamagedInput, EndlessInputsStopAtTheSizeLimitAtOnce) {
    const std::string level = Write("small.kxlev", SmallLevel());
    const auto start = std::chrono::steady_clock::now();
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"level", "compile", "/dev/zero", Path("out.kxlev")},
          {"play", level, "--tape", "/dev/zero"},
          {"sound", "--wav", "/dev/zero", Path("out.wav")}}) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        const kxtest::ToolResult run = Run(args);
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find("/dev/zero: larger than the limit of 64 MB"), std::string::npos)
            << run.err;
    }
    EXPECT_FALSE(fs::exists(Path("out.kxlev")));
    EXPECT_FALSE(fs::exists(Path("out.wav")));
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    EXPECT_LT(seconds, 120.0);
}

TEST_F(DamagedInput, ALevelFromAPipeReadsAsFromAFile) {
    const std::string level = Write("small.kxlev", SmallLevel());
    const std::string command = kxtest::ShellQuote(KX_OUTPUT_DIR "/krawlix-tool") +
                                " level info /dev/stdin < " + kxtest::ShellQuote(level) + " > " +
                                kxtest::ShellQuote(Path("piped.txt"));
    ASSERT_EQ(std::system(("cat " + kxtest::ShellQuote(level) + " | " + command).c_str()), 0);
    const std::string direct = Run({"level", "info", level}).out;
    std::string piped = kxtest::ReadFileBytes(Path("piped.txt"));
    EXPECT_EQ(piped.substr(piped.find('\n')), direct.substr(direct.find('\n')));
}

TEST_F(DamagedInput, EndlessZerosAreAnEmptyArchiveAtOnce) {
    // The root record is complete after its twelve bytes; reading on would meet the limit
    // for piped archives and fail.
    const kxtest::ToolResult run = Run({"archive", "list", "/dev/zero"});
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.out, "");
    EXPECT_EQ(run.err, "");
}

TEST_F(DamagedInput, AManifestThatIsAFolderOrMissingWritesNoArchive) {
    folder.MakeFolder("manifest.d");
    for (const std::string& manifest : {Path("manifest.d"), Path("missing.manifest")}) {
        const kxtest::ToolResult run = Run({"archive", "pack", Path("out.bfres"), manifest});
        EXPECT_EQ(run.status, 1) << manifest;
        EXPECT_NE(run.err.find(manifest), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(Path("out.bfres")));
    }
}

TEST_F(DamagedInput, ASoundFarOutsideTheUsualRatesIsRefused) {
    std::vector<uint8_t> samples(65536, 0x80);
    const auto wav = kx::MakeWavBytes(1, 8, 1, samples.data(), 65536);
    const std::string slow = Write("slow.wav", std::string(wav.begin(), wav.end()));
    const kxtest::ToolResult run = Run({"sound", "--wav", slow, Path("out.wav")});
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("1 Hz is outside 4000 to 192000 Hz"), std::string::npos) << run.err;
    EXPECT_FALSE(fs::exists(Path("out.wav")));
}

TEST_F(DamagedInput, AnOptionWithoutItsValueIsAnErrorInEveryCommand) {
    const std::string level = Write("small.kxlev", SmallLevel());
    const auto bmp = kxtest::MakeBmp(32, 32, [](int, int) -> kx::Colour { return 0x808080; });
    const std::string sheet = Write("in.bmp", std::string(bmp.begin(), bmp.end()));
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"sheet", sheet, Path("out.png"), "--key"},
          {"text", "2", "A", Path("out.png"), "--archive"},
          {"render", level, Path("out.png"), "--size"},
          {"markup", "x", Path("out.png"), "--size"},
          {"play", level, "--seed"},
          {"sound", "--wav", Path("none.wav"), Path("out.png"), "--rate"}}) {
        SCOPED_TRACE(args[0]);
        const kxtest::ToolResult run = Run(args);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find(args.back()), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(Path("--key")));
    EXPECT_FALSE(fs::exists(Path("out.png")));
}

TEST_F(DamagedInput, NumbersWithBlanksOrBeyondTheirRangeAreRefused) {
    const std::string level = Write("small.kxlev", SmallLevel());
    const auto bmp = kxtest::MakeBmp(32, 32, [](int, int) -> kx::Colour { return 0x808080; });
    const std::string sheet = Write("in.bmp", std::string(bmp.begin(), bmp.end()));
    const std::string out = Path("out.png");
    for (const std::vector<std::string>& args :
         {std::vector<std::string>{"render", level, out, "--background", "99999999999999999999999"},
          {"render", level, out, "--background", " 5"},
          {"render", level, out, "--size", "64x 64"},
          {"render", level, out, "--at", "99999999999,0"},
          {"text", " 2", "A", out},
          {"sheet", sheet, out, "--key", " FFFFF"},
          {"sheet", sheet, out, "--key", "+FFFFF"},
          {"markup", "x", out, "--size", "99999999999x5"},
          {"play", level, "--seed", " 5"}}) {
        SCOPED_TRACE(args[3]);
        const kxtest::ToolResult run = Run(args);
        EXPECT_EQ(run.status, 1) << run.err;
    }
    EXPECT_FALSE(fs::exists(out));
}

TEST_F(DamagedInput, TextInAFontOfHugeGlyphsIsRefusedWithoutOverflow) {
    kxtest::FontBuilder font(0x7FFFFFF0);
    font.Glyph('A', 0, 0, 0x7FFFFFF0, 4);
    Write("F02.dxfont", std::string(font.bytes.begin(), font.bytes.end()));
    Write("manifest", "dxfont F02 F02.dxfont\n");
    const std::string archive = Path("fonts.bfres");
    ASSERT_EQ(Run({"archive", "pack", archive, Path("manifest")}).status, 0);
    for (const bool fixed : {false, true}) {
        std::vector<std::string> args = {"text",          "2",         "AAAA",
                                         Path("out.png"), "--archive", archive};
        if (fixed) {
            args.push_back("--fixed");
        }
        const kxtest::ToolResult run = Run(args);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find("too long"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(Path("out.png")));
}

TEST_F(DamagedInput, ANamedPipeThatNobodyWritesToEndsEveryReaderAtOnceWithAMessage) {
    kxtest::Fifo fifo(Path("pipe.kxlev"));
    ASSERT_TRUE(fifo.Made());
    fifo.Watch(kxtest::kFifoPatience);
    const std::string level = Write("small.kxlev", SmallLevel());
    struct Case {
        std::vector<std::string> args;
        int status;
    } cases[] = {
        {{"level", "info", fifo.Path()}, 1},
        {{"play", fifo.Path()}, 1},
        {{"solve", fifo.Path()}, 1},
        {{"check", "--solve", fifo.Path()}, 2},
        {{"render", fifo.Path(), Path("out.png")}, 1},
        {{"edit-shot", fifo.Path(), "--state"}, 1},
        {{"markup", "x", Path("out.png"), "--archive", fifo.Path()}, 1},
        {{"play", level, "--tape", fifo.Path()}, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const kxtest::ToolResult run = Run(c.args);
        EXPECT_EQ(run.status, c.status) << run.err;
        EXPECT_NE(run.err.find("pipe.kxlev"), std::string::npos) << run.err;
    }
    EXPECT_FALSE(fs::exists(Path("out.png")));
    fifo.Stop();
    EXPECT_FALSE(fifo.Rescued()) << "a command waited for a writer";
}
