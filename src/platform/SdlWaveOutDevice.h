// CSdlWaveOutDevice, the wave-out device on an SDL2 audio queue.
#pragma once

#include <atomic>
#include <cstdint>

#include "sound/WaveOutDevice.h"

namespace kx {

// Opens the default SDL audio output without a callback; PlayBuffer clears the queue and
// queues the sample, StopDevice clears the queue. The audio subsystem is initialised while
// a device is open.
class CSdlWaveOutDevice : public CWaveOutDevice {
public:
    CSdlWaveOutDevice() = default;
    ~CSdlWaveOutDevice() override { CloseDevice(); }

    // While muted every sample is taken as played but nothing sounds; muting silences the
    // sample playing now. Safe to call while the sound thread plays.
    void SetMuted(bool mute);
    bool IsMuted() const { return muted.load(); }

protected:
    bool PlatformOpen(const WaveFormat& format) override;
    void PlatformStop() override;
    void PlatformClose() override;
    bool PlatformPlay(const uint8_t* data, uint32_t size) override;

private:
    std::atomic<uint32_t> deviceId{0};
    std::atomic<bool> muted{false};
};

} // namespace kx
