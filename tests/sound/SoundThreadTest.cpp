// Tests of the wave-out device's contract and of the sound thread's single voice.
#include <gtest/gtest.h>

#include <chrono>
#include <thread>

#include "sound/SoundThread.h"
#include "sound/WaveOutDevice.h"

using kx::CRecordingWaveOutDevice;
using kx::CSoundSample;
using kx::CSoundThread;
using Kind = CRecordingWaveOutDevice::EventKind;

namespace {

void Fill(CSoundSample& s, uint8_t value, uint32_t n = 64) {
    std::vector<uint8_t> bytes(n, value);
    ASSERT_TRUE(s.SetSampleData(bytes.data(), n, 8, 22050, 1));
}

// Waits until the device saw at least n plays, or gives up after a second.
bool WaitForPlays(const CRecordingWaveOutDevice& device, size_t n) {
    for (int i = 0; i < 1000; ++i) {
        if (device.CountEvents(Kind::kPlay) >= n)
            return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return false;
}

} // namespace

TEST(WaveOutDevice, RefusesUnsupportedBitsAndKeepsTheFormatItOpened) {
    CRecordingWaveOutDevice device;
    EXPECT_FALSE(device.OpenDevice(12, 22050, 1));
    EXPECT_FALSE(device.IsDeviceOpen());
    EXPECT_FALSE(device.OpenDevice(8, 22050, 0));
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    EXPECT_EQ(device.GetFormat().rate, 22050);
    EXPECT_EQ(device.GetFormat().bits, 8);
}

TEST(WaveOutDevice, APlatformRefusalLeavesItClosed) {
    CRecordingWaveOutDevice device([](const kx::WaveFormat& f) { return f.rate == 11025; });
    EXPECT_FALSE(device.OpenDevice(8, 22050, 1));
    EXPECT_FALSE(device.IsDeviceOpen());
    EXPECT_TRUE(device.OpenDevice(8, 11025, 1));
}

TEST(WaveOutDevice, PlaysOnlyWithADeviceAndSampleData) {
    CRecordingWaveOutDevice device;
    CSoundSample sample;
    Fill(sample, 200);
    EXPECT_FALSE(device.PlayBuffer(sample));
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    CSoundSample empty;
    EXPECT_FALSE(device.PlayBuffer(empty));
    EXPECT_TRUE(device.PlayBuffer(sample));
    std::vector<CRecordingWaveOutDevice::Event> events = device.GetEvents();
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().kind, Kind::kPlay);
    // Played in place: the device is handed the sample's own bytes.
    EXPECT_EQ(events.back().data, sample.GetData());
    EXPECT_EQ(events.back().size, 64u);
}

TEST(WaveOutDevice, ClosingStopsFirstAndEmptiesTheHolder) {
    CRecordingWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    device.CloseDevice();
    EXPECT_FALSE(device.IsDeviceOpen());
    std::vector<CRecordingWaveOutDevice::Event> events = device.GetEvents();
    ASSERT_EQ(events.size(), 3u);
    EXPECT_EQ(events[1].kind, Kind::kStop);
    EXPECT_EQ(events[2].kind, Kind::kClose);
}

TEST(SoundThread, NoThreadStartsWithoutADevice) {
    CSoundSample sample;
    Fill(sample, 10);
    CSoundThread withoutHolder;
    withoutHolder.RequestSound(&sample);
    EXPECT_FALSE(withoutHolder.IsThreadStarted());

    CRecordingWaveOutDevice closed;
    CSoundThread withClosedDevice;
    withClosedDevice.SetDevice(&closed);
    withClosedDevice.RequestSound(&sample);
    EXPECT_FALSE(withClosedDevice.IsThreadStarted());
    EXPECT_EQ(closed.CountEvents(Kind::kPlay), 0u);
}

TEST(SoundThread, ARequestIsPlayedAfterStoppingTheDevice) {
    CRecordingWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    CSoundSample sample;
    Fill(sample, 10);
    CSoundThread thread;
    thread.SetDevice(&device);
    thread.RequestSound(&sample);
    EXPECT_TRUE(thread.IsThreadStarted());
    ASSERT_TRUE(WaitForPlays(device, 1));
    std::vector<CRecordingWaveOutDevice::Event> events = device.GetEvents();
    ASSERT_GE(events.size(), 3u);
    EXPECT_EQ(events[1].kind, Kind::kStop);
    EXPECT_EQ(events[2].kind, Kind::kPlay);
    EXPECT_EQ(events[2].data, sample.GetData());
}

TEST(SoundThread, TheLatestRequestWins) {
    CRecordingWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    CSoundSample first, second;
    Fill(first, 1);
    Fill(second, 2);
    CSoundThread thread;
    thread.SetDevice(&device);
    thread.RequestSound(&first);
    thread.RequestSound(&second);
    thread.WaitUntilIdle();
    thread.RequestStop();

    std::vector<CRecordingWaveOutDevice::Event> events = device.GetEvents();
    const CRecordingWaveOutDevice::Event* lastPlay = nullptr;
    size_t plays = 0;
    for (size_t i = 0; i < events.size(); ++i) {
        if (events[i].kind != Kind::kPlay)
            continue;
        ++plays;
        lastPlay = &events[i];
        // Every sound cuts off the one before it.
        ASSERT_GT(i, 0u);
        EXPECT_EQ(events[i - 1].kind, Kind::kStop);
    }
    ASSERT_NE(lastPlay, nullptr);
    EXPECT_EQ(lastPlay->data, second.GetData());
    EXPECT_LE(plays, 2u);
}

TEST(SoundThread, AfterTheStopRequestNothingMoreIsPlayed) {
    CRecordingWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    CSoundSample sample;
    Fill(sample, 3);
    CSoundThread thread;
    thread.SetDevice(&device);
    thread.RequestSound(&sample);
    ASSERT_TRUE(WaitForPlays(device, 1));
    thread.RequestStop();
    EXPECT_TRUE(thread.IsStopRequested());
    thread.RequestSound(&sample);
    // A worker started again would be waited for here and play the sample.
    thread.WaitUntilIdle();
    EXPECT_EQ(device.CountEvents(Kind::kPlay), 1u);
}

TEST(SoundThread, ClosingTheDeviceThroughTheThreadSilencesLaterRequests) {
    CRecordingWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    CSoundSample sample;
    Fill(sample, 4);
    CSoundThread thread;
    thread.SetDevice(&device);
    thread.RequestSound(&sample);
    ASSERT_TRUE(WaitForPlays(device, 1));
    thread.CloseDevice();
    EXPECT_FALSE(device.IsDeviceOpen());
    thread.RequestSound(&sample);
    thread.WaitUntilIdle();
    EXPECT_TRUE(thread.IsThreadStarted());
    EXPECT_EQ(device.CountEvents(Kind::kPlay), 1u);
}

TEST(SoundThread, ARefusedBufferDoesNotStopLaterSounds) {
    CRecordingWaveOutDevice device;
    ASSERT_TRUE(device.OpenDevice(8, 22050, 1));
    CSoundSample sample;
    Fill(sample, 5);
    CSoundThread thread;
    thread.SetDevice(&device);
    device.SetRefusePlay(true);
    thread.RequestSound(&sample);
    thread.WaitUntilIdle();
    // The worker did take the request: it stopped the device before the refused play.
    EXPECT_EQ(device.CountEvents(Kind::kStop), 1u);
    EXPECT_EQ(device.CountEvents(Kind::kPlay), 0u);
    device.SetRefusePlay(false);
    thread.RequestSound(&sample);
    thread.WaitUntilIdle();
    EXPECT_EQ(device.CountEvents(Kind::kPlay), 1u);
}
