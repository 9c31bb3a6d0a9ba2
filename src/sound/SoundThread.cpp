// CSoundThread: the request, the polling loop and the stop.
#include "SoundThread.h"

#include <chrono>

namespace kx {

namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(1);
}

void CSoundThread::SetDevice(CWaveOutDevice* newHolder) {
    std::lock_guard<std::mutex> guard(lock);
    holder = newHolder;
}

void CSoundThread::RequestSound(const CSoundSample* sample) {
    std::lock_guard<std::mutex> guard(lock);
    if (holder == nullptr || !holder->IsDeviceOpen())
        return;
    pending = sample; // replaces one that has not started yet
    if (!started) {
        started = true;
        running = true;
        worker = std::thread([this] { Run(); });
    }
    wake.notify_one();
    // Still holding the lock, so that the worker takes this sample before another request.
    std::this_thread::sleep_for(kPollInterval);
}

void CSoundThread::RequestStop() {
    std::thread ending;
    {
        std::lock_guard<std::mutex> guard(lock);
        stopRequested = true;
        wake.notify_one();
        ending = std::move(worker);
    }
    if (ending.joinable())
        ending.join();
}

void CSoundThread::CloseDevice() {
    std::lock_guard<std::mutex> guard(lock);
    if (holder != nullptr)
        holder->CloseDevice();
    pending = nullptr;
}

void CSoundThread::WaitUntilIdle() {
    std::unique_lock<std::mutex> guard(lock);
    // The worker holds the lock for a whole pass, so a pass counted after this point began
    // after every earlier request.
    const uint64_t target = passes + 1;
    passWanted = true;
    wake.notify_one();
    passDone.wait(guard, [&] { return !running || passes >= target; });
}

bool CSoundThread::IsThreadStarted() const {
    std::lock_guard<std::mutex> guard(lock);
    return started;
}

void CSoundThread::Run() {
    std::unique_lock<std::mutex> guard(lock);
    while (!stopRequested) {
        if (pending != nullptr && holder != nullptr && holder->IsDeviceOpen()) {
            holder->StopDevice(); // cuts off whatever plays
            // A refusal is ignored; the next request tries again.
            holder->PlayBuffer(*pending);
        }
        pending = nullptr;
        passWanted = false;
        ++passes;
        passDone.notify_all();
        // Asleep until there is something to do: a thread that looked every millisecond
        // would cost a laptop more than the rest of the game.
        wake.wait(guard, [this] { return pending != nullptr || passWanted || stopRequested; });
    }
    running = false;
    passDone.notify_all();
}

} // namespace kx
