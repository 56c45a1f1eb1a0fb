// CRgbImage driven by a fuzzed sequence of operations on small rasters.
// Beside ASan's checks, a model of the picture is kept wherever the result
// is exact (SetImage, same-size copies, rotations, mirroring) and compared with both
// rasters, so a pixel moved to the wrong place is caught as well as a write
// out of bounds.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "image/RgbImage.h"
#include "platform/MemoryLimit.h"

namespace {

constexpr int kMaxSide = 64;

// Reads the fuzzer's bytes one at a time; zeros once they run out.
struct Input {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool More() const { return pos < size; }
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
    // -2 .. kMaxSide: a few bad sizes beside the usable ones.
    int Side() { return (int)(Byte() % (kMaxSide + 3)) - 2; }
};

// A picture in exchange layout that is known exactly, or unknown.
struct Model {
    bool known = false;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

// A broken expectation stops the fuzzer with the line that failed.
#define Check(ok)                                                             \
    do {                                                                      \
        if (!(ok)) {                                                          \
            fprintf(stderr, "ImageFuzzer.cpp:%d: %s failed\n", __LINE__, #ok); \
            abort();                                                          \
        }                                                                     \
    } while (0)

Model Turned(const Model& m, bool clockwise)
{
    Model t;
    t.known = m.known;
    t.width = m.height;
    t.height = m.width;
    t.rgb.resize(m.rgb.size());
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            int nx = clockwise ? m.height - 1 - y : y;
            int ny = clockwise ? x : m.width - 1 - x;
            memcpy(&t.rgb[((size_t)ny * t.width + nx) * 3], &m.rgb[((size_t)y * m.width + x) * 3], 3);
        }
    return t;
}

Model Mirrored(const Model& m)
{
    Model t = m;
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x)
            memcpy(&t.rgb[((size_t)y * m.width + m.width - 1 - x) * 3],
                   &m.rgb[((size_t)y * m.width + x) * 3], 3);
    return t;
}

// A stored-layout raster (bottom-up, B G R, filled rows) against the model.
bool RasterMatches(const unsigned char* bits, int width, int height, int pad, const Model& m)
{
    if (!m.known)
        return true;
    if (width != m.width || height != m.height || pad != width % 4)
        return false;
    const size_t stride = (size_t)width * 3 + pad;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = bits + (size_t)(height - 1 - y) * stride;
        for (int x = 0; x < width; ++x) {
            const unsigned char* p = &m.rgb[((size_t)y * width + x) * 3];
            if (row[x * 3] != p[2] || row[x * 3 + 1] != p[1] || row[x * 3 + 2] != p[0])
                return false;
        }
    }
    return true;
}

void CheckHeader(const CRgbImage& image)
{
    const BITMAPINFOHEADER& h = image.GetBitmapInfo()->bmiHeader;
    Check(h.biWidth == image.GetWidth() && h.biHeight == image.GetHeight());
    Check(h.biBitCount == 24 && h.biPlanes == 1);
    Check((image.GetBits() != nullptr) == (image.GetWidth() > 0 && image.GetHeight() > 0));
    Check((image.GetFullBits() != nullptr) == (image.GetFullWidth() > 0 && image.GetFullHeight() > 0));
}

// Exactly size bytes, so ASan sees any read past the caller's buffer.
unsigned char* MakePixels(Input& in, int width, int height)
{
    size_t bytes = (size_t)width * height * 3;
    unsigned char* p = (unsigned char*)malloc(bytes ? bytes : 1);
    uint32_t x = in.Byte() * 16777619u + 2166136261u;
    for (size_t i = 0; i < bytes; ++i) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        p[i] = (unsigned char)x;
    }
    return p;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetRasterByteLimit(64u << 20);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    Input in{data, size};
    CRgbImage image;
    Model full;     // the full-size raster
    Model display;  // the display raster
    for (int step = 0; step < 32 && in.More(); ++step) {
        switch (in.Byte() % 9) {
        case 0: {  // SetImage
            int w = in.Side(), h = in.Side();
            bool usable = w > 0 && h > 0;
            unsigned char* pixels = usable ? MakePixels(in, w, h) : nullptr;
            int r = image.SetImage((in.Byte() & 1) ? "C:/x/a.jpg" : nullptr, pixels, w, h);
            if (usable) {
                Check(r == 0);
                full = Model{true, w, h, std::vector<unsigned char>(pixels, pixels + (size_t)w * h * 3)};
                display = full;
            } else {
                Check(image.GetFullBits() == nullptr && image.GetBits() == nullptr);
                full = display = Model{true, 0, 0, {}};
            }
            free(pixels);
            break;
        }
        case 1: {  // SetScaledImage
            int w = in.Side(), h = in.Side(), nw = in.Side(), nh = in.Side();
            bool usable = w > 0 && h > 0;
            unsigned char* pixels = usable ? MakePixels(in, w, h) : nullptr;
            int r = image.SetScaledImage((in.Byte() & 1) ? "tmp" : nullptr, pixels, w, h, nw, nh);
            if (usable && nw > 0 && nh > 0) {
                Check(r == 0);
                Check(image.GetFullWidth() == nw && image.GetFullHeight() == nh);
                Check(image.GetWidth() == nw && image.GetHeight() == nh);
                if (nw == w && nh == h)
                    full = Model{true, w, h, std::vector<unsigned char>(pixels, pixels + (size_t)w * h * 3)};
                else
                    full = Model{};
                display = full;
                // Both rasters hold the same resampled picture.
                unsigned char* out = image.ExportRgb();
                Check(out != nullptr);
                Model exported{true, nw, nh, std::vector<unsigned char>(out, out + (size_t)nw * nh * 3)};
                free(out);
                Check(RasterMatches(image.GetFullBits(), nw, nh, image.GetFullPad(), exported));
            } else {
                if (!usable)
                    Check(r == 0 && image.GetFullBits() == nullptr);
                full = display = Model{};
                // Whatever the outcome, no pointer into the caller's buffer.
                if (pixels)
                    Check(image.GetFullBits() != pixels && image.GetBits() != pixels);
            }
            free(pixels);
            break;
        }
        case 2: {  // Rescale to a fuzzed size
            int w = in.Side(), h = in.Side();
            bool hadFull = image.GetFullBits() != nullptr;
            int r = image.Rescale(w, h);
            if (w < 0 || h < 0) {
                Check(r == -1 && image.GetBits() == nullptr);
                display = Model{true, 0, 0, {}};
            } else if (w == 0 || h == 0) {
                Check(r == 0 && image.GetBits() == nullptr);
                display = Model{true, 0, 0, {}};
            } else if (!hadFull) {
                Check(r == -1 && image.GetBits() == nullptr);
                display = Model{true, 0, 0, {}};
            } else {
                Check(r == 0 && image.GetWidth() == w && image.GetHeight() == h);
                display = (w == image.GetFullWidth() && h == image.GetFullHeight()) ? full : Model{};
            }
            break;
        }
        case 3:  // Rescale back to full size: an exact copy
            if (image.GetFullBits()) {
                Check(image.Rescale(image.GetFullWidth(), image.GetFullHeight()) == 0);
                display = full;
            }
            break;
        case 4:
            image.RotateClockwise();
            full = Turned(full, true);
            display = Turned(display, true);
            break;
        case 5:
            image.RotateCounterClockwise();
            full = Turned(full, false);
            display = Turned(display, false);
            break;
        case 6: {  // ExportRgb
            unsigned char* out = image.ExportRgb();
            Check((out != nullptr) == (image.GetBits() != nullptr));
            if (out && display.known) {
                Check(display.width == image.GetWidth() && display.height == image.GetHeight());
                Check(memcmp(out, display.rgb.data(), display.rgb.size()) == 0);
            }
            free(out);
            break;
        }
        case 8:
            image.Mirror();
            full = Mirrored(full);
            display = Mirrored(display);
            break;
        case 7:
            image.Clear();
            Check(image.GetName() == nullptr && image.m_nFlags == 0);
            full = display = Model{true, 0, 0, {}};
            break;
        }
        CheckHeader(image);
        if (image.GetFullBits())
            Check(RasterMatches(image.GetFullBits(), image.GetFullWidth(), image.GetFullHeight(),
                                image.GetFullPad(), full));
        if (image.GetBits())
            Check(RasterMatches(image.GetBits(), image.GetWidth(), image.GetHeight(), image.GetPad(),
                                display));
    }
    return 0;
}
