#pragma once

#include "clockface/FaceState.h"
#include "image/Image.h"
#include "platform/Clock.h"
#include "raster/Canvas.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>
#include <vector>

namespace facetest {

inline std::unique_ptr<Canvas> makeCanvas(std::int32_t width, std::int32_t height, std::int16_t scale) {
    auto canvas = std::make_unique<Canvas>();
    canvas->pixelFormat = PixelFormatRgbBytes;
    canvas->depthFormat = DepthFormatNone;
    EXPECT_EQ(canvas->create(width, height, scale), 1);
    return canvas;
}

// A face at unit u with its canvases and text renderer, as a rebuild makes them.
inline void buildSurfaces(FaceState& face, std::int32_t unit) {
    face.setUnit(unit);
    face.clockCanvas = makeCanvas(face.clientWidth, face.halfHeight, 2);
    face.calendarCanvas = makeCanvas(face.clientWidth, face.halfHeight, 1);
    face.globeCanvas = makeCanvas(2 * face.clientWidth, 2 * face.clientWidth, 1);
    face.textRenderer = std::make_unique<TextRenderer>();
    EXPECT_EQ(face.textRenderer->initialise(), 1);
}

// 100-ns ticks since 1601-01-01 of a local wall-clock moment.
inline platform::FileTime localMoment(std::uint64_t daysSince1601, double secondsIntoDay) {
    return platform::FileTime::fromTicks(daysSince1601 * 864'000'000'000ULL +
                                         static_cast<std::uint64_t>(secondsIntoDay * 1e7));
}

// Days from 1601-01-01 to 2026-12-09, a Wednesday.
constexpr std::uint64_t december9th2026 = 155'570;

inline platform::FixedClock clockAt(std::uint64_t day, double secondsIntoDay) {
    const auto moment = localMoment(day, secondsIntoDay);
    return platform::FixedClock(moment, moment);
}

struct Rgb {
    int r = 0, g = 0, b = 0;
    bool operator==(const Rgb&) const = default;
};

inline std::ostream& operator<<(std::ostream& out, const Rgb& c) {
    return out << '(' << c.r << ", " << c.g << ", " << c.b << ')';
}

// Display pixel (x, y) of a presented canvas, y counted up from the bottom row.
inline Rgb displayPixel(const Canvas& canvas, std::int32_t x, std::int32_t y) {
    const std::uint8_t* p = canvas.display.get() + 3 * (y * canvas.displayWidth() + x);
    return {p[2], p[1], p[0]};
}

// The Earth and Moon maps of the tests, loaded into the face.
inline void loadMaps(FaceState& face) {
    const std::filesystem::path assets = HORAVEL_TEST_ASSET_DIR;
    ASSERT_EQ(face.earthTexture.load(assets / "Earth.png"), 1);
    ASSERT_EQ(face.moonTexture.load(assets / "Moon.png"), 1);
}

// A picture's stored bytes; none without a picture.
inline std::vector<std::uint8_t> storeOf(const Image* picture) {
    if (picture == nullptr) {
        return {};
    }
    const std::uint8_t* store = picture->pixelStore.get();
    return {store, store + static_cast<std::size_t>(picture->stride) * picture->height};
}

// A presented canvas's display bytes.
inline std::vector<std::uint8_t> displayOf(const Canvas& canvas) {
    const std::uint8_t* display = canvas.display.get();
    return {display, display + static_cast<std::size_t>(3 * canvas.displayWidth() * canvas.displayHeight())};
}

}  // namespace facetest
