// What a stream must hold for the picture it declares: crafted headers are
// refused before anything is allocated, honest streams (real photos cut
// anywhere after their first 1 %, small arithmetic-coded pictures) decode as
// the library itself decodes them.

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "codec/JpegConverter.h"
#include "platform/MemoryLimit.h"
#include "tests/codec/CodecTestSupport.h"
#include "tools/CraftedHeader.h"

namespace {

typedef std::unique_ptr<unsigned char, FreeDeleter> Raster;

struct CraftedCase {
    CraftedCoding coding;
    int width, height;
    size_t scanBytes;
    bool decodes;  // false: refused, as a failed allocation
    size_t commentBytes = 0;  // comment markers put before the frame header
};

// Comment segments of `bytes` bytes in all, right after SOI.
std::vector<unsigned char> PadWithComments(const std::vector<unsigned char>& jpeg, size_t bytes)
{
    std::vector<unsigned char> out(jpeg.begin(), jpeg.begin() + 2);
    while (bytes > 0) {
        const size_t part = bytes < 60000 ? bytes : 60000;
        out.insert(out.end(), {0xFF, 0xFE, (unsigned char)((part + 2) >> 8), (unsigned char)(part + 2)});
        out.insert(out.end(), part, 'x');
        bytes -= part;
    }
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

// A Huffman-coded header is refused when what follows it holds fewer than
// blocks / 800 bytes (about 1.5 x W x H / 64 blocks at 4:2:0); an
// arithmetic-coded one when it declares more than 100 megapixels. Catches a
// bound that lets a few bytes allocate gigabytes, one that refuses a stream
// able to hold its picture, and an arithmetic stream judged by its bytes.
TEST(StreamCoverage, CraftedHeadersGetTheirVerdictBeforeAnyPixelWork)
{
    using C = CraftedCoding;
    const CraftedCase cases[] = {
        {C::kBaseline, 65500, 65500, 4096, false},
        {C::kBaseline, 40000, 40000, 0, false},      // 623 bytes for 37.5 M blocks
        {C::kBaseline, 40000, 40000, 0, false, 120000},  // needs 47 KB, padded with 120 KB
        {C::kBaseline, 10000, 10000, 1024, false},   // 1.6 KB, needs 2.9 KB
        {C::kBaseline, 10000, 1000, 0, false},       // no scan data at all
        {C::kBaseline, 10000, 1000, 400, true},      // needs 293 bytes after the header
        {C::kProgressive, 65500, 65500, 0, false},
        {C::kProgressive, 20000, 20000, 4096, false},  // 4.3 KB, needs 11.7 KB
        {C::kProgressive, 10000, 1000, 512, true},
        {C::kArithmetic, 65500, 65500, 4096, false},
        {C::kArithmetic, 10001, 10000, 4096, false},  // just over 100 MP
        {C::kArithmetic, 12000, 1000, 0, true},       // 203 bytes suffice
    };
    for (const CraftedCase& c : cases) {
        std::vector<unsigned char> jpeg =
            PadWithComments(MakeCraftedHeader(c.coding, c.width, c.height, c.scanBytes), c.commentBytes);
        SCOPED_TRACE(std::string(CraftedCodingName(c.coding)) + " " + std::to_string(c.width) +
                     "x" + std::to_string(c.height) + ", " + std::to_string(jpeg.size()) + " bytes");
        ASSERT_FALSE(jpeg.empty());
        CJpegConverter conv;
        std::string text;
        Raster raster(DecodeCapturing(conv, jpeg, &text));
        // Either way the declared size is reported, as for a failed allocation.
        EXPECT_EQ(conv.GetWidth(), c.width);
        EXPECT_EQ(conv.GetHeight(), c.height);
        EXPECT_EQ(raster != nullptr, c.decodes);
        // A refusal comes before the scan data is read: no message at all. A
        // decode runs out of data and says so.
        EXPECT_EQ(text.empty(), !c.decodes) << text;
    }
}

// Real photos and photo-like pictures cut at 1 %, 5 % and 50 % of their
// bytes decode exactly as the library decodes them, or fail where it fails.
// A flat grey progressive picture, the most compressible kind, codes about
// one bit per block: cut at 1 % of its file, what follows its header is
// below the bound and it is refused with its declared size; from 5 % on it
// decodes as the library does.
TEST(StreamCoverage, PhotosCutAfterTheirFirstPercentDecodeAsTheLibraryDoes)
{
    struct Photo {
        std::vector<unsigned char> bytes;
        int refusedBelowPercent;
    };
    std::vector<Photo> photos = {
        {ReadBytes(DataPath("baseline-227x149.jpg")), 0},
        {ReadBytes(DataPath("progressive-650x470.jpg")), 0},
    };
    EncodeOptions progressive;
    progressive.progressive = true;
    const std::vector<unsigned char> photo = PhotoPixels(3000, 2000, 1);
    photos.push_back({LibraryEncodeWith(photo, 3000, 2000, EncodeOptions()), 0});
    photos.push_back({LibraryEncodeWith(photo, 3000, 2000, progressive), 0});
    photos.push_back({LibraryEncodeWith(std::vector<unsigned char>(2000 * 2000 * 3, 90), 2000, 2000,
                                        progressive), 5});
    for (size_t p = 0; p < photos.size(); ++p) {
        const std::vector<unsigned char>& whole = photos[p].bytes;
        for (int percent : {1, 5, 50}) {
            std::vector<unsigned char> cut(whole.begin(), whole.begin() + (long)(whole.size() * percent / 100));
            SCOPED_TRACE("photo " + std::to_string(p) + " cut at " + std::to_string(percent) + " %");
            int w = 0, h = 0;
            std::vector<unsigned char> expected = LibraryDecode(cut, &w, &h);
            CJpegConverter conv;
            std::string text;
            Raster raster(DecodeCapturing(conv, cut, &text));
            if (percent < photos[p].refusedBelowPercent) {
                ASSERT_FALSE(expected.empty());
                EXPECT_EQ(raster, nullptr);
                EXPECT_EQ(conv.GetWidth(), w);
                EXPECT_EQ(text, "");
                continue;
            }
            ASSERT_EQ(raster != nullptr, !expected.empty());
            if (!raster)
                continue;
            ASSERT_EQ(conv.GetWidth(), w);
            ASSERT_EQ(conv.GetHeight(), h);
            EXPECT_TRUE(std::equal(expected.begin(), expected.end(), raster.get()));
        }
    }
}

// The library's working memory shares the picture's budget with the raster:
// a progressive 2000 x 2000 4:4:4 stream needs 12 MB of raster and 24 MB of
// coefficients, which 30 MB held one at a time but not together.
TEST(StreamCoverage, CoefficientsAndRasterShareOneBudget)
{
    const std::vector<unsigned char> bytes = ProgressiveFullChroma2000();
    uint64_t old = SetRasterByteLimit(30u << 20);
    CJpegConverter conv;
    std::string text;
    Raster raster(DecodeCapturing(conv, bytes, &text));
    SetRasterByteLimit(old);
    EXPECT_EQ(raster, nullptr);
    EXPECT_EQ(conv.GetWidth(), 0);
    EXPECT_EQ(text, "Backing store not supported\n");
}

}  // namespace
