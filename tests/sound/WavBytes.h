// Hand-made WAV images for the sound tests.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kxtest {

struct WavSpec {
    uint16_t tag = 1;
    uint16_t channels = 1;
    uint32_t rate = 22050;
    uint16_t bits = 16;
    uint32_t fmtExtra = 0;           // bytes after the 16 standard format bytes
    std::vector<uint8_t> beforeData; // whole chunks between "fmt " and "data"
    std::vector<uint8_t> data;
};

inline void PutU16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
}

inline void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    PutU16(out, v & 0xFFFF);
    PutU16(out, v >> 16);
}

inline void PutId(std::vector<uint8_t>& out, const char* id) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(id[i]));
}

inline std::vector<uint8_t> Chunk(const char* id, const std::vector<uint8_t>& body) {
    std::vector<uint8_t> out;
    PutId(out, id);
    PutU32(out, static_cast<uint32_t>(body.size()));
    out.insert(out.end(), body.begin(), body.end());
    return out;
}

inline std::vector<uint8_t> MakeWav(const WavSpec& wav) {
    std::vector<uint8_t> out;
    PutId(out, "RIFF");
    PutU32(out, 0); // not examined by the reader
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    PutU32(out, 16 + wav.fmtExtra);
    PutU16(out, wav.tag);
    PutU16(out, wav.channels);
    PutU32(out, wav.rate);
    uint32_t block = wav.channels * (wav.bits / 8u);
    PutU32(out, wav.rate * block);
    PutU16(out, block);
    PutU16(out, wav.bits);
    for (uint32_t i = 0; i < wav.fmtExtra; ++i)
        out.push_back(0xAB);
    out.insert(out.end(), wav.beforeData.begin(), wav.beforeData.end());
    std::vector<uint8_t> data = Chunk("data", wav.data);
    out.insert(out.end(), data.begin(), data.end());
    return out;
}

inline std::vector<uint8_t> S16(std::initializer_list<int> values) {
    std::vector<uint8_t> out;
    for (int v : values)
        PutU16(out, static_cast<uint16_t>(static_cast<int16_t>(v)));
    return out;
}

} // namespace kxtest
