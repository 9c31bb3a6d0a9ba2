// Tests of the game's resources: sprite sheets and sounds from loose files or the archive.
#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "game/GameResources.h"
#include "sound/WavBytes.h"
#include "storage/Error.h"
#include "storage/MemBlock.h"
#include "storage/MemSerializer.h"

namespace fs = std::filesystem;
using kx::CGameResources;
using kx::CRecordingWaveOutDevice;
using Kind = CRecordingWaveOutDevice::EventKind;

namespace {

// A complete .bmp file image of one colour.
std::vector<uint8_t> MakeBmp(int32_t width, int32_t height, kx::Colour colour) {
    kx::CBitmap24 bitmap;
    EXPECT_TRUE(bitmap.CreateBitmap(width, height, colour));
    return kx::EncodeBmp(bitmap);
}

// An 8-bit mono 22050 Hz WAV of n samples of one value: the device's format already.
std::vector<uint8_t> MakeSound(uint32_t n, uint8_t value) {
    kxtest::WavSpec wav;
    wav.bits = 8;
    wav.rate = 22050;
    wav.data.assign(n, value);
    return kxtest::MakeWav(wav);
}

bool WaitForEvent(const CRecordingWaveOutDevice& device, Kind kind) {
    for (int i = 0; i < 1000; ++i) {
        if (device.CountEvents(kind) > 0)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

class GameResources : public ::testing::Test {
protected:
    void SetUp() override {
        folder = fs::temp_directory_path() /
                 ("kx_resources_" +
                  std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
        kx::SetErrorReportHook([this](const std::string& text, uint32_t flags) {
            reports.push_back(text);
            reportFlags.push_back(flags);
        });
    }
    void TearDown() override {
        kx::SetErrorReportHook(nullptr);
        fs::remove_all(folder);
    }

    void Add(const std::string& kind, const std::string& name, std::vector<uint8_t> bytes) {
        contents.push_back(std::move(bytes));
        entries.push_back({kind, name});
    }

    // Builds the archive from the added entries and the resources over it.
    std::unique_ptr<CGameResources> Make() {
        std::vector<kx::ArchiveSource> sources;
        for (size_t i = 0; i < entries.size(); ++i)
            sources.push_back({entries[i].first, entries[i].second, contents[i].data(),
                               static_cast<uint32_t>(contents[i].size())});
        kx::CMemBlock bytes;
        {
            kx::CMemSerializer writer(bytes, true);
            EXPECT_TRUE(kx::WriteArchive(writer, sources));
        }
        EXPECT_TRUE(archive.LoadFromMemory(bytes));
        auto resources = std::make_unique<CGameResources>(archive);
        resources->SetDataFolder(folder.string());
        return resources;
    }

    void WriteLoose(const std::string& sub, const std::string& file,
                    const std::vector<uint8_t>& b) {
        fs::create_directories(folder / "Krawlix" / sub);
        std::ofstream out(folder / "Krawlix" / sub / file, std::ios::binary);
        out.write(reinterpret_cast<const char*>(b.data()), static_cast<long>(b.size()));
    }

    void AddAllSounds(const std::string& except = "") {
        for (int slot = 0; slot < kx::kSoundCount; ++slot) {
            std::string name = kx::kSoundNames[static_cast<size_t>(slot)];
            if (name != except)
                Add("sound", name,
                    MakeSound(static_cast<uint32_t>(11 + 2 * slot), static_cast<uint8_t>(slot)));
        }
    }

    fs::path folder;
    kx::CResourceArchive archive;
    std::vector<std::pair<std::string, std::string>> entries;
    std::vector<std::vector<uint8_t>> contents;
    std::vector<std::string> reports;
    std::vector<uint32_t> reportFlags;
};

} // namespace

TEST_F(GameResources, SheetsComeFromTheArchive) {
    Add("image", "imgfull", MakeBmp(64, 32, 0x102030));
    Add("image", "imgtrans", MakeBmp(32, 64, 0xFF00FF));
    auto r = Make();
    ASSERT_TRUE(r->LoadSpriteSheets());
    EXPECT_EQ(r->GetOpaqueSprites().GetCount(), 2);
    EXPECT_EQ(r->GetOpaqueSprites().GetTransparentColour(), kx::kNoTransparentColour);
    EXPECT_EQ(r->GetTransparentSprites().GetCount(), 2);
    EXPECT_EQ(r->GetTransparentSprites().GetTransparentColour(), 0xFF00FFu);
    EXPECT_EQ(r->GetTransparentSprites().GetCellSize(), (kx::CellSize{32, 32}));
    EXPECT_TRUE(reports.empty());
}

TEST_F(GameResources, ALooseSheetBeatsTheArchive) {
    Add("image", "imgfull", MakeBmp(64, 32, 0x102030));
    Add("image", "imgtrans", MakeBmp(32, 64, 0xFF00FF));
    WriteLoose("Image", "imgtrans.bmp", MakeBmp(96, 32, 0x0000FF));
    auto r = Make();
    ASSERT_TRUE(r->LoadSpriteSheets());
    EXPECT_EQ(r->GetTransparentSprites().GetCount(), 3);
    EXPECT_EQ(r->GetTransparentSprites().GetBitmap().GetPixel(0, 0), 0x0000FFu);
    // The other sheet is unchanged.
    EXPECT_EQ(r->GetOpaqueSprites().GetCount(), 2);
}

TEST_F(GameResources, ADamagedLooseSheetFallsBackToTheArchive) {
    Add("image", "imgfull", MakeBmp(64, 32, 0x102030));
    Add("image", "imgtrans", MakeBmp(32, 64, 0xFF00FF));
    WriteLoose("Image", "imgfull.bmp", {'B', 'M', 1, 2, 3});
    auto r = Make();
    ASSERT_TRUE(r->LoadSpriteSheets());
    EXPECT_EQ(r->GetOpaqueSprites().GetCount(), 2);
    EXPECT_EQ(r->GetOpaqueSprites().GetBitmap().GetPixel(0, 0), 0x102030u);
}

TEST_F(GameResources, AMissingOpaqueSheetIsReportedAndTheOtherNotTried) {
    Add("image", "imgtrans", MakeBmp(32, 64, 0xFF00FF));
    auto r = Make();
    EXPECT_FALSE(r->LoadSpriteSheets());
    ASSERT_EQ(reports, (std::vector<std::string>{"Failed to load imgfull.bmp."}));
    EXPECT_EQ(reportFlags[0], kx::kMessageBoxIconError);
    EXPECT_EQ(r->GetTransparentSprites().GetCount(), 0);
}

TEST_F(GameResources, AMissingTransparentSheetIsReported) {
    Add("image", "imgfull", MakeBmp(64, 32, 0x102030));
    auto r = Make();
    EXPECT_FALSE(r->LoadSpriteSheets());
    EXPECT_EQ(reports, (std::vector<std::string>{"Failed to load imgtrans.bmp."}));
}

TEST_F(GameResources, EverySoundLandsInItsOwnSlot) {
    AddAllSounds();
    auto r = Make();
    auto device = std::make_unique<CRecordingWaveOutDevice>();
    CRecordingWaveOutDevice* recorder = device.get();
    ASSERT_TRUE(r->OpenSound(std::move(device)));
    for (int slot = 0; slot < kx::kSoundCount; ++slot) {
        const kx::CSoundSample& s = r->GetSound(slot);
        ASSERT_EQ(s.GetSize(), static_cast<uint32_t>(11 + 2 * slot))
            << kx::kSoundNames[static_cast<size_t>(slot)];
        EXPECT_EQ(s.GetData()[0], slot);
    }
    EXPECT_EQ(recorder->GetFormat().rate, 22050);

    r->PlaySound("GhostNew");
    ASSERT_TRUE(WaitForEvent(*recorder, Kind::kPlay));
    r->ShutDownSound();
    std::vector<CRecordingWaveOutDevice::Event> events = recorder->GetEvents();
    const CRecordingWaveOutDevice::Event* played = nullptr;
    for (const auto& e : events)
        if (e.kind == Kind::kPlay)
            played = &e;
    ASSERT_NE(played, nullptr);
    EXPECT_EQ(played->data, r->GetSound(8).GetData());
    EXPECT_FALSE(recorder->IsDeviceOpen());
}

TEST_F(GameResources, TheLoadingOrderCoversEverySlotWithGhostDeadBeforeGhostNew) {
    std::vector<int> seen(kx::kSoundCount, 0);
    size_t ghostDeadAt = 0, ghostNewAt = 0;
    for (size_t i = 0; i < kx::kSoundLoadOrder.size(); ++i) {
        int slot = kx::kSoundLoadOrder[i];
        ASSERT_GE(slot, 0);
        ASSERT_LT(slot, kx::kSoundCount);
        ++seen[static_cast<size_t>(slot)];
        if (std::string(kx::kSoundNames[static_cast<size_t>(slot)]) == "GhostDead")
            ghostDeadAt = i;
        if (std::string(kx::kSoundNames[static_cast<size_t>(slot)]) == "GhostNew")
            ghostNewAt = i;
    }
    EXPECT_EQ(seen, std::vector<int>(kx::kSoundCount, 1));
    EXPECT_LT(ghostDeadAt, ghostNewAt);
    EXPECT_EQ(kx::FindSoundSlot("GhostNew"), 8);
    EXPECT_EQ(kx::FindSoundSlot("GhostDead"), 9);
    EXPECT_EQ(kx::FindSoundSlot("Confirm"), -1);
}

TEST_F(GameResources, ALooseSoundBeatsTheArchive) {
    AddAllSounds();
    WriteLoose("Sound", "confirm.wav", MakeSound(99, 200));
    WriteLoose("Sound", "switch.wav", {'R', 'I', 'F', 'F'}); // damaged: the archive's is used
    auto r = Make();
    ASSERT_TRUE(r->OpenSound(std::make_unique<CRecordingWaveOutDevice>()));
    EXPECT_EQ(r->GetSound(12).GetSize(), 99u);
    EXPECT_EQ(r->GetSound(10).GetSize(), 31u);
}

TEST_F(GameResources, AMissingSoundIsSilentAndChangesNothingElse) {
    AddAllSounds("confirm");
    auto r = Make();
    auto device = std::make_unique<CRecordingWaveOutDevice>();
    CRecordingWaveOutDevice* recorder = device.get();
    ASSERT_TRUE(r->OpenSound(std::move(device)));
    EXPECT_FALSE(r->GetSound(12).HasData());
    EXPECT_EQ(r->GetSound(11).GetSize(), 33u);
    r->PlaySound("confirm");
    // The worker took the request: it stopped the device, but had nothing to play.
    ASSERT_TRUE(WaitForEvent(*recorder, Kind::kStop));
    r->ShutDownSound();
    EXPECT_EQ(recorder->CountEvents(Kind::kPlay), 0u);
}

TEST_F(GameResources, AnElevenKilohertzDeviceGetsEverySoundAtThatRate) {
    AddAllSounds();
    auto r = Make();
    ASSERT_TRUE(r->OpenSound(std::make_unique<CRecordingWaveOutDevice>(
        [](const kx::WaveFormat& f) { return f.rate == 11025; })));
    ASSERT_TRUE(r->GetWaveDevice()->IsDeviceOpen());
    for (int slot = 0; slot < kx::kSoundCount; ++slot) {
        EXPECT_EQ(r->GetSound(slot).GetRate(), 11025);
        // 2k + 1 samples: 2k / 22050 × 11025 + 0.5, truncated, gives k.
        EXPECT_EQ(r->GetSound(slot).GetSize(), static_cast<uint32_t>(5 + slot));
    }
}

TEST_F(GameResources, WithoutADeviceTheGameIsSilent) {
    AddAllSounds();
    auto r = Make();
    ASSERT_TRUE(r->OpenSound(
        std::make_unique<CRecordingWaveOutDevice>([](const kx::WaveFormat&) { return false; })));
    ASSERT_NE(r->GetSoundThread(), nullptr);
    for (int slot = 0; slot < kx::kSoundCount; ++slot)
        EXPECT_FALSE(r->GetSound(slot).HasData());
    r->PlaySound("WormEatCorn");
    EXPECT_FALSE(r->GetSoundThread()->IsThreadStarted());

    auto none = Make();
    ASSERT_TRUE(none->OpenSound(nullptr));
    none->PlaySound("WormEatCorn");
    EXPECT_FALSE(none->GetSoundThread()->IsThreadStarted());
}

TEST_F(GameResources, PlayingBeforeSoundIsOpenedOrByAnUnknownNameDoesNothing) {
    auto r = Make();
    r->PlaySound("WormEatCorn");
    EXPECT_EQ(r->GetSoundThread(), nullptr);
    ASSERT_TRUE(r->OpenSound(std::make_unique<CRecordingWaveOutDevice>()));
    r->PlaySound("NoSuchSound");
    EXPECT_FALSE(r->GetSoundThread()->IsThreadStarted());
}
