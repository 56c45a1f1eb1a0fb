#include "platform/RecentFileList.h"

#include <algorithm>
#include <cstdio>

#include "platform/WinApp.h"

CRecentFileList::CRecentFileList(UINT nStart, const char* lpszSection, const char* lpszEntryFormat, int nSize)
    : m_nStart(nStart), m_strSection(lpszSection), m_strEntryFormat(lpszEntryFormat), m_nSize(std::max(0, nSize))
{
}

void CRecentFileList::Add(const char* lpszPathName)
{
    if (!lpszPathName || !*lpszPathName || m_nSize == 0)
        return;
    const std::string path = lpszPathName;
    m_names.erase(std::remove(m_names.begin(), m_names.end(), path), m_names.end());
    m_names.insert(m_names.begin(), path);
    if ((int)m_names.size() > m_nSize)
        m_names.resize((size_t)m_nSize);
}

void CRecentFileList::Remove(int nIndex)
{
    if (nIndex >= 0 && nIndex < (int)m_names.size())
        m_names.erase(m_names.begin() + nIndex);
}

static std::string EntryName(const std::string& format, int n)
{
    char entry[64];
    snprintf(entry, sizeof entry, format.c_str(), n);
    return entry;
}

void CRecentFileList::ReadList(CWinApp* app)
{
    m_names.clear();
    for (int i = 0; i < m_nSize; ++i) {
        const std::string name = app->GetProfileString(m_strSection.c_str(),
                                                       EntryName(m_strEntryFormat, (int)m_nStart + i + 1).c_str(), "");
        if (!name.empty() && std::find(m_names.begin(), m_names.end(), name) == m_names.end())
            m_names.push_back(name);
    }
}

// The entries reach the settings file in one write.
void CRecentFileList::WriteList(CWinApp* app) const
{
    app->BeginProfileBatch();
    for (int i = 0; i < m_nSize; ++i) {
        const std::string entry = EntryName(m_strEntryFormat, (int)m_nStart + i + 1);
        if (i < (int)m_names.size())
            app->WriteProfileString(m_strSection.c_str(), entry.c_str(), m_names[(size_t)i].c_str());
        else
            app->WriteProfileString(m_strSection.c_str(), entry.c_str(), nullptr);
    }
    app->EndProfileBatch();
}
