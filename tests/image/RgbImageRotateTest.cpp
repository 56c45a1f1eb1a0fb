#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "image/RgbImage.h"
#include "platform/MemoryLimit.h"
#include "tests/image/RasterTestUtil.h"

namespace {

// Picture of W x H whose pixel (x, y) has the value x + 256 y (R, G) and a
// row-dependent B, so any misplaced pixel shows.
std::vector<unsigned char> CoordinatePicture(int W, int H)
{
    std::vector<unsigned char> v((size_t)W * H * 3);
    for (int y = 0; y < H; ++y)
        for (int x = 0; x < W; ++x) {
            unsigned char* p = &v[((size_t)y * W + x) * 3];
            p[0] = (unsigned char)(x & 0xFF);
            p[1] = (unsigned char)(((x >> 8) & 0xF) | ((y & 0xF) << 4));
            p[2] = (unsigned char)((y >> 4) & 0xFF);
        }
    return v;
}

uint32_t Pixel(const std::vector<unsigned char>& rgb, int W, int x, int y)
{
    const unsigned char* p = &rgb[((size_t)y * W + x) * 3];
    return ((uint32_t)p[0] << 16) | ((uint32_t)p[1] << 8) | p[2];
}

// Full and display rasters without fill bytes, for comparing whole images.
std::vector<unsigned char> Rows(const unsigned char* bits, int width, int height)
{
    std::vector<unsigned char> v;
    for (int r = 0; r < height; ++r) {
        const unsigned char* row = bits + (size_t)r * StoredStride(width);
        v.insert(v.end(), row, row + (size_t)width * 3);
    }
    return v;
}

struct Snapshot {
    int fw, fh, w, h;
    std::vector<unsigned char> full, display;
    explicit Snapshot(const CRgbImage& im)
        : fw(im.GetFullWidth()), fh(im.GetFullHeight()), w(im.GetWidth()), h(im.GetHeight()),
          full(im.GetFullBits() ? Rows(im.GetFullBits(), fw, fh) : std::vector<unsigned char>()),
          display(im.GetBits() ? Rows(im.GetBits(), w, h) : std::vector<unsigned char>())
    {
    }
    bool operator==(const Snapshot& o) const
    {
        return fw == o.fw && fh == o.fh && w == o.w && h == o.h && full == o.full &&
               display == o.display;
    }
};

// Every pixel of a turned full raster against the mapping: clockwise,
// (x, y) goes to (H - 1 - y, x); counter-clockwise to (y, W - 1 - x).
void ExpectTurned(const CRgbImage& image, const std::vector<unsigned char>& before, int W, int H,
                  bool clockwise)
{
    ASSERT_EQ(image.GetFullWidth(), H);
    ASSERT_EQ(image.GetFullHeight(), W);
    ASSERT_EQ(image.GetFullPad(), H % 4);
    int bad = 0;
    for (int y = 0; y < H && bad < 5; ++y)
        for (int x = 0; x < W && bad < 5; ++x) {
            int nx = clockwise ? H - 1 - y : y;
            int ny = clockwise ? x : W - 1 - x;
            uint32_t got = StoredPixel(image.GetFullBits(), H, W, nx, ny);
            if (got != Pixel(before, W, x, y)) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << ") not at (" << nx << ", " << ny
                              << ")";
                ++bad;
            }
        }
}

}  // namespace

TEST(RgbImageRotate, ThreeByTwoExamples)
{
    // Rows (a b c) over (d e f).
    const unsigned char a[3] = {1, 0, 0}, b[3] = {2, 0, 0}, c[3] = {3, 0, 0};
    const unsigned char d[3] = {4, 0, 0}, e[3] = {5, 0, 0}, f[3] = {6, 0, 0};
    std::vector<unsigned char> pixels;
    for (const unsigned char* p : {a, b, c, d, e, f})
        pixels.insert(pixels.end(), p, p + 3);

    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 3, 2), 0);
    image.RotateClockwise();
    ASSERT_EQ(image.GetWidth(), 2);
    ASSERT_EQ(image.GetHeight(), 3);
    auto out = Exported(image);
    std::vector<int> reds;
    for (size_t i = 0; i < out.size(); i += 3)
        reds.push_back(out[i]);
    EXPECT_EQ(reds, (std::vector<int>{4, 1, 5, 2, 6, 3}));  // (d a) (e b) (f c)

    ASSERT_EQ(image.SetImage("x", pixels.data(), 3, 2), 0);
    image.RotateCounterClockwise();
    out = Exported(image);
    reds.clear();
    for (size_t i = 0; i < out.size(); i += 3)
        reds.push_back(out[i]);
    EXPECT_EQ(reds, (std::vector<int>{3, 6, 2, 5, 1, 4}));  // (c f) (b e) (a d)
}

// Sizes around the copy's tile edges, single rows and columns, and the wide
// 1000 x 10 picture whose turned raster needs 1000 rows of 32 bytes.
TEST(RgbImageRotate, MatchesMappingOnBothRastersAndUpdatesHeader)
{
    const int sizes[][2] = {{1, 1},  {7, 1},   {1, 7},   {1000, 10}, {10, 1000},
                            {63, 65}, {64, 64}, {65, 129}, {130, 3},  {5, 6}};
    for (bool clockwise : {true, false}) {
        for (auto& s : sizes) {
            const int W = s[0], H = s[1];
            SCOPED_TRACE(std::to_string(W) + "x" + std::to_string(H) +
                         (clockwise ? " cw" : " ccw"));
            auto pixels = CoordinatePicture(W, H);
            CRgbImage image;
            ASSERT_EQ(image.SetImage("x", pixels.data(), W, H), 0);
            image.m_nFlags = 42;
            if (clockwise)
                image.RotateClockwise();
            else
                image.RotateCounterClockwise();
            ExpectTurned(image, pixels, W, H, clockwise);
            EXPECT_EQ(image.GetWidth(), H);
            EXPECT_EQ(image.GetHeight(), W);
            EXPECT_EQ(image.GetPad(), H % 4);
            EXPECT_EQ(Rows(image.GetBits(), H, W), Rows(image.GetFullBits(), H, W));
            const BITMAPINFOHEADER& h = image.GetBitmapInfo()->bmiHeader;
            EXPECT_EQ(h.biWidth, H);
            EXPECT_EQ(h.biHeight, W);
            EXPECT_EQ(h.biSizeImage, (DWORD)(3 * W * (H + H % 4)));
            EXPECT_EQ(image.m_nFlags, 42u);
            EXPECT_STREQ(image.GetName(), "x");
        }
    }
}

TEST(RgbImageRotate, TurnAndBackAndFourTurnsAreIdentity)
{
    auto pixels = RandomPicture(13, 9, 3);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 13, 9), 0);
    ASSERT_EQ(image.Rescale(7, 5), 0);  // display raster at another size
    Snapshot start(image);

    image.RotateClockwise();
    EXPECT_EQ(image.GetWidth(), 5);
    EXPECT_EQ(image.GetFullWidth(), 9);
    image.RotateCounterClockwise();
    EXPECT_TRUE(Snapshot(image) == start);

    image.RotateCounterClockwise();
    image.RotateClockwise();
    EXPECT_TRUE(Snapshot(image) == start);

    for (int i = 0; i < 4; ++i)
        image.RotateClockwise();
    EXPECT_TRUE(Snapshot(image) == start);
    for (int i = 0; i < 4; ++i)
        image.RotateCounterClockwise();
    EXPECT_TRUE(Snapshot(image) == start);
}

TEST(RgbImageRotate, NameOnlyImageUnchanged)
{
    CRgbImage image;
    image.SetImage("C:/a.jpg", nullptr, 0, 0);
    image.m_nFlags = 7;
    image.RotateClockwise();
    image.RotateCounterClockwise();
    EXPECT_STREQ(image.GetName(), "C:/a.jpg");
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_EQ(image.GetFullBits(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.m_nFlags, 7u);
}

// Without a display raster only the full raster turns, and the header stays.
TEST(RgbImageRotate, FullRasterAloneTurns)
{
    auto pixels = CoordinatePicture(6, 3);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 6, 3), 0);
    ASSERT_EQ(image.Rescale(0, 0), 0);
    image.RotateClockwise();
    ExpectTurned(image, pixels, 6, 3, true);
    EXPECT_EQ(image.GetBits(), nullptr);
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_EQ(image.GetBitmapInfo()->bmiHeader.biWidth, 0);
}

// A turned raster can need more bytes than the original (100 x 1 takes 309,
// 1 x 100 takes 1200). When the new buffer cannot be had nothing changes; when
// only the display raster's fails, the full raster stays turned.
TEST(RgbImageRotate, AllocationFailureLeavesRastersAsDescribed)
{
    auto pixels = CoordinatePicture(100, 1);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 100, 1), 0);
    Snapshot start(image);
    uint64_t old = SetRasterByteLimit(1000);
    image.RotateClockwise();
    EXPECT_TRUE(Snapshot(image) == start);
    SetRasterByteLimit(old);

    auto small = CoordinatePicture(2, 1);
    ASSERT_EQ(image.SetImage("x", small.data(), 2, 1), 0);
    ASSERT_EQ(image.Rescale(100, 1), 0);
    Snapshot display(image);
    old = SetRasterByteLimit(1000);
    image.RotateClockwise();
    SetRasterByteLimit(old);
    ExpectTurned(image, small, 2, 1, true);
    EXPECT_EQ(image.GetWidth(), 100);
    EXPECT_EQ(image.GetHeight(), 1);
    EXPECT_EQ(Rows(image.GetBits(), 100, 1), display.display);
}
