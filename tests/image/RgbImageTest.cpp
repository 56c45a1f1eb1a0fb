#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>
#include <cstring>
#include <string>

#include "image/RgbImage.h"
#include "platform/MemoryLimit.h"
#include "tests/image/RasterTestUtil.h"

namespace {

// Lowers the raster limit for one test and restores it afterwards.
class RasterLimit {
public:
    explicit RasterLimit(uint64_t bytes) : m_old(SetRasterByteLimit(bytes)) {}
    ~RasterLimit() { SetRasterByteLimit(m_old); }

private:
    uint64_t m_old;
};

void ExpectNoRasters(const CRgbImage& image)
{
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_EQ(image.GetFullBits(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetHeight(), 0);
    EXPECT_EQ(image.GetFullWidth(), 0);
    EXPECT_EQ(image.GetFullHeight(), 0);
    EXPECT_EQ(image.GetBitmapInfo()->bmiHeader.biWidth, 0);
    EXPECT_EQ(image.GetBitmapInfo()->bmiHeader.biHeight, 0);
}

}  // namespace

TEST(RgbImage, ConstructorGivesEmptyImageAndZeroSizedHeader)
{
    CRgbImage image;
    ExpectNoRasters(image);
    EXPECT_EQ(image.GetName(), nullptr);
    EXPECT_EQ(image.m_nFlags, 0u);
    const BITMAPINFOHEADER& h = image.GetBitmapInfo()->bmiHeader;
    EXPECT_EQ(h.biSize, 40u);
    EXPECT_EQ(h.biPlanes, 1);
    EXPECT_EQ(h.biBitCount, 24);
    EXPECT_EQ(h.biCompression, (DWORD)BI_RGB);
    EXPECT_EQ(h.biSizeImage, 0u);
}

// A wrong fill count shifts every row after the first.
TEST(RgbImage, StrideIsThreeWidthPlusWidthModFour)
{
    const int strides[] = {4, 8, 12, 12, 16, 20, 24, 24};
    for (int width = 1; width <= 8; ++width) {
        SCOPED_TRACE(width);
        auto pixels = RandomPicture(width, 3, (uint32_t)width);
        CRgbImage image;
        ASSERT_EQ(image.SetImage("x", pixels.data(), width, 3), 0);
        EXPECT_EQ(StoredStride(width), (size_t)strides[width - 1]);
        EXPECT_EQ(image.GetPad(), width % 4);
        EXPECT_EQ(image.GetFullPad(), width % 4);
        EXPECT_EQ(image.GetBitmapInfo()->bmiHeader.biSizeImage,
                  (DWORD)(3 * 3 * (width + width % 4)));
        // Stored row 1 is picture row 1 (the middle row), B, G, R.
        const unsigned char* row1 = image.GetFullBits() + strides[width - 1];
        const unsigned char* in = pixels.data() + (size_t)width * 3;
        for (int x = 0; x < width; ++x) {
            EXPECT_EQ(row1[x * 3 + 0], in[x * 3 + 2]);
            EXPECT_EQ(row1[x * 3 + 2], in[x * 3 + 0]);
        }
    }
}

TEST(RgbImage, OnePixelIsStoredBgrWithOneFillByte)
{
    const unsigned char red[3] = {255, 0, 0};
    CRgbImage image;
    ASSERT_EQ(image.SetImage("r", red, 1, 1), 0);
    const unsigned char* full = image.GetFullBits();
    const unsigned char* disp = image.GetBits();
    EXPECT_EQ(full[0], 0);
    EXPECT_EQ(full[1], 0);
    EXPECT_EQ(full[2], 255);
    EXPECT_EQ(disp[0], 0);
    EXPECT_EQ(disp[2], 255);
    EXPECT_EQ(image.GetPad(), 1);
    EXPECT_EQ(image.GetBitmapInfo()->bmiHeader.biSizeImage, 6u);  // 3 x 1 x (1 + 1)
}

// Catches a lost row flip or byte swap on either side.
TEST(RgbImage, SetImageAndExportRgbRoundTrip)
{
    const int sizes[][2] = {{2, 2}, {1, 1}, {3, 5}, {5, 3}, {7, 1}, {1, 7}, {33, 17}};
    for (auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s[0]) + "x" + std::to_string(s[1]));
        auto pixels = RandomPicture(s[0], s[1], (uint32_t)(s[0] * 100 + s[1]));
        CRgbImage image;
        ASSERT_EQ(image.SetImage("p", pixels.data(), s[0], s[1]), 0);
        EXPECT_EQ(image.GetWidth(), s[0]);
        EXPECT_EQ(image.GetHeight(), s[1]);
        EXPECT_EQ(Exported(image), pixels);
        // The picture's top-left pixel sits at the start of the last stored row.
        EXPECT_EQ(StoredPixel(image.GetFullBits(), s[0], s[1], 0, 0),
                  ((uint32_t)pixels[0] << 16) | ((uint32_t)pixels[1] << 8) | pixels[2]);
    }
}

TEST(RgbImage, SetImageWithoutPixelsNamesTheImage)
{
    auto pixels = RandomPicture(4, 4, 1);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("old", pixels.data(), 4, 4), 0);
    EXPECT_EQ(image.SetImage("C:/a/b.jpg", nullptr, 0, 0), 0);
    EXPECT_STREQ(image.GetName(), "C:/a/b.jpg");
    ExpectNoRasters(image);
    EXPECT_EQ(image.ExportRgb(), nullptr);
    // Pixels with a zero size are no picture either.
    EXPECT_EQ(image.SetImage("z", pixels.data(), 0, 4), 0);
    ExpectNoRasters(image);
}

TEST(RgbImage, NullNames)
{
    auto pixels = RandomPicture(3, 3, 2);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("named", pixels.data(), 3, 3), 0);
    ASSERT_EQ(image.SetImage(nullptr, pixels.data(), 3, 3), 0);
    EXPECT_EQ(image.GetName(), nullptr);
    EXPECT_STREQ(image.GetFileName(), "");

    ASSERT_EQ(image.SetScaledImage("kept", pixels.data(), 3, 3, 2, 2), 0);
    ASSERT_EQ(image.SetScaledImage(nullptr, pixels.data(), 3, 3, 2, 2), 0);
    EXPECT_STREQ(image.GetName(), "kept");
}

// Owners pass the image's own name back in (re-filling a cell); releasing the
// old name before copying would read freed memory.
TEST(RgbImage, OwnNameCanBeGivenBack)
{
    auto pixels = RandomPicture(3, 3, 3);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("C:/photos/long-enough-name.jpg", nullptr, 0, 0), 0);
    ASSERT_EQ(image.SetScaledImage(image.GetName(), pixels.data(), 3, 3, 2, 2), 0);
    EXPECT_STREQ(image.GetName(), "C:/photos/long-enough-name.jpg");
    ASSERT_EQ(image.SetImage(image.GetName(), pixels.data(), 3, 3), 0);
    EXPECT_STREQ(image.GetName(), "C:/photos/long-enough-name.jpg");
}

TEST(RgbImage, SetScaledImageAtSameSizeCopies)
{
    auto pixels = RandomPicture(5, 4, 4);
    CRgbImage scaled, plain;
    ASSERT_EQ(scaled.SetScaledImage("s", pixels.data(), 5, 4, 5, 4), 0);
    ASSERT_EQ(plain.SetImage("p", pixels.data(), 5, 4), 0);
    EXPECT_EQ(Exported(scaled), pixels);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 5; ++x)
            EXPECT_EQ(StoredPixel(scaled.GetFullBits(), 5, 4, x, y),
                      StoredPixel(plain.GetFullBits(), 5, 4, x, y));
    EXPECT_EQ(scaled.GetFullWidth(), 5);
    EXPECT_EQ(scaled.GetPad(), 1);
    EXPECT_EQ(scaled.GetFullPad(), 1);
}

// Both rasters of a scaled image hold the same picture in stored layout, and
// the caller's buffer is not kept.
TEST(RgbImage, SetScaledImageFillsBothRasters)
{
    auto pixels = RandomPicture(30, 20, 5);
    CRgbImage image;
    ASSERT_EQ(image.SetScaledImage("t", pixels.data(), 30, 20, 11, 7), 0);
    EXPECT_EQ(image.GetFullWidth(), 11);
    EXPECT_EQ(image.GetFullHeight(), 7);
    EXPECT_EQ(image.GetWidth(), 11);
    EXPECT_EQ(image.GetHeight(), 7);
    EXPECT_NE(image.GetFullBits(), pixels.data());
    for (int y = 0; y < 7; ++y)
        for (int x = 0; x < 11; ++x)
            EXPECT_EQ(StoredPixel(image.GetFullBits(), 11, 7, x, y),
                      StoredPixel(image.GetBits(), 11, 7, x, y));
    const BITMAPINFOHEADER& h = image.GetBitmapInfo()->bmiHeader;
    EXPECT_EQ(h.biWidth, 11);
    EXPECT_EQ(h.biHeight, 7);
    EXPECT_EQ(h.biSizeImage, (DWORD)(3 * 7 * (11 + 3)));
}

TEST(RgbImage, RescaleToZeroReleasesDisplayRaster)
{
    auto pixels = RandomPicture(6, 6, 6);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 6, 6), 0);
    const unsigned char* full = image.GetFullBits();
    EXPECT_EQ(image.Rescale(0, 0), 0);
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetBitmapInfo()->bmiHeader.biWidth, 0);
    EXPECT_EQ(image.GetFullBits(), full);
    EXPECT_EQ(image.ExportRgb(), nullptr);
    // A later Rescale rebuilds it from the untouched full-size raster.
    ASSERT_EQ(image.Rescale(6, 6), 0);
    EXPECT_EQ(Exported(image), pixels);
}

TEST(RgbImage, RescaleWithoutFullRasterFails)
{
    CRgbImage image;
    EXPECT_EQ(image.Rescale(10, 10), -1);
    ASSERT_EQ(image.SetImage("named", nullptr, 0, 0), 0);
    EXPECT_EQ(image.Rescale(10, 10), -1);
    EXPECT_EQ(image.GetBits(), nullptr);
}

// Repeated zooming must never lose detail: Rescale leaves the full raster alone.
TEST(RgbImage, RescaleNeverAltersFullRaster)
{
    auto pixels = RandomPicture(9, 7, 7);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 9, 7), 0);
    ASSERT_EQ(image.Rescale(3, 2), 0);
    ASSERT_EQ(image.Rescale(40, 30), 0);
    ASSERT_EQ(image.Rescale(9, 7), 0);
    EXPECT_EQ(Exported(image), pixels);
}

TEST(RgbImage, GetFileName)
{
    struct Case {
        const char* name;
        const char* file;
    } cases[] = {
        {"C:/photos\\a.jpg", "a.jpg"},
        {"C:/a/b.jpg", "b.jpg"},
        {"D:", "D:"},
        {".. (Up Directory)", ".. (Up Directory)"},
        {"C:/dir/", ""},
        {"plain.jpg", "plain.jpg"},
    };
    for (const Case& c : cases) {
        CRgbImage image;
        image.SetImage(c.name, nullptr, 0, 0);
        EXPECT_STREQ(image.GetFileName(), c.file) << c.name;
    }
}

TEST(RgbImage, ClearEmptiesEverything)
{
    auto pixels = RandomPicture(4, 4, 8);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 4, 4), 0);
    image.m_nFlags = 0x1234;
    image.Clear();
    EXPECT_EQ(image.m_nFlags, 0u);
    EXPECT_EQ(image.GetName(), nullptr);
    ExpectNoRasters(image);
    image.Clear();  // clearing an empty image is harmless
    EXPECT_EQ(image.GetName(), nullptr);
}

// Negative sizes were undefined behaviour (negative allocation sizes).
TEST(RgbImage, NegativeSizesFail)
{
    auto pixels = RandomPicture(4, 4, 9);
    CRgbImage image;
    EXPECT_EQ(image.SetImage("n", pixels.data(), -4, 4), -1);
    EXPECT_STREQ(image.GetName(), "n");
    ExpectNoRasters(image);
    EXPECT_EQ(image.SetImage("n", pixels.data(), 4, -4), -1);
    ExpectNoRasters(image);
    EXPECT_EQ(image.SetScaledImage("s", pixels.data(), 4, 4, -2, 2), -1);
    EXPECT_STREQ(image.GetName(), "s");
    ExpectNoRasters(image);
    EXPECT_EQ(image.SetScaledImage("s", pixels.data(), -4, 4, 2, 2), -1);
    ExpectNoRasters(image);
    ASSERT_EQ(image.SetImage("ok", pixels.data(), 4, 4), 0);
    EXPECT_EQ(image.Rescale(-1, 5), -1);
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_NE(image.GetFullBits(), nullptr);
}

// 3 x h x (w + 3) for 50000 x 50000 is 7.5e9 bytes: in 32-bit arithmetic it
// wraps to a small buffer that the conversion then overruns. Sizes beyond the
// raster limit fail like an allocation failure.
TEST(RgbImage, OversizedSetImageFailsCleanly)
{
    RasterLimit limit(64u << 20);
    unsigned char dummy[3] = {1, 2, 3};
    CRgbImage image;
    EXPECT_EQ(image.SetImage("big.jpg", dummy, 50000, 50000), -1);
    EXPECT_STREQ(image.GetName(), "big.jpg");
    ExpectNoRasters(image);
    EXPECT_EQ(image.ExportRgb(), nullptr);
}

TEST(RgbImage, SizesBeyondAddressableMemoryFailWithoutLimit)
{
    unsigned char dummy[3] = {1, 2, 3};
    CRgbImage image;
    EXPECT_EQ(image.SetImage("huge", dummy, INT_MAX, INT_MAX), -1);
    ExpectNoRasters(image);
    auto pixels = RandomPicture(4, 4, 10);
    ASSERT_EQ(image.SetImage("ok", pixels.data(), 4, 4), 0);
    EXPECT_EQ(image.Rescale(INT_MAX, INT_MAX), -1);
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetFullWidth(), 4);
}

// A failed Rescale keeps the full raster and leaves no display raster; a
// failed SetScaledImage keeps no raster and no pointer to the caller's buffer.
TEST(RgbImage, OversizedRescaleAndScaledImageLeaveDocumentedState)
{
    auto pixels = RandomPicture(40, 30, 11);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 40, 30), 0);
    {
        RasterLimit limit(1u << 20);
        EXPECT_EQ(image.Rescale(50000, 50000), -1);
        EXPECT_EQ(image.GetBits(), nullptr);
        EXPECT_EQ(image.GetWidth(), 0);
        EXPECT_EQ(image.GetBitmapInfo()->bmiHeader.biWidth, 0);
        EXPECT_EQ(image.GetFullWidth(), 40);
        EXPECT_EQ(image.SetScaledImage("s", pixels.data(), 40, 30, 50000, 50000), -1);
        EXPECT_STREQ(image.GetName(), "s");
        ExpectNoRasters(image);
    }
    ASSERT_EQ(image.SetImage("x", pixels.data(), 40, 30), 0);
    ASSERT_EQ(image.Rescale(40, 30), 0);
    EXPECT_EQ(Exported(image), pixels);
}

// One budget for the rasters of a picture that are alive together: each
// raster below fits the limit on its own, but not beside the buffer alive
// with it (the caller's decoded pixels in SetImage, the full-size raster in
// a zoom). Catches a limit applied to one raster at a time.
TEST(RgbImage, RastersAliveTogetherShareOneBudget)
{
    auto pixels = RandomPicture(100, 100, 13);  // 30000 bytes; stored 30900
    CRgbImage image;
    {
        RasterLimit limit(50000);
        EXPECT_EQ(image.SetImage("a", pixels.data(), 100, 100), -1);
        ExpectNoRasters(image);
    }
    ASSERT_EQ(image.SetImage("a", pixels.data(), 100, 100), 0);
    {
        RasterLimit limit(150000);
        EXPECT_EQ(image.Rescale(200, 200), -1);  // 121800 beside 30900
        EXPECT_EQ(image.GetBits(), nullptr);
        EXPECT_EQ(image.GetFullWidth(), 100);
        EXPECT_EQ(image.Rescale(150, 150), 0);  // 68850 beside 30900
    }
}

TEST(RgbImage, ZeroTargetInSetScaledImageGivesNoPicture)
{
    auto pixels = RandomPicture(4, 4, 12);
    CRgbImage image;
    EXPECT_EQ(image.SetScaledImage("z", pixels.data(), 4, 4, 0, 3), 0);
    EXPECT_STREQ(image.GetName(), "z");
    ExpectNoRasters(image);
}

// A raster already in stored layout is taken over as it is: the same
// picture as SetImage of its exchange form, and no copy is left behind on
// failure (the sanitizer build sees a leak or a double free).
TEST(RgbImageTake, StoredRasterIsTakenOverAndReleasedOnFailure)
{
    const int w = 5, h = 3;
    const std::vector<unsigned char> rgb = RandomPicture(w, h, 7);
    CRgbImage reference;
    ASSERT_EQ(reference.SetImage("r", rgb.data(), w, h), 0);
    unsigned char* bits = (unsigned char*)malloc(3 * h * (w + 3));
    memcpy(bits, reference.GetFullBits(), StoredStride(w) * h);
    CRgbImage taken;
    ASSERT_EQ(taken.TakeImage("t", bits, w, h), 0);
    EXPECT_EQ(taken.GetFullBits(), bits);
    EXPECT_TRUE(taken.SharesRasters());
    EXPECT_STREQ(taken.GetName(), "t");
    EXPECT_EQ(Exported(taken), rgb);
    EXPECT_EQ(taken.TakeImage("u", (unsigned char*)malloc(16), 0, 4), -1);
    EXPECT_EQ(taken.GetFullBits(), nullptr);
    EXPECT_STREQ(taken.GetName(), "u");
    EXPECT_EQ(taken.TakeImage("v", nullptr, 2, 2), -1);
}
