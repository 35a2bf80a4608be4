#pragma once

#include "MemoryGrowth.h"
#include "OffsetWatch.h"
#include "SimulatedClock.h"

#include "app/ClockApp.h"
#include "app/headless/BufferPaintTarget.h"
#include "app/headless/HeadlessWindow.h"

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

// The layout unit U of each simulated hour, pixels: 28, 40, 20, 33 in turn, so
// that every hour after the first begins with a rebuild at a new unit, an odd
// one among them. Hour 1 is the first.
std::int32_t unitOfHour(std::int32_t hour);

// The minutes an hour runs at its unit before its first memory reading: time
// for the globes to be drawn anew and both dial pictures to be shown.
inline constexpr std::int32_t warmUpMinutes = 5;

// What one simulated hour of a soak measured.
struct HourReport {
    std::int32_t hour = 0;  // 1 for the first
    std::int32_t unit = 0;  // layout unit U of the hour, pixels
    std::optional<std::uint64_t> warmResidentBytes;  // resident memory after the warm-up minutes
    std::optional<std::uint64_t> endResidentBytes;   // resident memory at the hour's end
    std::optional<std::uint32_t> gdiObjects;         // GDI objects held at the hour's end, where there is GDI
};

// The clock run on simulated time in a window no screen shows, as its window
// system runs it: a tick every 250 ms, each followed by the paint it asks for,
// and the client area resized to a new unit every hour, as a drag of the
// border does.
class Soak {
public:
    explicit Soak(platform::FileTime startUtc) : clock(startUtc), app(clock), window(app) {}

    // Starts the clock at the first hour's unit with the textures of the normal
    // search and no settings. False, with the reason, when it would not draw
    // everything: a texture that cannot be read, or no memory for the surfaces.
    bool start(std::string& error);
    // Runs the next simulated hour and measures it.
    HourReport runHour();

    // Every memory reading so far, in order: two an hour.
    const std::vector<MemoryReading>& memoryReadings() const { return readings; }
    std::uint64_t ticksRun() const { return ticks; }

private:
    // One 250 ms step of the clock, its tick and its paint.
    void tick();
    std::optional<std::uint64_t> readMemory(std::int32_t minute, std::int32_t unit);

    SimulatedClock clock;
    ClockApp app;
    shell::HeadlessWindow window;
    shell::BufferPaintTarget picture{0, 0};
    std::vector<MemoryReading> readings;
    std::int32_t hoursRun = 0;
    std::uint64_t ticks = 0;
};

// The changes of the local time's offset from universal time that a run of
// this many simulated hours from startUtc crosses in the zone, looked for minute
// by minute: known before the run, as its clock follows the same zone.
std::vector<OffsetChange> offsetChangesOfRun(platform::FileTime startUtc, std::int32_t hours,
                                             LocalTimeOf zone = platform::localFromUtc);

// The window picture of one moment at one unit, drawn by a clock started afresh
// in a headless window on a fixed clock: three bytes blue, green, red per pixel,
// top row first. Empty when the clock has no surfaces to paint.
std::vector<std::uint8_t> windowPicture(platform::FileTime utc, std::int32_t unit);
