// Mouse clicks, the buttons OK, Cancel, Select All and Select None, the
// close box, entering directories and the owner's reading of the choice.
#include <cstring>

#include "browser/Browse.h"
#include "platform/MessageBox.h"

namespace {

const char kUpName[] = ".. (Up Directory)";
const char kNoHandler[] = "Need to call CBrowse::SetCallBack() to register handler for close";

}  // namespace

const char* CBrowse::GetSelectedFile() const
{
    for (int slot = 0; slot < m_count; ++slot) {
        if (m_items[slot].m_nFlags & BROWSE_SELECTED)
            return m_items[slot].GetName();
    }
    return nullptr;
}

int CBrowse::HitPosition(CPoint point) const
{
    const int p = BrowseGeometry::HitTest(Metrics(), point.x, point.y);
    return p >= 0 && p < m_count ? p : -1;
}

int CBrowse::CountSelected() const
{
    int n = 0;
    for (int slot = 0; slot < m_count; ++slot) {
        if (m_items[slot].m_nFlags & BROWSE_SELECTED)
            ++n;
    }
    return n;
}

void CBrowse::SetFileSelection(bool selected)
{
    for (int slot = 0; slot < m_count; ++slot) {
        CRgbImage& item = m_items[slot];
        if (item.m_nFlags & BROWSE_DIR)
            continue;
        if (selected)
            item.m_nFlags |= BROWSE_SELECTED;
        else
            item.m_nFlags &= ~(uint32_t)BROWSE_SELECTED;
    }
}

void CBrowse::OnLButtonDown(UINT nFlags, CPoint point)
{
    Default();
    if (point.y < m_barHeight)
        return;
    if (!m_multiSelect) {
        for (int slot = 0; slot < m_count; ++slot)
            m_items[slot].m_nFlags &= ~(uint32_t)BROWSE_SELECTED;
    }
    const int p = HitPosition(point);
    if (p < 0)
        return;
    const int slot = m_order[p].slot;
    CRgbImage& item = m_items[slot];
    if (item.m_nFlags & BROWSE_DIR) {
        EnterItem(slot);
        return;
    }
    item.m_nFlags ^= BROWSE_SELECTED;
    if (m_chooseOnClick) {
        // The owner's handler may close this window: nothing follows.
        OnOK();
        return;
    }
    InvalidateRect(nullptr, FALSE);
    if (!m_multiSelect || !(nFlags & MK_SHIFT))
        return;
    // Shift extends the selection back to the nearest selected file or the
    // directory group, whatever the click did to the clicked file.
    for (int q = p - 1; q >= 0; --q) {
        CRgbImage& before = m_items[m_order[q].slot];
        if (before.m_nFlags & (BROWSE_DIR | BROWSE_SELECTED))
            break;
        before.m_nFlags |= BROWSE_SELECTED;
    }
}

void CBrowse::OnLButtonDblClk(UINT, CPoint point)
{
    Default();
    if (point.y < m_barHeight)
        return;
    const int p = HitPosition(point);
    if (p < 0)
        return;
    const int slot = m_order[p].slot;
    if (m_items[slot].m_nFlags & BROWSE_DIR)
        EnterItem(slot);
    else
        OnOK();
}

void CBrowse::ClearList()
{
    m_items.clear();
    m_order.clear();
    m_held = BrowseRange{ 0, 0 };
    m_count = 0;
    m_scrollX = 0;
    m_scrollY = 0;
    InvalidateRect(nullptr, FALSE);
}

void CBrowse::EnterItem(int slot)
{
    const char* name = m_items[slot].GetName();
    if (!name)
        return;
    if (std::strcmp(name, kUpName) == 0) {
        BrowsePath::GoUp(m_path);
    } else if (BrowsePath::EnterDirectory(m_path, name) != 0) {
        // The longer path would not fit: stay where we are.
        return;
    }
    ClearList();
}

void CBrowse::Report(int count)
{
    if (!m_callback) {
        AfxMessageBox(kNoHandler, MB_OK);
        // Destroys the window and deletes this object.
        CFrameWnd::OnClose();
        return;
    }
    m_callback(count);
}

void CBrowse::OnOK()
{
    if (m_cacheFile)
        fflush(m_cacheFile);
    int n = m_callback ? CountSelected() : 0;
    if (!m_multiSelect && n > 0)
        n = 1;
    Report(n);
}

void CBrowse::OnClose()
{
    if (m_cacheFile)
        fflush(m_cacheFile);
    Report(0);
}

void CBrowse::OnSelectAll()
{
    if (!m_multiSelect)
        return;
    SetFileSelection(true);
    InvalidateRect(nullptr, FALSE);
}

void CBrowse::OnSelectNone()
{
    SetFileSelection(false);
    InvalidateRect(nullptr, FALSE);
}
