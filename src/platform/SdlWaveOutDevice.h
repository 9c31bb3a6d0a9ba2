// CSdlWaveOutDevice, the wave-out device on an SDL2 audio queue.
#pragma once

#include <atomic>
#include <cstdint>
#include <mutex>
#include <thread>

#include "sound/WaveOutDevice.h"

namespace kx {

// Opens the default SDL audio output without a callback; PlayBuffer clears the queue and
// queues the sample, StopDevice clears the queue. The audio subsystem is initialised while
// a device is open.
//
// SDL2 keeps a thread feeding an open device silence, paused or not, so the platform's
// device is held only while sounds come: opening checks the format and gives it back, a
// sound takes it again (the same format, SDL changes nothing), and ReleaseWhenIdle gives it
// back once nothing has been queued or played for kIdleMs.
class CSdlWaveOutDevice : public CWaveOutDevice {
public:
    static constexpr uint64_t kIdleMs = 10000;

    CSdlWaveOutDevice() = default;
    ~CSdlWaveOutDevice() override;

    // While muted every sample is taken as played but nothing sounds; muting silences the
    // sample playing now. Safe to call while the sound thread plays.
    void SetMuted(bool mute);
    bool IsMuted() const { return muted.load(); }
    // Called now and then with a clock in milliseconds; safe while the sound thread plays.
    void ReleaseWhenIdle(uint64_t nowMs);
    // Whether SDL has a device open for it now.
    bool HoldsPlatformDevice() const;

protected:
    bool PlatformOpen(const WaveFormat& format) override;
    void PlatformStop() override;
    void PlatformClose() override;
    bool PlatformPlay(const uint8_t* data, uint32_t size) override;

private:
    // Opens SDL's device with the format checked at PlatformOpen; under the lock.
    bool Acquire();
    // Gives SDL's device back on a thread of its own: SDL waits for its audio thread to end
    // a period of its buffer, which the window's loop should not. Under the lock.
    void Release();
    void JoinCloser();

    mutable std::mutex lock;
    bool subsystem = false;
    WaveFormat opened;
    uint32_t deviceId = 0;
    std::thread closer;
    // A sound handed over since the last look, and when the device was last seen busy.
    bool playedSinceLook = false;
    uint64_t busyMs = 0;
    bool busySeen = false;
    std::atomic<bool> muted{false};
};

} // namespace kx
