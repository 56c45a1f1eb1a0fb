// CRgbImage driven by a fuzzed sequence of operations. Beside ASan's and
// UBSan's checks, three things the fuzzer knows are compared with what the
// image shows:
//  - a model of the picture wherever the result is exact (SetImage,
//    TakeImage, same-size copies, rotations, mirroring);
//  - a reference image driven in lock step, Rescale where the image gets
//    SetDisplaySize, whose whole display raster every region, tile and export
//    of a display made part by part must equal while the reference can hold
//    it within the raster budget;
//  - CLazyDisplayModel, which gives any single pixel of such a display at any
//    size, up to sides of INT_MAX.
// The raster budget itself is fuzzed, from below one display tile to 64 MB.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "fuzz/DisplayFuzzOps.h"
#include "fuzz/ImageFuzzState.h"
#include "platform/MemoryLimit.h"

namespace {

constexpr int kMaxSteps = 48;

uint64_t PickLimit(uint8_t b)
{
    switch (b % 8) {
    case 0: return 128u << 10;  // not even one tile fits beside the picture
    case 1: return 256u << 10;  // one tile
    case 2: return 1u << 20;
    default: return 64u << 20;
    }
}

// Same size and pixels (fill bytes aside), or both without a full raster.
bool SameFullRaster(const CRgbImage& a, const CRgbImage& b)
{
    if (!a.GetFullBits() || !b.GetFullBits())
        return !a.GetFullBits() && !b.GetFullBits();
    const int w = a.GetFullWidth(), h = a.GetFullHeight();
    if (w != b.GetFullWidth() || h != b.GetFullHeight())
        return false;
    return RegionMatchesRaster(a.GetFullBits(), StoredStride(w), 0, 0, w, h, b.GetFullBits(), w, h);
}

// After every step: a reference whose own budget kept it from following
// (a turn it had no room for) takes the image's full raster again, without
// a display; and it counts as the image's display only while the sizes agree.
void FollowImage(ImageFuzzState& s)
{
    if (!SameFullRaster(s.image, s.ref)) {
        const int w = s.image.GetFullWidth(), h = s.image.GetFullHeight();
        if (s.image.GetFullBits()) {
            const size_t bytes = (size_t)StoredRasterBytes(w, h);
            unsigned char* copy = (unsigned char*)malloc(bytes);
            memcpy(copy, s.image.GetFullBits(), bytes);
            Check(s.ref.TakeImage(nullptr, copy, w, h) == 0);
        } else {
            s.ref.Clear();
        }
        s.refValid = false;
    }
    s.refValid = s.refValid && s.ref.GetWidth() == s.image.GetWidth() &&
                 s.ref.GetHeight() == s.image.GetHeight() &&
                 (s.image.GetWidth() == 0 || s.ref.GetBits() != nullptr);
    if (!s.image.IsDisplayLazy())
        s.lazy.Forget();
}

void CheckHeader(const CRgbImage& image)
{
    const BITMAPINFOHEADER& h = image.GetBitmapInfo()->bmiHeader;
    Check(h.biWidth == image.GetWidth() && h.biHeight == image.GetHeight());
    Check(h.biBitCount == 24 && h.biPlanes == 1);
    const bool hasDisplay = image.GetWidth() > 0 && image.GetHeight() > 0;
    Check((image.GetBits() != nullptr || image.IsDisplayLazy()) == hasDisplay);
    Check((image.GetFullBits() != nullptr) == (image.GetFullWidth() > 0 && image.GetFullHeight() > 0));
}

void CheckInvariants(ImageFuzzState& s)
{
    const CRgbImage& image = s.image;
    CheckHeader(image);
    if (image.GetFullBits())
        Check(RasterMatches(image.GetFullBits(), image.GetFullWidth(), image.GetFullHeight(),
                            image.GetFullPad(), s.full));
    if (image.GetBits())
        Check(RasterMatches(image.GetBits(), image.GetWidth(), image.GetHeight(), image.GetPad(),
                            s.display));
    if (image.IsDisplayLazy()) {
        Check(!image.GetBits() && image.GetPad() == image.GetWidth() % 4);
        // The tiles stay within their own limit and, beside the full raster,
        // within the picture's budget.
        Check(image.GetDisplayTileBytes() <= image.GetDisplayTileLimit());
        Check(FullBytes(image) + image.GetDisplayTileBytes() <= s.limit);
    } else {
        Check(image.GetDisplayTileBytes() == 0);
    }
    if (s.refValid) {
        Check(memcmp(image.GetBitmapInfo(), s.ref.GetBitmapInfo(), sizeof(BITMAPINFO)) == 0);
        if (image.GetBits())
            Check(RegionMatchesRaster(image.GetBits(), StoredStride(image.GetWidth()), 0, 0,
                                      image.GetWidth(), image.GetHeight(), s.ref.GetBits(),
                                      image.GetWidth(), image.GetHeight()));
    }
}

const char* PickName(FuzzInput& in)
{
    return (in.Byte() & 1) ? "C:/x/a.jpg" : nullptr;
}

void DoSetImage(ImageFuzzState& s, FuzzInput& in)
{
    int w = in.Side(), h = in.Side();
    bool usable = w > 0 && h > 0;
    unsigned char* pixels = usable ? MakePixels(in, w, h) : nullptr;
    const char* name = PickName(in);
    int r = s.image.SetImage(name, pixels, w, h);
    s.ref.SetImage(name, pixels, w, h);
    if (usable) {
        Check(r == 0);
        s.full = Model{true, w, h, std::vector<unsigned char>(pixels, pixels + (size_t)w * h * 3)};
        s.display = s.full;
    } else {
        Check(s.image.GetFullBits() == nullptr && s.image.GetBits() == nullptr);
        s.full = s.display = EmptyModel();
    }
    free(pixels);
    s.refValid = true;
}

void DoSetScaledImage(ImageFuzzState& s, FuzzInput& in)
{
    int w = in.Side(), h = in.Side(), nw = in.Side(), nh = in.Side();
    bool usable = w > 0 && h > 0;
    unsigned char* pixels = usable ? MakePixels(in, w, h) : nullptr;
    const char* name = (in.Byte() & 1) ? "tmp" : nullptr;
    int r = s.image.SetScaledImage(name, pixels, w, h, nw, nh);
    s.ref.SetScaledImage(name, pixels, w, h, nw, nh);
    s.refValid = true;
    if (usable && nw > 0 && nh > 0) {
        Check(r == 0);
        Check(s.image.GetFullWidth() == nw && s.image.GetFullHeight() == nh);
        Check(s.image.GetWidth() == nw && s.image.GetHeight() == nh);
        if (nw == w && nh == h)
            s.full = Model{true, w, h, std::vector<unsigned char>(pixels, pixels + (size_t)w * h * 3)};
        else
            s.full = Model{};
        s.display = s.full;
        // Both rasters hold the same resampled picture.
        unsigned char* out = s.image.ExportRgb();
        Check(out != nullptr);
        Model exported{true, nw, nh, std::vector<unsigned char>(out, out + (size_t)nw * nh * 3)};
        free(out);
        Check(RasterMatches(s.image.GetFullBits(), nw, nh, s.image.GetFullPad(), exported));
    } else {
        if (!usable)
            Check(r == 0 && s.image.GetFullBits() == nullptr);
        s.full = s.display = Model{};
        // Whatever the outcome, no pointer into the caller's buffer.
        if (pixels)
            Check(s.image.GetFullBits() != pixels && s.image.GetBits() != pixels);
    }
    free(pixels);
}

// Stored-layout pixels handed over, or a bad size (with or without a block,
// which the image must release all the same).
void DoTakeImage(ImageFuzzState& s, FuzzInput& in)
{
    const int w = in.Side(), h = in.Side();
    const bool usable = w > 0 && h > 0;
    Model m = EmptyModel();
    unsigned char* bits = nullptr;
    unsigned char* refBits = nullptr;
    if (usable) {
        unsigned char* pixels = MakePixels(in, w, h);
        m = Model{true, w, h, std::vector<unsigned char>(pixels, pixels + (size_t)w * h * 3)};
        free(pixels);
        bits = StoredCopy(m);
        refBits = StoredCopy(m);
    } else if (in.Byte() & 1) {
        bits = (unsigned char*)malloc(16);
        refBits = (unsigned char*)malloc(16);
    }
    const char* name = PickName(in);
    const int r = s.image.TakeImage(name, bits, w, h);
    s.ref.TakeImage(name, refBits, w, h);
    if (usable)
        Check(r == 0 && s.image.GetFullBits() == bits && s.image.SharesRasters() &&
              s.image.GetWidth() == w && s.image.GetHeight() == h);
    else
        Check(r == -1 && !s.image.GetFullBits() && !s.image.GetBits() && s.image.GetWidth() == 0);
    // Named even when the pixels are refused.
    Check(name ? s.image.GetName() && strcmp(s.image.GetName(), name) == 0 : !s.image.GetName());
    s.full = s.display = m;
    s.refValid = true;
}

void DoRescale(ImageFuzzState& s, FuzzInput& in, bool toFull)
{
    const bool hadFull = s.image.GetFullBits() != nullptr;
    if (toFull && !hadFull)
        return;
    // Up to the picture's own size: a copy or a resample, never lazy.
    const int w = toFull ? s.image.GetFullWidth() : in.Side();
    const int h = toFull ? s.image.GetFullHeight() : in.Side();
    const int r = s.image.Rescale(w, h);
    s.ref.Rescale(w, h);
    s.refValid = true;
    Check(!s.image.IsDisplayLazy());
    if (w < 0 || h < 0 || (w > 0 && h > 0 && !hadFull)) {
        Check(r == -1 && s.image.GetBits() == nullptr);
        s.display = EmptyModel();
    } else if (w == 0 || h == 0) {
        Check(r == 0 && s.image.GetBits() == nullptr);
        s.display = EmptyModel();
    } else {
        Check(r == 0 && s.image.GetWidth() == w && s.image.GetHeight() == h);
        s.display = (w == s.image.GetFullWidth() && h == s.image.GetFullHeight()) ? s.full : Model{};
    }
}

// Clockwise ('c'), counter-clockwise ('a') or a mirror ('m'), on the image,
// the reference and every model.
void DoTurn(ImageFuzzState& s, char how)
{
    const unsigned char* fullBefore = s.image.GetFullBits();
    const auto turn = [how](CRgbImage& image) {
        if (how == 'c')
            image.RotateClockwise();
        else if (how == 'a')
            image.RotateCounterClockwise();
        else
            image.Mirror();
    };
    turn(s.image);
    // The fuzzer's budgets always leave room to turn the image.
    if (how != 'm')
        Check(!fullBefore || s.image.GetFullBits() != fullBefore);
    if (!Affords(s, (uint64_t)s.ref.GetWidth() * (uint64_t)s.ref.GetHeight()))
        s.ref.Rescale(0, 0);
    // A turned display raster is always a new buffer: the same one means the
    // reference had no room to turn it.
    const unsigned char* refBefore = s.ref.GetBits();
    turn(s.ref);
    if (how != 'm' && refBefore && s.ref.GetBits() == refBefore)
        s.refValid = false;
    if (how == 'm') {
        s.full = Mirrored(s.full);
        s.display = Mirrored(s.display);
    } else {
        s.full = Turned(s.full, how == 'c');
        s.display = Turned(s.display, how == 'c');
    }
    s.lazy.Turned(how);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    FuzzInput in{data, size};
    ImageFuzzState s;
    s.limit = PickLimit(in.Byte());
    SetRasterByteLimit(s.limit);
    for (int step = 0; step < kMaxSteps && in.More(); ++step) {
        switch (in.Byte() % 16) {
        case 0: DoSetImage(s, in); break;
        case 1: DoSetScaledImage(s, in); break;
        case 2: DoRescale(s, in, false); break;
        case 3: DoRescale(s, in, true); break;
        case 4: DoTurn(s, 'c'); break;
        case 5: DoTurn(s, 'a'); break;
        case 6: DoTurn(s, 'm'); break;
        case 7: DoExport(s, in); break;
        case 8:
            s.image.Clear();
            s.ref.Clear();
            Check(s.image.GetName() == nullptr && s.image.m_nFlags == 0);
            s.full = s.display = EmptyModel();
            s.refValid = true;
            break;
        case 9: DoTakeImage(s, in); break;
        case 10:
        case 11: DoSetDisplaySize(s, in); break;
        case 12:
        case 13: DoCopyRegion(s, in); break;
        default: DoVisitTiles(s, in); break;
        }
        FollowImage(s);
        CheckInvariants(s);
    }
    return 0;
}
