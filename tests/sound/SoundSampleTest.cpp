// Tests of WAV reading and of the four conversions of CSoundSample.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

#include "WavBytes.h"
#include "sound/SoundSample.h"
#include "sound/WaveOutDevice.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

using kx::CSoundSample;
using namespace kxtest;

namespace {

bool Parse(CSoundSample& sample, const std::vector<uint8_t>& bytes) {
    kx::CMemBlock block;
    block.CopyFrom(bytes.data(), static_cast<uint32_t>(bytes.size()));
    kx::CMemSerializer store(block, false);
    return sample.ParseWav(store);
}

std::vector<int> Values16(const CSoundSample& s) {
    std::vector<int> out;
    for (uint32_t i = 0; i + 1 < s.GetSize(); i += 2)
        out.push_back(static_cast<int16_t>(s.GetData()[i] | (s.GetData()[i + 1] << 8)));
    return out;
}

std::vector<int> Values8(const CSoundSample& s) {
    return std::vector<int>(s.GetData(), s.GetData() + s.GetSize());
}

void SetS16(CSoundSample& s, std::initializer_list<int> values, int rate, int channels) {
    std::vector<uint8_t> bytes = S16(values);
    ASSERT_TRUE(
        s.SetSampleData(bytes.data(), static_cast<uint32_t>(bytes.size()), 16, rate, channels));
}

void SetU8(CSoundSample& s, const std::vector<uint8_t>& bytes, int rate, int channels) {
    ASSERT_TRUE(
        s.SetSampleData(bytes.data(), static_cast<uint32_t>(bytes.size()), 8, rate, channels));
}

} // namespace

TEST(WavParsing, ReadsFormatAndSamples) {
    WavSpec wav;
    wav.channels = 2;
    wav.rate = 11025;
    wav.data = S16({1, -2, 300, -400});
    CSoundSample s;
    ASSERT_TRUE(Parse(s, MakeWav(wav)));
    EXPECT_EQ(s.GetRate(), 11025);
    EXPECT_TRUE(s.Is16Bit());
    EXPECT_EQ(s.GetChannels(), 2);
    EXPECT_EQ(Values16(s), (std::vector<int>{1, -2, 300, -400}));
}

TEST(WavParsing, EighteenByteFormatChunkIsReadPastItsExtraBytes) {
    WavSpec wav;
    wav.bits = 8;
    wav.fmtExtra = 2;
    wav.data = {10, 20, 30};
    CSoundSample s;
    ASSERT_TRUE(Parse(s, MakeWav(wav)));
    EXPECT_FALSE(s.Is16Bit());
    EXPECT_EQ(Values8(s), (std::vector<int>{10, 20, 30}));
}

TEST(WavParsing, ChunksBeforeDataAreSkipped) {
    WavSpec wav;
    wav.bits = 8;
    std::vector<uint8_t> list = Chunk("LIST", {'I', 'N', 'F', 'O', 'd', 'a', 't', 'a'});
    std::vector<uint8_t> fact = Chunk("fact", {1, 0, 0, 0});
    wav.beforeData = list;
    wav.beforeData.insert(wav.beforeData.end(), fact.begin(), fact.end());
    wav.data = {1, 2, 3, 4};
    CSoundSample s;
    ASSERT_TRUE(Parse(s, MakeWav(wav)));
    EXPECT_EQ(Values8(s), (std::vector<int>{1, 2, 3, 4}));
}

TEST(WavParsing, UnsupportedFormatsAreRefused) {
    auto refused = [](WavSpec wav) {
        wav.data = S16({1, 2});
        CSoundSample s;
        bool ok = Parse(s, MakeWav(wav));
        return !ok && !s.HasData();
    };
    WavSpec notPcm;
    notPcm.tag = 3;
    EXPECT_TRUE(refused(notPcm));
    WavSpec bits24;
    bits24.bits = 24;
    EXPECT_TRUE(refused(bits24));
    WavSpec noChannels;
    noChannels.channels = 0;
    EXPECT_TRUE(refused(noChannels));
    WavSpec threeChannels;
    threeChannels.channels = 3;
    EXPECT_TRUE(refused(threeChannels));
    WavSpec zeroRate;
    zeroRate.rate = 0;
    EXPECT_TRUE(refused(zeroRate));
}

TEST(WavParsing, FormatChunkMustComeFirst) {
    WavSpec wav;
    wav.data = S16({5});
    std::vector<uint8_t> bytes = MakeWav(wav);
    std::vector<uint8_t> junk = Chunk("JUNK", {0, 0, 0, 0});
    bytes.insert(bytes.begin() + 12, junk.begin(), junk.end());
    CSoundSample s;
    EXPECT_FALSE(Parse(s, bytes));
}

TEST(WavParsing, NotRiffWaveIsRefused) {
    WavSpec wav;
    wav.data = S16({5});
    std::vector<uint8_t> bytes = MakeWav(wav);
    bytes[8] = 'X';
    CSoundSample s;
    EXPECT_FALSE(Parse(s, bytes));
    bytes = MakeWav(wav);
    bytes[0] = 'r';
    EXPECT_FALSE(Parse(s, bytes));
}

TEST(WavParsing, EveryTruncationIsRefused) {
    WavSpec wav;
    wav.fmtExtra = 2;
    wav.beforeData = Chunk("LIST", {1, 2, 3, 4, 5, 6});
    wav.data = S16({1, 2, 3, 4});
    std::vector<uint8_t> bytes = MakeWav(wav);
    for (size_t n = 0; n < bytes.size(); ++n) {
        CSoundSample s;
        std::vector<uint8_t> prefix(bytes.begin(), bytes.begin() + static_cast<long>(n));
        EXPECT_FALSE(Parse(s, prefix)) << n << " bytes";
        EXPECT_FALSE(s.HasData());
    }
    CSoundSample whole;
    EXPECT_TRUE(Parse(whole, bytes));
}

TEST(WavParsing, OversizedDataChunkFailsWithoutReadingPastTheEnd) {
    WavSpec wav;
    wav.data = S16({1, 2});
    std::vector<uint8_t> bytes = MakeWav(wav);
    // The data chunk's size field sits just before its 4 bytes.
    size_t sizeAt = bytes.size() - 4 - 4;
    for (uint32_t stated : {5u, 0x7FFFFFFFu, 0xFFFFFFFFu}) {
        bytes[sizeAt] = static_cast<uint8_t>(stated);
        bytes[sizeAt + 1] = static_cast<uint8_t>(stated >> 8);
        bytes[sizeAt + 2] = static_cast<uint8_t>(stated >> 16);
        bytes[sizeAt + 3] = static_cast<uint8_t>(stated >> 24);
        CSoundSample s;
        EXPECT_FALSE(Parse(s, bytes)) << stated;
    }
}

TEST(WavParsing, OversizedChunkBeforeDataFails) {
    WavSpec wav;
    wav.beforeData = Chunk("LIST", {1, 2});
    wav.beforeData[4] = 0xFF;
    wav.beforeData[5] = 0xFF;
    wav.beforeData[6] = 0xFF;
    wav.beforeData[7] = 0xFF;
    wav.data = S16({1});
    CSoundSample s;
    EXPECT_FALSE(Parse(s, MakeWav(wav)));
}

TEST(WavParsing, AFailedParseLeavesTheSampleEmpty) {
    WavSpec wav;
    wav.data = S16({7, 8});
    CSoundSample s;
    ASSERT_TRUE(Parse(s, MakeWav(wav)));
    wav.tag = 2;
    EXPECT_FALSE(Parse(s, MakeWav(wav)));
    EXPECT_FALSE(s.HasData());
    EXPECT_EQ(s.GetRate(), 8000);
    EXPECT_EQ(s.GetChannels(), 1);
}

TEST(WavParsing, LoadWavFileReadsAFileAndMissingFilesGiveFalse) {
    WavSpec wav;
    wav.bits = 8;
    wav.data = {1, 2, 3};
    std::vector<uint8_t> bytes = MakeWav(wav);
    auto path = std::filesystem::temp_directory_path() / "kx_sound_test_load.wav";
    {
        std::ofstream out(path, std::ios::binary);
        out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<long>(bytes.size()));
    }
    CSoundSample s;
    EXPECT_TRUE(s.LoadWavFile(path.string()));
    EXPECT_EQ(Values8(s), (std::vector<int>{1, 2, 3}));
    std::filesystem::remove(path);
    EXPECT_FALSE(s.LoadWavFile(path.string()));
    EXPECT_FALSE(s.HasData());
}

TEST(SampleData, UnsupportedBitsOrChannelsLeaveTheSampleEmpty) {
    uint8_t bytes[4] = {1, 2, 3, 4};
    CSoundSample s;
    EXPECT_FALSE(s.SetSampleData(bytes, 4, 12, 22050, 1));
    EXPECT_FALSE(s.HasData());
    EXPECT_FALSE(s.SetSampleData(bytes, 4, 8, 22050, 0));
    EXPECT_FALSE(s.HasData());
    EXPECT_TRUE(s.SetSampleData(bytes, 4, 8, 22050, 2));
    EXPECT_EQ(s.GetSize(), 4u);
}

TEST(Conversion, EightBitBecomesSixteenBitAroundZero) {
    CSoundSample s;
    SetU8(s, {0, 127, 128, 255}, 8000, 1);
    s.ConvertTo16Bit();
    EXPECT_TRUE(s.Is16Bit());
    EXPECT_EQ(Values16(s), (std::vector<int>{-32768, -256, 0, 32512}));
}

TEST(Conversion, SixteenBitBecomesUnsignedEightBit) {
    CSoundSample s;
    SetS16(s, {-32768, -1, 0, 255, 256, 32767}, 8000, 1);
    s.ConvertTo8Bit();
    EXPECT_FALSE(s.Is16Bit());
    EXPECT_EQ(Values8(s), (std::vector<int>{0, 127, 128, 128, 129, 255}));
}

TEST(Conversion, MonoAveragesChannelsTruncatingTowardZero) {
    CSoundSample s;
    SetS16(s, {100, 201, -3, 0, 32767, 32767}, 11025, 2);
    s.ConvertToMono();
    EXPECT_EQ(s.GetChannels(), 1);
    EXPECT_EQ(s.GetRate(), 11025);
    EXPECT_EQ(Values16(s), (std::vector<int>{150, -1, 32767}));

    CSoundSample eight;
    SetU8(eight, {0, 255, 10, 11}, 11025, 2);
    eight.ConvertToMono();
    EXPECT_EQ(Values8(eight), (std::vector<int>{127, 10}));
}

TEST(Conversion, UpsamplingKeepsBothEnds) {
    std::vector<uint8_t> bytes(1001);
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = static_cast<uint8_t>(i * 7 + 3);
    CSoundSample s;
    SetU8(s, bytes, 11025, 1);
    s.Resample(22050);
    EXPECT_EQ(s.GetRate(), 22050);
    ASSERT_EQ(s.GetFrameCount(), 2000u);
    EXPECT_EQ(s.GetData()[0], bytes.front());
    EXPECT_EQ(s.GetData()[1999], bytes.back());
    // Nearest neighbour: output 1 is at source 0.5, rounded up to source 1.
    EXPECT_EQ(s.GetData()[1], bytes[1]);
}

TEST(Conversion, DownsamplingPicksNearestFramesOfEveryChannel) {
    CSoundSample s;
    SetS16(s, {0, 1, 10, 11, 20, 21, 30, 31, 40, 41}, 22050, 2);
    s.Resample(11025);
    // Four intervals become two frames: the first and the last.
    EXPECT_EQ(Values16(s), (std::vector<int>{0, 1, 40, 41}));
    EXPECT_EQ(s.GetChannels(), 2);
}

TEST(Conversion, ResamplingLeavesSingleFramesAndEqualRatesAlone) {
    CSoundSample s;
    SetS16(s, {5}, 11025, 1);
    s.Resample(22050);
    EXPECT_EQ(s.GetRate(), 11025);
    SetU8(s, {1, 2, 3}, 22050, 1);
    s.Resample(22050);
    EXPECT_EQ(Values8(s), (std::vector<int>{1, 2, 3}));
}

TEST(Conversion, DeviceFormatAveragesStereoAtSixteenBitsBeforeNarrowing) {
    kx::CRecordingWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    CSoundSample s;
    // Narrowing first would give (128 + 129) / 2 = 128; averaging first gives 256 -> 129.
    SetS16(s, {255, 257, 255, 257}, 22050, 2);
    device.ConvertToDevice(s);
    EXPECT_FALSE(s.Is16Bit());
    EXPECT_EQ(s.GetChannels(), 1);
    EXPECT_EQ(Values8(s), (std::vector<int>{129, 129}));
}

TEST(Conversion, DeviceFormatResamplesEightBitMonoAtTheDeviceRate) {
    kx::CRecordingWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(8, 11025, 1));
    CSoundSample s;
    SetU8(s, {0, 50, 100, 150, 200}, 22050, 1);
    device.ConvertToDevice(s);
    EXPECT_EQ(s.GetRate(), 11025);
    EXPECT_EQ(Values8(s), (std::vector<int>{0, 200}));
}

TEST(Conversion, MonoIsNotWidenedForAStereoDevice) {
    kx::CRecordingWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(16, 22050, 2));
    CSoundSample s;
    SetU8(s, {0, 128, 255}, 22050, 1);
    device.ConvertToDevice(s);
    EXPECT_TRUE(s.Is16Bit());
    EXPECT_EQ(s.GetChannels(), 1);
    EXPECT_EQ(Values16(s), (std::vector<int>{-32768, 0, 32512}));
}

TEST(Conversion, WithoutADeviceNothingChanges) {
    kx::CRecordingWaveOutDevice device;
    CSoundSample s;
    SetS16(s, {1, 2}, 44100, 2);
    device.ConvertToDevice(s);
    EXPECT_TRUE(s.Is16Bit());
    EXPECT_EQ(s.GetChannels(), 2);
    EXPECT_EQ(s.GetRate(), 44100);
}

TEST(WavParsing, AnOddSizedChunkIsFollowedByItsPadByte) {
    WavSpec wav;
    wav.bits = 8;
    wav.fmtExtra = 1;
    wav.beforeData = {0}; // the format chunk's pad byte
    std::vector<uint8_t> odd = Chunk("LIST", {'a', 'b', 'c'});
    odd.push_back(0);
    wav.beforeData.insert(wav.beforeData.end(), odd.begin(), odd.end());
    wav.data = {5, 6, 7, 8};
    CSoundSample s;
    ASSERT_TRUE(Parse(s, MakeWav(wav)));
    EXPECT_EQ(Values8(s), (std::vector<int>{5, 6, 7, 8}));
}

TEST(WavParsing, AFormatChunkShorterThanSixteenBytesIsRefused) {
    WavSpec wav;
    wav.bits = 8;
    wav.data = {1, 2, 3, 4};
    std::vector<uint8_t> bytes = MakeWav(wav);
    bytes[16] = 14; // the format chunk's size
    CSoundSample s;
    EXPECT_FALSE(Parse(s, bytes));
    EXPECT_FALSE(s.HasData());
}

TEST(WavConversion, TheDeviceSaysWhenASampleCouldNotBeBroughtToItsFormat) {
    kx::CRecordingWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    CSoundSample single;
    SetS16(single, {1000}, 11025, 1);
    EXPECT_FALSE(device.ConvertToDevice(single)) << "one frame cannot be resampled";
    CSoundSample several;
    SetS16(several, {1000, -1000, 2000, -2000}, 11025, 2);
    EXPECT_TRUE(device.ConvertToDevice(several));
    EXPECT_EQ(several.GetRate(), 22050);
    EXPECT_EQ(several.GetBits(), 8);
    EXPECT_EQ(several.GetChannels(), 1);
}
