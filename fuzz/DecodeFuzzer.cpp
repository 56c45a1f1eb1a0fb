// Arbitrary bytes through the decoder. A decoded raster is read whole (so
// ASan sees a short allocation) and, when small, encoded again and decoded
// back: the round trip must keep the size.

#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "codec/JpegConverter.h"
#include "platform/MemoryLimit.h"

namespace {

// Rasters and libjpeg's working memory stay under this, so a legitimately
// large header is refused rather than exhausting the fuzzer's memory.
constexpr uint64_t kFuzzRasterLimit = 64u << 20;
constexpr int kRoundTripPixels = 256 * 256;

volatile unsigned g_sink;

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    SetRasterByteLimit(kFuzzRasterLimit);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size > UINT32_MAX)
        return 0;
    CJpegConverter converter;
    unsigned char* pixels = converter.Decode(data, (uint32_t)size);
    if (converter.GetOrientation() < 1 || converter.GetOrientation() > 8)
        abort();
    if (!pixels)
        return 0;
    int width = converter.GetWidth();
    int height = converter.GetHeight();
    if (width <= 0 || height <= 0)
        abort();  // a raster without a size breaks the null-or-picture contract
    size_t bytes = (size_t)width * (size_t)height * 3;
    unsigned sum = 0;
    for (size_t i = 0; i < bytes; ++i)
        sum += pixels[i];
    g_sink = sum;

    if ((int64_t)width * height <= kRoundTripPixels) {
        CJpegConverter encoder;
        encoder.m_nQuality = 1 + (int)(size % 100);
        unsigned char* stream = encoder.Encode(pixels, width, height);
        if (!stream || encoder.GetSize() <= 0)
            abort();
        CJpegConverter again;
        unsigned char* back = again.Decode(stream, (uint32_t)encoder.GetSize());
        if (!back || again.GetWidth() != width || again.GetHeight() != height)
            abort();
        free(back);
        free(stream);
    }
    free(pixels);
    return 0;
}
