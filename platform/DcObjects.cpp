// CFont and CRgn: plain descriptions; the device context resolves them when
// it draws.
#include <cstring>

#include "platform/Dc.h"

CFont::CFont() : m_nPointSizeTenths(0)
{
    m_szFace[0] = '\0';
}

CFont::~CFont() = default;

BOOL CFont::CreatePointFont(int pointSizeTenths, const char* faceName, CDC* /*dc*/)
{
    // The pixel size depends on the device the font is selected into, so
    // only the point size is kept here.
    if (pointSizeTenths <= 0)
        return FALSE;
    m_nPointSizeTenths = pointSizeTenths;
    m_szFace[0] = '\0';
    if (faceName) {
        std::strncpy(m_szFace, faceName, sizeof(m_szFace) - 1);
        m_szFace[sizeof(m_szFace) - 1] = '\0';
    }
    return TRUE;
}

BOOL CFont::DeleteObject()
{
    if (!IsCreated())
        return FALSE;
    m_nPointSizeTenths = 0;
    m_szFace[0] = '\0';
    return TRUE;
}

CRgn::CRgn() : m_rect{0, 0, 0, 0}, m_bCreated(false) {}

BOOL CRgn::CreateRectRgn(int left, int top, int right, int bottom)
{
    m_rect = RECT{left, top, right, bottom};
    m_bCreated = true;
    return TRUE;
}
