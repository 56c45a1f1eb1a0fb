#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <memory>
#include <random>
#include <string>

#include "image/RgbImage.h"
#include "platform/QtDc.h"
#include "tests/image/RasterTestUtil.h"

namespace {

QImage Canvas(int w, int h)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(QColor(1, 2, 3));
    return image;
}

QRgb ExpectedAt(const std::vector<unsigned char>& rgb, int width, int x, int y)
{
    const unsigned char* p = &rgb[((size_t)y * width + x) * 3];
    return qRgb(p[0], p[1], p[2]);
}

}  // namespace

TEST(RgbImageDraw, WithoutDisplayRasterDrawsNothing)
{
    QImage canvas = Canvas(20, 20);
    QPainter painter(&canvas);
    CDC dc(NewDcImpl(&painter));
    CRgbImage image;
    EXPECT_EQ(image.Draw(&dc, 0, 0, 10, 10), 0);
    image.SetImage("named", nullptr, 0, 0);
    EXPECT_EQ(image.Draw(&dc, 0, 0, 10, 10), 0);
    auto pixels = RandomPicture(4, 4, 1);
    ASSERT_EQ(image.SetImage("x", pixels.data(), 4, 4), 0);
    ASSERT_EQ(image.Rescale(0, 0), 0);
    EXPECT_EQ(image.Draw(&dc, 0, 0, 4, 4), 0);
    painter.end();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_EQ(canvas.pixel(x, y), qRgb(1, 2, 3));
}

// Drawing 1:1 shows the picture upright and unchanged (a wrong row order or
// byte order would flip or tint it).
TEST(RgbImageDraw, OneToOneShowsThePicture)
{
    auto pixels = RandomPicture(7, 5, 2);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 7, 5), 0);
    QImage canvas = Canvas(20, 20);
    QPainter painter(&canvas);
    CDC dc(NewDcImpl(&painter));
    EXPECT_EQ(image.Draw(&dc, 3, 4, image.GetWidth(), image.GetHeight()), 5);
    EXPECT_EQ(dc.GetImpl()->stretchMode, COLORONCOLOR);
    painter.end();
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x)
            ASSERT_EQ(canvas.pixel(3 + x, 4 + y), ExpectedAt(pixels, 7, x, y)) << x << "," << y;
    EXPECT_EQ(canvas.pixel(2, 4), qRgb(1, 2, 3));
    EXPECT_EQ(canvas.pixel(10, 4), qRgb(1, 2, 3));
    EXPECT_EQ(canvas.pixel(3, 9), qRgb(1, 2, 3));
}

// The view prints by stretching the display raster to the printer size.
TEST(RgbImageDraw, StretchedDrawRepeatsPixels)
{
    auto pixels = RandomPicture(3, 2, 3);
    CRgbImage image;
    ASSERT_EQ(image.SetImage("x", pixels.data(), 3, 2), 0);
    QImage canvas = Canvas(12, 8);
    QPainter painter(&canvas);
    CDC dc(NewDcImpl(&painter, true, 300, 300));
    EXPECT_EQ(image.Draw(&dc, 0, 0, 12, 8), 8);
    painter.end();
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 12; ++x)
            ASSERT_EQ(canvas.pixel(x, y), ExpectedAt(pixels, 3, x / 4, y / 4));
}

namespace {

// What a reference image driven through Rescale shows at display (x, y).
QRgb ReferenceAt(const CRgbImage& ref, int x, int y)
{
    return 0xFF000000u | StoredPixel(ref.GetBits(), ref.GetWidth(), ref.GetHeight(), x, y);
}

}  // namespace

// The view draws at (0, 0) in scrolled coordinates with the paint's clip:
// a lazy display, zoomed and turned, shows in the clip exactly what the
// whole display raster shows there, and nothing outside the clip changes.
TEST(RgbImageDraw, LazyDisplayThroughClipAndScrollMatchesWholeRaster)
{
    std::mt19937 rng(77);
    for (int trial = 0; trial < 40; ++trial) {
        const int W = 1 + (int)(rng() % 120), H = 1 + (int)(rng() % 90);
        auto pixels = RandomPicture(W, H, (uint32_t)trial + 50);
        CRgbImage lazy, ref;
        ASSERT_EQ(lazy.SetImage("a", pixels.data(), W, H), 0);
        ASSERT_EQ(ref.SetImage("a", pixels.data(), W, H), 0);
        const int w = 1 + (int)(rng() % (6 * W)), h = 1 + (int)(rng() % (6 * H));
        ASSERT_EQ(lazy.SetDisplaySize(w, h), 0);
        ASSERT_EQ(ref.Rescale(w, h), 0);
        for (int turns = (int)(rng() % 4); turns > 0; --turns) {
            const bool clockwise = rng() % 2;
            (clockwise ? lazy.RotateClockwise() : lazy.RotateCounterClockwise());
            (clockwise ? ref.RotateClockwise() : ref.RotateCounterClockwise());
        }
        const int dw = ref.GetWidth(), dh = ref.GetHeight();
        ASSERT_EQ(lazy.GetWidth(), dw);
        // Clips that often span several tiles (256 pixels) each way.
        const int scrollX = (int)(rng() % (dw / 2 + 1)), scrollY = (int)(rng() % (dh / 2 + 1));
        const QRect clip((int)(rng() % 60), (int)(rng() % 40), 1 + (int)(rng() % 560), 1 + (int)(rng() % 420));
        SCOPED_TRACE(std::to_string(trial));
        QImage canvas = Canvas(600, 450);
        {
            QPainter painter(&canvas);
            painter.setClipRect(clip);
            CDC dc(NewDcImpl(&painter));
            dc.SetViewportOrg(-scrollX, -scrollY);
            EXPECT_EQ(lazy.Draw(&dc, 0, 0, dw, dh), dh);
        }
        for (int y = 0; y < 450; ++y)
            for (int x = 0; x < 600; ++x) {
                const int px = x + scrollX, py = y + scrollY;
                const bool shown = clip.contains(x, y) && px < dw && py < dh;
                ASSERT_EQ(canvas.pixel(x, y), shown ? ReferenceAt(ref, px, py) : qRgb(1, 2, 3))
                    << x << "," << y;
            }
    }
}

// Printing stretches the display; a lazy one is made whole for that draw and
// prints as the display raster would.
TEST(RgbImageDraw, StretchedLazyDisplayDrawsLikeTheWholeRaster)
{
    auto pixels = RandomPicture(9, 7, 8);
    CRgbImage lazy, ref;
    ASSERT_EQ(lazy.SetImage("p", pixels.data(), 9, 7), 0);
    ASSERT_EQ(ref.SetImage("p", pixels.data(), 9, 7), 0);
    ASSERT_EQ(lazy.SetDisplaySize(20, 13), 0);
    ASSERT_EQ(ref.Rescale(20, 13), 0);
    lazy.Mirror();
    ref.Mirror();
    QImage a = Canvas(50, 40), b = Canvas(50, 40);
    {
        QPainter pa(&a), pb(&b);
        CDC da(NewDcImpl(&pa, true, 300, 300)), db(NewDcImpl(&pb, true, 300, 300));
        EXPECT_EQ(lazy.Draw(&da, 2, 3, 45, 31), 31);
        EXPECT_EQ(ref.Draw(&db, 2, 3, 45, 31), 31);
    }
    EXPECT_EQ(a, b);
    EXPECT_NE(a, Canvas(50, 40));
}
