// Showing the game's picture in a window of any size: whole-number scale, letterbox, clicks, zoom.
#pragma once

#include <cstdint>
#include <optional>

namespace kx {

inline constexpr int32_t kMaxZoom = 16;

// Where the picture lands in the output, in output pixels.
struct PictureViewport {
    int32_t scale = 1;
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const PictureViewport&) const = default;
};

struct PicturePoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const PicturePoint&) const = default;
};

// The largest whole-number scale at which the picture fits the output, centred with bars
// around it. An output smaller than the picture shows it at scale 1, centred and cut.
PictureViewport FitPicture(int32_t outputWidth, int32_t outputHeight, int32_t pictureWidth,
                           int32_t pictureHeight);

// The picture pixel under an output pixel; none in the bars around the picture.
std::optional<PicturePoint> MapToPicture(const PictureViewport& viewport, int32_t x, int32_t y);

// Window coordinates to output pixels, for outputs whose pixels are not the window's points.
int32_t ScaleCoordinate(int32_t value, int32_t windowSize, int32_t outputSize);

// The largest zoom whose window (the client area at that zoom plus the frame around it)
// fits the usable area of the screen; at least 1, at most kMaxZoom.
int32_t LargestFittingZoom(int32_t usableWidth, int32_t usableHeight, int32_t frameWidth,
                           int32_t frameHeight, int32_t clientWidth, int32_t clientHeight);

// A screen of at least this many dots per inch counts as high-density.
inline constexpr float kHighDensityDpi = 144.0f;

// The zoom the window opens with: a stored zoom (1 to kMaxZoom; anything else counts as not
// stored) as far as it fits, else 2 on a high-density screen where that fits, else 1.
int32_t StartingZoom(int32_t storedZoom, bool highDensity, int32_t largestZoom);

// One step of Ctrl+Plus (+1) or Ctrl+Minus (-1), kept within 1 and the largest fitting zoom.
int32_t StepZoom(int32_t zoom, int32_t step, int32_t largestZoom);

} // namespace kx
