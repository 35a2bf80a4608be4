// Speed of the image reads the clock makes every minute and every tick: the
// globe texture lookups of the ray tracer (sampleBilinear, about 120 000 per
// globe) and the globe picture drawn onto the dial (drawImage at U = 28: a
// 392 × 392 picture into a 392 × 392 box through sampleBiquadratic).

#include "image/DrawImage.h"
#include "image/Image.h"
#include "raster/Canvas.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

// A three-channel picture with a smooth pattern, like a texture or a globe.
void pattern(Image& image, std::int32_t width, std::int32_t height) {
    image.release();
    image.kind = ImagePixels;
    image.width = width;
    image.height = height;
    image.channels = 3;
    image.stride = (3 * width + 3) & ~3;
    image.pixelStore.reset(new std::uint8_t[static_cast<std::size_t>(image.stride) * height]);
    for (std::int32_t y = 0; y < height; ++y) {
        std::uint8_t* row = image.pixelStore.get() + static_cast<std::size_t>(y) * image.stride;
        for (std::int32_t x = 0; x < width; ++x) {
            row[3 * x] = static_cast<std::uint8_t>(x * 7 + y);
            row[3 * x + 1] = static_cast<std::uint8_t>(x ^ y);
            row[3 * x + 2] = static_cast<std::uint8_t>(y * 3);
        }
    }
    image.valid = 1;
}

void drawGlobePicture(benchmark::State& state) {
    Image globe;
    pattern(globe, 392, 392);
    // The clock canvas at U = 28: 7U × 8U shown, supersampled twice.
    Canvas canvas;
    canvas.pixelFormat = PixelFormatRgbBytes;
    if (canvas.create(196, 224, 2) != 1) {
        state.SkipWithError("canvas");
        return;
    }
    for (auto _ : state) {
        drawImage(canvas, 196, 252, 392, 392, globe);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * 393 * 393);
}
BENCHMARK(drawGlobePicture)->Unit(benchmark::kMillisecond);

void sampleTexture(benchmark::State& state) {
    Image texture;
    pattern(texture, 2048, 1024);
    // The lookups of one globe picture: a disc of 392 pixels across, traced row
    // by row, each ray meeting the texture near its neighbour's point.
    std::vector<std::pair<double, double>> points;
    for (int j = 0; j < 392; ++j) {
        for (int i = 0; i < 392; ++i) {
            const double dx = (i - 195.5) / 196.0;
            const double dy = (j - 195.5) / 196.0;
            if (dx * dx + dy * dy < 1.0) {
                points.emplace_back(1024.0 + 1000.0 * dx * (1.0 - 0.3 * dy * dy), 512.0 + 500.0 * dy);
            }
        }
    }
    Color out;
    for (auto _ : state) {
        std::uint32_t sum = 0;
        for (const auto& [x, y] : points) {
            texture.sampleBilinear(x, y, out);
            sum += out.r;
        }
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(points.size()));
}
BENCHMARK(sampleTexture)->Unit(benchmark::kMillisecond);

}  // namespace
