#include "DriveTable.h"

#include <cstdlib>
#include <cstring>
#include <new>
#include <pwd.h>
#include <unistd.h>

#include "platform/UserCacheFile.h"

std::string PlatformHomeDirectory()
{
    const char* home = getenv("HOME");
    if (home && *home)
        return home;
    struct passwd* pw = getpwuid(getuid());
    if (pw && pw->pw_dir)
        return pw->pw_dir;
    return "/";
}

static int DriveIndex(char letter)
{
    if (letter >= 'a' && letter <= 'z')
        return letter - 'a';
    if (letter >= 'A' && letter <= 'Z')
        return letter - 'A';
    return -1;
}

CDriveTable::CDriveTable()
{
    SetDrive('C', PlatformHomeDirectory());
    SetDrive('Z', "/");
}

void CDriveTable::Clear()
{
    for (std::string& dir : m_dirs)
        dir.clear();
}

int CDriveTable::SetDrive(char letter, const std::string& nativeDir)
{
    int i = DriveIndex(letter);
    if (i < 0)
        return -1;
    std::string dir = nativeDir;
    // Keep "/" as is; drop a trailing separator elsewhere so joining is uniform.
    while (dir.size() > 1 && dir.back() == '/')
        dir.pop_back();
    m_dirs[i] = dir;
    return 0;
}

std::string CDriveTable::GetDrive(char letter) const
{
    int i = DriveIndex(letter);
    return i < 0 ? std::string() : m_dirs[i];
}

unsigned int CDriveTable::GetMask() const
{
    unsigned int mask = 0;
    for (int i = 0; i < 26; i++)
        if (!m_dirs[i].empty())
            mask |= 1u << i;
    return mask;
}

void CDriveTable::Apply(const char* spec)
{
    if (!spec)
        return;
    const char* p = spec;
    while (*p) {
        const char* end = strchr(p, ';');
        size_t len = end ? (size_t)(end - p) : strlen(p);
        std::string item(p, len);
        if (item.size() >= 2 && item[1] == '=' && DriveIndex(item[0]) >= 0)
            SetDrive(item[0], item.substr(2));
        p += len;
        if (*p == ';')
            p++;
    }
}

std::string CDriveTable::ToNative(const char* path) const
{
    if (!path)
        return std::string();
    // "X:" alone, "X:/..." or "X:\\..." name a drive; anything else is native.
    if (DriveIndex(path[0]) < 0 || path[1] != ':')
        return path;
    if (path[2] != '\0' && path[2] != '/' && path[2] != '\\')
        return path;
    std::string dir = GetDrive(path[0]);
    if (dir.empty())
        return std::string();
    std::string rest = path[2] ? path + 3 : "";
    for (char& c : rest)
        if (c == '\\')
            c = '/';
    if (rest.empty())
        return dir == "/" ? dir : dir + "/";
    return dir == "/" ? "/" + rest : dir + "/" + rest;
}

CDriveTable& CDriveTable::Instance()
{
    static CDriveTable table = [] {
        CDriveTable t;
        t.Apply(getenv("PIXMOOR_DRIVES"));
        return t;
    }();
    return table;
}

std::string NativePath(const char* path)
{
    // Out of memory the path is unusable, like one on a missing drive: every
    // caller then fails with its own result instead of an exception.
    try {
        if (IsUserCacheFilePath(path))
            return UserCacheFileNative();
        return CDriveTable::Instance().ToNative(path);
    } catch (const std::bad_alloc&) {
        return std::string();
    }
}
