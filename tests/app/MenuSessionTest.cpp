#include "app/MenuPicture.h"
#include "app/MenuSession.h"

#include <gtest/gtest.h>

namespace {

TEST(MenuSession, ArrowsSkipTheSeparatorAndGoRoundTheEnds) {
    MenuSession menu(menuItems({}));
    EXPECT_EQ(menu.highlighted(), -1);
    const struct {
        MenuKey key;
        std::int32_t highlighted;
    } steps[] = {
        {MenuKey::Down, 0}, {MenuKey::Up, 7},   {MenuKey::Up, 6},  {MenuKey::Up, 4},  // over the separator
        {MenuKey::Down, 6}, {MenuKey::End, 7},  {MenuKey::Down, 0}, {MenuKey::Home, 0},
    };
    for (const auto& step : steps) {
        const MenuOutcome outcome = menu.key(step.key);
        EXPECT_FALSE(outcome.closes);
        EXPECT_EQ(menu.highlighted(), step.highlighted) << static_cast<int>(step.key);
    }
    MenuSession fromNone(menuItems({}));
    fromNone.key(MenuKey::Up);
    EXPECT_EQ(fromNone.highlighted(), 7);
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

    EXPECT_EQ(menu.release(7).chosen, MenuCommand::Close);
    EXPECT_FALSE(menu.release(5).closes) << "the separator";
    EXPECT_FALSE(menu.release(-1).closes) << "the border";
    EXPECT_TRUE(MenuSession::pressOutside().closes);
    EXPECT_EQ(MenuSession::pressOutside().chosen, MenuCommand::Nothing);

    EXPECT_TRUE(menu.pointAt(3));
    EXPECT_FALSE(menu.pointAt(3));
    EXPECT_TRUE(menu.pointAt(5));
    EXPECT_EQ(menu.highlighted(), -1) << "a separator is never highlighted";
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
    ASSERT_EQ(layout.rows.size(), 8u);
    for (std::int32_t i = 0; i < 8; ++i) {
        const PixelRect& row = layout.rows[static_cast<std::size_t>(i)];
        const std::int32_t expected = i == 5 ? -1 : i;
        EXPECT_EQ(menuItemAt(layout, picture.items(), (row.left + row.right) / 2, row.top), expected);
        EXPECT_EQ(menuItemAt(layout, picture.items(), (row.left + row.right) / 2, row.bottom - 1), expected);
    }
    EXPECT_EQ(menuItemAt(layout, picture.items(), 0, layout.rows[0].top), -1);
    EXPECT_EQ(menuItemAt(layout, picture.items(), 10, 0), -1);
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
    EXPECT_EQ(session.highlighted(), 7);
    EXPECT_FALSE(session.keysym(0xff95, 0).closes);  // keypad Home
    EXPECT_EQ(session.highlighted(), 0);
    EXPECT_FALSE(session.keysym(0xff97, 0).closes);  // keypad Up, round the top
    EXPECT_EQ(session.highlighted(), 7);
    const MenuOutcome chosen = session.keysym(0xff8d, 0);  // keypad Enter
    EXPECT_TRUE(chosen.closes);
    EXPECT_EQ(chosen.chosen, MenuCommand::Close);
    for (const std::uint32_t closing : {0xff1bu, 0xff67u, 0xffc7u}) {  // Escape, Menu, F10
        const MenuOutcome outcome = MenuSession(menuItems({})).keysym(closing, 0);
        EXPECT_TRUE(outcome.closes) << closing;
        EXPECT_EQ(outcome.chosen, MenuCommand::Nothing) << closing;
    }
    EXPECT_EQ(MenuSession(menuItems({})).keysym(0x6c, U'L').chosen, MenuCommand::Large);
    EXPECT_FALSE(MenuSession(menuItems({})).keysym(0x71, U'Q').closes);
}

}  // namespace
