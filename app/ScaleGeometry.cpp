#include "app/ScaleGeometry.h"

DisplaySize FixedScaleSize(ScaleMode mode, int w, int h)
{
    switch (mode) {
    case ScaleQuarter: return { w / 4, h / 4 };
    case ScaleHalf: return { w / 2, h / 2 };
    case ScaleDouble: return { 2 * w, 2 * h };
    case ScaleQuadruple: return { 4 * w, 4 * h };
    case ScaleFull:
    case ScaleFit:
    default: return { w, h };
    }
}

DisplaySize FitScaleSize(int w, int h, int clientWidth, int clientHeight)
{
    const double r = (double)w / (double)h;
    DisplaySize size = { clientWidth, (int)(clientWidth / r) };
    if (size.height > clientHeight) {
        size.height = clientHeight;
        size.width = (int)(clientHeight * r);
    }
    return size;
}

DisplaySize PrintedSize(int displayWidth, int displayHeight, int dpiX, int dpiY)
{
    if (displayWidth <= 0 || displayHeight <= 0)
        return { 0, 0 };
    const float ratio = (float)displayWidth / (float)displayHeight;
    float widthInches, heightInches;
    if (ratio > 1) {
        widthInches = 4 * ratio;
        heightInches = 4;
    } else {
        widthInches = 4;
        heightInches = 4 / ratio;
    }
    return { (int)(widthInches * (float)dpiX), (int)(heightInches * (float)dpiY) };
}
