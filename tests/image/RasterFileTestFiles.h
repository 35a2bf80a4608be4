#pragma once

#include "platform/Messages.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <string>
#include <string_view>
#include <vector>

// Helpers shared by the raster-file tests: scratch files named after the running
// test (ctest runs tests in parallel processes), and a message sink that records
// what a reader would have shown the user.
namespace rasterfiletest {

inline std::filesystem::path scratchPath(std::string_view name) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string unique = "horavel-";
    unique += info->test_suite_name();
    unique += '-';
    unique += info->name();
    unique += '-';
    unique += name;
    for (char& c : unique) {
        if (c == '/') {
            c = '_';
        }
    }
    return std::filesystem::temp_directory_path() / unique;
}

// A file that exists for the life of the object.
class ScratchFile {
public:
    ScratchFile(std::string_view name, std::string_view bytes) : path(scratchPath(name)) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    ScratchFile(std::string_view name, const std::vector<std::uint8_t>& bytes)
        : ScratchFile(name, std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size())) {}
    ~ScratchFile() {
        std::error_code ignored;
        std::filesystem::remove(path, ignored);
    }
    ScratchFile(const ScratchFile&) = delete;
    ScratchFile& operator=(const ScratchFile&) = delete;

    std::filesystem::path path;
};

// Every message shown while it lives, as "caption|text".
class MessageRecorder {
public:
    MessageRecorder() : scope(record) { shown().clear(); }
    const std::vector<std::string>& messages() const { return shown(); }

private:
    static std::vector<std::string>& shown() {
        static std::vector<std::string> list;
        return list;
    }
    static void record(std::string_view caption, std::string_view text) {
        shown().push_back(std::string(caption) + "|" + std::string(text));
    }
    platform::ScopedMessageSink scope;
};

inline std::filesystem::path sampleDir() {
    return std::filesystem::path(HORAVEL_TEST_DATA_DIR) / "planetary";
}

}  // namespace rasterfiletest
