// File "Visually Browse ..." and what the view does with the browser's
// reports: the browser is made once and afterwards only minimized and
// restored, so it keeps its directory, scroll position and thumbnails.
#include "app/BrowseHandOff.h"

#include <cstring>
#include <string>

#include "app/PixmoorView.h"
#include "browser/Browse.h"
#include "platform/FrameWnd.h"
#include "platform/WinApp.h"

CPixmoorView* g_pBrowseView = nullptr;

namespace {

const DWORD kBrowseStyle = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME | WS_MINIMIZEBOX |
                           WS_MAXIMIZEBOX | WS_VSCROLL | WS_HSCROLL;

}  // namespace

void BrowseCallback(int count)
{
    if (g_pBrowseView)
        g_pBrowseView->OnBrowserDone(count);
}

void CPixmoorView::OnVisualBrowse()
{
    g_pBrowseView = this;
    if (m_pBrowse) {
        m_pBrowse->ShowWindow(SW_SHOWNORMAL);
        return;
    }
    CBrowse* browse = new CBrowse;
    if (!browse->Create(nullptr, "Visual Browser", kBrowseStyle, CRect(10, 10, 920, 710), nullptr,
                        nullptr, 0, nullptr)) {
        // A window whose creation failed has deleted its object.
        return;
    }
    m_pBrowse = browse;
    m_pBrowse->SetCallBack(BrowseCallback);
    m_pBrowse->SetMultiSelect(0);
    m_pBrowse->SetChooseOnClick(1);
    // SetPath copies at most 999 characters; a longer stored path gives the
    // drive view.
    m_pBrowse->SetPath(m_strBrowsePath.c_str());
    m_pBrowse->ShowWindow(SW_SHOW);
    m_pBrowse->UpdateWindow();
}

void CPixmoorView::OnBrowserDone(int count)
{
    if (!m_pBrowse)
        return;
    // A count without a selected file (which the browser should never
    // report) is taken as a cancel.
    const char* chosen = count > 0 ? m_pBrowse->GetSelectedFile() : nullptr;
    if (!chosen || std::strlen(chosen) >= BROWSE_PATH_SIZE) {
        m_pBrowse->ShowWindow(SW_MINIMIZE);
        return;
    }
    char path[BROWSE_PATH_SIZE];
    std::strcpy(path, chosen);
    // The main window with the picture comes to the front, ready for keys.
    m_pBrowse->ShowWindow(SW_MINIMIZE);
    if (ShowChosenPhoto(path) != 0)
        return;
    if (CFrameWnd* frame = GetParentFrame())
        frame->ActivateFrame();
    SetFocus();
}

int CPixmoorView::ShowChosenPhoto(const char* path)
{
    if (LoadImage(path) != 0)
        return -1;
    // The load made the photo the folder position; a photo at the root
    // ("/x.jpg") or named bare leaves the start directory as it was.
    const std::string& directory = m_folder.Directory();
    if (directory.size() > 1) {
        // Steps through one folder would write the same value each time;
        // every write of the settings file syncs it to the disk.
        if (directory != m_strBrowsePath) {
            m_strBrowsePath = directory;
            if (CWinApp* app = AfxGetApp())
                app->WriteProfileString("General", "Path", m_strBrowsePath.c_str());
        }
    }
    // The document keeps its title: the framework's next title update
    // (File Open, File New) replaces this one.
    if (CFrameWnd* frame = GetParentFrame())
        frame->SetWindowText((std::string(path) + " - Pixmoor").c_str());
    return 0;
}

// The browser lives as long as the view: it is only minimized while the
// program runs, and goes with the view when the main window closes.
void CPixmoorView::ReleaseBrowser()
{
    if (g_pBrowseView == this)
        g_pBrowseView = nullptr;
    if (m_pBrowse) {
        CBrowse* browse = m_pBrowse;
        m_pBrowse = nullptr;
        browse->DestroyWindow();
    }
}
