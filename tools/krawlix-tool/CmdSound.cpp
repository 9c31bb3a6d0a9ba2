// krawlix-tool sound: one sound of the archive or a WAV file, converted as the game does, as a WAV.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Command.h"
#include "sound/SoundSample.h"
#include "sound/WaveOutDevice.h"
#include "storage/FileEx.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/ResourceArchive.h"

namespace kxtool {

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

// A plain PCM WAV: RIFF header, a 16-byte "fmt " chunk and the data chunk.
bool WriteWav(const std::string& path, const kx::CSoundSample& sample) {
    uint32_t bytesPerValue = sample.Is16Bit() ? 2 : 1;
    uint32_t block = bytesPerValue * static_cast<uint32_t>(sample.GetChannels());
    auto rate = static_cast<uint32_t>(sample.GetRate());
    std::vector<uint8_t> out;
    PutId(out, "RIFF");
    PutU32(out, 36 + sample.GetSize());
    PutId(out, "WAVE");
    PutId(out, "fmt ");
    PutU32(out, 16);
    PutU16(out, 1);
    PutU16(out, static_cast<uint32_t>(sample.GetChannels()));
    PutU32(out, rate);
    PutU32(out, rate * block);
    PutU16(out, block);
    PutU16(out, bytesPerValue * 8);
    PutId(out, "data");
    PutU32(out, sample.GetSize());
    if (sample.HasData())
        out.insert(out.end(), sample.GetData(), sample.GetData() + sample.GetSize());
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (!file)
        return false;
    bool ok = std::fwrite(out.data(), 1, out.size(), file) == out.size();
    return std::fclose(file) == 0 && ok;
}

bool ReadWholeFile(const std::string& path, kx::CMemBlock& block) {
    kx::CFileEx file(false);
    file.SetPath(path, true);
    if (!file.OpenRead())
        return false;
    uint64_t left = file.BytesLeft();
    if (left == kx::IStore::kUnknownLength || left > UINT32_MAX)
        return false;
    block.Allocate(static_cast<uint32_t>(left));
    return left == 0 || file.Read(block.data, static_cast<uint32_t>(left));
}

int RunSound(const Args& args) {
    std::string name, wavPath, outPath, archivePath;
    int rate = 22050;
    std::vector<std::string> positional;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if ((a == "--wav" || a == "--archive" || a == "--rate") && i + 1 >= args.size())
            return Fail(a + " needs a value");
        if (a == "--wav")
            wavPath = args[++i];
        else if (a == "--archive")
            archivePath = args[++i];
        else if (a == "--rate") {
            const std::string& value = args[++i];
            if (value == "22050")
                rate = 22050;
            else if (value == "11025")
                rate = 11025;
            else
                return Fail("--rate must be 22050 or 11025");
        } else if (a.size() > 1 && a[0] == '-')
            return Fail("unknown option " + a);
        else
            positional.push_back(a);
    }
    if (wavPath.empty()) {
        if (positional.size() != 2)
            return Fail(
                "usage: sound (NAME | --wav FILE) OUT.wav [--archive FILE] [--rate 22050|11025]");
        name = positional[0];
        outPath = positional[1];
    } else {
        if (positional.size() != 1)
            return Fail("usage: sound --wav FILE OUT.wav [--rate 22050|11025]");
        outPath = positional[0];
    }

    kx::CSoundSample sample;
    if (!wavPath.empty()) {
        kx::CFileEx file(false);
        file.SetPath(wavPath, true);
        if (!file.OpenRead())
            return Fail("cannot open " + wavPath);
        if (!sample.ParseWav(file))
            return Fail(wavPath + ": not a supported PCM WAV file");
    } else {
        kx::CResourceArchive archive;
        if (archivePath.empty()) {
            if (!archive.LoadArchiveFromProgramFolder("Krawlix"))
                return Fail("Krawlix.bfres not found beside the program");
        } else {
            kx::CMemBlock bytes;
            if (!ReadWholeFile(archivePath, bytes))
                return Fail("cannot read " + archivePath);
            if (!archive.LoadFromMemory(bytes))
                return Fail(archivePath + ": not a resource archive");
        }
        const kx::CResource* resource = archive.LookupResource("sound", name);
        if (resource == nullptr)
            return Fail("no sound \"" + name + "\" in the archive");
        kx::CMemBlock view(resource->data, true);
        kx::CMemSerializer store(view, false);
        if (!sample.ParseWav(store))
            return Fail("sound \"" + name + "\": not a supported PCM WAV");
    }

    // The game's device: unsigned 8-bit mono at the chosen rate.
    kx::CRecordingWaveOutDevice device;
    if (!device.OpenDevice(8, rate, 1))
        return Fail("cannot open the recording device");
    device.ConvertToDevice(sample);
    if (!WriteWav(outPath, sample))
        return Fail("cannot write " + outPath);
    return 0;
}

Register registerSound{
    {"sound", "(NAME | --wav FILE) OUT.wav [--archive FILE] [--rate 22050|11025]",
     "a sound of the archive or a WAV file in the game's device format, as a WAV", RunSound}};

} // namespace

} // namespace kxtool
