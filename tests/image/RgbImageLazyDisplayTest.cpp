// A display made part by part (SetDisplaySize) shows at every place the
// pixel of the whole display raster that Rescale and the rotations make
// today. The reference is a second image driven through Rescale with the
// same commands; these tests catch a wrong sample point, a turn taken the
// wrong way or applied to the wrong raster, tiles kept after the picture
// changed, and a cache that grows without bound.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image/DisplayTiles.h"
#include "image/RgbImage.h"
#include "platform/MemoryLimit.h"
#include "tests/image/RasterTestUtil.h"

namespace {

// The rectangle (x, y, w, h) of the reference's display raster as a
// bottom-up block, as CopyDisplayRegion gives it.
std::vector<unsigned char> ReferenceRegion(const CRgbImage& ref, int x, int y, int w, int h)
{
    std::vector<unsigned char> v;
    const size_t stride = StoredStride(ref.GetWidth());
    for (int k = 0; k < h; ++k) {
        const unsigned char* row =
            ref.GetBits() + (size_t)(ref.GetHeight() - y - h + k) * stride + (size_t)x * 3;
        v.insert(v.end(), row, row + (size_t)w * 3);
    }
    return v;
}

std::vector<unsigned char> LazyRegion(const CRgbImage& image, int x, int y, int w, int h)
{
    std::vector<unsigned char> v((size_t)w * h * 3);
    EXPECT_EQ(image.CopyDisplayRegion(x, y, w, h, v.data(), (size_t)w * 3), 0);
    return v;
}

// Tiles handed out for a rectangle, pasted into a picture-layout canvas
// (top-down, B, G, R) with a mark where no tile came.
struct Canvas {
    int w, h;
    std::vector<unsigned char> px;
    std::vector<bool> painted;
    bool headersRight = true;
};

void Paste(void* context, const CRgbImage::DisplayTileView& tile)
{
    Canvas& c = *(Canvas*)context;
    const BITMAPINFOHEADER& b = tile.bmi.bmiHeader;
    c.headersRight &= b.biWidth == tile.width && b.biHeight == tile.height && b.biBitCount == 24 &&
                      b.biPlanes == 1 && b.biCompression == BI_RGB;
    const size_t stride = StoredStride(tile.width);
    for (int k = 0; k < tile.height; ++k) {
        const int y = tile.y + tile.height - 1 - k;
        for (int i = 0; i < tile.width; ++i) {
            const int x = tile.x + i;
            std::memcpy(&c.px[((size_t)y * c.w + x) * 3], tile.bits + (size_t)k * stride + (size_t)i * 3, 3);
            c.painted[(size_t)y * c.w + x] = true;
        }
    }
}

// Everything the view and the tests see of the display agrees with the
// reference: sizes, header, random regions, tiles over a random clip, export.
void ExpectSameDisplay(CRgbImage& lazy, CRgbImage& ref, std::mt19937& rng)
{
    ASSERT_EQ(lazy.GetWidth(), ref.GetWidth());
    ASSERT_EQ(lazy.GetHeight(), ref.GetHeight());
    EXPECT_EQ(lazy.GetPad(), ref.GetPad());
    EXPECT_EQ(std::memcmp(lazy.GetBitmapInfo(), ref.GetBitmapInfo(), sizeof(BITMAPINFO)), 0);
    EXPECT_EQ(lazy.GetFullWidth(), ref.GetFullWidth());
    EXPECT_EQ(lazy.GetFullHeight(), ref.GetFullHeight());
    const int w = ref.GetWidth(), h = ref.GetHeight();
    if (h == 0) {
        EXPECT_FALSE(lazy.IsDisplayLazy());
        return;
    }
    for (int n = 0; n < 3; ++n) {
        const int x = (int)(rng() % w), y = (int)(rng() % h);
        const int rw = 1 + (int)(rng() % (w - x)), rh = 1 + (int)(rng() % (h - y));
        SCOPED_TRACE("region " + std::to_string(x) + "," + std::to_string(y) + " " +
                     std::to_string(rw) + "x" + std::to_string(rh));
        ASSERT_EQ(LazyRegion(lazy, x, y, rw, rh), ReferenceRegion(ref, x, y, rw, rh));
    }
    if (lazy.IsDisplayLazy()) {
        // A clip that may stick out of the display on any side.
        const int left = (int)(rng() % (w + 20)) - 10, top = (int)(rng() % (h + 20)) - 10;
        const int right = left + 1 + (int)(rng() % (w + 10)), bottom = top + 1 + (int)(rng() % (h + 10));
        Canvas c{w, h, std::vector<unsigned char>((size_t)w * h * 3), std::vector<bool>((size_t)w * h)};
        ASSERT_EQ(lazy.VisitDisplayTiles(left, top, right, bottom, Paste, &c), 0);
        EXPECT_TRUE(c.headersRight);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                const bool inClip = x >= left && x < right && y >= top && y < bottom;
                if (inClip) {
                    ASSERT_TRUE(c.painted[(size_t)y * w + x]) << x << "," << y;
                }
                if (c.painted[(size_t)y * w + x]) {
                    uint32_t expected = StoredPixel(ref.GetBits(), w, h, x, y);
                    const unsigned char* p = &c.px[((size_t)y * w + x) * 3];
                    ASSERT_EQ(((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0], expected)
                        << x << "," << y;
                }
            }
    }
    EXPECT_EQ(Exported(lazy), Exported(ref));
}

// A display size drawn from zooms in and out in either direction, with
// 1-pixel sides now and then, and the full size (shared, not lazy).
void RandomDisplaySize(const CRgbImage& ref, std::mt19937& rng, int* w, int* h)
{
    const int fw = ref.GetFullWidth(), fh = ref.GetFullHeight();
    switch (rng() % 6) {
    case 0: *w = fw; *h = fh; return;
    case 1: *w = 1; *h = 1 + (int)(rng() % (3 * fh)); return;
    case 2: *w = 1 + (int)(rng() % (3 * fw)); *h = 1; return;
    case 3: *w = 4 * fw; *h = 4 * fh; return;
    default: *w = 1 + (int)(rng() % (4 * fw)); *h = 1 + (int)(rng() % (4 * fh)); return;
    }
}

// Display pixel (x, y) read alone with CopyDisplayRegion, as R, G, B;
// ~0u when the read is refused.
uint32_t RegionPixel(const CRgbImage& image, int x, int y)
{
    unsigned char p[3];
    if (image.CopyDisplayRegion(x, y, 1, 1, p, 3) != 0)
        return ~0u;
    return ((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0];
}

struct PixelInTiles {
    int x, y;
    uint32_t value;
    int found;
};

void FindPixel(void* context, const CRgbImage::DisplayTileView& tile)
{
    PixelInTiles& p = *(PixelInTiles*)context;
    if (p.x < tile.x || p.x - tile.x >= tile.width || p.y < tile.y || p.y - tile.y >= tile.height)
        return;
    const size_t row = (size_t)(tile.height - 1 - (p.y - tile.y));
    const unsigned char* q = tile.bits + row * StoredStride(tile.width) + (size_t)(p.x - tile.x) * 3;
    p.value = ((uint32_t)q[2] << 16) | ((uint32_t)q[1] << 8) | q[0];
    ++p.found;
}

// Display pixel (x, y) as the tile that holds it shows it; ~0u when no
// tile came.
uint32_t TilePixel(CRgbImage& image, int x, int y)
{
    PixelInTiles p{x, y, ~0u, 0};
    if (image.VisitDisplayTiles(x, y, x + 1, y + 1, FindPixel, &p) != 0 || p.found != 1)
        return ~0u;
    return p.value;
}

}  // namespace

// The property the view relies on, over random pictures (odd sizes and
// 1-pixel sides; some wider than a tile when zoomed), random sequences of
// zooms, turns, half turns and mirrors, and random regions and clips.
TEST(RgbImageLazyDisplay, ShowsWhatTheWholeDisplayRasterShows)
{
    std::mt19937 rng(1234);
    for (int trial = 0; trial < 150; ++trial) {
        const int W = 1 + (int)(rng() % (trial % 5 == 0 ? 150 : 23));
        const int H = 1 + (int)(rng() % (trial % 7 == 0 ? 120 : 19));
        auto pixels = RandomPicture(W, H, (uint32_t)trial);
        CRgbImage lazy, ref;
        ASSERT_EQ(lazy.SetImage("p", pixels.data(), W, H), 0);
        ASSERT_EQ(ref.SetImage("p", pixels.data(), W, H), 0);
        std::string ops = std::to_string(W) + "x" + std::to_string(H);
        for (int step = 0; step < 8; ++step) {
            switch (rng() % 6) {
            case 0: {
                int w, h;
                RandomDisplaySize(ref, rng, &w, &h);
                ops += " S" + std::to_string(w) + "x" + std::to_string(h);
                ASSERT_EQ(lazy.SetDisplaySize(w, h), 0);
                ASSERT_EQ(ref.Rescale(w, h), 0);
                EXPECT_EQ(lazy.IsDisplayLazy(), w != ref.GetFullWidth() || h != ref.GetFullHeight());
                break;
            }
            case 1: ops += " C"; lazy.RotateClockwise(); ref.RotateClockwise(); break;
            case 2: ops += " W"; lazy.RotateCounterClockwise(); ref.RotateCounterClockwise(); break;
            case 3: ops += " H"; lazy.HalfTurn(); ref.RotateClockwise(); ref.RotateClockwise(); break;
            case 4: ops += " h"; lazy.RotateClockwise(); lazy.RotateClockwise(); ref.HalfTurn(); break;
            default: ops += " M"; lazy.Mirror(); ref.Mirror(); break;
            }
            SCOPED_TRACE(ops);
            ExpectSameDisplay(lazy, ref, rng);
            ASSERT_FALSE(HasFatalFailure());
            EXPECT_EQ(lazy.GetBits() == nullptr, lazy.IsDisplayLazy() || ref.GetBits() == nullptr);
        }
    }
}

TEST(RgbImageLazyDisplay, SizesWithoutALazyDisplayBehaveAsRescale)
{
    auto pixels = RandomPicture(6, 5, 9);
    CRgbImage image;
    EXPECT_EQ(image.SetDisplaySize(3, 3), -1);  // no picture
    ASSERT_EQ(image.SetImage("x", pixels.data(), 6, 5), 0);
    ASSERT_EQ(image.SetDisplaySize(12, 10), 0);
    ASSERT_TRUE(image.IsDisplayLazy());
    EXPECT_EQ(image.GetBits(), nullptr);

    EXPECT_EQ(image.SetDisplaySize(0, 7), 0);  // no display
    EXPECT_EQ(image.GetWidth(), 0);
    EXPECT_FALSE(image.IsDisplayLazy());
    std::vector<unsigned char> out(64);
    EXPECT_EQ(image.CopyDisplayRegion(0, 0, 1, 1, out.data(), 3), -1);
    EXPECT_EQ(image.ExportRgb(), nullptr);

    EXPECT_EQ(image.SetDisplaySize(6, 5), 0);  // the full size is shared
    EXPECT_TRUE(image.SharesRasters());
    EXPECT_FALSE(image.IsDisplayLazy());
    EXPECT_EQ(image.SetDisplaySize(-1, 4), -1);
    EXPECT_EQ(image.GetWidth(), 0);

    // Regions outside the display are refused; the image then changes to
    // eager display rasters and back without keeping any tile.
    ASSERT_EQ(image.SetDisplaySize(12, 10), 0);
    EXPECT_EQ(image.CopyDisplayRegion(11, 0, 2, 1, out.data(), 6), -1);
    EXPECT_EQ(image.CopyDisplayRegion(0, 0, 2, 1, out.data(), 5), -1);  // stride too short
    Canvas c{12, 10, std::vector<unsigned char>(360), std::vector<bool>(120)};
    ASSERT_EQ(image.VisitDisplayTiles(0, 0, 12, 10, Paste, &c), 0);
    EXPECT_GT(image.GetDisplayTileBytes(), 0u);
    ASSERT_EQ(image.Rescale(12, 10), 0);
    EXPECT_EQ(image.GetDisplayTileBytes(), 0u);
    EXPECT_EQ(image.VisitDisplayTiles(0, 0, 12, 10, Paste, &c), -1);
    image.Clear();
    EXPECT_FALSE(image.IsDisplayLazy());
}

// 400 % of a picture drawn window by window, as scrolling does: the tiles
// kept never pass the cache's limit, and the limit stays a few windows.
TEST(RgbImageLazyDisplay, TileMemoryStaysBounded)
{
    const int W = 1000, H = 700;
    auto pixels = RandomPicture(W, H, 4);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("big", pixels.data(), W, H), 0);
    ASSERT_EQ(image.SetDisplaySize(4 * W, 4 * H), 0);
    const int winW = 640, winH = 480;
    const int side = CDisplayTiles::kSide;
    const uint64_t windowTiles = (uint64_t)(winW / side + 2) * (winH / side + 2) * CDisplayTiles::kBufferBytes;
    int drawn = 0;
    uint64_t most = 0;
    for (int y = 0; y < 4 * H; y += winH / 2)
        for (int x = 0; x < 4 * W; x += winW / 3) {
            // Pixels are checked elsewhere; here only their memory.
            auto count = [](void* n, const CRgbImage::DisplayTileView&) { ++*(int*)n; };
            ASSERT_EQ(image.VisitDisplayTiles(x, y, x + winW, y + winH, count, &drawn), 0);
            ASSERT_LE(image.GetDisplayTileBytes(), image.GetDisplayTileLimit());
            most = std::max(most, image.GetDisplayTileBytes());
        }
    EXPECT_GT(drawn, 0);
    EXPECT_LE(image.GetDisplayTileLimit(), std::max(CDisplayTiles::kMinBytes, 3 * windowTiles));
    // Some tiles are kept for a scroll back: the cache is in use.
    EXPECT_GE(most, 3 * windowTiles / 2);
}

// A scroll by a quarter window makes only the tiles that come into view,
// and a new zoom reuses the buffers of the old one's.
TEST(RgbImageLazyDisplay, ScrollMakesOnlyWhatComesIntoView)
{
    auto pixels = RandomPicture(600, 400, 8);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("s", pixels.data(), 600, 400), 0);
    ASSERT_EQ(image.SetDisplaySize(2400, 1600), 0);
    auto count = [](void* n, const CRgbImage::DisplayTileView&) { ++*(int*)n; };
    int seen = 0;
    ASSERT_EQ(image.VisitDisplayTiles(0, 0, 1024, 768, count, &seen), 0);
    const int side = CDisplayTiles::kSide;
    const int before = image.GetDisplayTileCount();
    EXPECT_EQ(before, (1024 / side) * (768 / side));
    // The window moves right by 256: only the uncovered strip is painted.
    ASSERT_EQ(image.VisitDisplayTiles(1024, 0, 1280, 768, count, &seen), 0);
    EXPECT_EQ(image.GetDisplayTileCount() - before, (256 / side) * (768 / side));
    // Another zoom takes the buffers of the tiles that no longer show.
    const uint64_t held = image.GetDisplayTileBytes();
    ASSERT_EQ(image.SetDisplaySize(1800, 1200), 0);
    EXPECT_EQ(image.GetDisplayTileBytes(), held);
    ASSERT_EQ(image.VisitDisplayTiles(0, 0, 1024, 768, count, &seen), 0);
    EXPECT_EQ(image.GetDisplayTileBytes(), held);
}

// Every pixel of the canvas's top-left right x bottom was pasted and is the
// reference display's pixel there.
void ExpectPasted(const Canvas& c, const CRgbImage& ref, int right, int bottom)
{
    for (int y = 0; y < bottom; ++y)
        for (int x = 0; x < right; ++x) {
            const size_t i = (size_t)y * c.w + x;
            ASSERT_TRUE(c.painted[i]) << x << "," << y;
            const unsigned char* p = &c.px[i * 3];
            ASSERT_EQ(((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0],
                      StoredPixel(ref.GetBits(), ref.GetWidth(), ref.GetHeight(), x, y))
                << x << "," << y;
        }
}

// A zoom whose whole display raster would not fit the picture's budget is
// still shown, tile by tile, with the pixels of that whole raster; turns
// need no display memory.
TEST(RgbImageLazyDisplay, ZoomBeyondTheBudgetIsStillShown)
{
    const int W = 300, H = 200;
    auto pixels = RandomPicture(W, H, 6);
    CRgbImage image, ref;
    ASSERT_EQ(image.SetImage("tight", pixels.data(), W, H), 0);
    ASSERT_EQ(ref.SetImage("tight", pixels.data(), W, H), 0);
    ASSERT_EQ(ref.Rescale(4 * W, 4 * H), 0);  // made before the budget is lowered
    const uint64_t full = 3 * (uint64_t)H * (W + 3);
    // Room for the full raster, its turned copy and a few tiles.
    const uint64_t old = SetRasterByteLimit(2 * full + 4 * CDisplayTiles::kBufferBytes);
    EXPECT_EQ(image.Rescale(4 * W, 4 * H), -1);
    ASSERT_EQ(image.SetDisplaySize(4 * W, 4 * H), 0);
    const size_t area = (size_t)16 * W * H;
    Canvas c{4 * W, 4 * H, std::vector<unsigned char>(area * 3), std::vector<bool>(area)};
    EXPECT_EQ(image.VisitDisplayTiles(0, 0, 4 * W, 4 * H, Paste, &c), 0);
    image.RotateClockwise();
    EXPECT_EQ(image.GetWidth(), 4 * H);
    EXPECT_EQ(image.GetFullWidth(), H);
    // Tiles reach past the clip to their edges: the canvas is the whole display.
    Canvas turned{4 * H, 4 * W, std::vector<unsigned char>(area * 3), std::vector<bool>(area)};
    EXPECT_EQ(image.VisitDisplayTiles(0, 0, 700, 500, Paste, &turned), 0);
    SetRasterByteLimit(old);
    ExpectPasted(c, ref, 4 * W, 4 * H);
    ref.RotateClockwise();
    ExpectPasted(turned, ref, 700, 500);
}

// Found by the image fuzzer: at a zoom to INT_MAX x INT_MAX, a position plus
// a tile or block side overflowed near the far edges. The last tile came out
// with a negative width and was never drawn, and a turned display refused
// (or misread) its last rows.
TEST(RgbImageLazyDisplay, DisplayAsLargeAsAnIntReachesItsLastPixel)
{
    auto pixels = RandomPicture(3, 2, 21);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("edge", pixels.data(), 3, 2), 0);
    ASSERT_EQ(image.SetDisplaySize(INT_MAX, INT_MAX), 0);
    const int last = INT_MAX - 1;
    const uint32_t topLeft = RegionPixel(image, 0, 0), topRight = RegionPixel(image, last, 0);
    const uint32_t bottomLeft = RegionPixel(image, 0, last);
    const uint32_t bottomRight = RegionPixel(image, last, last);
    ASSERT_NE(bottomRight, ~0u);
    EXPECT_EQ(TilePixel(image, last, last), bottomRight);

    // A clockwise turn brings the top-right corner to the bottom-right.
    image.RotateClockwise();
    EXPECT_EQ(RegionPixel(image, last, last), topRight);
    EXPECT_EQ(RegionPixel(image, 0, last), bottomRight);
    EXPECT_EQ(RegionPixel(image, last, 0), topLeft);
    EXPECT_EQ(RegionPixel(image, 0, 0), bottomLeft);
    EXPECT_EQ(TilePixel(image, last, last), topRight);
    EXPECT_EQ(TilePixel(image, 0, last), bottomRight);

    // A region of several blocks each way that ends at the far corner.
    const int side = 300, from = INT_MAX - side;
    std::vector<unsigned char> region((size_t)side * side * 3);
    ASSERT_EQ(image.CopyDisplayRegion(from, from, side, side, region.data(), (size_t)side * 3), 0);
    for (int k = 0; k < side; k += 37) {
        // Region row 0 is the display's last row.
        const unsigned char* p = &region[((size_t)(side - 1 - k) * side + (side - 1 - k)) * 3];
        const uint32_t inRegion = ((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0];
        ASSERT_EQ(inRegion, RegionPixel(image, last - k, from + k)) << k;
    }
}
