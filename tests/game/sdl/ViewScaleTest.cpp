// Whole-number scaling, letterbox and click mapping of the picture; zoom choices.
#include <gtest/gtest.h>

#include "game/sdl/ViewScale.h"

namespace kx {
namespace {

TEST(PictureFit, ExactWindowShowsThePictureOneToOne) {
    EXPECT_EQ(FitPicture(650, 650, 650, 650), (PictureViewport{1, 0, 0, 650, 650}));
}

TEST(PictureFit, LargerOutputTakesTheLargestWholeScaleAndCentresIt) {
    // 1920 × 1080: 1080 / 650 is 1.66, so scale 1 with bars on all sides.
    EXPECT_EQ(FitPicture(1920, 1080, 650, 650), (PictureViewport{1, 635, 215, 650, 650}));
    // 2560 × 1440: scale 2 (1300), 140 spare pixels split 70 / 70 vertically.
    EXPECT_EQ(FitPicture(2560, 1440, 650, 650), (PictureViewport{2, 630, 70, 1300, 1300}));
    // The narrower side decides.
    EXPECT_EQ(FitPicture(3000, 1400, 650, 650).scale, 2);
    EXPECT_EQ(FitPicture(1400, 3000, 650, 650).scale, 2);
}

TEST(PictureFit, OutputSmallerThanThePictureShowsItCentredAndCut) {
    const PictureViewport v = FitPicture(600, 700, 650, 650);
    EXPECT_EQ(v.scale, 1);
    EXPECT_EQ(v.x, -25);
    EXPECT_EQ(v.y, 25);
}

TEST(PictureFit, HugeOutputsStopAtTheLargestZoom) {
    EXPECT_EQ(FitPicture(100000, 100000, 650, 650).scale, kMaxZoom);
}

TEST(ClickMapping, PixelsOfAScaledPictureMapToTheirClientPixel) {
    const PictureViewport v = FitPicture(2560, 1440, 650, 650); // scale 2 at (630, 70)
    EXPECT_EQ(MapToPicture(v, 630, 70), (PicturePoint{0, 0}));
    EXPECT_EQ(MapToPicture(v, 631, 71), (PicturePoint{0, 0}));
    EXPECT_EQ(MapToPicture(v, 632, 73), (PicturePoint{1, 1}));
    EXPECT_EQ(MapToPicture(v, 630 + 1299, 70 + 1299), (PicturePoint{649, 649}));
}

TEST(ClickMapping, ClicksInTheLetterboxHitNothing) {
    const PictureViewport v = FitPicture(2560, 1440, 650, 650);
    EXPECT_FALSE(MapToPicture(v, 629, 500));
    EXPECT_FALSE(MapToPicture(v, 630 + 1300, 500));
    EXPECT_FALSE(MapToPicture(v, 1000, 69));
    EXPECT_FALSE(MapToPicture(v, 1000, 70 + 1300));
    EXPECT_FALSE(MapToPicture(v, -5, -5));
}

TEST(ClickMapping, ACutPictureMapsTheVisiblePartOnly) {
    const PictureViewport v = FitPicture(600, 650, 650, 650); // x = -25
    EXPECT_EQ(MapToPicture(v, 0, 10), (PicturePoint{25, 10}));
    EXPECT_EQ(MapToPicture(v, 599, 10), (PicturePoint{624, 10}));
}

TEST(ClickMapping, WindowPointsScaleToOutputPixels) {
    EXPECT_EQ(ScaleCoordinate(100, 650, 1300), 200);
    EXPECT_EQ(ScaleCoordinate(100, 650, 650), 100);
    EXPECT_EQ(ScaleCoordinate(100, 0, 1300), 100);
    EXPECT_EQ(ScaleCoordinate(100, 650, 0), 100);
}

TEST(Zoom, LargestFittingZoomLeavesRoomForTheFrame) {
    // 1300 + 30 of title bar does not fit 1320 of usable height.
    EXPECT_EQ(LargestFittingZoom(2560, 1320, 2, 30, 650, 650), 1);
    EXPECT_EQ(LargestFittingZoom(2560, 1400, 2, 30, 650, 650), 2);
    EXPECT_EQ(LargestFittingZoom(3840, 2100, 0, 0, 650, 650), 3);
    // A screen smaller than the window still gets zoom 1.
    EXPECT_EQ(LargestFittingZoom(640, 480, 0, 0, 650, 650), 1);
}

TEST(Zoom, HighDensityScreensStartAtTwoWhereItFits) {
    EXPECT_EQ(StartingZoom(0, true, 3), 2);
    EXPECT_EQ(StartingZoom(0, true, 2), 2);
    EXPECT_EQ(StartingZoom(0, true, 1), 1);
    EXPECT_EQ(StartingZoom(0, false, 3), 1);
}

TEST(Zoom, AStoredZoomWinsAsFarAsItFits) {
    EXPECT_EQ(StartingZoom(3, false, 4), 3);
    EXPECT_EQ(StartingZoom(1, true, 4), 1);
    EXPECT_EQ(StartingZoom(5, false, 2), 2);
    // Values no window could have count as not stored.
    EXPECT_EQ(StartingZoom(-3, true, 4), 2);
    EXPECT_EQ(StartingZoom(kMaxZoom + 1, false, 4), 1);
}

TEST(Zoom, StepsStayBetweenOneAndTheLargestFittingZoom) {
    EXPECT_EQ(StepZoom(1, 1, 3), 2);
    EXPECT_EQ(StepZoom(3, 1, 3), 3);
    EXPECT_EQ(StepZoom(1, -1, 3), 1);
    // A zoom beyond what fits now (the window moved to a smaller screen) shrinks to fit.
    EXPECT_EQ(StepZoom(4, -1, 2), 2);
}

} // namespace
} // namespace kx
