// Time of one globe rendering (the Earth and the Moon) with the real texture maps
// at the layout units of the clock: 20, 28 and 40, and 135, the unit of a
// 2160-pixel screen. It runs once a minute inside a timer tick, so at U = 28 it
// should stay within 7 ms on one core.

#include "astro/Globes.h"
#include "clockface/DialGeometry.h"
#include "image/Image.h"
#include "platform/Clock.h"
#include "raster/Canvas.h"

#include <benchmark/benchmark.h>

#include <cstdint>
#include <memory>
#include <string>

namespace {

std::unique_ptr<Image> loadAsset(const char* name) {
    auto image = std::make_unique<Image>();
    if (image->load(std::string(HORAVEL_ASSET_DIR) + "/" + name) != 1) {
        return nullptr;
    }
    return image;
}

void renderGlobesBenchmark(benchmark::State& state) {
    const auto unit = static_cast<std::int32_t>(state.range(0));
    const std::unique_ptr<Image> earthMap = loadAsset("Earth.png");
    const std::unique_ptr<Image> moonMap = loadAsset("Moon.png");
    if (!earthMap || !moonMap) {
        state.SkipWithError("the texture maps could not be loaded");
        return;
    }
    Canvas canvas;
    canvas.pixelFormat = PixelFormatRgbBytes;
    if (canvas.create(14 * unit, 14 * unit, 1) != 1) {
        state.SkipWithError("no canvas");
        return;
    }
    // 2026-12-08 04:15 UT: a waxing Moon, both bodies partly lit.
    const platform::FixedClock clock(platform::FileTime::fromTicks(134411769000000000ull),
                                     platform::FileTime::fromTicks(134411769000000000ull));
    GlobePictures pictures;
    for (auto _ : state) {
        renderGlobes(canvas, globeSizeForUnit(unit), earthMap.get(), moonMap.get(), clock, pictures);
        benchmark::DoNotOptimize(pictures.moonGlobe.get());
    }
    // One ray per pixel of a (10U + 1)² square, for each of the two bodies.
    const double raysPerRendering = 2.0 * (10.0 * unit + 1.0) * (10.0 * unit + 1.0);
    state.counters["rays_per_s"] = benchmark::Counter(raysPerRendering * static_cast<double>(state.iterations()),
                                                      benchmark::Counter::kIsRate);
}

BENCHMARK(renderGlobesBenchmark)->Arg(20)->Arg(28)->Arg(40)->Arg(135)->Unit(benchmark::kMillisecond);

}  // namespace
