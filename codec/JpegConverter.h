#pragma once
// JPEG <-> packed RGB conversion in memory, around libjpeg.
//
// Exchange layout: width x height x 3 bytes, rows top to bottom, R, G, B,
// nothing between rows; allocated with malloc, released by the receiver
// with free().
//
// Decoding gives R, G, B for every stream libjpeg can decode to 8 bits:
// grayscale samples are repeated three times, CMYK and YCCK are converted
// (Adobe-inverted samples when the APP14 marker is present). Library
// messages go to standard error (the first warning of a conversion only).
//
// Size limit: a picture whose raster (width x height x 3, computed in 64
// bits) exceeds the memory budget of a picture (platform/MemoryLimit.h: half
// the machine's memory, at most 2^40), or whose stream cannot hold it (a
// Huffman-coded stream of less than 1 % of one bit per 8 x 8 block, an
// arithmetic-coded picture over 100 megapixels: codec/StreamCoverage.h), is
// refused as soon as its header is read, before anything is allocated or
// decoded: null, as for a failed raster allocation, with m_nWidth /
// m_nHeight set to the declared size. libjpeg's own working memory (the
// whole-image coefficient arrays of progressive and multi-scan streams) gets
// what the budget leaves beside the raster; a stream that needs more fails
// like any fatal library error: null, 0 x 0. So does a stream with more than
// kMaxJpegScans (500) scans (codec/ScanLimit.h).
//
// Each decode also reads the stream's Exif orientation (codec/ExifOrientation.h)
// into m_nOrientation: 1 to 8, 1 when the stream has none. The pixels are
// always those of the stream as stored; turning them is the caller's choice.
//
// Each conversion keeps its state to itself, so conversions may run on
// several threads at once.

#include <cstdint>

class CRowReceiver;

class CJpegConverter {
public:
    CJpegConverter();
    ~CJpegConverter();

    // Reads the whole file (path through the drive table) and decodes it.
    // Returns the raster or null; sets m_nWidth / m_nHeight.
    unsigned char* LoadFile(const char* path);
    // Decodes `size` bytes held by the caller (not modified, not freed).
    unsigned char* Decode(const unsigned char* bytes, uint32_t size);
    // Reads the whole file and decodes it straight into the stored layout of
    // a bottom-up DIB (image/StoredLayout.h): rows from the bottom up, B, G,
    // R, rows filled to 4 bytes; the same pixels as LoadFile, in the buffer
    // CRgbImage keeps, without a pass to convert them. Sets the sizes and
    // the orientation as LoadFile does.
    unsigned char* LoadFileStored(const char* path);
    // Reads the whole file and decodes it for `receiver` (JpegToRgbRows).
    // Sets m_nWidth / m_nHeight as LoadFile does.
    int LoadFileRows(const char* path, CRowReceiver* receiver, unsigned char** raster);
    // Encodes a raster at m_nQuality. Returns the JPEG stream or null and
    // stores its length in m_nSize (0 with null). Width and height untouched.
    unsigned char* Encode(const unsigned char* pixels, int width, int height);

    int GetWidth() const { return m_nWidth; }
    int GetHeight() const { return m_nHeight; }
    int GetSize() const { return m_nSize; }
    int GetOrientation() const { return m_nOrientation; }

private:
    // The whole file for a decode, or null; the last decode's sizes are
    // cleared and the file's orientation read (as stored when unreadable).
    unsigned char* ReadStream(const char* path, uint32_t* length);
    unsigned char* LoadWholeFile(const char* path, bool stored);

public:
    int m_nWidth;    // width of the last decoded image
    int m_nHeight;   // height of the last decoded image
    int m_nQuality;  // 1..100 for the next Encode; 75 unless assigned
    int m_nSize;     // byte count of the last Encode result
    int m_nOrientation;  // Exif orientation of the last decoded stream, 1..8
};

// The routines behind Decode/LoadFile and Encode. Null on failure, with the
// out-parameters 0.
unsigned char* JpegToRgb(const unsigned char* bytes, uint32_t size, int* width, int* height);
// The same decode, its raster in stored layout (a StoredRasterBytes block).
unsigned char* JpegToStoredRaster(const unsigned char* bytes, uint32_t size, int* width,
                                  int* height);

// A decode for a receiver that may keep chosen rows only (codec/RowReceiver.h),
// with the same checks, limits, messages and failures as JpegToRgb. 0 when
// the picture was decoded: the receiver has taken its rows and *raster is
// null, or, when the receiver asked for the whole picture or the stream's
// rows cannot be chosen (codec/ChosenRows.h), *raster holds what JpegToRgb
// returns. -1 otherwise, with *raster null and the sizes JpegToRgb reports.
int JpegToRgbRows(const unsigned char* bytes, uint32_t size, CRowReceiver* receiver,
                  unsigned char** raster, int* width, int* height);
unsigned char* RgbToJpeg(const unsigned char* pixels, int width, int height, int quality,
                         int* size);
