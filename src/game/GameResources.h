// CGameResources, the game's sprite sheets and thirteen sounds: loading, sound output, PlaySound.
#pragma once

#include <array>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "graphics/Bitmap24.h"
#include "graphics/ImageList24.h"
#include "rules/SoundOutput.h"
#include "sound/SoundNames.h"
#include "sound/SoundSample.h"
#include "sound/SoundThread.h"
#include "sound/WaveOutDevice.h"
#include "storage/ResourceArchive.h"

namespace kx {

inline constexpr int kSpriteCellSize = 32;
inline constexpr Colour kSpriteTransparentColour = 0xFF00FF;

// The slots in the order the sounds are loaded: GhostDead (9) before GhostNew (8).
inline constexpr std::array<int, kSoundCount> kSoundLoadOrder = {0, 1, 2, 3,  4,  5, 6,
                                                                 7, 9, 8, 10, 11, 12};

// The slot of a sound name (exact spelling), or -1.
int FindSoundSlot(const std::string& name);

class CGameResources : public ISoundOutput {
public:
    // The archive is borrowed and must outlive the resources.
    explicit CGameResources(const CResourceArchive& archive) : archive(archive) {}
    CGameResources(const CGameResources&) = delete;
    CGameResources& operator=(const CGameResources&) = delete;
    // Ends the sound thread before the device and the samples it plays go away.
    ~CGameResources() { ShutDownSound(); }

    // Where the data-file search for loose files starts; by default the program's folder.
    void SetDataFolder(std::optional<std::string> folder) { dataFolder = std::move(folder); }

    // Where LoadSpriteSheets reports a failure; by default the error-report hook of the
    // storage layer (a message box with the error icon).
    void SetFailureReporter(std::function<void(const std::string&)> reporter) {
        failureReporter = std::move(reporter);
    }

    // "imgfull", then "imgtrans"; a failure is reported with the error icon and ends loading.
    bool LoadSpriteSheets();
    // A loose name.bmp found by the data-file search wins; else the archive's "image" name.
    bool LoadSpriteSheet(CImageList24& sheet, const std::string& name, int32_t cellWidth,
                         int32_t cellHeight, Colour transparentColour);

    // Opens the device (8-bit mono 22050 Hz, else 11025 Hz), makes the sound thread and,
    // with an open device, loads the thirteen sounds. A null or refusing device leaves the
    // game silent. Always true.
    bool OpenSound(std::unique_ptr<CWaveOutDevice> device);
    // The same with a device that the caller owns and keeps alive longer than the resources.
    bool OpenSound(CWaveOutDevice* borrowedDevice);
    // A loose name.wav wins, else the archive's "sound" name; converted to the device's format.
    void LoadSound(CSoundSample& buffer, const std::string& name);
    // Requests the named slot's sound; unknown names and a missing thread do nothing.
    void PlaySound(const std::string& name) override;
    // The stop request at shutdown: ends the thread, then closes the device.
    void ShutDownSound();

    CImageList24& GetOpaqueSprites() { return opaqueSprites; }
    CImageList24& GetTransparentSprites() { return transparentSprites; }
    const CSoundSample& GetSound(int slot) const { return sounds[static_cast<size_t>(slot)]; }
    CSoundThread* GetSoundThread() { return soundThread.get(); }
    CWaveOutDevice* GetWaveDevice() { return waveDevice; }

private:
    std::string FindLooseFile(const std::string& subFolder, const std::string& fileName) const;
    void ReportFailure(const std::string& text) const;

    const CResourceArchive& archive;
    std::optional<std::string> dataFolder;
    std::function<void(const std::string&)> failureReporter;
    CImageList24 opaqueSprites;
    CImageList24 transparentSprites;
    // Declared before the device and the thread, so that the samples outlive both.
    std::array<CSoundSample, kSoundCount> sounds;
    std::unique_ptr<CWaveOutDevice> ownedDevice;
    CWaveOutDevice* waveDevice = nullptr;
    std::unique_ptr<CSoundThread> soundThread;
};

} // namespace kx
