// A region of the resampled picture equals the same region of the whole:
// ResampleRegion and ResampleRegionGathered against ResampleRaster, for the
// 2 x 2 mean and the bilinear filter, 1-pixel sides and odd widths.
#include <gtest/gtest.h>

#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "image/Resample.h"
#include "tests/image/RasterTestUtil.h"

namespace {

struct Case {
    int W, H, w, h;
};

std::string Name(const Case& c)
{
    return std::to_string(c.W) + "x" + std::to_string(c.H) + " -> " + std::to_string(c.w) + "x" +
           std::to_string(c.h);
}

// Fixed shapes (both methods, w = 1 and h = 1 steps, mixed directions), then
// seeded random ones.
std::vector<Case> Cases()
{
    std::vector<Case> all = {{2, 2, 4, 4},     {1, 1, 7, 5},   {5, 1, 13, 1},  {1, 7, 1, 19},
                             {3, 3, 1, 1},     {9, 4, 1, 9},   {9, 4, 17, 1},  {100, 100, 80, 80},
                             {37, 23, 148, 92}, {10, 100, 20, 50}, {64, 48, 2, 1}, {300, 7, 75, 28}};
    std::mt19937 rng(19);
    std::uniform_int_distribution<int> side(1, 120);
    while (all.size() < 60)
        all.push_back(Case{side(rng), side(rng), side(rng) * 2, side(rng) * 2});
    return all;
}

// A plain raster read through the gather interface, recording what it is
// asked for.
struct PlainSource {
    const unsigned char* bits;
    size_t stride;
    int width, height;
    bool listsInOrder = true;
    bool insideSource = true;
    int columnsAsked = 0, rowsAsked = 0;
};

void GatherPlain(void* context, const int* columns, int columnCount, const int* rows, int rowCount,
                 unsigned char* block, size_t blockStride)
{
    PlainSource& s = *(PlainSource*)context;
    s.columnsAsked = columnCount;
    s.rowsAsked = rowCount;
    for (int c = 0; c < columnCount; ++c) {
        s.listsInOrder &= c == 0 || columns[c] > columns[c - 1];
        s.insideSource &= columns[c] >= 0 && columns[c] < s.width;
    }
    for (int r = 0; r < rowCount; ++r) {
        s.listsInOrder &= r == 0 || rows[r] > rows[r - 1];
        s.insideSource &= rows[r] >= 0 && rows[r] < s.height;
    }
    if (!s.insideSource)
        return;
    for (int r = 0; r < rowCount; ++r)
        for (int c = 0; c < columnCount; ++c)
            std::memcpy(block + (size_t)r * blockStride + (size_t)c * 3,
                        s.bits + (size_t)rows[r] * s.stride + (size_t)columns[c] * 3, 3);
}

}  // namespace

TEST(ResampleRegion, EveryRegionEqualsThatPartOfTheWhole)
{
    std::mt19937 rng(7);
    uint32_t seed = 1;
    for (const Case& k : Cases()) {
        SCOPED_TRACE(Name(k));
        auto src = RandomPicture(k.W, k.H, seed++);
        const size_t srcStride = (size_t)k.W * 3;
        const size_t stride = StoredStride(k.w);
        std::vector<unsigned char> whole(stride * k.h);
        ASSERT_EQ(ResampleRaster(src.data(), k.W, k.H, srcStride, whole.data(), k.w, k.h, stride), 0);
        PlainSource plain{src.data(), srcStride, k.W, k.H};
        for (int n = 0; n < 8; ++n) {
            std::uniform_int_distribution<int> xs(0, k.w), ys(0, k.h);
            int x0 = xs(rng), x1 = xs(rng), y0 = ys(rng), y1 = ys(rng);
            if (x0 > x1)
                std::swap(x0, x1);
            if (y0 > y1)
                std::swap(y0, y1);
            if (x0 == x1 || y0 == y1)
                continue;
            SCOPED_TRACE("region " + std::to_string(x0) + "," + std::to_string(y0) + " - " +
                         std::to_string(x1) + "," + std::to_string(y1));
            const int rw = x1 - x0, rh = y1 - y0;
            // A stride wider than the region: bytes past each row stay as they were.
            const size_t outStride = (size_t)rw * 3 + 5;
            std::vector<unsigned char> direct(outStride * rh, 0xA5), gathered(outStride * rh, 0xA5);
            ASSERT_EQ(ResampleRegion(src.data(), k.W, k.H, srcStride, k.w, k.h, x0, y0, x1, y1,
                                     direct.data(), outStride), 0);
            ASSERT_EQ(ResampleRegionGathered(k.W, k.H, k.w, k.h, x0, y0, x1, y1, GatherPlain,
                                             &plain, gathered.data(), outStride), 0);
            EXPECT_TRUE(plain.listsInOrder);
            EXPECT_TRUE(plain.insideSource);
            // Each destination index reads at most two source indices.
            EXPECT_LE(plain.columnsAsked, 2 * rw);
            EXPECT_LE(plain.rowsAsked, 2 * rh);
            for (int r = 0; r < rh; ++r) {
                const unsigned char* expected = &whole[(size_t)(y0 + r) * stride + (size_t)x0 * 3];
                ASSERT_EQ(0, std::memcmp(&direct[(size_t)r * outStride], expected, (size_t)rw * 3)) << r;
                ASSERT_EQ(0, std::memcmp(&gathered[(size_t)r * outStride], expected, (size_t)rw * 3)) << r;
                for (size_t b = (size_t)rw * 3; b < outStride; ++b)
                    ASSERT_EQ(direct[(size_t)r * outStride + b], 0xA5);
            }
        }
    }
}

TEST(ResampleRegion, RegionsOutsideTheDestinationAreRefused)
{
    auto src = RandomPicture(4, 4, 3);
    unsigned char out[64 * 3];
    PlainSource plain{src.data(), 12, 4, 4};
    const int bad[][4] = {{-1, 0, 2, 2}, {0, -1, 2, 2}, {0, 0, 9, 2}, {0, 0, 2, 9}, {3, 0, 2, 2}};
    for (auto& b : bad) {
        EXPECT_EQ(ResampleRegion(src.data(), 4, 4, 12, 8, 8, b[0], b[1], b[2], b[3], out, 24), -1);
        EXPECT_EQ(ResampleRegionGathered(4, 4, 8, 8, b[0], b[1], b[2], b[3], GatherPlain, &plain,
                                         out, 24), -1);
    }
    // An empty region writes nothing and succeeds.
    EXPECT_EQ(ResampleRegion(src.data(), 4, 4, 12, 8, 8, 3, 3, 3, 5, out, 24), 0);
}
