#include "app/PixmoorDoc.h"

#include <cstring>

#include "app/PixmoorView.h"
#include "platform/Archive.h"

IMPLEMENT_DYNCREATE(CPixmoorDoc, CDocument)

CPixmoorDoc::CPixmoorDoc() = default;

CPixmoorDoc::~CPixmoorDoc() = default;

BOOL CPixmoorDoc::OnNewDocument()
{
    return CDocument::OnNewDocument();
}

void CPixmoorDoc::Serialize(CArchive& ar)
{
    if (!ar.IsLoading())
        return;
    m_strFilePath = ar.GetFile()->GetFilePath();
    char path[1000];
    // A path cut to fit the buffer would name another file: load nothing.
    if (m_strFilePath.size() >= sizeof path)
        return;
    memcpy(path, m_strFilePath.c_str(), m_strFilePath.size() + 1);
    POSITION pos = GetFirstViewPosition();
    while (pos) {
        if (CPixmoorView* view = dynamic_cast<CPixmoorView*>(GetNextView(pos)))
            view->LoadImage(path);
    }
}
