#include "app/Keys.h"

#include <gtest/gtest.h>

namespace {

// Every shell reads a key by its keysym, a letter's being its ASCII code in
// the case it types. The clock's letter is the capital for either case, and
// none for the characters beside both alphabets, for other characters and for
// keys that type none; the size keys then choose their units.
TEST(Keys, ALetterKeyIsItsCapitalWhicheverCaseItTypes) {
    const struct {
        std::uint32_t symbol;
        char32_t letter;
    } cases[] = {
        {0x61, U'A'}, {0x7a, U'Z'}, {0x41, U'A'}, {0x5a, U'Z'}, {0x74, U'T'}, {0x54, U'T'},
        {0x40, 0},    {0x5b, 0},    {0x60, 0},    {0x7b, 0},  // @ [ ` {
        {0x31, 0},    {0xe3, 0},    {keysym::Menu, 0}, {keysym::F10, 0}, {keysym::space, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(letterOfKeysym(c.symbol), c.letter) << std::hex << c.symbol;
    }
    EXPECT_EQ(unitForKey(letterOfKeysym(0x73)), 20);  // s
    EXPECT_EQ(unitForKey(letterOfKeysym(0x4d)), 28);  // M
    EXPECT_EQ(unitForKey(letterOfKeysym(0x6c)), 40);  // l
}

}  // namespace
