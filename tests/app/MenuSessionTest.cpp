#include "app/Keys.h"
#include "app/MenuPicture.h"
#include "app/MenuSession.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

TEST(MenuSession, ArrowsSkipTheSeparatorAndGoRoundTheEnds) {
    MenuSession menu(menuItems({}));
    EXPECT_EQ(menu.highlighted(), -1);
    const struct {
        MenuKey key;
        std::int32_t highlighted;
    } steps[] = {
        {MenuKey::Down, 0}, {MenuKey::Up, 11},  {MenuKey::Up, 10}, {MenuKey::Up, 8},  // over the separator
        {MenuKey::Down, 10}, {MenuKey::End, 11}, {MenuKey::Down, 0}, {MenuKey::Home, 0},
    };
    for (const auto& step : steps) {
        const MenuOutcome outcome = menu.key(step.key);
        EXPECT_FALSE(outcome.closes);
        EXPECT_EQ(menu.highlighted(), step.highlighted) << static_cast<int>(step.key);
    }
    MenuSession fromNone(menuItems({}));
    fromNone.key(MenuKey::Up);
    EXPECT_EQ(fromNone.highlighted(), 11);
}

TEST(MenuSession, EnterKeysAndReleasesChoose) {
    MenuSession menu(menuItems({}));
    EXPECT_EQ(menu.key(MenuKey::Enter).chosen, MenuCommand::Nothing) << "nothing highlighted";
    EXPECT_TRUE(menu.key(MenuKey::Enter).closes);
    menu.key(MenuKey::Down);
    menu.key(MenuKey::Down);
    menu.key(MenuKey::Down);
    const MenuOutcome large = menu.key(MenuKey::Enter);
    EXPECT_TRUE(large.closes);
    EXPECT_EQ(large.chosen, MenuCommand::Large);

    EXPECT_EQ(menu.letter(U'T').chosen, MenuCommand::AlwaysOnTop);
    EXPECT_FALSE(menu.letter(U'Q').closes);
    const MenuOutcome escape = menu.key(MenuKey::Escape);
    EXPECT_TRUE(escape.closes);
    EXPECT_EQ(escape.chosen, MenuCommand::Nothing);

    menu.press();
    EXPECT_EQ(menu.release(11).chosen, MenuCommand::Close);
    EXPECT_FALSE(menu.release(5).closes) << "the separator";
    EXPECT_FALSE(menu.release(-1).closes) << "the border";
    EXPECT_TRUE(MenuSession::pressOutside().closes);
    EXPECT_EQ(MenuSession::pressOutside().chosen, MenuCommand::Nothing);

    EXPECT_TRUE(menu.pointAt(3));
    EXPECT_FALSE(menu.pointAt(3));
    EXPECT_TRUE(menu.pointAt(5));
    EXPECT_EQ(menu.highlighted(), -1) << "a separator is never highlighted";
}

// The right button, the Menu key and Shift+F10 open the menu, nothing else
// does. The click that opened it chooses nothing when its button comes up over
// an item; a release after the pointer moved, or after a press over the menu,
// chooses.
TEST(MenuSession, ItsTriggersOpenItAndTheirClickChoosesNothing) {
    EXPECT_TRUE(MenuSession::opensOnButton(PointerButton::Right));
    EXPECT_FALSE(MenuSession::opensOnButton(PointerButton::Left));
    EXPECT_FALSE(MenuSession::opensOnButton(PointerButton::Other));
    EXPECT_TRUE(MenuSession::opensOnKey(keysym::Menu, false));
    EXPECT_TRUE(MenuSession::opensOnKey(keysym::Menu, true));
    EXPECT_TRUE(MenuSession::opensOnKey(keysym::F10, true));
    EXPECT_FALSE(MenuSession::opensOnKey(keysym::F10, false));
    EXPECT_FALSE(MenuSession::opensOnKey(0x6d, true));  // M

    const std::int32_t close = 11;
    MenuSession opened(menuItems({}));
    opened.pointAt(close);
    const MenuOutcome opening = opened.release(close);
    EXPECT_FALSE(opening.closes);
    EXPECT_EQ(opening.chosen, MenuCommand::Nothing);
    opened.pointerMoved();
    EXPECT_EQ(opened.release(close).chosen, MenuCommand::Close);
    MenuSession clicked(menuItems({}));
    clicked.press();
    EXPECT_EQ(clicked.release(close).chosen, MenuCommand::Close);
}

// A menu of 100 × 200 pixels on a screen of 1000 × 800.
TEST(MenuSession, TheMenuStaysOnTheScreenAtEveryEdge) {
    MenuLayout layout;
    layout.widthPx = 100;
    layout.heightPx = 200;
    const PixelRect screen{0, 0, 1000, 800};
    const struct {
        PixelPoint at, origin;
    } cases[] = {
        {{300, 300}, {300, 300}},    // room to the right and below
        {{950, 300}, {850, 300}},    // at the right edge: opens to the left
        {{300, 700}, {300, 500}},    // at the bottom: opens upwards
        {{990, 790}, {890, 590}},    // the corner
        {{-50, -50}, {0, 0}},        // a point off the screen
        {{50, 150}, {50, 150}},
    };
    for (const auto& c : cases) {
        const PixelPoint origin = menuOrigin(c.at, layout, screen);
        EXPECT_EQ(origin.x, c.origin.x) << c.at.x << ',' << c.at.y;
        EXPECT_EQ(origin.y, c.origin.y) << c.at.x << ',' << c.at.y;
    }
    // A screen smaller than the menu: its top-left corner shows.
    const PixelPoint cramped = menuOrigin({40, 40}, layout, {0, 0, 80, 150});
    EXPECT_EQ(cramped.x, 0);
    EXPECT_EQ(cramped.y, 0);
}

// Every row of the picture answers for its own item, the separator and the
// border for none; the picture is as wide as a canvas can be painted.
TEST(MenuSession, ThePictureLaysTheItemsOutInRows) {
    MenuState state;
    state.sizeKeyUnit = 28;
    state.alwaysOnTop = true;
    const MenuPicture picture(menuItems(state), 96);
    ASSERT_TRUE(picture.ready());
    const MenuLayout& layout = picture.layout();
    EXPECT_EQ(layout.widthPx % 4, 0);
    const std::vector<MenuItem> items = menuItems(state);
    ASSERT_EQ(layout.rows.size(), 12u);
    for (std::int32_t i = 0; i < 12; ++i) {
        const PixelRect& row = layout.rows[static_cast<std::size_t>(i)];
        const std::int32_t expected = i == 5 || i == 9 ? -1 : i;
        EXPECT_EQ(menuItemAt(layout, items, (row.left + row.right) / 2, row.top), expected);
        EXPECT_EQ(menuItemAt(layout, items, (row.left + row.right) / 2, row.bottom - 1), expected);
    }
    EXPECT_EQ(menuItemAt(layout, items, 0, layout.rows[0].top), -1);
    EXPECT_EQ(menuItemAt(layout, items, 10, 0), -1);
    EXPECT_GT(layout.heightPx, layout.rows.back().bottom);
    const MenuPicture larger(menuItems({}), 192);
    EXPECT_GT(larger.layout().heightPx, layout.heightPx * 19 / 10);
}

// The keysyms of both window systems: the keypad's keys as the others, and a
// key without a movement of its own read as its letter.
TEST(MenuSession, KeysymsMoveAndChooseAsTheirKeys) {
    MenuSession session(menuItems({}));
    EXPECT_FALSE(session.keysym(0xff54, 0).closes);  // Down
    EXPECT_EQ(session.highlighted(), 0);
    EXPECT_FALSE(session.keysym(0xff99, 0).closes);  // keypad Down
    EXPECT_EQ(session.highlighted(), 1);
    EXPECT_FALSE(session.keysym(0xff57, 0).closes);  // End
    EXPECT_EQ(session.highlighted(), 11);
    EXPECT_FALSE(session.keysym(0xff95, 0).closes);  // keypad Home
    EXPECT_EQ(session.highlighted(), 0);
    EXPECT_FALSE(session.keysym(0xff97, 0).closes);  // keypad Up, round the top
    EXPECT_EQ(session.highlighted(), 11);
    const MenuOutcome chosen = session.keysym(0xff8d, 0);  // keypad Enter
    EXPECT_TRUE(chosen.closes);
    EXPECT_EQ(chosen.chosen, MenuCommand::Close);
    for (const std::uint32_t closing : {0xff1bu, 0xff67u, 0xffc7u}) {  // Escape, Menu, F10
        const MenuOutcome outcome = MenuSession(menuItems({})).keysym(closing, 0);
        EXPECT_TRUE(outcome.closes) << closing;
        EXPECT_EQ(outcome.chosen, MenuCommand::Nothing) << closing;
    }
    EXPECT_EQ(MenuSession(menuItems({})).keysym(0x6c, U'l').chosen, MenuCommand::Large);
    EXPECT_FALSE(MenuSession(menuItems({})).keysym(0x71, U'q').closes);
}

// The choice of zones: the time zone's item opens it with the zone shown now;
// headings are never highlighted nor chosen; what is typed, case kept, goes
// to the entry, letters choosing nothing there; Backspace takes back a whole
// character; Enter chooses the name typed without its spaces, and nothing
// while none is typed.
TEST(MenuSession, TheChoiceOfZonesTakesANameTyped) {
    MenuState state;
    state.zone = "Asia/Tokyo";
    MenuSession menu(menuItems(state));
    menu.press();
    const MenuOutcome opened = menu.release(8);
    EXPECT_TRUE(opened.closes);
    EXPECT_EQ(opened.chosen, MenuCommand::TimeZone);
    EXPECT_EQ(opened.zone, "Asia/Tokyo");

    const std::vector<MenuItem> items = zoneMenuItems(opened.zone);
    MenuSession zones(items);
    zones.press();
    const auto count = static_cast<std::int32_t>(items.size());
    for (std::int32_t i = 0; i < count; ++i) {
        zones.key(MenuKey::Down);
        const MenuItemKind kind = items[static_cast<std::size_t>(zones.highlighted())].kind;
        EXPECT_TRUE(kind != MenuItemKind::Heading && kind != MenuItemKind::Separator) << zones.highlighted();
    }
    ASSERT_EQ(items[1].kind, MenuItemKind::Heading);
    EXPECT_FALSE(zones.release(1).closes);
    zones.pointAt(1);
    EXPECT_EQ(zones.highlighted(), -1);
    const MenuPicture picture(items, 96);
    const PixelRect& heading = picture.layout().rows[1];
    EXPECT_EQ(menuItemAt(picture.layout(), items, (heading.left + heading.right) / 2, heading.top), -1);

    const auto tokyoItem = std::find_if(items.begin(), items.end(), [](const MenuItem& item) { return item.label == "Tokyo"; });
    const MenuOutcome tokyo = zones.release(static_cast<std::int32_t>(tokyoItem - items.begin()));
    EXPECT_EQ(tokyo.chosen, MenuCommand::ChooseZone);
    EXPECT_EQ(tokyo.zone, "Asia/Tokyo");

    zones.key(MenuKey::End);
    EXPECT_FALSE(zones.key(MenuKey::Enter).closes) << "nothing typed";
    // " Europe/Lisbonsã", S, M and L among its letters, typed with a space before.
    EXPECT_FALSE(zones.keysym(0x20, U' ').closes);
    for (const char32_t c : std::u32string(U"Europe/Lisbonsã")) {
        EXPECT_FALSE(zones.keysym(static_cast<std::uint32_t>(c), c).closes) << static_cast<char>(c);
    }
    zones.keysym(0xffe1, 0);  // Shift types nothing
    EXPECT_EQ(zones.items().back().zone, " Europe/Lisbons\u00e3");
    EXPECT_EQ(zones.highlighted(), count - 1);
    zones.keysym(0xff08, 0);  // BackSpace
    zones.key(MenuKey::Backspace);
    EXPECT_EQ(zones.items().back().zone, " Europe/Lisbon");
    zones.type(U' ');
    const MenuOutcome typed = zones.keysym(0xff0d, U'\r');  // Return
    EXPECT_TRUE(typed.closes);
    EXPECT_EQ(typed.chosen, MenuCommand::ChooseZone);
    EXPECT_EQ(typed.zone, "Europe/Lisbon");
}

}  // namespace
