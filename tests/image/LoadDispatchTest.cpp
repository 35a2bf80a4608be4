#include "image/Image.h"
#include "image/RasterFile.h"
#include "platform/ImageDecoder.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <tuple>

using imagetest::Bytes;
using imagetest::bytesOf;

namespace {

// The 2 × 2 sample picture: top row red, green; bottom row blue, (10, 20, 30).
void expectTheRgbSample(const Image& image) {
    ASSERT_EQ(image.valid, 1);
    EXPECT_EQ(image.kind, ImagePixels);
    EXPECT_EQ(image.width, 2);
    EXPECT_EQ(image.height, 2);
    EXPECT_EQ(image.channels, 3);
    EXPECT_EQ(image.stride, 8);
    Color out;
    image.getPixel(0, 1, out);
    EXPECT_EQ(bytesOf(out), (Bytes{255, 0, 0, 0}));
    image.getPixel(1, 1, out);
    EXPECT_EQ(bytesOf(out), (Bytes{0, 255, 0, 0}));
    image.getPixel(0, 0, out);
    EXPECT_EQ(bytesOf(out), (Bytes{0, 0, 255, 0}));
    image.getPixel(1, 0, out);
    EXPECT_EQ(bytesOf(out), (Bytes{10, 20, 30, 0}));
}

TEST(LoadDispatch, UpperCaseNamesLoadLikeLowerCaseOnes) {
    Image image;
    EXPECT_EQ(image.load(imagetest::sample("EARTH.PNG")), 1);
    expectTheRgbSample(image);
}

TEST(LoadDispatch, ImgAndFitAnywhereInTheFilesOwnNameChooseTheRasterReaders) {
    imagetest::ScratchFolder folder;
    struct Case {
        std::filesystem::path name;
        int kind;
    };
    // None of these files exists, so every reader refuses; the kind and the
    // attached raster file show which reader was asked.
    const Case cases[] = {
        {folder.path / "MARS.IMG", ImagePdsImg},
        {folder.path / "scan.fits", ImageFits},
        {folder.path / "Scan.Fit", ImageFits},
        {folder.path / "x.fit.img", ImagePdsImg},  // ".img" is tested first
        {folder.path / "photo.png", 0},
    };
    for (const Case& c : cases) {
        Image image;
        EXPECT_EQ(image.load(c.name), 0) << c.name;
        EXPECT_EQ(image.kind, c.kind) << c.name;
        EXPECT_EQ(image.rasterFile != nullptr, c.kind != 0) << c.name;
        EXPECT_EQ(image.valid, 0);
    }
}

TEST(LoadDispatch, LittleEndianBigTiffNamedTifIsRefusedBeforeAnyReader) {
    imagetest::ScratchFolder folder;
    for (const char* name : {"x.tif", "x.TIFF", "x.img.tif", "x.tif.png"}) {
        Image image;
        EXPECT_EQ(image.load(folder.copyOf("bigtiff.tif", name)), 0) << name;
        EXPECT_EQ(image.kind, 0) << name;
        EXPECT_FALSE(image.rasterFile) << name;
    }
    // The same bytes under a name without ".tif" go to the platform decoder,
    // which may read BigTIFF (libtiff does) or refuse it (not every imaging
    // component does); load answers whatever the decoder answers.
    const auto renamed = folder.copyOf("bigtiff.tif", "x.png");
    platform::ImageDecoder decoder;
    const std::int32_t decodable = decoder.open(renamed);
    Image image;
    EXPECT_EQ(image.load(renamed), decodable);
    if (decodable == 1) {
        expectTheRgbSample(image);
    }
}

// Classic and big-endian TIFF go on to the decoder, and the file's format, not
// its name or its folders' names, decides how it is read.
TEST(LoadDispatch, DecodableFilesLoadWhateverTheirNameOrFolder) {
    imagetest::ScratchFolder folder;
    for (const char* sub : {"j.fitzgerald", "backup.img", "scans.tif.d"}) {
        std::filesystem::create_directory(folder.path / sub);
    }
    for (const auto& [sample, as] :
         {std::pair{"rgb.tif", ""}, {"rgb-be.tif", ""}, {"rgb.tif", "photo.tiff"}, {"rgb.png", "picture.tif"},
          {"rgb.tif", "picture.bin"}, {"rgb.png", "j.fitzgerald/Earth.png"}, {"rgb.png", "backup.img/Earth.png"},
          {"rgb.tif", "scans.tif.d/Earth.png"}}) {
        Image image;
        EXPECT_EQ(image.load(*as ? folder.copyOf(sample, as) : imagetest::sample(sample)), 1) << sample << as;
        expectTheRgbSample(image);
    }
}

// A raster whose own name names no format is read in place when its first
// bytes are a FITS header or a PDS label.
TEST(LoadDispatch, FirstBytesChooseTheRasterReaderForANameThatSaysNothing) {
    imagetest::ScratchFolder folder;
    for (const auto& [sample, as, kind] :
         {std::tuple{"bitpix8.fits", "Moon.png", ImageFits}, {"gray8.img", "maps.img.d/Earth", ImagePdsImg}}) {
        std::filesystem::create_directories((folder.path / as).parent_path());
        const std::filesystem::path copy = folder.path / as;
        std::filesystem::copy_file(imagetest::planetary(sample), copy);
        Image image;
        EXPECT_EQ(image.load(copy), 1) << as;
        EXPECT_EQ(image.kind, kind) << as;
    }
}

// huge.png claims 100000 × 30000 three-byte pixels, 9 GB of store: like a file
// that is missing, not a picture, empty, cut short or a folder, it is refused
// before any copy.
TEST(LoadDispatch, MissingUndecodableOrHugeFilesGiveZero) {
    imagetest::ScratchFolder folder;
    std::ofstream(folder.path / "text.png") << "not a picture at all";
    std::ofstream(folder.path / "empty.png");
    {
        std::ifstream in(imagetest::sample("rgb.png"), std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        std::ofstream(folder.path / "truncated.png", std::ios::binary).write(bytes.data(), 40);
    }
    for (const auto& path : {folder.path / "missing.png", folder.path / "text.png", folder.path / "empty.png",
                             folder.path / "truncated.png", imagetest::sample("huge.png"), folder.path}) {
        Image image;
        EXPECT_EQ(image.load(path), 0) << path;
        EXPECT_EQ(image.valid, 0) << path;
        EXPECT_FALSE(image.pixelStore) << path;
        EXPECT_EQ(image.width, 0) << path;
        Color out = imagetest::junk();
        EXPECT_EQ(image.getPixel(0, 0, out), 0);
        EXPECT_EQ(bytesOf(out), (Bytes{0, 0, 0, 0}));
    }
}

TEST(LoadDispatch, ReloadingReplacesOrDropsTheContent) {
    Image image;
    ASSERT_EQ(image.load(imagetest::sample("grey8.png")), 1);
    EXPECT_EQ(image.channels, 1);
    ASSERT_EQ(image.load(imagetest::sample("rgb.png")), 1);
    expectTheRgbSample(image);
    EXPECT_EQ(image.load(imagetest::sample("missing.png")), 0);
    Color out;
    EXPECT_EQ(image.getPixel(0, 0, out), 0);
    EXPECT_FALSE(image.pixelStore);
}

TEST(LoadDispatch, LongNamesAreUsedWholeAndNeverCutShort) {
    // A name of more than 260 characters whose first 259 characters name an
    // existing picture: cutting the name short would open the wrong file.
    imagetest::ScratchFolder folder;
    const std::string base = folder.path.string();
    ASSERT_LT(base.size(), 200u);
    std::string stem(259 - base.size() - 1, 'a');
    const auto shortName = folder.copyOf("rgb.png", stem);
    ASSERT_EQ(shortName.native().size(), 259u);
    const auto longName = folder.path / (stem + std::string(20, 'b') + ".png");
    Image image;
    EXPECT_EQ(image.load(longName), 0);
    EXPECT_EQ(image.load(shortName), 1);
}

}  // namespace
