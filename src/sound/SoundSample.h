// CSoundSample, PCM sound data read from WAV and converted once to the output device's format.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "storage/Store.h"

namespace kx {

// The sample rates a sound file may have: below or above these no sound is meant, and the
// conversion to the device's rate would cost out of all proportion to the file.
inline constexpr int kMinSoundRate = 4000;
inline constexpr int kMaxSoundRate = 192000;

class CSoundSample {
public:
    CSoundSample() = default;
    CSoundSample(const CSoundSample&) = delete;
    CSoundSample& operator=(const CSoundSample&) = delete;

    // Frees the data and returns to the empty values: 8000 Hz, 8-bit, 1 channel, size 0.
    void ReleaseSample();
    // Releases, then copies size bytes with the given format. Bits other than 8 or 16,
    // channels other than 1 or 2, or a failed allocation leave the sample empty; false then.
    bool SetSampleData(const void* bytes, uint32_t size, int bits, int rate, int channels);
    // Reads a PCM WAV image; false (and an empty sample) on anything unsupported or damaged.
    bool ParseWav(IStore& store);
    // Releases, then reads a WAV file; a missing or damaged file gives false, never an exception.
    bool LoadWavFile(const std::string& path);

    void ConvertTo16Bit();
    void ConvertTo8Bit();
    void ConvertToMono();
    // Nearest-neighbour resampling with the first and last frames kept in place.
    void Resample(int newRate);

    int GetRate() const { return rate; }
    bool HasPlausibleRate() const { return rate >= kMinSoundRate && rate <= kMaxSoundRate; }
    bool Is16Bit() const { return is16Bit; }
    int GetBits() const { return is16Bit ? 16 : 8; }
    int GetChannels() const { return channels; }
    uint32_t GetSize() const { return size; }
    const uint8_t* GetData() const { return data.empty() ? nullptr : data.data(); }
    bool HasData() const { return size != 0; }
    // Whole frames (one value per channel) in the data.
    uint32_t GetFrameCount() const;

private:
    int rate = 8000;
    bool is16Bit = false;
    int channels = 1;
    uint32_t size = 0;
    std::vector<uint8_t> data;
};

} // namespace kx
