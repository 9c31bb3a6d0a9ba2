// present-probe: the least a program can do to show a new 650 x 650 picture at a given rate
// with SDL: copy ready pixels into a streaming texture and present it, nothing else, with a
// renderer made as the game's window makes its own. The yardstick that scripts/cpu-check.sh
// holds the game's CPU against. --renderer names SDL's renderer instead. --wakes N also wakes
// N times a second and does nothing else then, as a program with a timer step of its own must
// (each present comes at the first wake at or after its time).
//   present-probe [--rate FRAMES_PER_SECOND] [--seconds S] [--renderer NAME] [--wakes N]
#include <SDL.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "SdlPicture.h"

namespace {

constexpr int kSize = 650;

struct Options {
    double rate = 60;
    double seconds = 10;
    double wakes = 0;
    std::string renderer;
};

bool ReadOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        const std::string name = argv[i];
        const char* value = argv[i + 1];
        if (name == "--rate") {
            options.rate = std::atof(value);
        } else if (name == "--seconds") {
            options.seconds = std::atof(value);
        } else if (name == "--renderer") {
            options.renderer = value;
        } else if (name == "--wakes") {
            options.wakes = std::atof(value);
        } else {
            return false;
        }
    }
    return argc % 2 == 1 && options.rate > 0 && options.rate <= 1000 && options.seconds > 0 &&
           options.wakes >= 0 && options.wakes <= 1000;
}

} // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ReadOptions(argc, argv, options)) {
        std::fputs("usage: present-probe [--rate FRAMES_PER_SECOND] [--seconds S] "
                   "[--renderer NAME] [--wakes N]\n",
                   stderr);
        return 2;
    }
    if (SDL_Init(SDL_INIT_VIDEO) != 0) {
        std::fprintf(stderr, "present-probe: %s\n", SDL_GetError());
        return 1;
    }
    if (!options.renderer.empty()) {
        SDL_SetHint(SDL_HINT_RENDER_DRIVER, options.renderer.c_str());
    }
    SDL_Window* window = SDL_CreateWindow("present-probe", SDL_WINDOWPOS_CENTERED,
                                          SDL_WINDOWPOS_CENTERED, kSize, kSize, 0);
    SDL_Renderer* renderer = window ? kx::CreateWindowRenderer(window, true) : nullptr;
    SDL_Texture* texture = renderer ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_RGB888,
                                                        SDL_TEXTUREACCESS_STREAMING, kSize, kSize)
                                    : nullptr;
    if (texture == nullptr) {
        std::fprintf(stderr, "present-probe: %s\n", SDL_GetError());
        SDL_Quit();
        return 1;
    }
    SDL_SetTextureBlendMode(texture, SDL_BLENDMODE_NONE);
    SDL_RendererInfo info{};
    SDL_GetRendererInfo(renderer, &info);
    std::printf("present-probe: renderer %s, %.1f frames a second\n", info.name, options.rate);
    std::fflush(stdout);

    // Two pictures in turn, so that every present shows a new one.
    std::vector<uint32_t> frames[2];
    for (int f = 0; f < 2; ++f) {
        frames[f].resize(static_cast<size_t>(kSize) * kSize);
        for (size_t i = 0; i < frames[f].size(); ++i) {
            frames[f][i] = 0xFF000000u | static_cast<uint32_t>((i * 2654435761u) >> (8 + f));
        }
    }
    using Clock = std::chrono::steady_clock;
    const auto period = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(1.0 / options.rate));
    const auto start = Clock::now();
    const auto end = start + std::chrono::duration_cast<Clock::duration>(
                                 std::chrono::duration<double>(options.seconds));
    const auto wakePeriod = options.wakes > 0
                                ? std::chrono::duration_cast<Clock::duration>(
                                      std::chrono::duration<double>(1.0 / options.wakes))
                                : Clock::duration::zero();
    auto wake = start;
    auto deadline = start;
    bool quit = false;
    uint64_t n = 0;
    for (; !quit && deadline < end; ++n) {
        if (wakePeriod > Clock::duration::zero()) {
            while (wake < deadline) {
                wake += wakePeriod;
                std::this_thread::sleep_until(wake);
            }
        } else {
            std::this_thread::sleep_until(deadline);
        }
        SDL_Event event;
        while (SDL_PollEvent(&event)) {
            quit = quit || event.type == SDL_QUIT;
        }
        SDL_UpdateTexture(texture, nullptr, frames[n % 2].data(), kSize * 4);
        // The texture covers the whole window: nothing needs clearing first.
        SDL_RenderCopy(renderer, texture, nullptr, nullptr);
        SDL_RenderPresent(renderer);
        // Like the game's loop, one that fell behind skips to the next frame ahead.
        deadline += period;
        const auto now = Clock::now();
        if (deadline < now) {
            deadline += (now - deadline) / period * period + period;
        }
    }
    std::printf("presents=%llu seconds=%.3f\n", static_cast<unsigned long long>(n),
                std::chrono::duration<double>(Clock::now() - start).count());
    SDL_DestroyTexture(texture);
    SDL_DestroyRenderer(renderer);
    SDL_DestroyWindow(window);
    SDL_Quit();
    return 0;
}
