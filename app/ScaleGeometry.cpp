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

static const double kStepScales[] = { 0.25, 0.5, 1.0, 2.0, 4.0 };
static const int kSteps = 5;

int WheelZoomMode(ScaleMode mode, bool zoomIn, int displayW, int displayH, int fullW, int fullH)
{
    if (mode != ScaleFit) {
        const int next = (int)mode + (zoomIn ? 1 : -1);
        return next >= 0 && next < kSteps ? next : -1;
    }
    if (fullW <= 0 || fullH <= 0)
        return -1;
    const double fitted = fullW >= fullH ? (double)displayW / fullW : (double)displayH / fullH;
    if (zoomIn) {
        for (int i = 0; i < kSteps; ++i)
            if (kStepScales[i] > fitted)
                return i;
        return -1;
    }
    for (int i = kSteps - 1; i >= 0; --i)
        if (kStepScales[i] < fitted)
            return i;
    return -1;
}

int ScrollKeepingPoint(int scroll, int mouse, int oldSize, int newSize)
{
    if (oldSize <= 0)
        return 0;
    return (int)((long long)(scroll + mouse) * newSize / oldSize) - mouse;
}
