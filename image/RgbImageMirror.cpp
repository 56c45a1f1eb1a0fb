// Mirror and half turn: both done in place, so neither needs memory.
#include <algorithm>
#include <cstring>

#include "image/RgbImage.h"

// Reverses the pixels of every row in place: column j and column
// width - 1 - j change places, the fill bytes stay where they are. Row order
// is untouched, so the mirror is the same for the bottom-up stored layout as
// for the picture.
static void MirrorRows(unsigned char* bits, int width, int height, size_t stride)
{
    for (int r = 0; r < height; ++r) {
        unsigned char* left = bits + (size_t)r * stride;
        unsigned char* right = left + (size_t)(width - 1) * 3;
        for (; left < right; left += 3, right -= 3) {
            unsigned char t[3];
            std::memcpy(t, left, 3);
            std::memcpy(left, right, 3);
            std::memcpy(right, t, 3);
        }
    }
}


// Every row reversed, then the rows in reverse order; the fill bytes stay
// at the end of their rows.
static void HalfTurnRows(unsigned char* bits, int width, int height, size_t stride)
{
    MirrorRows(bits, width, height, stride);
    const size_t rowBytes = (size_t)width * 3;
    for (int r = 0; r < height / 2; ++r) {
        unsigned char* top = bits + (size_t)r * stride;
        std::swap_ranges(top, top + rowBytes, bits + (size_t)(height - 1 - r) * stride);
    }
}

static DisplayTransform AfterHalfTurn(const DisplayTransform& t)
{
    return AfterClockwise(AfterClockwise(t));
}

// A shared display raster is the full-size buffer and is changed once; a
// lazy display takes the change into its transform.
void CRgbImage::ChangeInPlace(void (*rows)(unsigned char*, int, int, size_t),
                              DisplayTransform (*after)(const DisplayTransform&))
{
    if (m_pFullBits)
        rows(m_pFullBits, m_nFullWidth, m_nFullHeight, Stride(m_nFullWidth));
    if (m_bLazyDisplay)
        TurnLazyDisplay(after);
    else if (m_pBits && !m_bSharedBits)
        rows(m_pBits, m_nWidth, m_nHeight, Stride(m_nWidth));
}

void CRgbImage::Mirror()
{
    ChangeInPlace(MirrorRows, AfterMirror);
}

// Two quarter turns, without the turned copies they would allocate.
void CRgbImage::HalfTurn()
{
    ChangeInPlace(HalfTurnRows, AfterHalfTurn);
}
