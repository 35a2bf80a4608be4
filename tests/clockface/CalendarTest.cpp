#include "clockface/Calendar.h"

#include "FaceFixture.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using facetest::Rgb;

namespace {

class CalendarView : public ::testing::Test {
protected:
    static constexpr std::int32_t unit = 28;

    // The calendar at a local moment: a day counted from 1601-01-01 and the
    // seconds into it.
    void draw(double secondsIntoDay, std::uint64_t day = facetest::december9th2026) {
        facetest::buildSurfaces(face, unit);
        const auto clock = facetest::clockAt(day, secondsIntoDay);
        drawCalendar(face, clock);
    }

    // A point inside the cell of row m (-3 … 3) and column (0 = the first
    // weekday), clear of its day number and of the grid.
    Rgb cell(std::int32_t row, std::int32_t column) const {
        return facetest::displayPixel(*face.calendarCanvas, column * unit + 2, (3 - row) * unit + unit - 2);
    }

    // The header's name cell in the column, inside the grid lines, row by row.
    std::vector<Rgb> headerCell(std::int32_t column) const {
        std::vector<Rgb> pixels;
        for (std::int32_t y = 7 * unit + 1; y < 8 * unit; ++y) {
            for (std::int32_t x = column * unit + 1; x < (column + 1) * unit; ++x) {
                pixels.push_back(facetest::displayPixel(*face.calendarCanvas, x, y));
            }
        }
        return pixels;
    }

    FaceState face;
};

// Colours worked out by hand from the hue rule (January 210°, 30° less a month;
// today's cell 180° away), saturation 0.8 at weekends and 0.5 on weekdays.
constexpr Rgb novemberWeekend{153, 51, 255};   // hue 270
constexpr Rgb decemberWeekend{51, 51, 255};    // hue 240
constexpr Rgb decemberWeekday{127, 127, 255};  // hue 240
constexpr Rgb todayWeekday{255, 255, 127};     // hue 60
constexpr Rgb januaryWeekday{127, 191, 255};   // hue 210
constexpr Rgb januaryWeekend{51, 153, 255};    // hue 210
constexpr Rgb todayJanuaryWeekend{255, 153, 51};  // hue 30
constexpr Rgb juneWeekend{255, 255, 51};        // hue 60
constexpr Rgb julyWeekend{255, 153, 51};        // hue 30
constexpr Rgb todayJulyWeekday{127, 191, 255};  // hue 210
constexpr Rgb augustWeekend{255, 51, 51};       // hue 0
constexpr Rgb black{0, 0, 0};
constexpr Rgb white{255, 255, 255};

}  // namespace

// Days before Sunday 2000-01-02, from which the weeks are counted, have negative
// day numbers: they must still fall into columns Sunday … Saturday of their own
// week, with today's week in the middle row.
TEST_F(CalendarView, WeeksBefore2000StayInTheirColumns) {
    struct Cell {
        std::int32_t row, column;
        Rgb expected;
        const char* date;
    };
    struct Case {
        std::uint64_t day;  // from 1601-01-01
        Cell cells[4];
    };
    const Case cases[] = {
        {145731,  // Saturday 1 January 2000, the day before the count starts
         {{0, 6, todayJanuaryWeekend, "1 January 2000"},
          {0, 0, decemberWeekend, "26 December 1999"},
          {1, 0, januaryWeekend, "2 January 2000"},
          {-3, 0, decemberWeekend, "5 December 1999"}}},
        {134605,  // Wednesday 16 July 1969
         {{0, 3, todayJulyWeekday, "16 July 1969"},
          {0, 0, julyWeekend, "13 July 1969"},
          {-3, 0, juneWeekend, "22 June 1969"},
          {3, 6, augustWeekend, "9 August 1969"}}},
    };
    for (const Case& c : cases) {
        draw(12 * 3600, c.day);
        for (const Cell& cell : c.cells) {
            EXPECT_EQ(this->cell(cell.row, cell.column), cell.expected) << cell.date;
        }
    }
}

// With Monday first the columns run Monday to Sunday: the names move one column
// left, Saturday and Sunday keep the stronger saturation in the last two
// columns, and today stays in the middle row of its Monday-to-Sunday week. A
// Sunday is the last day of its week, and Sunday 2 January 2000, day 0 of the
// count, lies one day after the Monday the weeks are counted from: it falls
// in the week before, as floor division gives.
TEST_F(CalendarView, MondayFirstRunsTheWeeksMondayToSunday) {
    draw(12 * 3600);
    std::vector<std::vector<Rgb>> sundayFirstHeader;
    for (std::int32_t column = 0; column < 7; ++column) {
        sundayFirstHeader.push_back(headerCell(column));
    }
    const std::optional<std::int32_t> sundayFirstDay = face.calendarDay;

    face.options.firstWeekday = FirstWeekday::Monday;
    draw(12 * 3600);
    for (std::int32_t column = 0; column < 7; ++column) {
        EXPECT_EQ(headerCell(column), sundayFirstHeader[(column + 1) % 7]) << "header column " << column;
    }
    EXPECT_EQ(face.calendarDay, sundayFirstDay) << "the day shown does not depend on the first weekday";
    EXPECT_EQ(cell(0, 0), decemberWeekday);   // Monday 7 December
    EXPECT_EQ(cell(0, 2), todayWeekday);      // Wednesday 9 December
    EXPECT_EQ(cell(0, 5), decemberWeekend);   // Saturday 12 December
    EXPECT_EQ(cell(0, 6), decemberWeekend);   // Sunday 13 December
    EXPECT_EQ(cell(3, 6), januaryWeekend);    // Sunday 3 January 2027, the last cell

    draw(12 * 3600, 145732);                     // Sunday 2 January 2000
    EXPECT_EQ(cell(0, 0), decemberWeekday);      // Monday 27 December 1999
    EXPECT_EQ(cell(0, 5), januaryWeekend);       // Saturday 1 January 2000
    EXPECT_EQ(cell(0, 6), todayJanuaryWeekend);  // Sunday 2 January 2000
    EXPECT_EQ(cell(1, 0), januaryWeekday);       // Monday 3 January 2000
}

TEST_F(CalendarView, SevenWeeksAroundTodayInMonthHues) {
    draw(12 * 3600);
    EXPECT_EQ(cell(-3, 0), novemberWeekend);  // Sunday 15 November, the first cell
    EXPECT_EQ(cell(0, 0), decemberWeekend);   // Sunday 6 December
    EXPECT_EQ(cell(0, 3), todayWeekday);      // Wednesday 9 December
    EXPECT_EQ(cell(0, 4), decemberWeekday);   // Thursday 10 December
    EXPECT_EQ(cell(3, 3), decemberWeekday);   // Wednesday 30 December
    EXPECT_EQ(cell(3, 6), januaryWeekend);    // Saturday 2 January 2027, the last cell
}

TEST_F(CalendarView, HeaderHasNoFillsAndTheGridStopsShortOfTheEdges) {
    draw(12 * 3600);
    const Canvas& canvas = *face.calendarCanvas;
    for (std::int32_t column = 0; column < 7; ++column) {
        EXPECT_EQ(facetest::displayPixel(canvas, column * unit + 2, 8 * unit - 2), black) << column;
    }
    EXPECT_EQ(facetest::displayPixel(canvas, unit, 100), white);      // a column line
    EXPECT_EQ(facetest::displayPixel(canvas, 100, 7 * unit), white);  // below the header
    EXPECT_EQ(facetest::displayPixel(canvas, 100, unit), white);      // above the last week
    EXPECT_EQ(facetest::displayPixel(canvas, 0, 100), decemberWeekend);  // no line at the left edge
    EXPECT_EQ(facetest::displayPixel(canvas, 100, 0), decemberWeekday);  // none at the bottom
}

TEST_F(CalendarView, DayNumbersAreBlackAndHeaderNamesWhite) {
    draw(12 * 3600);
    const Canvas& canvas = *face.calendarCanvas;
    // Antialiased glyphs: count the pixels that are mostly ink.
    auto countInRect = [&](std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1, bool dark) {
        int count = 0;
        for (std::int32_t y = y0; y < y1; ++y) {
            for (std::int32_t x = x0; x < x1; ++x) {
                const Rgb c = facetest::displayPixel(canvas, x, y);
                const int sum = c.r + c.g + c.b;
                count += dark ? sum < 150 : sum > 600;
            }
        }
        return count;
    };
    // Inside today's cell, the digit 9; inside Sunday's header cell, "Su".
    EXPECT_GT(countInRect(3 * unit + 1, 3 * unit + 1, 4 * unit, 4 * unit, true), 15);
    EXPECT_GT(countInRect(1, 7 * unit + 1, unit, 8 * unit, false), 15);
    // No ink in the cell of a day but its digits: its top strip is plain.
    EXPECT_EQ(countInRect(3 * unit + 1, 4 * unit - 3, 4 * unit, 4 * unit, true), 0);
}

TEST_F(CalendarView, TheDayTurnsHalfASecondEarly) {
    draw(86400 - 0.6);
    EXPECT_EQ(cell(0, 3), todayWeekday);
    draw(86400 - 0.4);
    EXPECT_EQ(cell(0, 3), decemberWeekday);
    EXPECT_EQ(cell(0, 4), todayWeekday);
}
