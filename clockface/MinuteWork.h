#pragma once

#include "astro/Globes.h"
#include "platform/Clock.h"
#include "raster/Canvas.h"

#include <cstdint>
#include <memory>
#include <optional>

struct FaceState;

// The pixels one tick's share of the work traces or draws: about 15 ms of
// tracing on one core of a small machine, so that a tick at a unit of 135 stays
// far below a tenth of a second.
inline constexpr std::int64_t pixelsPerStep = std::int64_t{1} << 18;

// The new globe pictures and their dial backgrounds that each turn of a minute
// brings, made in steps over the ticks around the turn, so that no tick waits
// for all of it. Each globe is made while the other one shows, for the moment
// the minute turns: the Earth in the quarter minute before the turn, while the
// Moon shows; the Moon in the quarter minute after it, while the Earth shows.
// A globe that must show before its work is done has the rest done at once, and
// a turn that comes without prepared work (a clock that jumped, a window made a
// moment before) renders the Earth at once for the present moment. Ticks
// without other work draw the background of the globe not showing when it has
// none yet, as after a rebuild.
//
// A new layout (another unit) brings work of its own: both globes traced for
// the moment of the change at the new size, and their backgrounds drawn. Until
// a globe's new picture and background are both ready, the face shows its old
// picture scaled onto the new dial; then both take its place at once. This
// work goes before the minute's, one step a tick, the globe showing first. In
// the quarter minute before a turn, once the Moon that shows is done, the
// turn's Earth is traced next, as without a change. A turn of the minute that
// comes before the layout's work is done brings pictures of its own, which
// take the place of what is left and are made the same way, so that no tick
// after a change traces a whole globe. Once the work is done the pictures
// are those a rebuild at the moment of the change would have made, followed by
// the same ticks, and the minute's work goes on as it would have after it.
class MinuteWork {
public:
    // The work of this tick, before the face is drawn: at most one step, unless
    // a globe about to show needs its rest done.
    void tick(FaceState& face, const platform::Clock& clock);
    // Drops all work in progress: the surfaces are being made anew and with them
    // the pictures.
    void reset();
    // Drops all work in progress and sets the work of a new layout, which the
    // next tick begins: both globes for the clock's moment at the face's unit,
    // and their backgrounds.
    void relayout(const platform::Clock& clock);
    // Whether the work of a new layout is still under way: until it is done,
    // the face may show a globe traced for another unit.
    bool layoutPending() const { return forLayout; }
    // The pixels traced or drawn by the last tick.
    std::int64_t lastTickPixels() const { return tickPixels; }

private:
    // What one globe's work has left: tracing the picture, then drawing its
    // background, then nothing.
    enum class Stage { Idle, Tracing, Drawing };
    struct Piece {
        Stage stage = Stage::Idle;
        std::unique_ptr<GlobeTracing> tracing;
        bool begun = false;        // the stage has used the canvas it draws on
        std::int32_t nextRow = 0;  // the next background row to draw, store rows
    };

    // Work for the turn of minute turnMinute (local minutes since 1601, as the
    // hands show them), both globes for the clock's moment. A map whose file
    // changed under it since the last turn is loaded again first.
    void start(FaceState& face, std::int64_t turnMinute, const platform::Clock& moment);
    // Both globes' work, tracing for the moment given, from the first row, on
    // a globe canvas of the face's unit (made anew when the one there is of
    // another).
    void begin(FaceState& face, const platform::Clock& moment);
    // One step of the new layout's work: the globe showing, unless the other
    // has begun a stage. The layout's work ends when both are done.
    void stepLayout(FaceState& face, Globe shown);
    // One step of the globe's work within budget pixels.
    void step(FaceState& face, Globe globe, std::int64_t budget);
    // For a new layout's work, the globe's staged picture becomes the face's,
    // its generation raised; nothing otherwise.
    void adoptStaged(FaceState& face, Globe globe);
    // All of the globe's work that is left.
    void finish(FaceState& face, Globe globe);
    Piece& piece(Globe globe) { return globe == Globe::Earth ? earth : moon; }

    std::int64_t turn = -1;  // the minute whose turn the work is for, or -1 for none
    // The work is a new layout's: its pictures are traced into staged and put in
    // place together with their backgrounds.
    bool forLayout = false;
    GlobePictures staged;
    // The moment a new layout's pictures are for, until its work begins.
    std::optional<platform::FixedClock> layoutMoment;
    // A turn whose work was due while a new layout's work went first: when the
    // layout's work is still not done at that turn, the turn's pictures are
    // still made for its moment, as they would have been.
    std::int64_t deferredTurn = -1;
    Piece earth;
    Piece moon;
    // The canvas the backgrounds are drawn on before they are taken, of the clock
    // canvas's size; held only while a background is being drawn.
    std::unique_ptr<Canvas> backdrop;
    std::int64_t tickPixels = 0;
};
