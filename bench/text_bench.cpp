#include "raster/Canvas.h"
#include "text/DrawText.h"
#include "text/TextRenderer.h"

#include <benchmark/benchmark.h>

#include <cstdlib>

namespace {

// The clock face's date line: 21 text pixels on the default clock canvas
// (196 × 224 displayed pixels, supersampled 2 × 2), as it is drawn 4 times a second.
void drawDateText(benchmark::State& state) {
    TextRenderer renderer;
    if (renderer.initialise() != 1) {
        state.SkipWithError("no font engine");
        return;
    }
    Canvas canvas;
    canvas.pixelFormat = PixelFormatRgbBytes;
    if (canvas.create(196, 224, 2) != 1) {
        state.SkipWithError("no canvas");
        return;
    }
    const Color color = Color::bytes(255, 255, 255);
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            drawText(canvas, 196, 16, u"2026/12/09 10:08:30", renderer, 21, color));
    }
}
BENCHMARK(drawDateText)->Unit(benchmark::kMicrosecond);

// Rendering alone, without compositing.
void renderDateText(benchmark::State& state) {
    TextRenderer renderer;
    if (renderer.initialise() != 1) {
        state.SkipWithError("no font engine");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(renderer.render(u"2026/12/09 10:08:30", 21));
    }
}
BENCHMARK(renderDateText)->Unit(benchmark::kMicrosecond);

}  // namespace
