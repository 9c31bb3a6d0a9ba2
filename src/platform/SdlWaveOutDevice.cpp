// CSdlWaveOutDevice: SDL_OpenAudioDevice with the exact format and a queue of one buffer.
#include "SdlWaveOutDevice.h"

#include <SDL.h>

namespace kx {

namespace {

SDL_AudioDeviceID OpenExactly(const WaveFormat& format) {
    SDL_AudioSpec wanted;
    SDL_zero(wanted);
    wanted.freq = format.rate;
    wanted.format = format.bits == 16 ? AUDIO_S16LSB : AUDIO_U8;
    wanted.channels = static_cast<Uint8>(format.channels);
    wanted.samples = 512;
    wanted.callback = nullptr; // queued audio
    SDL_AudioSpec obtained;
    // No changes allowed: SDL converts to whatever the hardware wants, so the samples can be
    // queued exactly as ConvertToDevice made them.
    const SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (id != 0) {
        SDL_PauseAudioDevice(id, 0);
    }
    return id;
}

} // namespace

CSdlWaveOutDevice::~CSdlWaveOutDevice() {
    CloseDevice();
    JoinCloser();
}

void CSdlWaveOutDevice::JoinCloser() {
    if (closer.joinable())
        closer.join();
}

void CSdlWaveOutDevice::Release() {
    JoinCloser();
    closer = std::thread([id = deviceId] { SDL_CloseAudioDevice(id); });
    deviceId = 0;
}

bool CSdlWaveOutDevice::PlatformOpen(const WaveFormat& format) {
    std::lock_guard<std::mutex> guard(lock);
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
    const SDL_AudioDeviceID id = OpenExactly(format);
    if (id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    // The format is known to be taken; the device itself waits for the first sound.
    deviceId = id;
    Release();
    subsystem = true;
    opened = format;
    playedSinceLook = false;
    busySeen = false;
    return true;
}

bool CSdlWaveOutDevice::Acquire() {
    if (deviceId == 0 && subsystem) {
        JoinCloser();
        deviceId = OpenExactly(opened);
    }
    return deviceId != 0;
}

void CSdlWaveOutDevice::PlatformStop() {
    std::lock_guard<std::mutex> guard(lock);
    if (deviceId != 0)
        SDL_ClearQueuedAudio(deviceId);
}

void CSdlWaveOutDevice::PlatformClose() {
    std::lock_guard<std::mutex> guard(lock);
    JoinCloser();
    if (deviceId != 0)
        SDL_CloseAudioDevice(deviceId);
    deviceId = 0;
    if (subsystem)
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
    subsystem = false;
}

bool CSdlWaveOutDevice::PlatformPlay(const uint8_t* data, uint32_t size) {
    std::lock_guard<std::mutex> guard(lock);
    // Muted, nothing sounds and the device may stay given back.
    if (muted.load()) {
        if (deviceId != 0)
            SDL_ClearQueuedAudio(deviceId);
        return subsystem;
    }
    if (!Acquire())
        return false;
    SDL_ClearQueuedAudio(deviceId);
    playedSinceLook = true;
    return SDL_QueueAudio(deviceId, data, size) == 0;
}

void CSdlWaveOutDevice::SetMuted(bool mute) {
    std::lock_guard<std::mutex> guard(lock);
    muted = mute;
    if (mute && deviceId != 0)
        SDL_ClearQueuedAudio(deviceId);
}

void CSdlWaveOutDevice::ReleaseWhenIdle(uint64_t nowMs) {
    std::lock_guard<std::mutex> guard(lock);
    if (deviceId == 0)
        return;
    if (playedSinceLook || SDL_GetQueuedAudioSize(deviceId) > 0 || !busySeen) {
        playedSinceLook = false;
        busySeen = true;
        busyMs = nowMs;
        return;
    }
    // Long after the queue ran dry the last sound has left SDL's and the system's buffers.
    if (nowMs - busyMs >= kIdleMs) {
        Release();
        busySeen = false;
    }
}

bool CSdlWaveOutDevice::HoldsPlatformDevice() const {
    std::lock_guard<std::mutex> guard(lock);
    return deviceId != 0;
}

} // namespace kx
