// Benchmarks of the sound start-up: reading and converting the thirteen effects once.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <vector>

#include "sound/SoundSample.h"
#include "sound/WaveOutDevice.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

namespace {

void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

void PutId(std::vector<uint8_t>& out, const char* id) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(id[i]));
}

// A 16-bit tone WAV of the given length and format.
std::vector<uint8_t> MakeWav(double seconds, uint32_t rate, uint16_t channels) {
    auto frames = static_cast<uint32_t>(seconds * rate);
    uint32_t dataSize = frames * channels * 2;
    std::vector<uint8_t> out;
    PutId(out, "RIFF");
    PutU32(out, 36 + dataSize);
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, channels);
    PutU32(out, rate);
    PutU32(out, rate * channels * 2);
    PutU16(out, channels * 2);
    PutU16(out, 16);
    PutId(out, "data");
    PutU32(out, dataSize);
    for (uint32_t i = 0; i < frames * channels; ++i)
        PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(12000 * std::sin(i * 0.05))));
    return out;
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
