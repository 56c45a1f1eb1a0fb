// The image view in the real main window: fit and fixed scales, the grey
// around the picture, rotation, scrolling and printing.
#include <QApplication>
#include <QFileInfo>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QPrinter>

#include "app/res/Resource.h"
#include "platform/Dc.h"
#include "platform/MemoryLimit.h"
#include "platform/QtDc.h"
#include "platform/WndTester.h"
#include "tests/app/AppTestSupport.h"

namespace {

const QRgb kRed = qRgb(200, 40, 40);

// Every pixel of the rectangle is grey.
bool GreyRect(const QImage& image, int x0, int y0, int x1, int y1)
{
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x)
            if (image.pixel(x, y) != kViewGrey)
                return false;
    return true;
}

class ViewTest : public ViewerTest {
protected:
    void Load(int w, int h, const char* name = "photo.jpg")
    {
        const std::string path = WriteTestPhoto(m_dir.path(), name, w, h, kRed);
        ASSERT_EQ(m_view->LoadImage(path.c_str()), 0);
        WndTester::ProcessEvents();
    }
    int DisplayW() const { return m_view->GetImage().GetWidth(); }
    int DisplayH() const { return m_view->GetImage().GetHeight(); }
};

TEST_F(ViewTest, FitWidePictureInto600By400)
{
    Start();
    SetClientSize(600, 400);
    ASSERT_EQ(m_view->GetClientWidth(), 600);
    ASSERT_EQ(m_view->GetClientHeight(), 400);
    Load(1000, 500);
    EXPECT_EQ(DisplayW(), 600);
    EXPECT_EQ(DisplayH(), 300);
    const QImage screen = Screen();
    ASSERT_EQ(screen.size(), QSize(600, 400));
    EXPECT_TRUE(Near(screen.pixel(0, 0), kRed));
    EXPECT_TRUE(Near(screen.pixel(599, 299), kRed));
    EXPECT_TRUE(GreyRect(screen, 0, 300, 600, 400));
}

TEST_F(ViewTest, FitTallPictureFallsBackToTheHeight)
{
    Start();
    SetClientSize(600, 400);
    Load(500, 1000);
    EXPECT_EQ(DisplayW(), 200);
    EXPECT_EQ(DisplayH(), 400);
    const QImage screen = Screen();
    EXPECT_TRUE(Near(screen.pixel(199, 399), kRed));
    EXPECT_TRUE(GreyRect(screen, 200, 0, 600, 400));
}

TEST_F(ViewTest, QuarterOfAPictureNarrowerThanFourPixelsDrawsNothing)
{
    Start();
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_25);
    Load(3, 40);
    EXPECT_EQ(DisplayW(), 0);
    EXPECT_TRUE(GreyRect(Screen(), 0, 0, 600, 400));
}

// Grey exactly right of and below the picture, nothing grey on it.
TEST_F(ViewTest, GreyFillsRightOfAndBelowThePictureAtFullScale)
{
    Start();
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_100);
    Load(300, 200);
    const QImage screen = Screen();
    EXPECT_TRUE(Near(screen.pixel(0, 0), kRed));
    EXPECT_TRUE(Near(screen.pixel(299, 199), kRed));
    EXPECT_TRUE(Near(screen.pixel(299, 0), kRed));
    EXPECT_TRUE(Near(screen.pixel(0, 199), kRed));
    EXPECT_TRUE(GreyRect(screen, 300, 0, 600, 400));
    EXPECT_TRUE(GreyRect(screen, 0, 200, 600, 400));
}

TEST_F(ViewTest, EachScaleCommandRebuildsTheDisplayRaster)
{
    Start();
    SetClientSize(600, 400);
    Load(801, 603);
    const struct {
        UINT id;
        int w, h;
    } steps[] = { { ID_VIEW_SCALE_25, 200, 150 }, { ID_VIEW_SCALE_50, 400, 301 }, { ID_VIEW_SCALE_100, 801, 603 },
                  { ID_VIEW_SCALE_200, 1602, 1206 }, { ID_VIEW_SCALE_400, 3204, 2412 },
                  { ID_VIEW_SCALE_FIT, 531, 400 } };
    for (const auto& step : steps) {
        Command(step.id);
        // The wait cursor shown while the raster is rebuilt is gone again.
        EXPECT_EQ(QApplication::overrideCursor(), nullptr);
        EXPECT_EQ(DisplayW(), step.w) << step.id;
        EXPECT_EQ(DisplayH(), step.h) << step.id;
        EXPECT_TRUE(WndTester::IsMenuItemChecked(m_frame, step.id));
    }
}

// A 400 % zoom whose display raster does not fit the picture's memory
// budget beside the full-size raster is a failed allocation: no display
// raster, only grey on the screen, no message; the other scales still work.
// Only what the window shows is built: a zoom whose whole display raster
// would not fit the picture's memory budget is shown all the same.
TEST_F(ViewTest, ZoomBeyondAWholeDisplayRasterStillShowsThePicture)
{
    Start();
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_100);
    Load(300, 200);
    // A whole 1200 x 800 raster takes 2887200 bytes, the full-size one 181800.
    const uint64_t old = SetRasterByteLimit(2000000);
    Command(ID_VIEW_SCALE_400);
    EXPECT_EQ(DisplayW(), 1200);
    EXPECT_EQ(DisplayH(), 800);
    const QImage screen = Screen();
    EXPECT_TRUE(Near(screen.pixel(0, 0), kRed));
    EXPECT_TRUE(Near(screen.pixel(580, 380), kRed));
    EXPECT_TRUE(s_messages.empty());
    SetRasterByteLimit(old);
}

TEST_F(ViewTest, RotateRightAtFullScaleSwapsDisplayAndScrollRangeButNotTheInfo)
{
    Start();
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_100);
    Load(800, 600);
    Command(ID_VIEW_ROTATE_RIGHT);
    EXPECT_EQ(DisplayW(), 600);
    EXPECT_EQ(DisplayH(), 800);
    EXPECT_EQ(m_view->GetTotalSize(), CSize(600, 800));
    SCROLLINFO si = { sizeof si, SIF_ALL, 0, 0, 0, 0, 0 };
    m_view->GetScrollInfo(SB_VERT, &si);
    EXPECT_EQ(si.nMax, 799);
    EXPECT_TRUE(m_view->IsScrollBarShown(SB_VERT));
    Command(ID_VIEW_DISPLAY_INFO);
    ASSERT_EQ(s_messages.size(), 1u);
    EXPECT_EQ(s_messages[0], "Filename: " + (m_dir.path() + "/photo.jpg").toStdString() + "\nWidth: 800\nHeight: 600");
}

TEST_F(ViewTest, RotateInFitModeFitsTheTurnedPictureAgain)
{
    Start();
    SetClientSize(600, 400);
    Load(1000, 500);
    Command(ID_VIEW_ROTATE_LEFT);
    EXPECT_EQ(DisplayW(), 200);
    EXPECT_EQ(DisplayH(), 400);
}

TEST_F(ViewTest, ResizeInFitModeKeepsTheSizeUntilScaleToFit)
{
    Start();
    SetClientSize(600, 400);
    Load(1000, 500);
    SetClientSize(800, 600);
    EXPECT_EQ(DisplayW(), 600);
    EXPECT_EQ(DisplayH(), 300);
    Command(ID_VIEW_SCALE_FIT);
    EXPECT_EQ(DisplayW(), 800);
    EXPECT_EQ(DisplayH(), 400);
}

// Scale to Fit removes the bars of a larger picture first, so the fit
// uses the whole client area.
TEST_F(ViewTest, ScaleToFitAfterScrollBarsUsesTheWholeClient)
{
    Start();
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_400);
    Load(400, 200);
    ASSERT_TRUE(m_view->IsScrollBarShown(SB_VERT));
    Command(ID_VIEW_SCALE_FIT);
    EXPECT_FALSE(m_view->IsScrollBarShown(SB_VERT));
    EXPECT_EQ(DisplayW(), 600);
    EXPECT_EQ(DisplayH(), 300);
}

TEST_F(ViewTest, WheelScrollsALargePicture)
{
    Start();
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_100);
    Load(1200, 1600);
    EXPECT_EQ(m_view->GetScrollPosition().y, 0);
    WndTester::Wheel(m_view, 100, 100, -120);
    EXPECT_GT(m_view->GetScrollPosition().y, 0);
    const int y = m_view->GetScrollPosition().y;
    WndTester::Wheel(m_view, 100, 100, 120);
    EXPECT_EQ(m_view->GetScrollPosition().y, 0);
    EXPECT_GT(y, 0);
}

// Printing on a 600 dpi device: the shorter side is 4 inches at (50, 50).
struct PrintCase {
    int w, h, printedW, printedH;
};

TEST_F(ViewTest, PrintsShorterSideFourInchesAt50And50ThenReturnsToTheScale)
{
    Start();
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_25);
    const PrintCase cases[] = { { 1600, 1200, 3200, 2400 }, { 1200, 1600, 2400, 3200 }, { 1000, 1000, 2400, 2400 } };
    for (const PrintCase& c : cases) {
        Load(c.w, c.h);
        QImage page(c.printedW + 200, c.printedH + 200, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            CDC dc(NewDcImpl(&painter, true, 600, 600));
            m_view->OnDraw(&dc);
        }
        const QRgb white = qRgb(255, 255, 255);
        EXPECT_EQ(page.pixel(49, 49), white);
        EXPECT_TRUE(Near(page.pixel(50, 50), kRed));
        EXPECT_TRUE(Near(page.pixel(50 + c.printedW - 1, 50 + c.printedH - 1), kRed)) << c.w << "x" << c.h;
        EXPECT_EQ(page.pixel(50 + c.printedW, 50 + c.printedH - 1), white) << c.w << "x" << c.h;
        EXPECT_EQ(page.pixel(50 + c.printedW - 1, 50 + c.printedH), white) << c.w << "x" << c.h;
        // Back on the screen at 25 %.
        EXPECT_EQ(DisplayW(), c.w / 4);
        EXPECT_EQ(DisplayH(), c.h / 4);
    }
}

TEST_F(ViewTest, FilePrintGoesThroughThePrintDialogToThePrinter)
{
    Start();
    Load(640, 480);
    const QString pdf = m_dir.path() + "/out.pdf";
    PrintToPdfOnDialog(pdf, 600);
    const int w = DisplayW();
    WndTester::Key(m_frame, QKeySequence(QStringLiteral("Ctrl+P")));
    ASSERT_EQ(m_dialogTitles.size(), 1u);
    EXPECT_GT(QFileInfo(pdf).size(), 1000);
    EXPECT_EQ(DisplayW(), w);
}

TEST_F(ViewTest, CancelledPrintDialogPrintsNothing)
{
    Start();
    Load(640, 480);
    int printDialogs = 0;
    m_onDialog = [&](QDialog& dialog) {
        printDialogs += qobject_cast<QPrintDialog*>(&dialog) != nullptr;
        return (int)QDialog::Rejected;
    };
    Command(ID_FILE_PRINT);
    EXPECT_EQ(printDialogs, 1);
}

TEST_F(ViewTest, PrintPreviewDrawsOnePageAndTheScreenKeepsItsScale)
{
    Start();
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_50);
    Load(800, 600);
    int pages = -1;
    m_onDialog = [&](QDialog& dialog) {
        if (!qobject_cast<QPrintPreviewDialog*>(&dialog))
            return (int)QDialog::Rejected;
        dialog.show();
        WndTester::ProcessEvents();
        if (QPrintPreviewWidget* widget = dialog.findChild<QPrintPreviewWidget*>())
            pages = widget->pageCount();
        dialog.close();
        return (int)QDialog::Accepted;
    };
    Command(ID_FILE_PRINT_PREVIEW);
    EXPECT_EQ(pages, 1);
    EXPECT_EQ(DisplayW(), 400);
    EXPECT_EQ(DisplayH(), 300);
}

}  // namespace
