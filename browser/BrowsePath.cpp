#include "browser/BrowsePath.h"

#include <cstring>

namespace BrowsePath {

static bool IsSeparator(char c)
{
    return c == '/' || c == '\\';
}

bool IsDriveRoot(const char* path)
{
    return std::strlen(path) == 3;
}

void GoUp(char* path)
{
    const size_t length = std::strlen(path);
    if (length == 3) {
        path[0] = '\0';
        return;
    }
    // The last character is the path's own trailing separator.
    for (size_t i = length >= 2 ? length - 1 : 0; i-- > 0;) {
        if (IsSeparator(path[i])) {
            path[i + 1] = '\0';
            return;
        }
    }
}

int EnterDirectory(char* path, const char* name)
{
    const size_t length = std::strlen(path);
    const size_t add = std::strlen(name);
    if (length + add + 1 > BROWSE_PATH_SIZE - 1)
        return -1;
    std::memcpy(path + length, name, add);
    path[length + add] = '/';
    path[length + add + 1] = '\0';
    return 0;
}

int Join(char* out, const char* directory, const char* name)
{
    const size_t a = std::strlen(directory);
    const size_t b = std::strlen(name);
    if (a + b > BROWSE_PATH_SIZE - 1) {
        out[0] = '\0';
        return -1;
    }
    std::memcpy(out, directory, a);
    std::memcpy(out + a, name, b + 1);
    return 0;
}

int Copy(char* out, const char* path)
{
    if (!path || std::strlen(path) > BROWSE_PATH_SIZE - 1) {
        out[0] = '\0';
        return -1;
    }
    std::strcpy(out, path);
    return 0;
}

}  // namespace BrowsePath
