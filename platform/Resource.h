#pragma once
// Resources in C++ tables: menus, accelerator tables, toolbars, strings,
// dialog templates and icons, looked up by ID as the framework loads a
// frame, a toolbar or a dialog. The application hands its tables over once
// at start-up (AfxSetResources).

#include <cstdint>
#include <string>

#include "platform/Win32Types.h"

// Menu items, in the order of a resource script: MF_POPUP opens a pop-up
// (its text is the pop-up's title), MF_END closes the current pop-up.
enum : UINT { MF_STRING = 0x0, MF_GRAYED = 0x1, MF_POPUP = 0x10, MF_END = 0x80, MF_SEPARATOR = 0x800 };
struct MENU_ITEM {
    UINT nFlags;
    UINT nID;
    const char* lpszText;  // may hold "\t" and a shortcut label
};

// Accelerators (virtual-key entries).
enum : BYTE { FVIRTKEY = 0x01, FSHIFT = 0x04, FCONTROL = 0x08, FALT = 0x10 };
enum : WORD {
    VK_BACK = 0x08, VK_TAB = 0x09, VK_RETURN = 0x0D, VK_ESCAPE = 0x1B, VK_SPACE = 0x20,
    VK_PRIOR = 0x21, VK_NEXT = 0x22, VK_END = 0x23, VK_HOME = 0x24, VK_LEFT = 0x25, VK_UP = 0x26,
    VK_RIGHT = 0x27, VK_DOWN = 0x28, VK_INSERT = 0x2D, VK_DELETE = 0x2E, VK_F1 = 0x70, VK_F6 = 0x75,
    VK_F11 = 0x7A
};
struct ACCEL {
    BYTE fVirt;
    WORD key;  // 'A'..'Z', '0'..'9' or a VK_ code
    WORD cmd;
};

// Toolbar: button IDs left to right (0 is a separator) and the bitmap, one
// image of nWidth x nHeight per button (separators have none), as an XPM.
struct TOOLBAR_RESOURCE {
    UINT nID;
    int nWidth;
    int nHeight;
    const UINT* pButtons;
    int nButtons;
    const char* const* pXpm;
};

struct STRING_RESOURCE {
    UINT nID;
    const char* lpszText;
};

// Dialog templates, in dialog units.
enum DialogItemKind { DLG_ICON, DLG_LTEXT, DLG_PUSHBUTTON, DLG_DEFPUSHBUTTON };
struct DIALOG_ITEM {
    DialogItemKind kind;
    const char* lpszText;  // icon items: unused
    UINT nID;              // icon items: the icon resource
    int x, y, cx, cy;
};
struct DIALOG_RESOURCE {
    UINT nID;
    const char* lpszCaption;
    int cx, cy;
    const char* lpszFont;
    int nPointSize;
    const DIALOG_ITEM* pItems;
    int nItems;
};

// Icons are drawn, not stored: the function fills size x size ARGB pixels
// (0xAARRGGBB, rows top to bottom).
struct ICON_RESOURCE {
    UINT nID;
    void (*pfnDraw)(int size, uint32_t* argb);
};

struct AFX_RESOURCES {
    const MENU_ITEM* const* pMenus;  // each ends with { MF_END, 0, nullptr } after its last pop-up
    const UINT* pMenuIDs;
    int nMenus;
    const ACCEL* const* pAccelTables;
    const int* pAccelCounts;
    const UINT* pAccelIDs;
    int nAccelTables;
    const TOOLBAR_RESOURCE* pToolbars;
    int nToolbars;
    const STRING_RESOURCE* pStrings;
    int nStrings;
    const DIALOG_RESOURCE* pDialogs;
    int nDialogs;
    const ICON_RESOURCE* pIcons;
    int nIcons;
};

void AfxSetResources(const AFX_RESOURCES* resources);
const AFX_RESOURCES* AfxGetResources();

// String nID, or false when the table has none.
bool AfxLoadString(UINT nID, std::string& text);
const MENU_ITEM* AfxFindMenu(UINT nID);
const ACCEL* AfxFindAccelerators(UINT nID, int* count);
const TOOLBAR_RESOURCE* AfxFindToolbar(UINT nID);
const DIALOG_RESOURCE* AfxFindDialog(UINT nID);
const ICON_RESOURCE* AfxFindIcon(UINT nID);

// Framework string IDs.
enum : UINT {
    AFX_IDS_APP_TITLE = 0xE000,        // 57344
    AFX_IDS_UNTITLED = 0xF000,
    AFX_IDS_ALLFILTER = 0xF002,
    AFX_IDS_OPENFILE = 0xF001,
};
