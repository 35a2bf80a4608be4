#pragma once

#include "astro/Globes.h"
#include "platform/Clock.h"
#include "raster/Canvas.h"

#include <cstdint>
#include <memory>

struct FaceState;

// The pixels one step of the work traces or draws: about 15 ms of tracing on
// one core of a small machine, so that a tick or a slice at a unit of 135 stays
// far below a tenth of a second.
inline constexpr std::int64_t pixelsPerStep = std::int64_t{1} << 18;

// The new globe pictures and their dial backgrounds that each turn of a minute
// or change of size brings, made in steps so that no frame waits for all of it.
//
// The work follows a plan whose states are State's. Each globe's share goes
// through tracing its picture, then drawing its background; the two share one
// globe canvas and one backdrop, so a stage one globe has begun is finished
// before the other's same stage.
//
// - A turn of the minute (ForTurn): its Earth is made in the quarter minute
//   before the turn, a step a tick while the Moon shows, and whatever is left
//   of it done at the turn; its Moon in the quarter minute after, while the
//   Earth shows. A turn that comes without prepared work (a clock that jumped,
//   a window made a moment before) renders the Earth at once for the present
//   moment. Work of a turn long gone (a clock set forward, a stalled timer) is
//   dropped: the pictures stay until the next turn's.
// - A change of size (SizePending, then ForSize): both globes traced for the
//   moment of the change at the new size and their backgrounds drawn, the
//   globe showing first. Until a globe's new picture and background are both
//   ready the face shows its old picture scaled onto the new dial; then both
//   take its place at once. This work is done a step a tick, and in slices
//   whenever the shell has nothing else to do, so it ends as soon as the work
//   allows. In the quarter minute before a turn, once the Moon that shows is
//   done, the turn's Earth is made in its place, and a turn that comes first
//   brings pictures of its own, made the same way, so no tick after a change
//   traces a whole globe. Once done, the pictures are those a rebuild at the
//   moment of the change would have made, followed by the same ticks.
// - Idle ticks draw the background of the globe not showing when it has none
//   for its picture, as after a rebuild (Background).
//
// Only ticks move the plan with the time (follow). A slice reads the time as
// the last tick left it: it may begin the turn's Earth that tick found due,
// never a turn of its own, so the moments the pictures are traced for are those
// of ticks alone.
class MinuteWork {
public:
    enum class State {
        Idle,         // nothing to make
        SizePending,  // a change of size whose work has not begun
        ForSize,      // the globes of a new size, or of a turn that came during it, taking their place when done
        ForTurn,      // the globes of a turn of the minute, made out of sight
        Background,   // the background of the globe not showing, which a rebuild left out
    };

    // The work of this tick, before the face is drawn: the plan follows the
    // time, then at most one step is made, unless a globe about to show needs
    // its rest done.
    void tick(FaceState& face, const platform::Clock& clock);
    // One step of a change of size's work, for a shell with nothing else to do.
    void slice(FaceState& face, const platform::Clock& clock);
    // Whether a slice has work to do: a change of size's, not waiting for a turn.
    bool hasSliceWork() const { return sliceWork; }
    // Drops all work in progress: the surfaces are being made anew and with them
    // the pictures.
    void reset();
    // Drops all work in progress and plans the work of a new size for the
    // clock's moment, which the next tick or slice begins.
    void relayout(const platform::Clock& clock);
    State state() const { return current; }
    // Whether the work of a new size is still under way: until it is done,
    // the face may show a globe traced for another unit.
    bool layoutPending() const { return current == State::SizePending || current == State::ForSize; }
    // The pixels traced or drawn by the last tick or slice.
    std::int64_t lastTickPixels() const { return tickPixels; }

private:
    // What one globe's share has left: tracing the picture, then drawing its
    // background, then nothing.
    enum class Stage { Done, Tracing, Drawing };
    struct Piece {
        Stage stage = Stage::Done;
        std::unique_ptr<GlobeTracing> tracing;
        bool begun = false;        // the stage has used the canvas it draws on
        std::int32_t nextRow = 0;  // the next background row to draw, store rows
    };
    // The time as the plan reads it.
    struct Now {
        platform::FixedClock clock;
        std::int64_t minute = 0;  // the minute the hands show, local minutes since 1601
        bool turning = false;     // the last half second before the turn
        bool turnAhead = false;   // the quarter minute before the turn, the Moon showing
        Globe shown = Globe::Earth;
    };
    static Now nowOf(const platform::Clock& clock);

    // Every change of state the time brings.
    void follow(FaceState& face, const Now& now);
    // This tick's share of the work in the state the plan is in.
    void work(FaceState& face, const Now& now);
    // The next step of a new size's work: the globe showing, unless the other
    // has begun a stage; only the Earth while a turn is ahead.
    void stepForSize(FaceState& face, const Now& now);
    // Work for the turn of minute turnMinute, both globes for the moment given,
    // in the state given (ForTurn, or ForSize for pictures that take their
    // place with their backgrounds). A map whose file changed under it since
    // the last turn is loaded again first.
    void start(FaceState& face, State state, std::int64_t turnMinute, const platform::Clock& moment);
    // Both globes' work, tracing for the moment given, from the first row, on
    // a globe canvas of the face's unit (made anew when the one there is of
    // another).
    void begin(FaceState& face, const platform::Clock& moment);
    // One step of the globe's work within budget pixels.
    void step(FaceState& face, Globe globe, std::int64_t budget);
    void draw(FaceState& face, Globe globe, std::int64_t budget);
    // For a new size's work, the globe's staged picture becomes the face's,
    // its generation raised; nothing otherwise.
    void adoptStaged(FaceState& face, Globe globe);
    // All of the globe's work that is left.
    void finish(FaceState& face, Globe globe);
    // The work done, the plan goes idle; and whether a slice has work next.
    void settle();
    Piece& piece(Globe globe) { return globe == Globe::Earth ? earth : moon; }

    State current = State::Idle;
    std::int64_t turn = -1;  // the minute whose turn the pictures were last begun for, or -1 for none
    // The moment a change of size's pictures are for, while SizePending.
    platform::FixedClock sizeMoment{platform::FileTime{}, platform::FileTime{}};
    // The turn whose quarter minute before a tick saw while a new size's work
    // went first: when that work is still not done at the turn, the turn's
    // pictures are made for the moment they would have had.
    std::int64_t turnSeen = -1;
    std::int64_t lastMinute = 0;  // the minute of the last tick
    bool sliceWork = false;
    GlobePictures staged;  // a new size's pictures, until each takes its place
    Piece earth;
    Piece moon;
    // The canvas the backgrounds are drawn on before they are taken, of the clock
    // canvas's size; held only while a background is being drawn.
    std::unique_ptr<Canvas> backdrop;
    std::int64_t tickPixels = 0;
};
