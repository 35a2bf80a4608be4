#include "image/Image.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <vector>

#ifdef _WIN32
#include <windows.h>
#endif

using imagetest::Bytes;
using imagetest::bytesOf;

namespace {

// What each sample file of tests/data/images decodes to: the layout chosen from
// the source format, the size, and the bottom row read through getPixel (the
// fourth byte as the transparency 255 - alpha). The files are described in the
// README beside them.
struct Expected {
    const char* file;
    int channels, width, height;
    std::vector<Bytes> bottomRow;
};

const Expected decoded[] = {
    {"grey8.png", 1, 3, 2, {{10, 10, 10, 0}, {20, 20, 20, 0}, {30, 30, 30, 0}}},
    // 16-bit grey keeps the high byte: 0x12F0 → 0x12.
    {"grey16.png", 1, 3, 1, {{18, 18, 18, 0}, {255, 255, 255, 0}, {0, 0, 0, 0}}},
    {"grey16.tif", 1, 3, 1, {{18, 18, 18, 0}, {255, 255, 255, 0}, {0, 0, 0, 0}}},
    {"rgb.png", 3, 2, 2, {{0, 0, 255, 0}, {10, 20, 30, 0}}},
    {"rgb.tif", 3, 2, 2, {{0, 0, 255, 0}, {10, 20, 30, 0}}},
    {"rgba.png", 4, 3, 1, {{10, 20, 30, 0}, {40, 50, 60, 255}, {70, 80, 90, 155}}},
    {"rgba.tif", 4, 3, 1, {{10, 20, 30, 0}, {40, 50, 60, 255}, {70, 80, 90, 155}}},
    {"grey-alpha.png", 4, 2, 1, {{77, 77, 77, 0}, {200, 200, 200, 200}}},
    // A palette gives colour; its transparency is not kept.
    {"palette.png", 3, 2, 1, {{1, 2, 3, 0}, {250, 251, 252, 0}}},
    {"palette.tif", 3, 2, 1, {{1, 2, 3, 0}, {250, 251, 252, 0}}},
    {"rgb48.png", 3, 2, 1, {{0x12, 0x34, 0xFE, 0}, {0x12, 0x00, 0xFF, 0}}},
    // 16-bit colour with alpha is delivered as colour alone.
    {"rgba64.png", 3, 1, 1, {{0x50, 0x60, 0x70, 0}}},
};

TEST(Decoder, DeliversTheLayoutChosenBySourceFormat) {
    for (const Expected& e : decoded) {
        SCOPED_TRACE(e.file);
        Image image;
        ASSERT_EQ(image.load(imagetest::sample(e.file)), 1);
        EXPECT_EQ(image.kind, ImagePixels);
        EXPECT_EQ(image.channels, e.channels);
        EXPECT_EQ(image.width, e.width);
        EXPECT_EQ(image.height, e.height);
        EXPECT_EQ(image.stride, (e.channels * e.width + 3) & ~3);
        for (int x = 0; x < e.width; ++x) {
            Color out;
            EXPECT_EQ(image.getPixel(x, 0, out), 1);
            EXPECT_EQ(bytesOf(out), e.bottomRow[x]) << "x = " << x;
        }
    }
}

// A second TIFF page, or a second PNG frame announced by an acTL chunk (the
// first frame being the still image), makes the file refused.
TEST(Decoder, RefusesMultiPageTiffAndAnimatedPng) {
    for (const char* name : {"two-pages.tif", "animated.png"}) {
        Image image;
        EXPECT_EQ(image.load(imagetest::sample(name)), 0) << name;
        EXPECT_EQ(image.valid, 0) << name;
    }
}

// FNV-1a over the stored rows.
std::uint64_t fingerprint(const Image& image) {
    std::uint64_t hash = 14695981039346656037ull;
    const std::size_t bytes = static_cast<std::size_t>(image.stride) * image.height;
    for (std::size_t i = 0; i < bytes; ++i) {
        hash = (hash ^ image.pixelStore[i]) * 1099511628211ull;
    }
    return hash;
}

TEST(Decoder, TexturesDecodeToTheSameBytesOnEveryPlatform) {
    // The fingerprints are of ImageMagick's decoding of the same files
    // (convert Earth.png -depth 8 bgr:-, convert Moon.png -depth 8 gray:-):
    // every platform decoder must deliver these very bytes, or the globes would
    // differ between them.
    struct Texture {
        const char* file;
        int channels, width, height;
        std::uint64_t fingerprint;
    };
    const Texture textures[] = {
        {"Earth.png", 3, 2048, 1024, 4827949259080540403ull},
        {"Moon.png", 1, 1024, 512, 16238590030750860074ull},
    };
    for (const Texture& t : textures) {
        SCOPED_TRACE(t.file);
        Image image;
        ASSERT_EQ(image.load(std::filesystem::path(HORAVEL_TEST_ASSET_DIR) / t.file), 1);
        EXPECT_EQ(image.channels, t.channels);
        EXPECT_EQ(image.width, t.width);
        EXPECT_EQ(image.height, t.height);
        EXPECT_EQ(fingerprint(image), t.fingerprint);
    }
}

}  // namespace

#ifdef _WIN32
// A file that others have open for reading decodes as any other; one that
// somebody holds open for writing is refused rather than read half written.
TEST(Decoder, ReadsAFileOthersReadAndRefusesOneBeingWritten) {
    const auto path = imagetest::sample("rgb.png");
    for (const DWORD access : {DWORD{GENERIC_READ}, DWORD{GENERIC_READ | GENERIC_WRITE}}) {
        const HANDLE other = CreateFileW(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                         OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
        ASSERT_NE(other, INVALID_HANDLE_VALUE);
        Image image;
        EXPECT_EQ(image.load(path), access == GENERIC_READ ? 1 : 0) << access;
        CloseHandle(other);
    }
}
#endif
