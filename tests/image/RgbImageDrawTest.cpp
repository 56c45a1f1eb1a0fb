#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <memory>

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
