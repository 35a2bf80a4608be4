#include "image/Image.h"
#include "image/ImageKind.h"
#include "image/Sampling.h"

#include "ImageTestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <limits>
#include <utility>
#include <vector>

using imagetest::Bytes;
using imagetest::bytesOf;

namespace {

enum class Sampler { Bilinear, Biquadratic, Box };

std::int32_t sampleWith(Sampler sampler, const Image& image, double x, double y, Color& out) {
    switch (sampler) {
    case Sampler::Bilinear:
        return image.sampleBilinear(x, y, out);
    case Sampler::Biquadratic:
        return image.sampleBiquadratic(x, y, out);
    case Sampler::Box:
        return image.sampleBox(0.5, 0.0, 0.0, 0.5, out, x, y);
    }
    return -1;
}

// 3 × 3 four-channel picture, every byte different; stored alpha 255 - 10k so
// the transparencies differ too.
void varied(Image& image) {
    std::vector<std::uint8_t> rows;
    for (int k = 0; k < 9; ++k) {
        rows.insert(rows.end(), {static_cast<std::uint8_t>(20 * k + 1),
                                 static_cast<std::uint8_t>(7 * k + 3),
                                 static_cast<std::uint8_t>(250 - 13 * k),
                                 static_cast<std::uint8_t>(255 - 10 * k)});
    }
    imagetest::fill(image, 3, 3, 4, rows);
}

TEST(Sampling, NoColourOutsideTheImageOrFromAnImageWithoutContent) {
    Image image;
    varied(image);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<double, double> outside[] = {
        {-0.01, 1.5}, {3.0, 1.5}, {1.5, -0.01}, {1.5, 3.0}, {nan, 1.5}, {1.5, nan}, {-1e300, 1.0},
    };
    for (Sampler sampler : {Sampler::Bilinear, Sampler::Biquadratic, Sampler::Box}) {
        for (const auto& [x, y] : outside) {
            Color out = imagetest::junk();
            EXPECT_EQ(sampleWith(sampler, image, x, y, out), 0) << x << ", " << y;
            EXPECT_EQ(bytesOf(out), (Bytes{0, 0, 0, 0}));
            EXPECT_EQ(out.kind, ColorBytes);
        }
        Color out;
        EXPECT_EQ(sampleWith(sampler, image, 0.0, 0.0, out), 1);
        EXPECT_EQ(sampleWith(sampler, image, 2.999, 2.999, out), 1);
    }
    image.release();
    for (Sampler sampler : {Sampler::Bilinear, Sampler::Biquadratic, Sampler::Box}) {
        Color out = imagetest::junk();
        EXPECT_EQ(sampleWith(sampler, image, 1.5, 1.5, out), 0);
        EXPECT_EQ(bytesOf(out), (Bytes{0, 0, 0, 0}));
    }
}

// Bilinear centres are among the samples of the everywhere test below.
TEST(Sampling, BiquadraticPixelCentresGiveThePixelExactly) {
    Image image;
    varied(image);
    for (int j = 0; j < 3; ++j) {
        for (int i = 0; i < 3; ++i) {
            Color expected, biquadratic;
            image.getPixel(i, j, expected);
            EXPECT_EQ(image.sampleBiquadratic(i + 0.5, j + 0.5, biquadratic), 1);
            EXPECT_EQ(bytesOf(biquadratic), bytesOf(expected)) << i << ", " << j;
        }
    }
}

// Worked by hand from the interpolation formulas. Bilinear extrapolates in the
// left strip, takes the edge pixel as the missing neighbour at the right and
// clamps below 0; the biquadratic parabola runs through three pixels, repeats
// the edge pixel beyond the image, reproduces a plane and clamps its overshoot;
// missing channels are filled in and the transparency is interpolated too.
TEST(Sampling, InterpolatesAsWorkedByHand) {
    struct Picture {
        std::int32_t width, height, channels;
        std::vector<std::uint8_t> rows;
    };
    const Picture columns{2, 2, 1, {100, 200, 100, 200}};
    const Picture corners{2, 2, 1, {200, 40, 0, 100}};  // bottom row 0, 100; top 200, 40
    const Picture rising{3, 1, 1, {100, 200, 250}};
    const Picture plane{3, 3, 1, {100, 120, 140, 50, 70, 90, 0, 20, 40}};  // 20 a column, 50 a row
    const Picture twoGreys{2, 1, 1, {10, 90}};
    const Picture steepUp{2, 1, 1, {10, 250}};
    const Picture edgeUp{3, 1, 1, {0, 255, 255}};
    const Picture edgeDown{3, 1, 1, {255, 0, 0}};
    const Picture colour{2, 1, 3, {0, 10, 20, 100, 110, 120}};
    const Picture clear{2, 1, 4, {0, 10, 20, 255, 100, 110, 120, 55}};  // transparencies 0 and 200
    struct Case {
        const Picture* picture;
        Sampler sampler;
        double x, y;
        Bytes expected;
    };
    const Case cases[] = {
        {&columns, Sampler::Bilinear, 0.2, 0.5, {70, 70, 70, 0}},  // fx = -0.3: 100 + 100 × -0.3
        {&columns, Sampler::Bilinear, 0.2, 1.5, {70, 70, 70, 0}},
        {&columns, Sampler::Bilinear, 1.0, 1.0, {150, 150, 150, 0}},
        {&columns, Sampler::Bilinear, 1.5, 0.9, {200, 200, 200, 0}},
        {&columns, Sampler::Bilinear, 1.7, 0.9, {200, 200, 200, 0}},
        {&columns, Sampler::Bilinear, 1.99, 0.9, {200, 200, 200, 0}},
        {&steepUp, Sampler::Bilinear, 0.0, 0.5, {0, 0, 0, 0}},  // fx = -0.5 gives -110
        {&corners, Sampler::Bilinear, 1.0, 1.0, {85, 85, 85, 0}},  // the mean of the four
        // fx = 0.25, fy = 0.75: 0 + 100·0.25 + 200·0.75 + (0 - 100 - 200 + 40)·0.1875 = 126.25.
        {&corners, Sampler::Bilinear, 0.75, 1.25, {126, 126, 126, 0}},
        // fx = 0.25, fy = 0.5: (-65 + 200)·0.5 + 25 = 92.5, truncated.
        {&corners, Sampler::Bilinear, 0.75, 1.0, {92, 92, 92, 0}},
        // Centre 200, W 100, E 250: A = 75, F = -25; fx = 0.3: 75·0.3 - 25·0.09 + 200.
        {&rising, Sampler::Biquadratic, 1.8, 0.5, {220, 220, 220, 0}},
        // At the right edge E repeats P (250), W is 200: 256.2 clamps to 255.
        {&rising, Sampler::Biquadratic, 2.99, 0.5, {255, 255, 255, 0}},
        {&plane, Sampler::Biquadratic, 1.75, 1.75, {87, 87, 87, 0}},  // 70 + 5 + 12.5
        {&edgeUp, Sampler::Biquadratic, 2.0, 0.5, {255, 255, 255, 0}},  // 286.9
        {&edgeDown, Sampler::Biquadratic, 2.0, 0.5, {0, 0, 0, 0}},      // -31.9
        {&twoGreys, Sampler::Bilinear, 1.0, 0.5, {50, 50, 50, 0}},
        // The left neighbour repeats the edge pixel: 10 + 80/2 · (0.5 + 0.25).
        {&twoGreys, Sampler::Biquadratic, 1.0, 0.5, {40, 40, 40, 0}},
        {&colour, Sampler::Bilinear, 1.0, 0.5, {70, 60, 50, 0}},
        {&clear, Sampler::Bilinear, 1.0, 0.5, {70, 60, 50, 100}},
        {&clear, Sampler::Biquadratic, 1.0, 0.5, {57, 47, 37, 75}},
    };
    for (const Case& c : cases) {
        Image image;
        imagetest::fill(image, c.picture->width, c.picture->height, c.picture->channels, c.picture->rows);
        Color out = imagetest::junk();
        EXPECT_EQ(sampleWith(c.sampler, image, c.x, c.y, out), 1);
        EXPECT_EQ(bytesOf(out), c.expected) << (c.sampler == Sampler::Bilinear ? "bilinear" : "biquadratic")
                                            << " at " << c.x << ", " << c.y;
    }
}

TEST(Sampling, BoxOfOneSampleIsTheTruncatedPixel) {
    Image image;
    varied(image);
    for (const auto& [x, y] : {std::pair{0.0, 0.0}, {1.9, 0.1}, {2.5, 2.99}, {0.7, 1.2}}) {
        Color box, expected;
        EXPECT_EQ(image.sampleBox(0.5, 0.0, 0.0, 0.5, box, x, y), 1);
        image.getPixel(static_cast<int>(x), static_cast<int>(y), expected);
        EXPECT_EQ(bytesOf(box), bytesOf(expected)) << x << ", " << y;
    }
}

TEST(Sampling, BoxAveragesAGridStartingAtThePoint) {
    // 8 × 8 grey, level 10·column + row (row 0 at the bottom).
    std::vector<std::uint8_t> rows;
    for (int stored = 0; stored < 8; ++stored) {
        for (int column = 0; column < 8; ++column) {
            rows.push_back(static_cast<std::uint8_t>(10 * column + (7 - stored)));
        }
    }
    Image image;
    imagetest::fill(image, 8, 8, 1, rows);
    Color out;
    // 4 × 4 samples at columns 2…5 and rows 1…4: mean 35 + 2.5, truncated 37.
    EXPECT_EQ(image.sampleBox(4.0, 0.0, 0.0, 4.0, out, 2.3, 1.6), 1);
    EXPECT_EQ(bytesOf(out), (Bytes{37, 37, 37, 0}));
    // u = (-3, 0): three samples leftward at x = 6.5, 5.5, 4.5, one row.
    EXPECT_EQ(image.sampleBox(-3.0, 0.0, 0.0, 0.5, out, 6.5, 3.2), 1);
    EXPECT_EQ(out.r, 53);
    // Overhanging the right edge: x = 6.5, 7.5 inside, 8.5, 9.5 skipped; rows 0
    // and 1 → (60 + 70 + 61 + 71) / 4 = 65.5 → 65.
    EXPECT_EQ(image.sampleBox(4.0, 0.0, 0.0, 2.0, out, 6.5, 0.5), 1);
    EXPECT_EQ(out.r, 65);
    // A slanted box: u = (2, 2) has length 2.83 → 2 steps of (1, 1).
    EXPECT_EQ(image.sampleBox(2.0, 2.0, 0.0, 0.9, out, 1.5, 1.5), 1);
    EXPECT_EQ(out.r, (11 + 22) / 2);
    // u = (2, 0) in 2 steps, v = (1, 3) in 3 steps of (1/3, 1): rows 1, 2, 3
    // shifted right by 0, 1/3, 2/3 → 11, 21, 12, 22, 23, 33.
    EXPECT_EQ(image.sampleBox(2.0, 0.0, 1.0, 3.0, out, 1.5, 1.5), 1);
    EXPECT_EQ(out.r, (11 + 21 + 12 + 22 + 23 + 33) / 6);
}

TEST(Sampling, BoxRefusesAStepTooLongToCount) {
    Image image;
    imagetest::greyRow(image, {1, 2});
    Color out = imagetest::junk();
    EXPECT_EQ(image.sampleBox(3.0e9, 0.0, 0.0, 1.0, out, 0.5, 0.5), 0);
    EXPECT_EQ(bytesOf(out), (Bytes{0, 0, 0, 0}));
    EXPECT_EQ(image.sampleBox(1.0, 0.0, 0.0, std::numeric_limits<double>::quiet_NaN(), out, 0.5,
                              0.5),
              0);
}

TEST(Sampling, BoxAveragesAllFourBytesWithTruncation) {
    Image image;
    imagetest::fill(image, 2, 1, 4, {0, 10, 21, 255, 3, 11, 20, 0});
    Color out;
    EXPECT_EQ(image.sampleBox(2.0, 0.0, 0.0, 1.0, out, 0.0, 0.0), 1);
    // r (21 + 20) / 2, g 10.5, b 1.5, t (0 + 255) / 2, all truncated.
    EXPECT_EQ(bytesOf(out), (Bytes{20, 10, 1, 127}));
}



// The bilinear blend of one channel from the four corners as getPixel reads them,
// clamped to 0…255.5 and truncated: the reference for every sample below.
std::uint8_t blendOfCorners(std::int32_t a, std::int32_t b, std::int32_t c, std::int32_t d, double fx,
                            double fy) {
    double value = (static_cast<double>((c - a) - (b - a) - (d - a)) * fx + (d - a)) * fy + (b - a) * fx + a;
    value = value < 0.0 ? 0.0 : (value > 255.5 ? 255.5 : value);
    return static_cast<std::uint8_t>(value);
}

}  // namespace

// Samples inside the image read the corners straight from the store, samples at
// the top and right edges through clamped reads: both must agree with the
// corners getPixel delivers, for grey, colour and colour with alpha, in every
// channel and for every corner.
TEST(Sampling, BilinearEverywhereBlendsTheCornersGetPixelReads) {
    for (std::int32_t channels : {1, 3, 4}) {
        Image image;
        std::vector<std::uint8_t> rows;
        for (int k = 0; k < 5 * 4 * channels; ++k) {
            rows.push_back(static_cast<std::uint8_t>((k * 97 + 13) % 256));
        }
        imagetest::fill(image, 5, 4, channels, rows);
        int checked = 0;
        for (double y = 0.0; y < 4.0; y += 0.125) {
            for (double x = 0.0; x < 5.0; x += 0.125) {
                const double gx = x - 0.5;
                const double gy = y - 0.5;
                const auto ix = static_cast<std::int32_t>(gx);
                const auto iy = static_cast<std::int32_t>(gy);
                const double fx = gx - ix;
                const double fy = gy - iy;
                Color a, b, c, d;
                image.getPixel(ix, iy, a);
                image.getPixel(ix + 1, iy, b);
                image.getPixel(ix + 1, iy + 1, c);
                image.getPixel(ix, iy + 1, d);
                const std::uint8_t red = blendOfCorners(a.r, b.r, c.r, d.r, fx, fy);
                const Bytes expected{red, channels > 1 ? blendOfCorners(a.g, b.g, c.g, d.g, fx, fy) : red,
                                     channels > 2 ? blendOfCorners(a.b, b.b, c.b, d.b, fx, fy) : red,
                                     channels > 3 ? blendOfCorners(a.t, b.t, c.t, d.t, fx, fy) : a.t};
                Color out = imagetest::junk();
                ASSERT_EQ(image.sampleBilinear(x, y, out), 1);
                ASSERT_EQ(bytesOf(out), expected) << channels << " channels at " << x << ", " << y;
                EXPECT_EQ(out.kind, ColorBytes);
                ++checked;
            }
        }
        EXPECT_EQ(checked, 40 * 32);
    }
}

namespace {

// Compares the sampler with sampleBilinear over a grid of points reaching a
// quarter pixel beyond every edge, and at NaN; coloured counts the points that
// gave a colour.
void expectSamplerAgrees(const Image& image, const char* what, std::size_t& coloured) {
    const BilinearSampler sampler(image);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    std::vector<std::pair<double, double>> points{{nan, 1.0}, {1.0, nan}, {-0.01, 1.0}, {1.0, -1e300}};
    for (double y = -0.25; y <= image.height + 0.25; y += 0.125) {
        for (double x = -0.25; x <= image.width + 0.25; x += 0.125) {
            points.emplace_back(x, y);
        }
    }
    coloured = 0;
    for (const auto& [x, y] : points) {
        Color expected = imagetest::junk();
        coloured += static_cast<std::size_t>(image.sampleBilinear(x, y, expected));
        const SampleBytes got = sampler.sample(x, y);
        ASSERT_EQ((Bytes{got.r, got.g, got.b, got.t}), bytesOf(expected)) << what << " at " << x << ", " << y;
    }
}

}  // namespace

// The sampler reads many points of one image as sampleBilinear does, with the
// image looked at once: the same four bytes everywhere, inside, at the top and
// right edges where a corner is clamped, in the half-pixel strips, outside and
// at NaN, for every store kind the maps can have, for a file read in place and
// for an image that cannot be read.
TEST(Sampling, SamplerGivesWhatSampleBilinearGives) {
    std::size_t coloured = 0;
    for (std::int32_t channels : {1, 3, 4}) {
        Image image;
        std::vector<std::uint8_t> rows;
        for (int k = 0; k < 6 * 3 * channels; ++k) {
            rows.push_back(static_cast<std::uint8_t>((k * 61 + 7) % 256));
        }
        imagetest::fill(image, 6, 3, channels, rows);
        expectSamplerAgrees(image, "in memory", coloured);
        EXPECT_GT(coloured, 0u) << channels;
        image.valid = 0;
        expectSamplerAgrees(image, "not valid", coloured);
        EXPECT_EQ(coloured, 0u) << channels;
    }
    Image fits;
    ASSERT_EQ(fits.load(imagetest::planetary("bitpix16.fits")), 1);
    ASSERT_NE(fits.kind, ImagePixels);
    expectSamplerAgrees(fits, "read in place", coloured);
    EXPECT_GT(coloured, 0u);
}

// The biquadratic sample reads its nine neighbours through getPixel near the
// edges, where they are clamped, and straight from the store inside. A picture
// with a border of its edge pixels around it holds the same neighbourhoods one
// pixel further in: each sample near an edge of the small picture must equal
// the same sample, read from the store, in the bordered one.
TEST(Sampling, BiquadraticReadsTheStoreAsGetPixelReadsTheEdges) {
    constexpr std::int32_t width = 5;
    constexpr std::int32_t height = 4;
    for (const std::int32_t channels : {1, 3, 4}) {
        std::vector<std::uint8_t> rows;
        for (int k = 0; k < width * height * channels; ++k) {
            rows.push_back(static_cast<std::uint8_t>((k * 97 + 13) % 256));
        }
        Image small;
        imagetest::fill(small, width, height, channels, rows);
        std::vector<std::uint8_t> bordered;
        for (std::int32_t row = -1; row <= height; ++row) {  // stored rows, top first
            const std::int32_t from = std::clamp(row, 0, height - 1);
            for (std::int32_t column = -1; column <= width; ++column) {
                const std::int32_t at = (from * width + std::clamp(column, 0, width - 1)) * channels;
                bordered.insert(bordered.end(), rows.begin() + at, rows.begin() + at + channels);
            }
        }
        Image large;
        imagetest::fill(large, width + 2, height + 2, channels, bordered);
        int edgeSamples = 0;
        for (double y = 0.5; y < height; y += 0.25) {
            for (double x = 0.5; x < width; x += 0.25) {
                // The small picture's samples with a neighbour beyond its edge.
                const bool nearEdge = x < 1.5 || y < 1.5 || x >= width - 0.5 || y >= height - 0.5;
                Color edge = imagetest::junk();
                Color inside = imagetest::junk();
                ASSERT_EQ(small.sampleBiquadratic(x, y, edge), 1);
                ASSERT_EQ(large.sampleBiquadratic(x + 1.0, y + 1.0, inside), 1);
                ASSERT_EQ(bytesOf(inside), bytesOf(edge)) << channels << " channels at " << x << ", " << y;
                edgeSamples += nearEdge;
            }
        }
        EXPECT_GT(edgeSamples, 20);
    }
}
