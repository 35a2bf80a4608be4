// Speed of the canvas operations that run on every clock tick: clearing the
// supersampled clock canvas and presenting it with 2 × 2 averaging. At the middle
// layout unit (28 pixels) that canvas holds 392 × 448 store pixels.
#include "raster/Canvas.h"
#include "raster/Primitives.h"

#include <benchmark/benchmark.h>

#include <cstdint>

namespace {

constexpr std::int32_t unitPixels = 28;

void makeClockCanvas(Canvas& canvas, std::int16_t scale) {
    canvas.pixelFormat = PixelFormatRgbBytes;
    canvas.depthFormat = DepthFormatNone;
    if (canvas.create(7 * unitPixels, 8 * unitPixels, scale) != 1) {
        return;
    }
    // Something other than black, so the conversion works on real values.
    for (std::int32_t y = 0; y < canvas.height; ++y) {
        for (std::int32_t x = 0; x < canvas.width; ++x) {
            const auto level = static_cast<std::uint8_t>((x * 7 + y * 13) & 0xFF);
            canvas.writePixel(x, y, Color::bytes(level, static_cast<std::uint8_t>(255 - level), 64),
                              DepthOff, 0.0);
        }
    }
}

void presentClockCanvas(benchmark::State& state) {
    Canvas canvas;
    makeClockCanvas(canvas, static_cast<std::int16_t>(state.range(0)));
    for (auto _ : state) {
        canvas.present();
        benchmark::DoNotOptimize(canvas.display.get());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * canvas.width * canvas.height);
}
BENCHMARK(presentClockCanvas)->Arg(1)->Arg(2)->Arg(3)->Unit(benchmark::kMicrosecond);

void clearClockCanvas(benchmark::State& state) {
    Canvas canvas;
    makeClockCanvas(canvas, 2);
    for (auto _ : state) {
        canvas.clear();
        benchmark::DoNotOptimize(canvas.pixels.get());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(state.iterations() * canvas.width * canvas.height * 3);
}
BENCHMARK(clearClockCanvas)->Unit(benchmark::kMicrosecond);

// Draws on a clock canvas of scale 2 over and over; the canvas's height, pixels.
template <typename Draw>
std::int32_t drawOnClockCanvas(benchmark::State& state, Draw draw) {
    Canvas canvas;
    makeClockCanvas(canvas, 2);
    for (auto _ : state) {
        draw(canvas);
        benchmark::ClobberMemory();
    }
    return canvas.height;
}

// A tick mark's worth of plotted pixels: every pixel takes the pixel lock.
void drawLongLine(benchmark::State& state) {
    const std::int32_t heightPx = drawOnClockCanvas(state, [](Canvas& canvas) {
        line(canvas, 0, 0, canvas.width - 1, canvas.height - 1, Color::bytes(255, 255, 255));
    });
    state.SetItemsProcessed(state.iterations() * heightPx);
}
BENCHMARK(drawLongLine)->Unit(benchmark::kMicrosecond);

// The filled part of a clock hand.
void fillTriangle(benchmark::State& state) {
    static_cast<void>(drawOnClockCanvas(
        state, [](Canvas& canvas) { triangle(canvas, 196, 224, 180, 400, 212, 400, Color::bytes(255, 0, 0), 1); }));
}
BENCHMARK(fillTriangle)->Unit(benchmark::kMicrosecond);

}  // namespace
