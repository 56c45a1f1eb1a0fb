// What the window shows after random sequences of zooms, turns, window
// sizes and scroll positions equals, pixel for pixel, the whole display
// raster the view used to build (CRgbImage::Rescale and the turns of both
// rasters) at the same place, with grey around it.

#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "app/ScaleGeometry.h"
#include "app/res/Resource.h"
#include "codec/JpegConverter.h"
#include "image/RgbImage.h"
#include "platform/WndTester.h"
#include "tests/app/AppTestSupport.h"

namespace {

// Picture pixel (x, y) of a stored-layout raster as a QRgb.
QRgb StoredRgb(const CRgbImage& image, int x, int y)
{
    const int w = image.GetWidth();
    const size_t stride = (size_t)w * 3 + (size_t)(w % 4);
    const unsigned char* p = image.GetBits() + (size_t)(image.GetHeight() - 1 - y) * stride + (size_t)x * 3;
    return qRgb(p[2], p[1], p[0]);
}

class ViewDisplayPropertyTest : public ViewerTest {
protected:
    // The reference for one command, on the old whole-raster road: a turn
    // turns both rasters and is refitted in fit mode only; a scale rebuilds.
    void Apply(CRgbImage& ref, UINT cmd, ScaleMode& mode) const
    {
        if (cmd == ID_VIEW_ROTATE_RIGHT || cmd == ID_VIEW_ROTATE_LEFT) {
            cmd == ID_VIEW_ROTATE_RIGHT ? ref.RotateClockwise() : ref.RotateCounterClockwise();
            if (mode != ScaleFit)
                return;
        } else {
            mode = cmd == ID_VIEW_SCALE_25    ? ScaleQuarter
                   : cmd == ID_VIEW_SCALE_50  ? ScaleHalf
                   : cmd == ID_VIEW_SCALE_100 ? ScaleFull
                   : cmd == ID_VIEW_SCALE_200 ? ScaleDouble
                   : cmd == ID_VIEW_SCALE_400 ? ScaleQuadruple
                                              : ScaleFit;
        }
        Rebuild(ref, mode);
    }

    void Rebuild(CRgbImage& ref, ScaleMode mode) const
    {
        const int w = ref.GetFullWidth(), h = ref.GetFullHeight();
        const DisplaySize size = mode == ScaleFit
                                     ? FitScaleSize(w, h, m_view->GetClientWidth(), m_view->GetClientHeight())
                                     : FixedScaleSize(mode, w, h);
        ASSERT_EQ(ref.Rescale(size.width, size.height), 0);
    }

    // Counts the client pixels that differ from the reference.
    int Differences(const CRgbImage& ref)
    {
        const QImage screen = Screen();
        const CPoint scroll = m_view->GetScrollPosition();
        int wrong = 0;
        for (int y = 0; y < screen.height(); ++y)
            for (int x = 0; x < screen.width(); ++x) {
                const int px = x + scroll.x, py = y + scroll.y;
                const bool inside = px < ref.GetWidth() && py < ref.GetHeight();
                wrong += screen.pixel(x, y) != (inside ? StoredRgb(ref, px, py) : kViewGrey);
            }
        return wrong;
    }
};

TEST_F(ViewDisplayPropertyTest, RandomZoomsTurnsAndScrollsShowTheWholeRastersPixels)
{
    std::mt19937 rng(19);
    const std::string path = WriteTestPhoto(m_dir.path(), "p.jpg", 1, 1);
    // Odd sizes, so fills, strides and both resampling methods all occur.
    const int sizes[][2] = { { 97, 61 }, { 250, 33 }, { 7, 140 } };
    const UINT commands[] = { ID_VIEW_SCALE_25, ID_VIEW_SCALE_50, ID_VIEW_SCALE_100, ID_VIEW_SCALE_200,
                              ID_VIEW_SCALE_400, ID_VIEW_SCALE_FIT, ID_VIEW_ROTATE_RIGHT, ID_VIEW_ROTATE_LEFT };
    Start();
    for (const auto& wh : sizes) {
        // Photo-like noise, decoded as the view decodes it.
        std::vector<unsigned char> rgb((size_t)wh[0] * wh[1] * 3);
        for (auto& b : rgb)
            b = (unsigned char)(rng() & 0xFF);
        WriteTestFile(m_dir.path(), "p.jpg", EncodeTestPhoto(rgb.data(), wh[0], wh[1], 90));
        CJpegConverter dec;
        unsigned char* pixels = dec.LoadFile(path.c_str());
        ASSERT_NE(pixels, nullptr);
        CRgbImage ref;
        ASSERT_EQ(ref.SetImage(path.c_str(), pixels, dec.GetWidth(), dec.GetHeight()), 0);
        free(pixels);

        SetClientSize(180 + (int)(rng() % 200), 120 + (int)(rng() % 150));
        // A load keeps the scale mode and rebuilds at it.
        ScaleMode mode = m_view->GetScaleMode();
        ASSERT_EQ(m_view->LoadImage(path.c_str()), 0);
        Rebuild(ref, mode);
        for (int step = 0; step < 24; ++step) {
            const UINT cmd = commands[rng() % 8];
            Command(cmd);
            Apply(ref, cmd, mode);
            const CSize total = m_view->GetTotalSize();
            m_view->ScrollToPosition(CPoint((int)(rng() % (total.cx + 1)), (int)(rng() % (total.cy + 1))));
            ASSERT_EQ(m_view->GetImage().GetWidth(), ref.GetWidth()) << step;
            ASSERT_EQ(m_view->GetImage().GetHeight(), ref.GetHeight()) << step;
            EXPECT_EQ(Differences(ref), 0) << wh[0] << "x" << wh[1] << " step " << step << " cmd " << cmd;
        }
    }
}

}  // namespace
