// Benchmarks of the sound start-up: reading and converting the thirteen effects once.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "sound/SoundSample.h"
#include "sound/WavWriter.h"
#include "sound/WaveOutDevice.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

namespace {

// A 16-bit tone WAV of the given length and format.
std::vector<uint8_t> MakeWav(double seconds, uint32_t rate, uint16_t channels) {
    auto values = static_cast<uint32_t>(seconds * rate) * channels;
    std::vector<uint8_t> samples;
    for (uint32_t i = 0; i < values; ++i) {
        auto v = static_cast<uint16_t>(static_cast<int16_t>(12000 * std::sin(i * 0.05)));
        samples.push_back(static_cast<uint8_t>(v & 0xFF));
        samples.push_back(static_cast<uint8_t>(v >> 8));
    }
    return kx::MakeWavBytes(rate, 16, channels, samples.data(),
                            static_cast<uint32_t>(samples.size()));
}

// The lengths of the thirteen synthesised effects, in seconds.
constexpr double kLengths[13] = {0.14, 0.14, 0.3, 0.3, 0.38, 0.38, 0.98,
                                 0.3,  0.36, 0.3, 0.1, 0.42, 0.06};

void ConvertAll(benchmark::State& state, uint32_t rate, uint16_t channels, int deviceRate) {
    std::vector<std::vector<uint8_t>> files;
    for (double seconds : kLengths)
        files.push_back(MakeWav(seconds, rate, channels));
    kx::CRecordingWaveOutDevice device;
    device.OpenDevice(8, deviceRate, 1);
    std::vector<kx::CSoundSample> sounds(13);
    for (auto _ : state) {
        for (size_t i = 0; i < files.size(); ++i) {
            kx::CMemBlock block;
            block.Attach(files[i].data(), static_cast<uint32_t>(files[i].size()), false);
            kx::CMemSerializer store(block, false);
            sounds[i].ParseWav(store);
            device.ConvertToDevice(sounds[i]);
        }
        benchmark::DoNotOptimize(sounds[12].GetData());
    }
}

// The game's own effects: 16-bit mono at 22050 Hz for the 22050 Hz device.
void BM_ConvertThirteenSounds(benchmark::State& state) {
    ConvertAll(state, 22050, 1, 22050);
}
BENCHMARK(BM_ConvertThirteenSounds)->Unit(benchmark::kMillisecond);

// The fallback device at 11025 Hz.
void BM_ConvertThirteenSoundsFallbackRate(benchmark::State& state) {
    ConvertAll(state, 22050, 1, 11025);
}
BENCHMARK(BM_ConvertThirteenSoundsFallbackRate)->Unit(benchmark::kMillisecond);

// The worst case a replaced sound could bring: 16-bit stereo at 44100 Hz.
void BM_ConvertThirteenStereo44kSounds(benchmark::State& state) {
    ConvertAll(state, 44100, 2, 22050);
}
BENCHMARK(BM_ConvertThirteenStereo44kSounds)->Unit(benchmark::kMillisecond);

} // namespace
