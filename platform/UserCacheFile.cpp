#include "platform/UserCacheFile.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DriveTable.h"
#include "platform/FileSharing.h"
#include "platform/FileSystem.h"
#include "platform/PrivateFile.h"

namespace {

const char kCacheFileName[] = "ThumbNails.bin";
// Where earlier versions kept the file, through the drive table.
const char kEarlierDrivePath[] = "C:/ThumbNails.bin";
// Earlier versions lock the file while they change it; a copy waits this
// long for a settled file before it gives up for now.
const int kEarlierFileLockWaitMs = 200;

// Copies what `in` holds into a new private file `temp`, on disk before it
// returns (it is about to replace the only other copy). 0, or -1 with
// `temp` removed.
int CopyToPrivateFile(FILE* in, const std::string& temp)
{
    unlink(temp.c_str());  // left by a process of the same id that died
    FILE* out = PlatformCreatePrivateFile(temp.c_str());
    if (!out)
        return -1;
    char buffer[65536];
    bool ok = true;
    size_t got;
    while (ok && (got = fread(buffer, 1, sizeof buffer, in)) > 0)
        ok = fwrite(buffer, 1, got, out) == got;
    ok = ok && !ferror(in) && fflush(out) == 0 && fsync(fileno(out)) == 0;
    if (fclose(out) != 0)
        ok = false;
    if (!ok)
        unlink(temp.c_str());
    return ok ? 0 : -1;
}

// Moves `from` to `to` by a copy: made under a temporary name beside `to`,
// put in place only when nothing is there, and only then is `from` removed.
// For a move across file systems, or where a rename cannot refuse to replace.
int CopyThenRemove(const std::string& from, const std::string& to)
{
    FILE* in = fopen(from.c_str(), "rb");
    if (!in)  // moved by another process, or not ours to read: nothing to keep
        return 0;
    int result = -1;
    if (PlatformLockFile(in, false, kEarlierFileLockWaitMs) == 0) {
        const std::string temp = to + ".move." + std::to_string((long)getpid());
        if (CopyToPrivateFile(in, temp) == 0) {
            const int placed = PlatformPlaceNewFile(temp.c_str(), to.c_str());
            if (placed == 0)
                unlink(from.c_str());
            result = placed < 0 ? -1 : 0;
        }
    }
    fclose(in);
    return result;
}

// Moves `from` to `to` unless `to` exists, so that a file there is never
// replaced and of two processes moving at once only one succeeds.
int MoveWithoutReplacing(const std::string& from, const std::string& to)
{
#ifdef RENAME_NOREPLACE
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0)
        return 0;
    // Moved by another process already, or a new file is there and wins.
    if (errno == ENOENT || errno == EEXIST)
        return 0;
#endif
    return CopyThenRemove(from, to);
}

}  // namespace

bool IsUserCacheFilePath(const char* path)
{
    return path && (path[0] == 'C' || path[0] == 'c') && path[1] == ':' &&
           (path[2] == '/' || path[2] == '\\') && strcmp(path + 3, kCacheFileName) == 0;
}

std::string UserCacheDirectory()
{
    const char* cache = getenv("XDG_CACHE_HOME");
    if (cache && cache[0] == '/')
        return std::string(cache) + "/pixmoor";
    return PlatformHomeDirectory() + "/.cache/pixmoor";
}

std::string UserCacheFileNative()
{
    return UserCacheDirectory() + "/" + kCacheFileName;
}

int PrepareUserCacheFile()
{
    try {
        const std::string dir = UserCacheDirectory();
        if (PlatformMakeDirectories(dir, 0700) != 0)
            return -1;
        const std::string target = dir + "/" + kCacheFileName;
        const std::string earlier = CDriveTable::Instance().ToNative(kEarlierDrivePath);
        struct stat st;
        // Only a plain file is moved, and only while no cache is here.
        if (earlier.empty() || lstat(earlier.c_str(), &st) != 0 || !S_ISREG(st.st_mode) ||
            lstat(target.c_str(), &st) == 0)
            return 0;
        return MoveWithoutReplacing(earlier, target);
    } catch (const std::bad_alloc&) {
        return -1;
    }
}
