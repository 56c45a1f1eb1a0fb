// Thumbnails of photos stored on their side: shrunk from the stored pixels
// as always, then turned and mirrored as the photo's Exif orientation says,
// and stored that way, so the cache holds the upright thumbnail.
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "CacheTestSupport.h"
#include "codec/JpegConverter.h"
#include "image/Orientation.h"
#include "tools/ExifBlock.h"

namespace {

using ThumbnailOrientationTest = CacheTest;
typedef std::unique_ptr<unsigned char, decltype(&free)> Pixels;

std::vector<unsigned char> Encode(const std::vector<unsigned char>& rgb, int w, int h, int quality)
{
    CJpegConverter encoder;
    encoder.m_nQuality = quality;
    unsigned char* jpeg = encoder.Encode(rgb.data(), w, h);
    std::vector<unsigned char> bytes(jpeg, jpeg + encoder.GetSize());
    free(jpeg);
    return bytes;
}

TEST_F(ThumbnailOrientationTest, TheCachedStreamIsTheUnturnedThumbnailTurnedAsTheTagSays)
{
    const int W = 400, H = 300;
    const std::vector<unsigned char> photo = Encode(MakePicture(W, H, 3), W, H, 90);
    WriteWholeFile(Native("plain.jpg"), photo);

    // Today's thumbnail of the stored pixels, untagged.
    CBrowseCache reference;
    int tw = 0, th = 0;
    Pixels plain(reference.GetThumbnail("C:/plain.jpg", &tw, &th), &free);
    ASSERT_TRUE(plain);
    ASSERT_EQ(tw, 150);
    ASSERT_EQ(th, 112);

    for (int o = 1; o <= 8; ++o) {
        SCOPED_TRACE(o);
        const std::string name = "tagged-" + std::to_string(o) + ".jpg";
        WriteWholeFile(Native(name), WithExifOrientation(photo, o, o > 4));
        int ew = 0, eh = 0;
        Pixels expected(OrientRgb(plain.get(), tw, th, o, &ew, &eh), &free);
        ASSERT_TRUE(expected);
        const size_t bytes = (size_t)ew * eh * 3;

        CBrowseCache cache;
        const std::string path = "C:/" + name;
        int w = 0, h = 0;
        Pixels made(cache.GetThumbnail(path.c_str(), &w, &h), &free);
        ASSERT_TRUE(made);
        ASSERT_EQ(w, ew);
        ASSERT_EQ(h, eh);
        EXPECT_EQ(0, memcmp(made.get(), expected.get(), bytes));

        // The entry holds the upright thumbnail at quality 65, with its size.
        const ParsedCache parsed = ParseCacheFile(CacheNative(), true);
        ASSERT_FALSE(parsed.entries.empty());
        const ParsedEntry& entry = parsed.entries.back();
        EXPECT_EQ(entry.name, path);
        EXPECT_EQ(entry.record[7], ew);
        EXPECT_EQ(entry.record[8], eh);
        EXPECT_EQ(entry.data, Encode(std::vector<unsigned char>(expected.get(), expected.get() + bytes), ew, eh, 65));

        // Served again from the cache: the stored stream decoded, not
        // turned a second time.
        CBrowseCache again;
        Pixels served(again.GetThumbnail(path.c_str(), &w, &h), &free);
        ASSERT_TRUE(served);
        ASSERT_EQ(w, ew);
        ASSERT_EQ(h, eh);
        CJpegConverter decoder;
        Pixels stored(decoder.Decode(entry.data.data(), (uint32_t)entry.data.size()), &free);
        ASSERT_TRUE(stored);
        EXPECT_EQ(0, memcmp(served.get(), stored.get(), bytes));
    }
}

}  // namespace
