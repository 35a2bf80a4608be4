#include "clockface/Calendar.h"

#include "astro/TimeScale.h"
#include "clockface/FaceState.h"
#include "clockface/Numerals.h"
#include "clockface/Timing.h"
#include "raster/Primitives.h"
#include "text/DrawText.h"

#include <cmath>

namespace {

// Floor division, so that days before the first column's reference day still
// fall into columns 0 … 6 of their own week.
std::int32_t floorDiv(std::int32_t a, std::int32_t b) {
    const std::int32_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// Indexed by weekday, 0 = Sunday.
constexpr const char16_t* weekdayNames[7] = {u"Su", u"Mo", u"Tu", u"We", u"Th", u"Fr", u"Sa"};

// Days from Sunday to the weekday of the first column.
std::int32_t firstColumnWeekday(FirstWeekday first) { return first == FirstWeekday::Monday ? 1 : 0; }

// The local Julian date with the hands' half-second lead.
double leadingJulianDayLocal(const platform::Clock& clock) {
    return currentJulianDayLocal(clock) + handsLeadSeconds / 86400.0;
}

std::int32_t dayOf(double julianDay) { return static_cast<std::int32_t>(std::floor(julianDay - 2451545.5)); }

// The cell of one day: column 0 … 6 from the first weekday, row −3 … 3 from
// the current week; its month's hue (today's opposite), the weekend more
// saturated, and the day of the month.
void drawDayCell(Canvas& canvas, const FaceState& face, double julianDay, std::int32_t column, std::int32_t row,
                 bool today) {
    const std::int32_t u = face.unit;
    const double packed = packedDateFromJulianDay(julianDay);
    const auto year = static_cast<std::int32_t>(packed / 10000.0);
    const auto month = static_cast<std::int32_t>((packed - 10000.0 * year) / 100.0);
    const auto day = static_cast<std::int32_t>(packed - 10000.0 * year - 100.0 * month);
    const std::int32_t weekday = (column + firstColumnWeekday(face.options.firstWeekday)) % 7;  // 0 = Sunday
    const std::int32_t x = column * u;
    const std::int32_t y = (3 - row) * u;

    double hue = monthHueDeg(month);
    if (today) {
        hue -= 180.0;  // today in the opposite hue
    }
    const bool weekend = weekday == 0 || weekday == 6;
    Color cell;
    cell.fromHsv({hue, weekend ? 0.8 : 0.5, 1.0});
    // Neighbouring cells share their border row and column; the later day covers it.
    fillRect(canvas, x, y, x + u, y + u, cell);
    drawText(canvas, x + (u + 2) / 2, y + 2, decimal(day), *face.textRenderer, 4 * u / 5, Color::bytes(0, 0, 0));
}

// The header's weekday names and the grid. The line for k = 0 lies just above
// the canvas.
void drawHeaderAndGrid(Canvas& canvas, const FaceState& face) {
    const std::int32_t u = face.unit;
    const std::int32_t firstWeekday = firstColumnWeekday(face.options.firstWeekday);
    const Color white = Color::bytes(255, 255, 255);
    for (std::int32_t k = 0; k <= 7; ++k) {
        if (k < 7) {
            const char16_t* name = weekdayNames[(k + firstWeekday) % 7];
            drawText(canvas, k * u + (u + 4) / 2, 7 * u + 1, name, *face.textRenderer, 4 * u / 5, white);
            if (k > 0) {
                line(canvas, k * u, 0, k * u, 8 * u - 1, white);
            }
        }
        line(canvas, 0, 8 * u - k * u, 7 * u - 1, 8 * u - k * u, white);
    }
}

}  // namespace

std::int32_t calendarDay(const platform::Clock& clock) { return dayOf(leadingJulianDayLocal(clock)); }

void drawCalendar(FaceState& face, const platform::Clock& clock) {
    if (!canDrawOn(face, face.calendarCanvas)) {
        return;
    }
    Canvas& canvas = *face.calendarCanvas;
    canvas.clear();

    // The local Julian date with the hands' lead, and the whole days since
    // Sunday 2000-01-02 00:00. Weeks are counted from the first column's day
    // of that week, Sunday 2000-01-02 or Monday 2000-01-03.
    const double julianDay = leadingJulianDayLocal(clock);
    const std::int32_t dayIndex = dayOf(julianDay);
    face.calendarDay = dayIndex;
    const std::int32_t firstWeekday = firstColumnWeekday(face.options.firstWeekday);
    const std::int32_t currentWeek = floorDiv(dayIndex - firstWeekday, 7);

    // 61 days around today cover every cell of the seven weeks.
    for (std::int32_t i = -30; i <= 30; ++i) {
        // Days since the first column's day of the week of 2000-01-02.
        const std::int32_t dayNumber = dayIndex + i - firstWeekday;
        const std::int32_t week = floorDiv(dayNumber, 7);
        const std::int32_t row = week - currentWeek;
        if (row >= -3 && row <= 3) {
            drawDayCell(canvas, face, julianDay + i, dayNumber - 7 * week, row, i == 0);
        }
    }
    drawHeaderAndGrid(canvas, face);
    canvas.present();
}
