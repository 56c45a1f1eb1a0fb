#pragma once
// The arithmetic of the view's sizes, without a window: display sizes for
// the scale modes, the fit rule and the printed size.

enum ScaleMode { ScaleQuarter = 0, ScaleHalf = 1, ScaleFull = 2, ScaleDouble = 3, ScaleQuadruple = 4, ScaleFit = 5 };

struct DisplaySize {
    int width;
    int height;
};

// Display size of a w x h picture in a fixed mode (25 % ... 400 %).
// Quarter and half drop the remainder.
DisplaySize FixedScaleSize(ScaleMode mode, int w, int h);

// The fit rule: width = client width and height = client width / (w / h)
// in double precision, truncated; if that is higher than the client, height
// = client height and width = client height x (w / h), truncated. The
// division by the ratio (not a multiplication by h / w) is deliberate: the
// two can differ by one. w and h must not be 0.
DisplaySize FitScaleSize(int w, int h, int clientWidth, int clientHeight);

// Printed size in device pixels: the shorter side 4 inches, the ratio held
// in single precision, each side truncated toward zero. {0, 0} when either
// display side is 0.
DisplaySize PrintedSize(int displayWidth, int displayHeight, int dpiX, int dpiY);
