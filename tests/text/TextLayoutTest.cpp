#include "text/RunGeometry.h"
#include "text/TextLayout.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

struct GeometryCase {
    std::int32_t heightPx;
    std::int16_t level;
    std::int16_t fontHeightPx;
    std::int32_t offsetPx;
};

// Hand calculation of trunc(a·0.6^|n| + 0.5) and trunc(a·offset), the offset summed
// step by step in double precision (0.5 − 0.6 comes out a hair above −0.1, which
// is why a = 10 at level 1 shifts by 0 and a = 40 by −3).
const GeometryCase geometryCases[] = {
    {24, 0, 24, 0},   {24, 1, 14, -2},  {24, -1, 14, 12}, {24, 2, 9, -3},
    {24, -2, 9, 19},  {10, 1, 6, 0},    {40, 1, 24, -3},  {40, 2, 14, -6},
    {21, 3, 5, -4},   {24, 5, 2, -5},   {24, 6, 1, -5},   {1, 0, 1, 0},
    {70000, 0, 4464, 0},  // the font height is kept in 16 bits
};

TEST(RunGeometry, MatchesHandCalculatedTable) {
    for (const GeometryCase& c : geometryCases) {
        const RunGeometry geometry = runGeometry(c.heightPx, c.level);
        EXPECT_EQ(geometry.fontHeightPx, c.fontHeightPx) << "a " << c.heightPx << " level " << c.level;
        EXPECT_EQ(geometry.offsetPx, c.offsetPx) << "a " << c.heightPx << " level " << c.level;
    }
}

struct SeenRun {
    std::u16string text;
    std::int16_t fontHeightPx;
    std::int32_t offsetPx;
    std::int32_t penXPx;
    bool operator==(const SeenRun&) const = default;
};

// Lays a text out with every character advancing 10 pixels.
std::vector<SeenRun> runsOf(std::u16string_view text, std::int32_t heightPx) {
    std::vector<SeenRun> runs;
    layOutText(text, heightPx, [&](const LaidRun& run) {
        runs.push_back({std::u16string(run.text), run.fontHeightPx, run.offsetPx, run.penXPx});
        return static_cast<std::int32_t>(10 * run.text.size());
    });
    return runs;
}

// Markup ends runs and changes the level; a push and a pop restore pen and level
// (the superscript and subscript start at the same pen x); a pop with nothing
// pushed changes nothing; NUL ends the text; runs too small to draw (six levels
// up at a = 24 the font is 1 pixel) are skipped and take no room.
TEST(TextLayout, RunsOfMarkedUpText) {
    struct Case {
        std::u16string_view text;
        std::int32_t heightPx;
        std::vector<SeenRun> runs;
    };
    const Case cases[] = {
        {u"ab\uE000c\uE001de\uE001f", 24, {{u"ab", 24, 0, 0}, {u"c", 14, -2, 20}, {u"de", 24, 0, 30}, {u"f", 14, 12, 50}}},
        {u"x\uE002\uE00022\uE003\uE0013\uE000y", 24,
         {{u"x", 24, 0, 0}, {u"22", 14, -2, 10}, {u"3", 14, 12, 10}, {u"y", 24, 0, 20}}},
        {u"\uE003ab\uE003c", 24, {{u"ab", 24, 0, 0}, {u"c", 24, 0, 20}}},
        {std::u16string_view(u"ab\0cd", 5), 24, {{u"ab", 24, 0, 0}}},
        {u"a\uE000\uE000\uE000\uE000\uE000\uE000b\uE001\uE001\uE001\uE001\uE001\uE001c", 24,
         {{u"a", 24, 0, 0}, {u"c", 24, 0, 10}}},
        {u"abc", 1, {}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(runsOf(c.text, c.heightPx), c.runs) << c.runs.size() << " runs expected";
    }
}

}  // namespace
