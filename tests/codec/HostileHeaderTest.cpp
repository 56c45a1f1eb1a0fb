// Small files that declare huge pictures are refused before any pixel work,
// and the library's own working memory is held to the same limit.

#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <vector>

#include "codec/JpegConverter.h"
#include "platform/MemoryLimit.h"
#include "tests/codec/CodecTestSupport.h"

namespace {

typedef std::unique_ptr<unsigned char, FreeDeleter> Raster;

// Restores the machine-derived raster limit when a test ends.
struct LimitGuard {
    explicit LimitGuard(uint64_t bytes) : old(SetRasterByteLimit(bytes)) {}
    ~LimitGuard() { SetRasterByteLimit(old); }
    uint64_t old;
};

// Rewrites the frame size of a stream in place.
void SetFrameSize(std::vector<unsigned char>& jpeg, int width, int height)
{
    for (size_t i = 2; i + 9 < jpeg.size(); i++) {
        if (jpeg[i] == 0xFF && (jpeg[i + 1] == 0xC0 || jpeg[i + 1] == 0xC2)) {
            jpeg[i + 5] = (unsigned char)(height >> 8);
            jpeg[i + 6] = (unsigned char)height;
            jpeg[i + 7] = (unsigned char)(width >> 8);
            jpeg[i + 8] = (unsigned char)width;
            return;
        }
    }
    ADD_FAILURE() << "no frame header";
}

struct Outcome {
    bool null;
    int width, height;
    std::string text;
};

Outcome DecodeFile(const std::vector<unsigned char>& bytes)
{
    CJpegConverter conv;
    CStderrCapture capture;
    Raster raster(conv.Decode(bytes.data(), (uint32_t)bytes.size()));
    return {raster == nullptr, conv.GetWidth(), conv.GetHeight(), capture.Text()};
}

// With the machine's own limit, a 600-byte file declaring 65500 x 65500
// (12.9 GB of pixels) is refused at once: nothing is allocated for it and no
// row is decoded, so the stream's missing scan data is never even reached
// (no "Premature end of JPEG file"). Refused like a failed allocation: null,
// with the declared size reported.
TEST(HostileHeader, RealLimitRefuses65500SquareBeforeDecoding)
{
    const uint64_t bytes = 65500ull * 65500ull * 3ull;
    if (RasterBytesAllowed(bytes))
        GTEST_SKIP() << "this machine allows a " << bytes << "-byte raster";
    for (const char* file : {"header-65500x65500.jpg", "header-65500x65500-progressive.jpg"}) {
        Outcome o = DecodeFile(ReadBytes(DataPath(file)));
        EXPECT_TRUE(o.null) << file;
        EXPECT_EQ(o.width, 65500) << file;
        EXPECT_EQ(o.height, 65500) << file;
        EXPECT_EQ(o.text, "") << file;
    }
}

// 65500 x 21859 x 3 is 2^32 + 326204: in 32-bit arithmetic it wraps to a
// small raster that would be allocated and then overrun or cut short. In 64
// bits it is over the limit and refused.
TEST(HostileHeader, SizeThatWrapsIn32BitsIsRefused)
{
    LimitGuard limit(64u << 20);
    std::vector<unsigned char> bytes = ReadBytes(DataPath("header-65500x65500.jpg"));
    SetFrameSize(bytes, 65500, 21859);
    Outcome o = DecodeFile(bytes);
    EXPECT_TRUE(o.null);
    EXPECT_EQ(o.width, 65500);
    EXPECT_EQ(o.height, 21859);
    EXPECT_EQ(o.text, "");
}

// The limit is an upper bound, not an off-by-one: a picture of exactly the
// limit decodes, one byte more is refused.
TEST(HostileHeader, LimitIsInclusive)
{
    std::vector<unsigned char> bytes = ReadBytes(DataPath("header-65500x65500.jpg"));
    SetFrameSize(bytes, 640, 480);
    {
        LimitGuard limit(640u * 480u * 3u);
        Outcome o = DecodeFile(bytes);
        EXPECT_FALSE(o.null);
        EXPECT_EQ(o.text, "Premature end of JPEG file\n");
    }
    {
        LimitGuard limit(640u * 480u * 3u - 1u);
        Outcome o = DecodeFile(bytes);
        EXPECT_TRUE(o.null);
        EXPECT_EQ(o.text, "");
    }
}

// A progressive 4:4:4 stream keeps all its coefficients in memory: two bytes
// per sample, twice the raster. With the raster allowed but that not, the
// library must fail cleanly (it has no backing store) rather than take the
// memory; with room for both it decodes.
TEST(HostileHeader, ProgressiveCoefficientMemoryIsBounded)
{
    const std::vector<unsigned char> bytes = ProgressiveFullChroma2000();
    {
        LimitGuard limit(16u << 20);  // raster 12 MB allowed, coefficients 24 MB not
        Outcome o = DecodeFile(bytes);
        EXPECT_TRUE(o.null);
        EXPECT_EQ(o.width, 0);
        EXPECT_EQ(o.height, 0);
        EXPECT_EQ(o.text, "Backing store not supported\n");
    }
    {
        LimitGuard limit(64u << 20);
        Outcome o = DecodeFile(bytes);
        EXPECT_FALSE(o.null);
        EXPECT_EQ(o.width, 2000);
        EXPECT_EQ(o.height, 2000);
    }
}

}  // namespace
