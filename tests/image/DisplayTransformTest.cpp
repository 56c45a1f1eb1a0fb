// The map a lazy display keeps from its positions back to the picture as it
// was sized, checked against pictures turned and mirrored for real.
#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

#include "image/DisplayTransform.h"

namespace {

// A picture of position numbers, turned and mirrored by the rules of the
// rotations: clockwise (x, y) -> (H - 1 - y, x), counter-clockwise
// (x, y) -> (y, W - 1 - x), mirror (x, y) -> (W - 1 - x, y).
struct Ids {
    int w, h;
    std::vector<int> id;
    int At(int x, int y) const { return id[(size_t)y * w + x]; }
};

Ids Turn(const Ids& p, int op)
{
    Ids q{op == 2 ? p.w : p.h, op == 2 ? p.h : p.w, std::vector<int>(p.id.size())};
    for (int y = 0; y < p.h; ++y)
        for (int x = 0; x < p.w; ++x) {
            int nx = op == 0 ? p.h - 1 - y : op == 1 ? y : p.w - 1 - x;
            int ny = op == 0 ? x : op == 1 ? p.w - 1 - x : y;
            q.id[(size_t)ny * q.w + nx] = p.At(x, y);
        }
    return q;
}

}  // namespace

TEST(DisplayTransform, ComposedTurnsMapBackToTheOriginal)
{
    std::mt19937 rng(5);
    for (int trial = 0; trial < 200; ++trial) {
        const int W = 1 + (int)(rng() % 7), H = 1 + (int)(rng() % 7);
        Ids original{W, H, std::vector<int>((size_t)W * H)};
        for (int i = 0; i < W * H; ++i)
            original.id[(size_t)i] = i;
        Ids turned = original;
        DisplayTransform t = IdentityTransform();
        std::string ops;
        int quarterTurns = 0;
        for (int n = (int)(rng() % 7); n > 0; --n) {
            const int op = (int)(rng() % 3);
            ops += "CWM"[op];
            quarterTurns += op < 2;
            turned = Turn(turned, op);
            t = op == 0 ? AfterClockwise(t) : op == 1 ? AfterCounterClockwise(t) : AfterMirror(t);
        }
        SCOPED_TRACE(std::to_string(W) + "x" + std::to_string(H) + " " + ops);
        EXPECT_EQ(SwapsSides(t), quarterTurns % 2 == 1);
        // Only the identity leaves a picture of distinct pixels in place
        // (a 1-pixel side cannot tell a mirror).
        if (W > 1 && H > 1) {
            EXPECT_EQ(IsIdentity(t), turned.w == W && turned.id == original.id);
        }
        for (int y = 0; y < turned.h; ++y)
            for (int x = 0; x < turned.w; ++x) {
                int u, v, bx, by;
                MapToOriginal(t, x, y, W, H, &u, &v);
                ASSERT_EQ(original.At(u, v), turned.At(x, y)) << x << "," << y;
                MapFromOriginal(t, u, v, W, H, &bx, &by);
                ASSERT_EQ(bx, x);
                ASSERT_EQ(by, y);
            }
        // A rectangle maps onto the bounding box of its pixels' originals.
        const int x0 = (int)(rng() % turned.w), y0 = (int)(rng() % turned.h);
        const int x1 = x0 + 1 + (int)(rng() % (turned.w - x0)), y1 = y0 + 1 + (int)(rng() % (turned.h - y0));
        int ul, vt, ur, vb;
        MapRectToOriginal(t, x0, y0, x1, y1, W, H, &ul, &vt, &ur, &vb);
        EXPECT_EQ((ur - ul) * (vb - vt), (x1 - x0) * (y1 - y0));
        for (int y = y0; y < y1; ++y)
            for (int x = x0; x < x1; ++x) {
                int u, v;
                MapToOriginal(t, x, y, W, H, &u, &v);
                EXPECT_TRUE(u >= ul && u < ur && v >= vt && v < vb);
            }
    }
}
