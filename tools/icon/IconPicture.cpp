#include "IconPicture.h"

#include "astro/Globes.h"
#include "clockface/ClockHands.h"
#include "clockface/DialGeometry.h"
#include "clockface/DialMarks.h"
#include "image/DrawImage.h"
#include "image/Image.h"
#include "platform/Clock.h"
#include "raster/Canvas.h"
#include "raster/CanvasFormat.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

namespace {

// Large enough that every icon size is a reduction: the dial comes out about
// 800 pixels across.
constexpr std::int32_t masterUnit = 160;
// 2026-12-09 10:08:30 UTC, 100-ns ticks since 1601: the Sun over Africa, and
// the hands where a clock in a shop window stands.
constexpr std::uint64_t momentTicks = 134412845100000000ULL;
// Subsamples per pixel side for the edge of the round face.
constexpr int edgeSamples = 4;

bool makeCanvas(Canvas& canvas, std::int32_t width, std::int32_t height, std::int16_t scale) {
    canvas.pixelFormat = PixelFormatRgbBytes;
    canvas.depthFormat = DepthFormatNone;
    return canvas.create(width, height, scale) == 1 && canvas.hasPixels();
}

}  // namespace

BgraPicture drawIconMaster(const Image& earthTexture, const Image& moonTexture) {
    const std::int32_t u = masterUnit;
    Canvas globeCanvas;
    Canvas clockCanvas;
    if (!makeCanvas(globeCanvas, 14 * u, 14 * u, 1) || !makeCanvas(clockCanvas, 7 * u, 8 * u, 2)) {
        return {};
    }
    const platform::FileTime moment = platform::FileTime::fromTicks(momentTicks);
    const platform::FixedClock clock(moment, moment);
    GlobePictures globes;
    renderGlobes(globeCanvas, globeSizeForUnit(u), &earthTexture, &moonTexture, clock, globes);

    const DialGeometry dial = DialGeometry::forUnit(u);
    clockCanvas.clear();
    if (globes.earthGlobe) {
        drawImage(clockCanvas, dial.centerX, dial.centerY, 14 * u, 14 * u, *globes.earthGlobe);
    }
    drawMarks(clockCanvas, dial);
    drawHands(clockCanvas, dial, 10.0 + 8.5 / 60.0, 8.5, 30.0);
    clockCanvas.present();

    // The face on screen: its centre and the outer end of the five-minute
    // marks, in display pixels (half the drawing pixels), y down from the top.
    const double centreX = dial.centerX / 2.0;
    const double centreY = clockCanvas.displayHeight() - dial.centerY / 2.0;
    const double radius = (5 * u + 8) / 2.0 + 1.0;
    BgraPicture master;
    master.sizePx = 2 * static_cast<std::int32_t>(std::ceil(radius));
    master.pixels.assign(static_cast<std::size_t>(master.sizePx) * master.sizePx * 4, 0);
    const std::int32_t left = static_cast<std::int32_t>(centreX) - master.sizePx / 2;
    const std::int32_t top = static_cast<std::int32_t>(centreY) - master.sizePx / 2;
    const std::int32_t displayWidth = clockCanvas.displayWidth();
    const std::int32_t displayHeight = clockCanvas.displayHeight();
    for (std::int32_t y = 0; y < master.sizePx; ++y) {
        for (std::int32_t x = 0; x < master.sizePx; ++x) {
            const std::int32_t sx = left + x;
            const std::int32_t sy = top + y;
            if (sx < 0 || sy < 0 || sx >= displayWidth || sy >= displayHeight) {
                continue;
            }
            int inside = 0;
            for (int j = 0; j < edgeSamples; ++j) {
                for (int i = 0; i < edgeSamples; ++i) {
                    const double dx = sx + (i + 0.5) / edgeSamples - centreX;
                    const double dy = sy + (j + 0.5) / edgeSamples - centreY;
                    inside += dx * dx + dy * dy <= radius * radius;
                }
            }
            // The display is bottom-up blue, green, red.
            const std::uint8_t* source =
                clockCanvas.display.get() + (static_cast<std::size_t>(displayHeight - 1 - sy) * displayWidth + sx) * 3;
            std::uint8_t* target = master.pixels.data() + (static_cast<std::size_t>(y) * master.sizePx + x) * 4;
            std::copy_n(source, 3, target);
            target[3] = static_cast<std::uint8_t>(255 * inside / (edgeSamples * edgeSamples));
        }
    }
    return master;
}

BgraPicture reduce(const BgraPicture& master, std::int32_t sizePx) {
    BgraPicture picture;
    if (master.sizePx < 1 || sizePx < 1) {
        return picture;
    }
    picture.sizePx = sizePx;
    picture.pixels.assign(static_cast<std::size_t>(sizePx) * sizePx * 4, 0);
    const double step = static_cast<double>(master.sizePx) / sizePx;  // master pixels per icon pixel
    // How much of master pixel k, [k, k + 1), lies inside [from, to).
    const auto overlap = [](std::int32_t k, double from, double to) {
        return std::max(0.0, std::min<double>(k + 1, to) - std::max<double>(k, from));
    };
    for (std::int32_t y = 0; y < sizePx; ++y) {
        const double y0 = y * step;
        const double y1 = y0 + step;
        for (std::int32_t x = 0; x < sizePx; ++x) {
            const double x0 = x * step;
            const double x1 = x0 + step;
            double colour[3] = {0.0, 0.0, 0.0};  // premultiplied by alpha
            double alpha = 0.0;
            for (auto sy = static_cast<std::int32_t>(y0); sy < master.sizePx && sy < y1; ++sy) {
                const double wy = overlap(sy, y0, y1);
                for (auto sx = static_cast<std::int32_t>(x0); sx < master.sizePx && sx < x1; ++sx) {
                    const double w = wy * overlap(sx, x0, x1);
                    const std::uint8_t* p =
                        master.pixels.data() + (static_cast<std::size_t>(sy) * master.sizePx + sx) * 4;
                    const double a = w * p[3];
                    for (int c = 0; c < 3; ++c) {
                        colour[c] += a * p[c];
                    }
                    alpha += a;
                }
            }
            std::uint8_t* target = picture.pixels.data() + (static_cast<std::size_t>(y) * sizePx + x) * 4;
            const double area = step * step;
            for (int c = 0; c < 3 && alpha > 0.0; ++c) {
                target[c] = static_cast<std::uint8_t>(std::min(255.0, colour[c] / alpha + 0.5));
            }
            target[3] = static_cast<std::uint8_t>(std::min(255.0, alpha / area + 0.5));
        }
    }
    return picture;
}
