// The listing: the item table and its display order for m_path.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <new>

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

// The containers report a failed allocation by throwing; here it becomes a
// result, and the listing ends with the items it has.
CRgbImage* CBrowse::SlotItem(int slot)
{
    try {
        while ((int)m_items.size() <= slot)
            m_items.emplace_back();
        if ((int)m_order.size() <= slot)
            m_order.resize(slot + 1);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    return &m_items[slot];
}

void CBrowse::TrimTable(int count)
{
    while ((int)m_items.size() > count)
        m_items.pop_back();
    if ((int)m_order.size() > count)
        m_order.resize(count);
}

bool CBrowse::AddDirectoryItem(int* next, const char* name, const unsigned char* icon, int iconSize)
{
    CRgbImage* item = SlotItem(*next);
    if (!item)
        return false;
    // Without its icon (no memory) the item still works; without its name not.
    item->SetScaledImage(name, icon, BROWSE_ICON_SIDE, BROWSE_ICON_SIDE, iconSize, iconSize);
    if (!item->GetName())
        return false;
    item->m_nFlags = BROWSE_DIR;
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
        // A file whose full path would not fit is passed over.
        if (BrowsePath::Join(full, m_path, data.cFileName) != 0)
            continue;
        CRgbImage* item = SlotItem(*next);
        if (!item)
            break;
        // Without memory for its name the item could not be sorted or shown.
        if (item->SetImage(full, nullptr, 0, 0) != 0)
            break;
        item->m_nFlags = 0;
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
    std::sort(m_order.begin() + first, m_order.begin() + last,
              [](const BrowseOrderEntry& a, const BrowseOrderEntry& b) { return std::strcmp(a.name, b.name) < 0; });
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
    TrimTable(m_count);
    SortOrder(m_dirCount, m_count);
    // Files are listed without pictures, and the icons of the directory
    // group are never given up.
    m_held = BrowseRange{ 0, 0 };

    m_rows = BrowseGeometry::RowCount(m_count, m_columns);
    UpdateScrollExtents(FALSE);
}
