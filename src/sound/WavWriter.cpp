// Plain PCM WAV bytes for the tools that write sounds.
#include "sound/WavWriter.h"

#include "sound/SoundSample.h"
#include "storage/ByteOrder.h"
#include "storage/OutputFile.h"

namespace kx {

namespace {
void PutId(std::vector<uint8_t>& out, const char* id) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(id[i]));
}
} // namespace

std::vector<uint8_t> MakeWavBytes(uint32_t rate, uint16_t bits, uint16_t channels,
                                  const uint8_t* data, uint32_t size) {
    uint32_t block = static_cast<uint32_t>(bits / 8) * channels;
    std::vector<uint8_t> out;
    out.reserve(44 + static_cast<size_t>(size));
    PutId(out, "RIFF");
    AppendU32LE(out, 36 + size);
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    AppendU32LE(out, 16);
    AppendU16LE(out, 1); // PCM
    AppendU16LE(out, channels);
    AppendU32LE(out, rate);
    AppendU32LE(out, rate * block);
    AppendU16LE(out, static_cast<uint16_t>(block));
    AppendU16LE(out, bits);
    PutId(out, "data");
    AppendU32LE(out, size);
    if (data != nullptr)
        out.insert(out.end(), data, data + size);
    return out;
}

std::vector<uint8_t> MakeWavBytes(const CSoundSample& sample) {
    return MakeWavBytes(static_cast<uint32_t>(sample.GetRate()), sample.Is16Bit() ? 16 : 8,
                        static_cast<uint16_t>(sample.GetChannels()),
                        sample.HasData() ? sample.GetData() : nullptr, sample.GetSize());
}

bool WriteWavFile(const std::string& path, const std::vector<uint8_t>& bytes, std::string* error) {
    return WriteWholeFile(path, bytes.data(), bytes.size(), error);
}

} // namespace kx
