#include "clockface/ClockFace.h"

#include "clockface/Calendar.h"

#include "FaceFixture.h"
#include "image/Image.h"
#include "raster/Primitives.h"

#include <gtest/gtest.h>

#include <cstring>

using facetest::Rgb;

namespace {

// A plain globe picture of one colour, made the way the globe renderer makes its
// pictures: drawn on the globe canvas and copied from its display.
std::unique_ptr<Image> plainPicture(Canvas& globeCanvas, const Color& colour) {
    fillRect(globeCanvas, 0, 0, globeCanvas.width, globeCanvas.height, colour);
    globeCanvas.present();
    return Image::fromCanvas(globeCanvas);
}

Rgb storePixel(const Canvas& canvas, std::int32_t x, std::int32_t y) {
    const std::uint8_t* p = canvas.pixels.get() + 3 * (y * canvas.width + x);
    return {p[0], p[1], p[2]};
}

int countInRect(const Canvas& canvas, std::int32_t x0, std::int32_t y0, std::int32_t x1, std::int32_t y1,
                Rgb colour) {
    int count = 0;
    for (std::int32_t y = y0; y < y1; ++y) {
        for (std::int32_t x = x0; x < x1; ++x) {
            count += storePixel(canvas, x, y) == colour;
        }
    }
    return count;
}

class ClockFaceAt10h08 : public ::testing::Test {
protected:
    static constexpr std::int32_t unit = 28;  // centre (196, 252) in drawing pixels

    void SetUp() override {
        facetest::buildSurfaces(face, unit);
        face.globes.earthGlobe = plainPicture(*face.globeCanvas, Color::bytes(100, 100, 100));
        face.globes.moonGlobe = plainPicture(*face.globeCanvas, Color::bytes(0, 0, 200));
    }

    void drawAt(double secondsIntoDay) {
        drawClockFace(face, facetest::clockAt(facetest::december9th2026, secondsIntoDay));
    }

    FaceState face;
};

constexpr double tenOhEightThirty = 10 * 3600 + 8 * 60 + 30;

}  // namespace

// Points worked out by hand from the dial geometry: a point at radius r and
// angle a is (196 + trunc(r sin a), 252 + trunc(r cos a)).
TEST_F(ClockFaceAt10h08, MarksHandsAndGlobeStandWhereTheyBelong) {
    drawAt(tenOhEightThirty);  // seconds 30.5 with the lead: the Earth
    const Canvas& canvas = *face.clockCanvas;
    EXPECT_EQ(storePixel(canvas, 265, 373), (Rgb{255, 255, 0}));  // five-minute mark at 30°, radius 140
    EXPECT_EQ(storePixel(canvas, 269, 380), (Rgb{255, 255, 0}));  // … to radius 148
    EXPECT_EQ(storePixel(canvas, 278, 365), (Rgb{0, 255, 255}));  // minute mark at 36°, radius 140
    EXPECT_EQ(storePixel(canvas, 280, 368), (Rgb{0, 255, 255}));  // … to radius 144
    EXPECT_EQ(storePixel(canvas, 191, 153), (Rgb{255, 0, 0}));    // second hand at 183°, radius 100
    EXPECT_EQ(storePixel(canvas, 273, 314), (Rgb{0, 255, 255}));  // minute hand at 51°, radius 100
    EXPECT_EQ(storePixel(canvas, 147, 285), (Rgb{255, 255, 0}));  // hour hand at 304°, radius 60
    EXPECT_EQ(storePixel(canvas, 256, 192), (Rgb{100, 100, 100}));  // the Earth picture at 135°
}

TEST_F(ClockFaceAt10h08, NumeralsInTheirHuesAndTheDateTextBelowTheDial) {
    drawAt(tenOhEightThirty);
    const Canvas& canvas = *face.clockCanvas;
    // 12 at the top in hue 240, 3 at the right in hue 150, 6 at the bottom in 60.
    EXPECT_GT(countInRect(canvas, 176, 400, 216, 448, Rgb{51, 51, 255}), 10);
    EXPECT_GT(countInRect(canvas, 340, 215, 392, 265, Rgb{51, 255, 153}), 10);
    EXPECT_GT(countInRect(canvas, 176, 60, 216, 110, Rgb{255, 255, 51}), 10);
    EXPECT_EQ(countInRect(canvas, 176, 400, 216, 448, Rgb{51, 255, 153}), 0);
    EXPECT_GT(countInRect(canvas, 60, 8, 332, 40, Rgb{255, 255, 255}), 50);
}

// Between fifteen and thirty seconds the dial shows the Moon; before any globe
// picture it shows none.
TEST_F(ClockFaceAt10h08, TheMoonShowsBetweenFifteenAndThirtySecondsAndNoPictureBeforeAnyGlobe) {
    drawAt(tenOhEightThirty - 10);  // seconds 20.5
    EXPECT_EQ(storePixel(*face.clockCanvas, 256, 192), (Rgb{0, 0, 200}));
    face.globes.earthGlobe.reset();
    drawAt(tenOhEightThirty);
    EXPECT_EQ(storePixel(*face.clockCanvas, 256, 192), (Rgb{0, 0, 0}));
}

// The background of globe, marks and numerals is kept between ticks; a face that
// has ticked before must show exactly what a fresh one shows.
TEST_F(ClockFaceAt10h08, AKeptBackgroundDrawsTheSamePictureAsAFreshOne) {
    drawAt(tenOhEightThirty - 10);  // the Moon
    drawAt(tenOhEightThirty);       // the Earth
    // A minute's rendering replaces the pictures, perhaps at the old addresses:
    // here the same Earth object gets new pixels and a new generation.
    Image& earth = *face.globes.earthGlobe;
    std::memset(earth.pixelStore.get(), 90, static_cast<std::size_t>(earth.stride) * earth.height);
    ++face.globes.earthGeneration;
    drawAt(tenOhEightThirty + 1);

    FaceState fresh;
    facetest::buildSurfaces(fresh, unit);
    fresh.globes.earthGlobe = plainPicture(*fresh.globeCanvas, Color::bytes(90, 90, 90));
    drawClockFace(fresh, facetest::clockAt(facetest::december9th2026, tenOhEightThirty + 1));

    const Canvas& kept = *face.clockCanvas;
    const auto bytes = static_cast<std::size_t>(3 * kept.displayWidth() * kept.displayHeight());
    ASSERT_EQ(kept.displayWidth(), fresh.clockCanvas->displayWidth());
    EXPECT_EQ(std::memcmp(kept.display.get(), fresh.clockCanvas->display.get(), bytes), 0);
    EXPECT_EQ(storePixel(kept, 256, 192), (Rgb{90, 90, 90}));
}

// Tick by tick over a minute and a half (the Earth and the Moon taking turns,
// the date line changing every second, the minute turning), a face drawn
// incrementally holds exactly what a whole redraw at the same moment holds, in
// its store and its display; and every display pixel that changed since the
// tick before lies in an area the tick reported.
TEST_F(ClockFaceAt10h08, TickByTickTheFaceIsTheWholeFaceAndTheDamageHoldsEveryChange) {
    drawAt(tenOhEightThirty - 20);
    const Canvas& canvas = *face.clockCanvas;
    const auto displayBytes = static_cast<std::size_t>(3 * canvas.displayWidth() * canvas.displayHeight());
    const auto storeBytes = static_cast<std::size_t>(3 * canvas.width * canvas.height);
    std::vector<std::uint8_t> previous(canvas.display.get(), canvas.display.get() + displayBytes);
    int incremental = 0;
    for (double t = tenOhEightThirty - 19.75; t < tenOhEightThirty + 70.0; t += 0.25) {
        const auto clock = facetest::clockAt(facetest::december9th2026, t);
        const FaceDamage damage = drawClockFace(face, clock);
        incremental += damage.clock.size() > 1;
        const std::vector<std::uint8_t> store(canvas.pixels.get(), canvas.pixels.get() + storeBytes);
        const std::vector<std::uint8_t> shown(canvas.display.get(), canvas.display.get() + displayBytes);
        for (std::int32_t row = 0; row < canvas.displayHeight(); ++row) {
            for (std::int32_t column = 0; column < canvas.displayWidth(); ++column) {
                const std::size_t i = 3 * static_cast<std::size_t>(row * canvas.displayWidth() + column);
                if (std::memcmp(&shown[i], &previous[i], 3) == 0) {
                    continue;
                }
                bool reported = false;
                for (const StoreRect& area : damage.clock) {
                    reported = reported || (2 * column >= area.left && 2 * column < area.right &&
                                            2 * row >= area.bottom && 2 * row < area.top);
                }
                ASSERT_TRUE(reported) << "display pixel " << column << "," << row << " changed unreported at " << t;
            }
        }
        previous = shown;

        face.lastFrame.valid = false;
        static_cast<void>(drawClockFace(face, clock));
        ASSERT_EQ(std::memcmp(store.data(), canvas.pixels.get(), storeBytes), 0) << "store at " << t;
        ASSERT_EQ(std::memcmp(shown.data(), canvas.display.get(), displayBytes), 0) << "display at " << t;
    }
    EXPECT_GT(incremental, 300) << "most ticks redraw parts, not the whole face";
}

// Within a day only the turn of a minute redraws the calendar; a jump of the
// wall clock to another day (a clock set right, a machine woken up) redraws it
// at the next tick, as that day's calendar.
TEST_F(ClockFaceAt10h08, AJumpToAnotherDayRedrawsTheCalendarAtTheNextTick) {
    drawAt(tenOhEightThirty);
    ASSERT_TRUE(face.calendarDay.has_value()) << "the first tick draws the calendar of its day";
    EXPECT_FALSE(drawClockFace(face, facetest::clockAt(facetest::december9th2026, tenOhEightThirty + 0.25)).calendar);
    const Canvas& calendar = *face.calendarCanvas;
    const auto bytes = static_cast<std::size_t>(3 * calendar.displayWidth() * calendar.displayHeight());
    const std::vector<std::uint8_t> dayBefore(calendar.display.get(), calendar.display.get() + bytes);

    const auto nextDay = facetest::clockAt(facetest::december9th2026 + 1, tenOhEightThirty + 0.5);
    EXPECT_TRUE(drawClockFace(face, nextDay).calendar);
    const std::vector<std::uint8_t> dayAfter(calendar.display.get(), calendar.display.get() + bytes);
    EXPECT_NE(dayAfter, dayBefore);
    FaceState fresh;
    facetest::buildSurfaces(fresh, unit);
    drawCalendar(fresh, nextDay);
    EXPECT_EQ(std::memcmp(dayAfter.data(), fresh.calendarCanvas->display.get(), bytes), 0)
        << "the next day's own calendar";
}
