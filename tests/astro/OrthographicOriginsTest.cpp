#include "astro/OrthographicOrigins.h"

#include "raster/Camera.h"
#include "raster/Canvas.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>

namespace {

bool sameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

struct CameraCase {
    const char* name;
    std::int32_t canvasWidth;   // logical pixels; a byte store widens it to a multiple of four
    std::int32_t canvasHeight;  // pixels
    std::int16_t clipShape;     // ClipNone: the whole canvas is the viewport
    std::int32_t clipHalfWidth; // pixels
    bool withCanvas;
    Vector3 eye;                // camera position, km
    Vector3 target;             // what it looks at, km
    double fov;                 // view width, km
};

// Every origin of rows and columns in and around the canvas must carry the very
// bits pixelRay gives: the globe's pixels depend on the last bit of each origin.
TEST(OrthographicOrigins, GiveThePixelRayOriginsBitForBit) {
    const CameraCase cases[] = {
        {"whole even canvas", 84, 84, ClipNone, 0, true, {0, 0, 0}, {1.4e8, -3.2e7, 2.1e7}, 17838.8},
        {"widened odd canvas", 42, 42, ClipNone, 0, true, {0, 0, 0}, {-9.7e7, 1.1e8, 4.6e7}, 17838.8},
        {"clip box viewport", 56, 40, ClipEllipse, 23, true, {2.6e7, -1.4e8, -6.1e7},
         {2.6e7 + 3.1e5, -1.4e8 - 2.2e5, -6.1e7 + 1.9e4}, 4864.72},
        {"no canvas", 28, 28, ClipNone, 0, false, {5.0, -7.0, 3.0}, {-2.0e5, 1.0e5, 3.0e5}, 1.25},
    };
    for (const CameraCase& c : cases) {
        Canvas canvas;
        canvas.pixelFormat = PixelFormatRgbBytes;
        ASSERT_EQ(canvas.create(c.canvasWidth, c.canvasHeight, 1), 1);
        canvas.clipShape = c.clipShape;
        canvas.clipCenterX = c.canvasWidth / 2 - 3;
        canvas.clipCenterY = c.canvasHeight / 2 + 1;
        canvas.clipHalfWidth = c.clipHalfWidth;
        canvas.clipHalfHeight = c.clipHalfWidth;

        Camera camera;
        camera.canvas = c.withCanvas ? &canvas : nullptr;
        camera.projection = ProjectionOrthographic;
        camera.fov = c.fov;
        camera.toWorld.at(0, 3) = c.eye.x;
        camera.toWorld.at(1, 3) = c.eye.y;
        camera.toWorld.at(2, 3) = c.eye.z;
        inverse(camera.toWorld, camera.toCamera);
        camera.lookAt(c.target);

        const OrthographicOrigins origins(camera);
        EXPECT_EQ(origins.hasViewport(), c.withCanvas) << c.name;
        std::size_t compared = 0;
        for (std::int32_t y = -2; y < canvas.height + 2; ++y) {
            const OrthographicOrigins::Row row = origins.row(y);
            for (std::int32_t x = -2; x < canvas.width + 2; ++x) {
                Vector3 expected, direction;
                camera.pixelRay(x, y, expected, direction);
                // Each pixel as the second lane of a pair beginning one column before
                // it, and as the first lane of its own pair.
                const Vector3Lanes pair = origins.originLanes(row, x - 1);
                ASSERT_TRUE(sameBits(secondLane(pair.x), expected.x) && sameBits(secondLane(pair.y), expected.y) &&
                            sameBits(secondLane(pair.z), expected.z))
                    << c.name << ": pixel " << x << ", " << y << " in lane 1";
                const Vector3Lanes next = origins.originLanes(row, x);
                ASSERT_TRUE(sameBits(firstLane(next.x), expected.x) && sameBits(firstLane(next.y), expected.y) &&
                            sameBits(firstLane(next.z), expected.z))
                    << c.name << ": pixel " << x << ", " << y << " in lane 0";
                ++compared;
            }
        }
        EXPECT_GT(compared, 400u) << c.name;
    }
}

TEST(OrthographicOrigins, ViewportFollowsTheCanvasOrItsClipBox) {
    Canvas canvas;
    canvas.pixelFormat = PixelFormatRgbBytes;
    ASSERT_EQ(canvas.create(43, 30, 1), 1);  // the byte store is 44 pixels wide
    Camera camera;
    camera.canvas = &canvas;
    const OrthographicOrigins whole(camera);
    EXPECT_EQ(whole.viewportWidthPx(), 44.0);
    EXPECT_EQ(whole.viewportCenterX(), 22);
    EXPECT_EQ(whole.viewportCenterY(), 15);
    canvas.clipShape = ClipRectangle;
    canvas.clipCenterX = 9;
    canvas.clipCenterY = 11;
    canvas.clipHalfWidth = 7;
    const OrthographicOrigins clipped(camera);
    EXPECT_EQ(clipped.viewportWidthPx(), 14.0);
    EXPECT_EQ(clipped.viewportCenterX(), 9);
    EXPECT_EQ(clipped.viewportCenterY(), 11);
}

}  // namespace
