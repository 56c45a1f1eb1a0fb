#pragma once
// File-system services in the platform's own terms, over POSIX. Every path
// goes through the drive table (DriveTable.h) first.

#include <cstdio>
#include <ctime>
#include <string>

#include "Win32Types.h"

// ---- Directory search --------------------------------------------------

struct WIN32_FIND_DATAA {
    DWORD dwFileAttributes;
    char cFileName[MAX_PATH];
};
typedef struct FindHandle* HANDLE;
#define INVALID_HANDLE_VALUE ((HANDLE)nullptr)

// Searches the pattern "<directory>/*" (only the trailing "*" form is
// supported). Yields every entry of the directory, "." and ".." included, in
// the file system's order. Names too long for cFileName are passed over.
HANDLE FindFirstFileA(const char* pattern, WIN32_FIND_DATAA* data);
BOOL FindNextFileA(HANDLE search, WIN32_FIND_DATAA* data);
BOOL FindClose(HANDLE search);

// Drives present in the drive table, bit 0 for A.
DWORD GetLogicalDrives();

// ---- Files -------------------------------------------------------------

struct CFileStatus {
    time_t m_mtime;  // last write, seconds since 1970-01-01 00:00:00 UTC
    long long m_mtimeNs;  // the same in nanoseconds, as fine as the file system keeps it
    long long m_size;
    BYTE m_attribute;
    char m_szFullName[MAX_PATH];
};

class CFile {
public:
    // TRUE and the status when the path names an existing file or directory.
    static BOOL GetStatus(const char* path, CFileStatus& status);

    // An open file, read-only: the document framework opens the chosen file
    // with it before the document loads. The file path is the full path:
    // a relative native path is made absolute against the working directory.
    enum OpenFlags : UINT { modeRead = 0x0000, shareDenyWrite = 0x0020 };
    CFile() = default;
    ~CFile();
    CFile(const CFile&) = delete;
    CFile& operator=(const CFile&) = delete;
    // Only reading is supported; any other mode fails. FALSE when the file
    // can't be opened or names a directory.
    BOOL Open(const char* path, UINT nOpenFlags);
    void Close();
    const char* GetFilePath() const { return m_szFilePath; }

private:
    FILE* m_pStream = nullptr;
    char m_szFilePath[4096] = "";
};

// The full path of a file name: drive-letter and absolute paths stay as
// they are; a relative native path is made absolute against the working
// directory ("" when that is unknown).
std::string PlatformFullPath(const char* name);

// fopen / remove through the drive table.
FILE* PlatformOpenFile(const char* path, const char* mode);
int PlatformRemoveFile(const char* path);

// Creates the native directory `dir` and its missing parents with `mode`
// (less what the umask takes). 0 when `dir` is a directory afterwards.
int PlatformMakeDirectories(const std::string& dir, unsigned int mode);
