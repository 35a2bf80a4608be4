#include "tools/soak/SoakOptions.h"

#include "tools/common/IsoTime.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

bool parse(std::vector<const char*> arguments, SoakOptions& options, std::string& error) {
    arguments.insert(arguments.begin(), "horavel-soak");
    return parseSoakOptions(static_cast<int>(arguments.size()), arguments.data(), options, error);
}

}  // namespace

TEST(SoakOptions, DefaultsToOneHourFromHalfAnHourBeforeSummerTimeEnds) {
    SoakOptions options;
    std::string error;
    ASSERT_TRUE(parse({}, options, error));
    EXPECT_EQ(options.hours, 1);
    EXPECT_EQ(formatIsoTime(options.startUtc), "2026-10-25T00:30:00Z");
    EXPECT_FALSE(options.help);
}

TEST(SoakOptions, ReadsHoursAndStart) {
    SoakOptions options;
    std::string error;
    ASSERT_TRUE(parse({"--hours", "24", "--at", "2026-03-29T02:30:00+02:00"}, options, error)) << error;
    EXPECT_EQ(options.hours, 24);
    EXPECT_EQ(formatIsoTime(options.startUtc), "2026-03-29T00:30:00Z");
    ASSERT_TRUE(parse({"--hours", "8784", "--help"}, options, error)) << error;
    EXPECT_EQ(options.hours, 8784);
    EXPECT_TRUE(options.help);
}

TEST(SoakOptions, RefusesBadArgumentsWithTheReason) {
    const struct {
        std::vector<const char*> arguments;
        const char* reasonStart;
    } cases[] = {
        {{"--hours", "0"}, "--hours wants"},
        {{"--hours", "8785"}, "--hours wants"},
        {{"--hours", "-3"}, "--hours wants"},
        {{"--hours", "1.5"}, "--hours wants"},
        {{"--hours", "24h"}, "--hours wants"},
        {{"--hours"}, "--hours needs a value"},
        {{"--hours", ""}, "--hours needs a value"},
        {{"--at", "2026-10-25T00:30:00"}, "--at wants"},  // no zone
        {{"--at"}, "--at needs a value"},
        {{"--unit", "28"}, "unknown argument '--unit'"},
        {{"24"}, "unknown argument '24'"},
    };
    for (const auto& c : cases) {
        SoakOptions options;
        std::string error;
        EXPECT_FALSE(parse(c.arguments, options, error)) << c.reasonStart;
        EXPECT_EQ(error.rfind(c.reasonStart, 0), 0u) << error;
    }
}
