#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <climits>
#include <string>

#include "platform/Dc.h"
#include "platform/QtDc.h"

namespace {

const QRgb kBlank = qRgb(200, 220, 240);  // light: not mistaken for ink

// A painted-on image with a device context over it. The painter ends before
// the pixels are read.
struct Canvas {
    QImage image;
    QPainter painter;
    std::unique_ptr<CDC> dc;
    Canvas(int w, int h, bool printing = false, int dpi = 0) : image(w, h, QImage::Format_RGB32)
    {
        image.fill(kBlank);
        painter.begin(&image);
        dc = std::make_unique<CDC>(NewDcImpl(&painter, printing, dpi, dpi));
    }
    const QImage& Done()
    {
        if (painter.isActive())
            painter.end();
        return image;
    }
};

QRgb ToRgb(COLORREF c)
{
    return qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
}

bool IsInk(QRgb p)
{
    return qGray(p) < 100;
}

// Bounding box of the dark pixels, or an empty rect.
QRect InkBounds(const QImage& image)
{
    QRect box;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (IsInk(image.pixel(x, y)))
                box = box.united(QRect(x, y, 1, 1));
    return box;
}

}  // namespace

TEST(Dc, DefaultsAndDeviceCaps)
{
    Canvas screen(10, 10);
    EXPECT_FALSE(screen.dc->IsPrinting());
    EXPECT_EQ(screen.dc->GetDeviceCaps(LOGPIXELSX), 96);
    EXPECT_EQ(screen.dc->GetDeviceCaps(LOGPIXELSY), 96);
    EXPECT_EQ(screen.dc->GetBkColor(), RGB(255, 255, 255));
    EXPECT_EQ(screen.dc->SetTextColor(RGB(1, 2, 3)), RGB(0, 0, 0));
    EXPECT_EQ(screen.dc->m_hDC, screen.dc.get());

    Canvas printer(10, 10, true, 600);
    EXPECT_TRUE(printer.dc->IsPrinting());
    EXPECT_EQ(printer.dc->GetDeviceCaps(LOGPIXELSX), 600);
    EXPECT_EQ(printer.dc->GetDeviceCaps(LOGPIXELSY), 600);
}

// The browser's labels are drawn on "the background colour left by the last
// fill", so FillSolidRect must leave it set.
TEST(Dc, FillSolidRectFillsExactlyAndKeepsBackgroundColour)
{
    Canvas c(12, 10);
    c.dc->FillSolidRect(2, 3, 4, 5, RGB(200, 100, 50));
    EXPECT_EQ(c.dc->GetBkColor(), RGB(200, 100, 50));
    RECT r{8, 0, 12, 2};
    c.dc->FillSolidRect(&r, RGB(0, 255, 0));
    EXPECT_EQ(c.dc->GetBkColor(), RGB(0, 255, 0));
    const QImage& img = c.Done();
    for (int y = 0; y < 10; ++y)
        for (int x = 0; x < 12; ++x) {
            QRgb expected = kBlank;
            if (x >= 2 && x < 6 && y >= 3 && y < 8)
                expected = qRgb(200, 100, 50);
            if (x >= 8 && y < 2)
                expected = qRgb(0, 255, 0);
            ASSERT_EQ(img.pixel(x, y), expected) << x << "," << y;
        }
}

// Top edge (x, y, cx - 1, 1) and left edge (x, y, 1, cy - 1) in the first
// colour; right edge (x + cx - 1, y, 1, cy) and bottom edge
// (x, y + cy - 1, cx, 1) in the second.
TEST(Dc, Draw3dRectEdgesArePixelExact)
{
    const COLORREF tl = RGB(255, 0, 0), br = RGB(0, 0, 255);
    for (bool useRect : {false, true}) {
        Canvas c(20, 16);
        c.dc->SetViewportOrg(1, 2);  // logical (1, 1) is device (2, 3)
        if (useRect) {
            RECT r{1, 1, 11, 7};
            c.dc->Draw3dRect(&r, tl, br);
        } else {
            c.dc->Draw3dRect(1, 1, 10, 6, tl, br);
        }
        EXPECT_EQ(c.dc->GetBkColor(), br);
        const QImage& img = c.Done();
        const int x = 2, y = 3, cx = 10, cy = 6;
        for (int py = 0; py < 16; ++py)
            for (int px = 0; px < 20; ++px) {
                QRgb expected = kBlank;
                if ((py == y && px >= x && px < x + cx - 1) || (px == x && py >= y && py < y + cy - 1))
                    expected = ToRgb(tl);
                if ((px == x + cx - 1 && py >= y && py < y + cy) ||
                    (py == y + cy - 1 && px >= x && px < x + cx))
                    expected = ToRgb(br);
                ASSERT_EQ(img.pixel(px, py), expected) << px << "," << py << " rect " << useRect;
            }
    }
}

TEST(Dc, ClipRegionLimitsDrawingAndClipBox)
{
    Canvas c(20, 20);
    RECT box;
    EXPECT_EQ(c.dc->GetClipBox(&box), SIMPLEREGION);
    EXPECT_EQ(box.left, 0);
    EXPECT_EQ(box.right, 20);
    EXPECT_EQ(box.bottom, 20);

    CRgn rgn;
    rgn.CreateRectRgn(5, 6, 15, 16);
    EXPECT_EQ(c.dc->SelectClipRgn(&rgn), SIMPLEREGION);
    c.dc->FillSolidRect(0, 0, 20, 20, RGB(255, 255, 0));
    // The clip box is logical: the region moves by minus the viewport origin.
    c.dc->SetViewportOrg(2, 3);
    c.dc->GetClipBox(&box);
    EXPECT_EQ(box.left, 3);
    EXPECT_EQ(box.top, 3);
    EXPECT_EQ(box.right, 13);
    EXPECT_EQ(box.bottom, 13);
    EXPECT_TRUE(c.dc->IsVisible(RECT{12, 12, 14, 14}));
    EXPECT_FALSE(c.dc->IsVisible(RECT{13, 0, 20, 20}));
    EXPECT_FALSE(c.dc->IsVisible(RECT{4, 4, 4, 10}));  // empty

    EXPECT_EQ(c.dc->SelectClipRgn(nullptr), SIMPLEREGION);
    c.dc->GetClipBox(&box);
    EXPECT_EQ(box.left, -2);
    EXPECT_EQ(box.right, 18);

    const QImage& img = c.Done();
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            bool inside = x >= 5 && x < 15 && y >= 6 && y < 16;
            ASSERT_EQ(img.pixel(x, y), inside ? qRgb(255, 255, 0) : kBlank) << x << "," << y;
        }
}

// A paint event's clip on the painter bounds everything the context draws.
TEST(Dc, PainterClipIsTheStartingClip)
{
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(kBlank);
    QPainter painter(&image);
    painter.setClipRect(QRect(0, 0, 10, 8));
    {
        CDC dc(NewDcImpl(&painter));
        RECT box;
        dc.GetClipBox(&box);
        EXPECT_EQ(box.right, 10);
        EXPECT_EQ(box.bottom, 8);
        CRgn rgn;
        rgn.CreateRectRgn(5, 5, 20, 20);
        dc.SelectClipRgn(&rgn);
        dc.GetClipBox(&box);
        EXPECT_EQ(box.left, 5);
        EXPECT_EQ(box.top, 5);
        EXPECT_EQ(box.right, 10);
        EXPECT_EQ(box.bottom, 8);
        CRgn outside;
        outside.CreateRectRgn(12, 12, 20, 20);
        EXPECT_EQ(dc.SelectClipRgn(&outside), NULLREGION);
        EXPECT_EQ(dc.GetClipBox(&box), NULLREGION);
        dc.FillSolidRect(0, 0, 20, 20, RGB(0, 0, 0));
        dc.SelectClipRgn(nullptr);
        dc.FillSolidRect(0, 0, 20, 20, RGB(255, 255, 255));
    }
    painter.end();
    EXPECT_EQ(image.pixel(9, 7), qRgb(255, 255, 255));
    EXPECT_EQ(image.pixel(10, 7), kBlank);
    EXPECT_EQ(image.pixel(9, 8), kBlank);
    EXPECT_EQ(image.pixel(15, 15), kBlank);
}

TEST(DcText, PointFontScalesWithDeviceResolution)
{
    CFont font;
    EXPECT_FALSE(font.IsCreated());
    EXPECT_FALSE(font.CreatePointFont(0, "Arial"));
    ASSERT_TRUE(font.CreatePointFont(100, "Arial"));
    RECT r{0, 0, 50, 50};
    Canvas screen(60, 60);
    EXPECT_EQ(screen.dc->SelectObject(&font), nullptr);
    int screenHeight = screen.dc->DrawText("H", -1, &r, DT_CENTER | DT_END_ELLIPSIS);
    EXPECT_EQ(screen.dc->GetImpl()->qfont.pixelSize(), 13);  // round(100 x 96 / 720)
    Canvas printer(60, 60, true, 600);
    printer.dc->SelectObject(&font);
    int printerHeight = printer.dc->DrawText("H", -1, &r, DT_CENTER | DT_END_ELLIPSIS);
    EXPECT_EQ(printer.dc->GetImpl()->qfont.pixelSize(), 83);  // round(100 x 600 / 720)
    EXPECT_GT(printerHeight, 5 * screenHeight);
    EXPECT_EQ(printer.dc->SelectObject(nullptr), &font);
}

// A short label sits centred at the top of its rectangle, on a cell of the
// background colour as wide as the text (not the whole rectangle).
TEST(DcText, ShortTextIsCentredOnBackgroundCell)
{
    CFont font;
    font.CreatePointFont(100, "Arial");
    Canvas c(140, 40);
    c.dc->SelectObject(&font);
    c.dc->FillSolidRect(0, 25, 140, 15, RGB(192, 192, 192));  // leaves the bk colour grey
    RECT r{20, 5, 120, 25};
    int height = c.dc->DrawText("a.jpg", -1, &r, DT_CENTER | DT_END_ELLIPSIS);
    EXPECT_GE(height, 13);
    EXPECT_LE(height, 20);
    QImage img = c.Done().copy(0, 0, 140, 25);
    QRect ink = InkBounds(img);
    ASSERT_FALSE(ink.isEmpty());
    EXPECT_GE(ink.left(), 20);
    EXPECT_LE(ink.right(), 119);
    EXPECT_GE(ink.top(), 5);
    EXPECT_LE(ink.bottom(), 5 + height - 1);
    double centre = (ink.left() + ink.right() + 1) / 2.0;
    EXPECT_NEAR(centre, 70.0, 2.5);
    // The cell: grey around the ink on the text's rows, nothing at the
    // rectangle's far ends.
    EXPECT_EQ(img.pixel(ink.left(), 5), qRgb(192, 192, 192));
    EXPECT_EQ(img.pixel(ink.right(), 5), qRgb(192, 192, 192));
    EXPECT_EQ(img.pixel(21, 6), kBlank);
    EXPECT_EQ(img.pixel(118, 6), kBlank);
    // Nothing outside the rectangle.
    for (int y = 0; y < 25; ++y) {
        for (int x = 0; x < 140; ++x) {
            if (x < 20 || x >= 120 || y < 5) {
                ASSERT_EQ(img.pixel(x, y), kBlank) << x << "," << y;
            }
        }
    }
}

// A label wider than its cell is cut and ends in "...", and stays inside the
// rectangle.
TEST(DcText, LongTextEndsInEllipsisInsideRect)
{
    CFont font;
    font.CreatePointFont(100, "Arial");
    Canvas c(120, 40);
    c.dc->SelectObject(&font);
    RECT r{10, 10, 70, 30};
    const char* text = "a-very-long-photograph-name-that-cannot-fit.jpg";
    c.dc->DrawText(text, -1, &r, DT_CENTER | DT_END_ELLIPSIS);
    const int baseline = 10 + c.dc->GetImpl()->metrics.ascent();
    const QImage& img = c.Done();
    QRect ink = InkBounds(img);
    ASSERT_FALSE(ink.isEmpty());
    for (int y = 0; y < 40; ++y) {
        for (int x = 0; x < 120; ++x) {
            if (x < 10 || x >= 70 || y < 10 || y >= 30) {
                ASSERT_EQ(img.pixel(x, y), kBlank) << x << "," << y;
            }
        }
    }
    // The text uses most of the width, and its last glyphs are dots: ink on
    // the baseline only, where letters would reach up to the x-height.
    EXPECT_GT(ink.width(), 40);
    for (int y = 10; y < 30; ++y) {
        for (int x = ink.right() - 6; x <= ink.right(); ++x) {
            if (IsInk(img.pixel(x, y))) {
                EXPECT_GE(y, baseline - 3) << x << "," << y;
            }
        }
    }
}

// A label outside the clip is dropped before any layout; a partly visible
// one is cut at the clip.
TEST(DcText, ClippedText)
{
    CFont font;
    font.CreatePointFont(100, "Arial");
    Canvas c(100, 40);
    c.dc->SelectObject(&font);
    CRgn rgn;
    rgn.CreateRectRgn(0, 0, 100, 20);
    c.dc->SelectClipRgn(&rgn);
    RECT hidden{0, 22, 100, 40};
    EXPECT_GT(c.dc->DrawText("hidden", -1, &hidden, DT_CENTER | DT_END_ELLIPSIS), 0);
    RECT half{0, 12, 100, 40};
    c.dc->DrawText("Hg", -1, &half, DT_CENTER | DT_END_ELLIPSIS);
    // Explicit count: only the first two characters.
    RECT top{0, 0, 100, 12};
    c.dc->SetTextColor(RGB(255, 0, 0));
    c.dc->DrawText("WWWWWW", 1, &top, DT_CENTER);
    const QImage& img = c.Done();
    for (int y = 20; y < 40; ++y)
        for (int x = 0; x < 100; ++x)
            ASSERT_EQ(img.pixel(x, y), kBlank) << x << "," << y;
    QRect ink = InkBounds(img.copy(0, 12, 100, 8));
    EXPECT_FALSE(ink.isEmpty());
    // One red "W", about a glyph wide.
    int red = 0, minX = INT_MAX, maxX = -1;
    for (int y = 0; y < 12; ++y)
        for (int x = 0; x < 100; ++x) {
            QRgb p = img.pixel(x, y);
            if (qRed(p) > 150 && qGreen(p) < 100) {
                ++red;
                minX = std::min(minX, x);
                maxX = std::max(maxX, x);
            }
        }
    EXPECT_GT(red, 0);
    EXPECT_LT(maxX - minX, 16);
}
