#include "tools/soak/OffsetWatch.h"
#include "tools/soak/SimulatedClock.h"
#include "tools/soak/Soak.h"
#include "tools/soak/SoakOptions.h"
#include "tools/common/IsoTime.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {

constexpr std::int64_t ticksPerSecond = 10'000'000;
constexpr std::uint64_t minuteTicks = 600'000'000;
constexpr std::int64_t hourSeconds = 3600;
// Summer time in the European Union in 2026, as 100-ns ticks since 1601 (Python's
// datetime): from 2026-03-29 01:00 UT to 2026-10-25 01:00 UT.
constexpr std::uint64_t summerBegins = 134'192'196'000'000'000ULL;
constexpr std::uint64_t summerEnds = 134'373'636'000'000'000ULL;

platform::FileTime shifted(platform::FileTime utc, std::int64_t offsetSeconds) {
    return platform::FileTime::fromTicks(utc.ticks() + static_cast<std::uint64_t>(offsetSeconds * ticksPerSecond));
}

// Central European time with the 2026 change dates, whatever the zone the tests
// run in.
platform::FileTime centralEurope(platform::FileTime utc) {
    const bool summer = utc.ticks() >= summerBegins && utc.ticks() < summerEnds;
    return shifted(utc, (summer ? 2 : 1) * hourSeconds);
}

// A zone with no daylight saving, west of Greenwich.
platform::FileTime newfoundlandWithoutSummer(platform::FileTime utc) { return shifted(utc, -12'600); }

platform::FileTime ticks(std::uint64_t count) { return platform::FileTime::fromTicks(count); }

}  // namespace

// The moments seen, a minute apart, with the offsets they had, and the changes
// that must be reported: hand-made sequences.
TEST(OffsetWatch, ReportsEveryChangeOfTheOffsetAtTheFirstMomentAfterIt) {
    struct Seen {
        std::uint64_t minute;
        std::int64_t offsetSeconds;
    };
    struct Change {
        std::uint64_t minute;
        std::int64_t beforeSeconds;
        std::int64_t afterSeconds;
    };
    const struct {
        const char* what;
        std::vector<Seen> seen;
        std::vector<Change> expected;
    } cases[] = {
        {"one moment", {{0, 7200}}, {}},
        {"a steady offset west of Greenwich", {{0, -12'600}, {1, -12'600}, {2, -12'600}}, {}},
        {"summer time ends",
         {{0, 7200}, {1, 7200}, {2, 3600}, {3, 3600}},
         {{2, 7200, 3600}}},
        {"summer time begins, then ends",
         {{0, 3600}, {1, 7200}, {2, 7200}, {3, 3600}},
         {{1, 3600, 7200}, {3, 7200, 3600}}},
        {"a zone moving across the date line", {{0, -36'000}, {1, 50'400}}, {{1, -36'000, 50'400}}},
    };
    for (const auto& c : cases) {
        OffsetWatch watch;
        for (const Seen& seen : c.seen) {
            const platform::FileTime utc = ticks(summerEnds + seen.minute * minuteTicks);
            watch.observe(utc, shifted(utc, seen.offsetSeconds));
        }
        ASSERT_EQ(watch.changes().size(), c.expected.size()) << c.what;
        for (std::size_t i = 0; i < c.expected.size(); ++i) {
            const OffsetChange& change = watch.changes()[i];
            EXPECT_EQ(change.firstUtc.ticks(), summerEnds + c.expected[i].minute * minuteTicks) << c.what;
            EXPECT_EQ(change.beforeSeconds, c.expected[i].beforeSeconds) << c.what;
            EXPECT_EQ(change.afterSeconds, c.expected[i].afterSeconds) << c.what;
        }
    }
}

// The soak's own start crosses the end of summer time half an hour in; a year's
// run crosses both changes; a zone without daylight saving crosses none.
TEST(SoakRun, FindsTheChangesTheRunCrosses) {
    const platform::FileTime start = SoakOptions{}.startUtc;
    const std::vector<OffsetChange> oneHour = offsetChangesOfRun(start, 1, centralEurope);
    ASSERT_EQ(oneHour.size(), 1u);
    EXPECT_EQ(formatIsoTime(oneHour[0].firstUtc), "2026-10-25T01:00:00Z");
    EXPECT_EQ(oneHour[0].beforeSeconds, 2 * hourSeconds);
    EXPECT_EQ(oneHour[0].afterSeconds, hourSeconds);

    const std::vector<OffsetChange> year = offsetChangesOfRun(ticks(summerBegins - 60 * minuteTicks), 8784, centralEurope);
    ASSERT_EQ(year.size(), 2u);
    EXPECT_EQ(year[0].firstUtc.ticks(), summerBegins);
    EXPECT_EQ(year[1].firstUtc.ticks(), summerEnds);

    EXPECT_TRUE(offsetChangesOfRun(start, 24, newfoundlandWithoutSummer).empty());
    // A run that ends before the change crosses nothing.
    EXPECT_TRUE(offsetChangesOfRun(ticks(summerEnds - 61 * minuteTicks), 1, centralEurope).empty());
}

// Four steps of 250 ms are a second; the local time goes back an hour as summer
// time ends, the universal time running on.
TEST(SimulatedClock, LocalTimeFollowsTheZoneAsTheClockIsAdvanced) {
    constexpr std::uint64_t tickPeriod = 2'500'000;  // 250 ms
    SimulatedClock clock(ticks(summerEnds - 2 * tickPeriod), centralEurope);
    EXPECT_EQ(clock.localNow().ticks(), summerEnds - 2 * tickPeriod + 2 * hourSeconds * ticksPerSecond);
    clock.advance(tickPeriod);
    EXPECT_EQ(clock.utcNow().ticks(), summerEnds - tickPeriod);
    EXPECT_EQ(clock.localNow().ticks(), summerEnds - tickPeriod + 2 * hourSeconds * ticksPerSecond);
    clock.advance(tickPeriod);
    EXPECT_EQ(clock.utcNow().ticks(), summerEnds);
    EXPECT_EQ(clock.localNow().ticks(), summerEnds + hourSeconds * ticksPerSecond);
    for (int i = 0; i < 4; ++i) {
        clock.advance(tickPeriod);
    }
    EXPECT_EQ(clock.utcNow().ticks(), summerEnds + ticksPerSecond);
    EXPECT_EQ(clock.localNow().ticks(), summerEnds + ticksPerSecond + hourSeconds * ticksPerSecond);
}
