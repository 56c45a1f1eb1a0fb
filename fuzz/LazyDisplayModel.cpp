#include "fuzz/LazyDisplayModel.h"

#include "fuzz/ImageFuzzModel.h"
#include "image/Resample.h"
#include "image/RgbImage.h"
#include "image/StoredLayout.h"

void CLazyDisplayModel::Sized(const CRgbImage& image)
{
    m_nFullWidth = image.GetFullWidth();
    m_nFullHeight = image.GetFullHeight();
    // The image's raster block is exactly this long, slack included.
    const size_t bytes = (size_t)StoredRasterBytes(m_nFullWidth, m_nFullHeight);
    m_full.assign(image.GetFullBits(), image.GetFullBits() + bytes);
    m_nSizedWidth = image.GetWidth();
    m_nSizedHeight = image.GetHeight();
    m_turns.clear();
    m_bActive = true;
}

void CLazyDisplayModel::Turned(char how)
{
    if (m_bActive)
        m_turns += how;
}

void CLazyDisplayModel::Forget()
{
    m_bActive = false;
    m_full.clear();
    m_turns.clear();
}

uint32_t CLazyDisplayModel::Pixel(int x, int y, int width, int height) const
{
    Check(m_bActive && x >= 0 && y >= 0 && x < width && y < height);
    for (size_t i = m_turns.size(); i-- > 0;) {
        const int w = width, h = height;
        switch (m_turns[i]) {
        case 'c': {  // (x, y) after a clockwise turn shows (y, w - 1 - x) before it
            const int before = y;
            y = w - 1 - x;
            x = before;
            width = h;
            height = w;
            break;
        }
        case 'a': {  // counter-clockwise: (h - 1 - y, x)
            const int before = h - 1 - y;
            y = x;
            x = before;
            width = h;
            height = w;
            break;
        }
        default:  // mirrored: (w - 1 - x, y)
            x = w - 1 - x;
            break;
        }
    }
    Check(width == m_nSizedWidth && height == m_nSizedHeight);
    // The resampler counts rows as stored, from the bottom.
    const int row = m_nSizedHeight - 1 - y;
    unsigned char px[4];
    Check(ResampleRegion(m_full.data(), m_nFullWidth, m_nFullHeight, StoredStride(m_nFullWidth),
                         m_nSizedWidth, m_nSizedHeight, x, row, x + 1, row + 1, px, 3) == 0);
    return (uint32_t)px[0] | (uint32_t)px[1] << 8 | (uint32_t)px[2] << 16;
}
