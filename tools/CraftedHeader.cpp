#include "tools/CraftedHeader.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "tools/LibjpegEncode.h"

namespace {

// Side of the picture behind every crafted stream: noise, so that its scan
// data runs to several kilobytes.
constexpr int kSide = 192;

std::vector<unsigned char> EncodeNoise(CraftedCoding coding)
{
    std::vector<unsigned char> pixels((size_t)kSide * kSide * 3);
    uint32_t x = 2463534242u;
    for (unsigned char& p : pixels) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        p = (unsigned char)x;
    }
    return LibjpegEncodeRows(pixels, kSide, kSide, 3, [coding](jpeg_compress_struct& c) {
        if (coding == CraftedCoding::kProgressive)
            jpeg_simple_progression(&c);
        if (coding == CraftedCoding::kArithmetic)
            c.arith_code = TRUE;
    });
}

// Offset of the first marker 0xFF `code` after SOI, or 0.
size_t FindMarker(const std::vector<unsigned char>& jpeg, unsigned char code)
{
    for (size_t i = 2; i + 3 < jpeg.size(); i++)
        if (jpeg[i] == 0xFF && jpeg[i + 1] == code)
            return i;
    return 0;
}

}  // namespace

const char* CraftedCodingName(CraftedCoding coding)
{
    switch (coding) {
    case CraftedCoding::kBaseline:
        return "baseline";
    case CraftedCoding::kProgressive:
        return "progressive";
    case CraftedCoding::kArithmetic:
        return "arithmetic";
    }
    return "?";
}

std::vector<unsigned char> MakeCraftedHeader(CraftedCoding coding, int width, int height,
                                             size_t scanBytes)
{
    std::vector<unsigned char> jpeg = EncodeNoise(coding);
    static const unsigned char kFrameCodes[] = {0xC0, 0xC2, 0xC9, 0xCA};
    size_t sof = 0;
    for (unsigned char code : kFrameCodes)
        if (!sof)
            sof = FindMarker(jpeg, code);
    const size_t sos = FindMarker(jpeg, 0xDA);
    if (!sof || !sos || width < 1 || height < 1 || width > 65535 || height > 65535)
        return {};
    jpeg[sof + 5] = (unsigned char)(height >> 8);
    jpeg[sof + 6] = (unsigned char)height;
    jpeg[sof + 7] = (unsigned char)(width >> 8);
    jpeg[sof + 8] = (unsigned char)width;
    const size_t dataStart = sos + 2 + ((size_t)jpeg[sos + 2] << 8) + jpeg[sos + 3];
    const size_t end = jpeg.size() - 2;  // before EOI
    size_t cut = dataStart + scanBytes;
    if (cut > end)
        cut = end;
    jpeg.resize(cut);
    return jpeg;
}
