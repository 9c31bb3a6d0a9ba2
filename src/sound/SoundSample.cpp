// CSoundSample: WAV reading and the four format conversions.
#include "SoundSample.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "storage/ByteOrder.h"
#include "storage/FileEx.h"

namespace kx {

namespace {

void PutS16(uint8_t* p, int value) {
    StoreU16LE(p, static_cast<uint16_t>(static_cast<int16_t>(value)));
}

bool HasId(const uint8_t* p, const char* id) {
    return std::memcmp(p, id, 4) == 0;
}

// A skip that the stream cannot hold would only fail at the next read; refusing it here
// spares the reads of a default Skip over a hostile size.
bool SkipChecked(IStore& store, uint32_t n) {
    uint64_t left = store.BytesLeft();
    if (left != IStore::kUnknownLength && n > left)
        return false;
    store.Skip(n);
    return true;
}

} // namespace

void CSoundSample::ReleaseSample() {
    std::vector<uint8_t>().swap(data);
    rate = 8000;
    is16Bit = false;
    channels = 1;
    size = 0;
}

bool CSoundSample::SetSampleData(const void* bytes, uint32_t n, int bits, int newRate,
                                 int newChannels) {
    ReleaseSample();
    if (bits != 8 && bits != 16)
        return false;
    // The conversions divide by the channel count; anything but mono or stereo is refused.
    if (newChannels < 1 || newChannels > 2)
        return false;
    if (n != 0) {
        try {
            data.resize(n);
        } catch (const std::bad_alloc&) {
            ReleaseSample();
            return false;
        }
        std::memcpy(data.data(), bytes, n);
    }
    size = n;
    is16Bit = bits == 16;
    rate = newRate;
    channels = newChannels;
    return true;
}

uint32_t CSoundSample::GetFrameCount() const {
    uint32_t frames = size / static_cast<uint32_t>(channels);
    return is16Bit ? frames / 2 : frames;
}

bool CSoundSample::ParseWav(IStore& store) {
    ReleaseSample();
    uint8_t riff[12];
    if (!store.Read(riff, sizeof riff) || !HasId(riff, "RIFF") || !HasId(riff + 8, "WAVE"))
        return false;

    // The format chunk must come first.
    uint8_t fmt[24];
    if (!store.Read(fmt, sizeof fmt) || !HasId(fmt, "fmt "))
        return false;
    // A format chunk shorter than its sixteen fields would have lent bytes of the next chunk;
    // chunks of odd size are followed by a pad byte.
    uint32_t fmtSize = LoadU32LE(fmt + 4);
    if (fmtSize < 16 || fmtSize == 0xFFFFFFFFu)
        return false;
    const uint32_t fmtRest = fmtSize - 16 + (fmtSize & 1);
    if (fmtRest > 0 && !SkipChecked(store, fmtRest))
        return false;
    const uint8_t* format = fmt + 8;
    uint16_t tag = LoadU16LE(format);
    uint16_t channelCount = LoadU16LE(format + 2);
    auto sampleRate = static_cast<int32_t>(LoadU32LE(format + 4));
    uint16_t bits = LoadU16LE(format + 14);
    if (tag != 1 || (bits != 8 && bits != 16) || channelCount < 1 || channelCount > 2)
        return false;
    // Resampling divides by the rate.
    if (sampleRate <= 0)
        return false;

    uint8_t header[8];
    if (!store.Read(header, sizeof header))
        return false;
    while (!HasId(header, "data")) {
        const uint32_t chunkSize = LoadU32LE(header + 4);
        if (chunkSize == 0xFFFFFFFFu || !SkipChecked(store, chunkSize + (chunkSize & 1)) ||
            !store.Read(header, sizeof header))
            return false;
    }

    uint32_t dataSize = LoadU32LE(header + 4);
    uint64_t left = store.BytesLeft();
    if (left != IStore::kUnknownLength && dataSize > left)
        return false;
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(dataSize);
    } catch (const std::bad_alloc&) {
        return false;
    }
    if (dataSize != 0 && !store.Read(bytes.data(), dataSize))
        return false;
    return SetSampleData(bytes.data(), dataSize, bits, sampleRate, channelCount);
}

bool CSoundSample::LoadWavFile(const std::string& path) {
    ReleaseSample();
    try {
        CFileEx file(false);
        file.SetPath(path, true);
        if (!file.OpenRead())
            return false;
        return ParseWav(file);
    } catch (...) {
        // A file object made not to raise should not; a damaged file is only a false.
        ReleaseSample();
        return false;
    }
}

void CSoundSample::ConvertTo16Bit() {
    if (!HasData() || is16Bit || size > std::numeric_limits<uint32_t>::max() / 2)
        return;
    std::vector<uint8_t> wide(static_cast<size_t>(size) * 2);
    for (uint32_t i = 0; i < size; ++i)
        PutS16(&wide[i * 2], (data[i] - 128) * 256);
    SetSampleData(wide.data(), size * 2, 16, rate, channels);
}

void CSoundSample::ConvertTo8Bit() {
    if (!HasData() || !is16Bit)
        return;
    uint32_t count = size / 2;
    std::vector<uint8_t> narrow(count);
    for (uint32_t i = 0; i < count; ++i)
        narrow[i] = static_cast<uint8_t>((LoadI16LE(&data[i * 2]) + 32768) >> 8);
    SetSampleData(narrow.data(), count, 8, rate, channels);
}

void CSoundSample::ConvertToMono() {
    if (!HasData() || channels == 1)
        return;
    uint32_t bytesPerValue = is16Bit ? 2 : 1;
    uint32_t frames = size / (static_cast<uint32_t>(channels) * bytesPerValue);
    std::vector<uint8_t> mono(static_cast<size_t>(frames) * bytesPerValue);
    for (uint32_t f = 0; f < frames; ++f) {
        int sum = 0;
        for (int c = 0; c < channels; ++c) {
            size_t index = (static_cast<size_t>(f) * channels + c) * bytesPerValue;
            sum += is16Bit ? LoadI16LE(&data[index]) : data[index];
        }
        int value = sum / channels;
        if (is16Bit)
            PutS16(&mono[f * 2], std::clamp(value, -32768, 32767));
        else
            mono[f] = static_cast<uint8_t>(std::clamp(value, 0, 255));
    }
    SetSampleData(mono.data(), frames * bytesPerValue, GetBits(), rate, 1);
}

void CSoundSample::Resample(int newRate) {
    if (!HasData() || rate == newRate || rate <= 0 || newRate <= 0)
        return;
    uint32_t frames = GetFrameCount();
    if (frames < 2)
        return;
    uint32_t last = frames - 1;
    double exact = static_cast<double>(last) / rate * newRate + 0.5;
    uint32_t frameBytes = static_cast<uint32_t>(channels) * (is16Bit ? 2 : 1);
    // The result must fit the 32-bit size; a hostile rate pair must not ask for more.
    if (exact * frameBytes >= static_cast<double>(std::numeric_limits<uint32_t>::max()))
        return;
    auto count = static_cast<uint32_t>(exact);
    std::vector<uint8_t> out;
    try {
        out.resize(static_cast<size_t>(count) * frameBytes);
    } catch (const std::bad_alloc&) {
        return;
    }
    for (uint32_t i = 0; i < count; ++i) {
        uint32_t source = 0;
        if (count > 1) {
            double position = static_cast<double>(i) * last / (count - 1) + 0.5;
            source = std::min(static_cast<uint32_t>(position), last);
        }
        std::memcpy(&out[static_cast<size_t>(i) * frameBytes],
                    &data[static_cast<size_t>(source) * frameBytes], frameBytes);
    }
    SetSampleData(out.data(), count * frameBytes, GetBits(), newRate, channels);
}

} // namespace kx
