#pragma once
// What the image fuzzer knows apart from CRgbImage: the reader of its input
// bytes, a picture known exactly (or known to be unknown), and pixel access
// to the rasters and regions it compares.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

// A broken expectation stops the fuzzer with the line that failed.
#define Check(ok)                                                               \
    do {                                                                        \
        if (!(ok)) {                                                            \
            fprintf(stderr, "%s:%d: %s failed\n", __FILE__, __LINE__, #ok);     \
            abort();                                                            \
        }                                                                       \
    } while (0)

// Sides of the pictures the fuzzer makes.
constexpr int kMaxSide = 64;

// Reads the fuzzer's bytes one at a time; zeros once they run out.
struct FuzzInput {
    const uint8_t* data;
    size_t size;
    size_t pos = 0;
    bool More() const { return pos < size; }
    uint8_t Byte() { return pos < size ? data[pos++] : 0; }
    unsigned Word() { return (unsigned)Byte() << 8 | Byte(); }
    // -2 .. kMaxSide: a few bad sizes beside the usable ones.
    int Side() { return (int)(Byte() % (kMaxSide + 3)) - 2; }
    // A position on an axis of `extent` pixels: near its start, near its
    // end, or anywhere on it, up to 4 pixels beyond either end.
    int Along(int extent);
    // A length from a position with `room` pixels left on its axis: mostly
    // 1 .. min(room, cap) or all of that, sometimes 0, negative or one past
    // the end (then possibly more than cap).
    int Length(int64_t room, int cap);
};

int ClampToInt(int64_t v);

// A picture in exchange layout (top-down R, G, B) that is known exactly, or
// unknown.
struct Model {
    bool known = false;
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgb;
};

Model EmptyModel();
Model Turned(const Model& m, bool clockwise);
Model Mirrored(const Model& m);

// Pixels as B | G << 8 | R << 16, whatever the layout they come from.
uint32_t ModelPixel(const Model& m, int x, int y);
// Pixel (i, j) (j from the top) of a bottom-up region `height` rows high
// with rows `stride` bytes apart, as CopyDisplayRegion writes it.
uint32_t RegionPixel(const unsigned char* region, size_t stride, int height, int i, int j);
// Pixel (x, y) of an exchange-layout buffer `width` wide.
uint32_t ExchangePixel(const unsigned char* rgb, int width, int x, int y);

// A stored-layout raster (bottom-up, B G R, filled rows) against the model;
// true for an unknown model.
bool RasterMatches(const unsigned char* bits, int width, int height, int pad, const Model& m);
// The region (x, y, width, height) of a display, bottom-up with rows
// `stride` apart, against the same rectangle of a whole stored raster of
// rasterWidth x rasterHeight.
bool RegionMatchesRaster(const unsigned char* region, size_t stride, int x, int y, int width,
                         int height, const unsigned char* bits, int rasterWidth,
                         int rasterHeight);

// Random pixels in exchange layout, in a malloc block of exactly their size
// so that ASan sees any read past the caller's buffer.
unsigned char* MakePixels(FuzzInput& in, int width, int height);
// The model's picture in stored layout in a malloc block of the size the
// decoder gives TakeImage, fill bytes and slack zeroed.
unsigned char* StoredCopy(const Model& m);
