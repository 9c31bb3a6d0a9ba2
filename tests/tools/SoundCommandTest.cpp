// Tests of krawlix-tool sound: conversion to the game's device format and its failures.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "sound/WavBytes.h"

namespace fs = std::filesystem;
using namespace kxtest;

namespace {

class SoundCommand : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kx_sound_command_" +
                  std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { fs::remove_all(folder); }

    std::string Path(const std::string& name) const { return (folder / name).string(); }

    void WriteFile(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream out(Path(name), std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }

    std::vector<uint8_t> ReadFile(const std::string& name) const {
        std::ifstream in(Path(name), std::ios::binary);
        return std::vector<uint8_t>(std::istreambuf_iterator<char>(in), {});
    }

    // Runs the tool; its standard error lands in stderrText.
    int Run(const std::string& arguments) {
        std::string command = std::string(KX_OUTPUT_DIR) + "/krawlix-tool " + arguments + " 2>" +
                              Path("stderr.txt") + " >/dev/null";
        int status = std::system(command.c_str());
        std::vector<uint8_t> err = ReadFile("stderr.txt");
        stderrText.assign(err.begin(), err.end());
        return WEXITSTATUS(status);
    }

    static uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
        return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) |
               (static_cast<uint32_t>(b[at + 3]) << 24);
    }
    static uint32_t U16(const std::vector<uint8_t>& b, size_t at) {
        return b[at] | (b[at + 1] << 8);
    }

    fs::path folder;
    std::string stderrText;
};

} // namespace

TEST_F(SoundCommand, StereoSixteenBitBecomesEightBitMonoAtTheDeviceRate) {
    WavSpec wav;
    wav.channels = 2;
    wav.rate = 11025;
    wav.fmtExtra = 2;
    wav.beforeData = Chunk("LIST", {1, 2, 3, 4});
    // Three frames: 256 (averaged from 255 and 257), -32768, and 32767.
    wav.data = S16({255, 257, -32768, -32768, 32767, 32767});
    WriteFile("in.wav", MakeWav(wav));
    ASSERT_EQ(Run("sound --wav " + Path("in.wav") + " " + Path("out.wav")), 0) << stderrText;

    std::vector<uint8_t> out = ReadFile("out.wav");
    ASSERT_GE(out.size(), 44u);
    EXPECT_EQ(std::string(out.begin(), out.begin() + 4), "RIFF");
    EXPECT_EQ(U32(out, 4), out.size() - 8);
    EXPECT_EQ(std::string(out.begin() + 8, out.begin() + 16), "WAVEfmt ");
    EXPECT_EQ(U32(out, 16), 16u);
    EXPECT_EQ(U16(out, 20), 1u);     // PCM
    EXPECT_EQ(U16(out, 22), 1u);     // mono
    EXPECT_EQ(U32(out, 24), 22050u); // rate
    EXPECT_EQ(U32(out, 28), 22050u); // bytes per second
    EXPECT_EQ(U16(out, 32), 1u);
    EXPECT_EQ(U16(out, 34), 8u);
    EXPECT_EQ(std::string(out.begin() + 36, out.begin() + 40), "data");
    // Three frames: 2 / 11025 * 22050 + 0.5 gives 4 frames, the ends kept in place.
    ASSERT_EQ(U32(out, 40), 4u);
    ASSERT_EQ(out.size(), 48u);
    std::vector<uint8_t> samples(out.begin() + 44, out.end());
    EXPECT_EQ(samples, (std::vector<uint8_t>{129, 0, 0, 255}));
}

TEST_F(SoundCommand, RateOptionChoosesTheFallbackRate) {
    WavSpec wav;
    wav.bits = 8;
    wav.rate = 22050;
    wav.data = {0, 50, 100, 150, 200};
    WriteFile("in.wav", MakeWav(wav));
    ASSERT_EQ(Run("sound --wav " + Path("in.wav") + " " + Path("out.wav") + " --rate 11025"), 0)
        << stderrText;
    std::vector<uint8_t> out = ReadFile("out.wav");
    ASSERT_EQ(out.size(), 46u);
    EXPECT_EQ(U32(out, 24), 11025u);
    EXPECT_EQ(out[44], 0);
    EXPECT_EQ(out[45], 200);
}

TEST_F(SoundCommand, ARefusedWavGivesStatusOneAndOneLine) {
    WavSpec wav;
    wav.tag = 3; // floating point
    wav.data = S16({1, 2});
    WriteFile("float.wav", MakeWav(wav));
    EXPECT_EQ(Run("sound --wav " + Path("float.wav") + " " + Path("out.wav")), 1);
    ASSERT_FALSE(stderrText.empty());
    EXPECT_EQ(stderrText.find('\n'), stderrText.size() - 1);
    EXPECT_FALSE(fs::exists(Path("out.wav")));
}

TEST_F(SoundCommand, ASoundOfTheArchiveIsFoundByName) {
    WavSpec wav;
    wav.bits = 8;
    wav.rate = 22050;
    wav.data = {7, 8, 9};
    WriteFile("click.wav", MakeWav(wav));
    {
        std::ofstream manifest(Path("sounds.manifest"));
        manifest << "sound switch " << Path("click.wav") << "\n";
    }
    ASSERT_EQ(Run("archive pack " + Path("test.bfres") + " " + Path("sounds.manifest")), 0)
        << stderrText;
    ASSERT_EQ(Run("sound switch " + Path("out.wav") + " --archive " + Path("test.bfres")), 0)
        << stderrText;
    std::vector<uint8_t> out = ReadFile("out.wav");
    ASSERT_EQ(out.size(), 47u);
    EXPECT_EQ(std::vector<uint8_t>(out.begin() + 44, out.end()), (std::vector<uint8_t>{7, 8, 9}));

    EXPECT_EQ(Run("sound confirm " + Path("out2.wav") + " --archive " + Path("test.bfres")), 1);
    EXPECT_NE(stderrText.find("confirm"), std::string::npos);
}

TEST_F(SoundCommand, AnArchiveThatDoesNotOpenIsReportedInUtf8) {
    EXPECT_EQ(Run("sound switch " + Path("out.wav") + " --archive " + Path("none.bfres")), 1);
    // The file error's German text reaches the terminal as UTF-8 ("ö" is C3 B6).
    EXPECT_NE(stderrText.find("konnte nicht zum Lesen ge\xC3\xB6"
                              "ffnet werden."),
              std::string::npos)
        << stderrText;
}
