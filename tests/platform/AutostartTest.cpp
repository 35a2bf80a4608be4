#include "platform/Autostart.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <fstream>

namespace {

// A program whose path holds what a session's command line or a shortcut must
// carry through unharmed: spaces, quotes, a dollar, a percent and an ampersand.
class AutostartTest : public ::testing::Test {
protected:
    void SetUp() override {
        program = scratch.path / "my clock's $HOME 100% & co" / "horavel.exe";
        other = scratch.path / "elsewhere" / "horavel.exe";
        for (const auto& file : {program, other}) {
            std::filesystem::create_directories(file.parent_path());
            std::ofstream(file) << "a program";
        }
    }
    testsupport::ScratchFolder scratch{"horavel-autostart-"};
    std::filesystem::path folder = scratch.path / "autostart";
    std::filesystem::path program;
    std::filesystem::path other;
};

TEST_F(AutostartTest, MadeRecognisedAndRemoved) {
    EXPECT_FALSE(platform::autostartStarts(folder, program));
    ASSERT_TRUE(platform::addAutostart(folder, program));
    EXPECT_TRUE(std::filesystem::exists(platform::autostartEntry(folder)));
    EXPECT_TRUE(platform::autostartStarts(folder, program));
    EXPECT_FALSE(platform::autostartStarts(folder, other)) << "the entry starts this very program";
    EXPECT_TRUE(platform::removeAutostart(folder, other));
    EXPECT_TRUE(platform::autostartStarts(folder, program)) << "another copy's removal leaves it";
    EXPECT_TRUE(platform::removeAutostart(folder, program));
    EXPECT_FALSE(std::filesystem::exists(platform::autostartEntry(folder)));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_TRUE(platform::removeAutostart(folder, program)) << "nothing to remove is no failure";
}

TEST_F(AutostartTest, AnEntryForAnotherProgramIsReplaced) {
    ASSERT_TRUE(platform::addAutostart(folder, other));
    EXPECT_FALSE(platform::autostartStarts(folder, program));
    ASSERT_TRUE(platform::addAutostart(folder, program));
    EXPECT_TRUE(platform::autostartStarts(folder, program));
    EXPECT_FALSE(platform::autostartStarts(folder, other));
}

TEST_F(AutostartTest, AFolderThatCannotBeMadeFails) {
    std::ofstream(folder) << "a file, not a folder";
    EXPECT_FALSE(platform::addAutostart(folder, program));
    EXPECT_FALSE(platform::autostartStarts(folder, program));
    EXPECT_FALSE(platform::addAutostart({}, program));
}

}  // namespace
