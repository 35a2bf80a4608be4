#pragma once

#include "image/Image.h"
#include "platform/Messages.h"
#include "tests/support/ScratchFolder.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <initializer_list>
#include <string>
#include <string_view>
#include <system_error>
#include <vector>

// Helpers shared by the image tests: pictures built in memory, the sample files
// of tests/data, scratch files and folders per running test, and a record of the
// messages a reader would have shown the user.
namespace imagetest {

// Makes image a valid in-memory picture. rows holds width × channels bytes per
// row, top row first, in stored order (grey; or blue, green, red[, alpha]).
inline void fill(Image& image, std::int32_t width, std::int32_t height, std::int32_t channels,
                 const std::vector<std::uint8_t>& rows) {
    image.release();
    image.kind = ImagePixels;
    image.width = width;
    image.height = height;
    image.channels = channels;
    image.stride = (channels * width + 3) & ~3;
    const std::size_t rowBytes = static_cast<std::size_t>(channels) * width;
    ASSERT_EQ(rows.size(), rowBytes * height);
    image.pixelStore.reset(new std::uint8_t[static_cast<std::size_t>(image.stride) * height]());
    for (std::int32_t i = 0; i < height; ++i) {
        std::memcpy(image.pixelStore.get() + static_cast<std::size_t>(i) * image.stride,
                    rows.data() + i * rowBytes, rowBytes);
    }
    image.valid = 1;
}

// A grey picture of one row.
inline void greyRow(Image& image, const std::vector<std::uint8_t>& levels) {
    fill(image, static_cast<std::int32_t>(levels.size()), 1, 1, levels);
}

inline std::filesystem::path sample(std::string_view name) {
    return std::filesystem::path(HORAVEL_TEST_DATA_DIR) / "images" / name;
}

inline std::filesystem::path planetary(std::string_view name) {
    return std::filesystem::path(HORAVEL_TEST_DATA_DIR) / "planetary" / name;
}

// A temporary path named after the running test, as ctest runs the tests in
// parallel processes.
inline std::filesystem::path scratchPath(std::string_view suffix) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("horavel-image-") + info->test_suite_name() + '-' + info->name() + '-';
    name += suffix;
    for (char& c : name) {
        if (c == '/') {
            c = '_';
        }
    }
    return std::filesystem::temp_directory_path() / name;
}

// An empty folder of its own for the running test, removed again at the end.
class ScratchFolder : public testsupport::ScratchFolder {
public:
    ScratchFolder() : testsupport::ScratchFolder("horavel-image-folder-") {}

    // A copy of a sample file under another name inside the folder.
    std::filesystem::path copyOf(std::string_view sampleName, const std::filesystem::path& as) const {
        const std::filesystem::path target = path / as;
        std::filesystem::copy_file(sample(sampleName), target,
                                   std::filesystem::copy_options::overwrite_existing);
        return target;
    }
};

// A file holding the given bytes for the life of the object.
class ScratchFile {
public:
    ScratchFile(std::string_view name, std::string_view bytes) : path(scratchPath(name)) {
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
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

// Bytes given as numbers, for file contents.
inline std::string raw(std::initializer_list<int> values) {
    std::string s;
    for (int v : values) {
        s += static_cast<char>(v);
    }
    return s;
}

// The bytes of a colour as one comparable value.
struct Bytes {
    int r, g, b, t;
    bool operator==(const Bytes&) const = default;
};

inline Bytes bytesOf(const Color& c) { return {c.r, c.g, c.b, c.t}; }

inline void PrintTo(const Bytes& v, std::ostream* os) {
    *os << "(" << v.r << ", " << v.g << ", " << v.b << ", t " << v.t << ")";
}

// A colour full of junk, to see that an operation clears what it does not set.
inline Color junk() { return Color::bytes(91, 92, 93, 94); }

}  // namespace imagetest
