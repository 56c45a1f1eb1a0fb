// Next, Previous, First and Last Picture: the view steps through the shown
// photo's folder in the Visual Browser's order and shows each photo as a
// choice in the browser does (title, start directory; the scale mode stays,
// the recent files are not touched).
#include <string>

#include "app/PixmoorView.h"
#include "platform/CmdUI.h"

// A photo that cannot be decoded is reported and becomes the position, so
// the next step goes past it; the picture shown before stays.
void CPixmoorView::Step(FolderStep step)
{
    std::string path;
    if (!HasPicture() || !m_folder.Find(step, &path))
        return;
    if (ShowChosenPhoto(path.c_str()) != 0) {
        m_folder.SetPosition(path.c_str());
        ReportCantOpen(path.c_str());
    }
}

// Greyed at that end of the folder, and all four with no picture shown.
void CPixmoorView::UpdateStep(CCmdUI* pCmdUI, FolderStep step)
{
    pCmdUI->Enable(HasPicture() && m_folder.CanStep(step));
}
