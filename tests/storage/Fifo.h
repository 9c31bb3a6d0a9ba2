// A named pipe for tests of readers that must not wait for a writer: a watchdog opens it for
// writing after a while, so that a reader stuck in open() gets an empty pipe and ends, and the
// test fails instead of hanging.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>

namespace kxtest {

// How long a test waits before it lets a stuck reader through. A reader that does not wait
// ends in microseconds; the wait is long so that the watchdog's probes, which succeed while
// any reader has the pipe open, never meet such a reader on a slow sanitizer build.
inline constexpr std::chrono::milliseconds kFifoPatience{10000};

class Fifo {
public:
    explicit Fifo(std::string fifoPath) : path(std::move(fifoPath)) {
        made = mkfifo(path.c_str(), 0600) == 0;
    }
    ~Fifo() {
        Stop();
        unlink(path.c_str());
    }
    Fifo(const Fifo&) = delete;
    Fifo& operator=(const Fifo&) = delete;

    bool Made() const { return made; }
    const std::string& Path() const { return path; }

    // From after on, every reader that waits in open() is let through until Stop.
    void Watch(std::chrono::milliseconds after) {
        Stop();
        stopping = false;
        watchdog = std::thread([this, after] {
            std::unique_lock<std::mutex> lock(mutex);
            if (wake.wait_for(lock, after, [this] { return stopping; }))
                return;
            while (
                !wake.wait_for(lock, std::chrono::milliseconds(20), [this] { return stopping; })) {
                // Succeeds only while somebody has the pipe open for reading.
                const int fd = open(path.c_str(), O_WRONLY | O_NONBLOCK | O_CLOEXEC);
                if (fd >= 0) {
                    rescued = true;
                    close(fd);
                }
            }
        });
    }
    void Stop() {
        {
            std::lock_guard<std::mutex> lock(mutex);
            stopping = true;
        }
        wake.notify_all();
        if (watchdog.joinable())
            watchdog.join();
    }
    // Whether a reader had to be let through, that is, it waited for a writer.
    bool Rescued() const { return rescued; }

private:
    std::string path;
    bool made = false;
    std::thread watchdog;
    std::mutex mutex;
    std::condition_variable wake;
    bool stopping = true;
    std::atomic<bool> rescued{false};
};

} // namespace kxtest
