// The three drawn icons, every pixel against the shapes as described:
// rows and columns inclusive, on a grey (192,192,192) ground.
#include <gtest/gtest.h>

#include <array>
#include <functional>

#include "browser/BrowseIcons.h"

namespace {

typedef std::array<int, 3> Rgb3;
const Rgb3 kGrey = { 192, 192, 192 };

Rgb3 PixelAt(const unsigned char* icon, int row, int col)
{
    const unsigned char* p = icon + 3 * (row * 100 + col);
    return { p[0], p[1], p[2] };
}

Rgb3 ExpectedUp(int row, int col)
{
    const Rgb3 red = { 255, 64, 64 };
    const int k = row - 10;
    if (k >= 1 && k <= 29 && col >= 50 - k && col <= 49 + k)
        return red;
    if (row >= 40 && row <= 88 && col >= 40 && col <= 59)
        return red;
    return kGrey;
}

Rgb3 ExpectedFolder(int row, int col)
{
    const Rgb3 black = { 0, 0, 0 };
    if (row >= 20 && row <= 88 && col >= 10 && col <= 88) {
        if (row == 20 || row == 88 || col == 10 || col == 88)
            return black;
        return { 255, 255, 64 };
    }
    const int tab[5][2] = { { 15, 34 }, { 14, 35 }, { 13, 36 }, { 12, 37 }, { 11, 38 } };
    if (row >= 15 && row <= 19 && col >= tab[row - 15][0] && col <= tab[row - 15][1])
        return black;
    return kGrey;
}

Rgb3 ExpectedDrive(int row, int col)
{
    if (row >= 25 && row <= 74 && col >= 25 && col <= 74)
        return { 0, 128, 0 };
    return kGrey;
}

void ExpectIcon(const unsigned char* icon, const std::function<Rgb3(int, int)>& expected, const char* name)
{
    int wrong = 0;
    for (int row = 0; row < 100; ++row) {
        for (int col = 0; col < 100; ++col) {
            if (PixelAt(icon, row, col) != expected(row, col) && ++wrong <= 5)
                ADD_FAILURE() << name << " pixel (" << row << ", " << col << ")";
        }
    }
    EXPECT_EQ(wrong, 0) << name;
}

TEST(BrowseIconsTest, EveryPixelOfTheThreeIcons)
{
    const CBrowseIcons& icons = CBrowseIcons::Shared();
    ExpectIcon(icons.Up(), ExpectedUp, "up");
    ExpectIcon(icons.Folder(), ExpectedFolder, "folder");
    ExpectIcon(icons.Drive(), ExpectedDrive, "drive");
}

// The arrow's head: row 11 has columns 49 and 50, row 39 columns 21 to 78.
TEST(BrowseIconsTest, ArrowHeadEnds)
{
    const unsigned char* up = CBrowseIcons::Shared().Up();
    const Rgb3 red = { 255, 64, 64 };
    EXPECT_EQ(PixelAt(up, 11, 48), kGrey);
    EXPECT_EQ(PixelAt(up, 11, 49), red);
    EXPECT_EQ(PixelAt(up, 11, 50), red);
    EXPECT_EQ(PixelAt(up, 11, 51), kGrey);
    EXPECT_EQ(PixelAt(up, 10, 50), kGrey);
    EXPECT_EQ(PixelAt(up, 39, 20), kGrey);
    EXPECT_EQ(PixelAt(up, 39, 21), red);
    EXPECT_EQ(PixelAt(up, 39, 78), red);
    EXPECT_EQ(PixelAt(up, 39, 79), kGrey);
    EXPECT_EQ(PixelAt(up, 88, 40), red);
    EXPECT_EQ(PixelAt(up, 89, 40), kGrey);
}

}  // namespace
