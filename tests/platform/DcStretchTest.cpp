#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "platform/Dc.h"
#include "platform/QtDc.h"

namespace {

const QRgb kBlank = qRgb(10, 20, 30);

// A 24-bit DIB built from a picture given as top-down colours. Fill bytes
// hold 0xEE so that reading them would show.
struct Dib {
    int width, height;
    bool bottomUp;
    std::vector<QRgb> picture;  // top-down
    std::vector<unsigned char> bits;
    BITMAPINFO bmi;

    Dib(int w, int h, uint32_t seed, bool upFromBottom = true)
        : width(w), height(h), bottomUp(upFromBottom), picture((size_t)w * h)
    {
        std::mt19937 rng(seed);
        for (auto& p : picture)
            p = qRgb(rng() & 0xFF, rng() & 0xFF, rng() & 0xFF);
        Build();
    }
    void Build()
    {
        size_t stride = ((size_t)width * 3 + 3) & ~(size_t)3;
        bits.assign(stride * height, 0xEE);
        for (int y = 0; y < height; ++y) {
            int stored = bottomUp ? height - 1 - y : y;
            for (int x = 0; x < width; ++x) {
                unsigned char* p = &bits[stored * stride + (size_t)x * 3];
                QRgb c = picture[(size_t)y * width + x];
                p[0] = (unsigned char)qBlue(c);
                p[1] = (unsigned char)qGreen(c);
                p[2] = (unsigned char)qRed(c);
            }
        }
        std::memset(&bmi, 0, sizeof(bmi));
        bmi.bmiHeader.biSize = 40;
        bmi.bmiHeader.biWidth = width;
        bmi.bmiHeader.biHeight = bottomUp ? height : -height;
        bmi.bmiHeader.biPlanes = 1;
        bmi.bmiHeader.biBitCount = 24;
        bmi.bmiHeader.biCompression = BI_RGB;
    }
    QRgb At(int x, int y) const { return picture[(size_t)y * width + x]; }
};

struct Canvas {
    QImage image;
    QPainter painter;
    std::unique_ptr<CDC> dc;
    Canvas(int w, int h) : image(w, h, QImage::Format_RGB32)
    {
        image.fill(kBlank);
        painter.begin(&image);
        dc = std::make_unique<CDC>(NewDcImpl(&painter));
        SetStretchBltMode(dc->m_hDC, COLORONCOLOR);
    }
    int Stretch(const Dib& dib, int x, int y, int w, int h)
    {
        return StretchDIBits(dc->m_hDC, x, y, w, h, 0, 0, dib.width, dib.height, dib.bits.data(),
                             &dib.bmi, DIB_RGB_COLORS, SRCCOPY);
    }
    const QImage& Done()
    {
        if (painter.isActive())
            painter.end();
        return image;
    }
};

// Destination (x, y) of a w x h stretch shows source column x * W / w and
// row y * H / h (rows counted from the top of the picture).
void ExpectStretched(const QImage& img, const Dib& dib, int x0, int y0, int w, int h,
                     const QRect& visible)
{
    for (int y = 0; y < img.height(); ++y)
        for (int x = 0; x < img.width(); ++x) {
            QRgb expected = kBlank;
            if (visible.contains(x, y) && x >= x0 && x < x0 + w && y >= y0 && y < y0 + h) {
                long long dx = x - x0, dy = y - y0;
                expected = dib.At((int)(dx * dib.width / w), (int)(dy * dib.height / h));
            }
            ASSERT_EQ(img.pixel(x, y), expected) << x << "," << y;
        }
}

}  // namespace

TEST(DcStretch, SetStretchBltModeReturnsPreviousMode)
{
    Canvas c(4, 4);
    EXPECT_EQ(SetStretchBltMode(c.dc->m_hDC, HALFTONE), COLORONCOLOR);
    EXPECT_EQ(SetStretchBltMode(c.dc->m_hDC, COLORONCOLOR), HALFTONE);
    EXPECT_EQ(SetStretchBltMode(c.dc->m_hDC, 99), 0);
    EXPECT_EQ(SetStretchBltMode(nullptr, COLORONCOLOR), 0);
}

// Equal sizes copy exactly, for every fill count and for runs that end in
// each remainder of the four-pixel steps; the first stored row of a
// bottom-up DIB is the bottom row on the device.
TEST(DcStretch, OneToOneIsExact)
{
    for (int w = 1; w <= 23; ++w) {
        SCOPED_TRACE(w);
        Dib dib(w, 5, (uint32_t)w);
        Canvas c(30, 8);
        EXPECT_EQ(c.Stretch(dib, 2, 1, w, 5), 5);
        ExpectStretched(c.Done(), dib, 2, 1, w, 5, QRect(0, 0, 30, 8));
    }
}

TEST(DcStretch, BottomUpAndTopDownOrientation)
{
    Dib dib(3, 3, 1);
    for (int x = 0; x < 3; ++x) {
        dib.picture[(size_t)2 * 3 + x] = qRgb(255, 0, 0);  // bottom row of the picture
        dib.picture[x] = qRgb(0, 0, 255);                  // top row
    }
    dib.Build();
    // Stored row 0 is the red bottom row.
    EXPECT_EQ(dib.bits[0], 0);
    EXPECT_EQ(dib.bits[2], 255);
    Canvas c(3, 6);
    c.Stretch(dib, 0, 0, 3, 3);
    Dib down = dib;
    down.bottomUp = false;
    down.Build();
    c.Stretch(down, 0, 3, 3, 3);
    const QImage& img = c.Done();
    EXPECT_EQ(img.pixel(1, 2), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(1, 0), qRgb(0, 0, 255));
    EXPECT_EQ(img.pixel(1, 5), qRgb(255, 0, 0));
    EXPECT_EQ(img.pixel(1, 3), qRgb(0, 0, 255));
}

TEST(DcStretch, EnlargingRepeatsAndReducingDropsRowsAndColumns)
{
    Dib dib(5, 3, 7);
    {
        Canvas c(12, 8);
        EXPECT_EQ(c.Stretch(dib, 1, 1, 10, 6), 6);
        const QImage& img = c.Done();
        ExpectStretched(img, dib, 1, 1, 10, 6, QRect(0, 0, 12, 8));
        EXPECT_EQ(img.pixel(1, 1), img.pixel(2, 2));  // 2 x 2 blocks
    }
    {
        Canvas c(12, 8);
        c.Stretch(dib, 0, 0, 7, 5);  // uneven enlargement
        ExpectStretched(c.Done(), dib, 0, 0, 7, 5, QRect(0, 0, 12, 8));
    }
    Dib big(10, 6, 8);
    {
        Canvas c(6, 4);
        EXPECT_EQ(c.Stretch(big, 0, 0, 4, 3), 3);
        const QImage& img = c.Done();
        ExpectStretched(img, big, 0, 0, 4, 3, QRect(0, 0, 6, 4));
        // Columns 0, 2, 5, 7 and rows 0, 2, 4 survive.
        EXPECT_EQ(img.pixel(2, 1), big.At(5, 2));
        EXPECT_EQ(img.pixel(3, 2), big.At(7, 4));
    }
}

TEST(DcStretch, PixelsOutsideClipAreUntouched)
{
    Dib dib(12, 12, 3);
    Canvas c(14, 14);
    CRgn rgn;
    rgn.CreateRectRgn(4, 5, 9, 11);
    c.dc->SelectClipRgn(&rgn);
    EXPECT_EQ(c.Stretch(dib, 1, 1, 12, 12), 12);
    ExpectStretched(c.Done(), dib, 1, 1, 12, 12, QRect(4, 5, 5, 6));
}

// The view's 400% raster of a large photograph is far wider than any window:
// only the window's part is built, and it must be the right part.
TEST(DcStretch, HugeSourceClippedToSmallWindow)
{
    Dib dib(16000, 40, 11);
    Canvas c(100, 50);
    c.dc->SetViewportOrg(-7000, 3);  // scrolled far to the right
    EXPECT_EQ(c.Stretch(dib, 0, 0, 16000, 40), 40);
    const QImage& img = c.Done();
    for (int y = 0; y < 50; ++y)
        for (int x = 0; x < 100; ++x) {
            QRgb expected = (y >= 3 && y < 43) ? dib.At(7000 + x, y - 3) : kBlank;
            ASSERT_EQ(img.pixel(x, y), expected) << x << "," << y;
        }
    // Reduced as well: 16000 -> 1600 columns, each 10th shown.
    Canvas r(100, 40);
    r.dc->SetViewportOrg(-800, 0);
    r.Stretch(dib, 0, 0, 1600, 40);
    const QImage& ri = r.Done();
    for (int x = 0; x < 100; ++x)
        ASSERT_EQ(ri.pixel(x, 7), dib.At((800 + x) * 10, 7)) << x;
}

TEST(DcStretch, FullyClippedDrawReportsLinesAndDrawsNothing)
{
    Dib dib(4, 4, 2);
    Canvas c(10, 10);
    EXPECT_EQ(c.Stretch(dib, 20, 20, 4, 4), 4);
    EXPECT_EQ(c.Stretch(dib, -10, 0, 4, 4), 4);
    ExpectStretched(c.Done(), dib, 0, 0, 0, 0, QRect());
}

// A source rectangle inside the DIB: ySrc counts from the first stored row,
// the bottom of a bottom-up picture.
TEST(DcStretch, SourceSubRectangle)
{
    Dib dib(6, 5, 9);
    Canvas c(6, 5);
    EXPECT_EQ(StretchDIBits(c.dc->m_hDC, 0, 0, 3, 2, 2, 1, 3, 2, dib.bits.data(), &dib.bmi,
                            DIB_RGB_COLORS, SRCCOPY),
              2);
    const QImage& img = c.Done();
    // Stored rows 1 and 2 are picture rows 3 and 2; row 2 is on top.
    for (int y = 0; y < 2; ++y)
        for (int x = 0; x < 3; ++x)
            EXPECT_EQ(img.pixel(x, y), dib.At(2 + x, 2 + y)) << x << "," << y;
}

TEST(DcStretch, BadArgumentsFail)
{
    Dib dib(4, 4, 5);
    Canvas c(8, 8);
    HDC hdc = c.dc->m_hDC;
    const void* bits = dib.bits.data();
    EXPECT_EQ(StretchDIBits(hdc, 0, 0, 4, 4, 0, 0, 4, 4, nullptr, &dib.bmi, 0, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(hdc, 0, 0, 4, 4, 0, 0, 4, 4, bits, nullptr, 0, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(nullptr, 0, 0, 4, 4, 0, 0, 4, 4, bits, &dib.bmi, 0, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(hdc, 0, 0, 0, 4, 0, 0, 4, 4, bits, &dib.bmi, 0, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(hdc, 0, 0, 4, -4, 0, 0, 4, 4, bits, &dib.bmi, 0, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(hdc, 0, 0, 4, 4, 0, 0, 5, 4, bits, &dib.bmi, 0, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(hdc, 0, 0, 4, 4, 1, 0, 4, 4, bits, &dib.bmi, 0, SRCCOPY), 0);
    EXPECT_EQ(StretchDIBits(hdc, 0, 0, 4, 4, 0, 0, 0, 4, bits, &dib.bmi, 0, SRCCOPY), 0);
    BITMAPINFO wrong = dib.bmi;
    wrong.bmiHeader.biBitCount = 32;
    EXPECT_EQ(StretchDIBits(hdc, 0, 0, 4, 4, 0, 0, 4, 4, bits, &wrong, 0, SRCCOPY), 0);
    wrong = dib.bmi;
    wrong.bmiHeader.biWidth = 0;
    EXPECT_EQ(StretchDIBits(hdc, 0, 0, 4, 4, 0, 0, 4, 4, bits, &wrong, 0, SRCCOPY), 0);
    ExpectStretched(c.Done(), dib, 0, 0, 0, 0, QRect());
}
