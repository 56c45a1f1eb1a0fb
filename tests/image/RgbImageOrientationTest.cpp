// Mirroring and the eight Exif orientations: the image's own operations
// (Mirror, then the turns) against the direct remapping of an exchange
// buffer, and both against the tag's definition on a lettered picture.
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "image/Orientation.h"
#include "image/RgbImage.h"
#include "tests/image/RasterTestUtil.h"

namespace {

// A picture whose pixels are letters: pixel k of the row-major text gets
// the value (letter, letter, letter), so a result reads back as text.
std::vector<unsigned char> Letters(const std::string& rowMajor)
{
    std::vector<unsigned char> v;
    for (char c : rowMajor)
        v.insert(v.end(), 3, (unsigned char)c);
    return v;
}

std::string AsLetters(const unsigned char* rgb, int w, int h)
{
    std::string s;
    for (int i = 0; i < w * h; ++i)
        s += (char)rgb[i * 3];
    return s;
}

// The 3 x 2 picture (a b c) over (d e f) shown upright for each value, by
// the tag's definition of where stored row 0 and column 0 belong (row-major
// text, then width).
struct Expected {
    int orientation;
    const char* upright;
    int width;
};
const Expected kUpright[] = {
    { 1, "abcdef", 3 }, { 2, "cbafed", 3 }, { 3, "fedcba", 3 }, { 4, "defabc", 3 },
    { 5, "adbecf", 2 }, { 6, "daebfc", 2 }, { 7, "fcebda", 2 }, { 8, "cfbead", 2 },
};

TEST(Orientation, EachValueShowsTheLetteredPictureAsTheTagDefines)
{
    const std::vector<unsigned char> pic = Letters("abcdef");
    for (const Expected& e : kUpright) {
        SCOPED_TRACE(e.orientation);
        const int height = 6 / e.width;
        int w = 0, h = 0;
        unsigned char* direct = OrientRgb(pic.data(), 3, 2, e.orientation, &w, &h);
        ASSERT_TRUE(direct);
        EXPECT_EQ(w, e.width);
        EXPECT_EQ(h, height);
        EXPECT_EQ(AsLetters(direct, w, h), e.upright);
        free(direct);

        CRgbImage image;
        ASSERT_EQ(image.SetImage("p", pic.data(), 3, 2), 0);
        OrientImage(image, e.orientation);
        EXPECT_EQ(image.GetFullWidth(), e.width);
        EXPECT_EQ(image.GetWidth(), e.width);
        const std::vector<unsigned char> shown = Exported(image);
        EXPECT_EQ(AsLetters(shown.data(), image.GetWidth(), image.GetHeight()), e.upright);
    }
}

TEST(Orientation, ImageOperationsAndDirectRemapAgreeOnRandomPictures)
{
    // Widths and heights across every row fill, one past the turn's tile.
    const int sides[] = { 1, 2, 3, 4, 5, 7, 65 };
    uint32_t seed = 1;
    for (int W : sides)
        for (int H : sides)
            for (int o = 0; o <= 9; ++o) {
                SCOPED_TRACE(std::to_string(W) + "x" + std::to_string(H) + " o" + std::to_string(o));
                const std::vector<unsigned char> pic = RandomPicture(W, H, seed++);
                CRgbImage image;
                ASSERT_EQ(image.SetImage("p", pic.data(), W, H), 0);
                OrientImage(image, o);
                int w = 0, h = 0;
                unsigned char* direct = OrientRgb(pic.data(), W, H, o, &w, &h);
                ASSERT_TRUE(direct);
                ASSERT_EQ(image.GetWidth(), w);
                ASSERT_EQ(image.GetHeight(), h);
                const std::vector<unsigned char> expected(direct, direct + (size_t)w * h * 3);
                EXPECT_EQ(Exported(image), expected);
                free(direct);
            }
}

TEST(Mirror, BothRastersReverseTheirColumnsAndTwiceRestoresThem)
{
    const std::vector<unsigned char> pic = Letters("abcdef");
    CRgbImage image;
    ASSERT_EQ(image.SetImage("p", pic.data(), 3, 2), 0);
    // A display raster of its own (not the full-size buffer): 6 x 4.
    ASSERT_EQ(image.Rescale(6, 4), 0);
    const std::vector<unsigned char> before = Exported(image);
    image.Mirror();
    const std::vector<unsigned char> mirrored = Exported(image);
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(mirrored[(y * 6 + x) * 3], before[(y * 6 + 5 - x) * 3]);
    // The full-size raster too: (c b a) over (f e d), stored bottom-up.
    EXPECT_EQ(StoredPixel(image.GetFullBits(), 3, 2, 0, 0) & 0xFF, (uint32_t)'c');
    EXPECT_EQ(StoredPixel(image.GetFullBits(), 3, 2, 2, 1) & 0xFF, (uint32_t)'d');
    image.Mirror();
    EXPECT_EQ(Exported(image), before);

    // A display raster that shares the full-size buffer is mirrored once.
    CRgbImage shared;
    ASSERT_EQ(shared.SetImage("p", pic.data(), 3, 2), 0);
    ASSERT_TRUE(shared.SharesRasters());
    shared.Mirror();
    const std::vector<unsigned char> once = Exported(shared);
    EXPECT_EQ(AsLetters(once.data(), 3, 2), "cbafed");

    // Nothing to mirror: a named image and a one-pixel-wide picture.
    CRgbImage named;
    named.SetImage("only a name", nullptr, 0, 0);
    named.Mirror();
    EXPECT_EQ(named.GetFullBits(), nullptr);
    CRgbImage column;
    ASSERT_EQ(column.SetImage("c", Letters("xyz").data(), 1, 3), 0);
    column.Mirror();
    EXPECT_EQ(AsLetters(Exported(column).data(), 1, 3), "xyz");
}

}  // namespace
