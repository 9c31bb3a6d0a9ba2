// CSoundThread, the worker that hands the latest requested sample to the device.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>

#include "SoundSample.h"
#include "WaveOutDevice.h"

namespace kx {

// One voice, latest wins: the worker waits for a pending sample, stops the device and plays
// it. The thread starts with the first request that finds an open device and
// is joined on RequestStop or destruction.
class CSoundThread {
public:
    CSoundThread() = default;
    CSoundThread(const CSoundThread&) = delete;
    CSoundThread& operator=(const CSoundThread&) = delete;
    ~CSoundThread() { RequestStop(); }

    // The device holder is not owned; it must outlive the thread or be removed first.
    void SetDevice(CWaveOutDevice* holder);
    // The sample is not owned and must stay alive and unchanged while it may be playing.
    // Without an open device nothing happens: no thread is started.
    void RequestSound(const CSoundSample* sample);
    // Sets the stop request and waits for the worker to end.
    void RequestStop();
    // Closes the held device under the lock, so that the worker cannot be using it meanwhile.
    void CloseDevice();

    // Returns once the worker has taken every request made before the call: after one whole
    // pass of its loop, or at once when no worker runs.
    void WaitUntilIdle();

    bool IsThreadStarted() const;
    bool IsStopRequested() const { return stopRequested.load(); }

private:
    void Run();

    mutable std::mutex lock;
    std::condition_variable passDone;
    std::condition_variable wake; // a request, a wanted pass or the stop, for the worker
    bool passWanted = false;      // WaitUntilIdle waits for a pass, under the lock
    uint64_t passes = 0;          // whole passes of the worker's loop, under the lock
    bool running = false;         // the worker is in its loop
    CWaveOutDevice* holder = nullptr;
    const CSoundSample* pending = nullptr;
    std::atomic<bool> stopRequested{false};
    bool started = false;
    std::thread worker;
};

} // namespace kx
