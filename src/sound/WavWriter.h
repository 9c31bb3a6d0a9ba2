// Plain PCM WAV bytes: the 44-byte header and the samples, for the tools that write sounds.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kx {

class CSoundSample;

// A RIFF/WAVE stream with a 16-byte "fmt " chunk and the data chunk, nothing else.
std::vector<uint8_t> MakeWavBytes(uint32_t rate, uint16_t bits, uint16_t channels,
                                  const uint8_t* data, uint32_t size);
std::vector<uint8_t> MakeWavBytes(const CSoundSample& sample);
// Writes the bytes whole or not at all; false on failure, with the reason in *error.
bool WriteWavFile(const std::string& path, const std::vector<uint8_t>& bytes,
                  std::string* error = nullptr);

} // namespace kx
