#include "raster/Canvas.h"

#include "raster/PaintTarget.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

namespace {

const PixelRect everywhere{0, 0, 1 << 20, 1 << 20};

// Records what a canvas hands to the screen.
class RecordingTarget : public PaintTarget {
public:
    void paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t w, std::int32_t h,
                          const std::uint8_t* rows, const PixelRect& area) override {
        ++calls;
        lastArea = area;
        lastX = x;
        lastY = y;
        lastWidth = w;
        lastHeight = h;
        picture.assign(rows, rows + 3 * w * h);
    }
    int calls = 0;
    std::int32_t lastX = -1, lastY = -1, lastWidth = -1, lastHeight = -1;
    PixelRect lastArea;
    std::vector<std::uint8_t> picture;
};

const std::uint8_t* pixelAt(const Canvas& canvas, int x, int y) {
    return canvas.pixels.get() + (y * canvas.width + x) * canvas.bytesPerPixel;
}

void makeCanvas(Canvas& canvas, int pixelFormat, int depthFormat, int w, int h, int scale) {
    canvas.pixelFormat = pixelFormat;
    canvas.depthFormat = depthFormat;
    ASSERT_EQ(canvas.create(w, h, static_cast<std::int16_t>(scale)), 1);
}

// The clip the row and span tests plot under.
void setClip(Canvas& canvas, std::int16_t shape) {
    canvas.clipShape = shape;
    canvas.clipCenterX = 5;
    canvas.clipCenterY = 3;
    canvas.clipHalfWidth = 4;
    canvas.clipHalfHeight = 2;
    canvas.clipAngle = 0.4;
}

// Depth element i of a canvas, whatever its depth format.
double depthAt(const Canvas& canvas, int i) {
    const std::uint8_t* at = canvas.depth.get() + i * canvas.bytesPerDepth;
    if (canvas.depthFormat == 1) {
        return *at;
    }
    if (canvas.depthFormat == 2) {
        float value;
        std::memcpy(&value, at, 4);
        return value;
    }
    double value;
    std::memcpy(&value, at, 8);
    return value;
}

Color floatColor(float red, float green, float blue) {
    Color c;
    c.rf = red;
    c.gf = green;
    c.bf = blue;
    c.kind = ColorFloats;
    return c;
}

}  // namespace

// Three-byte rows are widened to a multiple of four pixels; float rows are not.
TEST(CanvasCreate, WidthsAndScales) {
    struct Case {
        int pixelFormat, w, h, scale, storeWidth, storeHeight, displayWidth;
    };
    const Case cases[] = {
        {1, 7, 3, 1, 8, 3, 8},  {1, 7, 3, 2, 16, 6, 8}, {1, 8, 3, 1, 8, 3, 8},
        {1, 5, 1, 3, 24, 3, 8}, {2, 7, 3, 1, 7, 3, 7},  {2, 7, 3, 2, 14, 6, 7},
        {1, 4, 4, 0, 4, 4, 4},  // scale 0 on a fresh canvas keeps its factor 1
    };
    for (const Case& c : cases) {
        Canvas canvas;
        makeCanvas(canvas, c.pixelFormat, 0, c.w, c.h, c.scale);
        EXPECT_EQ(canvas.scale, c.scale == 0 ? 1 : c.scale);
        EXPECT_EQ(canvas.width, c.storeWidth);
        EXPECT_EQ(canvas.height, c.storeHeight);
        EXPECT_EQ(canvas.displayWidth(), c.displayWidth);
        EXPECT_EQ(canvas.displayHeight(), c.h);
    }
}

TEST(CanvasCreate, ScaleZeroKeepsTheCurrentFactor) {
    Canvas doubled;
    makeCanvas(doubled, 1, 0, 4, 4, 2);
    ASSERT_EQ(doubled.create(8, 2, 0), 1);
    EXPECT_EQ(doubled.scale, 2);
    EXPECT_EQ(doubled.width, 16);
    EXPECT_EQ(doubled.height, 4);
}

TEST(CanvasCreate, StartsBlackWithFarthestDepth) {
    for (int depthFormat = 1; depthFormat <= 3; ++depthFormat) {
        Canvas canvas;
        makeCanvas(canvas, 1, depthFormat, 5, 3, 1);
        const int count = canvas.width * canvas.height;
        for (int i = 0; i < 3 * count; ++i) {
            ASSERT_EQ(canvas.pixels[i], 0);
        }
        // 1e30 as a float is 0x7149F2CA.
        const double farthest = depthFormat == 1 ? 255.0 : depthFormat == 2 ? double{1.0e30f} : 1.0e30;
        for (int i = 0; i < count; ++i) {
            ASSERT_EQ(depthAt(canvas, i), farthest) << depthFormat;
        }
    }
}

// 65536² three-byte pixels need 12 GiB; the canvas refuses and keeps no buffers.
TEST(CanvasCreate, RejectsOversizedAndNegativeSizes) {
    struct Case {
        int pixelFormat, depthFormat, w, h, scale;
    };
    const Case cases[] = {
        {1, 0, 65536, 65536, 1}, {0, 3, 20000, 20000, 1}, {2, 0, 16384, 16384, 1},
        {1, 0, -4, 4, 1},        {1, 0, 4, -4, 1},        {1, 0, 4, 4, -2},
        {1, 0, 2147483647, 1, 1},
        // Sides that fit 32 bits but whose product of 2^62 elements, in bytes,
        // would not fit 64.
        {1, 0, 2147483644, 2147483647, 1}, {2, 3, 2147483647, 2147483647, 1},
    };
    for (const Case& c : cases) {
        Canvas canvas;
        canvas.pixelFormat = c.pixelFormat;
        canvas.depthFormat = c.depthFormat;
        EXPECT_EQ(canvas.create(c.w, c.h, static_cast<std::int16_t>(c.scale)), 0)
            << c.w << " x " << c.h;
        EXPECT_FALSE(canvas.hasPixels());
        EXPECT_EQ(canvas.depth, nullptr);
        EXPECT_GE(canvas.scale, 1);
    }
}

// A canvas whose create failed must survive every operation without touching a
// store it does not have; neither shows anything before a present.
TEST(CanvasCreate, NothingToShowAfterAFailedOrRepeatedCreate) {
    Canvas canvas;
    canvas.pixelFormat = PixelFormatRgbBytes;
    canvas.depthFormat = DepthFormatByte;
    ASSERT_EQ(canvas.create(65536, 65536, 1), 0);
    EXPECT_EQ(canvas.width, 65536);
    canvas.clear();
    canvas.plot(5, 5, Color::bytes(1, 2, 3), DepthTest, 3.0);
    EXPECT_EQ(canvas.writePixel(5, 5, Color::bytes(1, 2, 3), DepthOff, 0.0), 1);
    canvas.present();
    RecordingTarget target;
    canvas.blit(target, 0, everywhere);
    EXPECT_EQ(target.calls, 0);
    EXPECT_EQ(canvas.display, nullptr);

    // Created again, a canvas has no display until the next present.
    makeCanvas(canvas, 1, 0, 4, 2, 1);
    canvas.present();
    ASSERT_NE(canvas.display, nullptr);
    ASSERT_EQ(canvas.create(8, 2, 1), 1);
    EXPECT_EQ(canvas.display, nullptr);
    canvas.blit(target, 0, everywhere);
    EXPECT_EQ(target.calls, 0);
}

// The depth test: smaller is nearer; a NaN comparison fails; bit 15 forces.
TEST(CanvasDepth, TestAndWriteByPlaneAndMode) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    struct Case {
        const char* what;
        int depthFormat;
        std::int16_t mode;
        double depth;
        std::int32_t result;
        double stored;  // depth element after the call
        bool painted;
    };
    const Case cases[] = {
        {"byte: 255 is not nearer", 1, DepthTest, 255.0, -1, 255, false},
        {"byte: 254 passes", 1, DepthTest, 254.0, 1, 254, true},
        {"byte: 254.9 truncates", 1, DepthTest, 254.9, 1, 254, true},
        {"byte: test only", 1, DepthTestOnly, 254.0, 1, 255, true},
        {"byte: any other mode tests", 1, 5, 10.0, 1, 10, true},
        {"byte: force writes", 1, DepthForce, 255.0, 1, 255, true},
        {"byte: far clamps, no wrap", 1, DepthForce, 1.0e30, 1, 255, true},
        {"byte: 300 fails as 255", 1, DepthTest, 300.0, -1, 255, false},
        {"byte: negative is nearest", 1, DepthTest, -7.0, 1, 0, true},
        {"byte: NaN fails", 1, DepthTest, nan, -1, 255, false},
        {"byte: off leaves plane", 1, DepthOff, 3.0, 1, 255, true},
        {"float: nearer passes", 2, DepthTest, 0.5, 1, 0.5, true},
        {"float: equal fails", 2, DepthTest, 1.0e30f, -1, 1.0e30f, false},
        {"float: NaN fails", 2, DepthTest, nan, -1, 1.0e30f, false},
        {"double: nearer passes", 3, DepthTest, 0.25, 1, 0.25, true},
        {"double: equal fails", 3, DepthTest, 1.0e30, -1, 1.0e30, false},
        {"double: NaN fails", 3, DepthTest, nan, -1, 1.0e30, false},
        {"double: test only", 3, DepthTestOnly, 1.0, 1, 1.0e30, true},
        {"double: force writes NaN", 3, DepthForce, nan, 1, nan, true},
    };
    for (const Case& c : cases) {
        Canvas canvas;
        makeCanvas(canvas, 1, c.depthFormat, 4, 4, 1);
        EXPECT_EQ(canvas.writePixel(1, 2, Color::bytes(9, 8, 7), c.mode, c.depth), c.result)
            << c.what;
        const double stored = depthAt(canvas, 9);
        if (std::isnan(c.stored)) {
            EXPECT_TRUE(std::isnan(stored)) << c.what;
        } else {
            EXPECT_EQ(stored, c.stored) << c.what;
        }
        EXPECT_EQ(pixelAt(canvas, 1, 2)[0], c.painted ? 9 : 0) << c.what;
    }
}

TEST(CanvasDepth, PlaneWithoutPixelStoreStillTests) {
    Canvas canvas;
    makeCanvas(canvas, 0, 1, 4, 4, 1);
    EXPECT_FALSE(canvas.hasPixels());
    EXPECT_EQ(canvas.writePixel(0, 0, Color::bytes(1, 1, 1), DepthTest, 10.0), 1);
    EXPECT_EQ(canvas.writePixel(0, 0, Color::bytes(1, 1, 1), DepthTest, 10.0), -1);
}

TEST(CanvasPeak, FollowsFloatWritesUnlessFrozen) {
    Canvas canvas;
    makeCanvas(canvas, 2, 0, 4, 4, 1);
    canvas.writePixel(0, 0, floatColor(0.5f, 2.0f, 0.25f), DepthOff, 0.0);
    EXPECT_EQ(canvas.peak, 2.0);
    canvas.writePixel(1, 0, floatColor(1.5f, 0.0f, 0.0f), DepthOff, 0.0);
    EXPECT_EQ(canvas.peak, 2.0);
    canvas.peakFrozen = 1;
    canvas.writePixel(2, 0, floatColor(3.0f, 0.0f, 0.0f), DepthOff, 0.0);
    EXPECT_EQ(canvas.peak, 2.0);
}

// The rectangle is one pixel larger on every side than its half extents.
TEST(CanvasClip, ShapeTests) {
    struct Case {
        std::int16_t shape, enabled;
        double angle;
        int halfWidth, halfHeight, x, y;
        std::int32_t expected;
    };
    const double quarterTurn = 1.5707963267948966;
    const Case cases[] = {
        {ClipRectangle, 1, 0, 2, 2, 13, 10, 1},
        {ClipRectangle, 1, 0, 2, 2, 14, 10, -1},
        {ClipRectangle, 1, 0, 2, 2, 7, 10, 1},
        {ClipRectangle, 1, 0, 2, 2, 6, 10, -1},
        {ClipRectangle, 1, 0, 2, 2, 10, 14, -1},
        {ClipRectangle, 0, 0, 2, 2, 100, -100, 1},
        {ClipEllipse, 1, 0, 4, 2, 14, 10, 1},
        {ClipEllipse, 1, 0, 4, 2, 15, 10, -1},
        {ClipEllipse, 1, 0, 4, 2, 10, 12, 1},
        {ClipEllipse, 1, 0, 4, 2, 10, 13, -1},
        {ClipEllipse, 1, 0, 4, 2, 13, 12, -1},
        // A quarter turn swaps the axes: x extent 2 becomes the y extent.
        {ClipRotatedRectangle, 1, quarterTurn, 5, 1, 10, 15, 1},
        {ClipRotatedRectangle, 1, quarterTurn, 5, 1, 13, 10, -1},
        {ClipRotatedRectangle, 1, quarterTurn, 5, 1, 12, 10, 1},
        // An eighth turn lays the x axis along the diagonal (1, 1).
        {ClipRotatedRectangle, 1, quarterTurn / 2, 5, 0, 13, 13, 1},
        {ClipRotatedRectangle, 1, quarterTurn / 2, 5, 0, 13, 7, -1},
        {ClipRotatedEllipse, 1, quarterTurn, 4, 2, 10, 14, 1},
        {ClipRotatedEllipse, 1, quarterTurn, 4, 2, 13, 10, -1},
        {9, 1, 0, 0, 0, 1000, 1000, 1},
    };
    for (const Case& c : cases) {
        Canvas canvas;
        canvas.clipShape = c.shape;
        canvas.clipEnabled = c.enabled;
        canvas.clipAngle = c.angle;
        canvas.clipCenterX = 10;
        canvas.clipCenterY = 10;
        canvas.clipHalfWidth = c.halfWidth;
        canvas.clipHalfHeight = c.halfHeight;
        EXPECT_EQ(canvas.clipTest(c.x, c.y), c.expected)
            << "shape " << c.shape << " at " << c.x << ", " << c.y;
    }
}

TEST(CanvasPlot, SkipsOutsideTheStoreAndTheClip) {
    Canvas canvas;
    makeCanvas(canvas, 1, 0, 4, 4, 1);
    const Color white = Color::bytes(255, 255, 255);
    for (const auto& [x, y] : {std::pair{-1, 0}, {4, 0}, {0, -1}, {0, 4}}) {
        canvas.plot(x, y, white, DepthOff, 0.0);
    }
    for (int i = 0; i < 48; ++i) {
        ASSERT_EQ(canvas.pixels[i], 0);
    }
    canvas.clipShape = ClipRectangle;
    canvas.clipCenterX = 0;
    canvas.clipCenterY = 0;
    canvas.plot(1, 1, white, DepthOff, 0.0);
    canvas.plot(2, 1, white, DepthOff, 0.0);
    EXPECT_EQ(pixelAt(canvas, 1, 1)[0], 255);
    EXPECT_EQ(pixelAt(canvas, 2, 1)[0], 0);
    canvas.clipEnabled = 0;
    canvas.plot(2, 1, white, DepthOff, 0.0);
    EXPECT_EQ(pixelAt(canvas, 2, 1)[0], 255);
}

// Byte stores are shown blue, green, red; blocks of scale × scale pixels show
// the truncated mean of each channel.
TEST(CanvasPresent, BlocksTruncateTheirMean) {
    struct Write {
        int x, y;
        Color color;
    };
    struct Shown {
        int displayByte, value;
    };
    struct Case {
        int scale;
        std::vector<Write> writes;
        std::vector<Shown> shown;
    };
    std::vector<Write> nine;
    for (int y = 3; y < 6; ++y) {
        for (int x = 9; x < 12; ++x) {
            nine.push_back({x, y, Color::bytes(static_cast<std::uint8_t>(10 * (x - 8)), 0, 255)});
        }
    }
    nine.push_back({11, 5, Color::bytes(0, 255, 0)});
    const Case cases[] = {
        {1,
         {{0, 0, Color::bytes(10, 20, 30)}, {3, 1, Color::bytes(40, 50, 60)}},
         {{0, 30}, {1, 20}, {2, 10}, {3 * 7, 60}, {3 * 7 + 2, 40}}},
        // (255 + 255 + 0 + 0)/4 = 127 for red, 1/4 = 0 for blue.
        {2,
         {{2, 2, Color::bytes(255, 0, 0)}, {3, 2, Color::bytes(255, 0, 0)}, {3, 3, Color::bytes(0, 0, 1)},
          {6, 0, Color::bytes(4, 8, 12)}, {7, 1, Color::bytes(4, 8, 12)}},
         {{3 * 5, 0}, {3 * 5 + 1, 0}, {3 * 5 + 2, 127}, {9, 6}, {10, 4}, {11, 2}}},
        // Red (3·10 + 3·20 + 2·30)/9 = 150/9, green 255/9, blue 8·255/9.
        {3, nine, {{3 * 7 + 2, 16}, {3 * 7 + 1, 28}, {3 * 7, 226}}},
    };
    for (const Case& c : cases) {
        Canvas canvas;
        makeCanvas(canvas, 1, 0, 4, 2, c.scale);
        for (const Write& w : c.writes) {
            canvas.writePixel(w.x, w.y, w.color, DepthOff, 0.0);
        }
        canvas.present();
        for (const Shown& s : c.shown) {
            EXPECT_EQ(canvas.display[s.displayByte], s.value) << "scale " << c.scale << " byte " << s.displayByte;
        }
    }
}

// The float store scales by 255.5/peak, clamps to 0…255 and truncates.
TEST(CanvasPresent, FloatStoresScaleByThePeak) {
    Canvas canvas;
    makeCanvas(canvas, 2, 0, 3, 1, 1);
    canvas.writePixel(0, 0, floatColor(2.0f, 1.0f, 0.0f), DepthOff, 0.0);
    canvas.writePixel(1, 0, floatColor(-1.0f, 0.5f, 0.25f), DepthOff, 0.0);
    canvas.peakFrozen = 1;
    canvas.writePixel(2, 0, floatColor(4.0f, 0.0f, 0.0f), DepthOff, 0.0);
    canvas.present();
    const std::uint8_t expected[9] = {0, 127, 255, 31, 63, 0, 0, 0, 255};
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(canvas.display[i], expected[i]) << "byte " << i;
    }
}

TEST(CanvasPresent, FloatStoresAverageInDoubleWithoutPeak) {
    Canvas canvas;
    makeCanvas(canvas, 2, 0, 1, 1, 2);
    canvas.peakFrozen = 1;
    canvas.writePixel(0, 0, floatColor(1.0f, 0.1f, 0.0f), DepthOff, 0.0);
    canvas.writePixel(1, 1, floatColor(1.0f, 0.1f, 0.0f), DepthOff, 0.0);
    canvas.present();
    EXPECT_EQ(canvas.display[2], 127);  // 0.5 · 255.5 = 127.75
    EXPECT_EQ(canvas.display[1], 12);   // 0.05 · 255.5 = 12.78
    EXPECT_EQ(canvas.display[0], 0);
}

// Presenting an area rebuilds the display blocks that cover it and no others,
// as a whole present would make them; restoring an area from a copy puts back
// that area alone.
TEST(CanvasPresent, AnAreaRebuildsTheBlocksThatCoverItAlone) {
    Canvas canvas;
    makeCanvas(canvas, 1, 0, 8, 6, 2);  // a 16 x 12 store, 8 x 6 display
    const auto paintAll = [&](std::uint8_t level) {
        for (std::int32_t y = 0; y < canvas.height; ++y) {
            for (std::int32_t x = 0; x < canvas.width; ++x) {
                canvas.writePixel(x, y, Color::bytes(level, static_cast<std::uint8_t>(x * 9), static_cast<std::uint8_t>(y * 13)),
                                  DepthOff, 0.0);
            }
        }
    };
    paintAll(10);
    canvas.present();
    const std::vector<std::uint8_t> before = canvas.copyStore();
    paintAll(90);
    // Store columns 3…6 and rows 1…4 lie in the display blocks of columns 1…3
    // and rows 0…2.
    EXPECT_EQ(canvas.present(StoreRect{3, 1, 7, 5}), (StoreRect{2, 0, 8, 6}));
    std::vector<std::uint8_t> partial(canvas.display.get(), canvas.display.get() + 8 * 6 * 3);
    canvas.present();
    for (std::int32_t row = 0; row < 6; ++row) {
        for (std::int32_t column = 0; column < 8; ++column) {
            const std::size_t i = 3 * static_cast<std::size_t>(row * 8 + column);
            const bool inside = column >= 1 && column <= 3 && row <= 2;
            EXPECT_EQ(partial[i + 2] == canvas.display[i + 2], inside) << column << "," << row;
        }
    }
    EXPECT_TRUE(canvas.present(StoreRect{20, 20, 30, 30}).empty()) << "outside the canvas";

    ASSERT_EQ(canvas.restoreStore(before, StoreRect{-5, 2, 4, 3}), 1);
    std::vector<std::uint8_t> now = canvas.copyStore();
    for (std::int32_t y = 0; y < canvas.height; ++y) {
        for (std::int32_t x = 0; x < canvas.width; ++x) {
            const std::size_t i = 3 * static_cast<std::size_t>(y * canvas.width + x);
            EXPECT_EQ(now[i], (x < 4 && y == 2) ? 10 : 90) << x << "," << y;
        }
    }
    EXPECT_EQ(canvas.restoreStore(std::vector<std::uint8_t>(3), StoreRect{0, 0, 1, 1}), 0) << "a copy of another size";
}

TEST(CanvasBlit, HandsTheBottomUpPictureToTheTarget) {
    Canvas canvas;
    makeCanvas(canvas, 1, 0, 4, 3, 2);
    RecordingTarget target;
    canvas.blit(target, 5, everywhere);
    EXPECT_EQ(target.calls, 0);
    canvas.writePixel(0, 0, Color::bytes(200, 200, 200), DepthOff, 0.0);
    canvas.writePixel(1, 0, Color::bytes(200, 200, 200), DepthOff, 0.0);
    canvas.writePixel(0, 1, Color::bytes(200, 200, 200), DepthOff, 0.0);
    canvas.writePixel(1, 1, Color::bytes(200, 200, 200), DepthOff, 0.0);
    canvas.present();
    canvas.blit(target, 5, everywhere);
    ASSERT_EQ(target.calls, 1);
    EXPECT_EQ(target.lastX, 0);
    EXPECT_EQ(target.lastY, 5);
    EXPECT_EQ(target.lastWidth, 4);
    EXPECT_EQ(target.lastHeight, 3);
    // The first row of the picture is the bottom row on screen.
    EXPECT_EQ(target.picture[0], 200);
    EXPECT_EQ(target.picture[3 * 4 * 2], 0);
}

// The dial background keeps a copy of the store and puts it back on every tick;
// the copy must come back byte for byte, and only into a store of its own size.
TEST(CanvasStore, CopyComesBackOnlyIntoAStoreOfItsSize) {
    Canvas canvas;
    makeCanvas(canvas, PixelFormatRgbBytes, DepthFormatByte, 5, 3, 1);
    canvas.writePixel(1, 2, Color::bytes(10, 20, 30), DepthOff, 0.0);
    canvas.writePixel(7, 0, Color::bytes(40, 50, 60), DepthOff, 0.0);
    const std::vector<std::uint8_t> copy = canvas.copyStore();
    ASSERT_EQ(copy.size(), 8u * 3u * 3u);
    EXPECT_EQ(std::memcmp(copy.data(), canvas.pixels.get(), copy.size()), 0);

    // Every byte of the store differs from the copy before it is put back.
    for (std::int32_t y = 0; y < canvas.height; ++y) {
        canvas.plotSpan(0, canvas.width - 1, y, Color::bytes(0xEE, 0xEE, 0xEE), DepthOff, 0.0);
    }
    canvas.writePixel(0, 0, Color::bytes(1, 2, 3), DepthForce, 9.0);
    EXPECT_EQ(canvas.restoreStore(copy), 1);
    EXPECT_EQ(std::memcmp(copy.data(), canvas.pixels.get(), copy.size()), 0);
    EXPECT_EQ(depthAt(canvas, 0), 9.0);  // the depth plane is not part of the copy

    // Refused, the store untouched: a copy of another size, or no store at all.
    for (const std::size_t size : {copy.size() - 1, copy.size() + 1, std::size_t{0}}) {
        EXPECT_EQ(canvas.restoreStore(std::vector<std::uint8_t>(size, 0xEE)), 0) << size;
        EXPECT_EQ(std::memcmp(copy.data(), canvas.pixels.get(), copy.size()), 0) << size;
    }
    Canvas depthOnly;
    makeCanvas(depthOnly, PixelFormatNone, DepthFormatByte, 5, 3, 1);
    EXPECT_TRUE(depthOnly.copyStore().empty());
    EXPECT_EQ(depthOnly.restoreStore(copy), 0);

    // Taken into a vector that held something else: the store alone, however
    // long the vector was.
    std::vector<std::uint8_t> reused(1000, 0x77);
    canvas.copyStore(reused);
    EXPECT_EQ(reused, copy);
    depthOnly.copyStore(reused);
    EXPECT_TRUE(reused.empty());
}

namespace {

// How the row tests' canvases are made and drawn on.
struct RowSetup {
    int pixelFormat;
    int depthFormat;
    std::int16_t clipShape;
    std::int16_t depthMode;
};

// A row's columns: some off the store, one given twice.
constexpr std::int32_t columns[] = {-3, 0, 1, 2, 2, 5, 7, 8, 11, 40};

// Two canvases of 12 × 6 for the set-up, one to draw pixel by pixel, one a run
// at a time.
void makeRowCanvases(Canvas& single, Canvas& run, const RowSetup& s) {
    for (Canvas* canvas : {&single, &run}) {
        makeCanvas(*canvas, s.pixelFormat, s.depthFormat, 12, 6, 1);
        setClip(*canvas, s.clipShape);
    }
}

// Two canvases drawn the same way, one pixel by pixel and one a run at a time:
// the same pixels, depths and peak, and something drawn at all.
void expectSameStores(const Canvas& single, const Canvas& run, int pixelFormat, int depthFormat) {
    const std::size_t count = static_cast<std::size_t>(single.width) * single.height;
    const std::size_t pixelBytes = count * static_cast<std::size_t>(single.bytesPerPixel);
    const std::size_t depthBytes = count * static_cast<std::size_t>(single.bytesPerDepth);
    EXPECT_EQ(std::memcmp(single.pixels.get(), run.pixels.get(), pixelBytes), 0) << pixelFormat << depthFormat;
    if (depthBytes > 0) {
        EXPECT_EQ(std::memcmp(single.depth.get(), run.depth.get(), depthBytes), 0) << depthFormat;
    }
    EXPECT_EQ(single.peak, run.peak);
    bool drawn = false;
    for (std::size_t i = 0; i < pixelBytes; ++i) {
        drawn = drawn || run.pixels[i] != 0;
    }
    EXPECT_TRUE(drawn) << pixelFormat << depthFormat;
}

// Rows plotted by plotRows (canvas, row, depth value) on one canvas, and the
// same colours plotted pixel by pixel on another, at rows inside and outside
// the store: both stores come out the same.
template <typename PlotRow>
void expectRowsAsPlotted(const RowSetup& s, const std::vector<Color>& colors, PlotRow plotRows) {
    Canvas single, run;
    makeRowCanvases(single, run, s);
    for (std::int32_t y : {-1, 0, 2, 3, 5, 6}) {
        const double depthValue = 10.0 + y;
        for (std::size_t i = 0; i < std::size(columns); ++i) {
            single.plot(columns[i], y, colors[i], s.depthMode, depthValue);
        }
        plotRows(run, y, depthValue);
    }
    expectSameStores(single, run, s.pixelFormat, s.depthFormat);
}

}  // namespace

// A row plotted in one call must leave the stores exactly as plot does pixel by
// pixel: the same bounds, clip and depth decisions and the same blends, also for
// columns outside the store, a column given twice and rows outside the store.
TEST(CanvasPlot, RowMatchesPlotPixelByPixel) {
    // A byte store without a clip shape or a depth test takes a shorter way: with
    // no depth plane, with a plane the row leaves alone, and beside it the same
    // plane under a clip shape, which that way must not skip.
    const RowSetup setups[] = {
        {1, 0, ClipNone, DepthOff},     {1, 1, ClipNone, DepthOff},           {1, 1, ClipRectangle, DepthOff},
        {1, 1, ClipEllipse, DepthTest}, {2, 2, ClipRectangle, DepthTestOnly}, {2, 3, ClipRotatedEllipse, DepthForce},
    };
    for (const RowSetup& s : setups) {
        std::vector<Color> colors;
        for (std::size_t i = 0; i < std::size(columns); ++i) {
            const auto k = static_cast<std::uint8_t>(i);
            colors.push_back(s.pixelFormat == 1 ? Color::bytes(static_cast<std::uint8_t>(30 + 20 * k), 200, 7,
                                                               static_cast<std::uint8_t>(k % 3 == 0 ? 0 : 90))
                                                : floatColor(0.1f * k, 0.5f, 1.5f - 0.1f * k));
        }
        expectRowsAsPlotted(s, colors, [&](Canvas& run, std::int32_t y, double depthValue) {
            run.plotRow(y, columns, colors.data(), std::size(columns), s.depthMode, depthValue);
        });
    }
}

// A row of byte colours given as bytes must leave the stores as plot does with
// those colours pixel by pixel, on byte and float stores, with and without
// depth planes and clip shapes.
TEST(CanvasPlot, RowOfBytesMatchesPlotPixelByPixel) {
    const RowSetup setups[] = {
        {1, 0, ClipNone, DepthOff},     {1, 1, ClipNone, DepthOff},           {1, 1, ClipRectangle, DepthOff},
        {1, 1, ClipEllipse, DepthTest}, {2, 2, ClipRectangle, DepthTestOnly}, {2, 0, ClipNone, DepthOff},
    };
    std::vector<std::uint8_t> rgbt;
    std::vector<Color> colors;
    for (std::size_t i = 0; i < std::size(columns); ++i) {
        const auto k = static_cast<std::uint8_t>(i);
        const std::uint8_t bytes[4] = {static_cast<std::uint8_t>(30 + 20 * k), 200, static_cast<std::uint8_t>(7 + k),
                                       static_cast<std::uint8_t>(k % 3 == 0 ? 0 : 90)};
        rgbt.insert(rgbt.end(), bytes, bytes + 4);
        colors.push_back(Color::bytes(bytes[0], bytes[1], bytes[2], bytes[3]));
    }
    for (const RowSetup& s : setups) {
        expectRowsAsPlotted(s, colors, [&](Canvas& run, std::int32_t y, double depthValue) {
            run.plotRowBytes(y, columns, rgbt.data(), std::size(columns), s.depthMode, depthValue);
        });
    }
}

// A span plotted in one call must leave the stores as plot does pixel by pixel,
// with its ends beyond the canvas and under a clip shape.
TEST(CanvasPlot, SpanMatchesPlotPixelByPixel) {
    for (const std::int16_t clipShape : {ClipNone, ClipRotatedEllipse}) {
        Canvas single, spanned;
        for (Canvas* canvas : {&single, &spanned}) {
            makeCanvas(*canvas, 1, 1, 12, 6, 1);
            setClip(*canvas, clipShape);
        }
        const Color color = Color::bytes(90, 180, 30, 60);
        for (std::int32_t y : {-1, 0, 3, 5, 6}) {
            for (std::int32_t x = -3; x <= 14; ++x) {
                single.plot(x, y, color, DepthTest, 7.0 + y);
            }
            spanned.plotSpan(-3, 14, y, color, DepthTest, 7.0 + y);
        }
        spanned.plotSpan(9, 2, 1, color, DepthForce, 0.0);  // an empty span draws nothing
        const std::size_t count = static_cast<std::size_t>(single.width) * single.height;
        EXPECT_EQ(std::memcmp(single.pixels.get(), spanned.pixels.get(), 3 * count), 0) << clipShape;
        EXPECT_EQ(std::memcmp(single.depth.get(), spanned.depth.get(), count), 0) << clipShape;
        EXPECT_NE(spanned.pixels[3 * (3 * 12 + 5)], 0) << clipShape;
    }
}
