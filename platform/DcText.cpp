// Text output of CDC: font selection and single-line DrawText.
#include <cmath>
#include <cstring>

#include "platform/Dc.h"
#include "platform/QtDc.h"

// Size of the font used when none is selected: 10 point.
static const int kDefaultTenths = 100;

CFont* CDC::SelectObject(CFont* font)
{
    if (!m_pImpl)
        return nullptr;
    CFont* old = m_pImpl->font;
    m_pImpl->font = font;
    return old;
}

// Makes impl->qfont and impl->metrics match the selected font. A point size
// becomes round(tenths x dpiY / 720) pixels on this device, so the same
// CFont is larger on a printer than on the screen.
static void ResolveFont(CDC::Impl* impl)
{
    const CFont* f = impl->font;
    int tenths = (f && f->IsCreated()) ? f->GetPointSizeTenths() : kDefaultTenths;
    QString face = (f && f->IsCreated()) ? QString::fromLatin1(f->GetFaceName()) : QString();
    if (impl->fontValid && impl->fontTenths == tenths && impl->fontFace == face)
        return;
    QFont font;
    if (!face.isEmpty())
        font.setFamily(face);
    int pixels = (int)std::lround((double)tenths * impl->dpiY / 720.0);
    font.setPixelSize(pixels > 0 ? pixels : 1);
    impl->qfont = font;
    impl->metrics = QFontMetrics(font, impl->painter->device());
    impl->fontTenths = tenths;
    impl->fontFace = face;
    impl->fontValid = true;
}

// The longest start of `text` that, followed by "...", fits in `width`.
static QString EndEllipsis(const QString& text, const QFontMetrics& fm, int width)
{
    const QString dots = QStringLiteral("...");
    int lo = 0, hi = text.size();
    while (lo < hi) {
        int mid = (lo + hi + 1) / 2;
        if (fm.horizontalAdvance(text.left(mid) + dots) <= width)
            lo = mid;
        else
            hi = mid - 1;
    }
    // Do not split a surrogate pair.
    if (lo > 0 && text.at(lo - 1).isHighSurrogate())
        --lo;
    return text.left(lo) + dots;
}

int CDC::DrawText(const char* text, int count, RECT* rect, UINT format)
{
    if (!m_pImpl || !text || !rect)
        return 0;
    CDC::Impl* impl = m_pImpl;
    // Everything drawn lies inside the rectangle; a rectangle outside the
    // clip costs no layout at all.
    QRect box(QPoint(rect->left, rect->top), QPoint(rect->right - 1, rect->bottom - 1));
    box.translate(impl->viewportOrg);
    QRect visible = box.intersected(impl->ClipRect());
    ResolveFont(impl);
    const QFontMetrics& fm = impl->metrics;
    const int lineHeight = fm.height();
    visible = visible.intersected(QRect(box.left(), box.top(), box.width(), lineHeight));
    if (visible.isEmpty())
        return lineHeight;

    size_t length = count < 0 ? std::strlen(text) : (size_t)count;
    QString line = QString::fromUtf8(text, (qsizetype)length);
    // One line: a line break ends the text that is shown.
    int brk = line.indexOf(QLatin1Char('\n'));
    if (brk >= 0)
        line.truncate(brk > 0 && line.at(brk - 1) == QLatin1Char('\r') ? brk - 1 : brk);

    const int boxWidth = box.width();
    int textWidth = fm.horizontalAdvance(line);
    if ((format & DT_END_ELLIPSIS) && textWidth > boxWidth) {
        line = EndEllipsis(line, fm, boxWidth);
        textWidth = fm.horizontalAdvance(line);
    }
    int x = box.left();
    if (format & DT_CENTER)
        x += (boxWidth - textWidth) / 2;
    else if (format & DT_RIGHT)
        x += boxWidth - textWidth;

    QPainter* p = impl->painter;
    // Opaque background: the text's cell in the background colour.
    QRect cell = QRect(x, box.top(), textWidth, lineHeight).intersected(visible);
    COLORREF bk = impl->bkColor;
    if (!cell.isEmpty())
        p->fillRect(cell, QColor(GetRValue(bk), GetGValue(bk), GetBValue(bk)));

    p->save();
    p->setClipRect(visible, p->hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    p->setFont(impl->qfont);
    COLORREF fg = impl->textColor;
    p->setPen(QColor(GetRValue(fg), GetGValue(fg), GetBValue(fg)));
    p->drawText(QPoint(x, box.top() + fm.ascent()), line);
    p->restore();
    return lineHeight;
}
