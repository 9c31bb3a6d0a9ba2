// CWaveOutDevice's platform-independent half and the recording device.
#include "WaveOutDevice.h"

#include <algorithm>

namespace kx {

bool CWaveOutDevice::OpenDevice(int bits, int rate, int channels) {
    CloseDevice();
    if (bits != 8 && bits != 16)
        return false;
    if (channels < 1 || channels > 2 || rate <= 0)
        return false;
    WaveFormat wanted{bits, rate, channels};
    if (!PlatformOpen(wanted))
        return false;
    format = wanted;
    open = true;
    return true;
}

void CWaveOutDevice::StopDevice() {
    if (open)
        PlatformStop();
}

void CWaveOutDevice::CloseDevice() {
    if (!open)
        return;
    PlatformStop();
    PlatformClose();
    open = false;
}

bool CWaveOutDevice::PlayBuffer(const CSoundSample& sample) {
    if (!open || !sample.HasData() || sample.GetData() == nullptr)
        return false;
    return PlatformPlay(sample.GetData(), sample.GetSize());
}

bool CWaveOutDevice::ConvertToDevice(CSoundSample& sample) const {
    if (!open)
        return false;
    if (format.bits == 16)
        sample.ConvertTo16Bit();
    // A mono sample is not widened for a stereo device.
    if (format.channels == 1)
        sample.ConvertToMono();
    sample.Resample(format.rate);
    if (format.bits == 8)
        sample.ConvertTo8Bit();
    return sample.GetBits() == format.bits && sample.GetRate() == format.rate &&
           (format.channels != 1 || sample.GetChannels() == 1);
}

std::vector<CRecordingWaveOutDevice::Event> CRecordingWaveOutDevice::GetEvents() const {
    std::lock_guard<std::mutex> guard(eventsLock);
    return events;
}

size_t CRecordingWaveOutDevice::CountEvents(EventKind kind) const {
    std::lock_guard<std::mutex> guard(eventsLock);
    return static_cast<size_t>(std::count_if(events.begin(), events.end(),
                                             [kind](const Event& e) { return e.kind == kind; }));
}

void CRecordingWaveOutDevice::SetRefusePlay(bool refuse) {
    std::lock_guard<std::mutex> guard(eventsLock);
    refusePlay = refuse;
}

void CRecordingWaveOutDevice::Record(Event event) {
    std::lock_guard<std::mutex> guard(eventsLock);
    events.push_back(event);
}

bool CRecordingWaveOutDevice::PlatformOpen(const WaveFormat& wanted) {
    if (acceptFormat && !acceptFormat(wanted))
        return false;
    Record({EventKind::kOpen});
    return true;
}

void CRecordingWaveOutDevice::PlatformStop() {
    Record({EventKind::kStop});
}

void CRecordingWaveOutDevice::PlatformClose() {
    Record({EventKind::kClose});
}

bool CRecordingWaveOutDevice::PlatformPlay(const uint8_t* bytes, uint32_t n) {
    {
        std::lock_guard<std::mutex> guard(eventsLock);
        if (refusePlay)
            return false;
    }
    Record({EventKind::kPlay, bytes, n});
    return true;
}

} // namespace kx
