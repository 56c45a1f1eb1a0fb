#include "tools/ExifBlock.h"

#include <cstddef>

namespace {

struct TiffWriter {
    std::vector<unsigned char> bytes;
    bool bigEndian;

    void U16(uint32_t v)
    {
        if (bigEndian) {
            bytes.push_back((unsigned char)(v >> 8));
            bytes.push_back((unsigned char)v);
        } else {
            bytes.push_back((unsigned char)v);
            bytes.push_back((unsigned char)(v >> 8));
        }
    }
    void U32(uint32_t v)
    {
        if (bigEndian) {
            U16(v >> 16);
            U16(v & 0xFFFF);
        } else {
            U16(v & 0xFFFF);
            U16(v >> 16);
        }
    }
    // An entry whose value fits in the entry: a SHORT, left-justified.
    void ShortEntry(uint32_t tag, uint32_t value)
    {
        U16(tag);
        U16(3);
        U32(1);
        U16(value);
        U16(0);
    }
};

}  // namespace

std::vector<unsigned char> ExifTiffBlock(int orientation, bool bigEndian, int entries)
{
    TiffWriter w{ {}, bigEndian };
    w.bytes.push_back(bigEndian ? 'M' : 'I');
    w.bytes.push_back(bigEndian ? 'M' : 'I');
    w.U16(42);
    w.U32(8);
    w.U16((uint32_t)entries);
    // Tags in ascending order, as TIFF wants: ImageWidth-like tags before
    // the orientation, ResolutionUnit-like ones after it.
    const int before = entries > 1 ? 1 : 0;
    for (int i = 0; i < before; ++i)
        w.ShortEntry(0x0100 + (uint32_t)i, 640);
    if (entries > 0)
        w.ShortEntry(0x0112, (uint32_t)orientation);
    for (int i = before + 1; i < entries; ++i)
        w.ShortEntry(0x0128 + (uint32_t)i, 2);
    w.U32(0);  // no next IFD
    return w.bytes;
}

std::vector<unsigned char> ExifSegment(const std::vector<unsigned char>& tiff)
{
    const size_t length = 2 + 6 + tiff.size();
    std::vector<unsigned char> s = { 0xFF, 0xE1, (unsigned char)(length >> 8), (unsigned char)length,
                                     'E', 'x', 'i', 'f', 0, 0 };
    s.insert(s.end(), tiff.begin(), tiff.end());
    return s;
}

std::vector<unsigned char> InsertAfterSoi(const std::vector<unsigned char>& jpeg,
                                          const std::vector<unsigned char>& segment)
{
    std::vector<unsigned char> out(jpeg.begin(), jpeg.begin() + (jpeg.size() < 2 ? jpeg.size() : 2));
    out.insert(out.end(), segment.begin(), segment.end());
    if (jpeg.size() > 2)
        out.insert(out.end(), jpeg.begin() + 2, jpeg.end());
    return out;
}

std::vector<unsigned char> WithExifOrientation(const std::vector<unsigned char>& jpeg,
                                               int orientation, bool bigEndian)
{
    return InsertAfterSoi(jpeg, ExifSegment(ExifTiffBlock(orientation, bigEndian)));
}
