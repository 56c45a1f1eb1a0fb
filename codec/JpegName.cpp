#include "codec/JpegName.h"

#include <cstring>

bool IsJpegName(const char* name)
{
    if (!name)
        return false;
    size_t len = strlen(name);
    if (len < 4)
        return false;
    const char* ext = name + len - 4;
    return strcmp(ext, ".jpg") == 0 || strcmp(ext, ".JPG") == 0;
}
