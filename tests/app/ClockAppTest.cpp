#include "app/ClockApp.h"
#include "app/Settings.h"
#include "app/SurfaceRebuild.h"
#include "app/headless/HeadlessWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

namespace {

using shell::HeadlessWindow;

// 2026-12-08 04:15:25 UTC and local, in 100-ns ticks since 1601.
const platform::FixedClock clock{platform::FileTime::fromTicks(134411769250000000ULL),
                                 platform::FileTime::fromTicks(134411769250000000ULL)};

// Units of 9 to 13 keep the globe rendering in these tests quick; empty
// settings and cache folders keep the user's own files out of them.
StartOptions atUnit(std::int32_t unit) {
    StartOptions options;
    options.unit = unit;
    options.settingsFolder = std::filesystem::path();
    options.mapCacheFolder = std::filesystem::path();
    return options;
}

// A rebuilt canvas is a new object, but it may sit at the old address: mark the
// old one instead (nothing else uses peakFrozen on a byte canvas).
void markBuiltSurfaces(const ClockApp& app) {
    if (app.state().face.clockCanvas) {
        app.state().face.clockCanvas->peakFrozen = 1;
    }
}

bool isMarked(const ClockApp& app) {
    return app.state().face.clockCanvas && app.state().face.clockCanvas->peakFrozen == 1;
}

void expectSurfacesForUnit(const ClockApp& app, std::int32_t unit) {
    const FaceState& face = app.state().face;
    ASSERT_TRUE(surfacesReady(face));
    EXPECT_EQ(face.unit, unit);
    EXPECT_EQ(face.clientWidth, 7 * unit);
    EXPECT_EQ(face.halfHeight, 8 * unit);
    EXPECT_EQ(face.clockCanvas->scale, 2);
    EXPECT_EQ(face.clockCanvas->displayHeight(), 8 * unit);
    EXPECT_EQ(face.calendarCanvas->scale, 1);
    EXPECT_EQ(face.calendarCanvas->displayHeight(), 8 * unit);
    // After a change of the unit the globe canvas is made anew when the
    // change's work begins, on the next tick.
    if (!face.minuteWork.layoutPending()) {
        EXPECT_EQ(face.globeCanvas->displayHeight(), 14 * unit);
    }
    EXPECT_EQ(face.clockCanvas->pixelFormat, PixelFormatRgbBytes);
    EXPECT_EQ(face.clockCanvas->depthFormat, DepthFormatNone);
}

struct Painted {
    std::int32_t x, y, width, height;
};

class RecordingTarget final : public PaintTarget {
public:
    void paintBottomUpBgr(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                          const std::uint8_t*, const PixelRect& area) override {
        painted.push_back({x, y, width, height});
        areas.push_back(area);
    }
    std::vector<PixelRect> areas;
    std::vector<Painted> painted;
};

TEST(ClockApp, OpensAtTheUnitAskedForAndPaintsTheClockAboveTheCalendar) {
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(atUnit(10));
    EXPECT_TRUE(window.isOpen());
    EXPECT_EQ(window.clientSize(), (PixelSize{70, 160}));
    expectSurfacesForUnit(app, 10);
    EXPECT_TRUE(window.paintPending());
    EXPECT_TRUE(window.erasePending());

    RecordingTarget target;
    window.paint(target);
    EXPECT_FALSE(window.paintPending());
    ASSERT_EQ(target.painted.size(), 2u);
    // Canvas widths are rounded up to a multiple of 4 pixels: 70 becomes 72.
    EXPECT_EQ(target.painted[0].y, 0);
    EXPECT_EQ(target.painted[0].width, 72);
    EXPECT_EQ(target.painted[0].height, 80);
    EXPECT_EQ(target.painted[1].y, 80);
    EXPECT_EQ(target.painted[1].height, 80);
}

TEST(ClockApp, SizeKeysResizeAndRebuild) {
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(atUnit(12));
    const struct {
        char32_t key;
        std::int32_t unit;
    } cases[] = {{U'S', 20}, {U'M', 28}, {U'L', 40}, {U'L', 40}};
    for (const auto& c : cases) {
        markBuiltSurfaces(app);
        app.key(window, c.key);
        EXPECT_EQ(window.clientSize(), (PixelSize{7 * c.unit, 16 * c.unit}));
        expectSurfacesForUnit(app, c.unit);
        // The key of the current size still rebuilds everything.
        EXPECT_FALSE(isMarked(app));
        EXPECT_TRUE(window.erasePending());
    }
    markBuiltSurfaces(app);
    for (const char32_t other : {U'Q', U's', char32_t{0}}) {
        app.key(window, other);
    }
    EXPECT_TRUE(isMarked(app)) << "only the upper-case letters S, M and L choose a unit";
    EXPECT_EQ(window.clientSize(), (PixelSize{280, 640}));
}

TEST(ClockApp, SizeEventsChangeTheUnitOnlyWhenItDiffers) {
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(atUnit(10));
    markBuiltSurfaces(app);

    window.resizeClient(73, 16 * 10 + 3);
    EXPECT_TRUE(isMarked(app)) << "same unit: nothing rebuilt";
    window.resizeClient(84, 16 * 12);
    expectSurfacesForUnit(app, 12);
    EXPECT_EQ(window.clientSize(), (PixelSize{84, 16 * 12})) << "a size event never resizes the window";

    // A height under one grid row (minimised) keeps the last unit.
    for (const std::int32_t heightPx : {15, 0, -40}) {
        window.resizeClient(70, heightPx);
        expectSurfacesForUnit(app, 12);
    }
}

// A window system that reports finished size changes: off-grid sizes are
// snapped, the window resized to the grid, and the unit follows.
TEST(ClockApp, ReportedSizesSnapToTheGrid) {
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(atUnit(10));
    const struct {
        PixelSize reported, snapped;
        std::int32_t unit;
    } cases[] = {
        {{150, 160}, {150, 336}, 21},  // the width alone changed: the height follows
        {{150, 160}, {70, 160}, 10},   // the height changed: the width follows
        {{70, 160}, {70, 160}, 10},    // already on the grid
        {{200, 200}, {84, 200}, 12},   // both changed: the width follows the height
    };
    for (const auto& c : cases) {
        app.sizeReported(window, c.reported);
        EXPECT_EQ(window.clientSize(), c.snapped) << c.reported.width << " x " << c.reported.height;
        EXPECT_EQ(app.state().face.unit, c.unit);
    }
}

TEST(ClockApp, BorderDragsKeepTheGridAroundTheMeasuredFrame) {
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(atUnit(10));
    // The headless window has no frame: the proposed outer rectangle is the client area.
    PixelRect rect{100, 50, 100 + 150, 50 + 400};
    app.sizing(SizingRight, rect);
    EXPECT_EQ(rect.bottom, 50 + 16 * 21);
}

// A tick asks for what its hands moved to be painted, not the whole window:
// at a standing clock, the areas of the three hands and nothing of the
// calendar.
TEST(ClockApp, TimerTicksRedrawAndInvalidateWhatChangedWithoutErasing) {
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(atUnit(10));
    RecordingTarget target;
    window.paint(target);
    app.tick(window);
    EXPECT_TRUE(window.paintPending());
    EXPECT_FALSE(window.erasePending());
    target.areas.clear();
    window.paint(target);
    ASSERT_EQ(target.areas.size(), 2 * 3u) << "three areas, each offered to both canvases";
    for (const PixelRect& area : target.areas) {
        EXPECT_FALSE(area.empty());
        EXPECT_LE(area.bottom, 80) << "within the clock face";
        EXPECT_LT(area.right - area.left, 70) << "not the whole width";
    }
}

TEST(ClockApp, NothingDrawsOrPaintsWithoutSurfaces) {
    // A unit whose canvases would exceed the largest store leaves none behind.
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(atUnit(20000));
    EXPECT_FALSE(surfacesReady(app.state().face));
    EXPECT_EQ(app.state().face.clockCanvas, nullptr);
    RecordingTarget target;
    window.paint(target);
    app.tick(window);
    window.paint(target);
    EXPECT_TRUE(target.painted.empty());

    FaceState face;
    face.setUnit(0);
    EXPECT_EQ(rebuildSurfaces(face, clock), 0);
    EXPECT_FALSE(surfacesReady(face));
}

// A window that cannot grow taller than its screen allows, and that a system
// may create minimised: the clock rebuilds for the size the window really got.
class ConstrainedWindow final : public WindowHost {
public:
    explicit ConstrainedWindow(ClockApp& clockApp) : app(clockApp) {}
    std::vector<PixelRect> screens() const override { return {}; }
    PixelSize frameSize() const override { return {}; }
    PixelSize clientSize() const override { return client; }
    PixelPoint outerPosition() const override { return {}; }
    std::int32_t dpi() const override { return 96; }
    void moveOuter(const PixelRect& outer) override { resizeClient(outer.right - outer.left, outer.bottom - outer.top); }
    void resizeClient(std::int32_t widthPx, std::int32_t heightPx) override {
        client = {widthPx, std::min(heightPx, tallestClientPx)};
        app.sized(*this);
    }
    void invalidate(bool) override {}
    void invalidateArea(const PixelRect&) override {}
    void setAlwaysOnTop(bool) override {}
    void setTitle(std::string_view) override {}
    void destroy() override {}
    ClockApp& app;
    PixelSize client;
    std::int32_t tallestClientPx = 10000;
};

TEST(ClockApp, AWindowHeldSmallerRebuildsForTheSizeItGot) {
    ClockApp app(clock);
    ConstrainedWindow window(app);
    static_cast<void>(app.start(window, atUnit(10)));
    window.tallestClientPx = 16 * 13 + 5;
    app.created(window);
    expectSurfacesForUnit(app, 10);
    app.key(window, U'L');
    expectSurfacesForUnit(app, 13);

    // Created minimised: the unit it had stands.
    ClockApp minimised(clock);
    ConstrainedWindow small(minimised);
    static_cast<void>(minimised.start(small, atUnit(9)));
    small.tallestClientPx = 3;
    minimised.created(small);
    expectSurfacesForUnit(minimised, 9);
}

class ClockAppSettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("horavel-app-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    StartOptions keptIn() const {
        StartOptions options;
        options.settingsFolder = folder;
        options.mapCacheFolder = std::filesystem::path();
        return options;
    }
    void save(const char* line) const { std::ofstream(settingsFilePath(folder)) << line; }
    std::string saved() const {
        std::ifstream file(settingsFilePath(folder));
        std::string line;
        std::getline(file, line);
        return line;
    }

    std::filesystem::path folder;
};

TEST_F(ClockAppSettingsTest, OpensAtTheSavedPlaceAndUnitOrBringsItOntoTheScreen) {
    const std::vector<PixelRect> screens{{0, 0, 1024, 768}};
    const struct {
        const char* line;
        PixelPoint place;
        PixelSize client;
    } cases[] = {
        {"37 53 9\n", {37, 53}, {63, 144}},
        {"-5000 -5000 10\n", {0, 0}, {70, 160}},  // off every screen
        {"garbage\n", {0, 0}, {196, 448}},
    };
    for (const auto& c : cases) {
        save(c.line);
        ClockApp app(clock);
        HeadlessWindow window(app, screens);
        window.open(keptIn());
        EXPECT_EQ(window.outerPosition().x, c.place.x) << c.line;
        EXPECT_EQ(window.outerPosition().y, c.place.y) << c.line;
        EXPECT_EQ(window.clientSize(), c.client) << c.line;
    }
}

TEST_F(ClockAppSettingsTest, ClosingAndTheSessionEndingSaveThePlaceAndUnit) {
    save("0 0 9\n");
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(keptIn());
    app.key(window, U'S');
    EXPECT_EQ(saved(), "0 0 20") << "a new unit is saved at once";
    window.moveTo({312, 140});
    app.sessionEnding(window);
    EXPECT_EQ(saved(), "312 140 20");
    EXPECT_TRUE(window.isOpen());

    window.moveTo({-8, 60});
    app.closeRequested(window);
    EXPECT_EQ(saved(), "-8 60 20");
    EXPECT_FALSE(window.isOpen());
}

// The file's line carries a word after the numbers, which a rewrite would drop.
TEST_F(ClockAppSettingsTest, AClockThatStaysWhereItIsNeverWrites) {
    save("37 53 9 untouched\n");
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(keptIn());
    for (int i = 0; i < 10; ++i) {
        app.placeChanged(window);
        app.tick(window);
    }
    app.placeSettled(window);
    app.key(window, U'Q');
    app.sessionEnding(window);
    app.closeRequested(window);
    EXPECT_EQ(saved(), "37 53 9 untouched");
}

TEST_F(ClockAppSettingsTest, AMovedWindowIsSavedOnceItHasStoodStillForASecond) {
    save("37 53 9\n");
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(keptIn());
    window.moveTo({100, 200});
    app.placeChanged(window);
    for (int i = 1; i < ticksOfStillnessBeforeSaving; ++i) {
        app.tick(window);
    }
    // Still moving: the second starts again.
    window.moveTo({110, 210});
    app.placeChanged(window);
    for (int i = 1; i < ticksOfStillnessBeforeSaving; ++i) {
        app.tick(window);
    }
    EXPECT_EQ(saved(), "37 53 9");
    app.tick(window);
    EXPECT_EQ(saved(), "110 210 9");

    // A drag that says when it ends is saved then.
    window.moveTo({5, 6});
    app.placeSettled(window);
    EXPECT_EQ(saved(), "5 6 9");
}

// Without a settings file the first close writes one, moved or not.
TEST_F(ClockAppSettingsTest, TheFirstCloseWritesTheFile) {
    ClockApp app(clock);
    HeadlessWindow window(app);
    StartOptions options = keptIn();
    options.unit = 9;
    window.open(options);
    for (int i = 0; i < 10; ++i) {
        app.tick(window);
    }
    EXPECT_FALSE(std::filesystem::exists(settingsFilePath(folder)));
    app.closeRequested(window);
    EXPECT_EQ(saved(), "0 0 9");
}

// The units a user gets at 100 % keep their physical size at other resolutions:
// the first start, the keys, a saved unit from another screen, and a move to a
// screen of another resolution, which Windows announces with its suggested rectangle.
TEST_F(ClockAppSettingsTest, UnitsKeepTheirPhysicalSizeAtEveryResolution) {
    {
        ClockApp app(clock);
        HeadlessWindow window(app, {}, 144);
        window.open(keptIn());
        EXPECT_EQ(window.clientSize(), (PixelSize{294, 672})) << "28 at 150 %";
        const struct {
            char32_t key;
            std::int32_t unit;
        } keys[] = {{U'S', 30}, {U'L', 60}, {U'M', 42}};
        for (const auto& k : keys) {
            app.key(window, k.key);
            EXPECT_EQ(app.state().face.unit, k.unit);
        }
        app.key(window, U'S');
        EXPECT_EQ(saved(), "0 0 30 144") << "the unit of 144 DPI, with its resolution";
    }
    {
        // Read back on a screen of 120 DPI: 30 pixels of 144 DPI are 25 of 120.
        ClockApp app(clock);
        HeadlessWindow window(app, {}, 120);
        window.open(keptIn());
        EXPECT_EQ(app.state().face.unit, 25);
        // A file written at 100 % by a program that knew no resolutions.
        save("0 0 28\n");
        ClockApp old(clock);
        HeadlessWindow oldWindow(old, {}, 192);
        oldWindow.open(keptIn());
        EXPECT_EQ(old.state().face.unit, 56);
    }
    {
        ClockApp app(clock);
        HeadlessWindow window(app, {}, 96);
        window.open(atUnit(10));
        window.moveToScreenOfDpi(144);
        expectSurfacesForUnit(app, 15);
        EXPECT_EQ(window.clientSize(), (PixelSize{105, 240}));
        window.moveToScreenOfDpi(96);
        expectSurfacesForUnit(app, 10);
    }
}

// One bound on the unit: a size far past the largest unit (a window manager
// that ignores the maximum size) snaps back to it, and the unit saved then is
// one the next start accepts.
TEST_F(ClockAppSettingsTest, ASizePastTheLargestUnitSnapsBackAndIsKept) {
    {
        ClockApp app(clock);
        HeadlessWindow window(app);
        window.open(keptIn());
        app.sizeReported(window, {4000, 9000});
        EXPECT_EQ(app.state().face.unit, largestWindowUnit);
        EXPECT_EQ(window.clientSize(), (PixelSize{7 * largestWindowUnit, 16 * largestWindowUnit}));
        app.closeRequested(window);
    }
    EXPECT_EQ(saved(), "0 0 " + std::to_string(largestWindowUnit));
    ClockApp again(clock);
    HeadlessWindow window(again);
    window.open(keptIn());
    EXPECT_EQ(again.state().face.unit, largestWindowUnit);
}


// A size key shows the new size at once, with the work of its globes still to
// do; the ticks of the clock standing still do it, and the window then shows
// exactly what a clock started at that size shows, which is what the snapshot
// tool writes.
TEST(ClockApp, ASizeKeyEndsShowingWhatAStartAtThatSizeShows) {
    const std::filesystem::path assets = HORAVEL_TEST_ASSET_DIR;
    StartOptions options = atUnit(12);
    options.earthTexture = assets / "Earth.png";
    options.moonTexture = assets / "Moon.png";
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(options);
    app.key(window, U'S');
    EXPECT_TRUE(app.state().face.minuteWork.layoutPending());
    for (std::int32_t tick = 0; tick < 8; ++tick) {
        app.tick(window);
    }
    EXPECT_FALSE(app.state().face.minuteWork.layoutPending());

    options.unit = 20;
    ClockApp started(clock);
    HeadlessWindow startedWindow(started);
    startedWindow.open(options);
    // The canvases' rows as painted, face and calendar one after the other.
    class KeepingTarget final : public PaintTarget {
    public:
        void paintBottomUpBgr(std::int32_t, std::int32_t, std::int32_t width, std::int32_t height,
                              const std::uint8_t* rows, const PixelRect&) override {
            kept.insert(kept.end(), rows, rows + std::size_t{3} * width * height);
        }
        std::vector<std::uint8_t> kept;
    };
    const auto picture = [](const ClockApp& shown) {
        KeepingTarget target;
        shown.paint(target, shown.clientArea());
        return target.kept;
    };
    EXPECT_EQ(app.clientArea().right, 140);
    EXPECT_TRUE(picture(app) == picture(started));
}

// A maximised or tiled window: the largest unit that fits is drawn centred in
// the size given, the place and unit the user had stay the saved ones (a size
// key changes only the saved unit), and the window takes that unit again when
// the window manager lets go.
TEST_F(ClockAppSettingsTest, ASizeTheWindowManagerImposesIsDrawnCentredAndNeverSaved) {
    save("37 53 9\n");
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(keptIn());
    app.sizeImposed(window, {100, 200});
    window.moveTo({0, 0});
    expectSurfacesForUnit(app, 12);
    RecordingTarget target;
    app.paint(target, app.clientArea());
    ASSERT_FALSE(target.painted.empty());
    for (const Painted& p : target.painted) {
        EXPECT_GE(p.x, 8);  // (100 - 7 × 12) / 2
        EXPECT_GE(p.y, 4);  // (200 - 16 × 12) / 2
        EXPECT_LE(p.y + p.height, 196);
    }
    app.placeChanged(window);
    for (int i = 0; i < 5; ++i) {
        app.tick(window);
    }
    app.sessionEnding(window);
    EXPECT_EQ(saved(), "37 53 9");
    app.key(window, U'S');
    EXPECT_EQ(saved(), "37 53 20");
    EXPECT_EQ(app.state().face.unit, 12);
    app.sizeFreed(window);
    EXPECT_EQ(window.clientSize(), (PixelSize{140, 320}));
    expectSurfacesForUnit(app, 20);
}

}  // namespace
