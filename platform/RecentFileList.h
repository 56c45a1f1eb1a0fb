#pragma once
// The recent-file list: at most nSize full paths, newest first, kept in the
// settings section lpszSection under keys made from lpszEntryFormat
// ("File%d", numbered from 1).

#include <string>
#include <vector>

#include "platform/Win32Types.h"

class CWinApp;

class CRecentFileList {
public:
    CRecentFileList(UINT nStart, const char* lpszSection, const char* lpszEntryFormat, int nSize);

    // Puts the path first; an equal path already listed moves up, and the
    // oldest entry drops out when the list is full.
    void Add(const char* lpszPathName);
    void Remove(int nIndex);
    int GetSize() const { return m_nSize; }
    const std::vector<std::string>& GetNames() const { return m_names; }

    void ReadList(CWinApp* app);
    void WriteList(CWinApp* app) const;

private:
    UINT m_nStart;
    std::string m_strSection;
    std::string m_strEntryFormat;
    int m_nSize;
    std::vector<std::string> m_names;
};
