// Showing the game's surface in the SDL window through one streaming 32-bit texture.
#include "SdlPicture.h"

#include <algorithm>

#include "SurfaceUpload.h"

namespace kx {

SDL_Renderer* CreateWindowRenderer(SDL_Window* window, bool oneToOne) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    // The software renderer draws straight into the window's pixels (shared memory on X11);
    // left to itself SDL would present them through an OpenGL texture, which on a machine
    // without a GPU costs more than everything else of a frame together.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SDL_Renderer* renderer = nullptr;
    if (oneToOne && SDL_GetHint(SDL_HINT_RENDER_DRIVER) == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, 0);
    }
    if (renderer == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    return renderer;
}

bool CSdlPicture::Create(SDL_Window* window, bool oneToOne) {
    renderer.reset(CreateWindowRenderer(window, oneToOne));
    return renderer != nullptr;
}

const char* CSdlPicture::RendererName() const {
    SDL_RendererInfo info{};
    if (!renderer || SDL_GetRendererInfo(renderer.get(), &info) != 0 || info.name == nullptr) {
        return "";
    }
    return info.name;
}

bool CSdlPicture::FitTexture(int32_t width, int32_t height) {
    if (texture && width == textureWidth && height == textureHeight) {
        return true;
    }
    texture.reset();
    textureWidth = textureHeight = 0;
    textureCurrent = false;
    // Without alpha, so that drawing it is a plain copy, never a blend.
    texture.reset(SDL_CreateTexture(renderer.get(), SDL_PIXELFORMAT_RGB888,
                                    SDL_TEXTUREACCESS_STREAMING, width, height));
    if (!texture) {
        return false;
    }
    SDL_SetTextureBlendMode(texture.get(), SDL_BLENDMODE_NONE);
    SDL_SetTextureScaleMode(texture.get(), SDL_ScaleModeNearest);
    textureWidth = width;
    textureHeight = height;
    return true;
}

bool CSdlPicture::Upload(const CDrawDevice24& surface, const std::vector<SurfaceRect>& areas) {
    if (!renderer || !surface.HasPixels() || !FitTexture(surface.GetWidth(), surface.GetHeight())) {
        return false;
    }
    const SurfaceRect whole = surface.Whole();
    const std::vector<SurfaceRect> all{whole};
    lastUploadPixels = 0;
    lastUploadWhole = !textureCurrent || areas == all;
    for (const SurfaceRect& wanted : textureCurrent ? areas : all) {
        const SurfaceRect area = IntersectionOf(wanted, whole);
        if (area.IsEmpty()) {
            continue;
        }
        // A locked area is written whole: SDL need not hand out its old pixels.
        const SDL_Rect rect{area.left, area.top, area.right - area.left, area.bottom - area.top};
        void* pixels = nullptr;
        int pitch = 0;
        if (SDL_LockTexture(texture.get(), &rect, &pixels, &pitch) != 0) {
            textureCurrent = false;
            return false;
        }
        CopyTopDownToXrgb(surface, area, static_cast<uint8_t*>(pixels), pitch);
        SDL_UnlockTexture(texture.get());
        lastUploadPixels += static_cast<uint64_t>(rect.w) * static_cast<uint64_t>(rect.h);
    }
    textureCurrent = true;
    return true;
}

void CSdlPicture::Present() {
    if (!renderer || !texture) {
        return;
    }
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetRendererOutputSize(renderer.get(), &outputWidth, &outputHeight);
    viewport = FitPicture(outputWidth, outputHeight, textureWidth, textureHeight);
    // Bars only where the picture leaves some of the output uncovered.
    if (viewport.x > 0 || viewport.y > 0 || viewport.width < outputWidth ||
        viewport.height < outputHeight) {
        SDL_SetRenderDrawColor(renderer.get(), 0, 0, 0, 255);
        SDL_RenderClear(renderer.get());
    }
    const SDL_Rect target{viewport.x, viewport.y, viewport.width, viewport.height};
    SDL_RenderCopy(renderer.get(), texture.get(), nullptr, &target);
    SDL_RenderPresent(renderer.get());
}

PicturePoint CSdlPicture::WindowToOutput(SDL_Window* window, int32_t x, int32_t y) const {
    int windowWidth = 0;
    int windowHeight = 0;
    int outputWidth = 0;
    int outputHeight = 0;
    SDL_GetWindowSize(window, &windowWidth, &windowHeight);
    if (renderer) {
        SDL_GetRendererOutputSize(renderer.get(), &outputWidth, &outputHeight);
    }
    return {ScaleCoordinate(x, windowWidth, outputWidth),
            ScaleCoordinate(y, windowHeight, outputHeight)};
}

} // namespace kx
