#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "image/RgbImage.h"
#include "tests/image/RasterTestUtil.h"

namespace {

// The resampling rules written out plainly, one byte at a time, on a raster
// given by its row stride. Rows are in whatever order the raster has.
struct Raster {
    const unsigned char* bits;
    int width, height;
    size_t stride;
    int P(int x, int y, int c) const { return bits[(size_t)y * stride + (size_t)x * 3 + c]; }
};

std::vector<unsigned char> ReferenceResample(const Raster& src, int w, int h)
{
    const int W = src.width, H = src.height;
    float sx = w > 1 ? (float)((double)(W - 1) / (double)(w - 1)) : (float)(W - 1);
    float sy = h > 1 ? (float)((double)(H - 1) / (double)(h - 1)) : (float)(H - 1);
    std::vector<unsigned char> out((size_t)w * h * 3);
    for (int i = 0; i < h; ++i) {
        double fy = (double)i * (double)sy;
        int y0 = (int)std::trunc(fy);
        int y1 = std::min(y0 + 1, H - 1);
        for (int j = 0; j < w; ++j) {
            double fx = (double)j * (double)sx;
            int x0 = (int)std::trunc(fx);
            int x1 = std::min(x0 + 1, W - 1);
            for (int c = 0; c < 3; ++c) {
                unsigned value;
                if (sx < 1.0f && sy < 1.0f) {
                    unsigned wy = (unsigned)std::trunc((fy - y0) * 256);
                    unsigned wx = (unsigned)std::trunc((fx - x0) * 256);
                    unsigned top = src.P(x0, y0, c) * (256 - wx) + src.P(x1, y0, c) * wx;
                    unsigned bottom = src.P(x0, y1, c) * (256 - wx) + src.P(x1, y1, c) * wx;
                    value = (top * (256 - wy) + bottom * wy) >> 16;
                } else {
                    unsigned sum = 0, count = 0;
                    for (int y = y0; y <= y1; ++y)
                        for (int x = x0; x <= x1; ++x, ++count)
                            sum += src.P(x, y, c);
                    value = sum / count;
                }
                out[((size_t)i * w + j) * 3 + c] = (unsigned char)value;
            }
        }
    }
    return out;
}

// The display raster without its fill bytes, in stored row order.
std::vector<unsigned char> DisplayBytes(const CRgbImage& image)
{
    std::vector<unsigned char> v;
    size_t stride = StoredStride(image.GetWidth());
    for (int r = 0; r < image.GetHeight(); ++r) {
        const unsigned char* row = image.GetBits() + (size_t)r * stride;
        v.insert(v.end(), row, row + (size_t)image.GetWidth() * 3);
    }
    return v;
}

struct Sizes {
    int W, H, w, h;
};

std::string Name(const Sizes& s)
{
    return std::to_string(s.W) + "x" + std::to_string(s.H) + " -> " + std::to_string(s.w) + "x" +
           std::to_string(s.h);
}

// Reductions, enlargements, mixed directions, 1-pixel sides and odd widths
// (every fill count). Equal sizes are copied, not resampled, so none here.
const Sizes kSizes[] = {
    {100, 100, 80, 80}, {2, 2, 4, 4},     {10, 100, 20, 50},  {3, 3, 1, 1},
    {1, 1, 1, 1},       {1, 1, 5, 3},     {5, 1, 13, 1},      {1, 7, 1, 19},
    {640, 480, 150, 113}, {150, 113, 641, 481}, {37, 23, 111, 70}, {37, 23, 12, 40},
    {7, 9, 6, 10},      {1000, 3, 333, 7}, {3, 1000, 7, 333}, {257, 129, 1023, 515},
    {99, 101, 98, 102}, {13, 17, 13, 18}, {64, 48, 2, 1},     {2, 1, 3, 2},
};

// The fixed table plus sizes drawn from a seeded generator.
std::vector<Sizes> AllSizes()
{
    std::vector<Sizes> all(std::begin(kSizes), std::end(kSizes));
    std::mt19937 rng(2024);
    std::uniform_int_distribution<int> side(1, 300);
    while (all.size() < std::size(kSizes) + 40) {
        Sizes s{side(rng), side(rng), side(rng), side(rng)};
        if (s.W != s.w || s.H != s.h)
            all.push_back(s);
    }
    return all;
}

}  // namespace

// Rescale works on the bottom-up stored raster: compare byte for byte with
// the plain formulas applied to the stored rows.
TEST(RgbImageResample, RescaleMatchesReferenceFormulas)
{
    uint32_t seed = 1;
    for (const Sizes& s : AllSizes()) {
        SCOPED_TRACE(Name(s));
        auto pixels = RandomPicture(s.W, s.H, seed++);
        CRgbImage image;
        ASSERT_EQ(image.SetImage("x", pixels.data(), s.W, s.H), 0);
        Raster full{image.GetFullBits(), s.W, s.H, StoredStride(s.W)};
        auto expected = ReferenceResample(full, s.w, s.h);
        ASSERT_EQ(image.Rescale(s.w, s.h), 0);
        ASSERT_EQ(image.GetWidth(), s.w);
        ASSERT_EQ(image.GetPad(), s.w % 4);
        EXPECT_EQ(DisplayBytes(image), expected);
    }
}

// SetScaledImage resamples the caller's top-down buffer, then stores the
// result bottom-up: its export equals the formulas on the top-down rows.
TEST(RgbImageResample, SetScaledImageMatchesReferenceOnCallerRows)
{
    uint32_t seed = 100;
    for (const Sizes& s : AllSizes()) {
        SCOPED_TRACE(Name(s));
        auto pixels = RandomPicture(s.W, s.H, seed++);
        Raster in{pixels.data(), s.W, s.H, (size_t)s.W * 3};
        auto expected = ReferenceResample(in, s.w, s.h);
        CRgbImage image;
        ASSERT_EQ(image.SetScaledImage("x", pixels.data(), s.W, s.H, s.w, s.h), 0);
        EXPECT_EQ(Exported(image), expected);
    }
}

// The step is kept as a 32-bit float: 99/79 becomes 1.2531645298..., so
// column 79 samples 98.99999... -> source columns 98 and 99.
TEST(RgbImageResample, HundredToEightyLastColumnIsMeanOf98And99)
{
    float step = (float)(99.0 / 79.0);
    EXPECT_NEAR((double)step, 1.2531645298, 1e-9);
    EXPECT_LT(79.0 * (double)step, 99.0);

    // R = 2x, G = 2y: the means show which columns and rows were used.
    std::vector<unsigned char> pixels(100 * 100 * 3, 0);
    for (int y = 0; y < 100; ++y)
        for (int x = 0; x < 100; ++x) {
            pixels[((size_t)y * 100 + x) * 3 + 0] = (unsigned char)(2 * x);
            pixels[((size_t)y * 100 + x) * 3 + 1] = (unsigned char)(2 * y);
        }
    CRgbImage image;
    ASSERT_EQ(image.SetScaledImage("x", pixels.data(), 100, 100, 80, 80), 0);
    auto out = Exported(image);
    const size_t last = ((size_t)79 * 80 + 79) * 3;
    EXPECT_EQ(out[last + 0], (196 + 198) / 2);  // columns 98 and 99
    EXPECT_EQ(out[last + 1], (196 + 198) / 2);  // rows 98 and 99
    EXPECT_EQ(out[0], 1);                       // columns 0 and 1: (0 + 2) / 2
}

TEST(RgbImageResample, ThreeThousandToHundredFiftyClampsLastColumn)
{
    const int W = 3000;
    std::vector<unsigned char> pixels((size_t)W * 2 * 3);
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < W; ++x) {
            unsigned char* p = &pixels[((size_t)y * W + x) * 3];
            p[0] = (unsigned char)(x & 0xFF);
            p[1] = (unsigned char)((x >> 8) * 20);
            p[2] = 7;
        }
    CRgbImage image;
    ASSERT_EQ(image.SetScaledImage("x", pixels.data(), W, 2, 150, 1), 0);
    auto out = Exported(image);
    // Column 149 samples x0 = 2999 and nothing to its right.
    EXPECT_EQ(out[149 * 3 + 0], 2999 & 0xFF);
    EXPECT_EQ(out[149 * 3 + 1], (2999 >> 8) * 20);
    EXPECT_EQ(out[149 * 3 + 2], 7);
}

TEST(RgbImageResample, DoublingTwoByTwoIsBilinear)
{
    const unsigned char pixels[12] = {10, 200, 33, 250, 0, 99,    // top row: P(0,0), P(1,0)
                                      60, 60, 60, 120, 130, 140};  // bottom row
    CRgbImage image;
    ASSERT_EQ(image.SetScaledImage("x", pixels, 2, 2, 4, 4), 0);
    auto out = Exported(image);
    for (int c = 0; c < 3; ++c) {
        // Row 0, column 1: wx = trunc(0.33333334 x 256) = 85.
        unsigned expected = ((pixels[c] * 171u + pixels[3 + c] * 85u) * 256u) >> 16;
        EXPECT_EQ(out[1 * 3 + c], expected) << c;
        // Column 3 samples 1.00000003: source column 1 repeated.
        EXPECT_EQ(out[3 * 3 + c], pixels[3 + c]) << c;
        EXPECT_EQ(out[0 * 3 + c], pixels[c]) << c;
    }
}

// Growing in width but shrinking in height is a 2 x 2 mean, not bilinear.
TEST(RgbImageResample, MixedDirectionsUseMean)
{
    auto pixels = RandomPicture(10, 100, 77);
    CRgbImage image;
    ASSERT_EQ(image.SetScaledImage("x", pixels.data(), 10, 100, 20, 50), 0);
    auto out = Exported(image);
    // Destination (1, 0): sx = 9/19, x0 = 0, x1 = 1; sy = 99/49, y0 = 0, y1 = 1.
    for (int c = 0; c < 3; ++c) {
        unsigned sum = pixels[c] + pixels[3 + c] + pixels[30 + c] + pixels[33 + c];
        EXPECT_EQ(out[3 + c], sum / 4) << c;
    }
}

TEST(RgbImageResample, OnePixelTargets)
{
    auto pixels = RandomPicture(3, 3, 5);
    // SetScaledImage: the top-left 2 x 2 of the caller's buffer.
    CRgbImage scaled;
    ASSERT_EQ(scaled.SetScaledImage("x", pixels.data(), 3, 3, 1, 1), 0);
    auto out = Exported(scaled);
    for (int c = 0; c < 3; ++c) {
        unsigned sum = pixels[c] + pixels[3 + c] + pixels[9 + c] + pixels[12 + c];
        EXPECT_EQ(out[c], sum / 4) << c;
    }
    // Rescale: the first two stored rows, the bottom-left 2 x 2 of the picture.
    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 3, 3), 0);
    ASSERT_EQ(image.Rescale(1, 1), 0);
    out = Exported(image);
    for (int c = 0; c < 3; ++c) {
        unsigned sum = pixels[18 + c] + pixels[21 + c] + pixels[9 + c] + pixels[12 + c];
        EXPECT_EQ(out[c], sum / 4) << c;
    }
    // A 1 x 1 source is copied.
    const unsigned char one[3] = {9, 8, 7};
    ASSERT_EQ(scaled.SetScaledImage("x", one, 1, 1, 1, 1), 0);
    out = Exported(scaled);
    EXPECT_EQ(out, std::vector<unsigned char>(one, one + 3));
}
