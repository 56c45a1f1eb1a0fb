#include "FileSystem.h"

#include <cerrno>
#include <cstring>
#include <dirent.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "DriveTable.h"

struct FindHandle {
    DIR* dir;
    std::string directory;  // native, with a trailing '/'
};

// Fills `data` from the next entry whose name fits; FALSE at the end.
static BOOL ReadEntry(FindHandle* h, WIN32_FIND_DATAA* data)
{
    while (struct dirent* e = readdir(h->dir)) {
        size_t len = strlen(e->d_name);
        if (len >= sizeof(data->cFileName))
            continue;
        memcpy(data->cFileName, e->d_name, len + 1);
        bool isDir;
        if (e->d_type == DT_DIR) {
            isDir = true;
        } else if (e->d_type == DT_REG) {
            isDir = false;
        } else {
            // Links and unknown types: ask for what they point at.
            struct stat st;
            std::string full = h->directory + e->d_name;
            isDir = stat(full.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
        }
        data->dwFileAttributes = isDir ? FILE_ATTRIBUTE_DIRECTORY : FILE_ATTRIBUTE_NORMAL;
        return TRUE;
    }
    return FALSE;
}

HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data)
{
    if (!pattern || !data)
        return INVALID_HANDLE_VALUE;
    size_t len = strlen(pattern);
    if (len == 0 || pattern[len - 1] != '*')
        return INVALID_HANDLE_VALUE;
    std::string dirPath(pattern, len - 1);
    std::string native = NativePath(dirPath.c_str());
    if (native.empty())
        return INVALID_HANDLE_VALUE;
    if (native.back() != '/')
        native += '/';
    DIR* dir = opendir(native.c_str());
    if (!dir)
        return INVALID_HANDLE_VALUE;
    FindHandle* h = new FindHandle{dir, native};
    if (!ReadEntry(h, data)) {
        closedir(dir);
        delete h;
        return INVALID_HANDLE_VALUE;
    }
    return h;
}

BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data)
{
    if (!search || !data)
        return FALSE;
    return ReadEntry(search, data);
}

BOOL FindClose(HANDLE search)
{
    if (!search)
        return FALSE;
    closedir(search->dir);
    delete search;
    return TRUE;
}

DWORD GetLogicalDrives()
{
    return CDriveTable::Instance().GetMask();
}

BOOL CFile::GetStatus(const char* path, CFileStatus& status)
{
    std::string native = NativePath(path);
    struct stat st;
    if (native.empty() || stat(native.c_str(), &st) != 0)
        return FALSE;
    status.m_mtime = st.st_mtime;
    status.m_mtimeNs = (long long)st.st_mtim.tv_sec * 1000000000LL + st.st_mtim.tv_nsec;
    status.m_size = (long long)st.st_size;
    status.m_attribute = S_ISDIR(st.st_mode) ? (BYTE)FILE_ATTRIBUTE_DIRECTORY : (BYTE)0;
    strncpy(status.m_szFullName, native.c_str(), sizeof(status.m_szFullName) - 1);
    status.m_szFullName[sizeof(status.m_szFullName) - 1] = '\0';
    return TRUE;
}

FILE* PlatformOpenFile(const char* path, const char* mode)
{
    std::string native = NativePath(path);
    if (native.empty())
        return nullptr;
    return fopen(native.c_str(), mode);
}

int PlatformRemoveFile(const char* path)
{
    std::string native = NativePath(path);
    if (native.empty())
        return -1;
    return remove(native.c_str());
}

int PlatformMakeDirectories(const std::string& dir, unsigned int mode)
{
    struct stat st;
    if (!dir.empty() && stat(dir.c_str(), &st) == 0)
        return S_ISDIR(st.st_mode) ? 0 : -1;
    for (size_t i = 1; i <= dir.size(); ++i) {
        if (i < dir.size() && dir[i] != '/')
            continue;
        const std::string part = dir.substr(0, i);
        if (mkdir(part.c_str(), (mode_t)mode) != 0 && errno != EEXIST)
            return -1;
    }
    return !dir.empty() && stat(dir.c_str(), &st) == 0 && S_ISDIR(st.st_mode) ? 0 : -1;
}

std::string PlatformFullPath(const char* name)
{
    std::string path = name ? name : "";
    const bool drivePath = path.size() >= 2 && path[1] == ':';
    if (path.empty() || drivePath || path[0] == '/')
        return path;
    char cwd[4096];
    if (!getcwd(cwd, sizeof cwd))
        return std::string();
    return std::string(cwd) + "/" + path;
}

CFile::~CFile()
{
    Close();
}

BOOL CFile::Open(const char* path, UINT nOpenFlags)
{
    Close();
    if (!path || (nOpenFlags & 0x3) != modeRead)
        return FALSE;
    const std::string full = PlatformFullPath(path);
    if (full.empty() || full.size() >= sizeof m_szFilePath)
        return FALSE;
    CFileStatus status;
    if (!GetStatus(full.c_str(), status) || (status.m_attribute & FILE_ATTRIBUTE_DIRECTORY))
        return FALSE;
    m_pStream = PlatformOpenFile(full.c_str(), "rb");
    if (!m_pStream)
        return FALSE;
    memcpy(m_szFilePath, full.c_str(), full.size() + 1);
    return TRUE;
}

void CFile::Close()
{
    if (m_pStream)
        fclose(m_pStream);
    m_pStream = nullptr;
    m_szFilePath[0] = '\0';
}
