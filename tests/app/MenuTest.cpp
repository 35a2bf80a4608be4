#include "app/ClockApp.h"
#include "app/Menu.h"
#include "app/Settings.h"
#include "platform/Autostart.h"
#include "platform/Messages.h"
#include "astro/TimeZone.h"
#include "app/headless/HeadlessWindow.h"
#include "tests/support/Results.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

namespace {

using shell::HeadlessWindow;

const platform::FixedClock clock{platform::FileTime::fromTicks(134411769250000000ULL),
                                 platform::FileTime::fromTicks(134411769250000000ULL)};

std::vector<std::string> messages;
void keepMessage(std::string_view caption, std::string_view text) {
    messages.push_back(std::string(caption) + ": " + std::string(text));
}

// The marks of the items, in the menu's order.
std::vector<bool> marks(const std::vector<MenuItem>& items) {
    std::vector<bool> marked;
    for (const MenuItem& item : items) {
        marked.push_back(item.marked);
    }
    return marked;
}

TEST(Menu, ItemsInTheirOrderWithTheirKeys) {
    const std::vector<MenuItem> items = menuItems({});
    const struct {
        MenuItemKind kind;
        MenuCommand command;
        const char* label;
        char32_t key;
    } expected[] = {
        {MenuItemKind::Radio, MenuCommand::Small, "Small", U'S'},
        {MenuItemKind::Radio, MenuCommand::Medium, "Medium", U'M'},
        {MenuItemKind::Radio, MenuCommand::Large, "Large", U'L'},
        {MenuItemKind::Check, MenuCommand::AlwaysOnTop, "Always on top", U'T'},
        {MenuItemKind::Check, MenuCommand::StartAtLogin, "Start at login", 0},
        {MenuItemKind::Separator, MenuCommand::Nothing, "", 0},
        {MenuItemKind::Check, MenuCommand::WeekStartsOnMonday, "Week starts on Monday", 0},
        {MenuItemKind::Check, MenuCommand::Earthshine, "Earthshine", 0},
        {MenuItemKind::Submenu, MenuCommand::TimeZone, "Time zone", 0},
        {MenuItemKind::Separator, MenuCommand::Nothing, "", 0},
        {MenuItemKind::Action, MenuCommand::About, "About Horavel", 0},
        {MenuItemKind::Action, MenuCommand::Close, "Close", 0},
    };
    ASSERT_EQ(items.size(), std::size(expected));
    for (std::size_t i = 0; i < items.size(); ++i) {
        EXPECT_EQ(items[i].kind, expected[i].kind) << i;
        EXPECT_EQ(items[i].command, expected[i].command) << i;
        EXPECT_EQ(items[i].label, expected[i].label) << i;
        EXPECT_EQ(items[i].key, expected[i].key) << i;
    }
    EXPECT_EQ(menuCommandForKey(items, U'L'), MenuCommand::Large);
    EXPECT_EQ(menuCommandForKey(items, U'T'), MenuCommand::AlwaysOnTop);
    EXPECT_EQ(menuCommandForKey(items, U'X'), MenuCommand::Nothing);
    EXPECT_EQ(menuCommandForKey(items, 0), MenuCommand::Nothing);
}

MenuState stateOf(std::int32_t sizeKeyUnit, bool alwaysOnTop, bool startsAtLogin) {
    MenuState state;
    state.sizeKeyUnit = sizeKeyUnit;
    state.alwaysOnTop = alwaysOnTop;
    state.startsAtLogin = startsAtLogin;
    return state;
}

// The marks of the main menu, and of the choice of zones: the zone shown is the
// one marked, named in the time zone's label and carried by its item, a zone
// typed once keeping an item of its own.
TEST(Menu, MarksFollowTheState) {
    EXPECT_EQ(marks(menuItems(stateOf(28, false, false))),
              (std::vector<bool>{false, true, false, false, false, false, false, false, false, false, false, false}));
    EXPECT_EQ(marks(menuItems(stateOf(40, true, true))),
              (std::vector<bool>{false, false, true, true, true, false, false, false, false, false, false, false}));
    MenuState faceOptions = stateOf(0, false, true);
    faceOptions.weekStartsOnMonday = true;
    EXPECT_EQ(marks(menuItems(faceOptions)),
              (std::vector<bool>{false, false, false, false, true, false, true, false, false, false, false, false}));
    faceOptions.weekStartsOnMonday = false;
    faceOptions.earthshine = true;
    EXPECT_EQ(marks(menuItems(faceOptions)),
              (std::vector<bool>{false, false, false, false, true, false, false, true, false, false, false, false}));

    const struct {
        const char* zone;
        const char* label;        // of the main menu's time zone
        const char* markedLabel;  // the item marked in the choice of zones
        std::size_t added;        // items the zone adds to the choice: one for a zone not listed
    } zones[] = {
        {"", "Time zone", "Local time", 0},
        {"Asia/Tokyo", "Time zone: Tokyo", "Tokyo", 0},
        {"America/Sao_Paulo", "Time zone: S\u00e3o Paulo", "S\u00e3o Paulo", 0},
        {"America/Argentina/Buenos_Aires", "Time zone: Buenos Aires", "Buenos Aires", 1},
    };
    for (const auto& z : zones) {
        MenuState state;
        state.zone = z.zone;
        const MenuItem timeZone = menuItems(state)[8];
        EXPECT_EQ(timeZone.label, z.label);
        EXPECT_EQ(timeZone.zone, z.zone);
        const std::vector<MenuItem> choice = zoneMenuItems(z.zone);
        std::vector<std::string> marked;
        for (const MenuItem& item : choice) {
            if (item.marked) {
                marked.push_back(item.label);
                EXPECT_EQ(item.zone, z.zone);
                EXPECT_EQ(item.command, MenuCommand::ChooseZone);
            }
        }
        EXPECT_EQ(marked, std::vector<std::string>{z.markedLabel}) << z.zone;
        EXPECT_EQ(choice.back().kind, MenuItemKind::Entry);
        EXPECT_EQ(choice.size(), zoneMenuItems("").size() + z.added) << z.zone;
    }
}

class ClockMenuTest : public ::testing::Test {
protected:
    StartOptions options(std::int32_t unit) const {
        StartOptions start;
        start.unit = unit;
        start.settingsFolder = scratch.path / "settings";
        start.mapCacheFolder = std::filesystem::path();
        start.autostartFolder = scratch.path / "autostart";
        std::filesystem::create_directories(*start.settingsFolder);
        return start;
    }
    std::string saved() const {
        std::ifstream file(settingsFilePath(scratch.path / "settings"));
        std::string line;
        std::getline(file, line);
        return line;
    }
    bool marked(const ClockApp& app, MenuCommand command) const {
        for (const MenuItem& item : app.menu()) {
            if (item.command == command) {
                return item.marked;
            }
        }
        return false;
    }
    void SetUp() override { messages.clear(); }

    testsupport::ScratchFolder scratch{"horavel-menu-"};
    platform::ScopedMessageSink sink{keepMessage};
};

// The sizes act as their keys; the radio mark follows the unit, even one the
// keys did not choose.
TEST_F(ClockMenuTest, TheSizesActAsTheirKeys) {
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(options(9));
    EXPECT_FALSE(marked(app, MenuCommand::Small) || marked(app, MenuCommand::Medium) ||
                 marked(app, MenuCommand::Large));
    app.menuChosen(window, MenuCommand::Small);
    EXPECT_EQ(window.clientSize(), (PixelSize{140, 320}));
    EXPECT_TRUE(marked(app, MenuCommand::Small));
    EXPECT_FALSE(marked(app, MenuCommand::Medium));
    EXPECT_EQ(saved(), "0 0 20");
}

// T and the menu's item both keep the window on top or let it go; the choice is
// saved with the place and comes back at the next start, before the window shows.
TEST_F(ClockMenuTest, AlwaysOnTopIsSavedAndComesBack) {
    {
        ClockApp app(clock);
        HeadlessWindow window(app);
        window.open(options(9));
        EXPECT_FALSE(window.alwaysOnTop());
        app.key(window, U'T');
        EXPECT_TRUE(window.alwaysOnTop());
        EXPECT_TRUE(marked(app, MenuCommand::AlwaysOnTop));
        EXPECT_EQ(saved(), "0 0 9 96 1");
        app.menuChosen(window, MenuCommand::AlwaysOnTop);
        EXPECT_FALSE(window.alwaysOnTop());
        EXPECT_EQ(saved(), "0 0 9");
        app.menuChosen(window, MenuCommand::AlwaysOnTop);
        window.moveTo({30, 40});
        app.closeRequested(window);
        EXPECT_EQ(saved(), "30 40 9 96 1");
    }
    ClockApp app(clock);
    HeadlessWindow window(app);
    StartOptions start = options(9);
    const WindowPlacement placement = app.start(window, start);
    EXPECT_TRUE(placement.alwaysOnTop);
    EXPECT_TRUE(marked(app, MenuCommand::AlwaysOnTop));
}

TEST_F(ClockMenuTest, StartAtLoginMakesAndRemovesTheEntry) {
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(options(9));
    const std::filesystem::path entry = platform::autostartEntry(scratch.path / "autostart", "");
    EXPECT_FALSE(marked(app, MenuCommand::StartAtLogin));
    app.menuChosen(window, MenuCommand::StartAtLogin);
    EXPECT_TRUE(std::filesystem::exists(entry));
    EXPECT_TRUE(marked(app, MenuCommand::StartAtLogin));
    app.menuChosen(window, MenuCommand::StartAtLogin);
    EXPECT_FALSE(std::filesystem::exists(entry));
    EXPECT_FALSE(marked(app, MenuCommand::StartAtLogin));
    EXPECT_TRUE(std::filesystem::is_empty(scratch.path / "autostart")) << "nothing else was made";
    EXPECT_TRUE(messages.empty());
}

// A folder that cannot hold the entry (a file stands where it would be): the
// failure is said, and the mark stays as the disk is.
TEST_F(ClockMenuTest, AFailedEntryIsSaidAndLeftUnmarked) {
    std::ofstream(scratch.path / "autostart") << "a file, not a folder";
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(options(9));
    app.menuChosen(window, MenuCommand::StartAtLogin);
    ASSERT_EQ(messages.size(), 1u);
    EXPECT_EQ(messages[0].rfind("Horavel: Horavel could not be set to start at login: ", 0), 0u) << messages[0];
    EXPECT_FALSE(marked(app, MenuCommand::StartAtLogin));
}

// The options are saved as the clock's own; a zone chosen makes the window
// that zone's clock, its title naming the place and its settings in a file of
// its own, the local clock's left as they were; a zone the system does not know
// is said and changes nothing; the zone's clock opens where it was left.
TEST_F(ClockMenuTest, OptionsAndZonesAreKeptPerClock) {
    const std::filesystem::path tokyo = zoneSettingsFolder(scratch.path / "settings", "Asia/Tokyo");
    {
        ClockApp app(clock);
        HeadlessWindow window(app);
        window.open(options(9));
        EXPECT_EQ(window.title(), "Horavel");
        app.menuChosen(window, MenuCommand::WeekStartsOnMonday);
        app.menuChosen(window, MenuCommand::Earthshine);
        EXPECT_TRUE(marked(app, MenuCommand::WeekStartsOnMonday) && marked(app, MenuCommand::Earthshine));
        EXPECT_EQ(saved(), "0 0 9 96 0 0 0 0 3");
        app.menuChosen(window, MenuCommand::ChooseZone, "Mars/Olympus_Mons");
        ASSERT_EQ(messages.size(), 1u);
        EXPECT_NE(messages[0].find("'Mars/Olympus_Mons'"), std::string::npos) << messages[0];
        app.menuChosen(window, MenuCommand::ChooseZone, "Asia/Tokyo");
        EXPECT_EQ(window.title(), "Horavel \u2014 Tokyo");
        EXPECT_EQ(app.state().zone, "Asia/Tokyo");
        app.menuChosen(window, MenuCommand::Earthshine);
        window.moveTo({30, 40});
        app.closeRequested(window);
    }
    EXPECT_EQ(saved(), "0 0 9 96 0 0 0 0 3");
    std::ifstream zoneFile(settingsFilePath(tokyo));
    std::string zoneLine;
    std::getline(zoneFile, zoneLine);
    EXPECT_EQ(zoneLine, "30 40 9 96 0 0 0 0 1");
    ClockApp app(clock);
    HeadlessWindow window(app);
    StartOptions start = options(9);
    const Result<TimeZone> rules = loadTimeZone("Asia/Tokyo");
    ASSERT_TRUE(testsupport::succeeded(rules));
    start.zone = NamedZone{"Asia/Tokyo", *rules};
    const WindowPlacement placement = app.start(window, start);
    EXPECT_EQ(placement.outer, (PixelPoint{30, 40}));
    EXPECT_TRUE(app.state().face.options.firstWeekday == FirstWeekday::Monday && !app.state().face.options.earthshine);
}

TEST_F(ClockMenuTest, AboutNamesTheVersionTheLicenceAndTheMapsCredits) {
    ClockApp app(clock);
    HeadlessWindow window(app);
    window.open(options(9));
    app.menuChosen(window, MenuCommand::About);
    ASSERT_EQ(messages.size(), 1u);
    for (const char* said : {"About Horavel: Horavel 0.", "licence", "NASA Visible Earth", "USGS", "Clementine"}) {
        EXPECT_NE(messages[0].find(said), std::string::npos) << said;
    }
    EXPECT_TRUE(window.isOpen());
    app.menuChosen(window, MenuCommand::Close);
    EXPECT_FALSE(window.isOpen());
}

}  // namespace

namespace {

// Where a window system cannot keep a window above the others the item goes,
// and where it can lay the window on the desktop that item comes after the
// window's other check items, before the separator.
TEST(Menu, WindowSystemsLeaveOutOrAddTheirOwnItems) {
    const std::vector<MenuItem> items = withDesktopItem(withoutItem(menuItems({}), MenuCommand::AlwaysOnTop), true);
    std::vector<MenuCommand> commands;
    for (const MenuItem& item : items) {
        commands.push_back(item.command);
    }
    EXPECT_EQ(commands, (std::vector<MenuCommand>{MenuCommand::Small, MenuCommand::Medium, MenuCommand::Large,
                                                  MenuCommand::StartAtLogin, MenuCommand::OnTheDesktop,
                                                  MenuCommand::Nothing, MenuCommand::WeekStartsOnMonday,
                                                  MenuCommand::Earthshine, MenuCommand::TimeZone,
                                                  MenuCommand::Nothing, MenuCommand::About, MenuCommand::Close}));
    EXPECT_EQ(items[4].label, "On the desktop");
    EXPECT_EQ(items[4].kind, MenuItemKind::Check);
    EXPECT_TRUE(items[4].marked);
    EXPECT_FALSE(withDesktopItem(menuItems({}), false)[5].marked);
    EXPECT_EQ(withDesktopItem(menuItems({}), false)[5].command, MenuCommand::OnTheDesktop);
}

}  // namespace
