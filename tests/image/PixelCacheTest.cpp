#include "image/PixelCache.h"

#include "ImageTestSupport.h"
#include "image/Image.h"
#include "platform/ImageEncoder.h"
#include "tests/support/Results.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using imagetest::sample;
using imagetest::ScratchFolder;

namespace {

// The rows of two images, byte for byte, with their sizes.
void expectSamePixels(const Image& a, const Image& b) {
    ASSERT_EQ(a.valid, 1);
    ASSERT_EQ(b.valid, 1);
    ASSERT_EQ(a.kind, ImagePixels);
    ASSERT_EQ(b.kind, ImagePixels);
    ASSERT_EQ(a.width, b.width);
    ASSERT_EQ(a.height, b.height);
    ASSERT_EQ(a.channels, b.channels);
    ASSERT_EQ(a.stride, b.stride);
    EXPECT_EQ(std::memcmp(a.rows(), b.rows(), static_cast<std::size_t>(a.stride) * a.height), 0);
}

std::string contentsOf(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeContents(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// A picture of width × height pixels whose every byte is level, written as PNG.
void writeFlatPicture(const std::filesystem::path& path, std::int32_t width, std::int32_t height, std::uint8_t level) {
    const std::vector<std::uint8_t> rows(static_cast<std::size_t>(width) * height * 3, level);
    ASSERT_TRUE(testsupport::succeeded(platform::writePngBgr(path, width, height, width * 3, rows.data())));
}

// A flat picture in a folder of its own, loaded once through the cache.
struct CachedPicture {
    ScratchFolder folder;
    std::filesystem::path picture;
    std::filesystem::path cache;
    Image image;

    CachedPicture(const char* name, std::int32_t width, std::int32_t height, std::uint8_t level)
        : picture(folder.path / name), cache(cacheFileFor(picture, folder.path)) {
        writeFlatPicture(picture, width, height, level);
        EXPECT_EQ(loadThroughCache(image, picture, folder.path), 1);
    }
};

}  // namespace

// The first load decodes and keeps the rows in a file; every later one reads
// that file in place, with the pixels a plain decode gives, for grey, colour
// and alpha pictures.
TEST(PixelCache, KeepsTheDecodedRowsAndReadsThemInPlaceAfterwards) {
    const ScratchFolder folder;
    for (const char* name : {"rgb.png", "grey8.png", "rgba.png"}) {
        Image decoded;
        ASSERT_EQ(decoded.load(sample(name)), 1) << name;
        const std::filesystem::path cache = cacheFileFor(sample(name), folder.path);

        Image first;
        ASSERT_EQ(loadThroughCache(first, sample(name), folder.path), 1) << name;
        expectSamePixels(first, decoded);
        EXPECT_FALSE(first.pixelStore) << name << ": read in place from the file just written";
        ASSERT_TRUE(std::filesystem::exists(cache)) << name;
        EXPECT_EQ(std::filesystem::file_size(cache),
                  cacheHeaderBytes + static_cast<std::uintmax_t>(decoded.stride) * decoded.height);

        const auto written = std::filesystem::last_write_time(cache);
        Image again;
        ASSERT_EQ(loadThroughCache(again, sample(name), folder.path), 1) << name;
        expectSamePixels(again, decoded);
        EXPECT_FALSE(again.pixelStore) << name;
        EXPECT_EQ(std::filesystem::last_write_time(cache), written) << name << ": not written again";

        // Pages handed back are read again from the file, unchanged.
        again.releaseResidentPages();
        expectSamePixels(again, decoded);
        Color colour;
        Color expected;
        EXPECT_EQ(again.getPixel(1, 1, colour), decoded.getPixel(1, 1, expected));
        EXPECT_EQ(imagetest::bytesOf(colour), imagetest::bytesOf(expected)) << name;
    }
}

// A picture changed since its rows were kept (another size, another time) is
// decoded again, never shown from the old file; so is a cache file that is
// damaged, cut short or longer than its header says.
TEST(PixelCache, DecodesAgainWhenThePictureChangedOrTheCacheFileIsDamaged) {
    CachedPicture map("Map.png", 8, 4, 40);
    auto& [folder, picture, cache, image] = map;
    const std::string kept = contentsOf(cache);

    // The same size in bytes is possible for another picture; the time tells.
    const auto firstTime = std::filesystem::last_write_time(picture);
    writeFlatPicture(picture, 8, 4, 200);
    std::filesystem::last_write_time(picture, firstTime + std::chrono::seconds(5));
    ASSERT_EQ(loadThroughCache(image, picture, folder.path), 1);
    Color colour;
    image.getPixel(3, 2, colour);
    EXPECT_EQ(colour.r, 200);
    EXPECT_NE(contentsOf(cache), kept);

    // So is the same time for a picture of another size.
    image.release();
    const std::uintmax_t bytesBefore = std::filesystem::file_size(picture);
    writeFlatPicture(picture, 64, 64, 120);
    ASSERT_NE(std::filesystem::file_size(picture), bytesBefore);
    std::filesystem::last_write_time(picture, firstTime + std::chrono::seconds(5));
    ASSERT_EQ(loadThroughCache(image, picture, folder.path), 1);
    EXPECT_EQ(image.width, 64);
    image.getPixel(12, 2, colour);
    EXPECT_EQ(colour.r, 120);

    // Windows keeps a file that is mapped from being written over.
    image.release();
    const std::string good = contentsOf(cache);
    std::string wrongMagic = good;
    wrongMagic[0] = 'X';
    // Width 128 and stride 384 agree with each other, but not with the file,
    // which holds rows of 192 bytes.
    std::string tooWide = good;
    tooWide[24] = static_cast<char>(128);
    tooWide[36] = static_cast<char>(384 & 0xFF);
    tooWide[37] = static_cast<char>(384 >> 8);
    std::string badChannels = good;
    badChannels[32] = 2;
    for (const std::string& damaged :
         {good.substr(0, good.size() - 1), good + "x", good.substr(0, 10), wrongMagic, tooWide, badChannels,
          std::string()}) {
        writeContents(cache, damaged);
        Image reloaded;
        ASSERT_EQ(loadThroughCache(reloaded, picture, folder.path), 1) << damaged.size();
        Image decoded;
        ASSERT_EQ(decoded.load(picture), 1);
        expectSamePixels(reloaded, decoded);
        EXPECT_EQ(contentsOf(cache), good) << "written again whole, " << damaged.size();
    }
}

// Without a place to keep the rows the picture is decoded into memory as
// Image::load does; a picture that cannot be read leaves nothing behind; the
// rasters read in place by themselves are never copied.
TEST(PixelCache, FallsBackToMemoryAndKeepsNothingThatIsNotADecodedPicture) {
    const ScratchFolder folder;
    const std::filesystem::path notAFolder = folder.path / "plain-file";
    writeContents(notAFolder, "x");
    for (const std::filesystem::path& unusable : {notAFolder / "cache", std::filesystem::path()}) {
        Image image;
        ASSERT_EQ(loadThroughCache(image, sample("rgb.png"), unusable), 1) << unusable;
        EXPECT_TRUE(image.pixelStore) << unusable;
        Image decoded;
        ASSERT_EQ(decoded.load(sample("rgb.png")), 1);
        expectSamePixels(image, decoded);
    }

    Image missing;
    EXPECT_EQ(loadThroughCache(missing, folder.path / "missing.png", folder.path), 0);
    const std::filesystem::path broken = folder.path / "broken.png";
    writeContents(broken, "not a picture");
    EXPECT_EQ(loadThroughCache(missing, broken, folder.path), 0);
    EXPECT_FALSE(std::filesystem::exists(cacheFileFor(broken, folder.path)));

    Image fits;
    ASSERT_EQ(loadThroughCache(fits, imagetest::planetary("bitpix8.fits"), folder.path), 1);
    EXPECT_EQ(fits.kind, ImageFits);
    EXPECT_FALSE(std::filesystem::exists(cacheFileFor(imagetest::planetary("bitpix8.fits"), folder.path)));
}

// Maps of the same name in two folders have cache files of their own.
TEST(PixelCache, NamesTheCacheFileAfterThePicturesNameAndFolder) {
    const std::filesystem::path folder = "cache";
    const std::filesystem::path one = cacheFileFor("/maps/a/Earth.png", folder);
    EXPECT_EQ(one.parent_path(), folder);
    EXPECT_TRUE(one.filename().string().starts_with("Earth-")) << one;
    EXPECT_EQ(one.extension(), ".pixels");
    EXPECT_NE(one, cacheFileFor("/maps/b/Earth.png", folder));
    EXPECT_EQ(one, cacheFileFor("/maps/a/../a/Earth.png", folder));
}

// Another program cutting the cache file short (to nothing, or to half) while
// its rows are read in place: reads of the lost pages yield zeros instead of
// ending the program, the image says so, and reloadIfChanged makes the file
// again and reads the sound rows from it. A rewrite in place is noticed too.
TEST(PixelCache, AFileCutShortOrRewrittenWhileMappedIsNoticedAndMadeAgain) {
    const ScratchFolder folder;
    const std::filesystem::path picture = folder.path / "flat.png";
    writeFlatPicture(picture, 3000, 200, 77);  // rows spanning many pages
    for (const std::uintmax_t keptBytes : {std::uintmax_t{0}, std::uintmax_t{900'000}, std::uintmax_t{1}}) {
        Image image;
        ASSERT_EQ(loadThroughCache(image, picture, folder.path), 1);
        ASSERT_FALSE(image.pixelStore);
        EXPECT_TRUE(image.sourceUnchanged());
        EXPECT_FALSE(reloadIfChanged(image)) << "a sound map is left as it is";
        const std::filesystem::path cache = cacheFileFor(picture, folder.path);
        const std::uintmax_t wholeBytes = std::filesystem::file_size(cache);
        std::error_code refused;
        const std::size_t rowBytes = static_cast<std::size_t>(image.stride) * image.height;
        if (keptBytes == 1) {
            // The same length, other bytes: a copy over the file.
            std::string bytes = contentsOf(cache);
            bytes[bytes.size() - 1] = 1;
            writeContents(cache, bytes);
            if (contentsOf(cache) != bytes) {
                GTEST_SKIP() << "this system does not let a mapped file be written";
            }
        } else {
            std::filesystem::resize_file(cache, keptBytes, refused);
            if (refused) {
                GTEST_SKIP() << "this system does not let a mapped file be cut short: " << refused.message();
            }
            EXPECT_EQ(image.rows()[rowBytes - 1], 0) << "a lost page reads as zeros";
        }
        EXPECT_FALSE(image.sourceUnchanged()) << keptBytes;

        EXPECT_TRUE(reloadIfChanged(image));
        ASSERT_EQ(image.valid, 1);
        EXPECT_TRUE(image.sourceUnchanged());
        EXPECT_EQ(std::filesystem::file_size(cache), wholeBytes);
        Image decoded;
        ASSERT_EQ(decoded.load(picture), 1);
        expectSamePixels(image, decoded);
    }
}

// A map whose cache file was removed while it was read keeps its rows (the
// system keeps a removed file's pages for whoever maps it) and gets its file
// back at the next check.
TEST(PixelCache, ARemovedFileIsMadeAgain) {
    CachedPicture map("flat.png", 40, 30, 9);
    auto& [folder, picture, cache, image] = map;
    std::error_code refused;
    std::filesystem::remove(cache, refused);
    if (refused) {
        GTEST_SKIP() << "this system does not let a mapped file be removed: " << refused.message();
    }
    EXPECT_EQ(image.rows()[0], 9);
    EXPECT_TRUE(reloadIfChanged(image));
    EXPECT_TRUE(std::filesystem::exists(cache));
    EXPECT_EQ(image.rows()[0], 9);
}
