// CGameResources: sprite sheets and sounds from loose files or the archive, and the sound output.
#include "GameResources.h"

#include "storage/Error.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"
#include "storage/Path.h"

namespace kx {

int FindSoundSlot(const std::string& name) {
    for (int slot = 0; slot < kSoundCount; ++slot) {
        if (name == kSoundNames[static_cast<size_t>(slot)])
            return slot;
    }
    return -1;
}

std::string CGameResources::FindLooseFile(const std::string& subFolder,
                                          const std::string& fileName) const {
    return FindDataFile(dataFolder, "Krawlix", subFolder, fileName);
}

bool CGameResources::LoadSpriteSheet(CImageList24& sheet, const std::string& name,
                                     int32_t cellWidth, int32_t cellHeight,
                                     Colour transparentColour) {
    std::string path = FindLooseFile("Image", name + ".bmp");
    if (!path.empty()) {
        try {
            if (sheet.LoadSheetFile(path, cellWidth, cellHeight, transparentColour))
                return true;
        } catch (const CTBException&) {
            // A loose file that cannot be read falls back to the archive.
        }
    }
    const CResource* resource = archive.LookupResource("image", name);
    if (resource == nullptr)
        return false;
    CMemBlock view(resource->data, true);
    CMemSerializer store(view, false);
    return sheet.LoadSheet(store, cellWidth, cellHeight, transparentColour);
}

bool CGameResources::LoadSpriteSheets() {
    if (!LoadSpriteSheet(opaqueSprites, "imgfull", kSpriteCellSize, kSpriteCellSize,
                         kNoTransparentColour)) {
        ReportFailure("Failed to load imgfull.bmp.");
        return false;
    }
    if (!LoadSpriteSheet(transparentSprites, "imgtrans", kSpriteCellSize, kSpriteCellSize,
                         kSpriteTransparentColour)) {
        ReportFailure("Failed to load imgtrans.bmp.");
        return false;
    }
    return true;
}

void CGameResources::ReportFailure(const std::string& text) const {
    if (failureReporter)
        failureReporter(text);
    else
        CTBException(CTBException::kMessage, text).ReportError(kMessageBoxIconError);
}

bool CGameResources::OpenSound(std::unique_ptr<CWaveOutDevice> device) {
    CWaveOutDevice* borrowed = device.get();
    OpenSound(borrowed);
    ownedDevice = std::move(device);
    return true;
}

bool CGameResources::OpenSound(CWaveOutDevice* borrowedDevice) {
    ShutDownSound();
    ownedDevice.reset();
    waveDevice = borrowedDevice;
    if (waveDevice && !waveDevice->OpenDevice(8, 22050, 1))
        waveDevice->OpenDevice(8, 11025, 1);
    soundThread = std::make_unique<CSoundThread>();
    soundThread->SetDevice(waveDevice);
    if (!waveDevice || !waveDevice->IsDeviceOpen())
        return true; // silent game: every buffer stays empty
    for (int slot : kSoundLoadOrder)
        LoadSound(sounds[static_cast<size_t>(slot)], kSoundNames[static_cast<size_t>(slot)]);
    return true;
}

void CGameResources::LoadSound(CSoundSample& buffer, const std::string& name) {
    std::string path = FindLooseFile("Sound", name + ".wav");
    buffer.ReleaseSample();
    if (!path.empty())
        buffer.LoadWavFile(path);
    if (!buffer.HasData()) {
        const CResource* resource = archive.LookupResource("sound", name);
        if (resource != nullptr) {
            CMemBlock view(resource->data, true);
            CMemSerializer store(view, false);
            buffer.ParseWav(store);
        }
        if (!buffer.HasData())
            buffer.ReleaseSample();
    }
    // A rate far outside the usual ones is no sound the game can play.
    if (buffer.HasData() && !buffer.HasPlausibleRate())
        buffer.ReleaseSample();
    if (buffer.HasData() && waveDevice)
        waveDevice->ConvertToDevice(buffer);
}

void CGameResources::PlaySound(const std::string& name) {
    int slot = FindSoundSlot(name);
    if (slot < 0 || !soundThread)
        return;
    soundThread->RequestSound(&sounds[static_cast<size_t>(slot)]);
}

void CGameResources::ShutDownSound() {
    if (soundThread)
        soundThread->RequestStop();
    // The worker has ended, so the device can go without the lock.
    if (waveDevice)
        waveDevice->CloseDevice();
}

} // namespace kx
