// The paint pass, checked on the rendered window: image cells with their
// fit, padding, label band and frames; placeholders; empty cells; one
// thumbnail per pass; failing files and their mark; the clip below the bar.
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWidget>
#include <QWindow>
#include <algorithm>

#include "BrowseTestSupport.h"
#include "platform/WndImpl.h"
#include "platform/WndTester.h"

namespace {

const QRgb kGreyPx = qRgb(192, 192, 192);
const QRgb kBluePx = qRgb(0, 0, 255);

class PaintTest : public BrowseTest {
protected:
    // The client area as it is on the screen at this moment, without
    // letting the event loop run (no further paint pass happens).
    QImage ScreenNow()
    {
        QWidget* client = ClientWidgetOf(m_browse);
        QWidget* window = client->window();
        const QPoint at = client->mapTo(window, QPoint(0, 0));
        QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
        return screen->grabWindow(window->winId(), at.x(), at.y(), client->width(), client->height())
            .toImage()
            .convertToFormat(QImage::Format_RGB32);
    }
    // Rows of the box (x, y, w, h) that hold a dark (text) pixel.
    static std::vector<int> DarkRows(const QImage& s, int x, int y, int w, int h)
    {
        std::vector<int> rows;
        for (int yy = y; yy < y + h; ++yy) {
            for (int xx = x; xx < x + w; ++xx) {
                if (qGray(s.pixel(xx, yy)) < 100) {
                    rows.push_back(yy);
                    break;
                }
            }
        }
        return rows;
    }
    static std::vector<int> DarkColumns(const QImage& s, int x, int y, int w, int h)
    {
        std::vector<int> cols;
        for (int xx = x; xx < x + w; ++xx) {
            for (int yy = y; yy < y + h; ++yy) {
                if (qGray(s.pixel(xx, yy)) < 100) {
                    cols.push_back(xx);
                    break;
                }
            }
        }
        return cols;
    }
    // Every pixel of the rectangle is grey.
    static int NonGrey(const QImage& s, int x, int y, int w, int h)
    {
        int n = 0;
        for (int yy = y; yy < y + h; ++yy)
            for (int xx = x; xx < x + w; ++xx)
                n += s.pixel(xx, yy) != kGreyPx;
        return n;
    }
};

// C:/P/ holds the way up (position 0) and a.jpg (position 1): cell 1's box
// is at x 135, y 60, 115 x 100, its picture area the top 80 rows.
TEST_F(PaintTest, SquarePhotoIs80x80And17PixelsFromTheBoxLeftEdge)
{
    MakeDir("P");
    WritePhoto("P/a.jpg", 300, 300);
    Open("C:/P/");
    ASSERT_EQ(m_browse->m_count, 2);
    const CRgbImage& item = m_browse->m_items[m_browse->m_order[1].slot];
    EXPECT_EQ(item.GetWidth(), 80);
    EXPECT_EQ(item.GetHeight(), 80);
    const QImage s = Screen();
    const int x = 135, y = 60;
    EXPECT_EQ(s.pixel(x + 16, y + 40), kGreyPx);
    EXPECT_TRUE(Near(s.pixel(x + 17, y + 40), kBluePx, 8));
    EXPECT_TRUE(Near(s.pixel(x + 96, y + 40), kBluePx, 8));
    EXPECT_EQ(s.pixel(x + 97, y + 40), kGreyPx);
    EXPECT_TRUE(Near(s.pixel(x + 50, y), kBluePx, 8));
    EXPECT_TRUE(Near(s.pixel(x + 50, y + 79), kBluePx, 8));
    EXPECT_EQ(s.pixel(x + 50, y - 1), kGreyPx);
    EXPECT_EQ(s.pixel(x + 50, y - 2), kGreyPx);
    // Label band and the two frames.
    EXPECT_EQ(s.pixel(x - 1, y + 85), kGreyPx);
    EXPECT_EQ(s.pixel(x - 3, y + 50), Rgb(RGB(225, 225, 225)));
    EXPECT_EQ(s.pixel(x - 3, y - 3), Rgb(RGB(225, 225, 225)));
    EXPECT_EQ(s.pixel(x - 4, y + 50), Rgb(RGB(255, 255, 255)));
    EXPECT_EQ(s.pixel(x + 117, y + 50), Rgb(RGB(128, 128, 128)));
    EXPECT_EQ(s.pixel(x + 118, y + 50), Rgb(RGB(0, 0, 0)));
    EXPECT_EQ(s.pixel(x + 50, y + 102), Rgb(RGB(128, 128, 128)));
    EXPECT_EQ(s.pixel(x + 50, y + 103), Rgb(RGB(0, 0, 0)));
    // The gaps: between the columns, above the row, and empty cells.
    EXPECT_EQ(s.pixel(129, y + 50), kGreyPx);
    EXPECT_EQ(s.pixel(130, y + 50), kGreyPx);
    EXPECT_EQ(s.pixel(128, y + 50), Rgb(RGB(0, 0, 0))) << "cell 0's outer right frame";
    EXPECT_EQ(s.pixel(200, 55), kGreyPx);
    EXPECT_EQ(NonGrey(s, 256, 56, 123, 108), 0) << "empty cell 2";
    // Below the one row of the grid.
    EXPECT_EQ(s.pixel(300, 400), kGreyPx);
}

TEST_F(PaintTest, UpIconIsDrawnScaledIntoCellZero)
{
    MakeDir("P");
    Open("C:/P/");
    const QImage s = Screen();
    // Icon pixel (row 60, column 50) of the arrow's shaft, at 80/100 scale.
    EXPECT_EQ(s.pixel(10 + 17 + 40, 60 + 48), Rgb(RGB(255, 64, 64)));
    EXPECT_EQ(s.pixel(10 + 17 + 2, 60 + 2), kGreyPx);
}

TEST_F(PaintTest, WideAndTallThumbnailsAreCentred)
{
    MakeDir("P");
    WritePhoto("P/a.jpg", 300, 100);  // 150 x 50 thumbnail: 115 x 38
    WritePhoto("P/b.jpg", 100, 300);  // 50 x 150: 26 x 80
    Open("C:/P/");
    const CRgbImage& wide = m_browse->m_items[m_browse->m_order[1].slot];
    const CRgbImage& tall = m_browse->m_items[m_browse->m_order[2].slot];
    EXPECT_EQ(wide.GetWidth(), 115);
    EXPECT_EQ(wide.GetHeight(), 38);
    EXPECT_EQ(tall.GetWidth(), 26);
    EXPECT_EQ(tall.GetHeight(), 80);
    const QImage s = Screen();
    // Wide: rows (80 - 38) / 2 = 21 from the top.
    EXPECT_EQ(s.pixel(135 + 50, 60 + 20), kGreyPx);
    EXPECT_TRUE(Near(s.pixel(135 + 50, 60 + 21), kBluePx, 8));
    EXPECT_TRUE(Near(s.pixel(135 + 50, 60 + 58), kBluePx, 8));
    EXPECT_EQ(s.pixel(135 + 50, 60 + 59), kGreyPx);
    // Tall: (115 - 26) / 2 = 44 from the left.
    EXPECT_EQ(s.pixel(260 + 43, 100), kGreyPx);
    EXPECT_TRUE(Near(s.pixel(260 + 44, 100), kBluePx, 8));
    EXPECT_TRUE(Near(s.pixel(260 + 69, 100), kBluePx, 8));
    EXPECT_EQ(s.pixel(260 + 70, 100), kGreyPx);
}

// Entering K from C:/ then counting: k files take k + 1 passes, one
// thumbnail each, and the last pass asks for no other.
TEST_F(PaintTest, KFilesNeedKPlusOnePaintPassesOneThumbnailEach)
{
    MakeDir("K");
    const int k = 5;
    for (int i = 0; i < k; ++i)
        WritePhoto("K/" + std::to_string(i) + ".jpg", 40, 30);
    Open("C:/");
    ASSERT_EQ(Shown()[1], "K");
    const int storedBefore = m_browse->m_cacheCount;
    m_browse->m_nPasses = 0;
    m_browse->m_picturesAfterPass.clear();
    ClickPosition(1);
    Settle();
    EXPECT_STREQ(m_browse->m_path, "C:/K/");
    ASSERT_EQ(m_browse->m_nPasses, k + 1);
    // The way up has its icon from the listing; one file more per pass.
    const std::vector<int> expected = { 2, 3, 4, 5, 6, 6 };
    EXPECT_EQ(m_browse->m_picturesAfterPass, expected);
    // Each file was fetched (and stored) exactly once.
    EXPECT_EQ(m_browse->m_cacheCount - storedBefore, k);
}

// Each pass after the first redraws only the cell it fetched: at the end
// every visible cell shows its thumbnail, and cells out of sight are
// fetched as well.
TEST_F(PaintTest, FilledDirectoryShowsEveryThumbnailAndFetchesCellsOutOfSight)
{
    MakeDir("P");
    for (int i = 0; i < 60; ++i) {
        char name[32];
        snprintf(name, sizeof name, "P/%02d.jpg", i);
        WritePhoto(name, 30, 30);
    }
    Open("C:/P/");
    ASSERT_EQ(m_browse->m_count, 61);
    EXPECT_EQ(m_browse->PicturesListed(), 61);
    const QImage s = Screen();
    // Rows 0 to 4 are in sight (client height about 685).
    for (int p = 1; p < 35; ++p) {
        const QPoint at = CellCentre(p);
        EXPECT_TRUE(Near(s.pixel(at), kBluePx, 8)) << "cell " << p;
    }
}

// After the first pass of a listing the files after the fetched one are
// placeholders: grey, with their label two pixels lower than in an image cell.
TEST_F(PaintTest, CellsAfterTheFetchedOneArePlaceholdersWithLowerLabels)
{
    MakeDir("K");
    // Same letters, so both labels reach as high and as low.
    WritePhoto("K/ab.jpg", 40, 40);
    WritePhoto("K/ba.jpg", 40, 40);
    Open("C:/");
    m_browse->EnterItem(m_browse->m_order[1].slot);
    m_browse->UpdateWindow();
    ASSERT_EQ(m_browse->m_count, 3);
    const CRgbImage& a = m_browse->m_items[m_browse->m_order[1].slot];
    const CRgbImage& b = m_browse->m_items[m_browse->m_order[2].slot];
    ASSERT_GT(a.GetHeight(), 0);
    ASSERT_EQ(b.GetHeight(), 0);
    const QImage s = ScreenNow();
    // Cell 2 (ba.jpg): the picture area is grey, the frames are there.
    EXPECT_EQ(NonGrey(s, 258, 58, 119, 80), 0);
    EXPECT_EQ(s.pixel(256, 100), Rgb(RGB(255, 255, 255)));
    const std::vector<int> imageRows = DarkRows(s, 135, 140, 115, 22);
    const std::vector<int> placeholderRows = DarkRows(s, 260, 140, 115, 22);
    ASSERT_FALSE(imageRows.empty());
    ASSERT_FALSE(placeholderRows.empty());
    EXPECT_EQ(placeholderRows.front() - imageRows.front(), 2);
    Settle();
}

// A file without a thumbnail: flags exactly BROWSE_FAILED (its selection
// dropped), never fetched again, and drawn as a placeholder: grey, framed,
// its name as label, and the broken-picture mark in the picture area.
TEST_F(PaintTest, FailingFileLosesSelectionAndShowsItsNameAndABrokenMark)
{
    MakeDir("P");
    FILE* f = fopen(Native("P/bad.jpg").c_str(), "wb");
    ASSERT_NE(f, nullptr);
    fputs("not a jpeg at all", f);
    fclose(f);
    WritePhoto("P/good.jpg", 50, 50);
    Create("C:/P/");
    m_browse->SetMultiSelect(1);
    m_browse->ListDirectory();
    const int bad = PositionOf("bad.jpg");
    ASSERT_EQ(bad, 1);
    CRgbImage& item = m_browse->m_items[m_browse->m_order[bad].slot];
    item.m_nFlags |= BROWSE_SELECTED;
    m_browse->ShowWindow(SW_SHOW);
    ASSERT_TRUE(WndTester::ShowAndWait(m_browse));
    Settle();
    EXPECT_EQ(item.m_nFlags, (uint32_t)BROWSE_FAILED);
    EXPECT_EQ(item.GetHeight(), 0);
    EXPECT_GT(m_browse->m_items[m_browse->m_order[2].slot].GetHeight(), 0);

    // Cell 1's box is at x 135, y 60; good.jpg's image cell beside it at 260.
    const QImage s = Screen();
    const int x = 135, y = 60;
    EXPECT_EQ(s.pixel(x - 4, y + 50), Rgb(RGB(255, 255, 255)));
    EXPECT_EQ(s.pixel(x - 3, y + 50), Rgb(RGB(225, 225, 225)));
    EXPECT_EQ(s.pixel(x + 117, y + 50), Rgb(RGB(128, 128, 128)));
    EXPECT_EQ(s.pixel(x + 118, y + 50), Rgb(RGB(0, 0, 0)));
    // Above the label only the mark differs from grey: the 16 x 12 pattern
    // at twice its size, centred in the 115 x 80 picture area.
    int left = 1 << 20, top = 1 << 20, right = -1, bottom = -1, sky = 0;
    for (int yy = y - 2; yy < y + 82; ++yy) {
        for (int xx = x - 2; xx < x + 117; ++xx) {
            const QRgb px = s.pixel(xx, yy);
            if (px == kGreyPx)
                continue;
            left = std::min(left, xx);
            right = std::max(right, xx);
            top = std::min(top, yy);
            bottom = std::max(bottom, yy);
            sky += px == qRgb(128, 192, 255);
        }
    }
    EXPECT_EQ(left, x + 41);
    EXPECT_EQ(right, x + 41 + 31);
    EXPECT_EQ(top, y + 28);
    EXPECT_EQ(bottom, y + 28 + 23);
    EXPECT_GT(sky, 100);
    // The label, on grey, two pixels lower than good.jpg's image-cell label.
    const std::vector<int> failedRows = DarkRows(s, x, y + 80, 115, 22);
    const std::vector<int> imageRows = DarkRows(s, x + 125, y + 80, 115, 22);
    ASSERT_FALSE(failedRows.empty());
    ASSERT_FALSE(imageRows.empty());
    EXPECT_EQ(failedRows.front() - imageRows.front(), 2);
    EXPECT_EQ(NonGrey(s, x, y + 82, 20, 20), 0);

    // It is not fetched again: a repaint asks for no further pass.
    const int passes = m_browse->m_nPasses;
    m_browse->Invalidate(FALSE);
    Settle();
    EXPECT_EQ(m_browse->m_nPasses, passes + 1);
}

TEST_F(PaintTest, SelectedFileHasARedLabelBand)
{
    MakeDir("P");
    WritePhoto("P/a.jpg", 60, 60);
    WritePhoto("P/b.jpg", 60, 60);
    Open("C:/P/");
    m_browse->SetMultiSelect(1);
    ClickPosition(1);
    Settle();
    const QImage s = Screen();
    // Band of cell 1: x 133 to 252, y 140 to 161; cell 2 stays grey.
    EXPECT_EQ(s.pixel(134, 141), Rgb(RGB(192, 0, 0)));
    EXPECT_EQ(s.pixel(251, 161), Rgb(RGB(192, 0, 0)));
    EXPECT_EQ(s.pixel(134, 139), kGreyPx) << "picture area padding";
    EXPECT_EQ(s.pixel(259, 141), kGreyPx);
    EXPECT_EQ(s.pixel(260 + 2, 141), kGreyPx);
}

// A name far wider than the cell is cut and ends in dots (low marks, no
// tall letters at its end); a short one is centred.
TEST_F(PaintTest, LongLabelEndsInAnEllipsisAndShortLabelIsCentred)
{
    MakeDir("P");
    const std::string longName = std::string(60, 'M') + ".jpg";
    WritePhoto("P/" + longName, 40, 40);
    WritePhoto("P/a.jpg", 40, 40);
    Open("C:/P/");
    ASSERT_EQ(PositionOf(longName), 1);
    ASSERT_EQ(PositionOf("a.jpg"), 2);
    const QImage s = Screen();
    const std::vector<int> cols = DarkColumns(s, 135, 140, 115, 20);
    ASSERT_FALSE(cols.empty());
    EXPECT_GE(cols.front(), 135);
    EXPECT_LE(cols.back(), 249);
    // The last few dark columns are dots: only a few rows high.
    const std::vector<int> tail = DarkRows(s, cols.back() - 6, 140, 7, 20);
    ASSERT_FALSE(tail.empty());
    EXPECT_LE(tail.back() - tail.front(), 3);
    // And the text before them is made of tall letters.
    const std::vector<int> head = DarkRows(s, cols.front(), 140, 10, 20);
    EXPECT_GE(head.back() - head.front(), 6);

    const std::vector<int> shortCols = DarkColumns(s, 260, 140, 115, 20);
    ASSERT_FALSE(shortCols.empty());
    const int middle = (shortCols.front() + shortCols.back()) / 2;
    EXPECT_NEAR(middle, 260 + 57, 3);
}

// The grid is clipped below the bar: scrolled cells never paint over it.
TEST_F(PaintTest, ScrolledGridDoesNotPaintOverTheButtonBar)
{
    MakeDir("P");
    // Taller than the window, so that the grid scrolls.
    for (int i = 0; i < 60; ++i)
        WritePhoto("P/" + std::to_string(i) + ".jpg", 40, 40);
    Open("C:/P/");
    m_browse->OnVScroll(SB_LINEDOWN, 0, nullptr);
    m_browse->OnVScroll(SB_LINEDOWN, 0, nullptr);
    Settle();
    const QImage s = Screen();
    // Cell 1's picture now starts at y 40: the bar keeps its own pixels.
    EXPECT_EQ(s.pixel(190, 48), Rgb(RGB(128, 128, 128)));
    EXPECT_EQ(s.pixel(190, 49), Rgb(RGB(0, 0, 0)));
    EXPECT_TRUE(Near(s.pixel(190, 50), kBluePx, 8));
}

// A grid wider than the window, scrolled right and then down: the gap
// between rows is grey across the whole width, with nothing left over from
// what was drawn there before (here a red selection band).
TEST_F(PaintTest, RowGapsStayGreyWhenAWideGridIsScrolled)
{
    MakeDir("P");
    // Wider and taller than the window, so that the grid scrolls both ways.
    for (int i = 0; i < 30; ++i)
        WritePhoto("P/" + std::to_string(i) + ".jpg", 20, 20);
    Open("C:/P/");
    m_browse->MoveWindow(10, 10, 500, 500);
    WndTester::ProcessEvents();
    m_browse->SetMultiSelect(1);
    ClickPosition(4);
    m_browse->OnHScroll(SB_PAGERIGHT, 0, nullptr);
    Settle();
    // Cell 4's band is now at x 408 to 527, y 140 to 161.
    ASSERT_EQ(Screen().pixel(450, 154), Rgb(RGB(192, 0, 0)));
    m_browse->OnVScroll(SB_LINEDOWN, 0, nullptr);
    Settle();
    const QImage s = Screen();
    EXPECT_EQ(s.pixel(450, 154), kGreyPx);
    EXPECT_EQ(s.pixel(450, 155), kGreyPx);
}

}  // namespace
