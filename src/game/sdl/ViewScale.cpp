// Whole-number scaling, letterboxing, click mapping and zoom steps of the game's picture.
#include "ViewScale.h"

#include <algorithm>

namespace kx {

PictureViewport FitPicture(int32_t outputWidth, int32_t outputHeight, int32_t pictureWidth,
                           int32_t pictureHeight) {
    PictureViewport v;
    if (pictureWidth < 1 || pictureHeight < 1) {
        return v;
    }
    const int32_t fit = std::min(outputWidth / pictureWidth, outputHeight / pictureHeight);
    v.scale = std::clamp(fit, 1, kMaxZoom);
    v.width = pictureWidth * v.scale;
    v.height = pictureHeight * v.scale;
    // Halving the difference keeps an odd spare pixel on the right and bottom; negative
    // differences centre a picture that is larger than the output.
    v.x = (outputWidth - v.width) / 2;
    v.y = (outputHeight - v.height) / 2;
    return v;
}

std::optional<PicturePoint> MapToPicture(const PictureViewport& viewport, int32_t x, int32_t y) {
    if (viewport.scale < 1) {
        return std::nullopt;
    }
    const int64_t dx = static_cast<int64_t>(x) - viewport.x;
    const int64_t dy = static_cast<int64_t>(y) - viewport.y;
    if (dx < 0 || dy < 0 || dx >= viewport.width || dy >= viewport.height) {
        return std::nullopt;
    }
    return PicturePoint{static_cast<int32_t>(dx / viewport.scale),
                        static_cast<int32_t>(dy / viewport.scale)};
}

int32_t ScaleCoordinate(int32_t value, int32_t windowSize, int32_t outputSize) {
    if (windowSize < 1 || outputSize < 1 || windowSize == outputSize) {
        return value;
    }
    return static_cast<int32_t>(static_cast<int64_t>(value) * outputSize / windowSize);
}

int32_t LargestFittingZoom(int32_t usableWidth, int32_t usableHeight, int32_t frameWidth,
                           int32_t frameHeight, int32_t clientWidth, int32_t clientHeight) {
    if (clientWidth < 1 || clientHeight < 1) {
        return 1;
    }
    const int32_t w = (usableWidth - std::max(frameWidth, 0)) / clientWidth;
    const int32_t h = (usableHeight - std::max(frameHeight, 0)) / clientHeight;
    return std::clamp(std::min(w, h), 1, kMaxZoom);
}

int32_t StartingZoom(int32_t storedZoom, bool highDensity, int32_t largestZoom) {
    const int32_t largest = std::clamp(largestZoom, 1, kMaxZoom);
    if (storedZoom >= 1 && storedZoom <= kMaxZoom) {
        return std::min(storedZoom, largest);
    }
    return highDensity && largest >= 2 ? 2 : 1;
}

int32_t StepZoom(int32_t zoom, int32_t step, int32_t largestZoom) {
    const int32_t largest = std::clamp(largestZoom, 1, kMaxZoom);
    return std::clamp(zoom + step, 1, largest);
}

} // namespace kx
