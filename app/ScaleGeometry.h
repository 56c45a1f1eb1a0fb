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

// Ctrl + wheel: the fixed mode one step in (zoomIn) or out from `mode`
// along 25, 50, 100, 200 and 400 %, or -1 past either end. From fit the
// fitted scale counts (display over full size along the longer side): in
// goes to the smallest step above it, out to the largest step below it.
int WheelZoomMode(ScaleMode mode, bool zoomIn, int displayW, int displayH, int fullW, int fullH);

// The scroll position along one axis that keeps the picture point under
// the mouse (client coordinate `mouse`) in place when the display size goes
// from oldSize to newSize.
int ScrollKeepingPoint(int scroll, int mouse, int oldSize, int newSize);
