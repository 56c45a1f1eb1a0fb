// Photos that carry an Exif orientation are shown, printed and turned
// further from upright, while Display Info keeps the decoded sizes.
#include <QPainter>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "app/res/Resource.h"
#include "codec/JpegConverter.h"
#include "image/Orientation.h"
#include "platform/Dc.h"
#include "platform/QtDc.h"
#include "platform/WndTester.h"
#include "tests/app/AppTestSupport.h"
#include "tools/ExifBlock.h"

namespace {

const int kW = 64;  // the upright picture: four quadrants of four colours
const int kH = 48;
const QRgb kQuadrant[4] = { qRgb(220, 30, 30), qRgb(30, 200, 30), qRgb(30, 30, 220), qRgb(230, 220, 40) };

QRgb UprightColour(int x, int y)
{
    return kQuadrant[(y >= kH / 2) * 2 + (x >= kW / 2)];
}

std::vector<unsigned char> UprightPixels()
{
    std::vector<unsigned char> v;
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const QRgb c = UprightColour(x, y);
            v.insert(v.end(), { (unsigned char)qRed(c), (unsigned char)qGreen(c), (unsigned char)qBlue(c) });
        }
    return v;
}

// The orientation that undoes o: the turns 6 and 8 undo each other, every
// other value undoes itself.
int Inverse(int o)
{
    return o == 6 ? 8 : o == 8 ? 6 : o;
}

class OrientationViewTest : public ViewerTest {
protected:
    // The upright picture stored as a camera on its side would store it,
    // tagged with o. Returns the path.
    std::string WriteTagged(int o, bool bigEndian)
    {
        int w = 0, h = 0;
        const std::vector<unsigned char> upright = UprightPixels();
        std::unique_ptr<unsigned char, decltype(&free)> stored(
            OrientRgb(upright.data(), kW, kH, Inverse(o), &w, &h), &free);
        return WriteTestFile(m_dir.path(), "tagged-" + std::to_string(o) + ".jpg",
                             WithExifOrientation(EncodeTestPhoto(stored.get(), w, h), o, bigEndian));
    }
};

// At 100 % every pixel on screen is the decoded pixel moved where the tag
// says, and the picture is the upright one (its quadrants in place).
TEST_F(OrientationViewTest, EachOrientationShowsThePhotoUprightAndKeepsTheDecodedSizes)
{
    Start();
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_100);
    for (int o = 1; o <= 8; ++o) {
        SCOPED_TRACE(o);
        const std::string path = WriteTagged(o, o % 2 == 0);
        ASSERT_EQ(m_view->LoadImage(path.c_str()), 0);
        WndTester::ProcessEvents();
        ASSERT_EQ(m_view->GetImage().GetWidth(), kW);
        ASSERT_EQ(m_view->GetImage().GetHeight(), kH);

        CJpegConverter decoder;
        std::unique_ptr<unsigned char, decltype(&free)> decoded(decoder.LoadFile(path.c_str()), &free);
        int w = 0, h = 0;
        std::unique_ptr<unsigned char, decltype(&free)> expected(
            OrientRgb(decoded.get(), decoder.GetWidth(), decoder.GetHeight(), o, &w, &h), &free);
        ASSERT_EQ(w, kW);
        const QImage screen = Screen();
        int wrong = 0;
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                const unsigned char* p = expected.get() + ((size_t)y * kW + x) * 3;
                wrong += screen.pixel(x, y) != qRgb(p[0], p[1], p[2]);
            }
        EXPECT_EQ(wrong, 0);
        for (int q = 0; q < 4; ++q) {
            const int x = (q % 2) * kW / 2 + kW / 4, y = (q / 2) * kH / 2 + kH / 4;
            EXPECT_TRUE(Near(screen.pixel(x, y), kQuadrant[q], 12)) << "quadrant " << q;
        }

        s_messages.clear();
        Command(ID_VIEW_DISPLAY_INFO);
        const bool sideways = o >= 5;
        ASSERT_EQ(s_messages.size(), 1u);
        EXPECT_EQ(s_messages[0], "Filename: " + path + "\nWidth: " + std::to_string(sideways ? kH : kW) +
                                     "\nHeight: " + std::to_string(sideways ? kW : kH));
    }
}

// Printing draws the upright picture; a user's turn goes on from upright.
TEST_F(OrientationViewTest, PrintAndRotateStartFromUpright)
{
    Start();
    SetClientSize(600, 400);
    Command(ID_VIEW_SCALE_100);
    for (int o : { 3, 6, 7 }) {
        SCOPED_TRACE(o);
        ASSERT_EQ(m_view->LoadImage(WriteTagged(o, true).c_str()), 0);
        // 64 x 48 printed at 600 dpi: 3200 x 2400 at (50, 50).
        QImage page(3400, 2600, QImage::Format_RGB32);
        page.fill(Qt::white);
        {
            QPainter painter(&page);
            CDC dc(NewDcImpl(&painter, true, 600, 600));
            m_view->OnDraw(&dc);
        }
        EXPECT_TRUE(Near(page.pixel(60, 60), kQuadrant[0], 12));
        EXPECT_TRUE(Near(page.pixel(50 + 3199 - 10, 50 + 2399 - 10), kQuadrant[3], 12));
        EXPECT_EQ(page.pixel(50 + 3200, 60), qRgb(255, 255, 255));

        Command(ID_VIEW_ROTATE_RIGHT);
        WndTester::ProcessEvents();
        const QImage screen = Screen();
        // Upright turned clockwise: the bottom-left quadrant is now top left.
        EXPECT_TRUE(Near(screen.pixel(5, 5), kQuadrant[2], 12));
        EXPECT_TRUE(Near(screen.pixel(kH - 5, 5), kQuadrant[0], 12));
    }
}

}  // namespace
