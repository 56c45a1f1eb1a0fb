#pragma once
// The Qt side of CDC: the state a device context keeps over a QPainter.
// Included by the window layer, which makes the painter and the context.

#include <QFont>
#include <QFontMetrics>
#include <QPainter>
#include <QPoint>
#include <QRect>
#include <QString>

#include "platform/Dc.h"

struct CDC::Impl {
    QPainter* painter = nullptr;  // not owned; begun on its device
    bool printing = false;
    int dpiX = 96;
    int dpiY = 96;
    QPoint viewportOrg;  // device point of logical (0, 0)
    COLORREF bkColor = RGB(255, 255, 255);
    COLORREF textColor = RGB(0, 0, 0);
    int stretchMode = BLACKONWHITE;
    CFont* font = nullptr;  // selected font, not owned; null: default font
    QRect baseClip;         // device rect, or the painter's clip when made
    bool hasRegion = false; // a region selected with SelectClipRgn
    QRect region;           // that region, device coordinates

    // Resolved font for `font` at dpiY, remade when the selection changes.
    bool fontValid = false;
    int fontTenths = 0;
    QString fontFace;
    QFont qfont;
    QFontMetrics metrics{QFont()};

    // Visible part of the device: the base clip within the selected region.
    QRect ClipRect() const { return hasRegion ? baseClip.intersected(region) : baseClip; }
};

// A context over a painter already begun on its device. printing=true for
// printers and print preview. dpi defaults to the painter's device
// logicalDpiX/Y. If the painter already has a clip (e.g. the paint event's
// region), GetClipBox starts from its bounding rect; otherwise from the
// device rect.
CDC::Impl* NewDcImpl(QPainter* painter, bool printing = false, int dpiX = 0, int dpiY = 0);
