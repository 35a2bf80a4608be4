#include "platform/Autostart.h"
#include "tests/support/Results.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <fstream>
#include <iterator>
#include <set>
#include <sstream>
#include <string>
#include <vector>

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

std::string contents(const std::filesystem::path& file) {
    std::ifstream in(file, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

TEST_F(AutostartTest, MadeRecognisedAndRemoved) {
    EXPECT_EQ(platform::autostartEntryFor(folder, program, ""), platform::AutostartEntry::Absent);
    ASSERT_TRUE(testsupport::succeeded(platform::addAutostart(folder, program, "")));
    EXPECT_TRUE(platform::autostartStarts(folder, program, ""));
    EXPECT_TRUE(testsupport::succeeded(platform::removeAutostart(folder, other, "")))
        << "another copy has nothing to remove";
    EXPECT_TRUE(platform::autostartStarts(folder, program, ""));
    EXPECT_TRUE(testsupport::succeeded(platform::removeAutostart(folder, program, "")));
    EXPECT_FALSE(std::filesystem::exists(platform::autostartEntry(folder, "")));
    EXPECT_TRUE(std::filesystem::is_empty(folder));
    EXPECT_TRUE(testsupport::succeeded(platform::removeAutostart(folder, program, "")))
        << "nothing to remove is no failure";

#ifndef _WIN32
    // The clock's own desktop entry, turned off by the desktop's settings, is
    // turned on again by writing it anew.
    ASSERT_TRUE(testsupport::succeeded(platform::addAutostart(folder, program, "")));
    std::ofstream(platform::autostartEntry(folder, ""), std::ios::app) << "Hidden=true\n";
    EXPECT_EQ(platform::autostartEntryFor(folder, program, ""), platform::AutostartEntry::Disabled);
    EXPECT_TRUE(testsupport::succeeded(platform::addAutostart(folder, program, "")));
    EXPECT_TRUE(platform::autostartStarts(folder, program, ""));
#endif
}

// Whatever stands at the entry's name and is not the clock's own regular file
// for this very program is the user's: neither replaced, nor written through,
// nor removed, nor opened in a way that could wait; each refusal says why.
TEST_F(AutostartTest, WhatIsNotTheClocksOwnIsLeftAlone) {
    const std::filesystem::path entry = platform::autostartEntry(folder, "");
    ASSERT_TRUE(testsupport::succeeded(platform::addAutostart(folder, other, "")));
    const std::string othersEntry = contents(entry);
    EXPECT_EQ(platform::autostartEntryFor(folder, program, ""), platform::AutostartEntry::OtherProgram);
    EXPECT_NE(testsupport::reasonOf(platform::addAutostart(folder, program, "")).find("another program"),
              std::string::npos);
    EXPECT_TRUE(testsupport::succeeded(platform::removeAutostart(folder, program, "")));
    EXPECT_EQ(contents(entry), othersEntry);
    std::filesystem::remove(entry);

    const std::filesystem::path scratchFile = scratch.path / "scratch.txt";
    std::ofstream(scratchFile) << "the user's own text\n";
    std::error_code refused;
    std::filesystem::create_symlink(scratchFile, entry, refused);
    if (!refused) {
        EXPECT_EQ(platform::autostartEntryFor(folder, program, ""), platform::AutostartEntry::NotAFile);
        EXPECT_NE(testsupport::reasonOf(platform::addAutostart(folder, program, "")).find("not a regular file"),
                  std::string::npos);
        EXPECT_EQ(contents(scratchFile), "the user's own text\n");
        EXPECT_TRUE(std::filesystem::is_symlink(entry));
        std::filesystem::remove(entry);
    }
#ifndef _WIN32
    // A FIFO without a writer: reading it in the usual way waits forever.
    ASSERT_EQ(::mkfifo(entry.c_str(), 0600), 0);
    EXPECT_EQ(platform::autostartEntryFor(folder, program, ""), platform::AutostartEntry::NotAFile);
    EXPECT_FALSE(platform::addAutostart(folder, program, ""));
    EXPECT_TRUE(std::filesystem::is_fifo(entry));
    std::filesystem::remove(entry);

    // A path that is not UTF-8 cannot stand in a desktop entry.
    const std::filesystem::path latin1 = scratch.path / "caf\xe9" / "horavel";
    std::filesystem::create_directories(latin1.parent_path());
    std::ofstream(latin1) << "a program";
    EXPECT_NE(testsupport::reasonOf(platform::addAutostart(folder, latin1, "")).find("UTF-8"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(entry));
#endif
}

// Each zone's clock has an entry of its own, which starts the program with
// --zone and the zone's name: the local clock's and the zones', among them
// names that a careless mapping to file names would make one, are each made
// and removed without touching the others, and an entry is this clock's only
// when it shows this clock's zone.
TEST_F(AutostartTest, EachZoneHasAnEntryOfItsOwn) {
    const std::vector<std::string> zones = {"",
                                            "Asia/Tokyo",
                                            "America/Argentina/Buenos_Aires",
                                            "America/Argentina/Buenos-Aires",
                                            "America/Argentina/Buenos/Aires",
                                            "America/Argentina.Buenos_Aires",
                                            "Etc/GMT+5",
                                            "Etc/GMT-5",
                                            "Etc/GMT_p5"};
    std::set<std::filesystem::path> entries;
    for (const std::string& zone : zones) {
        EXPECT_EQ(platform::autostartEntryFor(folder, program, zone), platform::AutostartEntry::Absent) << zone;
        ASSERT_TRUE(testsupport::succeeded(platform::addAutostart(folder, program, zone))) << zone;
        entries.insert(platform::autostartEntry(folder, zone));
    }
    EXPECT_EQ(entries.size(), zones.size());
    EXPECT_EQ(static_cast<std::size_t>(std::distance(std::filesystem::directory_iterator(folder),
                                                     std::filesystem::directory_iterator())),
              zones.size());
#ifndef _WIN32
    EXPECT_NE(contents(platform::autostartEntry(folder, "Asia/Tokyo")).find(" --zone \"Asia/Tokyo\"\n"),
              std::string::npos);
#endif

    // Another clock's entry under this clock's name is not this clock's.
    const std::filesystem::path copies = scratch.path / "copies";
    std::filesystem::create_directories(copies);
    const auto copied = [&](std::string_view from, std::string_view to) {
        std::filesystem::copy_file(platform::autostartEntry(folder, from), platform::autostartEntry(copies, to));
        return platform::autostartEntryFor(copies, program, to);
    };
    EXPECT_EQ(copied("", "Asia/Tokyo"), platform::AutostartEntry::OtherProgram);
    EXPECT_EQ(copied("Asia/Tokyo", ""), platform::AutostartEntry::OtherProgram);
    EXPECT_EQ(copied("America/Argentina/Buenos_Aires", "America/Argentina/Buenos-Aires"),
              platform::AutostartEntry::OtherProgram);

    for (std::size_t i = 0; i < zones.size(); ++i) {
        ASSERT_TRUE(testsupport::succeeded(platform::removeAutostart(folder, program, zones[i]))) << zones[i];
        EXPECT_FALSE(std::filesystem::exists(platform::autostartEntry(folder, zones[i]))) << zones[i];
        for (std::size_t j = i + 1; j < zones.size(); ++j) {
            EXPECT_TRUE(platform::autostartStarts(folder, program, zones[j])) << zones[j] << " after " << zones[i];
        }
    }
}

TEST_F(AutostartTest, AFolderThatCannotBeMadeFails) {
    std::ofstream(folder) << "a file, not a folder";
    EXPECT_FALSE(testsupport::reasonOf(platform::addAutostart(folder, program, "")).empty());
    EXPECT_FALSE(platform::autostartStarts(folder, program, ""));
    EXPECT_FALSE(platform::addAutostart({}, program, ""));
}

}  // namespace
