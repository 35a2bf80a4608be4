#include "app/Layout.h"
#include "app/SurfaceRebuild.h"
#include "app/WindowEvents.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

// 2026-12-08 04:15:25 UTC and local, in 100-ns ticks since 1601.
const platform::FixedClock clock{platform::FileTime::fromTicks(134411769250000000ULL),
                                 platform::FileTime::fromTicks(134411769250000000ULL)};

// A window that does what it is asked at once, the way Windows answers a move with
// a size message before the move returns, and that cannot grow taller than its
// screen allows.
class FakeWindow final : public WindowHost {
public:
    explicit FakeWindow(AppState& appState) : state(appState) {}
    void resizeClient(std::int32_t widthPx, std::int32_t heightPx) override {
        resizes.push_back({widthPx, heightPx});
        handleSize(state, *this, clock, std::min(heightPx, tallestClientPx));
    }
    void invalidate(bool eraseBackground) override {
        ++invalidations;
        erased = eraseBackground;
    }
    AppState& state;
    std::int32_t tallestClientPx = 10000;
    std::vector<ClientSize> resizes;
    int invalidations = 0;
    bool erased = false;
};

struct Painted {
    std::int32_t x, y, width, height;
};

class RecordingTarget final : public platform::PaintTarget {
public:
    void paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint8_t*) override {
        painted.push_back({x, y, width, height});
    }
    std::vector<Painted> painted;
};


// A rebuilt canvas is a new object, but it may sit at the old address: mark the
// old one instead (nothing else uses peakFrozen on a byte canvas).
void markBuiltSurfaces(FaceState& face) {
    if (face.clockCanvas) {
        face.clockCanvas->peakFrozen = 1;
    }
}

bool isMarked(const FaceState& face) {
    return face.clockCanvas && face.clockCanvas->peakFrozen == 1;
}

void expectSurfacesForUnit(const FaceState& face, std::int32_t unit) {
    ASSERT_TRUE(surfacesReady(face));
    EXPECT_EQ(face.unit, unit);
    EXPECT_EQ(face.clientWidth, 7 * unit);
    EXPECT_EQ(face.halfHeight, 8 * unit);
    EXPECT_EQ(face.clockCanvas->scale, 2);
    EXPECT_EQ(face.clockCanvas->displayHeight(), 8 * unit);
    EXPECT_EQ(face.calendarCanvas->scale, 1);
    EXPECT_EQ(face.calendarCanvas->displayHeight(), 8 * unit);
    EXPECT_EQ(face.globeCanvas->displayHeight(), 14 * unit);
    EXPECT_EQ(face.clockCanvas->pixelFormat, 1);
    EXPECT_EQ(face.clockCanvas->depthFormat, 0);
}

// Units of 9 to 13 keep the globe rendering in these tests quick.
TEST(WindowEvents, SizeKeysResizeAndRebuild) {
    AppState state;
    state.face.setUnit(12);
    FakeWindow window(state);
    const struct {
        char32_t key;
        std::int32_t unit;
    } cases[] = {{U'S', 20}, {U'M', 28}, {U'L', 40}, {U'L', 40}};
    for (const auto& c : cases) {
        markBuiltSurfaces(state.face);
        window.resizes.clear();
        EXPECT_TRUE(handleKey(state, window, clock, c.key));
        ASSERT_EQ(window.resizes.size(), 1u);
        EXPECT_EQ(window.resizes[0], (ClientSize{7 * c.unit, 16 * c.unit}));
        expectSurfacesForUnit(state.face, c.unit);
        // The key of the current size still rebuilds everything.
        EXPECT_FALSE(isMarked(state.face));
        EXPECT_TRUE(window.erased);
    }
    window.resizes.clear();
    EXPECT_FALSE(handleKey(state, window, clock, U'Q'));
    EXPECT_TRUE(window.resizes.empty());
    EXPECT_EQ(state.face.unit, 40);
}

TEST(WindowEvents, SizeMessagesChangeTheUnitOnlyWhenItDiffers) {
    AppState state;
    state.face.setUnit(10);
    FakeWindow window(state);
    handleCreated(state, window, clock, 16 * 10 + 15);
    expectSurfacesForUnit(state.face, 10);
    markBuiltSurfaces(state.face);

    handleSize(state, window, clock, 16 * 10 + 3);
    EXPECT_TRUE(isMarked(state.face)) << "same unit: nothing rebuilt";

    handleSize(state, window, clock, 16 * 12);
    expectSurfacesForUnit(state.face, 12);
    EXPECT_TRUE(window.resizes.empty()) << "a size message never resizes the window";
}

TEST(WindowEvents, ATinyClientAreaKeepsTheLastUnit) {
    AppState state;
    state.face.setUnit(10);
    FakeWindow window(state);
    handleCreated(state, window, clock, 160);
    for (const std::int32_t heightPx : {15, 0, -40}) {
        handleSize(state, window, clock, heightPx);
        expectSurfacesForUnit(state.face, 10);
    }
    // A window created minimised starts at the unit it already had.
    AppState minimised;
    minimised.face.setUnit(9);
    FakeWindow small(minimised);
    handleCreated(minimised, small, clock, 3);
    expectSurfacesForUnit(minimised.face, 9);
}

TEST(WindowEvents, AWindowHeldSmallerRebuildsForTheSizeItGot) {
    AppState state;
    state.face.setUnit(10);
    FakeWindow window(state);
    window.tallestClientPx = 16 * 13 + 5;
    EXPECT_TRUE(handleKey(state, window, clock, U'L'));
    expectSurfacesForUnit(state.face, 13);
}

TEST(WindowEvents, PaintingPutsTheClockAboveTheCalendar) {
    AppState state;
    state.face.setUnit(10);
    FakeWindow window(state);
    handleCreated(state, window, clock, 160);
    RecordingTarget target;
    paintWindow(state, target);
    ASSERT_EQ(target.painted.size(), 2u);
    // Canvas widths are rounded up to a multiple of 4 pixels: 70 becomes 72.
    EXPECT_EQ(target.painted[0].y, 0);
    EXPECT_EQ(target.painted[0].width, 72);
    EXPECT_EQ(target.painted[0].height, 80);
    EXPECT_EQ(target.painted[1].y, 80);
    EXPECT_EQ(target.painted[1].height, 80);
}

TEST(WindowEvents, NothingDrawsOrPaintsWithoutSurfaces) {
    AppState state;
    state.face.setUnit(0);
    EXPECT_EQ(rebuildSurfaces(state.face, clock), 0);
    EXPECT_FALSE(surfacesReady(state.face));
    EXPECT_EQ(state.face.clockCanvas, nullptr);
    EXPECT_EQ(state.face.calendarCanvas, nullptr);
    EXPECT_EQ(state.face.globeCanvas, nullptr);

    FakeWindow window(state);
    handleTimer(state, window, clock);
    EXPECT_EQ(window.invalidations, 1);
    RecordingTarget target;
    paintWindow(state, target);
    EXPECT_TRUE(target.painted.empty());

    // A unit whose canvases would exceed the largest store leaves none behind.
    state.face.setUnit(20000);
    EXPECT_EQ(rebuildSurfaces(state.face, clock), 0);
    EXPECT_FALSE(surfacesReady(state.face));
    EXPECT_EQ(state.face.clockCanvas, nullptr);
}

TEST(WindowEvents, TimerTicksRedrawTheClockFace) {
    AppState state;
    state.face.setUnit(10);
    FakeWindow window(state);
    handleCreated(state, window, clock, 160);
    const Canvas& face = *state.face.clockCanvas;
    ASSERT_NE(face.display, nullptr);
    window.invalidations = 0;
    handleTimer(state, window, clock);
    EXPECT_EQ(window.invalidations, 1);
    EXPECT_FALSE(window.erased);
    EXPECT_NE(face.display, nullptr);
}

}  // namespace
