#pragma once
// The handful of Win32 types, structures and constants the viewer's code is
// written against. Values are the platform's own, so code and stored data
// that depend on them keep their meaning.

#include <cstdint>

typedef int BOOL;
typedef unsigned int UINT;
typedef uint32_t DWORD;
typedef uint16_t WORD;
typedef int32_t LONG;
typedef uint8_t BYTE;
typedef DWORD COLORREF;

#ifndef TRUE
#define TRUE 1
#endif
#ifndef FALSE
#define FALSE 0
#endif

inline constexpr COLORREF RGB(int r, int g, int b)
{
    return (COLORREF)((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
inline constexpr int GetRValue(COLORREF c) { return (int)(c & 0xFF); }
inline constexpr int GetGValue(COLORREF c) { return (int)((c >> 8) & 0xFF); }
inline constexpr int GetBValue(COLORREF c) { return (int)((c >> 16) & 0xFF); }

struct RECT {
    LONG left, top, right, bottom;
};
struct POINT {
    LONG x, y;
};
struct SIZE {
    LONG cx, cy;
};

// 24-bit device-independent bitmap description (40 bytes, as on disk).
#pragma pack(push, 2)
struct BITMAPINFOHEADER {
    DWORD biSize;
    LONG biWidth;
    LONG biHeight;
    WORD biPlanes;
    WORD biBitCount;
    DWORD biCompression;
    DWORD biSizeImage;
    LONG biXPelsPerMeter;
    LONG biYPelsPerMeter;
    DWORD biClrUsed;
    DWORD biClrImportant;
};
#pragma pack(pop)
static_assert(sizeof(BITMAPINFOHEADER) == 40, "BITMAPINFOHEADER is 40 bytes");

struct RGBQUAD {
    BYTE rgbBlue, rgbGreen, rgbRed, rgbReserved;
};
struct BITMAPINFO {
    BITMAPINFOHEADER bmiHeader;
    RGBQUAD bmiColors[1];
};

enum : DWORD { BI_RGB = 0 };

// StretchDIBits / SetStretchBltMode
enum { BLACKONWHITE = 1, WHITEONBLACK = 2, COLORONCOLOR = 3, HALFTONE = 4 };
enum : UINT { DIB_RGB_COLORS = 0 };
enum : DWORD { SRCCOPY = 0x00CC0020 };

// GetDeviceCaps
enum { LOGPIXELSX = 88, LOGPIXELSY = 90 };

// DrawText
enum : UINT {
    DT_TOP = 0x0000, DT_LEFT = 0x0000, DT_CENTER = 0x0001, DT_RIGHT = 0x0002,
    DT_VCENTER = 0x0004, DT_SINGLELINE = 0x0020, DT_NOPREFIX = 0x0800,
    DT_END_ELLIPSIS = 0x8000
};

// Scroll bar codes and bars
enum {
    SB_LINEUP = 0, SB_LINELEFT = 0, SB_LINEDOWN = 1, SB_LINERIGHT = 1,
    SB_PAGEUP = 2, SB_PAGELEFT = 2, SB_PAGEDOWN = 3, SB_PAGERIGHT = 3,
    SB_THUMBPOSITION = 4, SB_THUMBTRACK = 5, SB_TOP = 6, SB_LEFT = 6,
    SB_BOTTOM = 7, SB_RIGHT = 7, SB_ENDSCROLL = 8
};
enum { SB_HORZ = 0, SB_VERT = 1, SB_CTL = 2, SB_BOTH = 3 };

// Mouse key state
enum : UINT { MK_LBUTTON = 0x0001, MK_RBUTTON = 0x0002, MK_SHIFT = 0x0004, MK_CONTROL = 0x0008 };

// ShowWindow
enum { SW_HIDE = 0, SW_SHOWNORMAL = 1, SW_SHOWMINIMIZED = 2, SW_SHOWMAXIMIZED = 3,
       SW_SHOW = 5, SW_MINIMIZE = 6, SW_RESTORE = 9 };

// Window styles
enum : DWORD {
    WS_OVERLAPPED = 0x00000000, WS_POPUP = 0x80000000, WS_CHILD = 0x40000000,
    WS_MINIMIZE = 0x20000000, WS_VISIBLE = 0x10000000, WS_CAPTION = 0x00C00000,
    WS_VSCROLL = 0x00200000, WS_HSCROLL = 0x00100000, WS_SYSMENU = 0x00080000,
    WS_THICKFRAME = 0x00040000, WS_MINIMIZEBOX = 0x00020000, WS_MAXIMIZEBOX = 0x00010000,
    WS_OVERLAPPEDWINDOW = 0x00CF0000
};

// Message boxes
enum : UINT { MB_OK = 0x0000, MB_ICONEXCLAMATION = 0x0030, MB_ICONINFORMATION = 0x0040 };
enum { IDOK = 1, IDCANCEL = 2 };

// File attributes
enum : DWORD { FILE_ATTRIBUTE_READONLY = 0x01, FILE_ATTRIBUTE_DIRECTORY = 0x10, FILE_ATTRIBUTE_NORMAL = 0x80 };

#define MAX_PATH 260
