// Hostile pictures: a 65500 x 65500 header over a few bytes, 1 x 65500 and
// 65500 x 1 strips, a progressive file with thousands of scans, and files
// with huge comment markers. Each is decoded (and made into a thumbnail)
// in a child process under a 256 MB raster limit: it must return cleanly,
// with null or a picture of the declared size, and the child's peak memory
// must stay within what the limit allows (raster plus the library's
// working memory, each held to the limit). Time and peak memory are
// printed for the record, not judged.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include <jpeglib.h>

#include "codec/JpegConverter.h"
#include "tests/thumbcache/CacheTestSupport.h"
#include "tools/ChildProcess.h"
#include "tools/LibjpegEncode.h"

namespace {

constexpr long kLimitMb = 256;
constexpr int kHangSeconds = 300;

// Runs the probe on `file` and waits for it, killing it after kHangSeconds.
ChildRun Probe(const std::string& file, bool thumb)
{
    const std::string probe = std::string(PIXMOOR_BUILD_DIR) + "/tests/hardening/pixmoor_decode_probe";
    return RunChild(probe, {file, std::to_string(kLimitMb), thumb ? "thumb" : "load"}, kHangSeconds);
}

// A picture encoded with libjpeg itself; `flat` gives one grey level, whose
// AC scans are a few bytes of end-of-band runs however large the picture.
std::vector<unsigned char> Encode(int width, int height, bool progressive, bool flat = false)
{
    std::vector<unsigned char> pixels =
        flat ? std::vector<unsigned char>((size_t)width * height * 3, 128) : MakePicture(width, height, 1);
    return LibjpegEncodeRows(pixels, width, height, 3, [progressive](jpeg_compress_struct& c) {
        if (progressive)
            jpeg_simple_progression(&c);
    });
}

// The progressive stream with its last scan (SOS onwards) repeated
// `repeats` more times.
std::vector<unsigned char> WithRepeatedLastScan(const std::vector<unsigned char>& jpeg, int repeats)
{
    size_t sos = 0;
    for (size_t i = jpeg.size() - 2; i > 2; --i)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == 0xDA) {
            sos = i;
            break;
        }
    EXPECT_GT(sos, 0u);
    std::vector<unsigned char> out(jpeg.begin(), jpeg.end() - 2);  // without EOI
    std::vector<unsigned char> scan(jpeg.begin() + (long)sos, jpeg.end() - 2);
    for (int i = 0; i < repeats; ++i)
        out.insert(out.end(), scan.begin(), scan.end());
    out.push_back(0xFF);
    out.push_back(0xD9);
    return out;
}

// `count` comment markers of `length` payload bytes right after SOI; with
// `cut`, the file ends inside the last one.
std::vector<unsigned char> WithComments(const std::vector<unsigned char>& jpeg, int count,
                                        int length, bool cut)
{
    std::vector<unsigned char> out(jpeg.begin(), jpeg.begin() + 2);
    for (int i = 0; i < count; ++i) {
        int segment = length + 2;
        out.push_back(0xFF);
        out.push_back(0xFE);
        out.push_back((unsigned char)(segment >> 8));
        out.push_back((unsigned char)segment);
        if (cut && i == count - 1) {
            out.insert(out.end(), (size_t)length / 2, 'c');
            return out;
        }
        out.insert(out.end(), (size_t)length, 'c');
    }
    out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

struct HostileCase {
    const char* name;
    std::string file;
    int width, height;  // declared size: a decoded result must have it
};

class HostileImages : public CacheTest {};

// Catches a decoder that reads any number of scans (a few bytes each can
// keep it busy for minutes) or one that refuses a stream within the bound.
TEST(ScanLimit, StreamsBeyond500ScansFailAndOthersDecode)
{
    const std::vector<unsigned char> base = Encode(64, 64, true, true);
    // simple progression writes 10 scans for YCbCr
    const struct {
        int repeats;
        bool decodes;
    } cases[] = {{0, true}, {490, true}, {491, false}, {2000, false}};
    for (const auto& c : cases) {
        std::vector<unsigned char> file = WithRepeatedLastScan(base, c.repeats);
        CJpegConverter conv;
        unsigned char* px = conv.Decode(file.data(), (uint32_t)file.size());
        EXPECT_EQ(px != nullptr, c.decodes) << 10 + c.repeats << " scans";
        if (px) {
            EXPECT_EQ(conv.GetWidth(), 64);
        } else {
            EXPECT_EQ(conv.GetWidth(), 0);
            EXPECT_EQ(conv.GetHeight(), 0);
        }
        free(px);
    }
}

TEST_F(HostileImages, FailCleanlyOrDecodeWithinTheLimit)
{
    const std::string data = PIXMOOR_TEST_DATA;
    WriteWholeFile(Native("strip-1x65500.jpg"), Encode(1, 65500, false));
    WriteWholeFile(Native("strip-65500x1.jpg"), Encode(65500, 1, false));
    WriteWholeFile(Native("progressive-3000-scans.jpg"),
          WithRepeatedLastScan(Encode(1024, 1024, true), 3000));
    const std::vector<unsigned char> small = Encode(64, 64, false);
    WriteWholeFile(Native("comments-1000x65533.jpg"), WithComments(small, 1000, 65533, false));
    WriteWholeFile(Native("comment-cut-short.jpg"), WithComments(small, 1, 65533, true));

    const HostileCase cases[] = {
        {"65500 x 65500 header", data + "/header-65500x65500.jpg", 65500, 65500},
        {"65500 x 65500 progressive header", data + "/header-65500x65500-progressive.jpg", 65500,
         65500},
        {"1 x 65500 strip", Native("strip-1x65500.jpg"), 1, 65500},
        {"65500 x 1 strip", Native("strip-65500x1.jpg"), 65500, 1},
        {"progressive, 3000 extra scans", Native("progressive-3000-scans.jpg"), 1024, 1024},
        {"1000 comments of 64 KB", Native("comments-1000x65533.jpg"), 64, 64},
        {"comment cut short", Native("comment-cut-short.jpg"), 64, 64},
    };
    for (const HostileCase& c : cases) {
        for (bool thumb : {false, true}) {
            ChildRun r = Probe(c.file, thumb);
            SCOPED_TRACE(std::string(c.name) + (thumb ? " (thumbnail)" : " (load)"));
            EXPECT_FALSE(r.hung) << "no result within " << kHangSeconds << " s";
            EXPECT_TRUE(r.exited) << "the probe crashed: " << r.output;
            int w = -1, h = -1;
            long peakKb = 0;
            char what[16] = "";
            ASSERT_EQ(sscanf(r.output.c_str(), "%15s %d %d %ld", what, &w, &h, &peakKb), 4)
                << r.output;
            if (std::string(what) == "decoded") {
                // A thumbnail fits 150 x 150; a load has the declared size.
                if (thumb) {
                    EXPECT_TRUE(w <= 150 && h <= 150 && w > 0 && h > 0) << w << "x" << h;
                } else {
                    EXPECT_EQ(w, c.width);
                    EXPECT_EQ(h, c.height);
                }
            }
            long fileKb = 0;
            struct stat st;
            if (stat(c.file.c_str(), &st) == 0)
                fileKb = (long)(st.st_size / 1024);
            // Raster and library memory are each held to the limit; the file
            // is read whole; 64 MB for the process itself.
            EXPECT_LE(peakKb, 2 * kLimitMb * 1024 + fileKb + 64 * 1024);
            printf("[ hostile  ] %-34s %-5s %-8s %6d x %-6d %8.2f s  peak %7ld KB\n", c.name,
                   thumb ? "thumb" : "load", what, w, h, r.seconds, peakKb);
        }
    }
}

// The campaign's regression file: a flat 4096 x 4096 progressive stream
// whose 33-byte last scan is repeated 5000 times (264 KB). Without the
// scan bound it kept the decoder busy for about a minute.
TEST(ScanLimit, RegressionFileFailsCleanly)
{
    const std::string file = std::string(PIXMOOR_TEST_DATA) + "/progressive-5010-scans-4096x4096.jpg";
    ChildRun r = Probe(file, false);
    EXPECT_TRUE(r.exited) << r.output;
    char what[16] = "";
    int w = -1, h = -1;
    long peakKb = 0;
    ASSERT_EQ(sscanf(r.output.c_str(), "%15s %d %d %ld", what, &w, &h, &peakKb), 4) << r.output;
    EXPECT_STREQ(what, "null");
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    printf("[ hostile  ] %-34s %-5s %-8s %6d x %-6d %8.2f s  peak %7ld KB\n",
           "progressive 4096^2, 5010 scans", "load", what, w, h, r.seconds, peakKb);
}

}  // namespace
