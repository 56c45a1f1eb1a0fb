#include "codec/JpegConverter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sys/types.h>

#include "codec/ExifOrientation.h"
#include "platform/FileSystem.h"

CJpegConverter::CJpegConverter() : m_nWidth(0), m_nHeight(0), m_nQuality(75), m_nSize(0), m_nOrientation(1)
{
}

CJpegConverter::~CJpegConverter()
{
}

// The whole file in one malloc block, or null. Files whose length does not
// fit the decoder's 32-bit size are refused.
static unsigned char* ReadWholeFile(FILE* file, uint32_t* length)
{
    if (fseeko(file, 0, SEEK_END) != 0)
        return nullptr;
    off_t end = ftello(file);
    if (end < 0 || (uint64_t)end > UINT32_MAX)
        return nullptr;
    rewind(file);
    size_t count = (size_t)end;
    // malloc(0) may return null; an empty file still reaches the decoder,
    // which reports it as empty input.
    unsigned char* block = static_cast<unsigned char*>(malloc(count ? count : 1));
    if (!block)
        return nullptr;
    if (fread(block, 1, count, file) != count) {
        free(block);
        return nullptr;
    }
    *length = (uint32_t)count;
    return block;
}

// The whole file named by `path` (through the drive table), or null.
static unsigned char* ReadFile(const char* path, uint32_t* length)
{
    FILE* file = PlatformOpenFile(path, "rb");
    if (!file)
        return nullptr;
    unsigned char* block = ReadWholeFile(file, length);
    fclose(file);
    return block;
}

unsigned char* CJpegConverter::LoadFile(const char* path)
{
    return LoadWholeFile(path, false);
}

unsigned char* CJpegConverter::LoadFileStored(const char* path)
{
    return LoadWholeFile(path, true);
}

unsigned char* CJpegConverter::ReadStream(const char* path, uint32_t* length)
{
    m_nWidth = 0;
    m_nHeight = 0;
    unsigned char* block = ReadFile(path, length);
    m_nOrientation = block ? ReadExifOrientation(block, *length) : kOrientationAsStored;
    return block;
}

unsigned char* CJpegConverter::LoadWholeFile(const char* path, bool stored)
{
    uint32_t length = 0;
    unsigned char* block = ReadStream(path, &length);
    if (!block)
        return nullptr;
    unsigned char* raster = stored ? JpegToStoredRaster(block, length, &m_nWidth, &m_nHeight)
                                   : JpegToRgb(block, length, &m_nWidth, &m_nHeight);
    free(block);
    return raster;
}

int CJpegConverter::LoadFileRows(const char* path, CRowReceiver* receiver, unsigned char** raster)
{
    *raster = nullptr;
    uint32_t length = 0;
    unsigned char* block = ReadStream(path, &length);
    if (!block)
        return -1;
    int result = JpegToRgbRows(block, length, receiver, raster, &m_nWidth, &m_nHeight);
    free(block);
    return result;
}

unsigned char* CJpegConverter::Decode(const unsigned char* bytes, uint32_t size)
{
    m_nOrientation = ReadExifOrientation(bytes, size);
    return JpegToRgb(bytes, size, &m_nWidth, &m_nHeight);
}

unsigned char* CJpegConverter::Encode(const unsigned char* pixels, int width, int height)
{
    return RgbToJpeg(pixels, width, height, m_nQuality, &m_nSize);
}
