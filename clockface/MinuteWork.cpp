#include "clockface/MinuteWork.h"

#include "clockface/DialBackground.h"
#include "clockface/DialGeometry.h"
#include "clockface/FaceState.h"
#include "clockface/FaceTime.h"
#include "clockface/Timing.h"
#include "image/Image.h"
#include "image/PixelCache.h"

#include <algorithm>
#include <limits>
#include <utility>

namespace {

constexpr std::int64_t wholeWork = std::numeric_limits<std::int64_t>::max();

std::int64_t ticksOf(platform::FileTime time) {
    return static_cast<std::int64_t>(time.ticks());
}

// The minute the hands show, as local minutes since 1601. A moment a hair from
// the turn can fall on either side of it in whole ticks and in the hands'
// seconds: the seconds decide, as they decide what the face shows.
std::int64_t shownMinute(platform::FileTime local, const FaceTime& time) {
    const std::int64_t ahead = ticksOf(local) + handsLead100ns;
    const std::int64_t minute = ahead / minute100ns;
    const double secondsInto = static_cast<double>(ahead % minute100ns) / 1e7;
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
platform::FixedClock turnOf(std::int64_t minute, const platform::Clock& now) {
    const std::int64_t local = minute * minute100ns - handsLead100ns;
    const std::int64_t utc = local - (ticksOf(now.localNow()) - ticksOf(now.utcNow()));
    return {platform::FileTime::fromTicks(static_cast<std::uint64_t>(utc)),
            platform::FileTime::fromTicks(static_cast<std::uint64_t>(local))};
}

bool matchesCanvas(const Canvas& backdrop, const Canvas& clockCanvas) {
    return backdrop.hasPixels() && backdrop.width == clockCanvas.width && backdrop.height == clockCanvas.height &&
           backdrop.scale == clockCanvas.scale;
}

}  // namespace

MinuteWork::Now MinuteWork::nowOf(const platform::Clock& clock) {
    const platform::FileTime local = clock.localNow();
    const FaceTime time = FaceTime::fromLocalTime(local);
    Now now{platform::FixedClock(clock.utcNow(), local)};
    now.minute = shownMinute(local, time);
    now.turning = time.minuteIsTurning();
    now.turnAhead = time.showsMoon() && time.seconds > 45.0;
    now.shown = time.showsMoon() ? Globe::Moon : Globe::Earth;
    return now;
}

void MinuteWork::tick(FaceState& face, const platform::Clock& clock) {
    tickPixels = 0;
    if (!canDrawOn(face, face.globeCanvas) || !canDrawOn(face, face.clockCanvas)) {
        return;
    }
    const Now now = nowOf(clock);
    lastMinute = now.minute;
    follow(face, now);
    work(face, now);
    settle();
}

void MinuteWork::slice(FaceState& face, const platform::Clock& clock) {
    tickPixels = 0;
    if (!canDrawOn(face, face.globeCanvas) || !canDrawOn(face, face.clockCanvas)) {
        // Nothing can be drawn until the surfaces are made anew, which plans again.
        sliceWork = false;
        return;
    }
    if (!sliceWork) {
        return;
    }
    Now now = nowOf(clock);
    // The plan stays where the last tick left it, the turn it waits for too.
    now.minute = lastMinute;
    stepForSize(face, now);
    settle();
}

void MinuteWork::follow(FaceState& face, const Now& now) {
    if (layoutPending()) {
        if (now.turning && turn != now.minute) {
            // The turn's pictures take the place of the new size's, made the
            // same way, the old ones showing meanwhile, for the moment the
            // turn's work would have had had it not waited for the size's.
            if (turnSeen == now.minute) {
                start(face, State::ForSize, now.minute, turnOf(now.minute, now.clock));
            } else {
                start(face, State::ForSize, now.minute, now.clock);
            }
        } else if (now.turnAhead) {
            turnSeen = now.minute + 1;
        }
        return;
    }
    if (now.turning && turn != now.minute) {
        start(face, State::ForTurn, now.minute, now.clock);
    } else if (now.turnAhead && turn != now.minute + 1 && !(current == State::ForTurn && turn == now.minute)) {
        // The next turn's work, once this one's is done.
        start(face, State::ForTurn, now.minute + 1, turnOf(now.minute + 1, now.clock));
    } else if (current == State::ForTurn && turn != now.minute && turn != now.minute + 1) {
        // A turn long gone: its pictures stay as far as they came.
        earth = {};
        moon = {};
        backdrop.reset();
        current = State::Idle;
    }
    if (current != State::Idle || now.turning) {
        return;
    }
    // Nothing to make: the globe not showing gets the background its picture
    // lacks, as after a rebuild, which draws only the one that shows.
    const Globe hidden = now.shown == Globe::Earth ? Globe::Moon : Globe::Earth;
    if (!face.dialBackground.holds(hidden, *face.clockCanvas, face.unit, face.globes.picture(hidden),
                                   face.globes.generation(hidden))) {
        piece(hidden) = {Stage::Drawing, nullptr, false, 0};
        current = State::Background;
    }
}

void MinuteWork::work(FaceState& face, const Now& now) {
    switch (current) {
    case State::Idle:
        return;
    case State::SizePending:
    case State::ForSize:
        stepForSize(face, now);
        return;
    case State::Background:
        step(face, earth.stage == Stage::Drawing ? Globe::Earth : Globe::Moon, pixelsPerStep);
        return;
    case State::ForTurn:
        break;
    }
    if (now.turning) {
        finish(face, Globe::Earth);
    } else if (turn == now.minute + 1) {
        // The turn's Earth while the Moon shows before it; a clock set back
        // leaves it waiting.
        if (now.turnAhead) {
            step(face, Globe::Earth, pixelsPerStep);
        }
    } else if (now.shown == Globe::Moon) {
        // Ticks that stopped with the turn's work undone and came back later.
        finish(face, Globe::Moon);
    } else {
        finish(face, Globe::Earth);
        step(face, Globe::Moon, pixelsPerStep);
    }
}

void MinuteWork::stepForSize(FaceState& face, const Now& now) {
    if (current == State::SizePending) {
        // A tracing that read a map cut short meanwhile read zeros for what was
        // lost; the map is sound again for the new size's pictures.
        reloadIfChanged(face.earthTexture);
        reloadIfChanged(face.moonTexture);
        current = State::ForSize;
        begin(face, sizeMoment);
        if (current != State::ForSize) {
            return;
        }
    }
    // Once the Moon that shows before a turn is done, the turn's Earth is due,
    // as without a change, so that the turn never finds it undone with one
    // tick left to do it in. Its Moon waits for the turn.
    if (turnSeen == now.minute + 1 && turn != now.minute + 1 && moon.stage == Stage::Done) {
        start(face, State::ForSize, now.minute + 1, turnOf(now.minute + 1, now.clock));
    }
    if (turn == now.minute + 1) {
        step(face, Globe::Earth, pixelsPerStep);
        return;
    }
    const Globe hidden = now.shown == Globe::Earth ? Globe::Moon : Globe::Earth;
    const Piece& other = piece(hidden);
    const bool hiddenFirst = piece(now.shown).stage == Stage::Done || (other.stage != Stage::Done && other.begun);
    step(face, hiddenFirst ? hidden : now.shown, pixelsPerStep);
}

void MinuteWork::settle() {
    if (current != State::Idle && current != State::SizePending && earth.stage == Stage::Done &&
        moon.stage == Stage::Done) {
        current = State::Idle;
        staged = {};
        backdrop.reset();
    }
    // A new size's work goes on in slices, all but a Moon that waits for the
    // turn ahead.
    sliceWork = current == State::SizePending ||
                (current == State::ForSize && (turn != lastMinute + 1 || earth.stage != Stage::Done));
}

void MinuteWork::reset() {
    current = State::Idle;
    turn = -1;
    turnSeen = -1;
    earth = {};
    moon = {};
    staged = {};
    backdrop.reset();
    sliceWork = false;
}

void MinuteWork::relayout(const platform::Clock& clock) {
    reset();
    current = State::SizePending;
    sizeMoment = platform::FixedClock(clock.utcNow(), clock.localNow());
    sliceWork = true;
}

void MinuteWork::start(FaceState& face, State state, std::int64_t turnMinute, const platform::Clock& moment) {
    // A tracing that read a map cut short meanwhile read zeros for what was
    // lost; the map is sound again for this turn's pictures.
    reloadIfChanged(face.earthTexture);
    reloadIfChanged(face.moonTexture);
    // Work left over from earlier is dropped: a picture not yet traced stays as
    // it was, and a background not yet taken is drawn again when it shows.
    current = state;
    turn = turnMinute;
    staged = {};
    begin(face, moment);
}

void MinuteWork::begin(FaceState& face, const platform::Clock& moment) {
    // A new size keeps the globe canvas of the unit it left until its work
    // begins here: the first frame does without it.
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
        piece(globe) = {Stage::Tracing,
                        std::make_unique<GlobeTracing>(globe, *face.globeCanvas, globeSizeForUnit(face.unit), moment,
                                                       face.options.earthshine),
                        false, 0};
    }
}

void MinuteWork::step(FaceState& face, Globe globe, std::int64_t budget) {
    Piece& work = piece(globe);
    // Both globes trace on the one globe canvas and draw on the one backdrop:
    // what the other has begun there is finished first.
    const Globe otherGlobe = globe == Globe::Earth ? Globe::Moon : Globe::Earth;
    const Piece& other = piece(otherGlobe);
    if (work.stage != Stage::Done && other.stage == work.stage && other.begun) {
        finish(face, otherGlobe);
    }
    if (work.stage == Stage::Drawing) {
        draw(face, globe, budget);
        return;
    }
    if (work.stage != Stage::Tracing) {
        return;
    }
    const Image* texture = globe == Globe::Earth ? &face.earthTexture : &face.moonTexture;
    tickPixels += work.tracing->advance(*face.globeCanvas, texture, budget,
                                        current == State::ForSize ? staged : face.globes);
    work.begun = true;
    if (work.tracing->done()) {
        work = {Stage::Drawing, nullptr, false, 0};
    }
}

void MinuteWork::draw(FaceState& face, Globe globe, std::int64_t budget) {
    Piece& work = piece(globe);
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
            work.stage = Stage::Done;
            return;
        }
    }
    if (!work.begun) {
        backdrop->clear();
    }
    const std::int64_t rows = std::clamp<std::int64_t>(budget / backdrop->width, 1, backdrop->height - work.nextRow);
    const auto lastRow = static_cast<std::int32_t>(work.nextRow + rows - 1);
    const Image* picture = (current == State::ForSize ? staged : face.globes).picture(globe);
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
    work = {};
}

void MinuteWork::finish(FaceState& face, Globe globe) {
    while (piece(globe).stage != Stage::Done) {
        step(face, globe, wholeWork);
    }
}

void MinuteWork::adoptStaged(FaceState& face, Globe globe) {
    if (current != State::ForSize) {
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
