#include "tools/soak/MemoryGrowth.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

namespace {
constexpr std::uint64_t base = 18 * 1'048'576ULL;  // a resident set of 18 MB
constexpr std::uint64_t megabyte = 1'048'576;
}  // namespace

// Readings as the soak takes them (minute 5 and minute 60 of every hour) and
// the verdict on them: the limit met exactly, passed by a byte, memory given
// back, and the first reading at the last unit chosen over the run's first one.
TEST(MemoryGrowth, ComparesTheLastReadingWithTheFirstAtItsUnit) {
    const struct {
        const char* what;
        std::vector<MemoryReading> readings;
        std::size_t first;  // index of the reading compared with the last
        std::int64_t growthBytes;
        bool withinLimit;
    } cases[] = {
        {"one hour, flat", {{1, 5, 28, base}, {1, 60, 28, base}}, 0, 0, true},
        {"one hour, grown by exactly 1 MB", {{1, 5, 28, base}, {1, 60, 28, base + megabyte}}, 0, 1'048'576, true},
        {"one hour, grown by 1 MB and a byte", {{1, 5, 28, base}, {1, 60, 28, base + megabyte + 1}}, 0, 1'048'577, false},
        {"memory given back", {{1, 5, 28, base}, {1, 60, 28, base - 3 * megabyte}}, 0, -3'145'728, true},
        {"five hours: hour 5 at unit 28 against hour 1",
         {{1, 5, 28, base}, {1, 60, 28, base}, {2, 5, 40, base + 4 * megabyte}, {2, 60, 40, base + 4 * megabyte},
          {3, 5, 20, base - megabyte}, {3, 60, 20, base - megabyte}, {4, 5, 33, base + 2 * megabyte},
          {4, 60, 33, base + 2 * megabyte}, {5, 5, 28, base + 2 * megabyte}, {5, 60, 28, base + 2 * megabyte}},
         0, 2'097'152, false},
        {"six hours: hour 6 at unit 40 against hour 2, not against the hour before",
         {{1, 5, 28, base}, {1, 60, 28, base}, {2, 5, 40, base + 4 * megabyte}, {2, 60, 40, base + 4 * megabyte},
          {3, 5, 20, base}, {3, 60, 20, base}, {4, 5, 33, base}, {4, 60, 33, base}, {5, 5, 28, base}, {5, 60, 28, base},
          {6, 5, 40, base + 4 * megabyte}, {6, 60, 40, base + 4 * megabyte + megabyte / 2}},
         2, 524'288, true},
    };
    for (const auto& c : cases) {
        const std::optional<GrowthVerdict> verdict = judgeGrowth(c.readings);
        ASSERT_TRUE(verdict.has_value()) << c.what;
        const MemoryReading& first = c.readings[c.first];
        EXPECT_EQ(verdict->first.hour, first.hour) << c.what;
        EXPECT_EQ(verdict->first.minute, first.minute) << c.what;
        EXPECT_EQ(verdict->last.hour, c.readings.back().hour) << c.what;
        EXPECT_EQ(verdict->last.minute, c.readings.back().minute) << c.what;
        EXPECT_EQ(verdict->growthBytes, c.growthBytes) << c.what;
        EXPECT_EQ(verdict->withinLimit, c.withinLimit) << c.what;
    }
}

TEST(MemoryGrowth, NoReadingsNoVerdict) { EXPECT_FALSE(judgeGrowth({}).has_value()); }
