// The decode straight into the stored layout against the decode it replaces
// (exchange layout, then CRgbImage's conversion): for every test file and
// for streams of every output layout and upsampling, the same outcome, the
// same size, the same messages and, row for row, the same pixels.
#include <gtest/gtest.h>

#include <dirent.h>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "codec/JpegConverter.h"
#include "image/StoredLayout.h"
#include "tests/codec/CodecTestSupport.h"

namespace {

struct Outcome {
    bool null = true;
    int width = 0, height = 0;
    std::string messages;
    std::vector<unsigned char> pixels;  // stored layout, fill bytes left out
};

Outcome Stored(const std::vector<unsigned char>& bytes)
{
    CStderrCapture capture;
    Outcome o;
    unsigned char* raster = JpegToStoredRaster(bytes.data(), (uint32_t)bytes.size(), &o.width, &o.height);
    o.messages = capture.Text();
    o.null = raster == nullptr;
    for (int r = 0; raster && r < o.height; ++r) {
        const unsigned char* row = raster + (size_t)r * StoredStride(o.width);
        o.pixels.insert(o.pixels.end(), row, row + (size_t)o.width * 3);
    }
    free(raster);
    return o;
}

// The reference: the exchange raster turned into the stored layout.
Outcome ViaExchange(const std::vector<unsigned char>& bytes)
{
    CStderrCapture capture;
    Outcome o;
    unsigned char* rgb = JpegToRgb(bytes.data(), (uint32_t)bytes.size(), &o.width, &o.height);
    o.messages = capture.Text();
    o.null = rgb == nullptr;
    if (rgb) {
        const size_t row = (size_t)o.width * 3;
        o.pixels.resize(row * o.height);
        FlipRowsSwapRedBlue(rgb, row, o.pixels.data(), row, o.width, o.height);
    }
    free(rgb);
    return o;
}

void ExpectSame(const std::vector<unsigned char>& bytes, const std::string& what)
{
    SCOPED_TRACE(what);
    const Outcome a = Stored(bytes);
    const Outcome b = ViaExchange(bytes);
    EXPECT_EQ(a.null, b.null);
    EXPECT_EQ(a.width, b.width);
    EXPECT_EQ(a.height, b.height);
    EXPECT_EQ(a.messages, b.messages);
    EXPECT_TRUE(a.pixels == b.pixels);
}

TEST(StoredDecode, EveryTestFileGivesTheConvertedExchangeDecode)
{
    DIR* dir = opendir(PIXMOOR_TEST_DATA);
    ASSERT_NE(dir, nullptr);
    int files = 0;
    while (dirent* e = readdir(dir)) {
        const std::string name = e->d_name;
        if (name.size() < 4 || name.compare(name.size() - 4, 4, ".jpg") != 0)
            continue;
        // Its 500 scans take seconds to reach the scan limit, which stops
        // both decodes before any output.
        if (name == "progressive-5010-scans-4096x4096.jpg")
            continue;
        ExpectSame(ReadBytes(DataPath(name)), name);
        ++files;
    }
    closedir(dir);
    EXPECT_GT(files, 20);
}

// Odd sizes for the merged upsampler's edges; grey, CMYK with and without
// the Adobe marker, progressive and restart-marked streams.
TEST(StoredDecode, EveryLayoutAndSamplingGivesTheConvertedExchangeDecode)
{
    for (int w : { 1, 2, 3, 5, 17 })
        for (int h : { 1, 2, 3, 9 })
            for (int samp : { 1, 2 }) {
                EncodeOptions o;
                o.hSamp = samp;
                o.vSamp = samp == 2 && h > 2 ? 2 : 1;
                o.progressive = (w + h) % 2 == 0;
                ExpectSame(LibraryEncodeWith(PhotoPixels(w, h, (uint32_t)(w * 31 + h)), w, h, o),
                           std::to_string(w) + "x" + std::to_string(h) + " s" + std::to_string(samp));
            }
    EncodeOptions gray;
    gray.gray = true;
    ExpectSame(LibraryEncodeWith(PhotoPixels(33, 21, 4), 33, 21, gray), "grey");
    EncodeOptions restart;
    restart.restartRows = 1;
    ExpectSame(LibraryEncodeWith(PhotoPixels(40, 40, 5), 40, 40, restart), "restart");
    std::vector<unsigned char> cmyk(23 * 17 * 4);
    for (size_t i = 0; i < cmyk.size(); ++i)
        cmyk[i] = (unsigned char)(i * 13);
    ExpectSame(EncodeCmyk(cmyk, 23, 17, true), "cmyk adobe");
    ExpectSame(EncodeCmyk(cmyk, 23, 17, false), "cmyk plain");
    // Cut inside the scan: the missing rows come out as the library gives
    // them, and the warning once.
    std::vector<unsigned char> cut = LibraryEncode(PhotoPixels(64, 64, 6), 64, 64, 90);
    cut.resize(cut.size() / 2);
    ExpectSame(cut, "cut in scan");
}

}  // namespace
