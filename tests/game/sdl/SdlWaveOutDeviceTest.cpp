// The SDL sound device on SDL's dummy audio driver: SDL's device is held only while sounds
// come, and a sound after a quiet time takes it again.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "platform/SdlWaveOutDevice.h"
#include "sound/SoundSample.h"

namespace {

constexpr uint64_t kIdle = kx::CSdlWaveOutDevice::kIdleMs;

} // namespace

TEST(SdlWaveOut, SdlsDeviceIsHeldFromASoundUntilTheIdleTimeWithoutOneHasPassed) {
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    kx::CSdlWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    EXPECT_FALSE(device.HoldsPlatformDevice()) << "nothing has sounded yet";
    // Five seconds of sound: still queued for the whole test.
    std::vector<uint8_t> bytes(5 * 22050, 0x90);
    kx::CSoundSample sample;
    ASSERT_TRUE(
        sample.SetSampleData(bytes.data(), static_cast<uint32_t>(bytes.size()), 8, 22050, 1));
    ASSERT_TRUE(device.PlayBuffer(sample));
    EXPECT_TRUE(device.HoldsPlatformDevice());

    // While a sound is queued the device stays, however long; the quiet time counts from the
    // last look that saw it busy.
    device.ReleaseWhenIdle(1000);
    device.ReleaseWhenIdle(1000 + 3 * kIdle);
    EXPECT_TRUE(device.HoldsPlatformDevice());
    device.StopDevice();
    device.ReleaseWhenIdle(1000 + 4 * kIdle - 1);
    EXPECT_TRUE(device.HoldsPlatformDevice());
    device.ReleaseWhenIdle(1000 + 4 * kIdle);
    EXPECT_FALSE(device.HoldsPlatformDevice());

    // A sound handed over and gone between two looks still counts as one.
    ASSERT_TRUE(device.PlayBuffer(sample));
    EXPECT_TRUE(device.HoldsPlatformDevice());
    device.StopDevice();
    device.ReleaseWhenIdle(10 * kIdle);
    device.ReleaseWhenIdle(11 * kIdle - 1);
    EXPECT_TRUE(device.HoldsPlatformDevice());
    device.ReleaseWhenIdle(11 * kIdle);
    EXPECT_FALSE(device.HoldsPlatformDevice());

    // Muted, a sound is taken as played without taking the device.
    device.SetMuted(true);
    EXPECT_TRUE(device.PlayBuffer(sample));
    EXPECT_FALSE(device.HoldsPlatformDevice());
    device.SetMuted(false);
    device.CloseDevice();
    EXPECT_FALSE(device.PlayBuffer(sample));
    EXPECT_FALSE(device.HoldsPlatformDevice());
}
