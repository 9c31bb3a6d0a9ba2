// krawlix-tool sound: one sound of the archive or a WAV file, converted as the game does, as a WAV.
#include <cstdio>
#include <memory>
#include <string>
#include <vector>

#include "Command.h"
#include "OptionReader.h"
#include "sound/SoundSample.h"
#include "sound/WavWriter.h"
#include "sound/WaveOutDevice.h"
#include "storage/FileEx.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/ResourceArchive.h"

namespace kxtool {

namespace {

int RunSound(const Args& args) {
    std::string name, wavPath, outPath, archivePath;
    int rate = 22050;
    std::vector<std::string> positional;
    COptionReader reader("sound");
    reader.Text("--wav", wavPath)
        .Text("--archive", archivePath)
        .Value("--rate",
               [&rate](const std::string& v, std::string& error) {
                   if (v != "22050" && v != "11025") {
                       error = "--rate must be 22050 or 11025";
                       return false;
                   }
                   rate = v == "22050" ? 22050 : 11025;
                   return true;
               })
        .Positionals(positional);
    if (auto exit = reader.Read(args))
        return *exit;
    if (wavPath.empty()) {
        if (positional.size() != 2)
            return Fail(UsageMessage("sound"));
        name = positional[0];
        outPath = positional[1];
    } else {
        if (positional.size() != 1)
            return Fail("usage: sound --wav FILE OUT.wav [--rate 22050|11025]");
        outPath = positional[0];
    }

    kx::CSoundSample sample;
    if (!wavPath.empty()) {
        std::string bytes;
        std::string error;
        if (!ReadFileBytes(wavPath, bytes, error))
            return Fail(error);
        kx::CMemBlock view;
        view.Attach(reinterpret_cast<uint8_t*>(bytes.data()), static_cast<uint32_t>(bytes.size()),
                    false);
        kx::CMemSerializer store(view, false);
        if (!sample.ParseWav(store))
            return Fail(wavPath + ": not a supported PCM WAV file");
    } else {
        kx::CResourceArchive archive;
        if (archivePath.empty()) {
            if (!archive.LoadArchiveFromProgramFolder("Krawlix"))
                return Fail("Krawlix.bfres not found beside the program");
        } else {
            archive.LoadArchiveFile(archivePath); // raises the file error if unreadable
        }
        const kx::CResource* resource = archive.LookupResource("sound", name);
        if (resource == nullptr)
            return Fail("no sound \"" + name + "\" in the archive");
        kx::CMemBlock view(resource->data, true);
        kx::CMemSerializer store(view, false);
        if (!sample.ParseWav(store))
            return Fail("sound \"" + name + "\": not a supported PCM WAV");
    }

    // Far outside the usual rates no sound is meant, and the conversion would cost out of
    // all proportion (1 Hz makes every byte 22,050).
    if (!sample.HasPlausibleRate())
        return Fail("the sample rate of " + std::to_string(sample.GetRate()) + " Hz is outside " +
                    std::to_string(kx::kMinSoundRate) + " to " + std::to_string(kx::kMaxSoundRate) +
                    " Hz");
    // The game's device: unsigned 8-bit mono at the chosen rate.
    kx::CRecordingWaveOutDevice device;
    if (!device.OpenDevice(8, rate, 1))
        return Fail("cannot open the recording device");
    if (!device.ConvertToDevice(sample))
        return Fail("the sound cannot be converted to " + std::to_string(rate) + " Hz, 8-bit mono");
    std::string error;
    if (!kx::WriteWavFile(outPath, kx::MakeWavBytes(sample), &error))
        return FailWrite(error);
    return 0;
}

Register registerSound{
    {"sound", "(NAME | --wav FILE) OUT.wav [--archive FILE] [--rate 22050|11025]",
     "a sound of the archive or a WAV file in the game's device format, as a WAV", RunSound}};

} // namespace

} // namespace kxtool
