#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace testsupport {

// An empty folder of its own for the running test, named after it (ctest runs
// the tests in parallel processes), removed again at the end.
struct ScratchFolder {
    explicit ScratchFolder(std::string_view prefix) : path(std::filesystem::temp_directory_path() / nameOf(prefix)) {
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::filesystem::path path;

private:
    // The prefix, the test suite's name and the test's, without the slashes
    // that parameterised tests bring.
    static std::string nameOf(std::string_view prefix) {
        const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
        std::string name = std::string(prefix) + info->test_suite_name() + '-' + info->name();
        for (char& c : name) {
            c = c == '/' ? '_' : c;
        }
        return name;
    }
};

}  // namespace testsupport
