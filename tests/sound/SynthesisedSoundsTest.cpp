// Tests of the thirteen synthesised effects that the build puts into the archive.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>

#include "sound/SoundNames.h"
#include "sound/SoundSample.h"

namespace {

int Value(const kx::CSoundSample& s, uint32_t frame) {
    const uint8_t* p = s.GetData() + frame * 2;
    return static_cast<int16_t>(p[0] | (p[1] << 8));
}

// The loudest RMS over any 50 ms, on a -1..1 scale.
double ShortTermRms(const kx::CSoundSample& s) {
    uint32_t window = 1102, frames = s.GetFrameCount();
    double best = 0.0;
    for (uint32_t start = 0; start + window <= frames; start += 100) {
        double sum = 0.0;
        for (uint32_t i = start; i < start + window; ++i)
            sum += std::pow(Value(s, i) / 32768.0, 2);
        best = std::max(best, std::sqrt(sum / window));
    }
    return best;
}

class SynthesisedSound : public ::testing::TestWithParam<const char*> {};

} // namespace

TEST_P(SynthesisedSound, IsAShortCleanMonoEffectAtTheGameRate) {
    std::string name = GetParam();
    kx::CSoundSample s;
    ASSERT_TRUE(s.LoadWavFile(std::string(KX_ASSET_DIR) + "/" + name + ".wav"))
        << "build the sounds target first";
    EXPECT_EQ(s.GetRate(), 22050);
    EXPECT_EQ(s.GetChannels(), 1);
    ASSERT_TRUE(s.Is16Bit());
    double seconds = s.GetFrameCount() / 22050.0;
    if (name == "LevelWon") {
        EXPECT_GT(seconds, 0.8);
        EXPECT_LT(seconds, 1.2);
    } else {
        EXPECT_GT(seconds, 0.04);
        EXPECT_LT(seconds, 0.45);
    }
    // Faded in and out: no click at either end.
    EXPECT_EQ(Value(s, 0), 0);
    EXPECT_LT(std::abs(Value(s, s.GetFrameCount() - 1)), 64);
    // Loud enough to hear after narrowing to 8 bits, and never clipped.
    int peak = 0;
    for (uint32_t i = 0; i < s.GetFrameCount(); ++i)
        peak = std::max(peak, std::abs(Value(s, i)));
    EXPECT_LT(peak, 32000);
    double rms = ShortTermRms(s);
    EXPECT_GT(rms, 0.1) << name;
    EXPECT_LT(rms, 0.3) << name;
}

INSTANTIATE_TEST_SUITE_P(AllThirteen, SynthesisedSound, ::testing::ValuesIn(kx::kSoundNames));
