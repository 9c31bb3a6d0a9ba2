// CWaveOutDevice, the single-voice audio output, and CRecordingWaveOutDevice, its stand-in for
// tests.
#pragma once

#include <cstdint>
#include <functional>
#include <mutex>
#include <vector>

#include "SoundSample.h"

namespace kx {

struct WaveFormat {
    int bits = 8;
    int rate = 22050;
    int channels = 1;
};

// The device holder: empty, or open with one fixed format. A platform back end supplies the
// four hooks; opening, the format checks and the conversion to the device's format are here.
class CWaveOutDevice {
public:
    CWaveOutDevice() = default;
    CWaveOutDevice(const CWaveOutDevice&) = delete;
    CWaveOutDevice& operator=(const CWaveOutDevice&) = delete;
    virtual ~CWaveOutDevice() = default;

    // Closes a device already held; bits other than 8 or 16 or channels other than 1 or 2
    // give false, as does a format that the platform refuses.
    bool OpenDevice(int bits, int rate, int channels);
    bool IsDeviceOpen() const { return open; }
    // Stops playback at once.
    void StopDevice();
    // Stops and releases the platform device; the holder becomes empty. Callers make sure
    // that the sound thread cannot be using it (under its lock, or after it ended).
    void CloseDevice();
    // Hands the sample to the device, which plays it in place: the sample must stay alive
    // and unchanged while it sounds. False without a device or without sample data.
    bool PlayBuffer(const CSoundSample& sample);
    // Brings a sample to the device's format; without a device nothing happens. True when
    // the sample now has the device's bits and rate (and one channel for a mono device);
    // false when a step could not be done (no device, a single frame, a size beyond reach).
    bool ConvertToDevice(CSoundSample& sample) const;

    const WaveFormat& GetFormat() const { return format; }

protected:
    // Back ends release their platform device in their own destructor (CloseDevice there).
    virtual bool PlatformOpen(const WaveFormat& format) = 0;
    virtual void PlatformStop() = 0;
    virtual void PlatformClose() = 0;
    virtual bool PlatformPlay(const uint8_t* data, uint32_t size) = 0;

private:
    WaveFormat format;
    bool open = false;
};

// Records what a device would be asked to do; accepts the formats that its filter lets through.
class CRecordingWaveOutDevice : public CWaveOutDevice {
public:
    enum class EventKind { kOpen, kStop, kPlay, kClose };
    struct Event {
        EventKind kind;
        const uint8_t* data = nullptr; // for kPlay: the buffer handed over
        uint32_t size = 0;
    };
    using FormatFilter = std::function<bool(const WaveFormat&)>;

    explicit CRecordingWaveOutDevice(FormatFilter acceptFormat = nullptr)
        : acceptFormat(std::move(acceptFormat)) {}
    ~CRecordingWaveOutDevice() override { CloseDevice(); }

    // A copy of the events so far; safe to call while the sound thread plays.
    std::vector<Event> GetEvents() const;
    size_t CountEvents(EventKind kind) const;
    // PlayBuffer answers false from now on (the platform refusing the buffer).
    void SetRefusePlay(bool refuse);

protected:
    bool PlatformOpen(const WaveFormat& format) override;
    void PlatformStop() override;
    void PlatformClose() override;
    bool PlatformPlay(const uint8_t* data, uint32_t size) override;

private:
    void Record(Event event);

    FormatFilter acceptFormat;
    mutable std::mutex eventsLock;
    std::vector<Event> events;
    bool refusePlay = false;
};

} // namespace kx
