#include "platform/Dc.h"

#include "platform/QtDc.h"

CDC::Impl* NewDcImpl(QPainter* painter, bool printing, int dpiX, int dpiY)
{
    if (!painter)
        return nullptr;
    CDC::Impl* impl = new CDC::Impl;
    impl->painter = painter;
    impl->printing = printing;
    QPaintDevice* device = painter->device();
    impl->dpiX = dpiX > 0 ? dpiX : (device ? device->logicalDpiX() : 96);
    impl->dpiY = dpiY > 0 ? dpiY : (device ? device->logicalDpiY() : 96);
    QRect deviceRect = device ? QRect(0, 0, device->width(), device->height()) : QRect();
    if (painter->hasClipping())
        impl->baseClip = painter->clipBoundingRect().toAlignedRect().intersected(deviceRect);
    else
        impl->baseClip = deviceRect;
    return impl;
}

CDC::CDC(Impl* impl) : m_hDC(this), m_pImpl(impl) {}

CDC::~CDC()
{
    delete m_pImpl;
}

// Win32 rectangles may come with right < left (Draw3dRect passes negative
// extents); they are normalised as ExtTextOut does.
static QRect NormalRect(int x, int y, int cx, int cy)
{
    if (cx < 0) {
        x += cx;
        cx = -cx;
    }
    if (cy < 0) {
        y += cy;
        cy = -cy;
    }
    return QRect(x, y, cx, cy);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF color)
{
    SetBkColor(color);
    if (!m_pImpl)
        return;
    QRect r = NormalRect(x, y, cx, cy).translated(m_pImpl->viewportOrg);
    r = r.intersected(m_pImpl->ClipRect());
    if (r.isEmpty())
        return;
    m_pImpl->painter->fillRect(r, QColor(GetRValue(color), GetGValue(color), GetBValue(color)));
}

void CDC::FillSolidRect(const RECT* rect, COLORREF color)
{
    if (rect)
        FillSolidRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                      color);
}

void CDC::Draw3dRect(int x, int y, int cx, int cy, COLORREF topLeft, COLORREF bottomRight)
{
    FillSolidRect(x, y, cx - 1, 1, topLeft);
    FillSolidRect(x, y, 1, cy - 1, topLeft);
    FillSolidRect(x + cx, y, -1, cy, bottomRight);
    FillSolidRect(x, y + cy, cx, -1, bottomRight);
}

void CDC::Draw3dRect(const RECT* rect, COLORREF topLeft, COLORREF bottomRight)
{
    if (rect)
        Draw3dRect(rect->left, rect->top, rect->right - rect->left, rect->bottom - rect->top,
                   topLeft, bottomRight);
}

int CDC::SelectClipRgn(CRgn* region)
{
    if (!m_pImpl)
        return 0;
    if (region && region->m_bCreated) {
        const RECT& r = region->m_rect;
        m_pImpl->hasRegion = true;
        m_pImpl->region = QRect(QPoint(r.left, r.top), QPoint(r.right - 1, r.bottom - 1));
    } else {
        m_pImpl->hasRegion = false;
    }
    return m_pImpl->ClipRect().isEmpty() ? NULLREGION : SIMPLEREGION;
}

int CDC::GetClipBox(RECT* rect) const
{
    if (!m_pImpl || !rect)
        return 0;
    QRect c = m_pImpl->ClipRect();
    if (c.isEmpty()) {
        *rect = RECT{0, 0, 0, 0};
        return NULLREGION;
    }
    c.translate(-m_pImpl->viewportOrg);
    *rect = RECT{c.left(), c.top(), c.left() + c.width(), c.top() + c.height()};
    return SIMPLEREGION;
}

bool CDC::IsVisible(const RECT& rect) const
{
    if (!m_pImpl || rect.right <= rect.left || rect.bottom <= rect.top)
        return false;
    QRect r(QPoint(rect.left, rect.top), QPoint(rect.right - 1, rect.bottom - 1));
    return r.translated(m_pImpl->viewportOrg).intersects(m_pImpl->ClipRect());
}

BOOL CDC::IsPrinting() const
{
    return m_pImpl && m_pImpl->printing ? TRUE : FALSE;
}

int CDC::GetDeviceCaps(int index) const
{
    if (!m_pImpl)
        return 0;
    switch (index) {
    case LOGPIXELSX:
        return m_pImpl->dpiX;
    case LOGPIXELSY:
        return m_pImpl->dpiY;
    default:
        return 0;
    }
}

COLORREF CDC::SetBkColor(COLORREF color)
{
    if (!m_pImpl)
        return 0;
    COLORREF old = m_pImpl->bkColor;
    m_pImpl->bkColor = color;
    return old;
}

COLORREF CDC::GetBkColor() const
{
    return m_pImpl ? m_pImpl->bkColor : 0;
}

COLORREF CDC::SetTextColor(COLORREF color)
{
    if (!m_pImpl)
        return 0;
    COLORREF old = m_pImpl->textColor;
    m_pImpl->textColor = color;
    return old;
}

POINT CDC::SetViewportOrg(int x, int y)
{
    POINT old = GetViewportOrg();
    if (m_pImpl)
        m_pImpl->viewportOrg = QPoint(x, y);
    return old;
}

POINT CDC::GetViewportOrg() const
{
    if (!m_pImpl)
        return POINT{0, 0};
    return POINT{m_pImpl->viewportOrg.x(), m_pImpl->viewportOrg.y()};
}
