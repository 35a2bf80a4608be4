#include "astro/TimeZone.h"
#include "astro/ZoneClock.h"
#include "platform/ZoneDatabase.h"
#include "tests/support/Results.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <cstdlib>
#include <ctime>
#include <optional>
#endif

namespace {

std::span<const std::uint8_t> asBytes(const std::string& text) {
    return {reinterpret_cast<const std::uint8_t*>(text.data()), text.size()};
}

}  // namespace

// The offsets of three zones whose clocks differ from their neighbours' by
// half or quarter hours, on both sides of a change, read from the database the
// program reads (on Windows the folder shipped beside it). The moments after
// 2037 lie past the last transition of every build of the database, where the
// zone file's closing rule decides. The history is the zone database's own
// (Kathmandu: local mean time 5:41:16 until 1920, 5:30 until 1986, then 5:45;
// St. John's: daylight time from 00:01 on the first Sunday of April in 2000,
// from 02:00 on the second Sunday of March, until 02:00 on the first Sunday of
// November, from 2011; Lord Howe Island: 10:30, and 11:00 from 02:00 on the
// first Sunday of October until 02:00 on the first Sunday of April); each
// moment was checked with GNU date.
TEST(TimeZone, OffsetsOnBothSidesOfChangesFromTheProgramsDatabase) {
    struct Case {
        const char* zone;
        std::int64_t unixSeconds;  // the universal moment
        std::int64_t offsetSeconds;
    };
    const Case cases[] = {
        {"Asia/Kathmandu", -1'596'412'800, 20'476},      // 1919-06-01T00:00:00Z
        {"Asia/Kathmandu", 504'901'799, 19'800},         // 1985-12-31T18:29:59Z
        {"Asia/Kathmandu", 504'901'800, 20'700},         // 1985-12-31T18:30:00Z
        {"Asia/Kathmandu", 2'540'246'400, 20'700},       // 2050-07-01T00:00:00Z
        {"America/St_Johns", 954'646'259, -12'600},      // 2000-04-02T03:30:59Z
        {"America/St_Johns", 954'646'260, -9'000},       // 2000-04-02T03:31:00Z
        {"America/St_Johns", 2'530'762'199, -12'600},    // 2050-03-13T05:29:59Z
        {"America/St_Johns", 2'530'762'200, -9'000},     // 2050-03-13T05:30:00Z
        {"America/St_Johns", 2'551'321'799, -9'000},     // 2050-11-06T04:29:59Z
        {"America/St_Johns", 2'551'321'800, -12'600},    // 2050-11-06T04:30:00Z
        {"Australia/Lord_Howe", 1'207'407'599, 39'600},  // 2008-04-05T14:59:59Z
        {"Australia/Lord_Howe", 1'207'407'600, 37'800},  // 2008-04-05T15:00:00Z
        {"Australia/Lord_Howe", 2'532'524'399, 39'600},  // 2050-04-02T14:59:59Z
        {"Australia/Lord_Howe", 2'532'524'400, 37'800},  // 2050-04-02T15:00:00Z
        {"Australia/Lord_Howe", 2'548'250'999, 37'800},  // 2050-10-01T15:29:59Z
        {"Australia/Lord_Howe", 2'548'251'000, 39'600},  // 2050-10-01T15:30:00Z
    };
    for (const Case& c : cases) {
        const Result<TimeZone> zone = loadTimeZone(c.zone);
        ASSERT_TRUE(testsupport::succeeded(zone));
        EXPECT_EQ(zone->offsetSeconds(c.unixSeconds), c.offsetSeconds) << c.zone << " at " << c.unixSeconds;
    }

    // The same file read as version 1, from its 32-bit data alone, which
    // holds Kathmandu's three transitions whole.
    Result<std::string> bytes = platform::readZoneFile(platform::zoneDatabaseFolder(), "Asia/Kathmandu");
    ASSERT_TRUE(testsupport::succeeded(bytes));
    (*bytes)[4] = '\0';
    const Result<TimeZone> firstVersion = TimeZone::fromTzif(asBytes(*bytes));
    ASSERT_TRUE(testsupport::succeeded(firstVersion));
    for (const Case& c : cases) {
        if (std::string_view(c.zone) == "Asia/Kathmandu") {
            EXPECT_EQ(firstVersion->offsetSeconds(c.unixSeconds), c.offsetSeconds) << c.unixSeconds;
        }
    }
}

// A rule's change that its time of day carries back across the new year
// belongs to the next year's season: daylight time 6:00 ahead begins at -1:00
// on 1 January 2031, 18:00 UT on 31 December 2030, and ends on 27 October.
TEST(ZoneRule, ChangeCarriedBackAcrossTheNewYearBelongsToTheNextYear) {
    const std::optional<ZoneRule> rule = ZoneRule::parse("<+05>-5<+06>,0/-1,J300");
    ASSERT_TRUE(rule);
    EXPECT_EQ(rule->offsetSeconds(1'924'970'399), 18'000);  // 2030-12-31T17:59:59Z
    EXPECT_EQ(rule->offsetSeconds(1'924'970'400), 21'600);  // 2030-12-31T18:00:00Z
    EXPECT_EQ(rule->offsetSeconds(1'929'000'000), 21'600);  // 2031-02-16T09:20:00Z
}

// The zone's clock passes universal time through and moves local time by the
// zone's offset to the tick, before 1970 as after; a local time before 1601
// stays at 1601.
TEST(ZoneClock, LocalTimeIsUniversalTimeMovedByTheZonesOffset) {
    constexpr std::uint64_t ticksPerSecond = 10'000'000;
    const Result<TimeZone> kathmandu = loadTimeZone("Asia/Kathmandu");
    ASSERT_TRUE(testsupport::succeeded(kathmandu));
    // 1985-12-31T18:29:59.25Z and a second later, about the change from 5:30
    // to 5:45, and 1950-01-01T00:00:00.5Z (5:30), as ticks since 1601.
    constexpr std::uint64_t beforeChange = (11'644'473'600ULL + 504'901'799ULL) * ticksPerSecond + 2'500'000;
    constexpr std::uint64_t in1950 = (11'644'473'600ULL - 631'152'000ULL) * ticksPerSecond + 5'000'000;
    for (const auto& [utc, offsetSeconds] : {std::pair{beforeChange, 19'800ULL},
                                             std::pair{beforeChange + ticksPerSecond, 20'700ULL},
                                             std::pair{in1950, 19'800ULL}}) {
        const platform::FixedClock universal(platform::FileTime::fromTicks(utc), platform::FileTime{});
        const ZoneClock clock(universal, *kathmandu);
        EXPECT_EQ(clock.utcNow().ticks(), utc);
        EXPECT_EQ(clock.localNow().ticks(), utc + offsetSeconds * ticksPerSecond) << utc;
    }
    const Result<TimeZone> stJohns = loadTimeZone("America/St_Johns");
    ASSERT_TRUE(testsupport::succeeded(stJohns));
    EXPECT_EQ(localTimeIn(*stJohns, platform::FileTime::fromTicks(3600 * ticksPerSecond)).ticks(), 0U);
}

// What is not a whole zone file of the database is refused, with a reason of
// one line: a zone the database does not have, names that would lead out of
// it, a folder, a file that is not a zone file, and a zone file cut short
// anywhere.
TEST(TimeZone, RefusesWhatIsNotAWholeZoneOfTheDatabase) {
    const auto expectRefused = [](const Result<TimeZone>& zone, const std::string& what) {
        EXPECT_FALSE(zone) << what;
        const std::string reason = testsupport::reasonOf(zone);
        EXPECT_FALSE(reason.empty()) << what;
        EXPECT_EQ(reason.find('\n'), std::string::npos) << what;
    };
    for (const char* name :
         {"Mars/Olympus", "../etc/passwd", "/etc/passwd", "Asia//Tokyo", "", "Asia", "right/Asia/Tokyo", "asia/tokyo"}) {
        expectRefused(loadTimeZone(name), name);
    }

    const testsupport::ScratchFolder folder("horavel-zones-");
    std::filesystem::create_directories(folder.path / "Mars");
    std::ofstream(folder.path / "Mars" / "Olympus", std::ios::binary) << "Olympus Mons has no clocks\n";
    expectRefused(loadTimeZone(folder.path, "Mars/Olympus"), "a text file");

    const Result<std::string> bytes = platform::readZoneFile(platform::zoneDatabaseFolder(), "America/St_Johns");
    ASSERT_TRUE(testsupport::succeeded(bytes));
    ASSERT_TRUE(testsupport::succeeded(TimeZone::fromTzif(asBytes(*bytes))));
    for (std::size_t length = 0; length < bytes->size(); ++length) {
        // A copy of its own, so that the sanitizer sees a read past its end.
        const std::string cut = bytes->substr(0, length);
        expectRefused(TimeZone::fromTzif(asBytes(cut)), "cut at " + std::to_string(length));
    }
}

#ifndef _WIN32
namespace {

// The C library's offset (local minus universal time, seconds) for a moment
// in the zone TZ names.
std::int64_t libraryOffsetSeconds(std::int64_t unixSeconds) {
    const std::time_t moment = static_cast<std::time_t>(unixSeconds);
    std::tm local{};
    localtime_r(&moment, &local);
    return local.tm_gmtoff;
}

// Sets TZ for the life of the object, and the C library's zone with it.
class ScopedZone {
public:
    explicit ScopedZone(const std::string& zone) {
        if (const char* old = std::getenv("TZ")) {
            previous = old;
        }
        setenv("TZ", zone.c_str(), 1);
        tzset();
    }
    ~ScopedZone() {
        if (previous) {
            setenv("TZ", previous->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    ScopedZone(const ScopedZone&) = delete;
    ScopedZone& operator=(const ScopedZone&) = delete;

private:
    std::optional<std::string> previous;
};

// Compares the offsets at 400 moments from a year's start to 2100, spread
// over the seasons and hours (an odd number of seconds apart), and where the C
// library's offset changes between two of them, on both sides of the second
// it changes at.
template <typename Offset>
void expectAgreement(const Offset& ours, std::int64_t fromUnixSeconds, const std::string& what) {
    constexpr std::int64_t until2100 = 4'102'444'800;  // 2100-01-01T00:00:00Z
    const std::int64_t step = (until2100 - fromUnixSeconds) / 400 | 1;
    for (std::int64_t i = 0; i < 400; ++i) {
        const std::int64_t moment = fromUnixSeconds + i * step;
        ASSERT_EQ(ours(moment), libraryOffsetSeconds(moment)) << what << " at " << moment;
        const std::int64_t next = moment + step;
        if (libraryOffsetSeconds(next) == libraryOffsetSeconds(moment)) {
            continue;
        }
        // The first second with the new offset: the last change in the step.
        std::int64_t before = moment;
        std::int64_t after = next;
        while (after - before > 1) {
            const std::int64_t middle = before + (after - before) / 2;
            (libraryOffsetSeconds(middle) == libraryOffsetSeconds(next) ? after : before) = middle;
        }
        ASSERT_EQ(ours(before), libraryOffsetSeconds(before)) << what << " at " << before;
        ASSERT_EQ(ours(after), libraryOffsetSeconds(after)) << what << " at " << after;
    }
}

}  // namespace

// The C library reads the same zone files and rules on its own: every offset
// from 1900 agrees with it, for zones whose closing rules begin daylight time
// at 26:00 (Jerusalem), end it at -1:00 (Nuuk) or keep it in winter (Dublin),
// as for the zones above. The rules alone, written as TZ strings, agree too,
// with the day forms no zone file uses today, from 1971: the C library keeps
// a rule's daylight time only from then on.
TEST(TimeZone, AgreesWithTheCLibraryFrom1900To2100) {
    constexpr std::int64_t from1900 = -2'208'988'800;  // 1900-01-01T00:00:00Z
    constexpr std::int64_t from1971 = 31'536'000;      // 1971-01-01T00:00:00Z
    for (const char* name : {"Asia/Kathmandu", "America/St_Johns", "Australia/Lord_Howe", "America/New_York",
                             "Europe/London", "Asia/Jerusalem", "America/Nuuk", "Europe/Dublin"}) {
        const Result<TimeZone> zone = loadTimeZone(name);
        ASSERT_TRUE(testsupport::succeeded(zone));
        const ScopedZone library(name);
        expectAgreement([&](std::int64_t moment) { return zone->offsetSeconds(moment); }, from1900, name);
    }
    for (const char* text : {"<-03>3<-02>,J60/2,J300/2", "<+0330>-3:30<+0430>,0/0,J365/25",
                             "<+05>-5<+04>-4,59/-1:30,300/167", "<+13>-13<+14>,M9.5.0/3,M4.1.0/4"}) {
        const std::optional<ZoneRule> rule = ZoneRule::parse(text);
        ASSERT_TRUE(rule) << text;
        const ScopedZone library(text);
        expectAgreement([&](std::int64_t moment) { return rule->offsetSeconds(moment); }, from1971, text);
    }
}
#endif
