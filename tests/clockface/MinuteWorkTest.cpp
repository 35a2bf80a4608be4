#include "clockface/MinuteWork.h"

#include "FaceFixture.h"
#include "clockface/Calendar.h"
#include "clockface/ClockFace.h"
#include "clockface/DialGeometry.h"
#include "image/Image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

namespace {

using facetest::clockAt;
using facetest::december9th2026;
using facetest::displayOf;
using facetest::loadMaps;
using facetest::storeOf;

// A unit large enough that each globe takes more than one step to trace and
// its background more than one to draw: (10U + 1)² and 7U × 8U × 4 pixels.
constexpr std::int32_t unit = 60;
static_assert((10 * unit + 1) * (10 * unit + 1) > pixelsPerStep && 7 * unit * 8 * unit * 4 > pixelsPerStep);

// 10:08:40 and 10:08:59.5, when the hands, half a second ahead, reach 10:09.
constexpr double fortySeconds = 10 * 3600 + 8 * 60 + 40;
constexpr double turnMoment = 10 * 3600 + 8 * 60 + 59.5;

// A face made as a rebuild makes it, its pictures rendered at secondsIntoDay.
void buildFace(FaceState& face, double secondsIntoDay) {
    facetest::buildSurfaces(face, unit);
    loadMaps(face);
    const platform::FixedClock clock = clockAt(december9th2026, secondsIntoDay);
    renderGlobes(*face.globeCanvas, globeSizeForUnit(unit), &face.earthTexture, &face.moonTexture, clock, face.globes);
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

// Work dropped by a new layout starts again from the first row on the next
// tick, and leaves the picture as the rebuild made it until it is done.
TEST(MinuteWork, ResetDropsTheWorkInProgress) {
    FaceState face;
    buildFace(face, fortySeconds);
    const std::uint64_t generationBefore = face.globes.earthGeneration;
    // One step: the Earth half traced.
    EXPECT_GT(tickAt(face, fortySeconds + 6.1), 0);
    face.minuteWork.reset();
    // The next tick starts afresh: one step of tracing from the first row.
    EXPECT_EQ(tickAt(face, fortySeconds + 6.35), pixelsPerStep / (10 * unit + 1) * (10 * unit + 1));
    EXPECT_EQ(face.globes.earthGeneration, generationBefore);
}

// Ticks that stop with the Earth's work half done and come back with the Moon
// showing after the turn (a suspended machine, a stalled timer): the Earth is
// finished before the Moon takes the canvases they share, so both come out as
// a rebuild at the turn draws them.
TEST(MinuteWork, WorkCutOffByMissingTicksFinishesEachGlobeOnItsOwn) {
    for (const double stoppedAt : {fortySeconds + 6.1, fortySeconds + 6.85}) {  // tracing, drawing
        FaceState face;
        buildFace(face, fortySeconds);
        for (double seconds = fortySeconds + 6.1; seconds <= stoppedAt; seconds += 0.25) {
            static_cast<void>(tickAt(face, seconds));
        }
        double seconds = turnMoment + 20.0;
        static_cast<void>(tickAt(face, seconds));
        const Expected moon = expectedAt(seconds, turnMoment);
        EXPECT_EQ(storeOf(face.globes.moonGlobe.get()), moon.moon) << stoppedAt;
        EXPECT_EQ(displayOf(*face.clockCanvas), moon.face) << stoppedAt;
        for (seconds += 0.25; seconds < turnMoment + 36.0; seconds += 0.25) {
            static_cast<void>(tickAt(face, seconds));
        }
        const Expected earth = expectedAt(seconds - 0.25, turnMoment);
        EXPECT_EQ(storeOf(face.globes.earthGlobe.get()), earth.earth) << stoppedAt;
        EXPECT_EQ(displayOf(*face.clockCanvas), earth.face) << stoppedAt;
    }
}

// A clock set back from the quarter minute before a turn to the middle of the
// minute: the tracing waits for the turn, and the face shows what a whole
// redraw shows with the pictures it has (the Earth already traced for the turn).
TEST(MinuteWork, AClockSetBackShowsWhatAWholeRedrawShows) {
    FaceState face;
    buildFace(face, fortySeconds);
    for (double seconds = fortySeconds + 6.1; seconds < fortySeconds + 7.0; seconds += 0.25) {
        static_cast<void>(tickAt(face, seconds));
    }
    for (double seconds = fortySeconds - 25.0; seconds < fortySeconds - 10.0; seconds += 0.25) {
        static_cast<void>(tickAt(face, seconds));
    }
    const double halfPast = fortySeconds - 10.0;  // 10:08:30, the Earth showing again
    static_cast<void>(tickAt(face, halfPast));

    FaceState fresh;
    buildFace(fresh, fortySeconds);
    GlobeTracing earth(Globe::Earth, *fresh.globeCanvas, globeSizeForUnit(unit), clockAt(december9th2026, turnMoment));
    while (!earth.done()) {
        earth.advance(*fresh.globeCanvas, &fresh.earthTexture, pixelsPerStep, fresh.globes);
    }
    static_cast<void>(drawClockFace(fresh, clockAt(december9th2026, halfPast)));
    EXPECT_EQ(storeOf(face.globes.earthGlobe.get()), storeOf(fresh.globes.earthGlobe.get()));
    EXPECT_EQ(storeOf(face.globes.moonGlobe.get()), storeOf(fresh.globes.moonGlobe.get()));
    EXPECT_EQ(displayOf(*face.clockCanvas), displayOf(*fresh.clockCanvas));
}

// An odd unit, whose pictures are two columns wider than 14U, and small enough
// that each globe is traced and drawn in a single step: ticking through the turn
// shows what a rebuild at the turn shows. The face asks for earthshine, which
// the new Moon of that day shows on its whole disc: the work traces with the
// face's options, as the rebuild does.
TEST(MinuteWork, AWholeGlobeInOneStepAtAnOddUnit) {
    constexpr std::int32_t oddUnit = 27;
    FaceState face;
    face.options.earthshine = true;
    facetest::buildSurfaces(face, oddUnit);
    loadMaps(face);
    const platform::FixedClock first = clockAt(december9th2026, fortySeconds);
    renderGlobes(*face.globeCanvas, globeSizeForUnit(oddUnit), &face.earthTexture, &face.moonTexture, first, face.globes,
                 face.options.earthshine);
    static_cast<void>(drawClockFace(face, first));
    double seconds = fortySeconds + 0.25;
    for (; seconds < turnMoment + 21.0; seconds += 0.25) {
        EXPECT_LE(tickAt(face, seconds), pixelsPerStep);
    }
    FaceState fresh;
    facetest::buildSurfaces(fresh, oddUnit);
    loadMaps(fresh);
    renderGlobes(*fresh.globeCanvas, globeSizeForUnit(oddUnit), &fresh.earthTexture, &fresh.moonTexture,
                 clockAt(december9th2026, turnMoment), fresh.globes, true);
    static_cast<void>(drawClockFace(fresh, clockAt(december9th2026, seconds - 0.25)));
    EXPECT_EQ(storeOf(face.globes.earthGlobe.get()), storeOf(fresh.globes.earthGlobe.get()));
    EXPECT_EQ(storeOf(face.globes.moonGlobe.get()), storeOf(fresh.globes.moonGlobe.get()));
    EXPECT_EQ(displayOf(*face.clockCanvas), displayOf(*fresh.clockCanvas));
}

// The plan's states, from each to the next as a clock meets them: the hidden
// globe's background after a rebuild, a turn's work, a change of size done in
// slices, one made in the quarter minute before a turn, whose Moon waits for
// it, a turn long gone, and a reset.
TEST(MinuteWork, FollowsItsPlanFromStateToState) {
    using State = MinuteWork::State;
    constexpr double fiveSeconds = fortySeconds - 35.0;  // 10:08:05, the Earth showing
    FaceState face;
    buildFace(face, fiveSeconds);
    MinuteWork& work = face.minuteWork;
    // Ticks from `from` on, until the state is no longer `state`: false when
    // it still is at `until`.
    const auto ticksWhile = [&](State state, double from, double until) {
        for (double seconds = from; seconds <= until; seconds += 0.25) {
            static_cast<void>(tickAt(face, seconds));
            if (work.state() != state) {
                return true;
            }
        }
        return false;
    };
    const auto slicesWhileWorkLeft = [&](double at) {
        std::int32_t slices = 0;
        for (; work.hasSliceWork() && slices < 100; ++slices) {
            work.slice(face, clockAt(december9th2026, at));
            EXPECT_LE(work.lastTickPixels(), pixelsPerStep);
        }
        return slices;
    };

    static_cast<void>(tickAt(face, fiveSeconds + 0.25));
    EXPECT_EQ(work.state(), State::Background);
    EXPECT_TRUE(ticksWhile(State::Background, fiveSeconds + 0.5, fiveSeconds + 3.0));
    EXPECT_EQ(work.state(), State::Idle);

    static_cast<void>(tickAt(face, fortySeconds + 6.0));
    EXPECT_EQ(work.state(), State::ForTurn);
    EXPECT_FALSE(work.hasSliceWork()) << "a turn's work keeps its spread over the ticks";
    EXPECT_TRUE(ticksWhile(State::ForTurn, fortySeconds + 6.25, turnMoment + 15.0));
    EXPECT_EQ(work.state(), State::Idle);

    const double afterTurn = turnMoment + 20.5;  // the Moon showing
    work.relayout(clockAt(december9th2026, afterTurn));
    EXPECT_EQ(work.state(), State::SizePending);
    EXPECT_TRUE(work.layoutPending());
    EXPECT_GE(slicesWhileWorkLeft(afterTurn), 8);
    EXPECT_EQ(work.state(), State::Idle);

    const double beforeTurn = turnMoment + 50.5;  // the Moon showing, the next turn ahead
    work.relayout(clockAt(december9th2026, beforeTurn));
    static_cast<void>(tickAt(face, beforeTurn));
    EXPECT_EQ(work.state(), State::ForSize);
    EXPECT_GT(slicesWhileWorkLeft(beforeTurn), 0);
    EXPECT_EQ(work.state(), State::ForSize) << "the turn's Moon waits for the turn, and no slice for it";
    EXPECT_TRUE(work.layoutPending());
    static_cast<void>(tickAt(face, turnMoment + 60.25));
    EXPECT_GT(slicesWhileWorkLeft(turnMoment + 60.25), 0);
    EXPECT_EQ(work.state(), State::Idle);

    static_cast<void>(tickAt(face, turnMoment + 106.0));  // the next turn's Earth under way
    EXPECT_EQ(work.state(), State::ForTurn);
    static_cast<void>(tickAt(face, turnMoment + 400.0));  // the clock set minutes forward
    EXPECT_NE(work.state(), State::ForTurn);
    work.relayout(clockAt(december9th2026, turnMoment + 400.0));
    work.reset();
    EXPECT_EQ(work.state(), State::Idle);
    EXPECT_FALSE(work.hasSliceWork());
}
