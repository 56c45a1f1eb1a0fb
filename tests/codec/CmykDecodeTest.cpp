// Four-component JPEGs (CMYK, YCCK) decode to RGB over the whole raster.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "codec/JpegConverter.h"
#include "tests/codec/CodecTestSupport.h"

namespace {

typedef std::unique_ptr<unsigned char, FreeDeleter> Raster;

struct Patch {
    unsigned char c, m, y, k;  // ink amounts, 255 = full ink
    unsigned char r, g, b;     // expected colour
};

const Patch kPatches[] = {
    {0, 0, 0, 0, 255, 255, 255},      {255, 0, 0, 0, 0, 255, 255},
    {0, 255, 0, 0, 255, 0, 255},      {0, 0, 255, 0, 255, 255, 0},
    {0, 255, 255, 0, 255, 0, 0},      {0, 0, 0, 255, 0, 0, 0},
    {0, 0, 0, 128, 127, 127, 127},    {64, 128, 192, 32, 167, 111, 55},
};
const int kPatchSize = 16;
const int kPatchCount = sizeof(kPatches) / sizeof(kPatches[0]);

enum class Storage { kAdobeInverted, kPlainInk, kYcckAdobe };

// Encodes the patches side by side as a four-component JPEG.
std::vector<unsigned char> PatchJpeg(Storage storage)
{
    const int width = kPatchSize * kPatchCount, height = kPatchSize;
    std::vector<unsigned char> cmyk((size_t)width * height * 4);
    const bool inverted = storage != Storage::kPlainInk;
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            const Patch& p = kPatches[x / kPatchSize];
            unsigned char* px = &cmyk[((size_t)y * width + x) * 4];
            const unsigned char ink[4] = {p.c, p.m, p.y, p.k};
            for (int i = 0; i < 4; i++)
                px[i] = inverted ? (unsigned char)(255 - ink[i]) : ink[i];
        }
    if (storage == Storage::kYcckAdobe)
        return EncodeYcck(cmyk, width, height);
    return EncodeCmyk(cmyk, width, height, storage == Storage::kAdobeInverted);
}

class CmykPatches : public testing::TestWithParam<Storage> {};

// Copying four samples per pixel as if they were three gave garbage colours
// and dropped a quarter of the rows; each patch must come out in its colour.
TEST_P(CmykPatches, DecodeToTheirRgbColours)
{
    std::vector<unsigned char> jpeg = PatchJpeg(GetParam());
    CJpegConverter conv;
    CStderrCapture capture;
    Raster raster(conv.Decode(jpeg.data(), (uint32_t)jpeg.size()));
    ASSERT_NE(raster, nullptr);
    ASSERT_EQ(conv.GetWidth(), kPatchSize * kPatchCount);
    ASSERT_EQ(conv.GetHeight(), kPatchSize);
    for (int i = 0; i < kPatchCount; i++) {
        // Every row of the patch, sampled at its centre column.
        for (int y = 0; y < kPatchSize; y++) {
            const unsigned char* px =
                raster.get() + ((size_t)y * conv.GetWidth() + i * kPatchSize + kPatchSize / 2) * 3;
            EXPECT_NEAR(px[0], kPatches[i].r, 3) << "patch " << i << " row " << y;
            EXPECT_NEAR(px[1], kPatches[i].g, 3) << "patch " << i << " row " << y;
            EXPECT_NEAR(px[2], kPatches[i].b, 3) << "patch " << i << " row " << y;
        }
    }
    EXPECT_EQ(capture.Text(), "");
}

INSTANTIATE_TEST_SUITE_P(Storages, CmykPatches,
                         testing::Values(Storage::kAdobeInverted, Storage::kPlainInk,
                                         Storage::kYcckAdobe));

// The real files: the whole raster is filled and no row is dropped.
TEST(CmykDecode, RealFourComponentFilesFillTheRaster)
{
    struct {
        const char* file;
        int width, height;
    } files[] = {{"cmyk-adobe-32x32.jpg", 32, 32},
                 {"cmyk-adobe-256x256.jpg", 256, 256},
                 {"ycck-adobe-500x333.jpg", 500, 333}};
    for (const auto& f : files) {
        std::vector<unsigned char> bytes = ReadBytes(DataPath(f.file));
        CJpegConverter conv;
        std::string text;
        Raster raster(DecodeCapturing(conv, bytes, &text));
        ASSERT_NE(raster, nullptr) << f.file;
        EXPECT_EQ(conv.GetWidth(), f.width) << f.file;
        EXPECT_EQ(conv.GetHeight(), f.height) << f.file;
        EXPECT_EQ(CountOf(text, "Too many bytes"), 0) << f.file;
        // The last row holds picture, not the zero fill of an unfilled raster.
        const unsigned char* last = raster.get() + (size_t)(f.height - 1) * f.width * 3;
        int nonZero = 0;
        for (int i = 0; i < f.width * 3; i++)
            nonZero += last[i] != 0;
        EXPECT_GT(nonZero, 0) << f.file;
    }
}

}  // namespace
