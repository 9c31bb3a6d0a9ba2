// CSdlWaveOutDevice: SDL_OpenAudioDevice with the exact format and a queue of one buffer.
#include "SdlWaveOutDevice.h"

#include <SDL.h>

namespace kx {

bool CSdlWaveOutDevice::PlatformOpen(const WaveFormat& format) {
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return false;
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
    SDL_AudioDeviceID id = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, 0);
    if (id == 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return false;
    }
    deviceId = id;
    SDL_PauseAudioDevice(deviceId, 0);
    return true;
}

void CSdlWaveOutDevice::PlatformStop() {
    const uint32_t id = deviceId.load();
    if (id != 0)
        SDL_ClearQueuedAudio(id);
}

void CSdlWaveOutDevice::PlatformClose() {
    const uint32_t id = deviceId.exchange(0);
    if (id == 0)
        return;
    SDL_CloseAudioDevice(id);
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool CSdlWaveOutDevice::PlatformPlay(const uint8_t* data, uint32_t size) {
    const uint32_t id = deviceId.load();
    if (id == 0)
        return false;
    SDL_ClearQueuedAudio(id);
    if (muted.load())
        return true;
    return SDL_QueueAudio(id, data, size) == 0;
}

void CSdlWaveOutDevice::SetMuted(bool mute) {
    muted = mute;
    const uint32_t id = deviceId.load();
    if (mute && id != 0)
        SDL_ClearQueuedAudio(id);
}

} // namespace kx
