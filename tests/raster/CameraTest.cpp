#include "raster/Camera.h"

#include "raster/Canvas.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

constexpr double pi = 3.141592653589793;

// The degree round trips and the sines of turned axes leave a few units of
// rounding near 1.
constexpr double tolerance = 1e-12;

Vector3 column(const Matrix4& m, int c) { return {m.at(0, c), m.at(1, c), m.at(2, c)}; }

void expectNear(const Vector3& actual, const Vector3& expected, const char* what) {
    EXPECT_NEAR(actual.x, expected.x, tolerance) << what;
    EXPECT_NEAR(actual.y, expected.y, tolerance) << what;
    EXPECT_NEAR(actual.z, expected.z, tolerance) << what;
}

// A camera at position, axes as the scene's, on the given canvas.
Camera makeCamera(const Canvas& canvas, std::int32_t projection, double fov, Vector3 position) {
    Camera camera;
    camera.canvas = &canvas;
    camera.projection = projection;
    camera.fov = fov;
    camera.toWorld.at(0, 3) = position.x;
    camera.toWorld.at(1, 3) = position.y;
    camera.toWorld.at(2, 3) = position.z;
    inverse(camera.toWorld, camera.toCamera);
    return camera;
}

// A canvas of the given store size; the camera reads only its size and clip shape.
struct SizedCanvas : Canvas {
    SizedCanvas(std::int32_t w, std::int32_t h) {
        width = w;
        height = h;
    }
};

}  // namespace

TEST(CameraLookAt, TurnsTheForwardAxisOntoTheTarget) {
    struct Case {
        const char* what;
        Vector3 position, target;
        Vector3 x, forward, z;  // camera axes in the scene after the turn
    };
    const Case cases[] = {
        {"straight ahead", {0, 0, 0}, {0, 10, 0}, {1, 0, 0}, {0, 1, 0}, {0, 0, 1}},
        {"to the right", {0, 0, 0}, {10, 0, 0}, {0, -1, 0}, {1, 0, 0}, {0, 0, 1}},
        {"straight up", {0, 0, 0}, {0, 0, 10}, {0, -1, 0}, {0, 0, 1}, {-1, 0, 0}},
        {"from elsewhere", {5, 5, 5}, {5, 5, -5}, {0, -1, 0}, {0, 0, -1}, {1, 0, 0}},
        {"behind", {0, 0, 0}, {0, -3, 0}, {-1, 0, 0}, {0, -1, 0}, {0, 0, 1}},
    };
    for (const Case& c : cases) {
        const SizedCanvas canvas(8, 8);
        Camera camera = makeCamera(canvas, ProjectionOrthographic, 1.0, c.position);
        camera.lookAt(c.target);
        expectNear(column(camera.toWorld, 0), c.x, c.what);
        expectNear(column(camera.toWorld, 1), c.forward, c.what);
        expectNear(column(camera.toWorld, 2), c.z, c.what);
        expectNear(column(camera.toWorld, 3), c.position, c.what);
        // toCamera follows toWorld.
        Matrix4 product;
        multiply(camera.toWorld, camera.toCamera, product);
        for (int i = 0; i < 16; ++i) {
            EXPECT_NEAR(product.m[i], Matrix4{}.m[i], tolerance) << c.what;
        }
    }
}

// A target in a general direction ends up straight ahead in camera coordinates.
TEST(CameraLookAt, TargetEndsOnTheForwardAxis) {
    const SizedCanvas canvas(8, 8);
    Camera camera = makeCamera(canvas, ProjectionPerspective, 1.0, {1, 2, 3});
    camera.lookAt({4, -2, 7.5});
    const Vector3 p = transformPoint(camera.toCamera, {4, -2, 7.5});
    EXPECT_NEAR(p.x, 0, tolerance);
    EXPECT_NEAR(p.y, std::sqrt(9.0 + 16.0 + 20.25), tolerance);
    EXPECT_NEAR(p.z, 0, tolerance);
}

TEST(CameraLookAt, TargetAtTheCameraLeavesItAlone) {
    const SizedCanvas canvas(8, 8);
    Camera camera = makeCamera(canvas, ProjectionPerspective, 1.0, {1, 2, 3});
    camera.lookAt({1, 2, 3});
    for (int i = 0; i < 16; ++i) {
        EXPECT_TRUE(std::isfinite(camera.toWorld.m[i]));
    }
    expectNear(column(camera.toWorld, 1), {0, 1, 0}, "forward");
}

// Worked examples: sx, sy are offsets from the integer centre over the width.
TEST(CameraPixelRay, Projections) {
    const double sqrtHalf = std::sqrt(0.5);
    struct Case {
        const char* what;
        std::int32_t projection;
        double fov;
        std::int32_t width, height;
        double x, y;
        Vector3 origin, direction;
    };
    const Case cases[] = {
        {"orthographic", ProjectionOrthographic, 100, 200, 200, 150, 100, {25, 0, 0}, {0, 1, 0}},
        {"orthographic up", ProjectionOrthographic, 100, 200, 100, 100, 0, {0, 0, -25}, {0, 1, 0}},
        // 201 / 2 truncates to 100: pixel 100 is the centre, not 100.5.
        {"odd width centre", ProjectionOrthographic, 201, 201, 201, 100, 100, {0, 0, 0}, {0, 1, 0}},
        {"perspective centre", ProjectionPerspective, 1.0, 200, 200, 100, 100, {0, 0, 0}, {0, 1, 0}},
        // fov 90°: tan(45°)·2 = 2, sx = 0.5, so d = (1, 1, 0).
        {"perspective edge", ProjectionPerspective, pi / 2, 200, 100, 200, 50, {0, 0, 0},
         {sqrtHalf, sqrtHalf, 0}},
        {"perspective top", ProjectionPerspective, pi / 2, 200, 100, 100, 150, {0, 0, 0},
         {0, sqrtHalf, sqrtHalf}},
        // θ = 0.5 · 180°: a quarter turn from the forward axis.
        {"fisheye edge", ProjectionFisheye, pi, 200, 200, 200, 100, {0, 0, 0}, {1, 0, 0}},
        {"fisheye below", ProjectionFisheye, pi, 200, 200, 100, 50, {0, 0, 0},
         {0, sqrtHalf, -sqrtHalf}},
    };
    for (const Case& c : cases) {
        const SizedCanvas canvas(c.width, c.height);
        Camera camera = makeCamera(canvas, c.projection, c.fov, {0, 0, 0});
        Vector3 origin, direction;
        EXPECT_EQ(camera.pixelRay(c.x, c.y, origin, direction), 1);
        expectNear(origin, c.origin, c.what);
        expectNear(direction, c.direction, c.what);
    }
}

TEST(CameraPixelRay, ClipShapeIsTheViewport) {
    SizedCanvas canvas(400, 400);
    canvas.clipShape = ClipEllipse;
    canvas.clipEnabled = 0;  // the viewport follows the shape even when clipping is off
    canvas.clipCenterX = 60;
    canvas.clipCenterY = 40;
    canvas.clipHalfWidth = 50;
    Camera camera = makeCamera(canvas, ProjectionOrthographic, 10, {0, 0, 0});
    Vector3 origin, direction;
    camera.pixelRay(110, 15, origin, direction);
    expectNear(origin, {5, 0, -2.5}, "clip viewport");
}

TEST(CameraPixelRay, FollowsTheCameraFrame) {
    const SizedCanvas canvas(200, 200);
    Camera camera = makeCamera(canvas, ProjectionOrthographic, 100, {1, 2, 3});
    camera.lookAt({11, 2, 3});  // forward onto +x, camera x onto −y
    Vector3 origin, direction;
    camera.pixelRay(150, 100, origin, direction);
    expectNear(origin, {1, -23, 3}, "origin");
    expectNear(direction, {1, 0, 0}, "direction");
}

// Outside the three projections, and without a canvas, the ray starts at the
// camera and runs along its forward axis.
TEST(CameraPixelRay, FallsBackToTheForwardAxis) {
    const SizedCanvas canvas(200, 200);
    Camera unknown = makeCamera(canvas, 7, 1.0, {1, 2, 3});
    Camera withoutCanvas = makeCamera(canvas, ProjectionPerspective, 1.0, {1, 2, 3});
    withoutCanvas.canvas = nullptr;
    for (const Camera* camera : {&unknown, &withoutCanvas}) {
        Vector3 origin, direction;
        EXPECT_EQ(camera->pixelRay(10, 190, origin, direction), 1);
        expectNear(origin, {1, 2, 3}, "origin");
        expectNear(direction, {0, 1, 0}, "direction");
    }
}
