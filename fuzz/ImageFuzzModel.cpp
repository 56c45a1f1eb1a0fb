#include "fuzz/ImageFuzzModel.h"

#include <climits>
#include <cstring>

#include "image/StoredLayout.h"

int ClampToInt(int64_t v)
{
    return v < INT_MIN ? INT_MIN : v > INT_MAX ? INT_MAX : (int)v;
}

int FuzzInput::Along(int extent)
{
    const int offset = (int)(Byte() % 9) - 4;
    switch (Byte() % 4) {
    case 0:
        return offset;
    case 1:
        return ClampToInt((int64_t)extent + offset);
    default:
        return ClampToInt((int64_t)extent * Word() / 65535 + offset);
    }
}

int FuzzInput::Length(int64_t room, int cap)
{
    const int64_t most = room < cap ? room : cap;
    switch (Byte() % 8) {
    case 0:
        return -1 - Byte() % 3;
    case 1:
        return 0;
    case 2:
        return ClampToInt(room + 1);
    case 3:
        return most < 1 ? 1 : (int)most;
    default:
        return most < 1 ? 1 : (int)(1 + Word() % most);
    }
}

Model EmptyModel()
{
    return Model{true, 0, 0, {}};
}

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

uint32_t ExchangePixel(const unsigned char* rgb, int width, int x, int y)
{
    const unsigned char* p = rgb + ((size_t)y * width + x) * 3;
    return (uint32_t)p[2] | (uint32_t)p[1] << 8 | (uint32_t)p[0] << 16;
}

uint32_t ModelPixel(const Model& m, int x, int y)
{
    return ExchangePixel(m.rgb.data(), m.width, x, y);
}

uint32_t RegionPixel(const unsigned char* region, size_t stride, int height, int i, int j)
{
    const unsigned char* p = region + (size_t)(height - 1 - j) * stride + (size_t)i * 3;
    return (uint32_t)p[0] | (uint32_t)p[1] << 8 | (uint32_t)p[2] << 16;
}

bool RasterMatches(const unsigned char* bits, int width, int height, int pad, const Model& m)
{
    if (!m.known)
        return true;
    if (width != m.width || height != m.height || pad != width % 4)
        return false;
    const size_t stride = StoredStride(width);
    for (int y = 0; y < height; ++y)
        for (int x = 0; x < width; ++x)
            if (RegionPixel(bits, stride, height, x, y) != ModelPixel(m, x, y))
                return false;
    return true;
}

bool RegionMatchesRaster(const unsigned char* region, size_t stride, int x, int y, int width,
                         int height, const unsigned char* bits, int rasterWidth,
                         int rasterHeight)
{
    // Region row k is picture row y + height - 1 - k, stored row
    // rasterHeight - y - height + k.
    const size_t rasterStride = StoredStride(rasterWidth);
    for (int k = 0; k < height; ++k) {
        const unsigned char* row =
            bits + (size_t)(rasterHeight - y - height + k) * rasterStride + (size_t)x * 3;
        if (memcmp(region + (size_t)k * stride, row, (size_t)width * 3) != 0)
            return false;
    }
    return true;
}

unsigned char* MakePixels(FuzzInput& in, int width, int height)
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

// Written pixel by pixel here rather than with the library's own layout
// conversion, which is among what the fuzzer checks.
unsigned char* StoredCopy(const Model& m)
{
    const size_t bytes = (size_t)StoredRasterBytes(m.width, m.height);
    unsigned char* bits = (unsigned char*)calloc(bytes ? bytes : 1, 1);
    const size_t stride = StoredStride(m.width);
    for (int y = 0; y < m.height; ++y)
        for (int x = 0; x < m.width; ++x) {
            const unsigned char* s = &m.rgb[((size_t)y * m.width + x) * 3];
            unsigned char* d = bits + (size_t)(m.height - 1 - y) * stride + (size_t)x * 3;
            d[0] = s[2];
            d[1] = s[1];
            d[2] = s[0];
        }
    return bits;
}
