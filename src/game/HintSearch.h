// CHintSearch, the solver asked for the next key from a state of play, in a worker thread.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <thread>
#include <vector>

#include "rules/HeadlessPlay.h"
#include "rules/PlayState.h"

namespace kx {

inline constexpr double kHintSeconds = 3;
inline constexpr uint64_t kHintBytes = uint64_t{256} << 20;

// What a hint says: the next key of a shortest winning continuation, the level time at which
// it is due, the cell the current worm's head stands on then and the worm it concerns (for
// TAB, the worm that becomes current); or that nothing wins from here; or nothing known.
struct Hint {
    enum class Kind { Searching, Key, NoKeyNeeded, Unwinnable, Unknown };
    Kind kind = Kind::Searching;
    PlayKey key = PlayKey::Up;
    uint64_t timeMs = 0;
    int32_t cellX = 0;
    int32_t cellY = 0;
    int32_t worm = 0;
};

// Reads the answer of a finished search: where the key is due, on a copy of the start
// stepped on by the headless clock. The start is the state before the step at atMs.
Hint HintOfAnswer(const PlayState& start, uint64_t atMs, bool solved, bool unwinnable,
                  const std::vector<KeyPress>& keys);

// One search at a time; a new one or Cancel stops the old one, whose thread is joined once it
// has noticed (within a few states), so that the caller's loop never waits for it.
class CHintSearch {
public:
    CHintSearch() = default;
    CHintSearch(const CHintSearch&) = delete;
    CHintSearch& operator=(const CHintSearch&) = delete;
    ~CHintSearch();

    // start: the play state before the step at level time atMs, on the headless clock.
    void Start(const PlayState& start, uint64_t atMs);
    void Cancel();
    bool IsRunning() const { return job != nullptr; }
    // The answer once the search has finished (then it is no longer running).
    std::optional<Hint> Poll();
    // Waits for the answer (krawlix-tool shot, whose clock stands meanwhile).
    std::optional<Hint> Wait();

private:
    struct Job {
        PlayState start;
        uint64_t atMs = 0;
        std::atomic<bool> cancel{false};
        std::atomic<bool> done{false};
        Hint answer;
        std::thread thread;
    };
    void Reap();

    std::unique_ptr<Job> job;
    std::vector<std::unique_ptr<Job>> retired;
};

} // namespace kx
