#pragma once
// What the image fuzzer carries from one step of an input to the next: the
// image under test, its reference and the models (see ImageFuzzer.cpp).

#include <cstdint>

#include "fuzz/ImageFuzzModel.h"
#include "fuzz/LazyDisplayModel.h"
#include "image/RgbImage.h"
#include "image/StoredLayout.h"

// Regions copied and clips visited stay this small, whatever the display.
constexpr int kMaxRegionSide = 512;
constexpr int kMaxClipSide = 768;
// Pixels the reference may build (and exports make) in one input, so that
// zooms near the 64 MB budget cannot make an input run for seconds.
constexpr uint64_t kWorkPixels = 48u << 20;

struct ImageFuzzState {
    uint64_t limit = 0;
    CRgbImage image;
    CRgbImage ref;
    // The reference's display raster is the image's display.
    bool refValid = true;
    uint64_t work = 0;
    Model full;     // the full-size raster
    Model display;  // the display raster (unknown while lazy)
    CLazyDisplayModel lazy;
};
// Takes `pixels` of work from the input's allowance, or answers false.
inline bool Affords(ImageFuzzState& s, uint64_t pixels)
{
    if (s.work + pixels > kWorkPixels)
        return false;
    s.work += pixels;
    return true;
}

inline uint64_t FullBytes(const CRgbImage& image)
{
    return image.GetFullBits() ? StoredRasterBytes(image.GetFullWidth(), image.GetFullHeight()) : 0;
}

