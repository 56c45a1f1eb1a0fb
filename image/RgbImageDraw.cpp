#include "image/RgbImage.h"
#include "platform/Dc.h"

int CRgbImage::Draw(CDC* dc, int x, int y, int width, int height)
{
    if (!m_pBits || !dc)
        return 0;
    SetStretchBltMode(dc->m_hDC, COLORONCOLOR);
    return StretchDIBits(dc->m_hDC, x, y, width, height, 0, 0, m_nWidth, m_nHeight, m_pBits,
                         &m_bmi, DIB_RGB_COLORS, SRCCOPY);
}
