// libFuzzer target: WAV reading over memory, then the conversions the game applies.
#include <cstddef>
#include <cstdint>

#include "sound/SoundSample.h"
#include "sound/WaveOutDevice.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size > (1u << 20))
        return 0;
    kx::CMemBlock block;
    block.CopyFrom(data, static_cast<uint32_t>(size));
    kx::CMemSerializer store(block, false);
    kx::CSoundSample sample;
    // Samples whose conversion stays small go on through the start-up conversion as well.
    if (sample.ParseWav(store) &&
        static_cast<uint64_t>(sample.GetSize()) * 22050 / static_cast<uint64_t>(sample.GetRate()) <=
            (1u << 22)) {
        static kx::CRecordingWaveOutDevice device;
        if (!device.IsDeviceOpen())
            device.OpenDevice(8, 22050, 1);
        device.ConvertToDevice(sample);
    }
    return 0;
}
