// The hint's worker thread and the reading of its answer.
#include "HintSearch.h"

#include "solver/Solver.h"

namespace kx {

namespace {

void JoinIfStarted(std::thread& thread) {
    if (thread.joinable())
        thread.join();
}

} // namespace

Hint HintOfAnswer(const PlayState& start, uint64_t atMs, bool solved, bool unwinnable,
                  const std::vector<KeyPress>& keys) {
    Hint hint;
    if (!solved) {
        hint.kind = unwinnable ? Hint::Kind::Unwinnable : Hint::Kind::Unknown;
        return hint;
    }
    CGame game;
    game.play = start;
    game.counterFrequency = kHeadlessFrequency;
    // Until the key is due nothing is pressed: step on to the state it meets.
    const uint64_t dueMs = keys.empty() ? atMs : keys.front().timeMs;
    for (uint64_t t = StepOfMs(atMs) * kTimerStepMs; t < dueMs; t += kTimerStepMs)
        game.TimerStep(game.MsToTicks(kHeadlessStartMs + t));
    hint.kind = keys.empty() ? Hint::Kind::NoKeyNeeded : Hint::Kind::Key;
    hint.timeMs = dueMs;
    if (!keys.empty()) {
        hint.key = keys.front().key;
        if (hint.key == PlayKey::Tab)
            PressKey(game, PlayKey::Tab);
    }
    hint.worm = game.play.activeWorm;
    if (const Worm* worm = game.CurrentWorm(); worm && worm->length >= 1) {
        hint.cellX = worm->Head().x;
        hint.cellY = worm->Head().y;
    }
    return hint;
}

CHintSearch::~CHintSearch() {
    Cancel();
    for (auto& old : retired)
        JoinIfStarted(old->thread);
}

void CHintSearch::Start(const PlayState& start, uint64_t atMs) {
    Cancel();
    job = std::make_unique<Job>();
    job->start = start;
    job->atMs = atMs;
    Job* j = job.get();
    auto search = [j] {
        SolveLimits limits;
        limits.maxSeconds = kHintSeconds;
        limits.maxBytes = kHintBytes;
        limits.cancel = &j->cancel;
        const SolveResult r = SolveFrom(j->start, j->atMs, limits);
        if (r.status != SolveStatus::Cancelled)
            j->answer = HintOfAnswer(j->start, j->atMs, r.status == SolveStatus::Solved,
                                     r.status == SolveStatus::Unwinnable, r.keys);
        j->done.store(true, std::memory_order_release);
    };
#ifdef __EMSCRIPTEN__
    // The page has no threads (they need headers a plain static server does not send): the
    // search runs at once, and the page waits for it.
    search();
#else
    j->thread = std::thread(search);
#endif
}

void CHintSearch::Cancel() {
    Reap();
    if (!job)
        return;
    job->cancel.store(true, std::memory_order_relaxed);
    retired.push_back(std::move(job));
}

void CHintSearch::Reap() {
    for (size_t i = 0; i < retired.size();) {
        if (retired[i]->done.load(std::memory_order_acquire)) {
            JoinIfStarted(retired[i]->thread);
            retired.erase(retired.begin() + static_cast<std::ptrdiff_t>(i));
        } else {
            ++i;
        }
    }
}

std::optional<Hint> CHintSearch::Poll() {
    Reap();
    if (!job || !job->done.load(std::memory_order_acquire))
        return std::nullopt;
    JoinIfStarted(job->thread);
    Hint answer = job->answer;
    job.reset();
    return answer;
}

std::optional<Hint> CHintSearch::Wait() {
    if (!job)
        return std::nullopt;
    JoinIfStarted(job->thread);
    Hint answer = job->answer;
    job.reset();
    return answer;
}

} // namespace kx
