// CSdlPicture, the window's renderer and the streaming texture that shows the game's surface.
#pragma once

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

#include "ViewScale.h"
#include "graphics/DrawDevice24.h"

namespace kx {

// The game window's renderer, made as CSdlPicture::Create describes; null with SDL's error
// text set. The present probe of scripts/cpu-check.sh makes its renderer with it too.
SDL_Renderer* CreateWindowRenderer(SDL_Window* window, bool oneToOne);

class CSdlPicture {
public:
    CSdlPicture() = default;
    CSdlPicture(const CSdlPicture&) = delete;
    CSdlPicture& operator=(const CSdlPicture&) = delete;

    // A renderer for the window without vertical sync, so that presenting never stalls a
    // timer step; the window's loop paces the presents itself. For a picture shown pixel for
    // pixel (oneToOne) SDL's software renderer, which copies it into the window's own pixels
    // and loads no OpenGL; for a scaled one the platform's best, else software. SDL's
    // SDL_RENDER_DRIVER chooses instead where it is set. False with SDL's error text set.
    bool Create(SDL_Window* window, bool oneToOne);
    // The pixels the last Upload copied, and whether it copied the whole surface.
    uint64_t LastUploadPixels() const { return lastUploadPixels; }
    bool LastUploadWhole() const { return lastUploadWhole; }
    // The renderer's name ("software", "opengl", ...), empty before Create.
    const char* RendererName() const;
    // Copies the areas of the surface into the texture, its rows turned top-down; the whole
    // surface while the texture is new or after an upload failed. False without pixels.
    bool Upload(const CDrawDevice24& surface, const std::vector<SurfaceRect>& areas);
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
    // Whether the texture holds the surface as last uploaded.
    bool textureCurrent = false;
    uint64_t lastUploadPixels = 0;
    bool lastUploadWhole = false;
    PictureViewport viewport;
};

} // namespace kx
