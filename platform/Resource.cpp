#include "platform/Resource.h"

static const AFX_RESOURCES* g_pResources = nullptr;

// The entry of a table whose elements carry their ID in nID.
template <typename T>
static const T* FindById(const T* items, int count, UINT nID)
{
    for (int i = 0; items && i < count; ++i)
        if (items[i].nID == nID)
            return &items[i];
    return nullptr;
}

// The index of nID in a parallel table of IDs, or -1.
static int IndexOfId(const UINT* ids, int count, UINT nID)
{
    for (int i = 0; ids && i < count; ++i)
        if (ids[i] == nID)
            return i;
    return -1;
}

void AfxSetResources(const AFX_RESOURCES* resources)
{
    g_pResources = resources;
}

const AFX_RESOURCES* AfxGetResources()
{
    return g_pResources;
}

bool AfxLoadString(UINT nID, std::string& text)
{
    if (const STRING_RESOURCE* s = g_pResources ? FindById(g_pResources->pStrings, g_pResources->nStrings, nID)
                                                 : nullptr) {
        text = s->lpszText;
        return true;
    }
    // The framework's own strings, when the application does not replace them.
    switch (nID) {
    case AFX_IDS_UNTITLED: text = "Untitled"; return true;
    case AFX_IDS_OPENFILE: text = "Open"; return true;
    case AFX_IDS_ALLFILTER: text = "All Files (*.*)"; return true;
    default: return false;
    }
}

const MENU_ITEM* AfxFindMenu(UINT nID)
{
    if (!g_pResources)
        return nullptr;
    const int i = IndexOfId(g_pResources->pMenuIDs, g_pResources->nMenus, nID);
    return i < 0 ? nullptr : g_pResources->pMenus[i];
}

const ACCEL* AfxFindAccelerators(UINT nID, int* count)
{
    *count = 0;
    if (!g_pResources)
        return nullptr;
    const int i = IndexOfId(g_pResources->pAccelIDs, g_pResources->nAccelTables, nID);
    if (i < 0)
        return nullptr;
    *count = g_pResources->pAccelCounts[i];
    return g_pResources->pAccelTables[i];
}

const TOOLBAR_RESOURCE* AfxFindToolbar(UINT nID)
{
    return g_pResources ? FindById(g_pResources->pToolbars, g_pResources->nToolbars, nID) : nullptr;
}

const DIALOG_RESOURCE* AfxFindDialog(UINT nID)
{
    return g_pResources ? FindById(g_pResources->pDialogs, g_pResources->nDialogs, nID) : nullptr;
}

const ICON_RESOURCE* AfxFindIcon(UINT nID)
{
    return g_pResources ? FindById(g_pResources->pIcons, g_pResources->nIcons, nID) : nullptr;
}
