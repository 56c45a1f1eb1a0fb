#include "platform/Resource.h"

static const AFX_RESOURCES* g_pResources = nullptr;

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
    if (g_pResources) {
        for (int i = 0; i < g_pResources->nStrings; ++i) {
            if (g_pResources->pStrings[i].nID == nID) {
                text = g_pResources->pStrings[i].lpszText;
                return true;
            }
        }
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
    for (int i = 0; i < g_pResources->nMenus; ++i)
        if (g_pResources->pMenuIDs[i] == nID)
            return g_pResources->pMenus[i];
    return nullptr;
}

const ACCEL* AfxFindAccelerators(UINT nID, int* count)
{
    *count = 0;
    if (!g_pResources)
        return nullptr;
    for (int i = 0; i < g_pResources->nAccelTables; ++i) {
        if (g_pResources->pAccelIDs[i] == nID) {
            *count = g_pResources->pAccelCounts[i];
            return g_pResources->pAccelTables[i];
        }
    }
    return nullptr;
}

const TOOLBAR_RESOURCE* AfxFindToolbar(UINT nID)
{
    if (!g_pResources)
        return nullptr;
    for (int i = 0; i < g_pResources->nToolbars; ++i)
        if (g_pResources->pToolbars[i].nID == nID)
            return &g_pResources->pToolbars[i];
    return nullptr;
}

const DIALOG_RESOURCE* AfxFindDialog(UINT nID)
{
    if (!g_pResources)
        return nullptr;
    for (int i = 0; i < g_pResources->nDialogs; ++i)
        if (g_pResources->pDialogs[i].nID == nID)
            return &g_pResources->pDialogs[i];
    return nullptr;
}

const ICON_RESOURCE* AfxFindIcon(UINT nID)
{
    if (!g_pResources)
        return nullptr;
    for (int i = 0; i < g_pResources->nIcons; ++i)
        if (g_pResources->pIcons[i].nID == nID)
            return &g_pResources->pIcons[i];
    return nullptr;
}
