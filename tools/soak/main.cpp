// horavel-soak: the clock's drawing code run on simulated time for hours, four
// ticks a second with a rebuild at a new unit every hour and a daylight-saving
// change on the way, watching that it keeps neither memory nor GDI handles.

#include "MemoryGrowth.h"
#include "OffsetWatch.h"
#include "Soak.h"
#include "SoakOptions.h"

#include "platform/ProcessResources.h"
#include "tools/common/IsoTime.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

namespace {

constexpr int exitFailure = 1;
constexpr int exitBadArguments = 2;

constexpr std::uint64_t ticksPerHour = 36'000'000'000ULL;  // 100-ns ticks
constexpr double bytesPerMegabyte = 1'048'576.0;

// The moment and unit of the picture drawn before and after the run: 2026-12-09
// 10:08:30 UT, three hands apart, the Earth on the dial and text in every part.
constexpr std::uint64_t pictureMomentTicks = 134'412'845'100'000'000ULL;
constexpr std::int32_t pictureUnit = 28;

std::string megabytes(std::optional<std::uint64_t> bytes) {
    if (!bytes) {
        return "unknown";
    }
    char text[32];
    std::snprintf(text, sizeof text, "%.2f MB", static_cast<double>(*bytes) / bytesPerMegabyte);
    return text;
}

void printHour(const HourReport& report) {
    std::printf("hour %d  unit %d  resident %s at minute %d, %s at the end", report.hour, report.unit,
                megabytes(report.warmResidentBytes).c_str(), warmUpMinutes, megabytes(report.endResidentBytes).c_str());
    if (report.gdiObjects) {
        std::printf("  gdi objects %u", static_cast<unsigned>(*report.gdiObjects));
    }
    std::printf("\n");
    // A long run shows its progress as it goes, also through a pipe.
    std::fflush(stdout);
}

// The changes of the local offset that the run crosses, one line each.
void printOffsetChanges(const std::vector<OffsetChange>& changes) {
    for (const OffsetChange& change : changes) {
        std::printf("daylight-saving change at %s: local time from UTC%s to UTC%s\n",
                    formatIsoTime(change.firstUtc).c_str(), formatUtcOffset(change.beforeSeconds).c_str(),
                    formatUtcOffset(change.afterSeconds).c_str());
    }
}

// Whether the picture drawn after the run is the one drawn before it. A GDI handle
// lost on every tick would, within hours, leave no handle for the text's fonts and
// bitmaps, and the text would be missing from the second picture.
bool reportPicture(const std::vector<std::uint8_t>& before, const std::vector<std::uint8_t>& after) {
    const std::string moment = formatIsoTime(platform::FileTime::fromTicks(pictureMomentTicks));
    if (before.empty() || after.empty()) {
        std::printf("picture of %s at unit %d: could not be drawn %s the run\n", moment.c_str(), pictureUnit,
                    before.empty() ? "before" : "after");
        return false;
    }
    if (before == after) {
        std::printf("picture of %s at unit %d: identical before and after the run (%zu bytes)\n", moment.c_str(),
                    pictureUnit, before.size());
        return true;
    }
    std::size_t differing = 0;
    for (std::size_t i = 0; i < std::min(before.size(), after.size()); ++i) {
        differing += before[i] != after[i] ? 1 : 0;
    }
    std::printf("picture of %s at unit %d: %zu of %zu bytes differ after the run (%zu bytes before)\n", moment.c_str(),
                pictureUnit, differing, after.size(), before.size());
    return false;
}

bool reportGrowth(const std::optional<GrowthVerdict>& verdict, bool everyReadingTaken) {
    if (!verdict || !everyReadingTaken) {
        std::printf("memory: the system did not say how much memory the process occupies\n");
        return false;
    }
    std::printf("memory: %s at minute %d of hour %d against %s at minute %d of hour %d, both at unit %d: "
                "%+.2f MB, %s 1 MB\n",
                megabytes(verdict->last.residentBytes).c_str(), verdict->last.minute, verdict->last.hour,
                megabytes(verdict->first.residentBytes).c_str(), verdict->first.minute, verdict->first.hour,
                verdict->last.unit, static_cast<double>(verdict->growthBytes) / bytesPerMegabyte,
                verdict->withinLimit ? "within" : "more than");
    return verdict->withinLimit;
}

}  // namespace

int main(int argc, char** argv) {
    SoakOptions options;
    std::string error;
    if (!parseSoakOptions(argc, argv, options, error)) {
        std::fprintf(stderr, "horavel-soak: %s\n%s", error.c_str(), soakUsage().c_str());
        return exitBadArguments;
    }
    if (options.help) {
        std::fputs(soakUsage().c_str(), stdout);
        return 0;
    }

    const platform::FileTime endUtc =
        platform::FileTime::fromTicks(options.startUtc.ticks() + static_cast<std::uint64_t>(options.hours) * ticksPerHour);
    // A run that crosses no change is refused before it starts rather than after
    // hours of running.
    const std::vector<OffsetChange> changes = offsetChangesOfRun(options.startUtc, options.hours);
    if (changes.empty()) {
        std::fprintf(stderr,
                     "horavel-soak: no daylight-saving change between %s and %s in this time zone: run it in a\n"
                     "zone that has one, starting before a change (TZ=Europe/Berlin with the default start, for "
                     "example)\n",
                     formatIsoTime(options.startUtc).c_str(), formatIsoTime(endUtc).c_str());
        return exitFailure;
    }

    const auto began = std::chrono::steady_clock::now();
    const auto pictureMoment = platform::FileTime::fromTicks(pictureMomentTicks);
    const std::vector<std::uint8_t> pictureBefore = windowPicture(pictureMoment, pictureUnit);

    Soak soak(options.startUtc);
    if (!soak.start(error)) {
        std::fprintf(stderr, "horavel-soak: %s\n", error.c_str());
        return exitFailure;
    }
    std::printf("%d simulated hour%s from %s to %s: four ticks a second, a new unit every hour%s\n", options.hours,
                options.hours == 1 ? "" : "s", formatIsoTime(options.startUtc).c_str(), formatIsoTime(endUtc).c_str(),
                platform::gdiObjectsInUse() ? "" : "; no GDI objects on this system");
    printOffsetChanges(changes);
    bool everyReadingTaken = true;
    for (std::int32_t hour = 1; hour <= options.hours; ++hour) {
        const HourReport report = soak.runHour();
        printHour(report);
        everyReadingTaken = everyReadingTaken && report.warmResidentBytes && report.endResidentBytes;
    }
    // Drawn while the soak's clock still holds what it holds, so that nothing it
    // keeps is given back first.
    const std::vector<std::uint8_t> pictureAfter = windowPicture(pictureMoment, pictureUnit);

    const bool pictureKept = reportPicture(pictureBefore, pictureAfter);
    const bool memoryKept = reportGrowth(judgeGrowth(soak.memoryReadings()), everyReadingTaken);
    const bool passed = pictureKept && memoryKept;
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - began;
    std::printf("horavel-soak: %s: %llu ticks in %.0f s\n", passed ? "passed" : "FAILED",
                static_cast<unsigned long long>(soak.ticksRun()), took.count());
    return passed ? 0 : exitFailure;
}
