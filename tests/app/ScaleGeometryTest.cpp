// The view's size arithmetic, without a window.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "app/ScaleGeometry.h"
#include "app/StartupFile.h"

namespace {

struct FitCase {
    int w, h, clientW, clientH, expectW, expectH;
    const char* fault;
};

// A fit that multiplies by h / w instead of dividing by w / h, or that
// keeps the too-high first result, gets one of these wrong.
const FitCase kFitCases[] = {
    { 1000, 500, 600, 400, 600, 300, "wide picture fits the width" },
    { 500, 1000, 600, 400, 200, 400, "too high at full width: fits the height" },
    { 700, 300, 133, 57, 133, 56, "133 / (700 / 300) is just below 57" },
    { 700, 300, 133, 400, 133, 56, "same with a tall client" },
    { 100, 100, 600, 400, 400, 400, "small pictures are enlarged" },
    { 600, 400, 600, 400, 600, 400, "height equal to the client keeps the first result" },
};

TEST(ScaleGeometryTest, FitRule)
{
    for (const FitCase& c : kFitCases) {
        const DisplaySize s = FitScaleSize(c.w, c.h, c.clientW, c.clientH);
        EXPECT_EQ(s.width, c.expectW) << c.fault;
        EXPECT_EQ(s.height, c.expectH) << c.fault;
    }
}

TEST(ScaleGeometryTest, FitDividesByTheRatioNotMultipliesByItsInverse)
{
    // 133 * 300 / 700 = 57 exactly in integers; the double division gives 56.
    EXPECT_EQ(FitScaleSize(700, 300, 133, 1000).height, 56);
}

struct FixedCase {
    ScaleMode mode;
    int w, h, expectW, expectH;
};

const FixedCase kFixedCases[] = {
    { ScaleQuarter, 801, 603, 200, 150 },
    { ScaleQuarter, 3, 100, 0, 25 },  // narrower than 4 pixels: nothing to draw
    { ScaleHalf, 801, 603, 400, 301 },
    { ScaleFull, 801, 603, 801, 603 },
    { ScaleDouble, 801, 603, 1602, 1206 },
    { ScaleQuadruple, 801, 603, 3204, 2412 },
};

TEST(ScaleGeometryTest, FixedScalesDropTheRemainder)
{
    for (const FixedCase& c : kFixedCases) {
        const DisplaySize s = FixedScaleSize(c.mode, c.w, c.h);
        EXPECT_EQ(s.width, c.expectW) << "mode " << c.mode;
        EXPECT_EQ(s.height, c.expectH) << "mode " << c.mode;
    }
}

struct PrintCase {
    int w, h, dpi, expectW, expectH;
};

const PrintCase kPrintCases[] = {
    { 1600, 1200, 600, 3200, 2400 },
    { 1200, 1600, 600, 2400, 3200 },
    { 1000, 1000, 600, 2400, 2400 },
    { 1600, 1200, 300, 1600, 1200 },
};

TEST(ScaleGeometryTest, PrintedShorterSideIsFourInches)
{
    for (const PrintCase& c : kPrintCases) {
        const DisplaySize s = PrintedSize(c.w, c.h, c.dpi, c.dpi);
        EXPECT_EQ(s.width, c.expectW) << c.w << "x" << c.h;
        EXPECT_EQ(s.height, c.expectH) << c.w << "x" << c.h;
    }
    // Different horizontal and vertical resolutions are used per side.
    const DisplaySize s = PrintedSize(1000, 1000, 600, 300);
    EXPECT_EQ(s.width, 2400);
    EXPECT_EQ(s.height, 1200);
}

TEST(ScaleGeometryTest, PrintedSizeOfAnEmptyPictureIsEmpty)
{
    const DisplaySize s = PrintedSize(0, 10, 600, 600);
    EXPECT_EQ(s.width, 0);
    EXPECT_EQ(s.height, 0);
}

// A start-up name that does not fit must not be cut into another name.
TEST(StartupFileTest, NameTooLongIsRefusedNotCut)
{
    std::string longName(2000, 'a');
    EXPECT_EQ(SetStartupFile(longName.c_str()), -1);
    EXPECT_STREQ(g_szStartupFile, "");
    longName.resize(1999);
    EXPECT_EQ(SetStartupFile(longName.c_str()), 0);
    EXPECT_EQ(strlen(g_szStartupFile), 1999u);
    EXPECT_EQ(SetStartupFile(nullptr), 0);
    EXPECT_STREQ(g_szStartupFile, "");
}

}  // namespace
