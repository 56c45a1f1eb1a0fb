#include "codec/ExifOrientation.h"

#include <cstdint>
#include <cstring>

namespace {

const uint16_t kOrientationTag = 0x0112;
const uint16_t kTypeShort = 3;
const uint16_t kTypeLong = 4;
const size_t kIfdEntryBytes = 12;

// Numbers of a TIFF block in its own byte order; the caller has checked that
// the bytes lie inside the block.
struct TiffReader {
    const unsigned char* base;
    bool bigEndian;

    uint16_t U16(size_t at) const
    {
        const unsigned char* p = base + at;
        return bigEndian ? (uint16_t)(p[0] << 8 | p[1]) : (uint16_t)(p[1] << 8 | p[0]);
    }
    uint32_t U32(size_t at) const
    {
        const unsigned char* p = base + at;
        return bigEndian ? (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3]
                         : (uint32_t)p[3] << 24 | (uint32_t)p[2] << 16 | (uint32_t)p[1] << 8 | p[0];
    }
};

int ValidOrDefault(uint32_t value)
{
    return value >= 1 && value <= kOrientationLast ? (int)value : kOrientationAsStored;
}

// The orientation in a TIFF block (header, then IFD0); 1 when absent or
// damaged. Only IFD0 is read, so a chain of IFDs that loops is never walked.
int TiffOrientation(const unsigned char* tiff, size_t size)
{
    if (size < 8)
        return kOrientationAsStored;
    TiffReader r = { tiff, false };
    if (tiff[0] == 'I' && tiff[1] == 'I')
        r.bigEndian = false;
    else if (tiff[0] == 'M' && tiff[1] == 'M')
        r.bigEndian = true;
    else
        return kOrientationAsStored;
    if (r.U16(2) != 42)
        return kOrientationAsStored;
    const uint32_t ifd = r.U32(4);
    if (ifd < 8 || ifd > size - 2)
        return kOrientationAsStored;
    const uint32_t count = r.U16(ifd);
    const size_t first = (size_t)ifd + 2;
    // An IFD that claims more entries than the block holds is damaged as a
    // whole: none of its entries is trusted.
    if ((size_t)count * kIfdEntryBytes > size - first)
        return kOrientationAsStored;
    for (uint32_t i = 0; i < count; ++i) {
        const size_t entry = first + (size_t)i * kIfdEntryBytes;
        if (r.U16(entry) != kOrientationTag)
            continue;
        const uint16_t type = r.U16(entry + 2);
        if (r.U32(entry + 4) != 1)
            return kOrientationAsStored;
        // A single value sits in the entry itself, left-justified.
        if (type == kTypeShort)
            return ValidOrDefault(r.U16(entry + 8));
        if (type == kTypeLong)
            return ValidOrDefault(r.U32(entry + 8));
        return kOrientationAsStored;
    }
    return kOrientationAsStored;
}

// True when an APP1 payload is an Exif block ("Exif\0\0", then TIFF).
bool IsExifPayload(const unsigned char* payload, size_t size)
{
    return size >= 6 && std::memcmp(payload, "Exif\0\0", 6) == 0;
}

bool IsStandaloneMarker(unsigned char marker)
{
    return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD8);
}

}  // namespace

int ReadExifOrientation(const unsigned char* bytes, size_t size)
{
    if (!bytes || size < 4 || bytes[0] != 0xFF || bytes[1] != 0xD8)
        return kOrientationAsStored;
    size_t pos = 2;
    // Each step moves on by at least one byte, so the walk ends.
    while (pos < size) {
        if (bytes[pos] != 0xFF)
            return kOrientationAsStored;
        while (pos < size && bytes[pos] == 0xFF)
            ++pos;
        if (pos >= size)
            break;
        const unsigned char marker = bytes[pos++];
        if (IsStandaloneMarker(marker))
            continue;
        // Metadata comes before the first scan; the end of the picture ends
        // the walk too.
        if (marker == 0xDA || marker == 0xD9 || size - pos < 2)
            break;
        const size_t length = (size_t)bytes[pos] << 8 | bytes[pos + 1];
        if (length < 2 || length > size - pos)
            break;
        const unsigned char* payload = bytes + pos + 2;
        const size_t payloadSize = length - 2;
        // The first Exif block decides, whatever it holds.
        if (marker == 0xE1 && IsExifPayload(payload, payloadSize))
            return TiffOrientation(payload + 6, payloadSize - 6);
        pos += length;
    }
    return kOrientationAsStored;
}
