#pragma once
// CArchive: the stream a document's Serialize works on. Only its file and
// direction are used: documents read their files by path themselves.

#include "platform/FileSystem.h"

class CDocument;

class CArchive {
public:
    enum Mode { store = 0, load = 1 };
    CArchive(CFile* pFile, UINT nMode) : m_pFile(pFile), m_nMode(nMode) {}

    BOOL IsLoading() const { return (m_nMode & load) != 0; }
    BOOL IsStoring() const { return (m_nMode & load) == 0; }
    CFile* GetFile() const { return m_pFile; }

    CDocument* m_pDocument = nullptr;

private:
    CFile* m_pFile;
    UINT m_nMode;
};
