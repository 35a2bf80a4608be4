#include "clockface/MinuteWork.h"

#include "clockface/DialBackground.h"
#include "clockface/DialGeometry.h"
#include "clockface/FaceState.h"
#include "clockface/FaceTime.h"
#include "image/Image.h"
#include "image/PixelCache.h"

#include <algorithm>
#include <limits>
#include <optional>
#include <utility>

namespace {

constexpr std::int64_t minuteTicks = 600'000'000;  // a minute, 100-ns ticks
constexpr std::int64_t leadTicks = 5'000'000;      // the hands' half second ahead, 100-ns ticks
constexpr std::int64_t wholeWork = std::numeric_limits<std::int64_t>::max();

std::int64_t ticksOf(platform::FileTime time) {
    return static_cast<std::int64_t>(time.ticks());
}

// The minute the hands show, as local minutes since 1601. A moment a hair from
// the turn can fall on either side of it in whole ticks and in the hands'
// seconds: the seconds decide, as they decide what the face shows.
std::int64_t shownMinute(platform::FileTime local, const FaceTime& time) {
    const std::int64_t ahead = ticksOf(local) + leadTicks;
    const std::int64_t minute = ahead / minuteTicks;
    const double secondsInto = static_cast<double>(ahead % minuteTicks) / 1e7;
    if (time.seconds - secondsInto > 30.0) {
        return minute - 1;
    }
    if (secondsInto - time.seconds > 30.0) {
        return minute + 1;
    }
    return minute;
}

// The moment the hands reach the given minute, in universal and local time,
// by the offset between the two now. Should the offset change at that very
// turn (daylight saving), the minute never shows and the turn finds no
// prepared work.
platform::FixedClock turnOf(std::int64_t minute, platform::FileTime localNow, platform::FileTime utcNow) {
    const std::int64_t local = minute * minuteTicks - leadTicks;
    const std::int64_t utc = local - (ticksOf(localNow) - ticksOf(utcNow));
    return {platform::FileTime::fromTicks(static_cast<std::uint64_t>(utc)),
            platform::FileTime::fromTicks(static_cast<std::uint64_t>(local))};
}

bool matchesCanvas(const Canvas& backdrop, const Canvas& clockCanvas) {
    return backdrop.hasPixels() && backdrop.width == clockCanvas.width && backdrop.height == clockCanvas.height &&
           backdrop.scale == clockCanvas.scale;
}

}  // namespace

void MinuteWork::tick(FaceState& face, const platform::Clock& clock) {
    tickPixels = 0;
    if (!canDrawOn(face, face.globeCanvas) || !canDrawOn(face, face.clockCanvas)) {
        return;
    }
    const platform::FileTime local = clock.localNow();
    const FaceTime time = FaceTime::fromLocalTime(local);
    const std::int64_t minute = shownMinute(local, time);
    if (forLayout) {
        if (time.minuteIsTurning() && turn != minute) {
            // The turn's pictures take the place of the new layout's, and are
            // made the same way, a step a tick, the old ones showing meanwhile.
            // They are for the moment the turn's work would have had, had it
            // not waited for the layout's.
            if (deferredTurn == minute) {
                start(face, minute, turnOf(minute, local, clock.utcNow()));
            } else {
                start(face, minute, clock);
            }
            staged = {};
        } else if (time.showsMoon() && time.seconds > 45.0) {
            deferredTurn = minute + 1;
            // Once the Moon that shows is done, the Earth of the turn to come is
            // due, as without a change, so that the turn never finds it undone
            // with one tick left to do it in. Its Moon waits for the turn.
            if (!layoutMoment && moon.stage == Stage::Idle && turn != minute + 1) {
                start(face, minute + 1, turnOf(minute + 1, local, clock.utcNow()));
                staged = {};
            }
        }
        if (turn == minute + 1) {
            step(face, Globe::Earth, pixelsPerStep);
        } else {
            stepLayout(face, time.showsMoon() ? Globe::Moon : Globe::Earth);
        }
        return;
    }
    if (time.minuteIsTurning()) {
        if (turn != minute) {
            start(face, minute, clock);
        }
        finish(face, Globe::Earth);
        return;
    }
    // Work for the turn to come waits for it, all but the Earth's while the
    // Moon shows before it; a clock set back leaves it waiting. Work of a turn
    // long gone (a clock set forward, a timer that stalled) is never finished:
    // the next turn's work takes its place, and until then the pictures stay.
    if (time.showsMoon()) {
        if (turn == minute) {
            finish(face, Globe::Moon);
        }
        if (time.seconds > 45.0) {
            if (turn != minute + 1) {
                start(face, minute + 1, turnOf(minute + 1, local, clock.utcNow()));
            }
            step(face, Globe::Earth, pixelsPerStep);
        }
    } else if (turn == minute) {
        finish(face, Globe::Earth);
        step(face, Globe::Moon, pixelsPerStep);
    }
    // A tick left without work draws the background of the globe not showing
    // when it has none for its picture, as after a rebuild, which draws only the
    // one that shows.
    const Globe hidden = time.showsMoon() ? Globe::Earth : Globe::Moon;
    Piece& idle = piece(hidden);
    if (tickPixels != 0 || idle.stage == Stage::Tracing) {
        return;
    }
    if (idle.stage == Stage::Idle &&
        !face.dialBackground.holds(hidden, *face.clockCanvas, face.unit, face.globes.picture(hidden),
                                   face.globes.generation(hidden))) {
        idle.stage = Stage::Drawing;
        idle.begun = false;
        idle.nextRow = 0;
    }
    step(face, hidden, pixelsPerStep);
}

void MinuteWork::reset() {
    turn = -1;
    forLayout = false;
    layoutMoment.reset();
    deferredTurn = -1;
    earth = {};
    moon = {};
    staged = {};
    backdrop.reset();
}

void MinuteWork::relayout(const platform::Clock& clock) {
    reset();
    forLayout = true;
    layoutMoment.emplace(clock.utcNow(), clock.localNow());
}

void MinuteWork::start(FaceState& face, std::int64_t turnMinute, const platform::Clock& moment) {
    // A tracing that read a map cut short meanwhile read zeros for what was
    // lost; the map is sound again for this turn's pictures.
    reloadIfChanged(face.earthTexture);
    reloadIfChanged(face.moonTexture);
    // Work left over from an earlier turn is dropped: a picture not yet traced
    // stays as it was, and a background not yet taken is drawn again on an idle
    // tick, or when it shows.
    turn = turnMinute;
    begin(face, moment);
}

void MinuteWork::begin(FaceState& face, const platform::Clock& moment) {
    // A new layout keeps the globe canvas of the unit it left until its work
    // begins here: the first frame does without it.
    layoutMoment.reset();
    const std::int32_t side = 2 * face.clientWidth;
    if (face.globeCanvas->displayHeight() != side) {
        face.globeCanvas.reset();
        face.globeCanvas = makeFlatCanvas(side, side, 1, PixelFormatRgbBytes);
        if (!face.globeCanvas) {
            // Without memory for it the face has no surfaces, as after a
            // rebuild that found none, and nothing is traced.
            reset();
            return;
        }
    }
    for (const Globe globe : {Globe::Earth, Globe::Moon}) {
        Piece& work = piece(globe);
        work.tracing = std::make_unique<GlobeTracing>(globe, *face.globeCanvas, globeSizeForUnit(face.unit), moment,
                                                      face.options.earthshine);
        work.stage = Stage::Tracing;
        work.begun = false;
        work.nextRow = 0;
    }
}

void MinuteWork::stepLayout(FaceState& face, Globe shown) {
    if (layoutMoment) {
        reloadIfChanged(face.earthTexture);
        reloadIfChanged(face.moonTexture);
        const platform::FixedClock moment = *layoutMoment;
        begin(face, moment);
    }
    const Globe hidden = shown == Globe::Earth ? Globe::Moon : Globe::Earth;
    const Piece& other = piece(hidden);
    const bool hiddenFirst = piece(shown).stage == Stage::Idle || (other.stage != Stage::Idle && other.begun);
    step(face, hiddenFirst ? hidden : shown, pixelsPerStep);
    if (earth.stage == Stage::Idle && moon.stage == Stage::Idle) {
        forLayout = false;
        staged = {};
    }
}

void MinuteWork::step(FaceState& face, Globe globe, std::int64_t budget) {
    Piece& work = piece(globe);
    // Both globes trace on the one globe canvas and draw on the one backdrop:
    // what the other has begun there is finished first.
    const Piece& other = piece(globe == Globe::Earth ? Globe::Moon : Globe::Earth);
    if (work.stage != Stage::Idle && other.stage == work.stage && other.begun) {
        finish(face, globe == Globe::Earth ? Globe::Moon : Globe::Earth);
    }
    if (work.stage == Stage::Tracing) {
        const Image* texture = globe == Globe::Earth ? &face.earthTexture : &face.moonTexture;
        tickPixels += work.tracing->advance(*face.globeCanvas, texture, budget, forLayout ? staged : face.globes);
        work.begun = true;
        if (work.tracing->done()) {
            work.tracing.reset();
            work.stage = Stage::Drawing;
            work.begun = false;
            work.nextRow = 0;
        }
        return;
    }
    if (work.stage != Stage::Drawing) {
        return;
    }
    const Canvas& clockCanvas = *face.clockCanvas;
    if (!backdrop || !matchesCanvas(*backdrop, clockCanvas)) {
        // A canvas like the clock canvas, its pixel store alone.
        backdrop = makeFlatCanvas(clockCanvas.displayWidth(), clockCanvas.displayHeight(), clockCanvas.scale,
                                  static_cast<PixelFormat>(clockCanvas.pixelFormat));
        work.begun = false;
        work.nextRow = 0;
        if (!backdrop) {
            // Without room for it the background is drawn when it shows.
            adoptStaged(face, globe);
            work.stage = Stage::Idle;
            return;
        }
    }
    if (!work.begun) {
        backdrop->clear();
    }
    const std::int64_t rows = std::clamp<std::int64_t>(budget / backdrop->width, 1, backdrop->height - work.nextRow);
    const auto lastRow = static_cast<std::int32_t>(work.nextRow + rows - 1);
    const Image* picture = (forLayout ? staged : face.globes).picture(globe);
    DialBackground::drawPictureRows(*backdrop, face.unit, picture, work.nextRow, lastRow);
    work.begun = true;
    tickPixels += static_cast<std::int64_t>(lastRow - work.nextRow + 1) * backdrop->width;
    work.nextRow = lastRow + 1;
    if (work.nextRow < backdrop->height) {
        return;
    }
    DialBackground::drawMarks(*backdrop, face.unit, *face.textRenderer);
    adoptStaged(face, globe);
    face.dialBackground.install(globe, *backdrop, face.unit, face.globes.picture(globe),
                                face.globes.generation(globe));
    work.stage = Stage::Idle;
    work.begun = false;
    if (earth.stage == Stage::Idle && moon.stage == Stage::Idle) {
        backdrop.reset();
    }
}

void MinuteWork::finish(FaceState& face, Globe globe) {
    while (piece(globe).stage != Stage::Idle) {
        step(face, globe, wholeWork);
    }
}

void MinuteWork::adoptStaged(FaceState& face, Globe globe) {
    if (!forLayout) {
        return;
    }
    if (globe == Globe::Earth) {
        face.globes.earthGlobe = std::move(staged.earthGlobe);
        ++face.globes.earthGeneration;
    } else {
        face.globes.moonGlobe = std::move(staged.moonGlobe);
        ++face.globes.moonGeneration;
    }
}
