// The cost of one clock tick, of a minute of them and of one calendar redraw,
// with the real textures and globe pictures, at the three sizes the keys choose
// and at 135, the unit of a screen 2160 pixels tall.
#include "astro/Globes.h"
#include "clockface/Calendar.h"
#include "clockface/ClockFace.h"
#include "clockface/DialGeometry.h"
#include "clockface/FaceState.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <memory>

namespace {

// 2026-12-09 10:08:20 as 100-ns ticks since 1601-01-01: seconds 20.5, far from a
// minute's turn, so no tick re-renders the globes.
constexpr std::uint64_t someMorning = 134'412'845'000'000'000ULL;

std::unique_ptr<Canvas> makeCanvas(std::int32_t width, std::int32_t height, std::int16_t scale) {
    auto canvas = std::make_unique<Canvas>();
    canvas->pixelFormat = PixelFormatRgbBytes;
    if (canvas->create(width, height, scale) != 1) {
        return nullptr;
    }
    return canvas;
}

struct Face {
    FaceState state;

    explicit Face(std::int32_t unit) {
        state.setUnit(unit);
        state.clockCanvas = makeCanvas(state.clientWidth, state.halfHeight, 2);
        state.calendarCanvas = makeCanvas(state.clientWidth, state.halfHeight, 1);
        state.globeCanvas = makeCanvas(2 * state.clientWidth, 2 * state.clientWidth, 1);
        state.textRenderer = std::make_unique<TextRenderer>();
        state.textRenderer->initialise();
        (void)state.earthTexture.load(HORAVEL_ASSET_DIR "/Earth.png");
        (void)state.moonTexture.load(HORAVEL_ASSET_DIR "/Moon.png");
    }
};

void clockTick(benchmark::State& run) {
    Face face(static_cast<std::int32_t>(run.range(0)));
    std::uint64_t ticks = someMorning;
    const platform::FixedClock renderMoment(platform::FileTime::fromTicks(ticks),
                                            platform::FileTime::fromTicks(ticks));
    renderGlobes(*face.state.globeCanvas, globeSizeForUnit(face.state.unit), &face.state.earthTexture,
                 &face.state.moonTexture, renderMoment, face.state.globes);
    for (auto _ : run) {
        // Each tick a quarter of a second later, within the same 15 seconds.
        ticks += 2'500'000;
        if (ticks > someMorning + 40'000'000) {
            ticks = someMorning;
        }
        const platform::FixedClock clock(platform::FileTime::fromTicks(ticks),
                                         platform::FileTime::fromTicks(ticks));
        drawClockFace(face.state, clock);
    }
}

// A whole minute of ticks, 240 of them a quarter second apart, each as the app
// runs it: the share of the minute's work (the next globe pictures and their
// backgrounds), then the face. The time is the minute's; the counter
// worst_tick_ms is the longest single tick, the one that delays the timer most.
void minuteOfTicks(benchmark::State& run) {
    Face face(static_cast<std::int32_t>(run.range(0)));
    const platform::FixedClock start(platform::FileTime::fromTicks(someMorning),
                                     platform::FileTime::fromTicks(someMorning));
    renderGlobes(*face.state.globeCanvas, globeSizeForUnit(face.state.unit), &face.state.earthTexture,
                 &face.state.moonTexture, start, face.state.globes);
    drawCalendar(face.state, start);
    drawClockFace(face.state, start);
    double worstMs = 0.0;
    std::uint64_t ticks = someMorning;
    for (auto _ : run) {
        for (std::int32_t i = 0; i < 240; ++i) {
            ticks += 2'500'000;
            const platform::FixedClock clock(platform::FileTime::fromTicks(ticks),
                                             platform::FileTime::fromTicks(ticks));
            const auto before = std::chrono::steady_clock::now();
            face.state.minuteWork.tick(face.state, clock);
            drawClockFace(face.state, clock);
            const std::chrono::duration<double, std::milli> took = std::chrono::steady_clock::now() - before;
            worstMs = std::max(worstMs, took.count());
        }
    }
    run.counters["worst_tick_ms"] = worstMs;
}
BENCHMARK(minuteOfTicks)->Arg(28)->Arg(135)->Unit(benchmark::kMillisecond);

void calendar(benchmark::State& run) {
    Face face(static_cast<std::int32_t>(run.range(0)));
    const platform::FixedClock clock(platform::FileTime::fromTicks(someMorning),
                                     platform::FileTime::fromTicks(someMorning));
    for (auto _ : run) {
        drawCalendar(face.state, clock);
    }
}

}  // namespace

BENCHMARK(clockTick)->Arg(20)->Arg(28)->Arg(40)->Arg(135)->Unit(benchmark::kMicrosecond);
BENCHMARK(calendar)->Arg(20)->Arg(28)->Arg(40)->Unit(benchmark::kMicrosecond);
