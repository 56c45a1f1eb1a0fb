#include "platform/PrivateFile.h"

#include <fcntl.h>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

#include "platform/DriveTable.h"

static const mode_t kPrivateMode = S_IRUSR | S_IWUSR;

FILE* PlatformCreatePrivateFile(const char* path)
{
    const std::string native = NativePath(path);
    if (native.empty())
        return nullptr;
    const int fd = open(native.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, kPrivateMode);
    if (fd < 0)
        return nullptr;
    FILE* file = fdopen(fd, "wb");
    if (!file) {
        close(fd);
        unlink(native.c_str());
    }
    return file;
}

int PlatformMakeFilePrivate(FILE* file)
{
    struct stat st;
    if (!file || fstat(fileno(file), &st) != 0)
        return -1;
    if ((st.st_mode & (S_IRWXG | S_IRWXO)) == 0)
        return 0;
    return fchmod(fileno(file), kPrivateMode) == 0 ? 0 : -1;
}
