#include "app/CommandLine.h"

#include "HoravelVersion.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Each command line against what the clock does with it: run, or end with a
// status after one text, and where that text goes.
TEST(CommandLine, RunsAnswersOrRefuses) {
    const std::string version = std::string("horavel ") + horavelVersion + "\n";
    const std::string unknown = "horavel: unknown option '--no-such-option' (see horavel --help)\n";
    const std::string noZone = "horavel: --zone needs the name of a time zone, such as Asia/Tokyo (see horavel --help)\n";
    const struct {
        std::vector<std::string> arguments;
        bool runsClock;
        int exitCode;
        std::string text;  // "usage" for the usage text
        bool isError;
    } cases[] = {
        {{}, true, 0, "", false},
        {{"--version"}, false, 0, version, false},
        {{"--help"}, false, 0, "usage", false},
        {{"--version", "--help"}, false, 0, "usage", false},
        {{"--no-such-option"}, false, 2, unknown, true},
        // A refusal names the first argument it cannot take, whatever comes with it.
        {{"--help", "--no-such-option", "-x"}, false, 2, unknown, true},
        {{"--version=1"}, false, 2, "horavel: unknown option '--version=1' (see horavel --help)\n", true},
        {{"-h"}, false, 2, "horavel: unknown option '-h' (see horavel --help)\n", true},
        {{"Europe/Paris"}, false, 2, "horavel: unexpected argument 'Europe/Paris' (see horavel --help)\n", true},
        {{""}, false, 2, "horavel: unexpected argument '' (see horavel --help)\n", true},
        {{"--zone", "Asia/Tokyo"}, true, 0, "", false},
        {{"--zone=Asia/Tokyo"}, true, 0, "", false},
        {{"--zone"}, false, 2, noZone, true},
        {{"--zone="}, false, 2, noZone, true},
        {{"--zone", "Asia/Tokyo", "--help"}, false, 0, "usage", false},
    };
    for (const auto& c : cases) {
        const std::string given = ::testing::PrintToString(c.arguments);
        const CommandLineAnswer answer = readCommandLine(c.arguments);
        EXPECT_EQ(answer.runsClock, c.runsClock) << given;
        EXPECT_EQ(answer.exitCode, c.exitCode) << given;
        EXPECT_EQ(answer.isError, c.isError) << given;
        EXPECT_EQ(answer.zone, c.runsClock && !c.arguments.empty() ? "Asia/Tokyo" : "") << given;
        if (c.text == "usage") {
            EXPECT_TRUE(answer.text.starts_with("usage: horavel [--zone NAME | --help | --version]\n")) << answer.text;
            EXPECT_NE(answer.text.find("  --version "), std::string::npos) << answer.text;
        } else {
            EXPECT_EQ(answer.text, c.text) << given;
        }
    }
}

}  // namespace
