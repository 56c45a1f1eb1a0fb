#include "image/RgbImage.h"

#include <cstdlib>
#include <cstring>

#include "image/Resample.h"
#include "image/StoredLayout.h"
#include "platform/LargeBlock.h"
#include "platform/MemoryLimit.h"

CRgbImage::CRgbImage()
    : m_nFlags(0),
      m_nPad(0),
      m_nFullPad(0),
      m_nWidth(0),
      m_nHeight(0),
      m_nFullWidth(0),
      m_nFullHeight(0),
      m_pBits(nullptr),
      m_pFullBits(nullptr),
      m_pszName(nullptr),
      m_bSharedBits(false),
      m_bLazyDisplay(false),
      m_transform(IdentityTransform())
{
    std::memset(&m_bmih, 0, sizeof(m_bmih));
    std::memset(&m_bmi, 0, sizeof(m_bmi));
    m_bmih.biSize = sizeof(BITMAPINFOHEADER);
    m_bmih.biPlanes = 1;
    m_bmih.biBitCount = 24;
    m_bmih.biCompression = BI_RGB;
    UpdateBitmapInfo();
}

CRgbImage::~CRgbImage()
{
    Clear();
}

uint64_t CRgbImage::RasterBytes(int width, int height)
{
    return StoredRasterBytes(width, height);
}

// Bytes of a picture in exchange layout (a caller's buffer, or an export).
static uint64_t ExchangeBytes(int width, int height)
{
    return 3 * (uint64_t)width * (uint64_t)height;
}

unsigned char* CRgbImage::AllocRaster(int width, int height, uint64_t heldBytes)
{
    if (width < 0 || height < 0)
        return nullptr;
    uint64_t bytes = RasterBytes(width, height);
    if (!RasterBytesAllowedBeside(heldBytes, bytes))
        return nullptr;
    return (unsigned char*)AllocLargeBlock((size_t)bytes);
}

uint64_t CRgbImage::HeldRasterBytes() const
{
    uint64_t bytes = m_pFullBits ? RasterBytes(m_nFullWidth, m_nFullHeight) : 0;
    if (m_pBits && !m_bSharedBits)
        bytes += RasterBytes(m_nWidth, m_nHeight);
    return bytes + m_tiles.Bytes();
}

void CRgbImage::ShareFullRaster()
{
    m_pBits = m_pFullBits;
    m_bSharedBits = true;
    m_nWidth = m_nFullWidth;
    m_nHeight = m_nFullHeight;
    m_nPad = m_nFullPad;
}

void CRgbImage::ReleaseDisplay()
{
    if (!m_bSharedBits)
        std::free(m_pBits);
    m_pBits = nullptr;
    m_bSharedBits = false;
    m_bLazyDisplay = false;
    m_transform = IdentityTransform();
    m_tiles.Clear();
    m_nWidth = m_nHeight = m_nPad = 0;
}

void CRgbImage::ReleaseRasters()
{
    ReleaseDisplay();
    std::free(m_pFullBits);
    m_pFullBits = nullptr;
    m_nFullWidth = m_nFullHeight = m_nFullPad = 0;
}

int CRgbImage::ReplaceName(const char* name)
{
    char* copy = nullptr;
    if (name) {
        size_t n = std::strlen(name) + 1;
        copy = (char*)std::malloc(n);
        if (copy)
            std::memcpy(copy, name, n);
    }
    std::free(m_pszName);
    m_pszName = copy;
    return (name && !copy) ? -1 : 0;
}

void CRgbImage::Clear()
{
    std::free(m_pszName);
    m_pszName = nullptr;
    ReleaseRasters();
    m_nFlags = 0;
    UpdateBitmapInfo();
}

int CRgbImage::SetImage(const char* name, const unsigned char* pixels, int width, int height)
{
    int nameResult = ReplaceName(name);
    ReleaseRasters();
    UpdateBitmapInfo();
    if (!pixels || width == 0 || height == 0)
        return nameResult;
    if (width < 0 || height < 0 || nameResult != 0)
        return -1;

    // The caller's decoded buffer is alive while it is copied.
    unsigned char* bits = AllocRaster(width, height, ExchangeBytes(width, height));
    if (!bits)
        return -1;
    FlipRowsSwapRedBlue(pixels, (size_t)width * 3, bits, Stride(width), width, height);
    return InstallFullRaster(bits, width, height);
}

int CRgbImage::InstallFullRaster(unsigned char* bits, int width, int height)
{
    m_pFullBits = bits;
    m_nFullWidth = width;
    m_nFullHeight = height;
    m_nFullPad = RowFill(width);
    // The display raster at full size shares the full-size buffer.
    return Rescale(width, height);
}

int CRgbImage::TakeImage(const char* name, unsigned char* bits, int width, int height)
{
    int nameResult = ReplaceName(name);
    ReleaseRasters();
    UpdateBitmapInfo();
    if (!bits || width <= 0 || height <= 0 || nameResult != 0) {
        std::free(bits);
        return -1;
    }
    return InstallFullRaster(bits, width, height);
}

int CRgbImage::SetScaledImage(const char* name, const unsigned char* pixels, int width,
                              int height, int newWidth, int newHeight)
{
    int nameResult = name ? ReplaceName(name) : 0;
    ReleaseRasters();
    UpdateBitmapInfo();
    if (!pixels || width == 0 || height == 0)
        return nameResult;
    if (width < 0 || height < 0 || newWidth < 0 || newHeight < 0 || nameResult != 0)
        return -1;
    if (newWidth == 0 || newHeight == 0)
        return 0;

    // The caller's buffer serves as a full-size raster without fill, top row
    // first. It is only read here and never kept.
    const size_t inStride = (size_t)width * 3;
    const size_t stride = Stride(newWidth);
    const uint64_t input = ExchangeBytes(width, height);
    unsigned char* display = AllocRaster(newWidth, newHeight, input);
    if (!display)
        return -1;
    if (newWidth == width && newHeight == height) {
        for (int r = 0; r < height; ++r)
            std::memcpy(display + (size_t)r * stride, pixels + (size_t)r * inStride, inStride);
    } else if (ResampleRaster(pixels, width, height, inStride, display, newWidth, newHeight,
                              stride) != 0) {
        std::free(display);
        return -1;
    }

    unsigned char* full =
        AllocRaster(newWidth, newHeight, input + RasterBytes(newWidth, newHeight));
    if (!full) {
        std::free(display);
        return -1;
    }
    // The display raster holds R, G, B top-down; the stored layout wants
    // B, G, R bottom-up.
    FlipRowsSwapRedBlue(display, stride, full, stride, newWidth, newHeight);
    std::free(display);

    return InstallFullRaster(full, newWidth, newHeight);
}

int CRgbImage::Rescale(int width, int height)
{
    ReleaseDisplay();
    UpdateBitmapInfo();
    if (width < 0 || height < 0)
        return -1;
    if (width == 0 || height == 0)
        return 0;
    if (!m_pFullBits)
        return -1;
    if (width == m_nFullWidth && height == m_nFullHeight) {
        // A copy at full size would be identical byte for byte.
        ShareFullRaster();
        UpdateBitmapInfo();
        return 0;
    }

    // A zoom holds the full-size raster and the display raster at once.
    unsigned char* bits = AllocRaster(width, height, HeldRasterBytes());
    if (!bits)
        return -1;
    if (ResampleRaster(m_pFullBits, m_nFullWidth, m_nFullHeight, Stride(m_nFullWidth), bits,
                            width, height, Stride(width)) != 0) {
        std::free(bits);
        return -1;
    }
    m_pBits = bits;
    m_nWidth = width;
    m_nHeight = height;
    m_nPad = RowFill(width);
    UpdateBitmapInfo();
    return 0;
}

unsigned char* CRgbImage::ExportRgb()
{
    if (m_bLazyDisplay)
        return ExportLazy();
    if (!m_pBits)
        return nullptr;
    uint64_t bytes = ExchangeBytes(m_nWidth, m_nHeight);
    if (!RasterBytesAllowedBeside(HeldRasterBytes(), bytes))
        return nullptr;
    unsigned char* out = (unsigned char*)std::malloc((size_t)bytes);
    if (!out)
        return nullptr;
    FlipRowsSwapRedBlue(m_pBits, Stride(m_nWidth), out, (size_t)m_nWidth * 3, m_nWidth, m_nHeight);
    return out;
}

const char* CRgbImage::GetFileName() const
{
    if (!m_pszName)
        return "";
    const char* file = m_pszName;
    for (const char* p = m_pszName; *p; ++p)
        if (*p == '/' || *p == '\\')
            file = p + 1;
    return file;
}

void CRgbImage::UpdateBitmapInfo()
{
    m_bmih.biWidth = m_nWidth;
    m_bmih.biHeight = m_nHeight;
    // A 24-bit BI_RGB header may give 0 for the image size; used where the
    // true size does not fit the 32-bit field.
    uint64_t size = 3 * (uint64_t)m_nHeight * ((uint64_t)m_nWidth + (uint64_t)m_nPad);
    m_bmih.biSizeImage = size <= 0xFFFFFFFFu ? (DWORD)size : 0;
    std::memcpy(&m_bmi.bmiHeader, &m_bmih, sizeof(m_bmih));
}
