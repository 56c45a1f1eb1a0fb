#include "platform/FileSharing.h"

#include <cerrno>
#include <ctime>
#include <string>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DriveTable.h"

int PlatformLockFile(FILE* file, bool exclusive, int waitMs)
{
    if (!file)
        return -1;
    const int fd = fileno(file);
    const int op = (exclusive ? LOCK_EX : LOCK_SH) | LOCK_NB;
    // Polled rather than blocking, so a holder that never lets go costs this
    // process waitMs and no more.
    const struct timespec pause = { 0, 1000000 };  // 1 ms
    for (int waited = 0;; ++waited) {
        if (flock(fd, op) == 0)
            return 0;
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= waitMs)
            return -1;
        nanosleep(&pause, nullptr);
    }
}

void PlatformUnlockFile(FILE* file)
{
    if (file)
        flock(fileno(file), LOCK_UN);
}

bool PlatformIsSameFile(FILE* file, const char* path)
{
    if (!file || !path)
        return false;
    const std::string native = NativePath(path);
    struct stat open, named;
    if (native.empty() || fstat(fileno(file), &open) != 0 || stat(native.c_str(), &named) != 0)
        return false;
    return open.st_dev == named.st_dev && open.st_ino == named.st_ino;
}

int PlatformPlaceNewFile(const char* tempPath, const char* path)
{
    const std::string temp = NativePath(tempPath);
    const std::string native = NativePath(path);
    if (temp.empty())
        return -1;
    // link() fails with EEXIST where rename() would replace a file that
    // another process has just put there.
    int result = -1;
    if (!native.empty()) {
        if (link(temp.c_str(), native.c_str()) == 0)
            result = 0;
        else if (errno == EEXIST)
            result = 1;
        else if (errno == EPERM || errno == EOPNOTSUPP || errno == ENOSYS) {
            // A file system without hard links: the check and the rename
            // are two steps, which is the best it offers.
            struct stat st;
            if (stat(native.c_str(), &st) == 0)
                result = 1;
            else if (rename(temp.c_str(), native.c_str()) == 0)
                return 0;
        }
    }
    unlink(temp.c_str());
    return result;
}
