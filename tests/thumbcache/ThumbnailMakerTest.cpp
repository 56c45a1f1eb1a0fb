// New thumbnails made from chosen rows against the whole decode they
// replace: for every test file and for photos of several sizes, samplings
// and codings (progressive, restart markers, cut short, a fatal marker after
// the scan), under the machine's budget and under a small one, MakeThumbnail
// gives what LoadFile, SetScaledImage("tmp", ...) and ExportRgb give: the
// same bytes, the same size or null, and the same messages.

#include <dirent.h>
#include <memory>
#include <string>
#include <vector>

#include "CacheTestSupport.h"
#include "codec/JpegConverter.h"
#include "image/RgbImage.h"
#include "platform/MemoryLimit.h"
#include "tests/codec/CodecTestSupport.h"
#include "thumbcache/ThumbnailMaker.h"
#include "thumbcache/ThumbnailSize.h"

namespace {

struct Thumbnail {
    std::vector<unsigned char> pixels;
    bool null = true;
    int width = 0, height = 0;
    std::string messages;
};

Thumbnail Capture(unsigned char* pixels, int width, int height, CStderrCapture& capture)
{
    Thumbnail t;
    t.null = pixels == nullptr;
    if (pixels)
        t.pixels.assign(pixels, pixels + (size_t)width * height * 3);
    free(pixels);
    t.width = width;
    t.height = height;
    t.messages = capture.Text();
    return t;
}

// The thumbnail as it was always made: the whole photo decoded and shrunk.
Thumbnail WholeDecodeThumbnail(const std::string& path)
{
    CStderrCapture capture;
    CJpegConverter converter;
    unsigned char* photo = converter.LoadFile(path.c_str());
    int w = converter.GetWidth(), h = converter.GetHeight();
    if (!photo)
        return Capture(nullptr, w, h, capture);
    int tw = 0, th = 0;
    FitThumbnailSize(w, h, &tw, &th);
    CRgbImage image;
    image.SetScaledImage("tmp", photo, w, h, tw, th);
    free(photo);
    unsigned char* thumb = image.ExportRgb();
    return Capture(thumb, thumb ? tw : 0, thumb ? th : 0, capture);
}

Thumbnail ChosenRowsThumbnail(const std::string& path)
{
    CStderrCapture capture;
    int w = -1, h = -1;
    unsigned char* thumb = MakeThumbnail(path.c_str(), &w, &h);
    return Capture(thumb, w, h, capture);
}

struct Generated {
    const char* name;
    int width, height;
    EncodeOptions options;
    int keepPercent;  // 100: whole; else cut to that share of the bytes
};

using ThumbnailMakerTest = CacheTest;

TEST_F(ThumbnailMakerTest, ChosenRowsGiveTheWholeDecodesThumbnailForEveryStream)
{
    std::vector<std::string> files;
    DIR* dir = opendir(PIXMOOR_TEST_DATA);
    ASSERT_NE(dir, nullptr);
    while (struct dirent* e = readdir(dir)) {
        std::string name = e->d_name;
        if (name.size() > 4 && name.substr(name.size() - 4) == ".jpg")
            files.push_back(DataPath(name));
    }
    closedir(dir);
    ASSERT_GT(files.size(), 60u);

    auto opts = [](int h, int v, bool progressive, bool gray = false, int restart = 0) {
        EncodeOptions o;
        o.hSamp = h;
        o.vSamp = v;
        o.progressive = progressive;
        o.gray = gray;
        o.restartRows = restart;
        return o;
    };
    const Generated generated[] = {
        {"420-3000x2000", 3000, 2000, opts(2, 2, false), 100},
        {"420-odd-2001x1337", 2001, 1337, opts(2, 2, false), 100},
        {"422-1999x1001", 1999, 1001, opts(2, 1, false), 100},
        {"444-1203x905", 1203, 905, opts(1, 1, false), 100},
        {"440-1100x1501", 1100, 1501, opts(1, 2, false), 100},
        {"gray-1234x777", 1234, 777, opts(1, 1, false, true), 100},
        {"restarts-1600x1203", 1600, 1203, opts(2, 2, false, false, 1), 100},
        {"progressive-420-1500x1000", 1500, 1000, opts(2, 2, true), 100},
        {"progressive-444-999x1333", 999, 1333, opts(1, 1, true), 100},
        {"progressive-cut-1600x1067", 1600, 1067, opts(2, 2, true), 40},
        {"baseline-cut-2000x1500", 2000, 1500, opts(2, 2, false), 60},
        {"tall-301x4001", 301, 4001, opts(2, 2, false), 100},
        {"narrow-420-3x1001", 3, 1001, opts(2, 2, false), 100},
        {"narrow-progressive-440-4x999", 4, 999, opts(1, 2, true), 100},
        {"fits-150x100", 150, 100, opts(2, 2, false), 100},
        {"tiny-120x90", 120, 90, opts(2, 2, false), 100},
    };
    for (const Generated& g : generated) {
        std::vector<unsigned char> jpeg = LibraryEncodeWith(PhotoPixels(g.width, g.height, 7),
                                                            g.width, g.height, g.options);
        jpeg.resize(jpeg.size() * (size_t)g.keepPercent / 100);
        files.push_back(Native(std::string(g.name) + ".jpg"));
        WriteWholeFile(files.back(), jpeg);
    }
    // A second frame header after the scan: a fatal error that comes after
    // the last row any thumbnail reads.
    std::vector<unsigned char> late = ReadBytes(files[files.size() - 16]);
    const unsigned char sof[] = {0xFF, 0xC0, 0x00, 0x11, 0x08, 0x00, 0x10, 0x00, 0x10, 0x03,
                                 0x01, 0x22, 0x00, 0x02, 0x11, 0x01, 0x03, 0x11, 0x01};
    late.insert(late.end() - 2, sof, sof + sizeof sof);
    files.push_back(Native("fatal-after-scan.jpg"));
    WriteWholeFile(files.back(), late);

    // The machine's budget, then one that refuses the larger photos and
    // leaves progressive ones too little for their coefficients.
    for (uint64_t limit : {(uint64_t)0, (uint64_t)6 << 20}) {
        uint64_t old = SetRasterByteLimit(limit);
        for (const std::string& file : files) {
            SCOPED_TRACE(file + (limit ? " under a 6 MB budget" : ""));
            Thumbnail whole = WholeDecodeThumbnail(file);
            Thumbnail chosen = ChosenRowsThumbnail(file);
            EXPECT_EQ(chosen.null, whole.null);
            EXPECT_EQ(chosen.width, whole.width);
            EXPECT_EQ(chosen.height, whole.height);
            EXPECT_EQ(chosen.messages, whole.messages);
            EXPECT_TRUE(chosen.pixels == whole.pixels);
        }
        SetRasterByteLimit(old);
    }
}

}  // namespace
