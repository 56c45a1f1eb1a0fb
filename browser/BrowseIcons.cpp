#include "browser/BrowseIcons.h"

namespace {

struct Colour {
    unsigned char r, g, b;
};

const Colour kGrey = { 192, 192, 192 };
const Colour kArrow = { 255, 64, 64 };
const Colour kBlack = { 0, 0, 0 };
const Colour kFolder = { 255, 255, 64 };
const Colour kDrive = { 0, 128, 0 };

void Fill(unsigned char* icon, const Colour& c)
{
    for (int i = 0; i < BROWSE_ICON_SIDE * BROWSE_ICON_SIDE; ++i) {
        icon[3 * i] = c.r;
        icon[3 * i + 1] = c.g;
        icon[3 * i + 2] = c.b;
    }
}

// Rows and columns inclusive.
void Box(unsigned char* icon, int top, int left, int bottom, int right, const Colour& c)
{
    for (int row = top; row <= bottom; ++row) {
        for (int col = left; col <= right; ++col) {
            unsigned char* p = icon + 3 * (row * BROWSE_ICON_SIDE + col);
            p[0] = c.r;
            p[1] = c.g;
            p[2] = c.b;
        }
    }
}

void DrawUp(unsigned char* icon)
{
    Fill(icon, kGrey);
    for (int k = 1; k <= 29; ++k)
        Box(icon, 10 + k, 50 - k, 10 + k, 49 + k, kArrow);
    Box(icon, 40, 40, 88, 59, kArrow);
}

void DrawFolder(unsigned char* icon)
{
    Fill(icon, kGrey);
    Box(icon, 20, 10, 88, 88, kBlack);
    Box(icon, 21, 11, 87, 87, kFolder);
    // The tab widens by one column on each side per row down to the body.
    for (int i = 0; i < 5; ++i)
        Box(icon, 15 + i, 15 - i, 15 + i, 34 + i, kBlack);
}

void DrawDrive(unsigned char* icon)
{
    Fill(icon, kGrey);
    Box(icon, 25, 25, 74, 74, kDrive);
}

}  // namespace

CBrowseIcons::CBrowseIcons()
{
    DrawUp(m_up);
    DrawFolder(m_folder);
    DrawDrive(m_drive);
}

const CBrowseIcons& CBrowseIcons::Shared()
{
    static const CBrowseIcons icons;
    return icons;
}
