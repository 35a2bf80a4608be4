// The cost of one clock tick, of a minute of them and of one calendar redraw,
// with the real textures and globe pictures, at the three sizes the keys choose
// and at 135, the unit of a screen 2160 pixels tall; and what a change of the
// unit costs until its first frame, through a border drag, and in wall time
// until the pictures are exact.
#include "app/SurfaceRebuild.h"
#include "astro/Globes.h"
#include "clockface/Calendar.h"
#include "clockface/ClockFace.h"
#include "clockface/DialGeometry.h"
#include "clockface/FaceState.h"
#include "clockface/Timing.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <memory>
#include <thread>
#include <vector>

namespace {

// 2026-12-09 10:08:20 as 100-ns ticks since 1601-01-01: seconds 20.5, far from a
// minute's turn, so no tick re-renders the globes.
constexpr std::uint64_t someMorning = 134'412'845'000'000'000ULL;
constexpr auto tick100ns = static_cast<std::uint64_t>(tickPeriod100ns);

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
        ticks += tick100ns;
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
            ticks += tick100ns;
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

namespace {

// The processor time the process has used, milliseconds: what a frame costs
// on one core, whatever else the machine runs meanwhile.
double processorMs() {
    return 1000.0 * static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

double millisecondsSince(double beforeMs) {
    return processorMs() - beforeMs;
}

platform::FixedClock clockAtTicks(std::uint64_t ticks) {
    return {platform::FileTime::fromTicks(ticks), platform::FileTime::fromTicks(ticks)};
}

// A face as the first start leaves it at this unit, the maps loaded.
void startFace(FaceState& face, std::int32_t unit) {
    (void)face.earthTexture.load(HORAVEL_ASSET_DIR "/Earth.png");
    (void)face.moonTexture.load(HORAVEL_ASSET_DIR "/Moon.png");
    face.setUnit(unit);
    (void)rebuildSurfaces(face, clockAtTicks(someMorning));
}

// A tick as the app runs it: the share of the work, then the face.
void tickFace(FaceState& face, std::uint64_t ticks) {
    const platform::FixedClock clock = clockAtTicks(ticks);
    face.minuteWork.tick(face, clock);
    drawClockFace(face, clock);
}

// The processor time from a change of the unit to its first presented frame: new
// canvases, the calendar and the face with the old globe picture scaled onto
// the new dial. The clock changes from U = 28 (from 40 for 28 itself) and back;
// only the change to the unit named is timed.
void layoutChange(benchmark::State& run) {
    const auto unit = static_cast<std::int32_t>(run.range(0));
    const std::int32_t from = unit == defaultUnit ? 40 : defaultUnit;
    FaceState face;
    startFace(face, from);
    const platform::FixedClock clock = clockAtTicks(someMorning);
    for (auto _ : run) {
        face.setUnit(unit);
        const double before = processorMs();
        benchmark::DoNotOptimize(changeLayout(face, clock));
        run.SetIterationTime(millisecondsSince(before) / 1000.0);
        face.setUnit(from);
        (void)changeLayout(face, clock);
    }
}
BENCHMARK(layoutChange)->Arg(28)->Arg(56)->Arg(135)->UseManualTime()->Unit(benchmark::kMillisecond);

// The same change as the first start makes it, everything at once with both
// globes traced: what every change cost before it showed at once.
void fullRebuild(benchmark::State& run) {
    FaceState face;
    startFace(face, static_cast<std::int32_t>(run.range(0)));
    const platform::FixedClock clock = clockAtTicks(someMorning);
    for (auto _ : run) {
        benchmark::DoNotOptimize(rebuildSurfaces(face, clock));
    }
}
BENCHMARK(fullRebuild)->Arg(28)->Arg(56)->Arg(135)->Unit(benchmark::kMillisecond);

// A border drag through 20 units, 40, 45, … 135, and back on the next
// iteration, a tick after each step. worst_frame_ms is the longest of its
// frames in processor time: the first frame of a size, or a tick.
void dragThroughSizes(benchmark::State& run) {
    FaceState face;
    startFace(face, 40);
    std::vector<std::int32_t> units;
    for (std::int32_t unit = 40; unit <= 135; unit += 5) {
        units.push_back(unit);
    }
    std::uint64_t ticks = someMorning;
    double worstMs = 0.0;
    std::ptrdiff_t at = 0;        // the size the face stands at
    std::ptrdiff_t direction = 1;  // up the sizes, or down
    for (auto _ : run) {
        for (std::size_t step = 1; step < units.size(); ++step) {
            at += direction;
            face.setUnit(units[static_cast<std::size_t>(at)]);
            double before = processorMs();
            (void)changeLayout(face, clockAtTicks(ticks));
            worstMs = std::max(worstMs, millisecondsSince(before));
            // The ticks stay within the quarter minute from 10:08:20.5, away from the turn.
            ticks = ticks + tick100ns > someMorning + 40'000'000 ? someMorning : ticks + tick100ns;
            before = processorMs();
            tickFace(face, ticks);
            worstMs = std::max(worstMs, millisecondsSince(before));
        }
        direction = -direction;
    }
    run.counters["worst_frame_ms"] = worstMs;
}
BENCHMARK(dragThroughSizes)->Unit(benchmark::kMillisecond);

// The wall time from a change of the unit (from 40) to its last exact picture,
// the clock driven as its shells drive it on this machine: a tick every 250 ms,
// and slices of the new size's work whenever no tick is due, the face drawn
// when a slice puts a globe in place. The clock stands at 10:08:20.5, the Moon
// showing, and moves a quarter second a tick. worst_frame_ms is the longest
// frame in that span, wall time: the first one, a tick or a slice.
void timeToExact(benchmark::State& run) {
    using Wall = std::chrono::steady_clock;
    constexpr auto tickPeriod = std::chrono::milliseconds(tickPeriodMs);
    const auto unit = static_cast<std::int32_t>(run.range(0));
    FaceState face;
    startFace(face, 40);
    double worstMs = 0.0;
    const auto timed = [&worstMs](auto&& frame) {
        const auto before = Wall::now();
        frame();
        const std::chrono::duration<double, std::milli> took = Wall::now() - before;
        worstMs = std::max(worstMs, took.count());
    };
    for (auto _ : run) {
        std::uint64_t ticks = someMorning;
        face.setUnit(unit);
        const auto changed = Wall::now();
        timed([&] { (void)changeLayout(face, clockAtTicks(ticks)); });
        auto nextTick = changed + tickPeriod;
        while (face.minuteWork.layoutPending()) {
            if (Wall::now() - changed > std::chrono::seconds(30)) {
                run.SkipWithError("the pictures are not exact 30 s after the change");
                return;
            }
            if (Wall::now() >= nextTick) {
                ticks += tick100ns;
                timed([&] { tickFace(face, ticks); });
                nextTick += tickPeriod;
            } else if (face.minuteWork.hasSliceWork()) {
                timed([&] {
                    const std::uint64_t shown = face.globes.earthGeneration + face.globes.moonGeneration;
                    face.minuteWork.slice(face, clockAtTicks(ticks));
                    if (face.globes.earthGeneration + face.globes.moonGeneration != shown) {
                        drawClockFace(face, clockAtTicks(ticks));
                    }
                });
            } else {
                std::this_thread::sleep_until(nextTick);
            }
        }
        run.SetIterationTime(std::chrono::duration<double>(Wall::now() - changed).count());
        face.setUnit(40);
        (void)changeLayout(face, clockAtTicks(someMorning));
        while (face.minuteWork.hasSliceWork()) {
            face.minuteWork.slice(face, clockAtTicks(someMorning));
        }
    }
    run.counters["worst_frame_ms"] = worstMs;
}
BENCHMARK(timeToExact)->Arg(56)->Arg(135)->UseManualTime()->Unit(benchmark::kMillisecond);

}  // namespace
