// CSdlPicture, the window's renderer and the streaming texture that shows the game's surface.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>

#include "ViewScale.h"
#include "graphics/DrawDevice24.h"

namespace kx {

class CSdlPicture {
public:
    CSdlPicture() = default;
    CSdlPicture(const CSdlPicture&) = delete;
    CSdlPicture& operator=(const CSdlPicture&) = delete;

    // A renderer for the window (the platform's best, else software) without vertical sync,
    // so that presenting never stalls a timer step. False with SDL's error text set.
    bool Create(SDL_Window* window);
    // Copies the surface into the texture, its rows turned top-down; false without pixels.
    bool Upload(const CDrawDevice24& surface);
    // Shows the texture scaled by a whole number with nearest-pixel sampling, letterboxed in
    // black. Again after an output was uncovered or resized.
    void Present();
    // Where the picture lies in the output, for mapping clicks.
    const PictureViewport& GetViewport() const { return viewport; }
    // Window coordinates to output pixels (they differ on some high-density outputs).
    PicturePoint WindowToOutput(SDL_Window* window, int32_t x, int32_t y) const;

private:
    struct RendererDeleter {
        void operator()(SDL_Renderer* r) const { SDL_DestroyRenderer(r); }
    };
    struct TextureDeleter {
        void operator()(SDL_Texture* t) const { SDL_DestroyTexture(t); }
    };

    bool FitTexture(int32_t width, int32_t height);

    // The texture goes before the renderer that made it.
    std::unique_ptr<SDL_Renderer, RendererDeleter> renderer;
    std::unique_ptr<SDL_Texture, TextureDeleter> texture;
    int32_t textureWidth = 0;
    int32_t textureHeight = 0;
    PictureViewport viewport;
};

} // namespace kx
