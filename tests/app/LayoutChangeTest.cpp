#include "app/SurfaceRebuild.h"
#include "clockface/ClockFace.h"
#include "clockface/DialGeometry.h"
#include "image/Image.h"
#include "tests/clockface/FaceFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

// The face tests' clock, maps and picture readers.
using namespace facetest;

constexpr double tenOhEight = 10 * 3600 + 8 * 60;  // 10:08:00, seconds into the day

// A change of the unit at a moment, seconds into the day.
struct Change {
    double at = 0.0;
    std::int32_t unit = 0;
};

// What the clock shows and keeps: both globe pictures, the face and the
// calendar as presented.
struct Pictures {
    std::vector<std::uint8_t> earth;
    std::vector<std::uint8_t> moon;
    std::vector<std::uint8_t> face;
    std::vector<std::uint8_t> calendar;
};

Pictures picturesOf(const FaceState& face) {
    return {storeOf(face.globes.earthGlobe.get()), storeOf(face.globes.moonGlobe.get()),
            displayOf(*face.clockCanvas), displayOf(*face.calendarCanvas)};
}

// What a run of the clock did after its first change: the most work of a
// tick or slice (pixels the minute's work traced or drew, and backgrounds the
// face drew with the fine sampling) and the ticks and slices that did any.
struct Effort {
    std::int64_t mostOfATick = 0;
    std::int32_t stepsWithWork = 0;
};

using MakeLayout = std::int32_t (*)(FaceState&, const platform::Clock&);

// A clock started at U = 28 at 10:08:00, ticking every quarter second as the
// app ticks (the minute's work, then the face) until the moment `until`, its
// unit changed by `make` at each change; after each tick, up to `slices` slices
// of a new size's work, as a shell with nothing else to do runs them.
Effort run(FaceState& face, const std::vector<Change>& changes, double until, MakeLayout make,
           std::int32_t slices = 0) {
    loadMaps(face);
    face.setUnit(defaultUnit);
    EXPECT_EQ(rebuildSurfaces(face, clockAt(december9th2026, tenOhEight)), 1);
    Effort effort;
    auto next = changes.begin();
    for (double seconds = tenOhEight + 0.25; seconds <= until; seconds += 0.25) {
        for (; next != changes.end() && next->at < seconds; ++next) {
            face.setUnit(next->unit);
            EXPECT_EQ(make(face, clockAt(december9th2026, next->at)), 1);
        }
        const std::int64_t fineBefore = face.dialBackground.finePixelsDrawn();
        const platform::FixedClock clock = clockAt(december9th2026, seconds);
        face.minuteWork.tick(face, clock);
        static_cast<void>(drawClockFace(face, clock));
        const std::int64_t work =
            face.minuteWork.lastTickPixels() + face.dialBackground.finePixelsDrawn() - fineBefore;
        if (seconds > changes.front().at) {
            effort.mostOfATick = std::max(effort.mostOfATick, work);
            effort.stepsWithWork += work > 0;
        }
        for (std::int32_t slice = 0; slice < slices && face.minuteWork.hasSliceWork(); ++slice) {
            face.minuteWork.slice(face, clockAt(december9th2026, seconds + 0.01 * (slice + 1)));
            effort.mostOfATick = std::max(effort.mostOfATick, face.minuteWork.lastTickPixels());
            effort.stepsWithWork += face.minuteWork.lastTickPixels() > 0;
        }
    }
    return effort;
}

void expectSamePictures(const Pictures& shown, const Pictures& rebuilt) {
    EXPECT_FALSE(shown.earth.empty());
    EXPECT_TRUE(shown.earth == rebuilt.earth) << "the Earth's picture";
    EXPECT_TRUE(shown.moon == rebuilt.moon) << "the Moon's picture";
    EXPECT_TRUE(shown.face == rebuilt.face) << "the face";
    EXPECT_TRUE(shown.calendar == rebuilt.calendar) << "the calendar";
}

// Two clocks of U = 28 run until a moment before changeAt, their unit then set
// to unit at changeAt: changed by a change of layout, rebuilt by a rebuild. The
// Earth that changed showed before its change.
std::vector<std::uint8_t> changeBoth(FaceState& changed, FaceState& rebuilt, double changeAt, std::int32_t unit) {
    static_cast<void>(run(changed, {{changeAt, unit}}, changeAt - 0.1, changeLayout));
    static_cast<void>(run(rebuilt, {{changeAt, unit}}, changeAt - 0.1, rebuildSurfaces));
    std::vector<std::uint8_t> oldEarth = storeOf(changed.globes.earthGlobe.get());
    const platform::FixedClock clock = clockAt(december9th2026, changeAt);
    changed.setUnit(unit);
    EXPECT_EQ(changeLayout(changed, clock), 1);
    rebuilt.setUnit(unit);
    EXPECT_EQ(rebuildSurfaces(rebuilt, clock), 1);
    return oldEarth;
}

}  // namespace

// After each run of changes and the ticks (and slices) that follow, every
// picture is byte for byte what the clock shows that rebuilt everything at
// each change and ticked alike; and no tick or slice after a change did more
// than one step of work, the turn of the minute included.
TEST(LayoutChange, EndsWithThePicturesOfAFullRebuildAndSpreadsItsWork) {
    struct Case {
        const char* name;
        std::vector<Change> changes;
        double until;
        std::int32_t slices = 0;  // a tick's slices
    };
    const std::vector<Case> cases = {
        {"an odd unit, the Moon showing", {{tenOhEight + 20.1, 41}}, tenOhEight + 32.0},
        {"two changes in a row, the first one's work half done",
         {{tenOhEight + 20.1, 60}, {tenOhEight + 20.6, 45}},
         tenOhEight + 32.0},
        {"a change in the last half second of the minute", {{tenOhEight + 59.6, 56}}, tenOhEight + 80.0},
        {"a change whose work the turn overtakes", {{tenOhEight + 58.1, 60}}, tenOhEight + 80.0},
        {"a change in the quarter minute before the turn", {{tenOhEight + 50.1, 60}}, tenOhEight + 80.0},
        {"a change whose work ends a moment before the turn", {{tenOhEight + 55.6, 60}}, tenOhEight + 80.0},
        {"U = 135 in slices, the Earth showing", {{tenOhEight + 5.1, 135}}, tenOhEight + 9.0, 12},
        {"a change in slices before the turn, its Moon waiting for it", {{tenOhEight + 50.1, 60}}, tenOhEight + 80.0,
         12},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FaceState changed;
        const Effort effort = run(changed, c.changes, c.until, changeLayout, c.slices);
        FaceState rebuilt;
        static_cast<void>(run(rebuilt, c.changes, c.until, rebuildSurfaces));
        EXPECT_FALSE(changed.minuteWork.layoutPending());
        expectSamePictures(picturesOf(changed), picturesOf(rebuilt));
        EXPECT_LE(effort.mostOfATick, pixelsPerStep);
        EXPECT_GE(effort.stepsWithWork, 4);
    }
}

// The frame of a change: the canvases of the new size, the calendar as a
// rebuild draws it, the old pictures kept and shown on the new dial (not yet
// what the rebuild shows); the few ticks after it make the face exact.
TEST(LayoutChange, ShowsTheOldPictureAtOnceAndTheExactOneAFewTicksLater) {
    constexpr std::int32_t unit = 40;
    const double changeAt = tenOhEight + 5.1;  // the Earth showing
    FaceState changed;
    FaceState rebuilt;
    const std::vector<std::uint8_t> oldEarth = changeBoth(changed, rebuilt, changeAt, unit);
    ASSERT_TRUE(changed.clockCanvas && rebuilt.clockCanvas);
    EXPECT_EQ(changed.clockCanvas->displayWidth(), 7 * unit);
    EXPECT_EQ(changed.clockCanvas->displayHeight(), 8 * unit);
    EXPECT_EQ(storeOf(changed.globes.earthGlobe.get()), oldEarth);
    EXPECT_TRUE(changed.minuteWork.layoutPending());
    EXPECT_TRUE(displayOf(*changed.calendarCanvas) == displayOf(*rebuilt.calendarCanvas));
    EXPECT_FALSE(displayOf(*changed.clockCanvas) == displayOf(*rebuilt.clockCanvas));
    // The Earth, seen from the Sun, fills the dial with its day side: most of
    // the disc is lit, not left black for want of a picture.
    const DialGeometry dial = DialGeometry::forUnit(unit);
    std::int32_t lit = 0;
    std::int32_t looked = 0;
    // The disc's radius is 5U store pixels, 2.5U on screen.
    for (std::int32_t dy = -2 * unit; dy <= 2 * unit; dy += 2) {
        for (std::int32_t dx = -2 * unit; dx <= 2 * unit; dx += 2) {
            if (dx * dx + dy * dy <= 4 * unit * unit) {
                ++looked;
                lit += facetest::displayPixel(*changed.clockCanvas, dial.centerX / 2 + dx, dial.centerY / 2 + dy) !=
                       facetest::Rgb{};
            }
        }
    }
    EXPECT_GT(lit, looked * 3 / 4);

    // At U = 40 each globe is traced in one step and its background drawn in
    // two: the Earth, which shows, is exact after three ticks.
    double seconds = changeAt + 0.15;
    for (std::int32_t tick = 1; tick <= 3; ++tick, seconds += 0.25) {
        const platform::FixedClock clock = clockAt(december9th2026, seconds);
        for (FaceState* face : {&changed, &rebuilt}) {
            face->minuteWork.tick(*face, clock);
            static_cast<void>(drawClockFace(*face, clock));
        }
        EXPECT_EQ(displayOf(*changed.clockCanvas) == displayOf(*rebuilt.clockCanvas), tick == 3) << tick;
    }
}

// A clock whose time stands still in the quarter minute before a turn, as the
// window checks pin it: once a change's work is done, it shows the Moon of its
// moment as a clock rebuilt at that size does, the turn's Earth traced ahead
// and out of sight.
TEST(LayoutChange, AClockStandingStillBeforeTheTurnShowsItsOwnMoment) {
    constexpr std::int32_t unit = 40;
    const double changeAt = tenOhEight + 50.1;  // the Moon showing
    FaceState changed;
    FaceState rebuilt;
    static_cast<void>(changeBoth(changed, rebuilt, changeAt, unit));
    ASSERT_TRUE(changed.clockCanvas && rebuilt.clockCanvas);
    const platform::FixedClock still = clockAt(december9th2026, changeAt);
    for (std::int32_t tick = 0; tick < 40; ++tick) {
        for (FaceState* face : {&changed, &rebuilt}) {
            face->minuteWork.tick(*face, still);
            static_cast<void>(drawClockFace(*face, still));
        }
    }
    EXPECT_TRUE(storeOf(changed.globes.moonGlobe.get()) == storeOf(rebuilt.globes.moonGlobe.get()));
    EXPECT_TRUE(displayOf(*changed.clockCanvas) == displayOf(*rebuilt.clockCanvas));
}
