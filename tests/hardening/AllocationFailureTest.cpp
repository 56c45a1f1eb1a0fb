// Every allocation of the codec's and the image's operations made to fail
// in turn (AllocationCampaign.h): each ends with null, -1 or no raster as its
// contract says, or with the full result.

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "AllocationCampaign.h"
#include "codec/JpegConverter.h"
#include "image/RgbImage.h"
#include "tests/thumbcache/CacheTestSupport.h"

namespace {

// One raster of an image: size, fill and the pixel bytes without the fill.
struct Raster {
    bool present = false;
    int width = 0, height = 0, pad = 0;
    std::vector<unsigned char> bytes;
    bool operator==(const Raster& o) const
    {
        return present == o.present && width == o.width && height == o.height && pad == o.pad &&
               bytes == o.bytes;
    }
};

Raster Snap(const unsigned char* bits, int width, int height, int pad)
{
    Raster r;
    r.present = bits != nullptr;
    r.width = width;
    r.height = height;
    r.pad = pad;
    if (bits)
        for (int y = 0; y < height; ++y) {
            const unsigned char* row = bits + (size_t)y * ((size_t)width * 3 + pad);
            r.bytes.insert(r.bytes.end(), row, row + (size_t)width * 3);
        }
    return r;
}
Raster Full(const CRgbImage& i)
{
    return Snap(i.GetFullBits(), i.GetFullWidth(), i.GetFullHeight(), i.GetFullPad());
}
Raster Display(const CRgbImage& i)
{
    return Snap(i.GetBits(), i.GetWidth(), i.GetHeight(), i.GetPad());
}
const Raster kNone;

class AllocationFailure : public CacheTest {};

TEST_F(AllocationFailure, LoadFileReturnsNullOrThePicture)
{
    const std::string photo = Native("photo.jpg");
    WritePhoto(photo, 64, 48);
    CJpegConverter ref;
    unsigned char* expected = ref.LoadFile("C:/photo.jpg");
    ASSERT_NE(expected, nullptr);
    std::vector<unsigned char> want(expected, expected + 64 * 48 * 3);
    free(expected);

    CJpegConverter conv;
    unsigned char* px = nullptr;
    Campaign c;
    c.op = [&] { px = conv.LoadFile("C:/photo.jpg"); };
    c.check = [&](bool hit, long k) {
        if (px) {
            EXPECT_EQ(conv.GetWidth(), 64);
            EXPECT_EQ(conv.GetHeight(), 48);
            EXPECT_EQ(memcmp(px, want.data(), want.size()), 0) << "k=" << k;
        } else {
            EXPECT_TRUE(hit);
            // 0 x 0, or the picture's size when only the raster was missing.
            bool zero = conv.GetWidth() == 0 && conv.GetHeight() == 0;
            bool sized = conv.GetWidth() == 64 && conv.GetHeight() == 48;
            EXPECT_TRUE(zero || sized) << "k=" << k;
        }
    };
    c.cleanup = [&] {
        free(px);
        px = nullptr;
    };
    EXPECT_GT(RunCampaign("LoadFile", c), 5);
}

TEST_F(AllocationFailure, EncodeReturnsNullOrTheStream)
{
    std::vector<unsigned char> pixels = Pixels(37, 23);
    CJpegConverter ref;
    unsigned char* expected = ref.Encode(pixels.data(), 37, 23);
    ASSERT_NE(expected, nullptr);
    std::vector<unsigned char> want(expected, expected + ref.GetSize());
    free(expected);

    CJpegConverter enc;
    unsigned char* out = nullptr;
    Campaign c;
    c.op = [&] { out = enc.Encode(pixels.data(), 37, 23); };
    c.check = [&](bool hit, long k) {
        if (out) {
            ASSERT_EQ((size_t)enc.GetSize(), want.size()) << "k=" << k;
            EXPECT_EQ(memcmp(out, want.data(), want.size()), 0) << "k=" << k;
        } else {
            EXPECT_TRUE(hit);
            EXPECT_EQ(enc.GetSize(), 0) << "k=" << k;
        }
    };
    c.cleanup = [&] {
        free(out);
        out = nullptr;
    };
    EXPECT_GT(RunCampaign("Encode", c), 5);
}

// The image operations share one shape: a reference image made without
// failures gives the full result; a failed run must match one of the states
// the contract allows.
class ImageAllocationFailure : public ::testing::Test {
protected:
    std::vector<unsigned char> m_pixels = Pixels(37, 23);
    std::unique_ptr<CRgbImage> m_image;
    int m_result = 0;
};

TEST_F(ImageAllocationFailure, SetImageLeavesNoRasterOrOnlyTheFullOne)
{
    CRgbImage ref;
    ASSERT_EQ(ref.SetImage("C:/x/a.jpg", m_pixels.data(), 37, 23), 0);
    Campaign c;
    c.setup = [&] { m_image.reset(new CRgbImage); };
    c.op = [&] { m_result = m_image->SetImage("C:/x/a.jpg", m_pixels.data(), 37, 23); };
    c.check = [&](bool hit, long k) {
        const char* name = m_image->GetName();
        EXPECT_TRUE(!name || strcmp(name, "C:/x/a.jpg") == 0) << "k=" << k;
        if (m_result == 0) {
            EXPECT_TRUE(name != nullptr) << "k=" << k;
            EXPECT_TRUE(Full(*m_image) == Full(ref)) << "k=" << k;
            EXPECT_TRUE(Display(*m_image) == Display(ref)) << "k=" << k;
        } else {
            EXPECT_TRUE(hit);
            EXPECT_EQ(m_result, -1);
            EXPECT_TRUE(Full(*m_image) == kNone || Full(*m_image) == Full(ref)) << "k=" << k;
            EXPECT_TRUE(Display(*m_image) == kNone) << "k=" << k;
        }
    };
    c.cleanup = [&] { m_image.reset(); };
    EXPECT_GE(RunCampaign("SetImage", c), 2);  // the name and the raster
}

TEST_F(ImageAllocationFailure, SetScaledImageLeavesNoRaster)
{
    CRgbImage ref;
    ASSERT_EQ(ref.SetScaledImage("tmp", m_pixels.data(), 37, 23, 20, 30), 0);
    Campaign c;
    c.setup = [&] { m_image.reset(new CRgbImage); };
    c.op = [&] { m_result = m_image->SetScaledImage("tmp", m_pixels.data(), 37, 23, 20, 30); };
    c.check = [&](bool hit, long k) {
        if (m_result == 0) {
            EXPECT_TRUE(Full(*m_image) == Full(ref)) << "k=" << k;
            EXPECT_TRUE(Display(*m_image) == Display(ref)) << "k=" << k;
        } else {
            EXPECT_TRUE(hit);
            EXPECT_EQ(m_result, -1);
            EXPECT_TRUE(Full(*m_image) == kNone && Display(*m_image) == kNone) << "k=" << k;
        }
        EXPECT_NE(m_image->GetFullBits(), m_pixels.data());
        EXPECT_NE(m_image->GetBits(), m_pixels.data());
    };
    c.cleanup = [&] { m_image.reset(); };
    EXPECT_GE(RunCampaign("SetScaledImage", c), 3);
}

TEST_F(ImageAllocationFailure, RescaleKeepsTheFullRaster)
{
    CRgbImage ref;
    ASSERT_EQ(ref.SetImage("a", m_pixels.data(), 37, 23), 0);
    ASSERT_EQ(ref.Rescale(20, 30), 0);
    Campaign c;
    c.setup = [&] {
        m_image.reset(new CRgbImage);
        ASSERT_EQ(m_image->SetImage("a", m_pixels.data(), 37, 23), 0);
    };
    c.op = [&] { m_result = m_image->Rescale(20, 30); };
    c.check = [&](bool hit, long k) {
        EXPECT_TRUE(Full(*m_image) == Full(ref)) << "k=" << k;
        if (m_result == 0) {
            EXPECT_TRUE(Display(*m_image) == Display(ref)) << "k=" << k;
        } else {
            EXPECT_TRUE(hit);
            EXPECT_EQ(m_result, -1);
            EXPECT_TRUE(Display(*m_image) == kNone) << "k=" << k;
        }
    };
    c.cleanup = [&] { m_image.reset(); };
    EXPECT_GE(RunCampaign("Rescale", c), 1);
}

// A rotation turns the full raster, then the display raster; a failed
// allocation stops it where it is.
void RotationCampaign(const char* name, bool clockwise, const std::vector<unsigned char>& pixels)
{
    auto make = [&](CRgbImage& image) {
        ASSERT_EQ(image.SetImage("a", pixels.data(), 37, 23), 0);
        ASSERT_EQ(image.Rescale(20, 30), 0);
    };
    CRgbImage before;
    make(before);
    CRgbImage after;
    make(after);
    clockwise ? after.RotateClockwise() : after.RotateCounterClockwise();

    std::unique_ptr<CRgbImage> image;
    Campaign c;
    c.setup = [&] {
        image.reset(new CRgbImage);
        make(*image);
    };
    c.op = [&] { clockwise ? image->RotateClockwise() : image->RotateCounterClockwise(); };
    c.check = [&](bool hit, long k) {
        Raster full = Full(*image);
        Raster display = Display(*image);
        if (!hit) {
            EXPECT_TRUE(full == Full(after) && display == Display(after));
        } else if (full == Full(before)) {
            EXPECT_TRUE(display == Display(before)) << "k=" << k;
        } else {
            EXPECT_TRUE(full == Full(after)) << "k=" << k;
            EXPECT_TRUE(display == Display(before) || display == Display(after)) << "k=" << k;
        }
        const BITMAPINFOHEADER& h = image->GetBitmapInfo()->bmiHeader;
        EXPECT_EQ(h.biWidth, image->GetWidth());
        EXPECT_EQ(h.biHeight, image->GetHeight());
    };
    c.cleanup = [&] { image.reset(); };
    EXPECT_GE(RunCampaign(name, c), 2);
}

TEST_F(ImageAllocationFailure, RotationsTurnBothRastersOrStopCleanly)
{
    RotationCampaign("RotateClockwise", true, m_pixels);
    RotationCampaign("RotateCounterClockwise", false, m_pixels);
}

}  // namespace
