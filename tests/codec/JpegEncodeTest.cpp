// Encoding: the stream the library makes from the raster, quality handling,
// failures, and round trips through the decoder.

#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include <jpeglib.h>

#include "codec/JpegConverter.h"
#include "tests/codec/CodecTestSupport.h"

namespace {

typedef std::unique_ptr<unsigned char, FreeDeleter> Block;

std::vector<unsigned char> Gradient(int width, int height)
{
    std::vector<unsigned char> rgb((size_t)width * height * 3);
    for (int y = 0; y < height; y++)
        for (int x = 0; x < width; x++) {
            unsigned char* p = &rgb[((size_t)y * width + x) * 3];
            p[0] = (unsigned char)(x * 255 / (width > 1 ? width - 1 : 1));
            p[1] = (unsigned char)(y * 255 / (height > 1 ? height - 1 : 1));
            p[2] = (unsigned char)((x + y) * 255 / (width + height));
        }
    return rgb;
}

std::vector<unsigned char> Noise(int width, int height, unsigned seed)
{
    std::vector<unsigned char> rgb((size_t)width * height * 3);
    for (unsigned char& b : rgb) {
        seed = seed * 1103515245u + 12345u;
        b = (unsigned char)(seed >> 16);
    }
    return rgb;
}

std::vector<unsigned char> EncodeWith(const std::vector<unsigned char>& rgb, int width, int height,
                                      int quality)
{
    CJpegConverter conv;
    conv.m_nQuality = quality;
    Block jpeg(conv.Encode(rgb.data(), width, height));
    if (!jpeg)
        return {};
    return std::vector<unsigned char>(jpeg.get(), jpeg.get() + conv.GetSize());
}

// Byte for byte what the library makes: catches lost or repeated 4096-byte
// chunks, slack at the end, a wrong row order, and parameter drift (quality,
// baseline, colour space). Sizes span less than one chunk to many chunks.
TEST(JpegEncode, StreamIsExactlyTheLibrarysOwn)
{
    struct {
        int width, height, quality;
        bool noise;
    } cases[] = {{1, 1, 75, false},   {150, 100, 65, false}, {150, 100, 65, true},
                 {64, 64, 100, true}, {333, 97, 90, true},   {17, 1000, 40, false}};
    for (const auto& c : cases) {
        std::vector<unsigned char> rgb =
            c.noise ? Noise(c.width, c.height, 42) : Gradient(c.width, c.height);
        std::vector<unsigned char> ours = EncodeWith(rgb, c.width, c.height, c.quality);
        std::vector<unsigned char> theirs = LibraryEncode(rgb, c.width, c.height, c.quality);
        ASSERT_FALSE(ours.empty()) << c.width << "x" << c.height;
        EXPECT_EQ(ours, theirs) << c.width << "x" << c.height << " q" << c.quality << " ("
                                << ours.size() << " bytes)";
        EXPECT_EQ(ours[ours.size() - 2], 0xFF);
        EXPECT_EQ(ours[ours.size() - 1], JPEG_EOI);
    }
}

TEST(JpegEncode, OneByOneRoundTrips)
{
    const unsigned char pixel[3] = {200, 40, 90};
    CJpegConverter conv;
    Block jpeg(conv.Encode(pixel, 1, 1));
    ASSERT_NE(jpeg, nullptr);
    ASSERT_GT(conv.GetSize(), 0);
    CJpegConverter dec;
    CStderrCapture capture;
    Block raster(dec.Decode(jpeg.get(), (uint32_t)conv.GetSize()));
    ASSERT_NE(raster, nullptr);
    EXPECT_EQ(dec.GetWidth(), 1);
    EXPECT_EQ(dec.GetHeight(), 1);
    for (int i = 0; i < 3; i++)
        EXPECT_NEAR(raster.get()[i], pixel[i], 6) << "channel " << i;
    EXPECT_EQ(capture.Text(), "");
}

// A thumbnail-sized round trip at the cache's quality: the picture survives
// (no rows swapped or shifted, no colour channels exchanged).
TEST(JpegEncode, GradientRoundTripsCloseToTheOriginal)
{
    const int w = 150, h = 100;
    std::vector<unsigned char> rgb = Gradient(w, h);
    CJpegConverter conv;
    conv.m_nQuality = 65;
    Block jpeg(conv.Encode(rgb.data(), w, h));
    ASSERT_NE(jpeg, nullptr);
    Block raster(conv.Decode(jpeg.get(), (uint32_t)conv.GetSize()));
    ASSERT_NE(raster, nullptr);
    ASSERT_EQ(conv.GetWidth(), w);
    ASSERT_EQ(conv.GetHeight(), h);
    long total = 0;
    int worst = 0;
    for (size_t i = 0; i < rgb.size(); i++) {
        int d = abs((int)raster.get()[i] - (int)rgb[i]);
        total += d;
        worst = d > worst ? d : worst;
    }
    EXPECT_LT((double)total / rgb.size(), 3.0);
    EXPECT_LT(worst, 40);
}

// Quality below 1 acts as 1 and above 100 as 100 (the library's clamp);
// 65 and 75 give different luminance tables (the standard table's 16 scaled
// to 11 and 8).
TEST(JpegEncode, QualityIsClampedAndScalesTheTables)
{
    std::vector<unsigned char> rgb = Noise(48, 32, 7);
    const std::vector<unsigned char> q1 = EncodeWith(rgb, 48, 32, 1);
    const std::vector<unsigned char> q100 = EncodeWith(rgb, 48, 32, 100);
    ASSERT_FALSE(q1.empty());
    ASSERT_FALSE(q100.empty());
    EXPECT_NE(q1, q100);
    for (int q : {0, -1, -500})
        EXPECT_EQ(EncodeWith(rgb, 48, 32, q), q1) << q;
    for (int q : {101, 1000})
        EXPECT_EQ(EncodeWith(rgb, 48, 32, q), q100) << q;

    const std::vector<unsigned char> q65 = EncodeWith(rgb, 48, 32, 65);
    const std::vector<unsigned char> q75 = EncodeWith(rgb, 48, 32, 75);
    std::vector<unsigned> t65 = LuminanceQuantTable(q65.data(), q65.size());
    std::vector<unsigned> t75 = LuminanceQuantTable(q75.data(), q75.size());
    ASSERT_EQ(t65.size(), 64u);
    ASSERT_EQ(t75.size(), 64u);
    EXPECT_NE(t65, t75);
    EXPECT_EQ(t65[0], 11u);
    EXPECT_EQ(t75[0], 8u);
    EXPECT_EQ(LuminanceQuantTable(q100.data(), q100.size()), std::vector<unsigned>(64, 1u));
}

TEST(JpegEncode, DefaultQualityIs75)
{
    CJpegConverter conv;
    EXPECT_EQ(conv.m_nQuality, 75);
    EXPECT_EQ(conv.GetWidth(), 0);
    EXPECT_EQ(conv.GetHeight(), 0);
    EXPECT_EQ(conv.GetSize(), 0);
    std::vector<unsigned char> rgb = Gradient(40, 30);
    Block jpeg(conv.Encode(rgb.data(), 40, 30));
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(std::vector<unsigned char>(jpeg.get(), jpeg.get() + conv.GetSize()),
              LibraryEncode(rgb, 40, 30, 75));
}

struct BadSize {
    int width, height;
    const char* message;
};

// An encode that fails returns null with size 0 (never the previous size),
// and reports the library's message as one line.
TEST(JpegEncode, ImpossibleSizesGiveNullAndSizeZero)
{
    std::vector<unsigned char> rgb = Gradient(65501, 1);
    const BadSize cases[] = {
        {0, 10, "Empty JPEG image (DNL not supported)\n"},
        {10, 0, "Empty JPEG image (DNL not supported)\n"},
        {0, 0, "Empty JPEG image (DNL not supported)\n"},
        {65501, 1, "Maximum supported image dimension is 65500 pixels\n"},
        {-4, 10, ""},
        {10, -4, ""},
    };
    for (const BadSize& c : cases) {
        CJpegConverter conv;
        conv.m_nSize = 1234;
        std::string text;
        unsigned char* jpeg;
        {
            CStderrCapture capture;
            jpeg = conv.Encode(rgb.data(), c.width, c.height);
            text = capture.Text();
        }
        EXPECT_EQ(jpeg, nullptr) << c.width << "x" << c.height;
        free(jpeg);
        EXPECT_EQ(conv.GetSize(), 0) << c.width << "x" << c.height;
        EXPECT_EQ(text, c.message) << c.width << "x" << c.height;
    }
}

// Encode describes the raster it is given; it must not touch the decoded
// picture's size nor the pixels.
TEST(JpegEncode, LeavesWidthHeightAndPixelsAlone)
{
    std::vector<unsigned char> rgb = Noise(150, 100, 3);
    const std::vector<unsigned char> before = rgb;
    CJpegConverter conv;
    conv.m_nWidth = 4000;
    conv.m_nHeight = 3000;
    Block jpeg(conv.Encode(rgb.data(), 150, 100));
    ASSERT_NE(jpeg, nullptr);
    EXPECT_EQ(conv.GetWidth(), 4000);
    EXPECT_EQ(conv.GetHeight(), 3000);
    EXPECT_EQ(rgb, before);
}

}  // namespace
