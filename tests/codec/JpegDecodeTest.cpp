// Decoding: pixels against libjpeg-turbo's own djpeg, the failure contract,
// the messages on standard error, and file loading through the drive table.

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

#include "codec/JpegConverter.h"
#include "platform/DriveTable.h"
#include "tests/codec/CodecTestSupport.h"

namespace {

typedef std::unique_ptr<unsigned char, FreeDeleter> Raster;

struct ReferenceImage {
    const char* file;
    int width;
    int height;
    uint64_t digest;  // FNV-1a 64 of djpeg -ppm's pixels (gray repeated x3); 0: not checked
};

// Digests of `djpeg -ppm` (libjpeg-turbo 2.1.5, default settings) for every
// picture in the data folder that decodes without damage. Four-component
// files are in the table too: djpeg converts Adobe CMYK with the same
// c x k / 255 rule the sink uses.
const ReferenceImage kReferences[] = {
    {"arithmetic-227x149.jpg", 227, 149, 0x0cc30ec4defc0ec6ull},
    {"baseline-227x149.jpg", 227, 149, 0x6636942c099383b0ull},
    {"cmyk-adobe-256x256.jpg", 256, 256, 0xce899bc65c2e4b91ull},
    {"cmyk-adobe-32x32.jpg", 32, 32, 0xc34c87646c5f0f0dull},
    {"cropped-124x92.jpg", 124, 92, 0x43ddc7c7ecbe2fd3ull},
    {"grayscale-1000x1.jpg", 1000, 1, 0xa4232048a8fbf1acull},
    {"grayscale-1x1000.jpg", 1, 1000, 0x10abda32343b38d7ull},
    {"grayscale-227x149.jpg", 227, 149, 0x74f8b820143583deull},
    {"grayscale-32x32.jpg", 32, 32, 0x99317cd56217985eull},
    {"grayscale-blank-800x280.jpg", 800, 280, 0xc90da6189139c025ull},
    {"icc-profile-1x1.jpg", 1, 1, 0xd94d12186c0f2fb7ull},
    {"non-interleaved-64x16.jpg", 64, 16, 0x4f16115dcd5d2325ull},
    {"progressive-227x149.jpg", 227, 149, 0x0cc30ec4defc0ec6ull},
    {"progressive-32x32.jpg", 32, 32, 0x03f8eb7ab6d0ce0aull},
    {"progressive-650x470.jpg", 650, 470, 0x5fe7996294538c3bull},
    {"progressive-dc-only-8x8.jpg", 8, 8, 0xfaf02f7ca7dbd965ull},
    {"qtables-16bit-1x1.jpg", 1, 1, 0x01d79d1ac6c55551ull},
    {"restart-markers-33x33.jpg", 33, 33, 0x3b0b131af65aa4a9ull},
    {"rgb-components-500x333.jpg", 500, 333, 0xaa8047197abb6756ull},
    {"size-15x15.jpg", 15, 15, 0x113911d2e06f61fcull},
    {"size-17x17.jpg", 17, 17, 0xeeeb1ba906ba21f3ull},
    {"size-1x1.jpg", 1, 1, 0xa3275c196f0a2e8cull},
    {"size-2x2.jpg", 2, 2, 0x821d363ada65bacfull},
    {"size-33x33.jpg", 33, 33, 0x7d7fba079d2437dbull},
    {"size-3x3.jpg", 3, 3, 0x6069eb4b3b84a258ull},
    {"size-7x7.jpg", 7, 7, 0xa8e64ee3af150d07ull},
    {"ycck-adobe-500x333.jpg", 500, 333, 0x8c3ecfc46cf22e1eull},
};

class ReferenceDecode : public testing::TestWithParam<ReferenceImage> {};

// Catches any change in the pixels: wrong colour conversion, rows shifted by
// the sink, grayscale not tripled, data lost between 4096-byte chunks.
TEST_P(ReferenceDecode, PixelsMatchDjpeg)
{
    const ReferenceImage& ref = GetParam();
    std::vector<unsigned char> bytes = ReadBytes(DataPath(ref.file));
    ASSERT_FALSE(bytes.empty());
    CJpegConverter conv;
    CStderrCapture capture;
    Raster raster(conv.Decode(bytes.data(), (uint32_t)bytes.size()));
    ASSERT_NE(raster, nullptr);
    EXPECT_EQ(conv.GetWidth(), ref.width);
    EXPECT_EQ(conv.GetHeight(), ref.height);
    EXPECT_EQ(Fnv1a64(raster.get(), (size_t)ref.width * ref.height * 3), ref.digest);
    EXPECT_EQ(CountOf(capture.Text(), "Too many bytes"), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, ReferenceDecode, testing::ValuesIn(kReferences),
                         [](const testing::TestParamInfo<ReferenceImage>& info) {
                             std::string name = info.param.file;
                             for (char& c : name)
                                 if (!isalnum((unsigned char)c))
                                     c = '_';
                             return name;
                         });

// A grayscale stream must come out as equal R, G, B triples filling
// width x height x 3 bytes (not one byte per pixel).
TEST(JpegDecode, GrayscaleRepeatsEachSampleThreeTimes)
{
    std::vector<unsigned char> bytes = ReadBytes(DataPath("grayscale-227x149.jpg"));
    CJpegConverter conv;
    Raster raster(conv.Decode(bytes.data(), (uint32_t)bytes.size()));
    ASSERT_NE(raster, nullptr);
    ASSERT_EQ(conv.GetWidth(), 227);
    ASSERT_EQ(conv.GetHeight(), 149);
    const unsigned char* p = raster.get();
    int distinct = 0;
    for (int i = 0; i < 227 * 149; i++, p += 3) {
        ASSERT_EQ(p[0], p[1]) << "pixel " << i;
        ASSERT_EQ(p[0], p[2]) << "pixel " << i;
        if (i > 0 && p[0] != p[-3])
            distinct++;
    }
    EXPECT_GT(distinct, 1000);  // a real picture, not a constant fill
}

TEST(JpegDecode, OneByOneColourGivesThreeBytes)
{
    std::vector<unsigned char> bytes = ReadBytes(DataPath("size-1x1.jpg"));
    CJpegConverter conv;
    Raster raster(conv.Decode(bytes.data(), (uint32_t)bytes.size()));
    ASSERT_NE(raster, nullptr);
    EXPECT_EQ(conv.GetWidth(), 1);
    EXPECT_EQ(conv.GetHeight(), 1);
}

// A stream cut inside the scan still yields the whole picture, with exactly
// one warning line (the EOI the source inserts over and over must not print
// a line each time).
TEST(JpegDecode, TruncatedInScanGivesFullRasterAndOneWarning)
{
    std::vector<unsigned char> cut = ReadBytes(DataPath("truncated-in-scan.jpg"));
    std::vector<unsigned char> whole = ReadBytes(DataPath("baseline-227x149.jpg"));
    CJpegConverter conv;
    std::string text;
    Raster raster(DecodeCapturing(conv, cut, &text));
    ASSERT_NE(raster, nullptr);
    EXPECT_EQ(conv.GetWidth(), 227);
    EXPECT_EQ(conv.GetHeight(), 149);
    EXPECT_EQ(text, "Premature end of JPEG file\n");

    // The rows the cut left intact are the real ones.
    CJpegConverter full;
    Raster reference(full.Decode(whole.data(), (uint32_t)whole.size()));
    ASSERT_NE(reference, nullptr);
    EXPECT_EQ(memcmp(raster.get(), reference.get(), 227 * 3 * 32), 0);
    EXPECT_NE(memcmp(raster.get(), reference.get(), 227 * 3 * 149), 0);
}

struct FailureCase {
    const char* file;
    const char* message;  // expected on standard error (a whole line)
};

const FailureCase kFailures[] = {
    {"zero-length.jpg", "Empty input file\n"},
    {"not-jpeg-png.jpg", "Not a JPEG file: starts with 0x89 0x50\n"},
    {"corrupt-its-not-jpeg-ff00.jpg", "Not a JPEG file: starts with 0xff 0x00\n"},
    {"tables-only.jpg", "JPEG datastream contains no image\n"},
    {"truncated-before-scan.jpg",
     "Premature end of JPEG file\nInvalid JPEG file structure: missing SOS marker\n"},
    {"precision-12bit.jpg", "Unsupported JPEG data precision 12\n"},
    {"lossless-sof3.jpg", "Unsupported JPEG process: SOF type 0xc3\n"},
    {"corrupt-zero-height.jpg", "Empty JPEG image (DNL not supported)\n"},
};

class DecodeFailure : public testing::TestWithParam<FailureCase> {};

// A fatal library error must come back as null with 0 x 0 (not end the
// process, not leave the previous picture's size), and the library's message
// must reach standard error as one line.
TEST_P(DecodeFailure, ReturnsNullWithZeroSizeAndTheLibraryMessage)
{
    std::vector<unsigned char> bytes = ReadBytes(DataPath(GetParam().file));
    CJpegConverter conv;
    conv.m_nWidth = 640;
    conv.m_nHeight = 480;
    std::string text;
    unsigned char* raster;
    {
        CStderrCapture capture;
        raster = conv.Decode(bytes.data(), (uint32_t)bytes.size());
        text = capture.Text();
    }
    EXPECT_EQ(raster, nullptr);
    free(raster);
    EXPECT_EQ(conv.GetWidth(), 0);
    EXPECT_EQ(conv.GetHeight(), 0);
    EXPECT_EQ(text, GetParam().message);
}

INSTANTIATE_TEST_SUITE_P(Files, DecodeFailure, testing::ValuesIn(kFailures));

TEST(JpegDecode, NullInputIsEmptyInput)
{
    int w = 5, h = 5;
    CStderrCapture capture;
    EXPECT_EQ(JpegToRgb(nullptr, 0, &w, &h), nullptr);
    EXPECT_EQ(w, 0);
    EXPECT_EQ(h, 0);
    EXPECT_EQ(capture.Text(), "Empty input file\n");
}

// The source copies chunks out of the caller's bytes and writes the EOI it
// invents into its own buffer, never into the input.
TEST(JpegDecode, DecodeLeavesTheInputUntouched)
{
    for (const char* file : {"truncated-in-scan.jpg", "progressive-650x470.jpg"}) {
        std::vector<unsigned char> bytes = ReadBytes(DataPath(file));
        const std::vector<unsigned char> before = bytes;
        CJpegConverter conv;
        CStderrCapture capture;
        Raster raster(conv.Decode(bytes.data(), (uint32_t)bytes.size()));
        EXPECT_NE(raster, nullptr) << file;
        EXPECT_EQ(bytes, before) << file;
    }
}

// Decoding on two threads at once must give each its own pixels: state that
// lived at file scope would mix the two conversions.
TEST(JpegDecode, ConversionsRunSideBySide)
{
    const std::vector<unsigned char> a = ReadBytes(DataPath("progressive-650x470.jpg"));
    const std::vector<unsigned char> b = ReadBytes(DataPath("rgb-components-500x333.jpg"));
    auto run = [](const std::vector<unsigned char>* bytes, uint64_t digest, int* mismatches) {
        for (int i = 0; i < 20; i++) {
            CJpegConverter conv;
            Raster raster(conv.Decode(bytes->data(), (uint32_t)bytes->size()));
            if (!raster || Fnv1a64(raster.get(), (size_t)conv.GetWidth() * conv.GetHeight() * 3) !=
                               digest)
                (*mismatches)++;
        }
    };
    int badA = 0, badB = 0;
    std::thread ta(run, &a, 0x5fe7996294538c3bull, &badA);
    std::thread tb(run, &b, 0xaa8047197abb6756ull, &badB);
    ta.join();
    tb.join();
    EXPECT_EQ(badA, 0);
    EXPECT_EQ(badB, 0);
}

struct CorruptCase {
    const char* file;
    int width;  // 0: the decode must fail
    int height;
    uint64_t digest;  // djpeg's pixels for the same file; 0: not checked
};

// Damaged files: each either fails (null, 0 x 0) or yields a full raster of
// the declared size, as djpeg decides for the same file; never a crash.
const CorruptCase kCorrupt[] = {
    {"corrupt-dc-predictor-overflow.jpg", 144, 144, 0x9cbe1098fcf1a18eull},
    {"corrupt-extraneous-data.jpg", 16, 16, 0x85258368b5f65598ull},
    {"corrupt-huffman-codes-overflow.jpg", 0, 0, 0},
    {"corrupt-its-bogus-dqt.jpg", 0, 0, 0},
    {"corrupt-its-empty-image.jpg", 0, 0, 0},
    {"corrupt-its-missing-sos.jpg", 0, 0, 0},
    {"corrupt-its-not-jpeg-ff00.jpg", 0, 0, 0},
    {"corrupt-its-partial-177x30.jpg", 177, 30, 0x69f3cb907003a69aull},
    {"corrupt-its-partial-251x5.jpg", 251, 5, 0x32807fd08eb2c885ull},
    {"corrupt-its-tall-193x31431.jpg", 193, 31431, 0},
    {"corrupt-its-too-many-components.jpg", 0, 0, 0},
    {"corrupt-its-unsupported.jpg", 0, 0, 0},
    {"corrupt-lossless-prediction-shift.jpg", 0, 0, 0},
    {"corrupt-missing-sof.jpg", 0, 0, 0},
    {"corrupt-missing-sos.jpg", 0, 0, 0},
    {"corrupt-multiple-ff-before-eoi.jpg", 640, 480, 0x5bab44d12f75664eull},
    {"corrupt-no-frame-4-bytes.jpg", 0, 0, 0},
    {"corrupt-partial-progressive.jpg", 4, 4, 0xd412acb0c068789dull},
    {"corrupt-progressive-missing-dc.jpg", 8, 8, 0xa9903b669a2d48a5ull},
    {"corrupt-subtract-with-overflow.jpg", 546, 340, 0x2f34f3c7c3645597ull},
    {"corrupt-zero-dimensions.jpg", 0, 0, 0},
    {"corrupt-zero-height.jpg", 0, 0, 0},
    {"corrupt-dimensions-over-65500.jpg", 0, 0, 0},
    {"mjpeg-without-huffman-tables.jpg", 960, 720, 0x7ba9b4859f0b905cull},
    {"truncated-in-scan.jpg", 227, 149, 0xce0bd2e223fb7e11ull},
    {"truncated-before-scan.jpg", 0, 0, 0},
    {"tables-only.jpg", 0, 0, 0},
    {"not-jpeg-png.jpg", 0, 0, 0},
    {"zero-length.jpg", 0, 0, 0},
    {"precision-12bit.jpg", 0, 0, 0},
    {"lossless-sof3.jpg", 0, 0, 0},
};

class CorruptDecode : public testing::TestWithParam<CorruptCase> {};

TEST_P(CorruptDecode, FailsCleanlyOrGivesTheFullRaster)
{
    const CorruptCase& c = GetParam();
    std::vector<unsigned char> bytes = ReadBytes(DataPath(c.file));
    CJpegConverter conv;
    CStderrCapture capture;
    Raster raster(conv.Decode(bytes.data(), (uint32_t)bytes.size()));
    EXPECT_EQ(conv.GetWidth(), c.width);
    EXPECT_EQ(conv.GetHeight(), c.height);
    if (c.width == 0) {
        EXPECT_EQ(raster, nullptr);
        return;
    }
    ASSERT_NE(raster, nullptr);
    if (c.digest) {
        EXPECT_EQ(Fnv1a64(raster.get(), (size_t)c.width * c.height * 3), c.digest);
    }
    EXPECT_EQ(CountOf(capture.Text(), "Too many bytes"), 0);
}

INSTANTIATE_TEST_SUITE_P(Files, CorruptDecode, testing::ValuesIn(kCorrupt));

// ---- LoadFile ----------------------------------------------------------------

class LoadFileTest : public testing::Test {
protected:
    void SetUp() override
    {
        char tmpl[] = "/tmp/pixmoor-codec-XXXXXX";
        ASSERT_NE(mkdtemp(tmpl), nullptr);
        m_dir = tmpl;
        m_oldDrive = CDriveTable::Instance().GetDrive('Q');
        CDriveTable::Instance().SetDrive('Q', m_dir);
    }
    void TearDown() override
    {
        CDriveTable::Instance().SetDrive('Q', m_oldDrive);
        for (const std::string& f : m_files)
            unlink(f.c_str());
        rmdir(m_dir.c_str());
    }
    std::string Put(const std::string& name, const std::vector<unsigned char>& bytes)
    {
        std::string path = m_dir + "/" + name;
        FILE* f = fopen(path.c_str(), "wb");
        if (f) {
            if (!bytes.empty())
                fwrite(bytes.data(), 1, bytes.size(), f);
            fclose(f);
        }
        m_files.push_back(path);
        return path;
    }

    std::string m_dir;
    std::string m_oldDrive;
    std::vector<std::string> m_files;
};

// The path goes through the drive table, in either separator style, and the
// file is read whole: the raster equals decoding the same bytes in memory.
TEST_F(LoadFileTest, DrivePathReadsTheWholeFile)
{
    std::vector<unsigned char> bytes = ReadBytes(DataPath("progressive-650x470.jpg"));
    Put("photo.jpg", bytes);
    for (const char* path : {"Q:/photo.jpg", "Q:\\photo.jpg", "q:/photo.jpg"}) {
        CJpegConverter conv;
        Raster raster(conv.LoadFile(path));
        ASSERT_NE(raster, nullptr) << path;
        EXPECT_EQ(conv.GetWidth(), 650);
        EXPECT_EQ(conv.GetHeight(), 470);
        EXPECT_EQ(Fnv1a64(raster.get(), 650 * 470 * 3), 0x5fe7996294538c3bull);
    }
}

TEST_F(LoadFileTest, MissingUnreadableOrEmptyGivesNullAndZeroSize)
{
    Put("empty.jpg", {});
    const char* paths[] = {"Q:/absent.jpg", "Q:/", "Q:/empty.jpg", "K:/no-such-drive.jpg"};
    CDriveTable::Instance().SetDrive('K', "");
    for (const char* path : paths) {
        CJpegConverter conv;
        conv.m_nWidth = 10;
        conv.m_nHeight = 20;
        CStderrCapture capture;
        EXPECT_EQ(conv.LoadFile(path), nullptr) << path;
        EXPECT_EQ(conv.GetWidth(), 0) << path;
        EXPECT_EQ(conv.GetHeight(), 0) << path;
    }
}

// A file longer than the decoder's 32-bit size is refused from its length
// alone: no 4 GB block is allocated or read. (The file is sparse: it takes
// no disk space.)
TEST_F(LoadFileTest, FileBeyond32BitSizeIsRefused)
{
    std::string path = Put("huge.jpg", ReadBytes(DataPath("baseline-227x149.jpg")));
    ASSERT_EQ(truncate(path.c_str(), (off_t)UINT32_MAX + 1), 0);
    CJpegConverter conv;
    CStderrCapture capture;
    EXPECT_EQ(conv.LoadFile("Q:/huge.jpg"), nullptr);
    EXPECT_EQ(conv.GetWidth(), 0);
    EXPECT_EQ(conv.GetHeight(), 0);
    EXPECT_EQ(capture.Text(), "");
}

}  // namespace
