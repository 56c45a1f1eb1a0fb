// The Exif orientation reader over tagged, damaged and mutated streams. It
// reads untrusted bytes: every damaged block must mean "as stored" and leave
// the decode exactly as it is without the block.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "codec/ExifOrientation.h"
#include "codec/JpegConverter.h"
#include "tests/codec/CodecTestSupport.h"
#include "tools/ExifBlock.h"

namespace {

typedef std::vector<unsigned char> Bytes;

Bytes Plain()
{
    return LibraryEncode(PhotoPixels(24, 16, 7), 24, 16, 90);
}

int Read(const Bytes& b)
{
    return ReadExifOrientation(b.data(), b.size());
}

void Put16(Bytes& b, size_t at, unsigned v, bool bigEndian)
{
    b[at + (bigEndian ? 0 : 1)] = (unsigned char)(v >> 8);
    b[at + (bigEndian ? 1 : 0)] = (unsigned char)v;
}

void Put32(Bytes& b, size_t at, uint32_t v, bool bigEndian)
{
    Put16(b, at + (bigEndian ? 0 : 2), v >> 16, bigEndian);
    Put16(b, at + (bigEndian ? 2 : 0), v & 0xFFFF, bigEndian);
}

// Offsets in the TIFF block of ExifTiffBlock(o, order, 3): IFD0 at 8, its
// count at 8, the Orientation entry second, at 22.
const size_t kIfd = 8;
const size_t kOrientationEntry = kIfd + 2 + 12;

Bytes Tiff(void (*damage)(Bytes&, bool), bool bigEndian)
{
    Bytes t = ExifTiffBlock(6, bigEndian);
    damage(t, bigEndian);
    return t;
}

TEST(ExifOrientation, EveryValueInBothByteOrders)
{
    const Bytes plain = Plain();
    for (bool bigEndian : { false, true })
        for (int o = 1; o <= 8; ++o) {
            SCOPED_TRACE(std::to_string(o) + (bigEndian ? " MM" : " II"));
            EXPECT_EQ(Read(WithExifOrientation(plain, o, bigEndian)), o);
            // The same block behind the JFIF marker, where most cameras and
            // editors leave it (APP0 is 18 bytes after SOI).
            Bytes behindJfif(plain.begin(), plain.begin() + 20);
            const Bytes seg = ExifSegment(ExifTiffBlock(o, bigEndian, 5));
            behindJfif.insert(behindJfif.end(), seg.begin(), seg.end());
            behindJfif.insert(behindJfif.end(), plain.begin() + 20, plain.end());
            ASSERT_EQ(plain[20], 0xFF);
            EXPECT_EQ(Read(behindJfif), o);
        }
}

TEST(ExifOrientation, TheFirstExifBlockDecidesAndOtherApp1BlocksAreSkipped)
{
    const Bytes plain = Plain();
    // An XMP packet (APP1 without the Exif header) before the Exif block.
    const std::string xmp = "http://ns.adobe.com/xap/1.0/";
    Bytes xmpSeg(xmp.begin(), xmp.end());
    xmpSeg.push_back(0);
    const Bytes xmpHeader = { 0xFF, 0xE1, 0, (unsigned char)(2 + xmpSeg.size()) };
    xmpSeg.insert(xmpSeg.begin(), xmpHeader.begin(), xmpHeader.end());
    const Bytes tagged = WithExifOrientation(plain, 8);
    EXPECT_EQ(Read(InsertAfterSoi(tagged, xmpSeg)), 8);
    // Of two Exif blocks the first decides, whichever value it holds.
    const Bytes three = ExifSegment(ExifTiffBlock(3, true));
    const Bytes one = ExifSegment(ExifTiffBlock(1, true));
    EXPECT_EQ(Read(InsertAfterSoi(WithExifOrientation(plain, 1), three)), 3);
    EXPECT_EQ(Read(InsertAfterSoi(WithExifOrientation(plain, 3), one)), 1);
    // A LONG orientation is read in its own byte order.
    for (bool be : { false, true }) {
        Bytes t = ExifTiffBlock(1, be);
        Put16(t, kOrientationEntry + 2, 4, be);
        Put32(t, kOrientationEntry + 8, 5, be);
        EXPECT_EQ(Read(InsertAfterSoi(plain, ExifSegment(t))), 5);
    }
}

// Every damaged block means "as stored", and the tagged stream decodes to
// exactly the pixels of the untagged one.
TEST(ExifOrientation, DamagedBlocksMeanAsStoredAndDecodeAsBefore)
{
    struct Case {
        const char* what;
        void (*damage)(Bytes&, bool);
    };
    const Case cases[] = {
        { "value 0", [](Bytes& t, bool be) { Put16(t, kOrientationEntry + 8, 0, be); } },
        { "value 9", [](Bytes& t, bool be) { Put16(t, kOrientationEntry + 8, 9, be); } },
        { "value 65535", [](Bytes& t, bool be) { Put16(t, kOrientationEntry + 8, 65535, be); } },
        { "ASCII type", [](Bytes& t, bool be) { Put16(t, kOrientationEntry + 2, 2, be); } },
        { "count 2", [](Bytes& t, bool be) { Put32(t, kOrientationEntry + 4, 2, be); } },
        { "count 0", [](Bytes& t, bool be) { Put32(t, kOrientationEntry + 4, 0, be); } },
        { "byte order IM", [](Bytes& t, bool) { t[0] = 'I'; t[1] = 'M'; } },
        { "magic 43", [](Bytes& t, bool be) { Put16(t, 2, 43, be); } },
        { "IFD0 past the block", [](Bytes& t, bool be) { Put32(t, 4, 0xFFFFFFF0u, be); } },
        { "IFD0 at the block's end",
          [](Bytes& t, bool be) { Put32(t, 4, (uint32_t)t.size() - 1, be); } },
        { "IFD0 inside the header", [](Bytes& t, bool be) { Put32(t, 4, 2, be); } },
        { "more entries than the block holds", [](Bytes& t, bool be) { Put16(t, kIfd, 65535, be); } },
        { "block cut inside the entry", [](Bytes& t, bool) { t.resize(kOrientationEntry + 9); } },
        { "block cut after the count", [](Bytes& t, bool) { t.resize(kIfd + 2); } },
        { "block cut inside the header", [](Bytes& t, bool) { t.resize(5); } },
        { "empty block", [](Bytes& t, bool) { t.clear(); } },
        // IFD0's link to the next IFD points back at IFD0: never followed.
        { "loop without the tag", [](Bytes& t, bool be) {
              Put16(t, kOrientationEntry, 0x0113, be);
              Put32(t, t.size() - 4, kIfd, be);
          } },
    };
    const Bytes plain = Plain();
    CJpegConverter reference;
    std::unique_ptr<unsigned char, FreeDeleter> expected(
        reference.Decode(plain.data(), (uint32_t)plain.size()));
    ASSERT_TRUE(expected);
    const size_t bytes = (size_t)reference.GetWidth() * reference.GetHeight() * 3;
    for (const Case& c : cases)
        for (bool be : { false, true }) {
            SCOPED_TRACE(std::string(c.what) + (be ? " MM" : " II"));
            const Bytes tagged = InsertAfterSoi(plain, ExifSegment(Tiff(c.damage, be)));
            EXPECT_EQ(Read(tagged), 1);
            CJpegConverter conv;
            std::unique_ptr<unsigned char, FreeDeleter> pixels(
                conv.Decode(tagged.data(), (uint32_t)tagged.size()));
            ASSERT_TRUE(pixels);
            EXPECT_EQ(conv.GetOrientation(), 1);
            ASSERT_EQ(conv.GetWidth(), reference.GetWidth());
            ASSERT_EQ(conv.GetHeight(), reference.GetHeight());
            EXPECT_EQ(0, memcmp(pixels.get(), expected.get(), bytes));
        }
}

TEST(ExifOrientation, DamagedSegmentsAndStreamsMeanAsStored)
{
    const Bytes tagged = WithExifOrientation(Plain(), 6);
    ASSERT_EQ(Read(tagged), 6);
    Bytes noSoi = tagged;
    noSoi[1] = 0xD9;
    Bytes shortLength = tagged;  // APP1 length below 2
    shortLength[4] = 0;
    shortLength[5] = 1;
    Bytes pastEnd = tagged;      // APP1 length beyond the stream
    pastEnd[4] = 0xFF;
    pastEnd[5] = 0xFF;
    Bytes noTiff = InsertAfterSoi(Plain(), Bytes{ 0xFF, 0xE1, 0, 8, 'E', 'x', 'i', 'f', 0, 0 });
    Bytes garbage = tagged;      // no marker where one must start
    garbage[2] = 0x00;
    for (const Bytes* b : { &noSoi, &shortLength, &pastEnd, &noTiff, &garbage })
        EXPECT_EQ(Read(*b), 1);
    // Cut anywhere before the block's end: the segment no longer fits and
    // nothing of it is read; cut after it, the tag is whole.
    const size_t segmentEnd = 2 + ExifSegment(ExifTiffBlock(6, false)).size();
    for (size_t n = 0; n <= segmentEnd + 4; ++n)
        EXPECT_EQ(Read(Bytes(tagged.begin(), tagged.begin() + n)), n < segmentEnd ? 1 : 6) << n;
    // A tag after the first scan is picture data, not metadata.
    const Bytes segment = ExifSegment(ExifTiffBlock(6, false));
    Bytes afterScan = Plain();
    afterScan.insert(afterScan.end() - 2, segment.begin(), segment.end());
    EXPECT_EQ(Read(afterScan), 1);
    EXPECT_EQ(ReadExifOrientation(nullptr, 0), 1);
}

// Random damage to a tagged stream: the reader stays inside the bytes (the
// sanitizer build checks every read) and answers 1 to 8.
TEST(ExifOrientation, MutatedStreamsAlwaysGiveAValidValue)
{
    std::mt19937 rng(2026);
    const Bytes base = WithExifOrientation(Plain(), 7, true);
    // The markers up to a little past the Exif block.
    const size_t head = 2 + ExifSegment(ExifTiffBlock(7, true)).size() + 24;
    int changed = 0;
    for (int run = 0; run < 20000; ++run) {
        Bytes b(base.begin(), base.begin() + head);
        const int flips = 1 + (int)(rng() % 4);
        for (int f = 0; f < flips; ++f)
            b[rng() % b.size()] = (unsigned char)rng();
        b.resize(rng() % (b.size() + 1));
        // Read from a block of its exact size, so a read past it is caught.
        std::unique_ptr<unsigned char, FreeDeleter> exact((unsigned char*)malloc(b.size() + 1));
        memcpy(exact.get(), b.data(), b.size());
        const int o = ReadExifOrientation(exact.get(), b.size());
        ASSERT_GE(o, 1);
        ASSERT_LE(o, 8);
        changed += o != 7;
    }
    EXPECT_GT(changed, 0);
}

}  // namespace
