#include "app/SurfaceScale.h"

#include <gtest/gtest.h>

namespace {

TEST(SurfaceScale, ScalesStandForResolutions) {
    EXPECT_EQ(dpiForScale(120), 96);
    EXPECT_EQ(dpiForScale(240), 192);
    EXPECT_EQ(dpiForScale(180), 144);
    EXPECT_EQ(dpiForScale(150), 120);
    EXPECT_EQ(dpiForScale(0), 96);  // no scale said: 100 %
    EXPECT_EQ(dpiForScale(-240), 96);
}

TEST(SurfaceScale, LogicalAndBufferSizesRoundToTheNearestPixel) {
    EXPECT_EQ(logicalSize({392, 896}, 240), (PixelSize{196, 448}));
    EXPECT_EQ(logicalSize({294, 672}, 180), (PixelSize{196, 448}));
    EXPECT_EQ(logicalSize({7, 16}, 240), (PixelSize{4, 8}));  // 3.5 rounds up
    EXPECT_EQ(logicalSize({0, 0}, 120), (PixelSize{1, 1}));
    EXPECT_EQ(bufferSize({196, 448}, 180), (PixelSize{294, 672}));
    EXPECT_EQ(bufferSize({131, 299}, 150), (PixelSize{164, 374}));  // 163.75 and 373.75
}

TEST(SurfaceScale, AWholeScaleThatDividesThePictureIsTheBufferScale) {
    const SurfaceScaling atTwo = surfaceScaling({392, 896}, 240, false);
    EXPECT_EQ(atTwo.bufferScale, 2);
    EXPECT_FALSE(atTwo.viewport);
    EXPECT_EQ(atTwo.logical, (PixelSize{196, 448}));

    const SurfaceScaling atOne = surfaceScaling({203, 464}, 120, true);
    EXPECT_EQ(atOne.bufferScale, 1);
    EXPECT_FALSE(atOne.viewport);
    EXPECT_EQ(atOne.logical, (PixelSize{203, 464}));
}

TEST(SurfaceScale, OtherPicturesNeedAViewportOrShowOnePixelALogicalPixel) {
    // An odd width at 200 %: a buffer scale of 2 would not divide it.
    const SurfaceScaling odd = surfaceScaling({203, 464}, 240, true);
    EXPECT_EQ(odd.bufferScale, 1);
    EXPECT_TRUE(odd.viewport);
    EXPECT_EQ(odd.logical, (PixelSize{102, 232}));

    const SurfaceScaling fractional = surfaceScaling({294, 672}, 180, true);
    EXPECT_EQ(fractional.bufferScale, 1);
    EXPECT_TRUE(fractional.viewport);
    EXPECT_EQ(fractional.logical, (PixelSize{196, 448}));

    const SurfaceScaling noViewport = surfaceScaling({294, 672}, 180, false);
    EXPECT_EQ(noViewport.bufferScale, 1);
    EXPECT_FALSE(noViewport.viewport);
    EXPECT_EQ(noViewport.logical, (PixelSize{294, 672}));
}

}  // namespace
