#include "app/ClockApp.h"
#include "app/DesktopPlace.h"
#include "app/Settings.h"
#include "app/headless/HeadlessWindow.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>

namespace {

const PixelSize screen{1280, 1024};
const PixelSize window{196, 448};

TEST(DesktopPlace, TheCornerNearestTheWindowsCentreWithItsDistancesFromTheEdges) {
    const struct {
        PixelRect rect;
        DesktopPlace place;
    } cases[] = {
        {{10, 20, 206, 468}, {ScreenCorner::TopLeft, 10, 20}},
        {{1000, 20, 1196, 468}, {ScreenCorner::TopRight, 84, 20}},
        {{10, 560, 206, 1008}, {ScreenCorner::BottomLeft, 10, 16}},
        {{1000, 560, 1196, 1008}, {ScreenCorner::BottomRight, 84, 16}},
        // Partly off the screen: at the edge.
        {{-50, -30, 146, 418}, {ScreenCorner::TopLeft, 0, 0}},
        {{1200, 700, 1396, 1148}, {ScreenCorner::BottomRight, 0, 0}},
        // The centre exactly in the middle counts as the left and the top.
        {{542, 288, 738, 736}, {ScreenCorner::TopLeft, 542, 288}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(nearestCorner(c.rect, screen), c.place) << c.rect.left << "," << c.rect.top;
    }
}

TEST(DesktopPlace, APlaceGivesBackTheRectangleItWasTakenFrom) {
    for (const PixelRect rect : {PixelRect{10, 20, 206, 468}, PixelRect{1000, 20, 1196, 468},
                                 PixelRect{10, 560, 206, 1008}, PixelRect{1000, 560, 1196, 1008}}) {
        const PixelRect back = rectangleAt(nearestCorner(rect, screen), window, screen);
        EXPECT_EQ(back.left, rect.left);
        EXPECT_EQ(back.top, rect.top);
        EXPECT_EQ(back.right, rect.right);
        EXPECT_EQ(back.bottom, rect.bottom);
    }
}

TEST(DesktopPlace, TheSettingsLineKeepsItAfterTheFieldsOlderProgramsRead) {
    const Settings onDesktop{312, 140, 28, 96, false, ScreenCorner::BottomRight, 84, 16};
    const std::string line = formatSettingsLine(onDesktop);
    EXPECT_EQ(line, "312 140 28 96 0 4 84 16\n");
    EXPECT_EQ(parseSettingsLine(line, Settings{}), onDesktop);
    // What a program reading five fields finds.
    const Settings older = parseSettingsLine("312 140 28 96 0", Settings{});
    EXPECT_EQ(older.desktop(), DesktopPlace{});
    EXPECT_EQ(older.unit, 28);
    // Not on the desktop, the line is as before.
    EXPECT_EQ(formatSettingsLine({312, 140, 28, 96, false}), "312 140 28\n");
    // A damaged or partial place counts as none, the rest of the line standing.
    for (const char* damaged : {"1 2 28 96 1 5 10 10", "1 2 28 96 1 0 10 10", "1 2 28 96 1 2 -1 10",
                                "1 2 28 96 1 2 10 100001", "1 2 28 96 1 2 100001 10", "1 2 28 96 1 2 10",
                                "1 2 28 96 1 2 x 10"}) {
        const Settings s = parseSettingsLine(damaged, Settings{});
        EXPECT_EQ(s.desktop(), DesktopPlace{}) << damaged;
        EXPECT_TRUE(s.alwaysOnTop) << damaged;
        EXPECT_EQ(s.unit, 28) << damaged;
    }
}

// A window system without a desktop layer keeps the place the settings hold, for
// the next start on one with it; the one that has it says where the window lies.
TEST(DesktopPlace, AWindowSystemWithoutADesktopKeepsTheSavedPlace) {
    const testsupport::ScratchFolder folder("horavel-desktop");
    std::ofstream(settingsFilePath(folder.path)) << "30 40 10 96 0 2 84 16\n";
    const platform::FixedClock clock{platform::FileTime::fromTicks(134411769250000000ULL),
                                     platform::FileTime::fromTicks(134411769250000000ULL)};
    StartOptions options;
    options.settingsFolder = folder.path;
    options.mapCacheFolder = std::filesystem::path();
    ClockApp app(clock);
    shell::HeadlessWindow headless(app);
    headless.open(options);
    app.key(headless, U'S');
    const std::optional<Settings> saved = readSettingsFile(folder.path, Settings{});
    ASSERT_TRUE(saved);
    EXPECT_EQ(saved->unit, 20);
    EXPECT_EQ(saved->desktop(), (DesktopPlace{ScreenCorner::TopRight, 84, 16}));
}

}  // namespace
