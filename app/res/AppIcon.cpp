#include "app/res/AppIcon.h"

#include <cmath>

namespace {

uint32_t Argb(int a, int r, int g, int b)
{
    return ((uint32_t)a << 24) | ((uint32_t)r << 16) | ((uint32_t)g << 8) | (uint32_t)b;
}

// The picture in unit coordinates (0..1, y down): sky, sun, two hills.
uint32_t Scene(double x, double y)
{
    const double sunDx = x - 0.70, sunDy = y - 0.32;
    const double back = 0.62 - 0.10 * std::sin(x * 5.0 + 0.6);
    const double front = 0.76 - 0.08 * std::sin(x * 3.2 + 2.2);
    if (y > front)
        return Argb(255, 74, 104, 52);   // near hill, heather green
    if (y > back)
        return Argb(255, 128, 92, 140);  // far hill, heather purple
    if (sunDx * sunDx + sunDy * sunDy < 0.012)
        return Argb(255, 250, 210, 80);  // sun
    const int t = (int)(y * 90);
    return Argb(255, 120 + t / 2, 170 + t / 3, 225);  // sky, lighter towards the hills
}

void Draw(int size, uint32_t* argb, bool page)
{
    const double border = page ? 0.22 : 0.08;
    for (int j = 0; j < size; ++j) {
        for (int i = 0; i < size; ++i) {
            const double x = (i + 0.5) / size;
            const double y = (j + 0.5) / size;
            uint32_t c = 0;  // transparent outside
            const double frame = 1.0 / size + 0.02;
            if (page && x > 0.12 && x < 0.88 && y > 0.04 && y < 0.96)
                c = Argb(255, 248, 248, 248);
            if (x > border - frame && x < 1 - border + frame && y > border - frame && y < 1 - border + frame)
                c = Argb(255, 40, 40, 48);  // dark photo frame
            if (x > border && x < 1 - border && y > border && y < 1 - border) {
                const double u = (x - border) / (1 - 2 * border);
                const double v = (y - border) / (1 - 2 * border);
                c = Scene(u, v);
            }
            argb[(size_t)j * size + i] = c;
        }
    }
}

}  // namespace

void DrawAppIcon(int size, uint32_t* argb)
{
    Draw(size, argb, false);
}

void DrawDocumentIcon(int size, uint32_t* argb)
{
    Draw(size, argb, true);
}
