#include "Soak.h"

#include "app/Layout.h"
#include "app/SurfaceRebuild.h"
#include "clockface/Timing.h"
#include "platform/ProcessResources.h"

#include <array>
#include <filesystem>

namespace {

constexpr std::array<std::int32_t, 4> hourlyUnits{28, 40, 20, 33};
constexpr std::int32_t minutesPerHour = 60;

// The texture the search did not find, or null when both were found.
const char* missingTexture(const FaceState& face) {
    if (face.earthTexture.valid != 1) {
        return "Earth.png";
    }
    if (face.moonTexture.valid != 1) {
        return "Moon.png";
    }
    return nullptr;
}

}  // namespace

std::int32_t unitOfHour(std::int32_t hour) {
    return hourlyUnits[static_cast<std::size_t>(hour - 1) % hourlyUnits.size()];
}

bool Soak::start(std::string& error) {
    window.open(toolStartOptions(unitOfHour(1)));
    const FaceState& face = app.state().face;
    if (const char* missing = missingTexture(face)) {
        error = std::string("cannot read the texture ") + missing +
                " (looked for in the current folder and beside the program)";
        return false;
    }
    if (!surfacesReady(face)) {
        error = "no memory for the surfaces of unit " + std::to_string(face.unit);
        return false;
    }
    const PixelSize client = window.clientSize();
    picture = shell::BufferPaintTarget(client.width, client.height);
    window.paint(picture);
    return true;
}

HourReport Soak::runHour() {
    ++hoursRun;
    const std::int32_t unit = unitOfHour(hoursRun);
    if (hoursRun > 1) {
        window.resizeClient(gridColumns * unit, gridRows * unit);
        const PixelSize client = window.clientSize();
        picture = shell::BufferPaintTarget(client.width, client.height);
    }
    HourReport report;
    report.hour = hoursRun;
    report.unit = app.state().face.unit;
    for (std::int32_t minute = 1; minute <= minutesPerHour; ++minute) {
        for (std::int32_t i = 0; i < ticksPerMinute; ++i) {
            tick();
        }
        if (minute == warmUpMinutes) {
            report.warmResidentBytes = readMemory(minute, report.unit);
        }
    }
    report.endResidentBytes = readMemory(minutesPerHour, report.unit);
    report.gdiObjects = platform::gdiObjectsInUse();
    return report;
}

void Soak::tick() {
    clock.advance(static_cast<std::uint64_t>(tickPeriod100ns));
    app.tick(window);
    if (window.paintPending()) {
        window.paint(picture);
    }
    ++ticks;
}

std::optional<std::uint64_t> Soak::readMemory(std::int32_t minute, std::int32_t unit) {
    const std::optional<std::uint64_t> residentBytes = platform::residentMemoryBytes();
    if (residentBytes) {
        readings.push_back({hoursRun, minute, unit, *residentBytes});
    }
    return residentBytes;
}

std::vector<OffsetChange> offsetChangesOfRun(platform::FileTime startUtc, std::int32_t hours, LocalTimeOf zone) {
    constexpr auto minuteTicks = static_cast<std::uint64_t>(minute100ns);
    OffsetWatch watch;
    const std::uint64_t minutes = static_cast<std::uint64_t>(hours) * minutesPerHour;
    for (std::uint64_t minute = 0; minute <= minutes; ++minute) {
        const auto utc = platform::FileTime::fromTicks(startUtc.ticks() + minute * minuteTicks);
        watch.observe(utc, zone(utc));
    }
    return watch.changes();
}

std::vector<std::uint8_t> windowPicture(platform::FileTime utc, std::int32_t unit) {
    const platform::FixedClock clock(utc, platform::localFromUtc(utc));
    ClockApp app(clock);
    shell::HeadlessWindow window(app);
    window.open(toolStartOptions(unit));
    if (!surfacesReady(app.state().face)) {
        return {};
    }
    const PixelSize client = window.clientSize();
    shell::BufferPaintTarget target(client.width, client.height);
    window.paint(target);
    return {target.pixels(), target.pixels() + static_cast<std::size_t>(target.stride()) * target.height()};
}
