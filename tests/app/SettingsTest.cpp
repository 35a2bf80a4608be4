#include "app/Settings.h"
#include "tests/support/Results.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

TEST(Settings, ScansTheLineFieldByField) {
    const Settings defaults;
    const struct {
        const char* line;
        std::int32_t left, top, unit;
    } cases[] = {
        {"312 140 28", 312, 140, 28},
        {"10 20", 10, 20, 28},             // the unit missing
        {"  -5\t+7   40 trailing", -5, 7, 40},
        {"x 1 2", 0, 0, 28},               // the first field not a number
        {"", 0, 0, 28},
        {"10 abc 30", 10, 0, 28},          // the scan stops at the first failure
        {"0 0 0", 0, 0, 28},               // a unit of 0 is treated as absent
        {"1 2 -20", 1, 2, 28},
        {"1 2 7", 1, 2, 28},
        {"1 2 8", 1, 2, 8},
        {"1 2 200", 1, 2, 200},
        {"1 2 201", 1, 2, 28},
        {"1 2 99999999999999999999", 1, 2, 28},
        {"4294967296 2 30", 0, 0, 28},     // beyond 32 bits: not a field
        {"-2147483648 2147483647 30", -2147483647 - 1, 2147483647, 30},
    };
    for (const auto& c : cases) {
        const Settings s = parseSettingsLine(c.line, defaults);
        EXPECT_EQ(s.left, c.left) << '"' << c.line << '"';
        EXPECT_EQ(s.top, c.top) << '"' << c.line << '"';
        EXPECT_EQ(s.unit, c.unit) << '"' << c.line << '"';
    }
}

TEST(Settings, OnlyTheFirst127CharactersCount) {
    // "400" straddles the limit: only "40" is read.
    const std::string prefix = std::string(121, ' ') + "1 2 ";
    ASSERT_EQ(prefix.size(), 125u);
    EXPECT_EQ(parseSettingsLine(prefix + "400", Settings{}).unit, 40);
    // A unit wholly past the limit is not read at all.
    EXPECT_EQ(parseSettingsLine(std::string(123, ' ') + "1 2 30", Settings{}).unit, 28);
}

TEST(Settings, FormatsOneLine) {
    EXPECT_EQ(formatSettingsLine({312, 140, 28}), "312 140 28\n");
    EXPECT_EQ(formatSettingsLine({-8, -2147483647 - 1, 40}), "-8 -2147483648 40\n");
    EXPECT_EQ(formatSettingsLine({312, 140, 42, 144}), "312 140 42 144\n");
}

// The resolution is a fourth field, read only after a good unit; files without it
// were written at 96 DPI.
TEST(Settings, ReadsTheResolutionAfterTheUnit) {
    const struct {
        const char* line;
        std::int32_t unit, dpi;
    } cases[] = {
        {"1 2 42 144", 42, 144},
        {"1 2 40", 40, 96},
        {"1 2 40 47", 40, 96},      // below 50 %
        {"1 2 40 961", 40, 96},     // above 1000 %
        {"1 2 40 x", 40, 96},
        {"1 2 300 144", 28, 96},    // a damaged unit: the resolution with it
        {"1 2 60 288 9", 60, 288},  // more fields are ignored
    };
    for (const auto& c : cases) {
        const Settings s = parseSettingsLine(c.line, Settings{});
        EXPECT_EQ(s.unit, c.unit) << c.line;
        EXPECT_EQ(s.dpi, c.dpi) << c.line;
    }
}

// Staying on top is a fifth field, after a resolution that is then always
// written; only 1 means on top.
TEST(Settings, ReadsAlwaysOnTopAfterTheResolution) {
    const struct {
        const char* line;
        std::int32_t unit, dpi;
        bool onTop;
    } cases[] = {
        {"1 2 40 96 1", 40, 96, true},
        {"1 2 42 144 1", 42, 144, true},
        {"1 2 40 96 0", 40, 96, false},
        {"1 2 40 96 2", 40, 96, false},
        {"1 2 40 96 x", 40, 96, false},
        {"1 2 40", 40, 96, false},           // a file of three fields
        {"1 2 42 144", 42, 144, false},      // a file of four fields
        {"1 2 40 x 1", 40, 96, false},       // no resolution, nothing after it
        {"1 2 300 96 1", 28, 96, false},     // a damaged unit: the rest with it
        {"1 2 40 961 1", 40, 96, true},      // a damaged resolution alone
    };
    for (const auto& c : cases) {
        const Settings s = parseSettingsLine(c.line, Settings{});
        EXPECT_EQ(s.unit, c.unit) << c.line;
        EXPECT_EQ(s.dpi, c.dpi) << c.line;
        EXPECT_EQ(s.alwaysOnTop, c.onTop) << c.line;
    }
}

// Files of every kind written so far read back whole, and the programs that
// read three fields ("%ld %ld %ld") or four (the resolution after the unit,
// anything further ignored) still find the place, the unit and the resolution
// in a file that says on top.
TEST(Settings, NewFilesKeepTheFieldsOlderProgramsRead) {
    const Settings written[] = {
        {312, 140, 28, 96, false}, {312, 140, 42, 144, false},
        {-8, 60, 28, 96, true},    {-8, 60, 42, 144, true},
    };
    for (const Settings& settings : written) {
        const std::string line = formatSettingsLine(settings);
        EXPECT_EQ(parseSettingsLine(line, Settings{}), settings) << line;
        long left = 0, top = 0, unit = 0, dpi = 96;
        ASSERT_GE(std::sscanf(line.c_str(), "%ld %ld %ld %ld", &left, &top, &unit, &dpi), 3) << line;
        EXPECT_EQ(left, settings.left) << line;
        EXPECT_EQ(top, settings.top) << line;
        EXPECT_EQ(unit, settings.unit) << line;
        EXPECT_EQ(dpi, settings.dpi) << line;
    }
    EXPECT_EQ(formatSettingsLine({-8, 60, 28, 96, true}), "-8 60 28 96 1\n");
    EXPECT_EQ(formatSettingsLine({-8, 60, 28, 96, false}), "-8 60 28\n");
}

// The options come ninth, after desktop fields of 0 0 0 for an ordinary window,
// which a reader of eight fields takes for no place on the desktop; flags it
// does not know are passed over.
TEST(Settings, OptionsComeLastAndOlderReadersPassThem) {
    Settings chosen{-8, 60, 42, 144, true};
    chosen.options = {FirstWeekday::Monday, true};
    EXPECT_EQ(formatSettingsLine(chosen), "-8 60 42 144 1 0 0 0 3\n");
    EXPECT_EQ(parseSettingsLine(formatSettingsLine(chosen), Settings{}), chosen);
    Settings older = chosen;
    older.options = {};
    EXPECT_EQ(parseSettingsLine("-8 60 42 144 1 0 0 0", Settings{}), older);
    chosen.options.firstWeekday = FirstWeekday::Sunday;
    chosen.setDesktop({ScreenCorner::BottomRight, 12, 8});
    EXPECT_EQ(formatSettingsLine(chosen), "-8 60 42 144 1 4 12 8 2\n");
    EXPECT_EQ(parseSettingsLine("-8 60 42 144 1 4 12 8 6", Settings{}), chosen);
}

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("horavel-settings-" + std::string(::testing::UnitTest::GetInstance()->current_test_info()->name()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    void writeRaw(const std::string& content) {
        std::ofstream(settingsFilePath(folder), std::ios::binary) << content;
    }
    // The names in the folder, sorted.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(folder)) {
            found.push_back(entry.path().filename().string());
        }
        std::sort(found.begin(), found.end());
        return found;
    }
    std::filesystem::path folder;
};

TEST_F(SettingsFileTest, SavedSettingsReadBack) {
    EXPECT_TRUE(testsupport::succeeded(writeSettingsFile(folder, {312, 140, 40})));
    const Settings s = readSettingsFile(folder, Settings{}).value();
    EXPECT_EQ(s.left, 312);
    EXPECT_EQ(s.top, 140);
    EXPECT_EQ(s.unit, 40);
    // Saving again replaces the earlier content, and leaves nothing else behind.
    EXPECT_TRUE(testsupport::succeeded(writeSettingsFile(folder, {1, 2, 20})));
    EXPECT_EQ(readSettingsFile(folder, Settings{})->unit, 20);
    EXPECT_EQ(names(), std::vector<std::string>{"Settings.txt"});
}

// A write that cannot be completed leaves the old file exactly as it was and no
// temporary file behind: whether the folder is not a folder at all or refuses
// to have its settings file replaced (here by a folder standing in its place).
TEST_F(SettingsFileTest, AFailedWriteLeavesTheOldFileAndNothingElse) {
    writeRaw("7 8 40\n");
    const std::filesystem::path notAFolder = settingsFilePath(folder);
    EXPECT_FALSE(writeSettingsFile(notAFolder, {1, 2, 20}));
    EXPECT_FALSE(writeSettingsFile(folder / "absent", {1, 2, 20}));
    EXPECT_EQ(readSettingsFile(folder, Settings{})->unit, 40);
    EXPECT_EQ(names(), std::vector<std::string>{"Settings.txt"});

    const std::filesystem::path refusing = folder / "refusing";
    std::filesystem::create_directories(settingsFilePath(refusing) / "kept");
    EXPECT_FALSE(writeSettingsFile(refusing, {1, 2, 20}));
    EXPECT_TRUE(std::filesystem::exists(settingsFilePath(refusing) / "kept"));
    std::vector<std::string> left;
    for (const auto& entry : std::filesystem::directory_iterator(refusing)) {
        left.push_back(entry.path().filename().string());
    }
    EXPECT_EQ(left, std::vector<std::string>{"Settings.txt"});
}

// Only the first line is read; Windows line ends are fine, a byte-order mark
// before it is passed over (UTF-8, or UTF-16 as some shells write text) and
// garbage gives the defaults.
TEST_F(SettingsFileTest, ReadsTheFirstLine) {
    const struct {
        std::string content;
        std::int32_t left, top, unit;
    } cases[] = {
        {"5 6\n7 8 40\n", 5, 6, 28},
        {"\xEF\xBB\xBF" "100 100 40", 100, 100, 40},
        {std::string("\xFF\xFE" "1\0" "2\0" " \0" "3\0" " \0" "4\0" "0\0" "\r\0" "\n\0", 20), 12, 3, 40},
        {std::string("\xFE\xFF" "\0" "9" "\0" " " "\0" "8" "\0" " " "\0" "2" "\0" "0", 14), 9, 8, 20},
        {"9 10 20\r\n", 9, 10, 20},
        {std::string("\x01\xff\xfe garbage", 11), 0, 0, 28},
    };
    for (const auto& c : cases) {
        writeRaw(c.content);
        const Settings s = readSettingsFile(folder, Settings{}).value();
        EXPECT_EQ(s.left, c.left) << c.content;
        EXPECT_EQ(s.top, c.top) << c.content;
        EXPECT_EQ(s.unit, c.unit) << c.content;
    }
}

// Anything but a regular file in the settings file's place is never waited on
// or read: the defaults then, as for no file at all.
TEST_F(SettingsFileTest, OnlyARegularFileIsRead) {
    std::filesystem::create_directories(settingsFilePath(folder));
    EXPECT_FALSE(readSettingsFile(folder, Settings{}).has_value());
#ifndef _WIN32
    std::filesystem::remove(settingsFilePath(folder));
    // A FIFO without a writer: opening it for reading in the usual way waits
    // for one forever.
    ASSERT_EQ(::mkfifo(settingsFilePath(folder).c_str(), 0600), 0);
    EXPECT_FALSE(readSettingsFile(folder, Settings{}).has_value());
    // Nor is it replaced by a save.
    EXPECT_FALSE(writeSettingsFile(folder, {1, 2, 20}));
    EXPECT_EQ(std::filesystem::status(settingsFilePath(folder)).type(), std::filesystem::file_type::fifo);
#endif
}

// A settings file kept elsewhere (a folder of dotfiles) and linked in stays a
// link: its target gets the new line, in the target's own folder; a dangling
// link gets its target made.
TEST_F(SettingsFileTest, ALinkedFileStaysALink) {
    const std::filesystem::path kept = folder / "dotfiles" / "Horavel.txt";
    std::filesystem::create_directories(kept.parent_path());
    std::error_code refused;
    std::filesystem::create_symlink(kept, settingsFilePath(folder), refused);
    if (refused) {
        GTEST_SKIP() << "no symbolic links here: " << refused.message();
    }
    EXPECT_TRUE(testsupport::succeeded(writeSettingsFile(folder, {1, 2, 20}))) << "a dangling link";
    EXPECT_TRUE(std::filesystem::is_symlink(settingsFilePath(folder)));
    EXPECT_EQ(readSettingsFile(folder, Settings{})->unit, 20);
    EXPECT_TRUE(testsupport::succeeded(writeSettingsFile(folder, {1, 2, 40})));
    EXPECT_TRUE(std::filesystem::is_symlink(settingsFilePath(folder)));
    std::ifstream in(kept);
    std::string line;
    std::getline(in, line);
    EXPECT_EQ(line.substr(0, 6), "1 2 40");
}

// A link that leads to a file holding anything but settings (text of the
// user's, a system file) never makes the clock overwrite it: the save fails and
// says why, and the file stays byte for byte. An empty file may become one.
TEST_F(SettingsFileTest, ALinkToAnotherFileLeavesItAlone) {
    const std::filesystem::path foreign = folder / "notes.txt";
    const std::string notes = "root:x:0:0:root:/root:/bin/sh\n1 2 3 further down\n";
    std::ofstream(foreign, std::ios::binary) << notes;
    std::error_code refused;
    std::filesystem::create_symlink(foreign, settingsFilePath(folder), refused);
    if (refused) {
        GTEST_SKIP() << "no symbolic links here: " << refused.message();
    }
    EXPECT_NE(testsupport::reasonOf(writeSettingsFile(folder, {1, 2, 20})).find("holds no settings line"),
              std::string::npos);
    std::ifstream in(foreign, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), notes);
    std::ofstream(foreign, std::ios::trunc).close();
    EXPECT_TRUE(testsupport::succeeded(writeSettingsFile(folder, {1, 2, 20})))
        << "an empty file is the clock's to fill";
    EXPECT_TRUE(std::filesystem::is_symlink(settingsFilePath(folder)));
    EXPECT_EQ(readSettingsFile(folder, Settings{})->unit, 20);
}

TEST_F(SettingsFileTest, AFailedWriteSaysWhy) {
    std::filesystem::create_directories(settingsFilePath(folder) / "kept");
    const Result<> written = writeSettingsFile(folder, {1, 2, 20});
    EXPECT_FALSE(written);
    EXPECT_FALSE(testsupport::reasonOf(written).empty());
}

TEST_F(SettingsFileTest, MissingFilesAndFoldersReadAsNone) {
    const Settings defaults{3, 4, 40};
    EXPECT_FALSE(readSettingsFile(folder / "absent", defaults).has_value());
    EXPECT_FALSE(readSettingsFile({}, defaults).has_value());
    EXPECT_FALSE(writeSettingsFile(folder / "absent", defaults));
    EXPECT_FALSE(writeSettingsFile({}, defaults));
}

}  // namespace
