#include "clockface/MinuteWork.h"

#include "FaceFixture.h"
#include "clockface/Calendar.h"
#include "clockface/ClockFace.h"
#include "image/Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

using facetest::clockAt;
using facetest::december9th2026;

// A unit large enough that each globe takes more than one step to trace and
// its background more than one to draw: (10U + 1)² and 7U × 8U × 4 pixels.
constexpr std::int32_t unit = 60;
static_assert((10 * unit + 1) * (10 * unit + 1) > pixelsPerStep && 7 * unit * 8 * unit * 4 > pixelsPerStep);

// 10:08:40 and 10:08:59.5, when the hands, half a second ahead, reach 10:09.
constexpr double fortySeconds = 10 * 3600 + 8 * 60 + 40;
constexpr double turnMoment = 10 * 3600 + 8 * 60 + 59.5;

void loadMaps(FaceState& face) {
    const std::filesystem::path assets = HORAVEL_TEST_ASSET_DIR;
    ASSERT_EQ(face.earthTexture.load(assets / "Earth.png"), 1);
    ASSERT_EQ(face.moonTexture.load(assets / "Moon.png"), 1);
}

std::vector<std::uint8_t> storeOf(const Image* picture) {
    if (picture == nullptr) {
        return {};
    }
    const std::uint8_t* store = picture->pixelStore.get();
    return {store, store + static_cast<std::size_t>(picture->stride) * picture->height};
}

std::vector<std::uint8_t> displayOf(const Canvas& canvas) {
    const std::uint8_t* display = canvas.display.get();
    return {display, display + static_cast<std::size_t>(3 * canvas.displayWidth() * canvas.displayHeight())};
}

// A face made as a rebuild makes it, its pictures rendered at secondsIntoDay.
void buildFace(FaceState& face, double secondsIntoDay) {
    facetest::buildSurfaces(face, unit);
    loadMaps(face);
    const platform::FixedClock clock = clockAt(december9th2026, secondsIntoDay);
    renderGlobes(*face.globeCanvas, unit, &face.earthTexture, &face.moonTexture, clock, face.globes);
    drawCalendar(face, clock);
    static_cast<void>(drawClockFace(face, clock));
}

// The clock face a fresh rebuild shows at secondsIntoDay with the pictures of
// the moment pictureSeconds.
struct Expected {
    std::vector<std::uint8_t> earth;
    std::vector<std::uint8_t> moon;
    std::vector<std::uint8_t> face;
};

Expected expectedAt(double secondsIntoDay, double pictureSeconds) {
    FaceState fresh;
    buildFace(fresh, pictureSeconds);
    static_cast<void>(drawClockFace(fresh, clockAt(december9th2026, secondsIntoDay)));
    return {storeOf(fresh.globes.earthGlobe.get()), storeOf(fresh.globes.moonGlobe.get()),
            displayOf(*fresh.clockCanvas)};
}

// The ticks of the app: the minute's work, then the face.
std::int64_t tickAt(FaceState& face, double secondsIntoDay) {
    const platform::FixedClock clock = clockAt(december9th2026, secondsIntoDay);
    face.minuteWork.tick(face, clock);
    static_cast<void>(drawClockFace(face, clock));
    return face.minuteWork.lastTickPixels();
}

}  // namespace

// Ticking through a turn, no tick does more than one step, the work is spread
// over several, and what the clock shows after the turn, the Earth and then the
// Moon, is exactly what a rebuild at the moment of the turn shows.
TEST(MinuteWork, SpreadsTheTurnOverTicksAndShowsThePicturesOfTheTurn) {
    FaceState face;
    buildFace(face, fortySeconds);
    std::int32_t ticksWithWork = 0;
    // Ticks on whole quarter seconds: one falls right on the turn, where the
    // hands' seconds and the whole ticks of the clock may disagree on the minute.
    double seconds = fortySeconds + 0.25;
    for (; seconds < turnMoment + 1.0; seconds += 0.25) {
        const std::int64_t pixels = tickAt(face, seconds);
        EXPECT_LE(pixels, pixelsPerStep) << "at " << seconds - fortySeconds + 40.0 << " s";
        ticksWithWork += pixels > 0;
    }
    const Expected earthAfterTurn = expectedAt(seconds - 0.25, turnMoment);
    EXPECT_EQ(storeOf(face.globes.earthGlobe.get()), earthAfterTurn.earth);
    EXPECT_EQ(displayOf(*face.clockCanvas), earthAfterTurn.face);

    for (; seconds < turnMoment + 21.0; seconds += 0.25) {
        const std::int64_t pixels = tickAt(face, seconds);
        EXPECT_LE(pixels, pixelsPerStep) << "at " << seconds - turnMoment - 0.5 << " s past the turn";
        ticksWithWork += pixels > 0;
    }
    const Expected moonAfterTurn = expectedAt(seconds - 0.25, turnMoment);
    EXPECT_EQ(storeOf(face.globes.moonGlobe.get()), moonAfterTurn.moon);
    EXPECT_EQ(displayOf(*face.clockCanvas), moonAfterTurn.face);
    // Two steps or more of tracing and of drawing for each globe.
    EXPECT_GE(ticksWithWork, 8);

    // The moment matters: pictures a quarter second later are not these.
    const Expected later = expectedAt(seconds - 0.25, turnMoment + 0.25);
    EXPECT_NE(later.earth, earthAfterTurn.earth);
}

// A turn that comes without prepared work, a moment after the window was made,
// renders the Earth at once for the present moment, and the Moon after it.
TEST(MinuteWork, ATurnWithoutPreparedWorkRendersForThePresentMoment) {
    const double justAfterTurn = turnMoment + 0.2;
    FaceState face;
    buildFace(face, turnMoment - 0.1);
    EXPECT_GT(tickAt(face, justAfterTurn), pixelsPerStep);
    const Expected now = expectedAt(justAfterTurn, justAfterTurn);
    EXPECT_EQ(storeOf(face.globes.earthGlobe.get()), now.earth);
    EXPECT_EQ(displayOf(*face.clockCanvas), now.face);

    double seconds = justAfterTurn + 0.25;
    for (; seconds < turnMoment + 16.0; seconds += 0.25) {
        static_cast<void>(tickAt(face, seconds));
    }
    const Expected moon = expectedAt(seconds - 0.25, justAfterTurn);
    EXPECT_EQ(storeOf(face.globes.moonGlobe.get()), moon.moon);
    EXPECT_EQ(displayOf(*face.clockCanvas), moon.face);
}

// Work dropped by a new layout leaves the pictures the rebuild made; the next
// minute's work starts again from the ticks after it.
TEST(MinuteWork, ResetDropsTheWorkInProgress) {
    FaceState face;
    buildFace(face, fortySeconds);
    for (double seconds = fortySeconds + 6.1; seconds < fortySeconds + 7.0; seconds += 0.25) {
        static_cast<void>(tickAt(face, seconds));
    }
    const std::vector<std::uint8_t> earthBefore = storeOf(face.globes.earthGlobe.get());
    face.minuteWork.reset();
    EXPECT_EQ(tickAt(face, fortySeconds + 7.1), pixelsPerStep / (10 * unit + 1) * (10 * unit + 1));
    EXPECT_EQ(storeOf(face.globes.earthGlobe.get()), earthBefore);
}
