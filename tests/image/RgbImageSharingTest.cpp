// A display raster at full size shares the full-size raster's buffer instead
// of holding a copy. These tests catch a shared buffer that is freed twice,
// freed while still shown, changed through one raster but not the other, or
// left shared after the sizes have parted.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/RgbImage.h"
#include "platform/MemoryLimit.h"
#include "tests/image/RasterTestUtil.h"

namespace {

// The full-size raster in exchange layout (top-down R, G, B).
std::vector<unsigned char> FullAsRgb(const CRgbImage& image)
{
    const int w = image.GetFullWidth(), h = image.GetFullHeight();
    std::vector<unsigned char> v;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint32_t p = StoredPixel(image.GetFullBits(), w, h, x, y);
            v.push_back((unsigned char)(p >> 16));
            v.push_back((unsigned char)(p >> 8));
            v.push_back((unsigned char)p);
        }
    return v;
}

// A shared display raster is described exactly as a copy would be.
void ExpectShared(const CRgbImage& image)
{
    EXPECT_TRUE(image.SharesRasters());
    EXPECT_EQ(image.GetBits(), image.GetFullBits());
    EXPECT_EQ(image.GetWidth(), image.GetFullWidth());
    EXPECT_EQ(image.GetHeight(), image.GetFullHeight());
    EXPECT_EQ(image.GetPad(), image.GetFullPad());
    const BITMAPINFOHEADER& h = image.GetBitmapInfo()->bmiHeader;
    EXPECT_EQ(h.biWidth, image.GetFullWidth());
    EXPECT_EQ(h.biHeight, image.GetFullHeight());
    EXPECT_EQ(h.biSizeImage, (DWORD)(3 * image.GetFullHeight() *
                                     (image.GetFullWidth() + image.GetFullPad())));
}

// Pictures with every row fill (widths 1 to 4 mod 4) and tall and wide shapes.
const int kSizes[][2] = {{1, 1}, {2, 3}, {3, 2}, {5, 4}, {7, 1}, {1, 9}, {37, 23}};

TEST(RgbImageSharing, FullSizeDisplayRasterSharesTheBuffer)
{
    for (auto& s : kSizes) {
        SCOPED_TRACE(std::to_string(s[0]) + "x" + std::to_string(s[1]));
        auto pixels = RandomPicture(s[0], s[1], (uint32_t)(s[0] * 31 + s[1]));

        CRgbImage set;
        ASSERT_EQ(set.SetImage("a", pixels.data(), s[0], s[1]), 0);
        ExpectShared(set);
        EXPECT_EQ(Exported(set), pixels);

        // SetScaledImage at the caller's size and at another size.
        CRgbImage same;
        ASSERT_EQ(same.SetScaledImage("b", pixels.data(), s[0], s[1], s[0], s[1]), 0);
        ExpectShared(same);
        EXPECT_EQ(Exported(same), pixels);
        CRgbImage other;
        ASSERT_EQ(other.SetScaledImage("c", pixels.data(), s[0], s[1], s[0] + 2, s[1] + 1), 0);
        ExpectShared(other);
    }
}

TEST(RgbImageSharing, NamedOrEmptyImageSharesNothing)
{
    CRgbImage image;
    EXPECT_FALSE(image.SharesRasters());
    ASSERT_EQ(image.SetImage("n", nullptr, 0, 0), 0);
    EXPECT_FALSE(image.SharesRasters());
    EXPECT_EQ(image.GetBits(), nullptr);
}

// Rescale to another size must leave the full raster alive and unchanged,
// and a later full-size Rescale shares it again.
TEST(RgbImageSharing, RescaleGivesUpSharingWithoutFreeingTheFullRaster)
{
    auto pixels = RandomPicture(37, 23, 5);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("a", pixels.data(), 37, 23), 0);
    const unsigned char* full = image.GetFullBits();

    const int sizes[][2] = {{20, 30}, {0, 0}, {74, 46}, {1, 1}};
    for (auto& s : sizes) {
        SCOPED_TRACE(std::to_string(s[0]) + "x" + std::to_string(s[1]));
        ASSERT_EQ(image.Rescale(s[0], s[1]), 0);
        EXPECT_FALSE(image.SharesRasters());
        EXPECT_EQ(image.GetFullBits(), full);
        EXPECT_EQ(FullAsRgb(image), pixels);
        if (s[0] != 0) {
            EXPECT_NE(image.GetBits(), full);
        }
        // New blocks of the raster's size must not land on the full raster.
        std::vector<unsigned char> churn(StoredStride(37) * 23, 0xEE);
        EXPECT_EQ(FullAsRgb(image), pixels);
        EXPECT_EQ(churn.back(), 0xEE);

        ASSERT_EQ(image.Rescale(37, 23), 0);
        ExpectShared(image);
        EXPECT_EQ(Exported(image), pixels);
    }
    // Rescaling a shared image to its own size keeps the one buffer.
    ASSERT_EQ(image.Rescale(37, 23), 0);
    ExpectShared(image);
    EXPECT_EQ(image.GetFullBits(), full);
}

// A failed Rescale of a shared image leaves the full raster and no display.
TEST(RgbImageSharing, FailedRescaleKeepsTheFullRaster)
{
    auto pixels = RandomPicture(40, 30, 6);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("a", pixels.data(), 40, 30), 0);
    {
        uint64_t old = SetRasterByteLimit(1u << 20);
        EXPECT_EQ(image.Rescale(50000, 50000), -1);
        SetRasterByteLimit(old);
    }
    EXPECT_FALSE(image.SharesRasters());
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(FullAsRgb(image), pixels);
}

// Turning a shared image turns the one buffer once: both rasters show the
// turned picture, the sizes of both swap, and the sharing stays.
TEST(RgbImageSharing, RotationTurnsTheSharedBufferOnce)
{
    for (bool clockwise : {true, false}) {
        for (auto& s : kSizes) {
            const int W = s[0], H = s[1];
            SCOPED_TRACE(std::to_string(W) + "x" + std::to_string(H) + (clockwise ? " cw" : " ccw"));
            auto pixels = RandomPicture(W, H, (uint32_t)(W * 7 + H));
            CRgbImage image;
            ASSERT_EQ(image.SetImage("a", pixels.data(), W, H), 0);
            clockwise ? image.RotateClockwise() : image.RotateCounterClockwise();
            ExpectShared(image);
            ASSERT_EQ(image.GetWidth(), H);
            ASSERT_EQ(image.GetHeight(), W);
            for (int y = 0; y < H; ++y)
                for (int x = 0; x < W; ++x) {
                    const unsigned char* p = &pixels[((size_t)y * W + x) * 3];
                    uint32_t want = ((uint32_t)p[0] << 16) | ((uint32_t)p[1] << 8) | p[2];
                    // Clockwise (x, y) goes to (H - 1 - y, x); counter-clockwise to (y, W - 1 - x).
                    int nx = clockwise ? H - 1 - y : y;
                    int ny = clockwise ? x : W - 1 - x;
                    ASSERT_EQ(StoredPixel(image.GetBits(), H, W, nx, ny), want)
                        << "pixel " << x << "," << y;
                }
            // Four turns in all give the picture back, still shared.
            for (int i = 0; i < 3; ++i)
                clockwise ? image.RotateClockwise() : image.RotateCounterClockwise();
            ExpectShared(image);
            EXPECT_EQ(Exported(image), pixels);
        }
    }
}

// The sharing parts cleanly after a turn: a display raster rebuilt at
// another size and then at full size again shows the turned picture.
TEST(RgbImageSharing, RescaleAfterTurnUsesTheTurnedFullRaster)
{
    auto pixels = RandomPicture(6, 4, 8);
    CRgbImage turned;
    ASSERT_EQ(turned.SetImage("a", pixels.data(), 6, 4), 0);
    turned.RotateClockwise();
    std::vector<unsigned char> expected = Exported(turned);

    ASSERT_EQ(turned.Rescale(2, 3), 0);
    EXPECT_FALSE(turned.SharesRasters());
    ASSERT_EQ(turned.Rescale(4, 6), 0);
    ExpectShared(turned);
    EXPECT_EQ(Exported(turned), expected);
}

// A turn whose buffer cannot be had changes nothing, sharing included.
TEST(RgbImageSharing, FailedTurnKeepsTheSharedRaster)
{
    auto pixels = RandomPicture(100, 1, 9);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("a", pixels.data(), 100, 1), 0);
    uint64_t old = SetRasterByteLimit(1000);  // 1 x 100 needs 1200 bytes
    image.RotateClockwise();
    SetRasterByteLimit(old);
    ExpectShared(image);
    EXPECT_EQ(image.GetWidth(), 100);
    EXPECT_EQ(Exported(image), pixels);
}

// Replacing, clearing and destroying a shared image release the buffer once
// (a second free aborts the process or shows under the sanitizers).
TEST(RgbImageSharing, SharedBufferIsReleasedOnce)
{
    auto a = RandomPicture(9, 5, 10);
    auto b = RandomPicture(5, 9, 11);
    {
        CRgbImage image;
        ASSERT_EQ(image.SetImage("a", a.data(), 9, 5), 0);
        ASSERT_EQ(image.SetImage("b", b.data(), 5, 9), 0);
        ExpectShared(image);
        EXPECT_EQ(Exported(image), b);
        ASSERT_EQ(image.SetScaledImage(nullptr, a.data(), 9, 5, 9, 5), 0);
        EXPECT_EQ(Exported(image), a);
        image.Clear();
        EXPECT_FALSE(image.SharesRasters());
        EXPECT_EQ(image.GetBits(), nullptr);
        EXPECT_EQ(image.GetFullBits(), nullptr);
        ASSERT_EQ(image.SetImage("a", a.data(), 9, 5), 0);
        ASSERT_EQ(image.SetImage("n", nullptr, 0, 0), 0);
        EXPECT_FALSE(image.SharesRasters());
        EXPECT_EQ(image.GetBits(), nullptr);
        ASSERT_EQ(image.SetImage("a", a.data(), 9, 5), 0);
    }  // destroyed while shared
}

}  // namespace
