#pragma once
// Helpers shared by the image tests: pixel access to stored-layout rasters
// and exchange-layout buffers, and random pictures.

#include <cstddef>
#include <cstdint>
#include <random>
#include <vector>

#include "image/RgbImage.h"  // and StoredStride

// Picture pixel (x, y) (y from the top) of a bottom-up B, G, R raster, as R, G, B.
inline uint32_t StoredPixel(const unsigned char* bits, int width, int height, int x, int y)
{
    const unsigned char* p = bits + (size_t)(height - 1 - y) * StoredStride(width) + (size_t)x * 3;
    return ((uint32_t)p[2] << 16) | ((uint32_t)p[1] << 8) | p[0];
}

inline std::vector<unsigned char> RandomPicture(int width, int height, uint32_t seed)
{
    std::mt19937 rng(seed);
    std::vector<unsigned char> v((size_t)width * height * 3);
    for (auto& b : v)
        b = (unsigned char)(rng() & 0xFF);
    return v;
}

// The display raster in exchange layout (top-down R, G, B), via ExportRgb.
inline std::vector<unsigned char> Exported(CRgbImage& image)
{
    unsigned char* p = image.ExportRgb();
    std::vector<unsigned char> v;
    if (p) {
        v.assign(p, p + (size_t)image.GetWidth() * image.GetHeight() * 3);
        std::free(p);
    }
    return v;
}
