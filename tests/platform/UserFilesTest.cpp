#include "platform/CacheFolder.h"
#include "platform/ReplaceFile.h"
#include "platform/SettingsFolder.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>

namespace {

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

}  // namespace

// Pieces are written one after the other, as they stand; a text file gets the
// platform's line ends.
TEST(ReplaceFile, WritesPiecesAsTheyStandAndTextWithTheSystemsLineEnds) {
    const testsupport::ScratchFolder folder("horavel-user-files-");
    const std::filesystem::path file = folder.path / "file";
    const std::string binary("a\nb\0c", 5);
    ASSERT_TRUE(platform::replaceFile(file, {binary, "", "\r\n", std::string(100000, 'x')}));
    EXPECT_EQ(contentsOf(file), binary + "\r\n" + std::string(100000, 'x'));

    ASSERT_TRUE(platform::replaceTextFile(file, "one\ntwo\n"));
#ifdef _WIN32
    EXPECT_EQ(contentsOf(file), "one\r\ntwo\r\n");
#else
    EXPECT_EQ(contentsOf(file), "one\ntwo\n");
#endif
    EXPECT_FALSE(platform::replaceFile(folder.path / "absent" / "file", {binary}));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path), {}), 1) << "no temporary left";
}

#ifndef _WIN32
namespace {

// Sets an environment variable for the life of the object, or unsets it.
class ScopedVariable {
public:
    ScopedVariable(const char* name, const char* value) : variable(name) {
        if (const char* old = std::getenv(name)) {
            previous = old;
        }
        if (value != nullptr) {
            setenv(name, value, 1);
        } else {
            unsetenv(name);
        }
    }
    ~ScopedVariable() {
        if (previous) {
            setenv(variable, previous->c_str(), 1);
        } else {
            unsetenv(variable);
        }
    }
    ScopedVariable(const ScopedVariable&) = delete;
    ScopedVariable& operator=(const ScopedVariable&) = delete;

private:
    const char* variable;
    std::optional<std::string> previous;
};

}  // namespace

// Each folder lies in the base its variable names when that is an absolute
// path, else in the home's own folder for it, and is made when missing.
TEST(UserFolders, FollowTheBaseDirectoryVariablesOrTheHome) {
    const testsupport::ScratchFolder folder("horavel-user-files-");
    const ScopedVariable home("HOME", folder.path.c_str());
    for (const char* relative : {static_cast<const char*>(nullptr), "relative/base"}) {
        const ScopedVariable config("XDG_CONFIG_HOME", relative);
        const ScopedVariable cache("XDG_CACHE_HOME", relative);
        EXPECT_EQ(platform::settingsFolder(), folder.path / ".config" / "Brantolm" / "Horavel");
        EXPECT_EQ(platform::cacheFolder(), folder.path / ".cache" / "Brantolm" / "Horavel");
        EXPECT_TRUE(std::filesystem::is_directory(platform::cacheFolder()));
    }
    const std::filesystem::path base = folder.path / "base";
    const ScopedVariable config("XDG_CONFIG_HOME", (base / "config").c_str());
    const ScopedVariable cache("XDG_CACHE_HOME", (base / "cache").c_str());
    EXPECT_EQ(platform::settingsFolder(), base / "config" / "Brantolm" / "Horavel");
    EXPECT_EQ(platform::cacheFolder(), base / "cache" / "Brantolm" / "Horavel");
    EXPECT_TRUE(std::filesystem::is_directory(base / "cache" / "Brantolm" / "Horavel"));
}
#endif
