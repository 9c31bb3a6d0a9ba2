// Every file krawlix-tool writes: a failed write exits 1 with the reason and leaves no half file.
#include <sys/stat.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "ToolRun.h"
#include "field/LevelFile.h"
#include "graphics/GraphicsTestSupport.h"
#include "sound/WavWriter.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/TempFolder.h"

namespace fs = std::filesystem;
using kxtest::ShellQuote;

namespace {

// A level of random walls and corn (about 11 KB on disk, so no output derived from it fits
// in the file-size limit below).
std::string NoisyLevelBytes() {
    kx::CGameFieldBase field;
    field.CreateField(60, 40);
    std::mt19937 random(7);
    for (kx::FieldCell& cell : field.cells) {
        cell.ground = static_cast<uint8_t>(random() % 2 == 0 ? 1 : 64);
        cell.item = random() % 3 == 0 ? kx::ITEM_CORN : kx::kNothing;
    }
    field.CellAt(1, 1).creature = kx::CREATURE_WORM_HEAD;
    kx::CMemBlock bytes;
    {
        kx::CMemSerializer out(bytes, true);
        EXPECT_TRUE(kx::WriteLevel(field, out));
    }
    return std::string(reinterpret_cast<const char*>(bytes.data), bytes.size);
}

// A level source of the same kind.
std::string NoisySource() {
    std::mt19937 random(11);
    std::string text = "map\n" + std::string(60, '#') + "\n";
    for (int y = 0; y < 40; ++y) {
        std::string row = "#";
        for (int x = 0; x < 58; ++x) {
            row += ".c#"[random() % 3];
        }
        text += row + "#\n";
    }
    text[4 + 61 + 1] = 'W';
    return text + std::string(60, '#') + "\nend\n";
}

class WriteFailure : public testing::Test {
protected:
    void SetUp() override {
        level = Write("in.kxlev", NoisyLevelBytes());
        std::vector<uint8_t> samples(20000);
        for (size_t i = 0; i < samples.size(); ++i) {
            samples[i] = static_cast<uint8_t>(i * 7);
        }
        const auto wav = kx::MakeWavBytes(22050, 8, 1, samples.data(), 20000);
        sound = Write("in.wav", std::string(wav.begin(), wav.end()));
        const auto bmp = kxtest::MakeBmp(256, 128, [](int x, int y) -> kx::Colour {
            const auto ux = static_cast<uint32_t>(x);
            const auto uy = static_cast<uint32_t>(y);
            return static_cast<kx::Colour>((ux * 0x10307u + uy * 0x30501u) ^ (ux * uy * 0x9E3779u));
        });
        sheet = Write("in.bmp", std::string(bmp.begin(), bmp.end()));
        Write("manifest", "level big in.kxlev\n");
        archive = Path("in.bfres");
        ASSERT_EQ(kxtest::RunTool({"archive", "pack", archive, Path("manifest")}, dir).status, 0);
        fs::create_directories(dir / "out");
    }

    std::string Path(const std::string& name) const { return (dir / name).string(); }
    std::string Write(const std::string& name, const std::string& bytes) const {
        kxtest::WriteFileBytes(dir / name, bytes);
        return Path(name);
    }

    // Runs the tool with its files limited to 2 KB (ulimit counts blocks of 512 or 1024
    // bytes, either way far below every output here).
    kxtest::ToolResult RunLimited(const std::vector<std::string>& args) const {
        std::string command = "ulimit -f 2; exec " + ShellQuote(KX_OUTPUT_DIR "/krawlix-tool");
        for (const std::string& a : args) {
            command += " " + ShellQuote(a);
        }
        const std::string errPath = Path("err.txt");
        command += " 2>" + ShellQuote(errPath);
        kxtest::ToolResult result;
        const int status = std::system(command.c_str());
        result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.err = kxtest::ReadFileBytes(errPath);
        return result;
    }

    // The output folder holds exactly the given files (no temporary, no partial output).
    std::vector<std::string> OutputFolder() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(dir / "out")) {
            names.push_back(entry.path().filename().string());
        }
        return names;
    }

    void ExpectRefused(const std::vector<std::string>& args) {
        SCOPED_TRACE(args[0] + " " + args[1]);
        Write("out/keep", "old");
        const kxtest::ToolResult run = RunLimited(args);
        EXPECT_EQ(run.status, 1) << run.err;
        EXPECT_NE(run.err.find("File too large"), std::string::npos) << run.err;
        EXPECT_EQ(OutputFolder(), std::vector<std::string>{"keep"});
        EXPECT_TRUE(kxtest::ReadFileBytes(dir / "out" / "keep") == "old");
    }

    kxtest::TempFolder folder;
    fs::path dir = folder.Path();
    std::string level, sound, sheet, archive;
};

} // namespace

TEST_F(WriteFailure, EveryCommandReportsAFileSizeLimitAndKeepsTheOldFile) {
    const std::string keep = Write("out/keep", "old");
    ExpectRefused({"level", "convert", level, keep});
    ExpectRefused({"level", "compile", Write("src.txt", NoisySource()), keep});
    ExpectRefused({"archive", "pack", keep, Path("manifest")});
    ExpectRefused({"archive", "extract", archive, "level", "big", keep});
    ExpectRefused({"sound", "--wav", sound, keep});
    ExpectRefused({"sheet", sheet, keep});
}

TEST_F(WriteFailure, ATapeWrittenToAFullDeviceIsAFailure) {
    struct stat info {};
    if (stat("/dev/full", &info) != 0 || !S_ISCHR(info.st_mode)) {
        GTEST_SKIP() << "/dev/full is not a character device here";
    }
    const kxtest::ToolResult run =
        kxtest::RunTool({"play", level, "--keys", "100:right", "--record", "/dev/full"}, dir);
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
}
