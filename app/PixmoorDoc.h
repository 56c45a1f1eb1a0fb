#pragma once
// CPixmoorDoc: the document of the viewer. It holds no picture: loading a
// file hands the file's full path to the view, which decodes and shows it.
// It never writes a file.

#include <string>

#include "platform/Document.h"

class CPixmoorDoc : public CDocument {
protected:
    CPixmoorDoc();
    DECLARE_DYNCREATE(CPixmoorDoc)

public:
    ~CPixmoorDoc() override;

    BOOL OnNewDocument() override;
    // Loading: gives the archive file's full path to every view's
    // LoadImage. Storing: writes nothing.
    void Serialize(CArchive& ar) override;

    const std::string& GetFilePath() const { return m_strFilePath; }

protected:
    std::string m_strFilePath;
};
