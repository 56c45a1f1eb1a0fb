#include "fuzz/DisplayFuzzOps.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <utility>
#include <vector>

#include "image/DisplayTiles.h"

namespace {

// Pixels of a lazy display's region against the lazy model: the corners,
// the middle, and a few the input picks.
void CheckSampled(ImageFuzzState& s, FuzzInput* in, const unsigned char* region, size_t stride,
                  int x, int y, int w, int h)
{
    const int W = s.image.GetWidth(), H = s.image.GetHeight();
    const int xs[] = {0, w - 1, 0, w - 1, w / 2}, ys[] = {0, 0, h - 1, h - 1, h / 2};
    for (int k = 0; k < 8; ++k) {
        const int i = k < 5 ? xs[k] : in ? (int)(in->Word() % (unsigned)w) : -1;
        const int j = k < 5 ? ys[k] : in ? (int)(in->Word() % (unsigned)h) : -1;
        if (i >= 0)
            Check(RegionPixel(region, stride, h, i, j) == s.lazy.Pixel(x + i, y + j, W, H));
    }
}

// A region of the display, bottom-up with rows `stride` apart, against
// everything known of it.
void CheckRegion(ImageFuzzState& s, FuzzInput* in, const unsigned char* region, size_t stride,
                 int x, int y, int w, int h)
{
    const int W = s.image.GetWidth(), H = s.image.GetHeight();
    if (s.refValid)
        Check(RegionMatchesRaster(region, stride, x, y, w, h, s.ref.GetBits(), W, H));
    if (!s.image.IsDisplayLazy() && s.display.known)
        for (int j = 0; j < h; ++j)
            for (int i = 0; i < w; ++i)
                Check(RegionPixel(region, stride, h, i, j) == ModelPixel(s.display, x + i, y + j));
    if (s.lazy.Active())
        CheckSampled(s, in, region, stride, x, y, w, h);
}

}  // namespace

void DoExport(ImageFuzzState& s, FuzzInput& in)
{
    const int W = s.image.GetWidth(), H = s.image.GetHeight();
    const bool lazy = s.image.IsDisplayLazy();
    const uint64_t exportBytes = 3 * (uint64_t)W * (uint64_t)H;
    // An export over the budget is refused before any work; one within it
    // is made only while the input can afford it.
    if (lazy && exportBytes <= s.limit && !Affords(s, (uint64_t)W * (uint64_t)H))
        return;
    unsigned char* out = s.image.ExportRgb();
    if (!lazy) {
        Check((out != nullptr) == (s.image.GetBits() != nullptr));
    } else if (exportBytes > s.limit) {
        Check(out == nullptr);
    } else {
        // Made a band of rows at a time: the export and one band beside the
        // full raster and the tiles.
        const uint64_t needed = FullBytes(s.image) + s.image.GetDisplayTileBytes() + exportBytes +
                                StoredRasterBytes(W, std::min(H, 64));
        if (needed <= s.limit)
            Check(out != nullptr);
    }
    if (out && s.display.known && !lazy) {
        Check(s.display.width == W && s.display.height == H);
        Check(memcmp(out, s.display.rgb.data(), s.display.rgb.size()) == 0);
    }
    if (out && s.refValid)
        Check(RasterMatches(s.ref.GetBits(), W, H, s.ref.GetPad(),
                            Model{true, W, H, std::vector<unsigned char>(out, out + (size_t)W * H * 3)}));
    if (out && s.lazy.Active())
        for (int k = 0; k < 6; ++k) {
            const int x = k < 2 ? k * (W - 1) : (int)(in.Word() % (unsigned)W);
            const int y = k < 2 ? k * (H - 1) : (int)(in.Word() % (unsigned)H);
            Check(ExchangePixel(out, W, x, y) == s.lazy.Pixel(x, y, W, H));
        }
    free(out);
}

namespace {

// Sizes for SetDisplaySize: bad ones, the full size, the view's steps, free
// zooms over a few tiles, large ones around the raster budget (the
// reference's whole raster just fits or just fails to), and sides no raster
// could hold.
void PickDisplaySize(FuzzInput& in, const ImageFuzzState& s, int* w, int* h)
{
    const int fw = s.image.GetFullWidth(), fh = s.image.GetFullHeight();
    switch (in.Byte() % 8) {
    case 0:
        *w = in.Side();
        *h = (int)(in.Byte() % 4) - 2;
        break;
    case 1:
        *w = fw;
        *h = fh;
        break;
    case 2: {  // 25 % .. 400 %
        const int quarters = 1 << (in.Byte() % 5);
        *w = fw * quarters / 4;
        *h = fh * quarters / 4;
        break;
    }
    case 3:
    case 4:
        *w = 1 + (int)(in.Word() % 1200);
        *h = 1 + (int)(in.Word() % 1200);
        break;
    case 5: {  // a raster of 3 h (w + 3) bytes from 3/4 of the budget to 1/16 over it
        const uint64_t bytes = s.limit / 256 * (192 + in.Byte() % 81);
        *w = 1 + (int)(in.Word() % 6000);
        *h = (int)std::max<uint64_t>(1, bytes / 3 / ((uint64_t)*w + 3));
        break;
    }
    case 6:  // up to INT_MAX, whose last tile ends at the last int
        *w = INT_MAX - (int)(in.Word() % 1024);
        *h = (in.Byte() & 1) ? INT_MAX - (int)in.Byte() : 1 + (int)(in.Word() % 3000);
        break;
    default:
        *w = in.Side();
        *h = in.Side();
        break;
    }
    if (in.Byte() & 1)
        std::swap(*w, *h);
}

}  // namespace

void DoSetDisplaySize(ImageFuzzState& s, FuzzInput& in)
{
    int w, h;
    PickDisplaySize(in, s, &w, &h);
    const bool hadFull = s.image.GetFullBits() != nullptr;
    const bool isFull = w == s.image.GetFullWidth() && h == s.image.GetFullHeight();
    const int r = s.image.SetDisplaySize(w, h);
    const uint64_t pixels = w > 0 && h > 0 ? (uint64_t)w * (uint64_t)h : 0;
    s.ref.Rescale(Affords(s, pixels) ? w : 0, h);
    s.refValid = true;
    if (w < 0 || h < 0 || (w > 0 && h > 0 && !hadFull)) {
        Check(r == -1 && s.image.GetWidth() == 0 && !s.image.IsDisplayLazy());
        s.display = EmptyModel();
    } else if (w == 0 || h == 0) {
        Check(r == 0 && s.image.GetWidth() == 0 && !s.image.IsDisplayLazy());
        s.display = EmptyModel();
    } else if (isFull) {
        Check(r == 0 && !s.image.IsDisplayLazy() && s.image.SharesRasters());
        s.display = s.full;
    } else {
        Check(r == 0 && s.image.IsDisplayLazy() && s.image.GetWidth() == w &&
              s.image.GetHeight() == h);
        s.display = Model{};
        s.lazy.Sized(s.image);
    }
}

void DoCopyRegion(ImageFuzzState& s, FuzzInput& in)
{
    const int W = s.image.GetWidth(), H = s.image.GetHeight();
    const int x = in.Along(W), y = in.Along(H);
    const int w = in.Length((int64_t)W - x, kMaxRegionSide);
    const int h = in.Length((int64_t)H - y, kMaxRegionSide);
    const int64_t rowBytes = 3 * (int64_t)w;
    int64_t stride = rowBytes;
    switch (in.Byte() % 4) {
    case 1: stride += w > 0 ? w % 4 : 0; break;
    case 2: stride += 1 + in.Byte() % 7; break;
    case 3: stride -= 1 + in.Byte() % 2; break;
    }
    stride = std::max<int64_t>(stride, 0);
    const bool nullOut = in.Byte() % 16 == 0;
    const bool ok = !nullOut && W > 0 && H > 0 && x >= 0 && y >= 0 && w >= 0 && h >= 0 &&
                    x + (int64_t)w <= W && y + (int64_t)h <= H && stride >= rowBytes;
    // Exactly the bytes the region needs, so ASan sees a write past it; a
    // call that must fail gets one byte it must not touch.
    const size_t bytes = ok && w > 0 && h > 0 ? (size_t)stride * (h - 1) + (size_t)rowBytes : 1;
    unsigned char* out = nullOut ? nullptr : (unsigned char*)malloc(bytes);
    const int r = s.image.CopyDisplayRegion(x, y, w, h, out, (size_t)stride);
    Check(r == (ok ? 0 : -1));
    if (ok && w > 0 && h > 0)
        CheckRegion(s, &in, out, (size_t)stride, x, y, w, h);
    free(out);
}

namespace {

struct TileVisit {
    ImageFuzzState* s = nullptr;
    int64_t left = 0, top = 0, right = 0, bottom = 0;  // the clip inside the display
    int visits = 0;
    uint64_t covered = 0;
    std::vector<std::pair<int, int>> seen;
};

void CheckTile(void* context, const CRgbImage::DisplayTileView& t)
{
    TileVisit& v = *(TileVisit*)context;
    const int W = v.s->image.GetWidth(), H = v.s->image.GetHeight();
    const int side = CDisplayTiles::kSide;
    ++v.visits;
    Check(t.x >= 0 && t.y >= 0 && t.x < W && t.y < H && t.x % side == 0 && t.y % side == 0);
    Check(t.width == std::min(side, W - t.x) && t.height == std::min(side, H - t.y));
    // The image's own header rule: 3 h (w + fill) bytes, more than the rows
    // take when there is fill.
    const BITMAPINFOHEADER& b = t.bmi.bmiHeader;
    Check(b.biSize == sizeof(BITMAPINFOHEADER) && b.biWidth == t.width && b.biHeight == t.height &&
          b.biPlanes == 1 && b.biBitCount == 24 && b.biCompression == BI_RGB &&
          b.biSizeImage == (DWORD)(3 * t.height * (t.width + t.width % 4)));
    // Each tile once, and only tiles that meet the clip.
    const int64_t l = std::max<int64_t>(t.x, v.left);
    const int64_t r = std::min<int64_t>((int64_t)t.x + t.width, v.right);
    const int64_t top = std::max<int64_t>(t.y, v.top);
    const int64_t bottom = std::min<int64_t>((int64_t)t.y + t.height, v.bottom);
    Check(r > l && bottom > top);
    v.covered += (uint64_t)((r - l) * (bottom - top));
    Check(std::find(v.seen.begin(), v.seen.end(), std::make_pair(t.x, t.y)) == v.seen.end());
    v.seen.emplace_back(t.x, t.y);
    CheckRegion(*v.s, nullptr, t.bits, StoredStride(t.width), t.x, t.y, t.width, t.height);
}

}  // namespace

void DoVisitTiles(ImageFuzzState& s, FuzzInput& in)
{
    const int W = s.image.GetWidth(), H = s.image.GetHeight();
    const int left = in.Along(W), top = in.Along(H);
    // A clip is a window's worth: one that runs past the end of a large
    // display is cut to kMaxClipSide (it would ask for every tile there is).
    const int right = ClampToInt(
        (int64_t)left + std::min(in.Length((int64_t)W - left, kMaxClipSide), kMaxClipSide));
    const int bottom = ClampToInt(
        (int64_t)top + std::min(in.Length((int64_t)H - top, kMaxClipSide), kMaxClipSide));
    TileVisit v;
    v.s = &s;
    v.left = std::max(left, 0);
    v.top = std::max(top, 0);
    v.right = std::min(right, W);
    v.bottom = std::min(bottom, H);
    const bool empty = v.right <= v.left || v.bottom <= v.top;
    const bool noVisitor = in.Byte() % 32 == 0;
    const int r =
        s.image.VisitDisplayTiles(left, top, right, bottom, noVisitor ? nullptr : CheckTile, &v);
    if (!s.image.IsDisplayLazy() || noVisitor) {
        Check(r == -1 && v.visits == 0);
    } else if (empty) {
        Check(r == 0 && v.visits == 0);
    } else if (FullBytes(s.image) + CDisplayTiles::kBufferBytes > s.limit) {
        // No tile can be had beside the picture.
        Check(r == -1 && v.visits == 0);
    } else {
        Check(r == 0 && v.covered == (uint64_t)((v.right - v.left) * (v.bottom - v.top)));
    }
}
