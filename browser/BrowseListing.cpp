// The listing: the item table and its display order for m_path.
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "browser/Browse.h"
#include "browser/BrowseIcons.h"
#include "codec/JpegName.h"
#include "platform/FileSystem.h"

namespace {

const char kUpName[] = ".. (Up Directory)";

// The search pattern for a directory path: the path followed by "*".
void MakePattern(char* pattern, const char* path)
{
    const size_t length = std::strlen(path);
    std::memcpy(pattern, path, length);
    pattern[length] = '*';
    pattern[length + 1] = '\0';
}

bool IsDirectory(const WIN32_FIND_DATAA& data)
{
    return (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace

bool CBrowse::AddDirectoryItem(int* next, const char* name, const unsigned char* icon, int iconSize)
{
    if (*next >= BROWSE_MAX_ITEMS)
        return false;
    CRgbImage& item = m_items[*next];
    item.SetScaledImage(name, icon, BROWSE_ICON_SIDE, BROWSE_ICON_SIDE, iconSize, iconSize);
    item.m_nFlags = BROWSE_DIR;
    ++*next;
    return true;
}

void CBrowse::ListDrives(int* next, int iconSize)
{
    const DWORD drives = GetLogicalDrives();
    for (int i = 0; i < 26; ++i) {
        if (!(drives & (1u << i)))
            continue;
        char name[4];
        std::snprintf(name, sizeof name, "%c:", 'A' + i);
        if (!AddDirectoryItem(next, name, CBrowseIcons::Shared().Drive(), iconSize))
            return;
    }
}

void CBrowse::ListSubDirectories(int* next, int iconSize)
{
    char pattern[BROWSE_PATH_SIZE + 1];
    MakePattern(pattern, m_path);
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern, &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    const bool root = BrowsePath::IsDriveRoot(m_path);
    const size_t pathLength = std::strlen(m_path);
    do {
        if (!IsDirectory(data) || std::strcmp(data.cFileName, ".") == 0)
            continue;
        bool added;
        if (std::strcmp(data.cFileName, "..") == 0) {
            // A drive root already has its way up; the native directory
            // behind it still reports "..".
            if (root)
                continue;
            added = AddDirectoryItem(next, kUpName, CBrowseIcons::Shared().Up(), iconSize);
        } else {
            // A directory whose path (name and separator) would not fit is
            // not listed: it could not be entered.
            if (pathLength + std::strlen(data.cFileName) + 1 > BROWSE_PATH_SIZE - 1)
                continue;
            added = AddDirectoryItem(next, data.cFileName, CBrowseIcons::Shared().Folder(), iconSize);
        }
        if (!added)
            break;
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

void CBrowse::ListFiles(int* next)
{
    char pattern[BROWSE_PATH_SIZE + 1];
    MakePattern(pattern, m_path);
    WIN32_FIND_DATAA data;
    HANDLE search = FindFirstFileA(pattern, &data);
    if (search == INVALID_HANDLE_VALUE)
        return;
    char full[BROWSE_PATH_SIZE];
    do {
        if (IsDirectory(data) || !IsJpegName(data.cFileName))
            continue;
        if (*next >= BROWSE_MAX_ITEMS)
            break;
        // A file whose full path would not fit is passed over.
        if (BrowsePath::Join(full, m_path, data.cFileName) != 0)
            continue;
        CRgbImage& item = m_items[*next];
        item.SetImage(full, nullptr, 0, 0);
        item.m_nFlags = 0;
        ++*next;
    } while (FindNextFileA(search, &data));
    FindClose(search);
}

// Sorts display positions first..last-1 by name, byte by byte as unsigned
// characters (upper case before lower case).
void CBrowse::SortOrder(int first, int last)
{
    for (int p = first; p < last; ++p)
        m_order[p] = BrowseOrderEntry{ m_items[p].GetName(), p };
    std::sort(m_order + first, m_order + last, [](const BrowseOrderEntry& a, const BrowseOrderEntry& b) {
        return std::strcmp(a.name, b.name) < 0;
    });
}

void CBrowse::ListDirectory()
{
    const int iconSize = BrowseGeometry::IconSize(m_cellWidth, m_cellHeight, m_labelHeight);
    int next = 0;
    if (BrowsePath::IsDriveRoot(m_path))
        AddDirectoryItem(&next, kUpName, CBrowseIcons::Shared().Up(), iconSize);

    // A directory that cannot be searched shows the drives instead.
    char pattern[BROWSE_PATH_SIZE + 1];
    MakePattern(pattern, m_path);
    WIN32_FIND_DATAA data;
    HANDLE probe = FindFirstFileA(pattern, &data);
    if (probe == INVALID_HANDLE_VALUE)
        m_path[0] = '\0';
    else
        FindClose(probe);
    SetWindowText(m_path);

    const bool driveView = m_path[0] == '\0';
    if (driveView)
        ListDrives(&next, iconSize);
    else
        ListSubDirectories(&next, iconSize);
    SortOrder(0, next);
    m_dirCount = next;

    if (!driveView)
        ListFiles(&next);
    m_count = next;
    SortOrder(m_dirCount, m_count);

    m_rows = BrowseGeometry::RowCount(m_count, m_columns);
    UpdateScrollExtents(FALSE);
}
